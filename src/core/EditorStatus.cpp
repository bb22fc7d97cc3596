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

    const auto number = [](int v) {
        const std::string digits = std::to_string(v);
        return std::u16string(digits.begin(), digits.end());
    };
    m_view.setPanelText(1, status);
    if (!path.empty())
        m_view.setPanelText(2, path);
    m_view.setPanelText(3, number(m_budget.sharedUsed) + u" / " + number(sharedCapacity()));
    m_view.setPanelText(4, number(m_budget.englishUsed) + u" / 136");
    m_view.setPanelText(5, m_hasRussian ? number(m_budget.russianUsed) + u" / 138" : u"");
    m_modified = modified;
    m_view.setPanelText(6, m_modified ? u"*" : u"");
    // A patch needs an image to patch: a layout file edited on its own has none.
    enableCommand("SaveAsVKP", m_modified && !m_image.empty());
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
