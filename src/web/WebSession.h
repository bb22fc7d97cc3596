// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "core/Editor.h"
#include "core/MemoryView.h"
#include "core/SystemServices.h"
#include "web/MemoryFiles.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace klavoset::web {

// The user's answers (MsgAnswer) to the questions a command stopped at, in the order it asked them.
using Answers = std::vector<int>;

// The window of the page as the editor sees it. Boxes with only an OK button are recorded for the page
// to show after the command. A question cannot wait for an answer inside a browser: the first one the
// user has not answered yet stops the command (answered as No or Cancel would be, and nothing the
// command shows after it is recorded), the page asks it, and runs the command again with all the
// answers so far. A rerun takes the same path up to the last answered question, and the page has shown
// the boxes before it already: only boxes after it are recorded.
class WebView : public MemoryView
{
  public:
    MsgAnswer msgBox(const std::u16string& text, MsgStyle style) override;

    // Before each command: the answers its earlier attempts collected.
    void begin(Answers answers);

    std::optional<Box> question; // the question that stopped the last command

  private:
    Answers m_answers;
    std::size_t m_asked = 0; // questions of this attempt answered from m_answers
};

// Addresses and mail go to the browser; the outside programs do not exist here. Found firmware is known
// for the visit at once, and its description is left for the page to keep in the browser's storage.
class WebSystem : public NoSystemServices
{
  public:
    void openDocument(const std::u16string& target) override { opened = target; }
    std::optional<std::string> rememberFirmware(const std::string& id, const FirmwareRow& row) override;
    // A description the page kept from an earlier visit; why it cannot be used, or nothing.
    std::optional<std::string> addDescription(std::string_view text);

    struct Kept
    {
        std::string id;   // the identity string in UTF-8: the page names its stored text by it
        std::string text; // descriptionText
    };
    std::u16string opened;
    std::vector<Kept> remembered; // not yet taken by the page
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

    // Every command takes the answers of its earlier attempts (WebView) and is Declined while a question
    // stops it.
    // Open the staged file as a fullflash, as a layout file, or by its extension (dropped on the page).
    Outcome openFullflash(const std::string& name, Answers answers = {});
    Outcome openLayout(const std::string& name, Answers answers = {});
    Outcome openDropped(const std::string& name, Answers answers = {});

    // Save under the name the window's dialog proposes; what was written is then the download.
    Outcome saveFullflash(Answers answers = {});
    Outcome savePatch(Answers answers = {});
    Outcome saveLayout(Answers answers = {});

    // Any other command by its menu item's name (the options, About, the addresses).
    void command(std::string_view name, Answers answers = {});
    // The user changed the text of a field.
    void type(Layout a, int key, const std::string& text);

    // A description of firmware the page kept from an earlier visit; why it cannot be used, or nothing.
    std::optional<std::string> addDescription(std::string_view text) { return system.addDescription(text); }

    // What the last command left for the page: the question to ask (empty when none) and its style, the
    // boxes to show, a download, an address to open, descriptions to keep.
    [[nodiscard]] std::string question() const;
    [[nodiscard]] int questionStyle() const { return view.question ? view.question->style : 0; }
    [[nodiscard]] std::vector<MemoryView::Box> takeBoxes() { return std::exchange(view.boxes, {}); }
    [[nodiscard]] const std::string& downloadName() const { return m_downloadName; }
    [[nodiscard]] const std::vector<std::uint8_t>& downloadBytes() const;
    void clearDownload();
    [[nodiscard]] std::string takeOpened();
    [[nodiscard]] std::vector<WebSystem::Kept> takeRemembered()
    {
        return std::exchange(system.remembered, {});
    }

    WebView view;
    MemoryFiles files;
    WebSystem system;
    Editor editor{view, files, system};

  private:
    enum class Kind { Fullflash, Layout, Dropped };
    Outcome open(const std::string& name, Answers answers, Kind kind);
    Outcome save(CommandResult (Editor::*saveAs)(const std::u16string&), const std::u16string& name,
                 Answers answers);
    // Declined while a question stops the command: it has not ended.
    [[nodiscard]] Outcome ended(Outcome outcome) const { return view.question ? Outcome::Declined : outcome; }

    std::vector<std::uint8_t> m_staged;
    std::string m_downloadName;
};

} // namespace klavoset::web
