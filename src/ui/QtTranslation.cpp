// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/QtTranslation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

namespace klavoset {

QStringList qtTranslationDirs()
{
    return {QCoreApplication::applicationDirPath() + QStringLiteral("/translations"),
            QLibraryInfo::path(QLibraryInfo::TranslationsPath)};
}

bool installRussianQtTexts(QCoreApplication& app, const QStringList& dirs)
{
    const QLocale russian(QLocale::Russian, QLocale::Russia);
    auto* translator = new QTranslator(&app);
    for (const QString& dir : dirs)
        if (translator->load(russian, QStringLiteral("qtbase"), QStringLiteral("_"), dir)) {
            QCoreApplication::installTranslator(translator);
            // Dates and sizes in the file dialog follow the language of its words.
            QLocale::setDefault(russian);
            return true;
        }
    delete translator;
    return false;
}

} // namespace klavoset
