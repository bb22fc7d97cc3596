// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"

#include "base/Utf.h"

#include <utility>

namespace klavoset {

Editor::Editor(EditorView& view, FileSystem& files, SystemServices& system)
    : m_view(view), m_files(files), m_system(system)
{
    m_view.setFieldChangeHandler([this](Layout, int) { keyChanged(); });
}

void Editor::keyChanged()
{
    if (!m_filling)
        updateStatusBar(u"", u"", true);
}

void Editor::setFieldEditable(Layout a, int key, bool editable)
{
    m_view.setFieldEnabled(a, key, editable);
    m_view.setFieldColor(a, key, editable ? SysColor::Window : SysColor::ScrollBar);
}

void Editor::enableLoadedFields(int keys)
{
    for (int i = 0; i < keys; ++i) {
        setFieldEditable(Layout::englishUpper, i, true);
        if (!isSharedKey(i))
            for (const Layout a : {Layout::englishLower, Layout::russianUpper, Layout::russianLower})
                setFieldEditable(a, i, true);
    }
}

void Editor::start()
{
    m_registeredPatcherCommand = m_system.patcherOpenCommand();
    if (!m_registeredPatcherCommand.empty())
        enableCommand("V_Klay", true);
    const auto enableWhenFound = [this](std::string_view item, const std::u16string& path) {
        enableCommand(item, !path.empty() && fileExists(path));
    };
    enableWhenFound("Calculator", m_system.calculatorPath());
    enableWhenFound("CharMap", m_system.charMapPath());
    enableWhenFound("Help", m_system.helpPagePath());
    for (const auto& [item, address] :
         {std::pair{"URL", &m_homePage}, {"Forum", &m_forumPage}, {"Mail", &m_mailAddress}})
        enableCommand(item, !address->empty());

    m_hasRussian = true;

    const std::u16string line = m_system.commandLine();
    if (!line.empty() && line != u"\"\"") {
        // A failure is reported as for a file chosen in the dialog. A layout file, as the file manager
        // hands one over, goes to the layout command; anything else is taken for a fullflash.
        const std::u16string file = commandLineFile(line);
        if (!file.empty())
            (void)(namesLayoutFile(file) ? openLayoutFile(file) : openFullflash(file));
    }
}

std::u16string Editor::commandLineFile(const std::u16string& line)
{
    if (line.empty() || line.front() != u'"')
        return line;
    // a lone quote has nothing between the quotes to load
    return line.size() >= 2 ? line.substr(1, line.size() - 2) : std::u16string();
}

bool Editor::userKeepsChanges()
{
    if (!m_modified)
        return false;
    const MsgAnswer answer =
        m_view.msgBox(u"Раскладка была изменена !" + kParagraphBreak + u"Вы уверены, что хотите продолжить ?",
                      MsgYesNoCancel);
    return answer != AnswerYes;
}

void Editor::clearFields()
{
    for (int i = 0; i < kKeys; ++i)
        for (const Layout a : kAllLayouts)
            m_view.setFieldText(a, i, u"");
}

bool Editor::fileExists(const std::u16string& path) { return m_files.canRead(path); }

bool Editor::mayClose() { return !userKeepsChanges(); }

void Editor::setAddresses(std::u16string homePage, std::u16string forumPage, std::u16string mailAddress)
{
    m_homePage = std::move(homePage);
    m_forumPage = std::move(forumPage);
    m_mailAddress = std::move(mailAddress);
}

void Editor::exitCommand()
{
    if (!userKeepsChanges())
        m_view.endProgram();
}

void Editor::enableCommand(std::string_view item, bool enabled)
{
    m_view.setMenuEnabled(item, enabled);
    m_view.setButtonEnabled(item, enabled);
}

Outcome Editor::runOnChosenFile(std::string_view item, FileKind kind, bool forOpening, PathHalf half)
{
    const std::u16string path = chooseFile(item, kind, forOpening);
    return path.empty() ? Outcome::Declined : (this->*half)(path).outcome;
}

std::u16string Editor::chooseFile(std::string_view item, FileKind kind, bool forOpening)
{
    FileDialogRequest request;
    request.title = m_view.menuCaption(item);
    const auto offer = [&](const std::u16string& file, std::u16string description, std::u16string patterns,
                           std::u16string ext) {
        request.fileName = file;
        request.filters = {{std::move(description), std::move(patterns)}, {u"Все файлы", u"*.*"}};
        request.defaultExt = std::move(ext);
    };
    switch (kind) {
    case FileKind::Fullflash:
        offer(m_fullflashPath, u"Фуллфлеш (*.bin, *.fls)", u"*.bin;*.fls", u"bin");
        break;
    case FileKind::LayoutFile:
        offer(m_layoutFilePath, u"Файлы раскладок (*.lay)", u"*.lay", u"lay");
        break;
    case FileKind::Patch:
        offer(m_patchPath, u"Файлы патчей (*.vkp)", u"*.vkp", u"vkp");
        break;
    }
    request.open = forOpening;
    return m_view.runFileDialog(request);
}

void Editor::reportUnopenableFile(const std::u16string& path, const std::string& reason)
{
    m_view.setPanelText(PanelStatus, u"Не могу открыть файл !");
    m_view.setPanelText(PanelFile, path);
    m_told = path + kParagraphBreak + u"Не могу открыть файл !";
    if (!reason.empty()) // the system's words say what to do about it: a missing folder, a name too long
        m_told += kParagraphBreak + fromUtf8(reason);
}

bool Editor::readFileFailed(const std::u16string& path, FileBytes& bytes)
{
    auto result = m_files.readAll(path);
    if (!result.isOk()) {
        reportUnopenableFile(path, result.error().reason);
        if (result.error().stage == FileError::Stage::Transfer)
            tell(path + kParagraphBreak + u"Ошибка чтения файла." + kParagraphBreak +
                     fromUtf8(result.error().reason),
                 MsgStop);
        return true;
    }
    bytes = std::move(result).value();
    return false;
}

bool Editor::writeFileFailed(const std::u16string& path, std::span<const std::uint8_t> bytes)
{
    const auto error = m_files.writeAtomically(path, bytes);
    if (!error)
        return false;
    reportUnopenableFile(path, error->reason);
    if (error->stage == FileError::Stage::Transfer)
        tell(path + kParagraphBreak + u"Ошибка записи файла. Прежний файл остался без изменений." +
                 kParagraphBreak + fromUtf8(error->reason),
             MsgStop);
    return true;
}

MsgAnswer Editor::tell(const std::u16string& text, MsgStyle style)
{
    if (style == MsgStop)
        m_told = text;
    return m_view.msgBox(text, style);
}

CommandResult Editor::finish(Outcome outcome) { return {outcome, std::exchange(m_told, std::u16string())}; }

CommandResult Editor::done(const std::u16string& status, const std::u16string& path, bool modified)
{
    updateStatusBar(status, path, modified);
    m_told.clear();
    return {Outcome::Done, path + kParagraphBreak + status};
}

void Editor::runCommand(std::string_view name)
{
    using Command = void (*)(Editor&);
    static constexpr std::pair<std::string_view, Command> kCommands[] = {
        {"Open1", [](Editor& editor) { editor.openFullflashCommand(); }},
        {"Save1", [](Editor& editor) { editor.saveFullflashCommand(); }},
        {"Save1As", [](Editor& editor) { editor.saveFullflashAsCommand(); }},
        {"SaveAsVKP", [](Editor& editor) { editor.savePatchAsCommand(); }},
        {"Open2", [](Editor& editor) { editor.openLayoutFileCommand(); }},
        {"Save2", [](Editor& editor) { editor.saveLayoutFileCommand(); }},
        {"Save2As", [](Editor& editor) { editor.saveLayoutFileAsCommand(); }},
        {"Uni", [](Editor& editor) { editor.unicodeCommand(); }},
        {"Koi", [](Editor& editor) { editor.koi8Command(); }},
        {"WAP_No", [](Editor& editor) { editor.wapUntouchedCommand(); }},
        {"WAP_E", [](Editor& editor) { editor.wapFromEnglishCommand(); }},
        {"WAP_R", [](Editor& editor) { editor.wapFromRussianCommand(); }},
        {"View", [](Editor& editor) { editor.viewImageCommand(); }},
        {"V_Klay", [](Editor& editor) { editor.startPatcherCommand(); }},
        {"Calculator", [](Editor& editor) { editor.calculatorCommand(); }},
        {"CharMap", [](Editor& editor) { editor.characterMapCommand(); }},
        {"Help", [](Editor& editor) { editor.helpCommand(); }},
        {"URL", [](Editor& editor) { editor.homePageCommand(); }},
        {"Forum", [](Editor& editor) { editor.forumCommand(); }},
        {"Mail", [](Editor& editor) { editor.mailCommand(); }},
        {"About", [](Editor& editor) { editor.aboutCommand(); }},
        {"Exit", [](Editor& editor) { editor.exitCommand(); }},
    };
    for (const auto& [key, command] : kCommands)
        if (key == name) {
            command(*this);
            return;
        }
}

} // namespace klavoset
