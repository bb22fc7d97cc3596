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
void showChosen(EditorView& view, std::span<const std::string_view> group, std::string_view chosen)
{
    view.setMenuChecked(chosen, true);
    for (const std::string_view item : group)
        if (item != chosen)
            view.setMenuChecked(item, false);
    view.setButtonPressed(chosen);
}

std::string_view wapItem(WapSource source)
{
    switch (source) {
    case WapSource::English:
        return "WAP_E";
    case WapSource::Russian:
        return "WAP_R";
    case WapSource::Untouched:
        break;
    }
    return "WAP_No";
}

} // namespace

void Editor::chooseKoi8(bool koi8)
{
    m_options.koi = koi8;
    showChosen(m_view, kCodeGroup, koi8 ? "Koi" : "Uni");
}

void Editor::chooseWapSource(WapSource source)
{
    m_options.wap = source;
    showChosen(m_view, kWapGroup, wapItem(source));
}

void Editor::unicodeCommand() { chooseKoi8(false); }

void Editor::koi8Command()
{
    chooseKoi8(true);
    m_view.msgBox(u"Включение кодировки КОИ8 позволяет русифицировать набор в mail-клиенте," +
                      kParagraphBreak + u"однако делает невозможным русификацию английской SMS-раскладки !",
                  MsgWarning);
}

void Editor::wapUntouchedCommand() { chooseWapSource(WapSource::Untouched); }

void Editor::wapFromEnglishCommand() { chooseWapSource(WapSource::English); }

void Editor::wapFromRussianCommand()
{
    if (m_hasRussian) {
        chooseWapSource(WapSource::Russian);
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
    const bool checkedUnusable = (m_options.wap == WapSource::Russian && !m_hasRussian) ||
                                 (!wap && m_options.wap != WapSource::Untouched);
    if (checkedUnusable)
        wapUntouchedCommand();
}

} // namespace klavoset
