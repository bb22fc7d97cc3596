// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "WindowFixture.h"
#include "ui/KeyGrid.h"
#include "ui/MainToolBar.h"
#include "ui/Pictures.h"
#include "ui/SystemColors.h"
#include "ui/Twips.h"

#include <QAccessible>
#include <QApplication>
#include <QFile>
#include <QImage>
#include <QLayout>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QStyleOptionToolBar>
#include <QToolButton>

using namespace klavoset;
using klavoset::test::WindowFixture;

namespace {

struct MenuRow
{
    const char* name;
    const char* caption;
    bool enabled;
    bool checked;
};

// The menu bar as the user must see it; top-level menus in capitals of the table order.
const MenuRow kMenuRows[] = {
    {"Fullflash", "Фуллфлеш", true, false},
    {"Open1", "Окрыть фуллфлеш", true, false},
    {"Save1", "Сохранить фуллфлеш", false, false},
    {"Save1As", "Сохранить фуллфлеш как", false, false},
    {"SaveAsVKP", "Сохранить патч", false, false},
    {"Separator2", "", true, false},
    {"Exit", "Выход", true, false},
    {"Layout", "Раскладка", true, false},
    {"Open2", "Открыть раскладку", true, false},
    {"Save2", "Сохранить раскладку", false, false},
    {"Save2As", "Сохранить раскладку как", false, false},
    {"Code", "Кодировка", true, false},
    {"Uni", "Юникод", true, true},
    {"Koi", "КОИ 8", true, false},
    {"WAP_Layout", "WAP-раскладка", true, false},
    {"WAP_No", "Не трогать", true, true},
    {"WAP_E", "Копировать из Английской", true, false},
    {"WAP_R", "Копировать из Русской", true, false},
    {"Tools", "Инструменты", true, false},
    {"View", "Просмотр фф", false, false},
    {"V_Klay", "V_Klay", false, false},
    {"Calculator", "Калькулятор", true, false},
    {"CharMap", "Карта символов", true, false},
    {"HelpMenu", "Помощь", true, false},
    {"Help", "Помощь", true, false},
    {"Separator3", "", true, false},
    {"URL", "Домашняя страница", true, false},
    {"Forum", "Обсудить в форуме", true, false},
    {"Mail", "Послать eMail", true, false},
    {"Separator4", "", true, false},
    {"About", "Автора !", true, false},
};

struct ButtonRow
{
    const char* key; // nullptr: separator
    const char* tooltip;
    bool enabled;
    bool pressed;
    bool group;
};

const ButtonRow kButtonRows[] = {
    {"Open1", "Открыть фуллфлеш", true, false, false},
    {"Save1", "Сохранить фуллфлеш", false, false, false},
    {"Save1As", "Сохранить фуллфлеш как", false, false, false},
    {"SaveAsVKP", "Сохранить патч", false, false, false},
    {nullptr, "", true, false, false},
    {"Open2", "Открыть раскладку", true, false, false},
    {"Save2", "Сохранить раскладку", false, false, false},
    {"Save2As", "Сохранить раскладку как", false, false, false},
    {nullptr, "", true, false, false},
    {"Uni", "Кодировка \"Юникод\"", true, true, true},
    {"Koi", "Кодировка \"КОИ 8\"", true, false, true},
    {nullptr, "", true, false, false},
    {"WAP_No", "Не трогать WAP-раскладку", true, true, true},
    {"WAP_E", "Копировать WAP из Английской", true, false, true},
    {"WAP_R", "Копировать WAP из Русской", true, false, true},
    {nullptr, "", true, false, false},
    {"View", "Просмотр фф", false, false, false},
    {"V_Klay", "V_Klay", false, false, false},
    {"Calculator", "Калькулятор", true, false, false},
    {"CharMap", "Карта символов", true, false, false},
    {nullptr, "", true, false, false},
    {"Help", "Помощь", true, false, false},
    {"URL", "Домашняя страница", true, false, false},
    {"Forum", "Обсудить в форуме", true, false, false},
    {"Mail", "Послать eMail", true, false, false},
    {"About", "Автора !", true, false, false},
};

// Sample texts by key index 0..11, for eb, em, rb, rm.
const char* const kSamples[12][4] = {
    {".,?!0+-:??\"';_", ".,?!0+-:??\"';_", ".,?!0+-:??\"';_", ".,?!0+-:??\"';_"},
    {" 1€?$?¤", " 1€?$?¤", " 1€?$?¤", " 1€?$?¤"},
    {"ABC2АБВГ", "abc2абвг", "АБВГ2ABC", "абвг2abc"},
    {"DEF3ДЕЁЖЗ", "def3деёжз", "ДЕЁЖЗ3DEF", "деёжз3def"},
    {"GHI4ИЙКЛ", "ghi4ийкл", "ИЙКЛ4GHI", "ийкл4ghi"},
    {"JKL5МНО", "jkl5мно", "МНО5JKL", "мно5jkl"},
    {"MNO6ПРС", "mno6прс", "ПРС6MNO", "прс6mno"},
    {"PQRS7ТУФХ", "pqrs7туфх", "ТУФХ7PQRS", "туфх7pqrs"},
    {"TUV8ЦЧШЩЪ", "tuv8цчшщъ", "ЦЧШЩЪ8TUV", "цчшщъ8tuv"},
    {"WXYZ9ЫЬЭЮЯ", "wxyz9ыьэюя", "ЫЬЭЮЯ9WXYZ", "ыьэюя9wxyz"},
    {"*/()<=>%~", "*/()<=>%~", "*/()<=>%~", "*/()<=>%~"},
    {"#@\\&§", "#@\\&§", "#@\\&§", "#@\\&§"},
};

} // namespace

