// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Dialogs.h"

#include "core/WindowDesign.h"

#include <QFileDialog>
#include <QMessageBox>

namespace klavoset {

namespace {

DialogScript* g_script = nullptr;

QString qs(std::u16string_view s) { return QString::fromStdU16String(std::u16string(s)); }

} // namespace

void Dialogs::setScript(DialogScript* script) { g_script = script; }

std::unique_ptr<QMessageBox> Dialogs::makeMessageBox(QWidget* parent, const QString& text, MsgStyle style)
{
    auto box = std::make_unique<QMessageBox>(parent);
    box->setWindowTitle(qs(design::kTitle));
    box->setTextFormat(Qt::PlainText);
    QString shown = text;
    box->setText(shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
    switch (style) {
    case MsgYesNoCancel:
        box->setIcon(QMessageBox::Warning);
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::Cancel);
        break;
    case MsgYesNo:
        box->setIcon(QMessageBox::Question);
        box->setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box->setDefaultButton(QMessageBox::Yes);
        box->setEscapeButton(QMessageBox::No);
        break;
    case MsgWarning:
        box->setIcon(QMessageBox::Warning);
        box->setStandardButtons(QMessageBox::Ok);
        break;
    case MsgStop:
        box->setIcon(QMessageBox::Critical);
        box->setStandardButtons(QMessageBox::Ok);
        break;
    default:
        box->setIcon(QMessageBox::NoIcon);
        box->setStandardButtons(QMessageBox::Ok);
        break;
    }
    return box;
}

MsgAnswer Dialogs::answerOf(int standardButton)
{
    switch (standardButton) {
    case QMessageBox::Yes:
        return AnswerYes;
    case QMessageBox::No:
        return AnswerNo;
    case QMessageBox::Cancel:
        return AnswerCancel;
    default:
        return AnswerOk;
    }
}

MsgAnswer Dialogs::message(QWidget* parent, const QString& text, MsgStyle style)
{
    if (g_script != nullptr) {
        g_script->boxes.push_back({text, style});
        if (g_script->boxAnswers.empty())
            return style == MsgYesNoCancel ? AnswerCancel : style == MsgYesNo ? AnswerNo : AnswerOk;
        const MsgAnswer answer = g_script->boxAnswers.front();
        g_script->boxAnswers.pop_front();
        return answer;
    }
    const auto box = makeMessageBox(parent, text, style);
    box->exec();
    QAbstractButton* clicked = box->clickedButton();
    // Closing the box without a button counts as its escape button.
    const auto button = clicked != nullptr        ? box->standardButton(clicked)
                        : style == MsgYesNoCancel ? QMessageBox::Cancel
                        : style == MsgYesNo       ? QMessageBox::No
                                                  : QMessageBox::Ok;
    return answerOf(button);
}

QStringList Dialogs::nameFilters(const FileDialogRequest& request)
{
    QStringList filters;
    for (const auto& [description, patterns] : request.filters) {
        QString p = qs(patterns).replace(QLatin1Char(';'), QLatin1Char(' '));
#ifndef Q_OS_WIN
        // Outside Windows "*.*" hides names without a dot, and a save turns a typed "b.lay" into "b.*".
        if (p == QLatin1String("*.*"))
            p = QStringLiteral("*");
#endif
        filters << qs(description) + QStringLiteral(" (") + p + QLatin1Char(')');
    }
    return filters;
}

std::unique_ptr<QFileDialog> Dialogs::makeFileDialog(QWidget* parent, const FileDialogRequest& request)
{
    auto dialog = std::make_unique<QFileDialog>(parent, qs(request.title));
    // Qt would show the patterns a second time behind descriptions that already name them.
    dialog->setOption(QFileDialog::HideNameFilterDetails);
#ifndef Q_OS_WIN
    // The desktop's own dialog would speak the system's language; Qt's speaks the window's Russian.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
#endif
    dialog->setNameFilters(nameFilters(request));
    dialog->setDefaultSuffix(qs(request.defaultExt));
    if (request.open) {
        dialog->setAcceptMode(QFileDialog::AcceptOpen);
        dialog->setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog->setAcceptMode(QFileDialog::AcceptSave); // asks before an existing file is overwritten
        dialog->setFileMode(QFileDialog::AnyFile);
    }
    if (!request.fileName.empty())
        dialog->selectFile(qs(request.fileName));
    return dialog;
}

QString Dialogs::chooseFile(QWidget* parent, const FileDialogRequest& request)
{
    if (g_script != nullptr) {
        g_script->dialogs.push_back(request);
        if (g_script->fileAnswers.empty())
            return {};
        QString answer = g_script->fileAnswers.front();
        g_script->fileAnswers.pop_front();
        return answer;
    }
    const auto dialog = makeFileDialog(parent, request);
    if (dialog->exec() != QDialog::Accepted)
        return {};
    const QStringList chosen = dialog->selectedFiles();
    return chosen.isEmpty() ? QString() : chosen.front();
}

} // namespace klavoset
