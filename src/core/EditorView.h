// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "codec/LayoutTexts.h"

#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace klavoset {

// System colours by their Windows index; the window maps them to its palette.
enum class SysColor { ScrollBar = 0, Window = 5, Face = 15, InfoBk = 24 };

// Message box styles in use, numbered as the system's boxes are: buttons + icon.
enum MsgStyle : int {
    MsgInfo = 0,         // OK, no icon
    MsgStop = 16,        // OK, stop icon
    MsgWarning = 48,     // OK, exclamation icon
    MsgYesNo = 36,       // Yes/No, question icon
    MsgYesNoCancel = 51, // Yes/No/Cancel, exclamation icon
};
// The button that closed a box.
enum MsgAnswer : int { AnswerOk = 1, AnswerCancel = 2, AnswerYes = 6, AnswerNo = 7 };

// The status bar's panels, numbered from the left as the window shows them.
enum StatusPanel : int {
    PanelStatus = 1, // what the last command did
    PanelFile,       // the file it worked on
    PanelShared,     // the shared keys' count against their capacity
    PanelEnglish,    // the English layouts' count
    PanelRussian,    // the Russian layouts' count, empty without them
    PanelChanged,    // "*" while the layouts differ from their file
    PanelFirmware,   // the loaded firmware's identity
};

// What the file dialog is asked to show; the editor decides every property, the window only presents it.
struct FileDialogRequest
{
    std::u16string title;
    std::u16string fileName;                                        // initial file name
    std::vector<std::pair<std::u16string, std::u16string>> filters; // description, patterns "*.bin;*.fls"
    std::u16string defaultExt;                                      // without the dot
    bool open = true; // open: must exist; save: overwrite prompt
};

// Everything the editor logic needs of its window. The window holds the 48 key fields, which are the
// only copy of the layouts; every change of a field's text, also one made through setFieldText, must be
// reported through the handler given to setFieldChangeHandler (once per actual change).
class EditorView
{
  public:
    virtual ~EditorView() = default;

    virtual void setFieldChangeHandler(std::function<void(Layout, int)> handler) = 0;

    // key fields
    [[nodiscard]] virtual std::u16string fieldText(Layout a, int key) const = 0;
    // The length of fieldText in UTF-16 units; a view that holds the texts answers without a copy.
    [[nodiscard]] virtual int fieldLength(Layout a, int key) const
    {
        return static_cast<int>(fieldText(a, key).size());
    }
    virtual void setFieldText(Layout a, int key, const std::u16string& text) = 0;
    virtual void setFieldEnabled(Layout a, int key, bool enabled) = 0;
    virtual void setFieldColor(Layout a, int key, SysColor color) = 0;
    virtual void setFieldVisible(Layout a, int key, bool visible) = 0;

    // window
    virtual void setWindowColor(SysColor color) = 0;
    virtual void beep() = 0;

    // menu items, by item name ("Open1", "Koi", ...)
    virtual void setMenuEnabled(std::string_view item, bool enabled) = 0;
    [[nodiscard]] virtual std::u16string menuCaption(std::string_view item) const = 0;
    virtual void setMenuChecked(std::string_view item, bool checked) = 0;
    [[nodiscard]] virtual bool menuChecked(std::string_view item) const = 0;

    // toolbar buttons, by key
    virtual void setButtonEnabled(std::string_view key, bool enabled) = 0;
    virtual void setButtonPressed(std::string_view key) = 0; // releases the others of its group
    virtual void setButtonTooltip(std::string_view key, const std::u16string& tip) = 0;

    // status bar panels 1..7 (StatusPanel)
    [[nodiscard]] virtual std::u16string panelText(int panel) const = 0;
    virtual void setPanelText(int panel, const std::u16string& text) = 0;

    // Shows the dialog; returns the chosen full path, or an empty string when nothing was chosen.
    [[nodiscard]] virtual std::u16string runFileDialog(const FileDialogRequest& request) = 0;

    // Modal box titled "Klavoset"; returns the button pressed.
    virtual MsgAnswer msgBox(const std::u16string& text, MsgStyle style) = 0;

    // Ends the program at once, without asking anything more.
    virtual void endProgram() = 0;
};

// The texts of the 48 key fields at this moment, for the writers, which must not read the window.
[[nodiscard]] inline LayoutTexts snapshotFields(const EditorView& view)
{
    LayoutTexts t;
    for (const Layout a : kAllLayouts)
        for (int key = 0; key < kKeys; ++key)
            t.at(a, key) = view.fieldText(a, key);
    return t;
}

} // namespace klavoset