class WindowDesignTest : public QObject
{
    Q_OBJECT
  private slots:
    void init()
    {
        // Tools that exist, so that the start-up leaves every command as designed.
        f.system.calculator = u"/t/calc";
        f.system.charMap = u"/t/charmap";
        f.system.helpPage = u"/t/Klavoset.htm";
        for (const auto& p : {f.system.calculator, f.system.charMap, f.system.helpPage})
            f.files.files[p] = {1};
        f.beforeStart = klavoset::test::setAddresses;
        QVERIFY(f.start());
    }
    void cleanup() { f.window.reset(); }

    void captionIsTheProgramName() { QCOMPARE(f.window->windowTitle(), QStringLiteral("Klavoset")); }

    void everyMenuItemAsDesignedAndInOrder()
    {
        QStringList order;
        for (QAction* top : f.window->menuBar()->actions()) {
            order << top->objectName();
            for (QAction* a : top->menu()->actions())
                order << a->objectName();
        }
        QStringList expected;
        for (const MenuRow& row : kMenuRows)
            expected << QString::fromUtf8(row.name);
        QCOMPARE(order, expected);

        for (const MenuRow& row : kMenuRows) {
            QAction* a = f.item(row.name);
            QVERIFY2(a != nullptr, row.name);
            const bool separator = QByteArray(row.name).startsWith("Separator");
            QCOMPARE(a->isSeparator(), separator);
            if (!separator)
                QCOMPARE(a->text(), QString::fromUtf8(row.caption));
            QVERIFY2(a->isEnabled() == row.enabled, row.name);
            QVERIFY2(a->isChecked() == row.checked, row.name);
            QVERIFY2(a->shortcut().isEmpty(), row.name);
            QVERIFY2(!a->text().contains(QLatin1Char('&')), row.name);
        }
        // The caption the engine reads for its dialog titles is the one shown.
        QCOMPARE(f.window->menuCaption("Save1As"), u"Сохранить фуллфлеш как");
        QVERIFY(f.item("Koi")->isCheckable());
        QVERIFY(f.item("WAP_E")->isCheckable());
    }

