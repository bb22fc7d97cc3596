// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "web/WebSession.h"

#include "base/Cp1251.h"
#include "base/Utf.h"
#include "descriptions/Description.h"
#include "writers/VkpPatch.h"

namespace klavoset::web {

namespace {

std::u16string baseName(const std::u16string& path)
{
    const std::size_t slash = path.find_last_of(u"/\\");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

} // namespace

MsgAnswer WebView::msgBox(const std::u16string& text, MsgStyle style)
{
    const bool asks = style == MsgYesNoCancel || style == MsgYesNo;
    const MsgAnswer stop = style == MsgYesNo ? AnswerNo : AnswerCancel;
    if (question) // the command is stopping: the rest of this attempt is never seen
        return asks ? stop : AnswerOk;
    if (asks) {
        if (m_asked == m_answers.size()) {
            question = Box{text, style};
            return stop;
        }
        // Only the answers the box offers reach the editor; a Yes/No box closed otherwise is a No.
        const int given = m_answers[m_asked++];
        return given == AnswerYes || given == AnswerNo ? static_cast<MsgAnswer>(given) : stop;
    }
    if (m_asked == m_answers.size())
        MemoryView::msgBox(text, style);
    return AnswerOk;
}

void WebView::begin(Answers answers)
{
    m_answers = std::move(answers);
    m_asked = 0;
    question.reset();
}

std::optional<std::string> WebSystem::rememberFirmware(const std::string& id, const FirmwareRow& row)
{
    if (auto refused = catalog.add(id, row))
        return refused;
    auto kept = keepableDescriptionText(id, row);
    if (!kept.isOk())
        return kept.error();
    remembered.push_back({toUtf8(fromCp1251(id)), std::move(kept).value()});
    return std::nullopt;
}

std::optional<std::string> WebSystem::addDescription(std::string_view text)
{
    const auto description = parseDescription(text);
    if (!description.isOk())
        return description.error();
    return catalog.add(description.value().id, description.value().row);
}

WebSession::WebSession() { editor.start(); }

std::vector<std::uint8_t>& WebSession::stage(std::size_t size)
{
    m_staged.assign(size, 0);
    return m_staged;
}

Outcome WebSession::open(const std::string& name, Answers answers, Kind kind)
{
    const std::u16string path = fromUtf8(name);
    files.lend(path, std::move(m_staged));
    m_staged = {};
    view.begin(std::move(answers));
    Outcome outcome = Outcome::Declined;
    if (kind == Kind::Dropped)
        outcome = editor.openDropped(path);
    else if (!editor.userKeepsChanges())
        outcome =
            (kind == Kind::Fullflash ? editor.openFullflash(path) : editor.openLayoutFile(path)).outcome;
    // Not read when the command stopped before; the next one gets a file of its own.
    files.erase(path);
    return ended(outcome);
}

Outcome WebSession::openFullflash(const std::string& name, Answers answers)
{
    return open(name, std::move(answers), Kind::Fullflash);
}

Outcome WebSession::openLayout(const std::string& name, Answers answers)
{
    return open(name, std::move(answers), Kind::Layout);
}

Outcome WebSession::openDropped(const std::string& name, Answers answers)
{
    return open(name, std::move(answers), Kind::Dropped);
}

Outcome WebSession::save(CommandResult (Editor::*saveAs)(const std::u16string&), const std::u16string& name,
                         Answers answers)
{
    clearDownload();
    view.begin(std::move(answers));
    const Outcome outcome = (editor.*saveAs)(name).outcome;
    if (const auto written = files.takeWritten())
        m_downloadName = toUtf8(*written);
    return ended(outcome);
}

// A download has no folder: the names are those the window's save dialogs propose, without it.
Outcome WebSession::saveFullflash(Answers answers)
{
    return save(&Editor::saveFullflashAs, baseName(editor.fullflashPath()), std::move(answers));
}

Outcome WebSession::savePatch(Answers answers)
{
    return save(&Editor::savePatchAs, baseName(defaultVkpName(editor.fullflashPath())), std::move(answers));
}

Outcome WebSession::saveLayout(Answers answers)
{
    // A layout file never saved or opened yet is named after the fullflash.
    std::u16string name = baseName(editor.layoutFilePath());
    if (name.empty()) {
        name = baseName(defaultVkpName(editor.fullflashPath()));
        name = (name == u".vkp" ? u"klavoset" : name.substr(0, name.size() - 4)) + u".lay";
    }
    return save(&Editor::saveLayoutFileAs, name, std::move(answers));
}

void WebSession::command(std::string_view name, Answers answers)
{
    view.begin(std::move(answers));
    editor.runCommand(name);
}

void WebSession::type(Layout a, int key, const std::string& text)
{
    if (key < 0 || key >= kKeys)
        return;
    const std::u16string t = fromUtf8(text);
    if (view.fieldText(a, key) != t)
        view.type(a, key, t);
}

std::string WebSession::question() const
{
    return view.question ? toUtf8(view.question->text) : std::string();
}

const std::vector<std::uint8_t>& WebSession::downloadBytes() const
{
    static const std::vector<std::uint8_t> kNone;
    const auto* bytes = files.find(fromUtf8(m_downloadName));
    return m_downloadName.empty() || bytes == nullptr ? kNone : *bytes;
}

void WebSession::clearDownload()
{
    if (!m_downloadName.empty())
        files.erase(fromUtf8(m_downloadName));
    m_downloadName.clear();
}

std::string WebSession::takeOpened() { return toUtf8(std::exchange(system.opened, std::u16string())); }

} // namespace klavoset::web
