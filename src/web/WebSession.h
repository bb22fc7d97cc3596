// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/Editor.h"
#include "core/MemoryView.h"
#include "core/SystemServices.h"
#include "web/MemoryFiles.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace klavoset::web {

// The window of the page as the editor sees it. Boxes with only an OK button are recorded for the page
// to show after the command; the one question, about unsaved changes, cannot wait for an answer inside a
// browser, so it stops the command (as Cancel would) and the page runs the command again once the user
// has said Yes.
class WebView : public MemoryView
{
  public:
    int msgBox(const std::u16string& text, int style) override;

    bool confirmed = false;  // the user has already said Yes to the question
    std::u16string question; // the question that stopped the last command
};

// Addresses and mail go to the browser; the outside programs do not exist here.
class WebSystem : public NoSystemServices
{
  public:
    void openDocument(const std::u16string& target) override { opened = target; }
    std::u16string opened;
};

// One editor behind the page: the commands the page offers, each run to its end before the next.
class WebSession
{
  public:
    WebSession();
    WebSession(const WebSession&) = delete;
    WebSession& operator=(const WebSession&) = delete;

    // The buffer for the bytes of the file the user chose next; the page fills it in place.
    [[nodiscard]] std::vector<std::uint8_t>& stage(std::size_t size);

    // Open the staged file as a fullflash, as a layout file, or by its extension (dropped on the page).
    // `confirmed` is the user's Yes to the unsaved-changes question of an earlier attempt.
    Outcome openFullflash(const std::string& name, bool confirmed);
    Outcome openLayout(const std::string& name, bool confirmed);
    Outcome openDropped(const std::string& name, bool confirmed);

    // Save under the name the window's dialog proposes; what was written is then the download.
    Outcome saveFullflash();
    Outcome savePatch();
    Outcome saveLayout();

    // Any other command by its menu item's name (the options, About, the addresses).
    void command(std::string_view name);
    // The user changed the text of a field.
    void type(Layout a, int key, const std::string& text);

    // What the last command left for the page: the question to ask, the boxes to show, a download, an
    // address to open.
    [[nodiscard]] std::string question() const;
    [[nodiscard]] std::vector<MemoryView::Box> takeBoxes() { return std::exchange(view.boxes, {}); }
    [[nodiscard]] const std::string& downloadName() const { return m_downloadName; }
    [[nodiscard]] const std::vector<std::uint8_t>& downloadBytes() const;
    void clearDownload();
    [[nodiscard]] std::string takeOpened();

    WebView view;
    MemoryFiles files;
    WebSystem system;
    Editor editor{view, files, system};

  private:
    enum class Kind { Fullflash, Layout, Dropped };
    Outcome open(const std::string& name, bool confirmed, Kind kind);
    Outcome save(CommandResult (Editor::*saveAs)(const std::u16string&), const std::u16string& name);

    std::vector<std::uint8_t> m_staged;
    std::string m_downloadName;
};

} // namespace klavoset::web
