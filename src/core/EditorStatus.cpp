// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"

#include <utility>

namespace klavoset {

void Editor::updateStatusBar(const std::u16string& status, const std::u16string& path, bool modified)
{
    // The shared keys are edited in englishUpper only; their copies are set without a count of their own, the
    // one below follows.
    const bool filling = std::exchange(m_filling, true);
    for (const int key : kSharedKeys) {
        const std::u16string master = m_view.fieldText(Layout::englishUpper, key);
        for (const Layout a : {Layout::englishLower, Layout::russianUpper, Layout::russianLower})
            if (m_view.fieldText(a, key) != master)
                m_view.setFieldText(a, key, master);
    }
    m_filling = filling;

    // Only lengths are counted: no copy of the 48 texts.
    m_budget = countBudget(fieldLengths([this](Layout a, int key) { return m_view.fieldLength(a, key); }));
    if (m_budget.exceeded(sharedCapacity())) {
        m_view.beep();
        m_view.setWindowColor(SysColor::InfoBk);
    } else {
        m_view.setWindowColor(SysColor::Face);
    }

    const auto count = [](int used, int capacity) {
        const std::string text = std::to_string(used) + " / " + std::to_string(capacity);
        return std::u16string(text.begin(), text.end());
    };
    m_view.setPanelText(PanelStatus, status);
    if (!path.empty())
        m_view.setPanelText(PanelFile, path);
    m_view.setPanelText(PanelShared, count(m_budget.sharedUsed, sharedCapacity()));
    m_view.setPanelText(PanelEnglish, count(m_budget.englishUsed, kEnglishCapacity));
    m_view.setPanelText(PanelRussian, m_hasRussian ? count(m_budget.russianUsed, kRussianCapacity) : u"");
    m_modified = modified;
    m_view.setPanelText(PanelChanged, m_modified ? u"*" : u"");
    // A patch needs an image to patch: a layout file edited on its own has none.
    enableCommand("SaveAsVKP", m_modified && hasImage());
}

bool Editor::refuseOverflow()
{
    if (!m_budget.exceeded(sharedCapacity()))
        return false;
    tell(u"Буфер хранения раскладки переполнен !" + kParagraphBreak +
             u"Удалите один или несколько символов. Следите за строкой статуса",
         MsgStop);
    return true;
}

} // namespace klavoset