    // The toolbar's background, drawn in strips, is exactly what the style draws in one go.
    void toolbarBackgroundAsTheStyleDrawsIt()
    {
        MainToolBar* bar = f.window->toolBar();
        QImage drawn(bar->size(), QImage::Format_ARGB32_Premultiplied);
        drawn.fill(Qt::transparent);
        bar->render(&drawn, QPoint(), QRegion(), QWidget::RenderFlags());
        QImage whole(bar->size(), QImage::Format_ARGB32_Premultiplied);
        whole.fill(Qt::transparent);
        QPainter painter(&whole);
        QStyleOptionToolBar option;
        option.initFrom(bar);
        option.toolBarArea = Qt::TopToolBarArea;
        option.positionOfLine = QStyleOptionToolBar::OnlyOne;
        option.positionWithinLine = QStyleOptionToolBar::OnlyOne;
        option.state |= QStyle::State_Horizontal;
        option.lineWidth = bar->style()->pixelMetric(QStyle::PM_ToolBarFrameWidth, nullptr, bar);
        bar->style()->drawControl(QStyle::CE_ToolBar, &option, &painter, bar);
        painter.end();
        QVERIFY(bar->width() > 200);
        QVERIFY(drawn != QImage(bar->size(), QImage::Format_ARGB32_Premultiplied)); // something was drawn
        QCOMPARE(drawn, whole);
    }

    void everyToolbarEntryAsDesignedAndInOrder()
    {
        const QList<QAction*> actions = f.window->toolBar()->actions();
        QCOMPARE(actions.size(), 26);
        for (int i = 0; i < 26; ++i) {
            const ButtonRow& row = kButtonRows[i];
            QAction* a = actions[i];
            if (row.key == nullptr) {
                QVERIFY(a->isSeparator());
                continue;
            }
            QCOMPARE(a->objectName(), QStringLiteral("Toolbar_") + QString::fromUtf8(row.key));
            QCOMPARE(a, f.button(row.key));
            auto* tool = qobject_cast<QToolButton*>(f.window->toolBar()->widgetForAction(a));
            QVERIFY(tool != nullptr);
            QCOMPARE(tool->toolTip(), QString::fromUtf8(row.tooltip));
            QCOMPARE(tool->accessibleName(), tool->toolTip());
            QVERIFY2(a->isEnabled() == row.enabled, row.key);
            QVERIFY2(tool->isEnabled() == row.enabled, row.key);
            QVERIFY2(a->isChecked() == row.pressed, row.key);
            QVERIFY2(a->isCheckable() == row.group, row.key);
            QVERIFY2(!a->icon().isNull(), row.key);
        }
    }

    void toolbarPicturesAreOursAndDrawn()
    {
        for (int image = 1; image <= 21; ++image) {
            const QString file = toolbarPictureSource(image);
            QVERIFY2(QFile::exists(file), qPrintable(file));
            const QImage big = QIcon(file).pixmap(92, 92).toImage();
            QCOMPARE(big.size(), QSize(92, 92)); // vector pictures: any size renders in full
            int drawn = 0;
            for (int y = 0; y < big.height(); y += 2)
                for (int x = 0; x < big.width(); x += 2)
                    drawn += qAlpha(big.pixel(x, y)) > 0 ? 1 : 0;
            QVERIFY2(drawn > 200, qPrintable(file));
        }
        QVERIFY(!f.window->windowIcon().isNull());
        QVERIFY(QFile::exists(QStringLiteral(":/klavoset.svg")));
    }

    // The PNGs drawn at build time show exactly the pixels the SVG gives, enabled and disabled; a size
    // not drawn comes from the SVG itself.
    void drawnPicturesEqualTheirSvg()
    {
        const auto same = [](const QIcon& drawn, const QIcon& svg, int side) {
            for (const QIcon::Mode mode : {QIcon::Normal, QIcon::Disabled}) {
                const QImage a = drawn.pixmap(QSize(side, side), 1.0, mode).toImage();
                const QImage b = svg.pixmap(QSize(side, side), 1.0, mode).toImage();
                if (a.size() != QSize(side, side) ||
                    a.convertToFormat(QImage::Format_ARGB32_Premultiplied) !=
                        b.convertToFormat(QImage::Format_ARGB32_Premultiplied))
                    return false;
            }
            return true;
        };
        for (int image = 1; image <= 21; ++image) {
            const QIcon svg(toolbarPictureSource(image));
            for (const int side : toolbarPictureSizes())
                QVERIFY2(same(toolbarPicture(image), svg, side), qPrintable(QString::number(side)));
            QVERIFY(same(toolbarPicture(image), svg, 25));
        }
        for (const int side : programIconSizes())
            QVERIFY(same(programIcon(), QIcon(QStringLiteral(":/klavoset.svg")), side));
        QCOMPARE(toolbarPictureSizes().front(), twipsToPixels(23 * 15, 96));
    }

