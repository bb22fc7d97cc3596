// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WindowFixture.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QToolButton>

using namespace klavoset;
using klavoset::test::WindowFixture;

namespace {

const QString kKoiWarning =
    QStringLiteral("Включение кодировки КОИ8 позволяет русифицировать набор в mail-клиенте,"
                   "\r\n\r\nоднако делает невозможным русификацию английской SMS-раскладки !");

// Clicks a toolbar button with the mouse, as the user does.
void click(const WindowFixture& f, const char* key)
{
    QWidget* w = f.window->toolBar()->widgetForAction(f.button(key));
    QTest::mouseClick(w, Qt::LeftButton);
}

// Drops files on the window: enter, then drop; returns whether the window took the drag.
bool drop(const WindowFixture& f, const QStringList& paths)
{
    QMimeData data;
    QList<QUrl> urls;
    for (const QString& p : paths)
        urls << QUrl::fromLocalFile(p);
    data.setUrls(urls);
    const QPoint at = f.window->rect().center();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.window.get(), &enter);
    if (!enter.isAccepted())
        return false;
    QDropEvent dropped(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(f.window.get(), &dropped);
    QTest::qWait(20);
    return true;
}

bool pressedAlone(const WindowFixture& f, const char* key, std::initializer_list<const char*> group)
{
    for (const char* k : group)
        if (f.button(k)->isChecked() != (QByteArray(k) == key) ||
            f.item(k)->isChecked() != (QByteArray(k) == key))
            return false;
    return true;
}

} // namespace

class WindowCommandsTest : public QObject
{
    Q_OBJECT
  private slots:
    void encodingGroupFromMenuAndToolbar()
    {
        WindowFixture f;
        QVERIFY(f.start());
        click(f, "Koi");
        QVERIFY(pressedAlone(f, "Koi", {"Uni", "Koi"}));
        QCOMPARE(f.script.boxes.size(), std::size_t{1});
        QCOMPARE(f.script.boxes[0].text, kKoiWarning);
        QCOMPARE(f.script.boxes[0].style, MsgWarning);
        f.item("Koi")->trigger(); // already checked: warned again, still checked
        QVERIFY(pressedAlone(f, "Koi", {"Uni", "Koi"}));
        QCOMPARE(f.script.boxes.size(), std::size_t{2});
        click(f, "Uni");
        QVERIFY(pressedAlone(f, "Uni", {"Uni", "Koi"}));
        click(f, "Uni"); // a pressed group button stays pressed when clicked again
        QVERIFY(pressedAlone(f, "Uni", {"Uni", "Koi"}));
        QCOMPARE(f.script.boxes.size(), std::size_t{2});
    }

    void wapGroupAndItsRefusalWithoutRussian()
    {
        WindowFixture f;
        QVERIFY(f.start());
        const auto wap = {"WAP_No", "WAP_E", "WAP_R"};
        click(f, "WAP_E");
        QVERIFY(pressedAlone(f, "WAP_E", wap));
        f.item("WAP_R")->trigger();
        QVERIFY(pressedAlone(f, "WAP_R", wap));
        QVERIFY(f.script.boxes.empty());

        f.open(QStringLiteral("/slik.bin"), "SLIK v56 lg1");
        f.item("WAP_E")->trigger();
        QVERIFY(pressedAlone(f, "WAP_E", wap));
        click(f, "WAP_R");
        QCOMPARE(f.script.boxes.size(), std::size_t{1});
        QCOMPARE(f.script.boxes[0].text, QStringLiteral("Эта серия телефонов имеет только одну раскладку !"));
        QCOMPARE(f.script.boxes[0].style, MsgStop);
        QVERIFY(pressedAlone(f, "WAP_No", wap));
    }

    void disabledCommandsDeliverNoClicks()
    {
        WindowFixture f;
        QVERIFY(f.start());
        QVERIFY(!f.button("View")->isEnabled());
        click(f, "View");
        f.item("View")->trigger();
        f.button("View")->trigger();
        QVERIFY(f.system.opened.empty());

        f.window->setButtonEnabled("About", false);
        click(f, "About");
        QVERIFY(f.script.boxes.empty());
        f.window->setButtonEnabled("About", true);
        click(f, "About");
        QCOMPARE(f.script.boxes.size(), std::size_t{1});
        QVERIFY(f.script.boxes[0].text.startsWith(QStringLiteral("Klavoset v2.59\r\n\r\n")));
        QCOMPARE(f.script.boxes[0].style, MsgInfo);

        f.window->setMenuEnabled("Open1", false);
        f.item("Open1")->trigger();
        QVERIFY(f.script.dialogs.empty());
    }

