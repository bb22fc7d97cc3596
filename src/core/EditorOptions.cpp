// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"

#include <span>

namespace klavoset {

namespace {

constexpr std::string_view kCodeGroup[] = {"Uni", "Koi"};
constexpr std::string_view kWapGroup[] = {"WAP_No", "WAP_E", "WAP_R"};

// Exactly one item of an option group is checked, and its toolbar button is the pressed one.
void choose(EditorView& view, std::span<const std::string_view> group, std::string_view chosen)
{
    view.setMenuChecked(chosen, true);
    for (const std::string_view item : group)
        if (item != chosen)
            view.setMenuChecked(item, false);
    view.setButtonPressed(chosen);
}

} // namespace

void Editor::unicodeCommand() { choose(m_view, kCodeGroup, "Uni"); }

void Editor::koi8Command()
{
    choose(m_view, kCodeGroup, "Koi");
    m_view.msgBox(u"Включение кодировки КОИ8 позволяет русифицировать набор в mail-клиенте," +
                      kParagraphBreak + u"однако делает невозможным русификацию английской SMS-раскладки !",
                  MsgWarning);
}

void Editor::wapUntouchedCommand() { choose(m_view, kWapGroup, "WAP_No"); }

void Editor::wapFromEnglishCommand() { choose(m_view, kWapGroup, "WAP_E"); }

void Editor::wapFromRussianCommand()
{
    if (m_hasRussian) {
        choose(m_view, kWapGroup, "WAP_R");
        return;
    }
    m_view.msgBox(u"Эта серия телефонов имеет только одну раскладку !", MsgStop);
    wapUntouchedCommand();
}

void Editor::showRussianLayouts(bool shown)
{
    m_hasRussian = shown;
    for (int i = 0; i < kKeys; ++i) {
        m_view.setFieldVisible(Layout::russianUpper, i, m_hasRussian);
        m_view.setFieldVisible(Layout::russianLower, i, m_hasRussian);
    }
}

// A WAP choice the loaded firmware cannot take falls back to leaving the WAP layout alone: WAP_R without
// Russian layouts would write empty strings, and firmware without usable WAP tables gets none at all.
void Editor::followWapAvailability()
{
    const bool wap = m_firmware.wapAvailable;
    for (const std::string_view item : {"WAP_E", "WAP_R"})
        enableCommand(item, wap);
    const bool checkedUnusable =
        (m_view.menuChecked("WAP_R") && !m_hasRussian) || (!wap && !m_view.menuChecked("WAP_No"));
    if (checkedUnusable)
        wapUntouchedCommand();
}

} // namespace klavoset
