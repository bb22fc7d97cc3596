// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Dialogs.h"

#include "ui/QtTranslation.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTranslator>

using namespace klavoset;

namespace {

FileDialogRequest request(bool open)
{
    FileDialogRequest r;
    r.title = u"Сохранить фуллфлеш как";
    r.fileName = u"/tmp/ff/old.bin";
    r.filters = {{u"Фуллфлеш (*.bin, *.fls)", u"*.bin;*.fls"}, {u"Все файлы", u"*.*"}};
    r.defaultExt = u"bin";
    r.open = open;
    return r;
}

} // namespace

class DialogsTest : public QObject
{
    Q_OBJECT
  private slots:
    void boxStylesGiveTheirButtonsAndIcons()
    {
        struct Case
        {
            MsgStyle style;
            QMessageBox::StandardButtons buttons;
            QMessageBox::Icon icon;
        };
        const Case cases[] = {
            {MsgInfo, QMessageBox::Ok, QMessageBox::NoIcon},
            {MsgStop, QMessageBox::Ok, QMessageBox::Critical},
            {MsgWarning, QMessageBox::Ok, QMessageBox::Warning},
            {MsgYesNoCancel, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Warning},
            {MsgYesNo, QMessageBox::Yes | QMessageBox::No, QMessageBox::Question},
        };
        for (const Case& c : cases) {
            const auto box = Dialogs::makeMessageBox(nullptr, QStringLiteral("a\r\n\r\nb"), c.style);
            QCOMPARE(box->windowTitle(), QStringLiteral("Klavoset"));
            QCOMPARE(box->standardButtons(), c.buttons);
            QCOMPARE(box->icon(), c.icon);
            QCOMPARE(box->text(), QStringLiteral("a\n\nb"));
            QCOMPARE(box->textFormat(), Qt::PlainText);
        }
        const auto question = Dialogs::makeMessageBox(nullptr, QStringLiteral("?"), MsgYesNoCancel);
        QCOMPARE(question->escapeButton(), question->button(QMessageBox::Cancel));
        const auto yesNo = Dialogs::makeMessageBox(nullptr, QStringLiteral("?"), MsgYesNo);
        QCOMPARE(yesNo->escapeButton(), yesNo->button(QMessageBox::No)); // closing it is No
    }

    void buttonsGiveTheirAnswers()
    {
        QCOMPARE(Dialogs::answerOf(QMessageBox::Ok), AnswerOk);
        QCOMPARE(Dialogs::answerOf(QMessageBox::Cancel), AnswerCancel);
        QCOMPARE(Dialogs::answerOf(QMessageBox::Yes), AnswerYes);
        QCOMPARE(Dialogs::answerOf(QMessageBox::No), AnswerNo);
    }

