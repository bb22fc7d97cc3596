// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/MemoryView.h"

#include "core/WindowDesign.h"

namespace klavoset {

MemoryView::MemoryView()
{
    for (const KeyArray a : kAllArrays)
        for (int key = 0; key < kKeys; ++key)
            field(a, key).text = std::u16string(design::sampleText(a, key));
    for (const auto& m : design::kMenu)
        m_items[std::string(m.name)] = Item{m.enabled, m.checked, std::u16string(m.caption)};
    for (const auto& b : design::kToolbar)
        if (b.kind != design::ButtonKind::Separator)
            m_buttons[std::string(b.key)] = Button{b.enabled, b.pressed, b.group, std::u16string(b.tooltip)};
}

MemoryView::Field& MemoryView::field(KeyArray a, int key)
{
    return m_fields.at(static_cast<std::size_t>(a)).at(static_cast<std::size_t>(key));
}

void MemoryView::setFieldChangeHandler(std::function<void(KeyArray, int)> handler)
{
    m_changed = std::move(handler);
}

std::u16string MemoryView::fieldText(KeyArray a, int key) const
{
    return m_fields.at(static_cast<std::size_t>(a)).at(static_cast<std::size_t>(key)).text;
}

void MemoryView::setFieldText(KeyArray a, int key, const std::u16string& text)
{
    Field& f = field(a, key);
    if (f.text == text)
        return;
    f.text = text;
    ++fieldChanges;
    if (m_changed)
        m_changed(a, key);
}

void MemoryView::setFieldEnabled(KeyArray a, int key, bool enabled) { field(a, key).enabled = enabled; }
void MemoryView::setFieldColor(KeyArray a, int key, SysColor color) { field(a, key).color = color; }
void MemoryView::setFieldVisible(KeyArray a, int key, bool visible) { field(a, key).visible = visible; }

const MemoryView::Item& MemoryView::item(std::string_view name) const { return m_items.find(name)->second; }
const MemoryView::Button& MemoryView::button(std::string_view key) const
{
    return m_buttons.find(key)->second;
}

void MemoryView::setMenuEnabled(std::string_view item, bool enabled)
{
    if (auto it = m_items.find(item); it != m_items.end())
        it->second.enabled = enabled;
}

std::u16string MemoryView::menuCaption(std::string_view item) const
{
    const auto it = m_items.find(item);
    return it == m_items.end() ? std::u16string() : it->second.caption;
}

void MemoryView::setMenuChecked(std::string_view item, bool checked)
{
    if (auto it = m_items.find(item); it != m_items.end())
        it->second.checked = checked;
}

bool MemoryView::menuChecked(std::string_view item) const
{
    const auto it = m_items.find(item);
    return it != m_items.end() && it->second.checked;
}

void MemoryView::setButtonEnabled(std::string_view key, bool enabled)
{
    if (auto it = m_buttons.find(key); it != m_buttons.end())
        it->second.enabled = enabled;
}

void MemoryView::setButtonPressed(std::string_view key)
{
    const auto it = m_buttons.find(key);
    if (it == m_buttons.end())
        return;
    for (auto& [name, b] : m_buttons)
        if (b.group != 0 && b.group == it->second.group)
            b.pressed = false;
    it->second.pressed = true;
}

void MemoryView::setButtonTooltip(std::string_view key, const std::u16string& tip)
{
    if (auto it = m_buttons.find(key); it != m_buttons.end())
        it->second.tooltip = tip;
}

std::u16string MemoryView::panelText(int panel) const
{
    return panel >= 1 && panel <= 7 ? m_panels[static_cast<std::size_t>(panel)] : std::u16string();
}

void MemoryView::setPanelText(int panel, const std::u16string& text)
{
    if (panel >= 1 && panel <= 7)
        m_panels[static_cast<std::size_t>(panel)] = text;
}

std::u16string MemoryView::runFileDialog(const FileDialogRequest& request)
{
    dialogs.push_back(request);
    if (dialogAnswers.empty())
        return {};
    std::u16string answer = std::move(dialogAnswers.front());
    dialogAnswers.pop_front();
    return answer;
}

int MemoryView::msgBox(const std::u16string& text, int style)
{
    boxes.push_back({text, style});
    if (onBox)
        onBox(boxes.back());
    if (!boxAnswers.empty()) {
        const int answer = boxAnswers.front();
        boxAnswers.pop_front();
        return answer;
    }
    return style == MsgQuestion ? AnswerYes : AnswerOk;
}

} // namespace klavoset
