// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/EditorView.h"

#include <array>
#include <deque>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace klavoset {

// A window without a screen: the state of every control in memory, message boxes recorded and answered
// from a script, file dialogs answered from a queue. The command-line tool and the tests drive the
// editor through it.
class MemoryView : public EditorView
{
  public:
    struct Field
    {
        std::u16string text;
        bool enabled = false;
        SysColor color = SysColor::ScrollBar;
        bool visible = true;
    };
    // Menu items and buttons are held in the design's order, named by its static strings: a view is
    // built for every command the tool runs and every fuzz input, so it allocates almost nothing.
    struct Item
    {
        std::string_view name;
        bool enabled = true;
        bool checked = false;
        std::u16string_view caption;
    };
    struct Button
    {
        std::string_view name; // the design's key
        bool enabled = true;
        bool pressed = false;
        int group = 0;
        std::u16string_view designTooltip;
        std::optional<std::u16string> changedTooltip;
        [[nodiscard]] std::u16string_view tooltip() const
        {
            return changedTooltip ? std::u16string_view(*changedTooltip) : designTooltip;
        }
    };
    struct Box
    {
        std::u16string text;
        MsgStyle style = MsgInfo;
    };

    MemoryView(); // in the window's design state

    void setFieldChangeHandler(std::function<void(Layout, int)> handler) override;
    std::u16string fieldText(Layout a, int key) const override;
    int fieldLength(Layout a, int key) const override;
    void setFieldText(Layout a, int key, const std::u16string& text) override;
    void setFieldEnabled(Layout a, int key, bool enabled) override;
    void setFieldColor(Layout a, int key, SysColor color) override;
    void setFieldVisible(Layout a, int key, bool visible) override;
    void setWindowColor(SysColor color) override { windowColor = color; }
    void beep() override { ++beeps; }
    void setMenuEnabled(std::string_view item, bool enabled) override;
    std::u16string menuCaption(std::string_view item) const override;
    void setMenuChecked(std::string_view item, bool checked) override;
    bool menuChecked(std::string_view item) const override;
    void setButtonEnabled(std::string_view key, bool enabled) override;
    void setButtonPressed(std::string_view key) override;
    void setButtonTooltip(std::string_view key, const std::u16string& tip) override;
    std::u16string panelText(int panel) const override;
    void setPanelText(int panel, const std::u16string& text) override;
    std::u16string runFileDialog(const FileDialogRequest& request) override;
    MsgAnswer msgBox(const std::u16string& text, MsgStyle style) override;
    void endProgram() override { ended = true; }

    // Typing: sets the text as a user would, through the change notification.
    void type(Layout a, int key, const std::u16string& text) { setFieldText(a, key, text); }
    [[nodiscard]] Field& field(Layout a, int key);
    [[nodiscard]] const Item& item(std::string_view name) const;
    [[nodiscard]] const Button& button(std::string_view key) const;

    // Script and record.
    std::deque<std::u16string> dialogAnswers; // next chosen paths; empty string = cancel
    std::deque<MsgAnswer> boxAnswers;         // next buttons; when empty: OK, or Yes for a question
    std::vector<FileDialogRequest> dialogs;
    std::vector<Box> boxes;
    std::function<void(const Box&)> onBox; // called for every box shown, e.g. to print it
    SysColor windowColor = SysColor::Face;
    int beeps = 0;
    int fieldChanges = 0;
    bool ended = false;

  private:
    std::array<std::array<Field, kKeys>, 4> m_fields;
    std::vector<Item> m_items;
    std::vector<Button> m_buttons;
    std::array<std::u16string, 8> m_panels;
    std::function<void(Layout, int)> m_changed;
};

} // namespace klavoset