    void shownBoxReturnsTheButtonPressed()
    {
        // A real box, answered by pressing its No button.
        QTimer::singleShot(50, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            box->button(QMessageBox::No)->click();
        });
        QCOMPARE(Dialogs::message(nullptr, QStringLiteral("Раскладка была изменена !"), MsgYesNoCancel),
                 AnswerNo);
        QTimer::singleShot(50, [] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            QVERIFY(box != nullptr);
            box->reject();
        });
        QCOMPARE(Dialogs::message(nullptr, QStringLiteral("x"), MsgYesNoCancel),
                 AnswerCancel); // closed: Cancel
    }

    void scriptAnswersInsteadOfShowing()
    {
        DialogScript script;
        script.boxAnswers = {AnswerYes};
        script.fileAnswers = {QStringLiteral("/a.bin")};
        Dialogs::setScript(&script);
        QCOMPARE(Dialogs::message(nullptr, QStringLiteral("q"), MsgYesNoCancel), AnswerYes);
        QCOMPARE(Dialogs::message(nullptr, QStringLiteral("q"), MsgYesNoCancel),
                 AnswerCancel); // unscripted: nothing discarded
        QCOMPARE(Dialogs::message(nullptr, QStringLiteral("w"), MsgWarning), AnswerOk);
        QCOMPARE(Dialogs::chooseFile(nullptr, request(true)), QStringLiteral("/a.bin"));
        QCOMPARE(Dialogs::chooseFile(nullptr, request(false)), QString());
        Dialogs::setScript(nullptr);
        QCOMPARE(script.boxes.size(), std::size_t{3});
        QCOMPARE(script.boxes[2].style, MsgWarning);
        QCOMPARE(script.dialogs.size(), std::size_t{2});
        QVERIFY(!script.dialogs[1].open);
    }

    void filtersInQtsForm()
    {
        QCOMPARE(Dialogs::nameFilters(request(true)),
                 QStringList({QStringLiteral("Фуллфлеш (*.bin, *.fls) (*.bin *.fls)"),
                              QStringLiteral("Все файлы (*)")})); // "*.*" hides names without a dot
    }

    void openDialogWantsAnExistingFile()
    {
        const auto d = Dialogs::makeFileDialog(nullptr, request(true));
        QCOMPARE(d->acceptMode(), QFileDialog::AcceptOpen);
        QCOMPARE(d->fileMode(), QFileDialog::ExistingFile);
        QCOMPARE(d->windowTitle(), QStringLiteral("Сохранить фуллфлеш как"));
        QCOMPARE(d->defaultSuffix(), QStringLiteral("bin"));
        QCOMPARE(d->nameFilters(), Dialogs::nameFilters(request(true)));
        QVERIFY(d->testOption(QFileDialog::HideNameFilterDetails));
        // The dialog shows the description only, exactly as the editor gives it.
        QCOMPARE(d->selectedNameFilter(), QStringLiteral("Фуллфлеш (*.bin, *.fls)"));
    }

    void saveDialogAsksBeforeOverwriting()
    {
        const auto d = Dialogs::makeFileDialog(nullptr, request(false));
        QCOMPARE(d->acceptMode(), QFileDialog::AcceptSave);
        QCOMPARE(d->fileMode(), QFileDialog::AnyFile);
        QVERIFY(!d->testOption(QFileDialog::DontConfirmOverwrite));
    }

    void chosenFileIsTheFullPathWithTheDefaultSuffix()
    {
        QTemporaryDir dir;
        QVERIFY(dir.isValid());
        FileDialogRequest r = request(false);
        r.fileName = (dir.path() + QStringLiteral("/start.bin")).toStdU16String();
        QTimer::singleShot(100, [&] {
            auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
            QVERIFY(d != nullptr);
            auto* name = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            QVERIFY(name != nullptr);
            name->setText(QStringLiteral("new")); // typed without the extension
            static_cast<QDialog*>(d)->accept();   // as the dialog's own button does
        });
        QCOMPARE(Dialogs::chooseFile(nullptr, r), dir.path() + QStringLiteral("/new.bin"));
        QTimer::singleShot(100, [] { QApplication::activeModalWidget()->close(); });
        QCOMPARE(Dialogs::chooseFile(nullptr, r), QString());
    }

    void qtsOwnWordsAreRussian()
    {
        const auto words = [](QWidget& w) {
            QStringList texts;
            for (const QAbstractButton* b : w.findChildren<QAbstractButton*>())
                texts << b->text().remove(QLatin1Char('&'));
            for (const QLabel* l : w.findChildren<QLabel*>())
                texts << l->text().remove(QLatin1Char('&'));
            return texts;
        };
        auto& app = *QCoreApplication::instance();
        QTemporaryDir empty;
        QVERIFY(!installRussianQtTexts(app, {empty.path()})); // not installed: Qt's English words
        QVERIFY(words(*Dialogs::makeMessageBox(nullptr, QStringLiteral("?"), MsgYesNoCancel))
                    .contains(QStringLiteral("Yes")));

        QVERIFY(installRussianQtTexts(app));
        QStringList box = words(*Dialogs::makeMessageBox(nullptr, QStringLiteral("?"), MsgYesNoCancel));
        box.removeAll(QStringLiteral("?"));
        box.removeAll(QString()); // the icon
        box.sort();
        QCOMPARE(box, QStringList({QStringLiteral("Да"), QStringLiteral("Нет"), QStringLiteral("Отмена")}));

        const auto dialog = Dialogs::makeFileDialog(nullptr, request(false));
        QVERIFY(dialog->testOption(QFileDialog::DontUseNativeDialog)); // the desktop's would not be Russian
        const QStringList labels = words(*dialog);
        for (const char* english : {"Look in:", "File name:", "Files of type:", "Save", "Cancel"})
            QVERIFY2(!labels.contains(QLatin1String(english)), english);
        for (const char* russian : {"Имя файла:", "Сохранить", "Отмена"})
            QVERIFY2(labels.contains(QString::fromUtf8(russian)), qPrintable(labels.join(QLatin1Char('|'))));

        for (QTranslator* t : app.findChildren<QTranslator*>()) {
            QCoreApplication::removeTranslator(t);
            delete t;
        }
        QLocale::setDefault(QLocale::system());
    }
};

QTEST_MAIN(DialogsTest)
#include "DialogsTest.moc"