    void fieldsHoldTheSampleTextsDisabledAndGrey()
    {
        const QColor grey = systemColor(SysColor::ScrollBar, QApplication::palette());
        for (int key = 0; key < 12; ++key)
            for (const Layout a : kAllLayouts) {
                KeyField* field = f.field(a, key);
                QCOMPARE(field->text(), QString::fromUtf8(kSamples[key][static_cast<int>(a)]));
                QVERIFY(!field->isEnabled());
                QCOMPARE(field->palette().color(QPalette::Disabled, QPalette::Base), grey);
                QCOMPARE(field->typingLimit(), key == 0 ? 20 : key == 10 ? 50 : 16);
                QCOMPARE(field->objectName(), KeyGrid::fieldName(a, key));
            }
        QVERIFY(grey != systemColor(SysColor::Face, QApplication::palette()));
        QVERIFY(grey != systemColor(SysColor::Window, QApplication::palette()));
    }

    void fieldFontIsFixedPitchAndShowsBothAlphabets()
    {
        const QFont font = f.field(Layout::englishUpper, 2)->font();
        QCOMPARE(font.pointSizeF(), 9.75);
        const QFontMetrics m(font);
        QCOMPARE(m.horizontalAdvance(QStringLiteral("i")), m.horizontalAdvance(QStringLiteral("W")));
        QVERIFY(m.inFont(QChar(0x0416)) && m.inFont(QChar(u'W')));
    }

    void labelsNameTheKeys()
    {
        const char* const names[12] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9", "*", "#"};
        for (int key = 0; key < 12; ++key) {
            QLabel* label = f.window->grid()->label(key);
            QCOMPARE(label->text(), QString::fromLatin1(names[key]));
            QVERIFY(label->font().bold());
            QCOMPARE(label->font().pointSize(), 18);
        }
    }

    void screenReadersHearEachFieldsKeyAndLayout()
    {
        const auto heard = [this](Layout a, int key) {
            return QAccessible::queryAccessibleInterface(f.field(a, key))->text(QAccessible::Name);
        };
        QCOMPARE(heard(Layout::englishUpper, 2), QStringLiteral("Клавиша 2, английская, заглавные"));
        QCOMPARE(heard(Layout::englishLower, 0), QStringLiteral("Клавиша 0, английская, строчные"));
        QCOMPARE(heard(Layout::russianUpper, 10), QStringLiteral("Клавиша *, русская, заглавные"));
        QCOMPARE(heard(Layout::russianLower, 11), QStringLiteral("Клавиша #, русская, строчные"));
        QSet<QString> names;
        for (const Layout a : kAllLayouts)
            for (int key = 0; key < kKeys; ++key)
                names.insert(heard(a, key));
        QCOMPARE(names.size(), 48);
    }

