// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/EditorView.h"

#include <string_view>

// The window as designed: menus, toolbar, status panels and the key fields' first texts and limits.
// Both the Qt window and the in-memory view are built from these tables.
namespace klavoset::design {

// The window's caption and the title of every message box.
inline constexpr std::u16string_view kTitle = u"Klavoset";

struct MenuItem
{
    std::string_view name;
    std::u16string_view caption; // "-" is a separator line
    bool topLevel;
    bool enabled;
    bool checked;
};

// clang-format off
inline constexpr MenuItem kMenu[] = {
    {"Fullflash",  u"Фуллфлеш",                true,  true,  false},
    {"Open1",      u"Окрыть фуллфлеш",         false, true,  false},
    {"Save1",      u"Сохранить фуллфлеш",      false, false, false},
    {"Save1As",    u"Сохранить фуллфлеш как",  false, false, false},
    {"SaveAsVKP",  u"Сохранить патч",          false, false, false},
    {"Separator2", u"-",                       false, true,  false},
    {"Exit",       u"Выход",                   false, true,  false},
    {"Layout",     u"Раскладка",               true,  true,  false},
    {"Open2",      u"Открыть раскладку",       false, true,  false},
    {"Save2",      u"Сохранить раскладку",     false, false, false},
    {"Save2As",    u"Сохранить раскладку как", false, false, false},
    {"Code",       u"Кодировка",               true,  true,  false},
    {"Uni",        u"Юникод",                  false, true,  true},
    {"Koi",        u"КОИ 8",                   false, true,  false},
    {"WAP_Layout", u"WAP-раскладка",           true,  true,  false},
    {"WAP_No",     u"Не трогать",              false, true,  true},
    {"WAP_E",      u"Копировать из Английской", false, true, false},
    {"WAP_R",      u"Копировать из Русской",   false, true,  false},
    {"Tools",      u"Инструменты",             true,  true,  false},
    {"View",       u"Просмотр фф",             false, false, false},
    {"V_Klay",     u"V_Klay",                  false, false, false},
    {"Calculator", u"Калькулятор",             false, true,  false},
    {"CharMap",    u"Карта символов",          false, true,  false},
    {"HelpMenu",   u"Помощь",                  true,  true,  false},
    {"Help",       u"Помощь",                  false, true,  false},
    {"Separator3", u"-",                       false, true,  false},
    {"URL",        u"Домашняя страница",       false, true,  false},
    {"Forum",      u"Обсудить в форуме",       false, true,  false},
    {"Mail",       u"Послать eMail",           false, true,  false},
    {"Separator4", u"-",                       false, true,  false},
    {"About",      u"Автора !",                false, true,  false},
};

enum class ButtonKind { Button, Group, Separator };

struct ToolbarEntry
{
    std::string_view key; // empty for a separator
    std::u16string_view tooltip;
    int image;            // 1..21, 0 for a separator
    ButtonKind kind;
    bool enabled;
    bool pressed;
    int group;            // option group of a group button, 0 otherwise
};

inline constexpr ToolbarEntry kToolbar[] = {
    {"Open1",      u"Открыть фуллфлеш",             1,  ButtonKind::Button, true,  false, 0},
    {"Save1",      u"Сохранить фуллфлеш",           2,  ButtonKind::Button, false, false, 0},
    {"Save1As",    u"Сохранить фуллфлеш как",       3,  ButtonKind::Button, false, false, 0},
    {"SaveAsVKP",  u"Сохранить патч",               4,  ButtonKind::Button, false, false, 0},
    {"",           u"",                             0,  ButtonKind::Separator, true, false, 0},
    {"Open2",      u"Открыть раскладку",            5,  ButtonKind::Button, true,  false, 0},
    {"Save2",      u"Сохранить раскладку",          6,  ButtonKind::Button, false, false, 0},
    {"Save2As",    u"Сохранить раскладку как",      7,  ButtonKind::Button, false, false, 0},
    {"",           u"",                             0,  ButtonKind::Separator, true, false, 0},
    {"Uni",        u"Кодировка \"Юникод\"",         8,  ButtonKind::Group,  true,  true,  1},
    {"Koi",        u"Кодировка \"КОИ 8\"",          9,  ButtonKind::Group,  true,  false, 1},
    {"",           u"",                             0,  ButtonKind::Separator, true, false, 0},
    {"WAP_No",     u"Не трогать WAP-раскладку",     10, ButtonKind::Group,  true,  true,  2},
    {"WAP_E",      u"Копировать WAP из Английской", 11, ButtonKind::Group,  true,  false, 2},
    {"WAP_R",      u"Копировать WAP из Русской",    12, ButtonKind::Group,  true,  false, 2},
    {"",           u"",                             0,  ButtonKind::Separator, true, false, 0},
    {"View",       u"Просмотр фф",                  13, ButtonKind::Button, false, false, 0},
    {"V_Klay",     u"V_Klay",                       14, ButtonKind::Button, false, false, 0},
    {"Calculator", u"Калькулятор",                  15, ButtonKind::Button, true,  false, 0},
    {"CharMap",    u"Карта символов",               16, ButtonKind::Button, true,  false, 0},
    {"",           u"",                             0,  ButtonKind::Separator, true, false, 0},
    {"Help",       u"Помощь",                       17, ButtonKind::Button, true,  false, 0},
    {"URL",        u"Домашняя страница",            18, ButtonKind::Button, true,  false, 0},
    {"Forum",      u"Обсудить в форуме",            19, ButtonKind::Button, true,  false, 0},
    {"Mail",       u"Послать eMail",                20, ButtonKind::Button, true,  false, 0},
    {"About",      u"Автора !",                     21, ButtonKind::Button, true,  false, 0},
};

struct Panel
{
    int widthTwips;
    std::u16string_view tooltip;
};

inline constexpr Panel kPanels[] = {
    {2925, u"Последняя операция"}, {2925, u"Фуллфлеш"}, {900, u"Спецсимволы"}, {900, u"Английский"},
    {900, u"Русский"},             {250, u"Раскладка изменена ?"}, {1440, u"Прошивка"},
};

// Sample texts of the fields until the first load, by key index 0..11; the same in all four arrays
// except the letter keys.
inline constexpr std::u16string_view kSampleShared[kKeys] = {
    u".,?!0+-:??\"';_", u" 1€?$?¤", u"", u"", u"", u"", u"", u"", u"", u"", u"*/()<=>%~", u"#@\\&§"};
inline constexpr std::u16string_view kSampleLetters[4][kKeys] = {
    {u"", u"", u"ABC2АБВГ", u"DEF3ДЕЁЖЗ", u"GHI4ИЙКЛ", u"JKL5МНО", u"MNO6ПРС", u"PQRS7ТУФХ", u"TUV8ЦЧШЩЪ", u"WXYZ9ЫЬЭЮЯ", u"", u""},
    {u"", u"", u"abc2абвг", u"def3деёжз", u"ghi4ийкл", u"jkl5мно", u"mno6прс", u"pqrs7туфх", u"tuv8цчшщъ", u"wxyz9ыьэюя", u"", u""},
    {u"", u"", u"АБВГ2ABC", u"ДЕЁЖЗ3DEF", u"ИЙКЛ4GHI", u"МНО5JKL", u"ПРС6MNO", u"ТУФХ7PQRS", u"ЦЧШЩЪ8TUV", u"ЫЬЭЮЯ9WXYZ", u"", u""},
    {u"", u"", u"абвг2abc", u"деёжз3def", u"ийкл4ghi", u"мно5jkl", u"прс6mno", u"туфх7pqrs", u"цчшщъ8tuv", u"ыьэюя9wxyz", u"", u""},
};
// clang-format on

[[nodiscard]] constexpr std::u16string_view sampleText(Layout a, int key)
{
    return isSharedKey(key) ? kSampleShared[key] : kSampleLetters[static_cast<int>(a)][key];
}

// Characters the user can type into a field of the key.
[[nodiscard]] constexpr int maxLength(int key) { return key == 0 ? 20 : key == 10 ? 50 : 16; }

} // namespace klavoset::design
