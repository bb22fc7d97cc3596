// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WindowFixture.h"
#include "support/LayoutFileBuilder.h"
#include "ui/KeyGrid.h"
#include "ui/SystemColors.h"

#include <QApplication>

using namespace klavoset;
using klavoset::test::WindowFixture;

namespace {

QString q(std::u16string_view s) { return QString::fromStdU16String(std::u16string(s)); }

} // namespace

class WindowEditingTest : public QObject
{
    Q_OBJECT
  private slots:
    void loadFillsTheFieldsAndThePanels()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.open(QStringLiteral("/ff/c55.bin"));
        QCOMPARE(f.panel(1), QStringLiteral("Раскладка загружена из фуллфлеша"));
        QCOMPARE(f.panel(2), QStringLiteral("/ff/c55.bin"));
        QCOMPARE(f.panel(7), QStringLiteral("C55 v24 lg91"));
        QCOMPARE(f.panel(6), QString());
        QCOMPARE(f.field(Layout::englishUpper, 2)->text(), QStringLiteral("ABC2Ж"));
        QCOMPARE(f.field(Layout::russianLower, 9)->text(), QStringLiteral("ыьэюя9"));
        QVERIFY(f.field(Layout::englishLower, 5)->isEnabled());
        QVERIFY(
            !f.field(Layout::englishLower, 1)->isEnabled()); // shared keys are edited in englishUpper only
        QCOMPARE(f.field(Layout::englishUpper, 5)->palette().color(QPalette::Active, QPalette::Base),
                 systemColor(SysColor::Window, QApplication::palette()));
        QVERIFY(f.item("Save1")->isEnabled() && f.button("Save1")->isEnabled());
        QCOMPARE(f.button("View")->toolTip(), QStringLiteral("Просмотр /ff/c55.bin"));
        QCOMPARE(f.script.dialogs.size(), std::size_t{1});
        QCOMPARE(q(f.script.dialogs[0].title), QStringLiteral("Окрыть фуллфлеш"));
        QVERIFY(f.script.dialogs[0].open);
    }

    void typingMarksTheChangeAndRecounts()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.open(QStringLiteral("/ff.bin"));
        const QString before = f.panel(4);
        QVERIFY(!f.item("SaveAsVKP")->isEnabled());
        f.type(Layout::englishLower, 4, QStringLiteral("xyz"));
        QCOMPARE(f.field(Layout::englishLower, 4)->text(), QStringLiteral("ghi4жxyz"));
        QCOMPARE(f.panel(6), QStringLiteral("*"));
        QCOMPARE(f.panel(1), QString());
        QCOMPARE(f.panel(2), QStringLiteral("/ff.bin"));
        QCOMPARE(f.panel(4).section(QLatin1Char(' '), 0, 0).toInt(),
                 before.section(QLatin1Char(' '), 0, 0).toInt() + 3);
        QVERIFY(f.panel(4).endsWith(QStringLiteral(" / 136")));
        QVERIFY(f.item("SaveAsVKP")->isEnabled() && f.button("SaveAsVKP")->isEnabled());
    }

    void sharedKeysAreCopiedIntoEveryLayout()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.open(QStringLiteral("/ff.bin"));
        f.type(Layout::englishUpper, 10, QStringLiteral("=~"));
        f.type(Layout::englishUpper, 1, QStringLiteral("@"));
        for (const Layout a : {Layout::englishLower, Layout::russianUpper, Layout::russianLower}) {
            QCOMPARE(f.field(a, 10)->text(), QStringLiteral("*/+=~"));
            QCOMPARE(f.field(a, 1)->text(), QStringLiteral(" 1€$@"));
        }
    }

    void overflowColoursTheWindowAndBeeps()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.open(QStringLiteral("/ff.bin"));
        const QColor face = systemColor(SysColor::Face, QApplication::palette());
        const QColor warn = systemColor(SysColor::InfoBk, QApplication::palette());
        QVERIFY(face != warn);
        QCOMPARE(f.window->grid()->palette().color(QPalette::Window), face);
        const int beeps = f.window->beeps();
        // Eight letter keys of both English layouts at 16 each pass 136.
        for (int key = 2; key <= 9; ++key)
            f.window->setFieldText(Layout::englishUpper, key, std::u16string(16, u'q'));
        QCOMPARE(f.window->grid()->palette().color(QPalette::Window), warn);
        QVERIFY(f.window->beeps() > beeps);
        for (int key = 2; key <= 9; ++key)
            f.window->setFieldText(Layout::englishUpper, key, u"");
        QCOMPARE(f.window->grid()->palette().color(QPalette::Window), face);
    }

    void typingStopsAtTheLimitButProgramTextsStayWhole()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.open(QStringLiteral("/ff.bin"));
        KeyField* field = f.field(Layout::englishUpper, 3);
        field->clear();
        f.type(Layout::englishUpper, 3, QString(20, QLatin1Char('d')));
        QCOMPARE(field->text(), QString(16, QLatin1Char('d')));

        const std::u16string longText(24, u'e');
        f.window->setFieldText(Layout::englishUpper, 3, longText);
        QCOMPARE(f.window->fieldText(Layout::englishUpper, 3), longText);
        QTest::keyClick(field, Qt::Key_Backspace);
        QCOMPARE(field->text().size(), 23);
        f.type(Layout::englishUpper, 3, QStringLiteral("f"));
        QCOMPARE(field->text().size(), 23); // still over the limit: nothing more can be typed
    }

    // Typing inside a key's text goes on where the cursor is, and the field's own undo takes it back.
    void typingInsideATextKeepsTheCursorAndTheUndo()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.open(QStringLiteral("/ff.bin"));
        f.type(Layout::englishLower, 4, QStringLiteral("xy"), 1);
        KeyField* field = f.field(Layout::englishLower, 4);
        QCOMPARE(field->text(), QStringLiteral("gxyhi4ж"));
        QCOMPARE(field->cursorPosition(), 3);
        QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(field->text(), QStringLiteral("ghi4ж"));
    }

    void fieldsKeepEveryCharacterAndReportEachChangeOnce()
    {
        WindowFixture f;
        QVERIFY(f.start());
        int changes = 0;
        Layout lastArray = Layout::englishUpper;
        int lastKey = -1;
        f.window->setFieldChangeHandler([&](Layout a, int key) {
            ++changes;
            lastArray = a;
            lastKey = key;
        });
        const std::u16string odd = u"a\x7F"
                                   u"b\x01€Ж";
        f.window->setFieldText(Layout::russianLower, 7, odd);
        QCOMPARE(changes, 1);
        QVERIFY(lastArray == Layout::russianLower && lastKey == 7);
        QVERIFY(f.window->fieldText(Layout::russianLower, 7) == odd);
        f.window->setFieldText(Layout::russianLower, 7, odd);
        QCOMPARE(changes, 1); // the same text is no change
        f.window->setFieldText(Layout::englishUpper, 10, std::u16string(60, u'*'));
        QCOMPARE(changes, 2);
    }

    void russianFieldsHideForSingleLayoutFirmware()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.open(QStringLiteral("/slik.bin"), "SLIK v56 lg1");
        QCOMPARE(f.panel(7), QStringLiteral("SLIK v56 lg1"));
        for (int key = 0; key < 12; ++key) {
            QVERIFY(f.field(Layout::russianUpper, key)->isHidden());
            QVERIFY(f.field(Layout::russianLower, key)->isHidden());
            QVERIFY(!f.field(Layout::englishUpper, key)->isHidden());
        }
        QCOMPARE(f.panel(5), QString());
        f.open(QStringLiteral("/c55.bin"));
        QVERIFY(!f.field(Layout::russianUpper, 4)->isHidden());
    }

    void commandLinePathIsLoadedAtStartUp()
    {
        WindowFixture f;
        const LayoutTexts texts = test::sampleLayouts(true, true);
        f.files.files[u"/my files/c55.bin"] = test::imageOf("C55 v24 lg91", texts);
        f.system.line = u"\"/my files/c55.bin\"";
        QVERIFY(f.start());
        QCOMPARE(f.panel(2), QStringLiteral("/my files/c55.bin"));
        QCOMPARE(f.panel(7), QStringLiteral("C55 v24 lg91"));
        QCOMPARE(f.field(Layout::englishUpper, 2)->text(), QStringLiteral("ABC2Ж"));
        QVERIFY(f.script.dialogs.empty());
        QVERIFY(f.script.boxes.empty());
    }

    void commandLineNamingNoFileReportsIt()
    {
        WindowFixture f;
        f.system.line = u"/nowhere/a.bin /nowhere/b.bin";
        QVERIFY(f.start());
        QCOMPARE(f.panel(1), QStringLiteral("Не могу открыть файл !"));
        QCOMPARE(f.panel(2), QStringLiteral("/nowhere/a.bin /nowhere/b.bin"));
        QCOMPARE(f.field(Layout::englishUpper, 2)->text(), QStringLiteral("ABC2АБВГ"));
    }

    void startUpRunsOnce()
    {
        WindowFixture f;
        f.system.calculator = u"/tools/calc";
        f.files.files[u"/tools/calc"] = {1};
        QVERIFY(f.start());
        QVERIFY(f.item("Calculator")->isEnabled() && f.button("Calculator")->isEnabled());
        QVERIFY(!f.item("CharMap")->isEnabled() && !f.button("CharMap")->isEnabled());
        QVERIFY(!f.item("Help")->isEnabled());
        f.window->hide();
        f.window->show();
        f.files.files.erase(u"/tools/calc");
        QTest::qWait(50);
        QVERIFY(f.item("Calculator")->isEnabled()); // a second showing checks nothing again
    }

    void changedLayoutsAreGuardedBeforeALoad()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.open(QStringLiteral("/a.bin"));
        f.type(Layout::englishUpper, 2, QStringLiteral("X"));
        f.script.boxAnswers = {AnswerNo};
        f.open(QStringLiteral("/b.bin"));
        QCOMPARE(f.script.boxes.size(), std::size_t{1});
        QCOMPARE(f.script.boxes[0].style, MsgYesNoCancel);
        QCOMPARE(f.script.boxes[0].text,
                 QStringLiteral("Раскладка была изменена !\r\n\r\nВы уверены, что хотите продолжить ?"));
        QCOMPARE(f.panel(2), QStringLiteral("/a.bin"));
        QCOMPARE(f.field(Layout::englishUpper, 2)->text(), QStringLiteral("ABC2ЖX"));

        f.script.fileAnswers.clear();
        f.script.boxAnswers = {AnswerYes};
        f.open(QStringLiteral("/b.bin"));
        QCOMPARE(f.panel(2), QStringLiteral("/b.bin"));
        QCOMPARE(f.panel(6), QString());
        QCOMPARE(f.field(Layout::englishUpper, 2)->text(), QStringLiteral("ABC2Ж"));
    }

    void closingAsksOnlyWhenChanged()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.open(QStringLiteral("/a.bin"));
        f.type(Layout::russianUpper, 5, QStringLiteral("Ы"));
        f.script.boxAnswers = {AnswerCancel};
        QVERIFY(!f.window->close());
        QVERIFY(f.window->isVisible());
        QCOMPARE(f.script.boxes.size(), std::size_t{1});
        f.script.boxAnswers = {AnswerYes};
        QVERIFY(f.window->close());
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.script.boxes.size(), std::size_t{2});

        WindowFixture g;
        QVERIFY(g.start());
        QVERIFY(g.window->close());
        QVERIFY(g.script.boxes.empty());
    }

    void exitAsksOnceAndEnds()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.open(QStringLiteral("/a.bin"));
        f.type(Layout::englishLower, 2, QStringLiteral("q"));
        f.script.boxAnswers = {AnswerNo};
        f.item("Exit")->trigger();
        QVERIFY(f.window->isVisible());
        f.script.boxAnswers = {AnswerYes};
        f.item("Exit")->trigger();
        QVERIFY(!f.window->isVisible());
        QCOMPARE(f.script.boxes.size(), std::size_t{2}); // closing after Exit asks no more
    }

    void layoutFileAloneOpensEditsAndSavesAsItWas()
    {
        WindowFixture f;
        QVERIFY(f.start());
        const auto bytes = test::LayoutFileBuilder().layouts(test::sampleLayouts(false, true), true).build();
        f.files.files[u"/a.lay"] = bytes;
        f.script.fileAnswers = {QStringLiteral("/a.lay"), QStringLiteral("/b.lay")};
        f.item("Open2")->trigger();
        QCOMPARE(f.panel(1), QStringLiteral("Раскладка загружена из файла раскладок"));
        // No image yet: the shared keys count against the larger capacity, and nothing is over.
        QVERIFY(f.panel(3).endsWith(QStringLiteral(" / 91")));
        QCOMPARE(f.window->beeps(), 0);
        QVERIFY(!f.item("SaveAsVKP")->isEnabled() && !f.button("SaveAsVKP")->isEnabled()); // nothing to patch
        f.item("Save2As")->trigger();
        QVERIFY(f.script.boxes.empty());
        QCOMPARE(f.files.files[u"/b.lay"], bytes);

        f.type(Layout::englishUpper, 0, QStringLiteral("x"));
        QCOMPARE(f.window->beeps(), 0);
        QVERIFY(!f.item("SaveAsVKP")->isEnabled());
        f.item("Save2")->trigger();
        QCOMPARE(f.panel(1), QStringLiteral("Раскладка сохранена в файл раскладок"));
        QVERIFY(f.files.files[u"/b.lay"] != bytes);
    }
};

QTEST_MAIN(WindowEditingTest)
#include "WindowEditingTest.moc"