    void keypadPlacesFromTheDesign()
    {
        const int dx = f.window->grid()->logicalDpiX();
        const int dy = f.window->grid()->logicalDpiY();
        const auto px = [](int twips, int dpi) { return twipsToPixels(twips, dpi); };
        // key 1 top left, key 0 bottom middle, key # bottom right
        QCOMPARE(f.field(Layout::englishUpper, 1)->geometry(),
                 QRect(px(960, dx), px(960 - 525, dy), px(2175, dx), px(375, dy)));
        QCOMPARE(f.field(Layout::russianLower, 0)->pos(), QPoint(px(3960, dx), px(6720 + 1200 - 525, dy)));
        QCOMPARE(f.field(Layout::englishLower, 11)->pos(), QPoint(px(7080, dx), px(6720 + 360 - 525, dy)));
        QCOMPARE(f.field(Layout::russianUpper, 6)->pos(), QPoint(px(7080, dx), px(2880 + 840 - 525, dy)));
        QCOMPARE(f.window->grid()->label(10)->geometry(),
                 QRect(px(600, dx), px(6720 + 600 - 525, dy), px(375, dx), px(375, dy)));
        QCOMPARE(f.window->grid()->width(), px(10050, dx));
        QCOMPARE(f.window->toolBar()->height(), px(525, dy));
        QCOMPARE(f.window->panels()->height(), px(300, dy));
    }

    void tabOrderRunsColumnByColumn()
    {
        const int keys[12] = {1, 4, 7, 10, 2, 5, 8, 0, 3, 6, 9, 11};
        // Enabled fields only take the focus; the order itself is what is checked.
        QWidget* w = f.field(Layout::englishUpper, 1);
        for (int i = 0; i < 12; ++i)
            for (const Layout a : kAllLayouts) {
                if (i == 0 && a == Layout::englishUpper)
                    continue;
                do
                    w = w->nextInFocusChain();
                while ((w->focusPolicy() & Qt::TabFocus) == 0);
                QCOMPARE(w, static_cast<QWidget*>(f.field(a, keys[i])));
            }
    }

    void sevenPanelsWithTheirTooltipsAndWidths()
    {
        const char* const tips[7] = {
            "Последняя операция",   "Фуллфлеш", "Спецсимволы", "Английский", "Русский",
            "Раскладка изменена ?", "Прошивка"};
        const int widths[7] = {2925, 2925, 900, 900, 900, 250, 1440};
        const int dpi = f.window->panels()->logicalDpiX();
        for (int n = 1; n <= 7; ++n) {
            QLabel* p = f.window->panels()->panel(n);
            QCOMPARE(p->objectName(), QStringLiteral("Panel%1").arg(n));
            QCOMPARE(p->toolTip(), QString::fromUtf8(tips[n - 1]));
            if (n != 2) // the path panel gives up what the window lacks
                QCOMPARE(p->width(), twipsToPixels(widths[n - 1], dpi));
            else
                QVERIFY(p->width() > 0 && p->width() <= twipsToPixels(widths[1], dpi));
            QCOMPARE(p->text(), QString());
        }
        QVERIFY(f.window->panels()->panel(0) == nullptr && f.window->panels()->panel(8) == nullptr);
    }

    void windowKeepsItsDesignedSize()
    {
        QCOMPARE(f.window->minimumSize(), f.window->maximumSize());
        const int dx = f.window->logicalDpiX();
        QVERIFY(f.window->width() <= twipsToPixels(10050, dx) + 4);
        QCOMPARE(f.window->grid()->palette().color(QPalette::Window),
                 systemColor(SysColor::Face, QApplication::palette()));
    }

    void systemColoursComeFromThePalette()
    {
        QPalette p;
        p.setColor(QPalette::Base, Qt::white);
        p.setColor(QPalette::Window, QColor(200, 200, 200));
        p.setColor(QPalette::ToolTipBase, QColor(255, 255, 220));
        p.setColor(QPalette::Button, QColor(200, 200, 200));
        p.setColor(QPalette::Mid, QColor(100, 100, 100));
        QCOMPARE(systemColor(SysColor::Window, p), QColor(Qt::white));
        QCOMPARE(systemColor(SysColor::Face, p), QColor(200, 200, 200));
        QCOMPARE(systemColor(SysColor::InfoBk, p), QColor(255, 255, 220));
        QCOMPARE(systemColor(SysColor::ScrollBar, p), QColor(150, 150, 150));
    }

  private:
    WindowFixture f;
};

QTEST_MAIN(WindowDesignTest)
#include "WindowDesignTest.moc"
