// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QStringList>

class QCoreApplication;

namespace klavoset {

// Where Qt's translations are looked for: beside the program first (a bundle), then Qt's own folder.
[[nodiscard]] QStringList qtTranslationDirs();

// Qt's own words (the buttons of message boxes, the file dialog, its overwrite question, the fields'
// edit menu) in Russian whatever the system's language, because the whole interface is Russian.
// Returns false, and changes nothing, when Qt's Russian translation is not found in `dirs`: the program
// then runs with Qt's English words.
bool installRussianQtTexts(QCoreApplication& app, const QStringList& dirs = qtTranslationDirs());

} // namespace klavoset