    void buttonsAndItemsRunTheirCommands()
    {
        WindowFixture f;
        f.system.helpPage = u"/opt/k/Klavoset.htm";
        f.files.files[u"/opt/k/Klavoset.htm"] = {1};
        f.system.calculator = u"/usr/bin/calc";
        f.files.files[u"/usr/bin/calc"] = {1};
        f.system.patcher = u"patcher \"%1\"";
        f.beforeStart = klavoset::test::setAddresses;
        QVERIFY(f.start());
        QVERIFY(f.item("V_Klay")->isEnabled() && f.button("V_Klay")->isEnabled());
        click(f, "Help");
        f.item("URL")->trigger();
        click(f, "Mail");
        click(f, "Calculator");
        click(f, "V_Klay");
        QCOMPARE(f.system.opened.size(), std::size_t{3});
        QVERIFY(f.system.opened[0] == u"/opt/k/Klavoset.htm");
        QVERIFY(f.system.opened[1].starts_with(u"https://"));
        QVERIFY(f.system.opened[2].starts_with(u"mailto:"));
        QCOMPARE(f.system.started.size(), std::size_t{2});
        QVERIFY(f.system.started[0] == std::vector<std::u16string>{u"/usr/bin/calc"});
        QVERIFY(f.system.started[1] == (std::vector<std::u16string>{u"patcher", u""}));

        f.open(QStringLiteral("/ff/x.bin"));
        click(f, "View");
        QVERIFY(f.system.viewed.back() == u"/ff/x.bin");
        QCOMPARE(f.window->toolBar()->widgetForAction(f.button("View"))->toolTip(),
                 QStringLiteral("Просмотр /ff/x.bin"));
        QCOMPARE(f.window->toolBar()->widgetForAction(f.button("View"))->accessibleName(),
                 QStringLiteral("Просмотр /ff/x.bin"));
    }

    void openDialogIsCancelledSilently()
    {
        WindowFixture f;
        QVERIFY(f.start());
        click(f, "Open1");
        QCOMPARE(f.script.dialogs.size(), std::size_t{1});
        const FileDialogRequest& r = f.script.dialogs[0];
        QVERIFY(r.open);
        QVERIFY(r.defaultExt == u"bin");
        QCOMPARE(r.filters.size(), std::size_t{2});
        QVERIFY(r.filters[0].first == u"Фуллфлеш (*.bin, *.fls)" && r.filters[0].second == u"*.bin;*.fls");
        QVERIFY(f.script.boxes.empty());
        QCOMPARE(f.panel(1), QString());
        QVERIFY(!f.item("Save1")->isEnabled());
    }

    void droppedFullflashLoadsAndIsGuarded()
    {
        WindowFixture f;
        QVERIFY(f.start());
        f.files.files[u"/d/a.bin"] = test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true));
        f.files.files[u"/d/b.FLS"] = test::imageOf("C55 v24 lg91", test::sampleLayouts(true, true));
        QVERIFY(drop(f, {QStringLiteral("/d/a.bin")}));
        QTRY_COMPARE(f.panel(2), QStringLiteral("/d/a.bin"));
        QVERIFY(f.script.dialogs.empty());

        f.type(Layout::englishUpper, 3, QStringLiteral("Q"));
        f.script.boxAnswers = {AnswerCancel};
        QVERIFY(drop(f, {QStringLiteral("/d/b.FLS")}));
        QTRY_COMPARE(f.script.boxes.size(), std::size_t{1});
        QCOMPARE(f.script.boxes[0].style, MsgYesNoCancel);
        QCOMPARE(f.panel(2), QStringLiteral("/d/a.bin"));

        f.script.boxAnswers = {AnswerYes};
        QVERIFY(drop(f, {QStringLiteral("/d/notes.txt"), QStringLiteral("/d/b.FLS")}));
        QTRY_COMPARE(f.panel(2), QStringLiteral("/d/b.FLS"));
        QVERIFY(f.script.dialogs.empty());
    }

    void otherDropsAreRefused()
    {
        WindowFixture f;
        QVERIFY(f.start());
        QVERIFY(!drop(f, {QStringLiteral("/d/patch.vkp")}));
        QVERIFY(!drop(f, {}));
        QVERIFY(drop(f, {QStringLiteral("/d/keys.lay")})); // goes to the layout command
        QVERIFY(f.script.dialogs.empty());
        QCOMPARE(f.panel(7), QString());
        QVERIFY(!f.field(Layout::englishUpper, 2)->acceptDrops());
    }
};

QTEST_MAIN(WindowCommandsTest)
#include "WindowCommandsTest.moc"
