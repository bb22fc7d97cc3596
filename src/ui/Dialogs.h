// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/EditorView.h"

#include <QString>
#include <QStringList>

#include <deque>
#include <memory>
#include <vector>

class QFileDialog;
class QMessageBox;
class QWidget;

namespace klavoset {

// Answers and records the boxes and file dialogs in place of showing them, for tests and screenshots.
struct DialogScript
{
    struct Box
    {
        QString text;
        MsgStyle style = MsgInfo;
    };
    std::deque<MsgAnswer> boxAnswers; // when empty: OK, or Cancel for a question, so nothing is discarded
    std::deque<QString> fileAnswers;  // when empty or an empty string: the dialog is cancelled
    std::vector<Box> boxes;
    std::vector<FileDialogRequest> dialogs;
};

// Every message box and file dialog of the program goes through here.
class Dialogs
{
  public:
    // Modal box titled "Klavoset" with the buttons and icon of its style; returns the button that closed it.
    static MsgAnswer message(QWidget* parent, const QString& text, MsgStyle style);
    // The open or save dialog of the request; returns the chosen full path, empty when cancelled.
    static QString chooseFile(QWidget* parent, const FileDialogRequest& request);

    // While a script is set, nothing is shown: the script answers and records. nullptr shows again.
    static void setScript(DialogScript* script);

    // The set-up, apart from showing, so that it can be checked.
    [[nodiscard]] static std::unique_ptr<QMessageBox> makeMessageBox(QWidget* parent, const QString& text,
                                                                     MsgStyle style);
    [[nodiscard]] static std::unique_ptr<QFileDialog> makeFileDialog(QWidget* parent,
                                                                     const FileDialogRequest& request);
    // The filters as Qt writes them, "description (patterns)"; the dialog shows only the descriptions.
    [[nodiscard]] static QStringList nameFilters(const FileDialogRequest& request);
    [[nodiscard]] static MsgAnswer answerOf(int standardButton);
};

} // namespace klavoset
