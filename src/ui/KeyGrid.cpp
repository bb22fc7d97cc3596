// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/KeyGrid.h"

#include "core/WindowDesign.h"
#include "ui/KeyField.h"
#include "ui/SystemColors.h"
#include "ui/Twips.h"

#include <QFontDatabase>

namespace klavoset {

namespace {

// Designed places in twips, measured from the top of the client area, which the toolbar covers.
constexpr int kColumnLeft[3] = {960, 3960, 7080};
constexpr int kRowTop[4] = {960, 2880, 4800, 6720};
constexpr int kFieldOffset[4] = {0, 360, 840, 1200}; // eb, em, rb, rm below the row top
constexpr int kFieldWidth = 2175;
constexpr int kFieldHeight = 375;
constexpr int kLabelSize = 375;
constexpr int kLabelLeft = -360; // from the fields' left edge
constexpr int kLabelTop = 600;   // below the row top

int columnOf(int key) { return key >= 1 && key <= 9 ? (key - 1) % 3 : key == 10 ? 0 : key == 0 ? 1 : 2; }
int rowOf(int key) { return key >= 1 && key <= 9 ? (key - 1) / 3 : 3; }

// The first of `wanted` that is installed, else `otherwise`: a family that is missing costs a search of
// the system's fonts for a stand-in each time a font of it is first used.
QString installedFamily(std::initializer_list<QString> wanted, const QString& otherwise)
{
    for (const QString& family : wanted)
        if (QFontDatabase::hasFamily(family))
            return family;
    return otherwise;
}

QFont fieldFont()
{
    // Courier New where there is one; otherwise the system's fixed font, which has Cyrillic as well.
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setFamily(installedFamily({QStringLiteral("Courier New")}, font.family()));
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSizeF(9.75);
    return font;
}

QFont labelFont(const QFont& base)
{
    QFont font = base;
    font.setFamily(installedFamily({QStringLiteral("MS Sans Serif"), QStringLiteral("Microsoft Sans Serif")},
                                   base.family()));
    font.setPointSize(18);
    font.setBold(true);
    // Digits, '*' and '#', which every font has: no other font is looked for to stand in.
    font.setStyleStrategy(QFont::NoFontMerging);
    return font;
}

} // namespace

KeyGrid::KeyGrid(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("KeyGrid"));
    setAutoFillBackground(true);
    const int dx = logicalDpiX();
    const int dy = logicalDpiY();
    const auto x = [dx](int twips) { return twipsToPixels(twips, dx); };
    const auto y = [dy](int twips) { return twipsToPixels(twips - kToolbarHeight, dy); };
    setFixedSize(x(kClientWidth), twipsToPixels(kClientHeight - kToolbarHeight - kStatusBarHeight, dy));

    const QFont font = fieldFont();
    const QFont bold = labelFont(this->font());
    for (int key = 0; key < kKeys; ++key) {
        const int left = kColumnLeft[columnOf(key)];
        const int top = kRowTop[rowOf(key)];
        for (const Layout a : kAllLayouts) {
            auto* f = new KeyField(design::maxLength(key), this);
            f->setObjectName(fieldName(a, key));
            f->setAccessibleName(accessibleName(a, key));
            f->setFont(font);
            f->setGeometry(x(left), y(top + kFieldOffset[static_cast<int>(a)]), x(kFieldWidth),
                           twipsToPixels(kFieldHeight, dy));
            f->setProgramText(QString::fromStdU16String(std::u16string(design::sampleText(a, key))));
            f->setEnabled(false);
            f->setAcceptDrops(false); // a file dropped on a field opens the file, it is not typed in
            m_fields[static_cast<std::size_t>(a)][static_cast<std::size_t>(key)] = f;
            setFieldColor(a, key, systemColor(SysColor::ScrollBar, palette()));
        }
        auto* l = new QLabel(keyName(key), this);
        l->setObjectName(QStringLiteral("Label3_%1").arg(key));
        l->setFont(bold);
        l->setAlignment(Qt::AlignCenter);
        l->setGeometry(x(left + kLabelLeft), y(top + kLabelTop), x(kLabelSize),
                       twipsToPixels(kLabelSize, dy));
        m_labels[static_cast<std::size_t>(key)] = l;
    }

    QWidget* previous = nullptr;
    for (const int key : kTabKeys)
        for (const Layout a : kAllLayouts) {
            if (previous != nullptr)
                setTabOrder(previous, field(a, key));
            previous = field(a, key);
        }
}

KeyField* KeyGrid::field(Layout a, int key) const
{
    return m_fields.at(static_cast<std::size_t>(a)).at(static_cast<std::size_t>(key));
}

QLabel* KeyGrid::label(int key) const { return m_labels.at(static_cast<std::size_t>(key)); }

void KeyGrid::setFieldColor(Layout a, int key, const QColor& color)
{
    // Every colour group, so that a disabled field shows the colour as well.
    KeyField* f = field(a, key);
    QPalette p = f->palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Base, color);
    f->setPalette(p);
}

void KeyGrid::setBackground(const QColor& color)
{
    QPalette p = palette();
    for (const auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        p.setColor(group, QPalette::Window, color);
    setPalette(p);
}

QString KeyGrid::keyName(int key)
{
    return key == 10 ? QStringLiteral("*") : key == 11 ? QStringLiteral("#") : QString::number(key);
}

QString KeyGrid::accessibleName(Layout a, int key)
{
    static const char* const kLayouts[] = {"английская, заглавные", "английская, строчные",
                                           "русская, заглавные", "русская, строчные"};
    return QStringLiteral("Клавиша %1, %2")
        .arg(keyName(key), QString::fromUtf8(kLayouts[static_cast<int>(a)]));
}

QString KeyGrid::fieldName(Layout a, int key)
{
    static const char* const kNames[] = {"eb", "em", "rb", "rm"};
    return QStringLiteral("%1_%2").arg(QLatin1String(kNames[static_cast<int>(a)])).arg(key);
}

} // namespace klavoset
