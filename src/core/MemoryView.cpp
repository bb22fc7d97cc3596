// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/MemoryView.h"

#include "core/WindowDesign.h"

#include <algorithm>
#include <iterator>

namespace klavoset {

namespace {

// The item or button named `name`, or null; const as the list is.
template <class List> auto* named(List& list, std::string_view name)
{
    const auto it = std::find_if(list.begin(), list.end(), [name](const auto& x) { return x.name == name; });
    return it == list.end() ? nullptr : &*it;
}

} // namespace

MemoryView::MemoryView()
{
    for (const Layout a : kAllLayouts)
        for (int key = 0; key < kKeys; ++key)
            field(a, key).text = std::u16string(design::sampleText(a, key));
    m_items.reserve(std::size(design::kMenu));
    for (const auto& m : design::kMenu)
        m_items.push_back(Item{m.name, m.enabled, m.checked, m.caption});
    m_buttons.reserve(std::size(design::kToolbar));
    for (const auto& b : design::kToolbar)
        if (b.kind != design::ButtonKind::Separator)
            m_buttons.push_back(Button{b.key, b.enabled, b.pressed, b.group, b.tooltip, std::nullopt});
}

MemoryView::Field& MemoryView::field(Layout a, int key)
{
    return m_fields.at(static_cast<std::size_t>(a)).at(static_cast<std::size_t>(key));
}

void MemoryView::setFieldChangeHandler(std::function<void(Layout, int)> handler)
{
    m_changed = std::move(handler);
}

std::u16string MemoryView::fieldText(Layout a, int key) const
{
    return m_fields.at(static_cast<std::size_t>(a)).at(static_cast<std::size_t>(key)).text;
}

int MemoryView::fieldLength(Layout a, int key) const
{
    return static_cast<int>(
        m_fields.at(static_cast<std::size_t>(a)).at(static_cast<std::size_t>(key)).text.size());
}

void MemoryView::setFieldText(Layout a, int key, const std::u16string& text)
{
    Field& f = field(a, key);
    if (f.text == text)
        return;
    f.text = text;
    ++fieldChanges;
    if (m_changed)
        m_changed(a, key);
}

void MemoryView::setFieldEnabled(Layout a, int key, bool enabled) { field(a, key).enabled = enabled; }
void MemoryView::setFieldColor(Layout a, int key, SysColor color) { field(a, key).color = color; }
void MemoryView::setFieldVisible(Layout a, int key, bool visible) { field(a, key).visible = visible; }

const MemoryView::Item& MemoryView::item(std::string_view name) const { return *named(m_items, name); }
const MemoryView::Button& MemoryView::button(std::string_view key) const { return *named(m_buttons, key); }

void MemoryView::setMenuEnabled(std::string_view item, bool enabled)
{
    if (Item* i = named(m_items, item))
        i->enabled = enabled;
}

std::u16string MemoryView::menuCaption(std::string_view item) const
{
    const Item* i = named(m_items, item);
    return i ? std::u16string(i->caption) : std::u16string();
}

void MemoryView::setMenuChecked(std::string_view item, bool checked)
{
    if (Item* i = named(m_items, item))
        i->checked = checked;
}

bool MemoryView::menuChecked(std::string_view item) const
{
    const Item* i = named(m_items, item);
    return i && i->checked;
}

void MemoryView::setButtonEnabled(std::string_view key, bool enabled)
{
    if (Button* b = named(m_buttons, key))
        b->enabled = enabled;
}

void MemoryView::setButtonPressed(std::string_view key)
{
    Button* pressed = named(m_buttons, key);
    if (!pressed)
        return;
    for (Button& b : m_buttons)
        if (b.group != 0 && b.group == pressed->group)
            b.pressed = false;
    pressed->pressed = true;
}

void MemoryView::setButtonTooltip(std::string_view key, const std::u16string& tip)
{
    if (Button* b = named(m_buttons, key))
        b->changedTooltip = tip;
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

MsgAnswer MemoryView::msgBox(const std::u16string& text, MsgStyle style)
{
    boxes.push_back({text, style});
    if (onBox)
        onBox(boxes.back());
    if (!boxAnswers.empty()) {
        const MsgAnswer answer = boxAnswers.front();
        boxAnswers.pop_front();
        return answer;
    }
    return style == MsgYesNoCancel ? AnswerYes : style == MsgYesNo ? AnswerNo : AnswerOk;
}

} // namespace klavoset
