// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"

#include "base/Utf.h"

#include <utility>

namespace klavoset {

Form1::Form1(EditorView& view, FileSystem& files, SystemServices& system)
    : m_view(view), m_files(files), m_system(system)
{
    m_view.setFieldChangeHandler([this](KeyArray, int) { keyChanged(); });
}

void Form1::keyChanged()
{
    if (!m_filling)
        SetStatusBar(u"", u"", u"*");
}

void Form1::setFieldEditable(KeyArray a, int key, bool editable)
{
    m_view.setFieldEnabled(a, key, editable);
    m_view.setFieldColor(a, key, editable ? SysColor::Window : SysColor::ScrollBar);
}

void Form1::enableLoadedFields(int keys)
{
    for (int i = 0; i < keys; ++i) {
        setFieldEditable(KeyArray::eb, i, true);
        if (!isSharedKey(i))
            for (const KeyArray a : {KeyArray::em, KeyArray::rb, KeyArray::rm})
                setFieldEditable(a, i, true);
    }
}

void Form1::Form_Activate()
{
    VKlayCmd = m_system.vklayOpenCommand();
    if (!VKlayCmd.empty()) {
        m_view.setMenuEnabled("V_Klay", true);
        m_view.setButtonEnabled("V_Klay", true);
    }
    const auto enableWhenFound = [this](std::string_view item, const std::u16string& path) {
        const bool found = !path.empty() && FileExist(path);
        m_view.setMenuEnabled(item, found);
        m_view.setButtonEnabled(item, found);
    };
    enableWhenFound("Calculator", m_system.calculatorPath());
    enableWhenFound("CharMap", m_system.charMapPath());
    enableWhenFound("Help", m_system.helpPagePath());
    for (const auto& [item, address] :
         {std::pair{"URL", &HomePage}, {"Forum", &ForumPage}, {"Mail", &MailAddress}}) {
        m_view.setMenuEnabled(item, !address->empty());
        m_view.setButtonEnabled(item, !address->empty());
    }

    CrLf2 = u"\r\n\r\n";
    Tb = u"\t";
    HasRus = true;
    WriteFlash = true;
    CmdLineOpen = false;

    const std::u16string line = m_system.commandLine();
    if (!line.empty() && line != u"\"\"") {
        DialogFileName = commandLineFile(line);
        // A failure is reported as for a file chosen in the dialog. A layout file, as the file manager
        // hands one over, goes to the layout command; anything else is taken for a fullflash.
        const std::u16string file = DialogFileName;
        if (!file.empty())
            (void)(namesLayoutFile(file) ? openLayoutFile(file) : openFullflash(file));
    }
}

std::u16string Form1::commandLineFile(const std::u16string& line)
{
    if (line.empty() || line.front() != u'"')
        return line;
    // a lone quote has nothing between the quotes to load
    return line.size() >= 2 ? line.substr(1, line.size() - 2) : std::u16string();
}

bool Form1::WasChanged()
{
    if (m_view.panelText(6) != u"*")
        return false;
    const int i = m_view.msgBox(u"Раскладка была изменена !" + CrLf2 + u"Вы уверены, что хотите продолжить ?",
                                MsgQuestion);
    return i != AnswerYes;
}

void Form1::ClearAll()
{
    for (int i = 0; i < kKeys; ++i)
        for (const KeyArray a : kAllArrays)
            m_view.setFieldText(a, i, u"");
}

bool Form1::FileExist(const std::u16string& sf) { return m_files.canRead(sf); }

void Form1::Form_Unload(int& Cancel)
{
    if (WasChanged())
        Cancel = 1;
}

void Form1::Exit_Click()
{
    if (!WasChanged())
        m_view.endProgram();
}

bool Form1::DialogErr(int d, int e)
{
    FileDialogRequest request;
    request.title = DialogTitle;
    request.fileName = DialogFileName;
    const auto kind = [&](const std::u16string& file, std::u16string description, std::u16string patterns,
                          std::u16string ext) {
        request.fileName = file;
        request.filters = {{std::move(description), std::move(patterns)}, {u"Все файлы", u"*.*"}};
        request.defaultExt = std::move(ext);
    };
    if (d == 1)
        kind(FlashFile, u"Фуллфлеш (*.bin, *.fls)", u"*.bin;*.fls", u"bin");
    else if (d == 2)
        kind(LayFile, u"Файлы раскладок (*.lay)", u"*.lay", u"lay");
    else if (d == 3)
        kind(VkpFile, u"Файлы патчей (*.vkp)", u"*.vkp", u"vkp");
    request.open = e == 1;

    const std::u16string chosen = m_view.runFileDialog(request);
    if (chosen.empty())
        return true;
    DialogFileName = chosen;
    return false;
}

void Form1::fOpenErr(const std::u16string& q, const std::string& reason)
{
    m_view.setPanelText(1, u"Не могу открыть файл !");
    m_view.setPanelText(2, q);
    m_told = q + CrLf2 + u"Не могу открыть файл !";
    if (!reason.empty()) // the system's words say what to do about it: a missing folder, a name too long
        m_told += CrLf2 + fromUtf8(reason);
}

bool Form1::readFileErr(const std::u16string& q, FileBytes& bytes)
{
    auto result = m_files.readAll(q);
    if (!result.isOk()) {
        fOpenErr(q, result.error().reason);
        if (result.error().stage == FileError::Stage::Write)
            tell(q + CrLf2 + u"Ошибка чтения файла." + CrLf2 + fromUtf8(result.error().reason), MsgStop);
        return true;
    }
    bytes = std::move(result).value();
    return false;
}

bool Form1::writeFileErr(const std::u16string& q, std::span<const std::uint8_t> bytes)
{
    const auto error = m_files.writeAtomically(q, bytes);
    if (!error)
        return false;
    fOpenErr(q, error->reason);
    if (error->stage == FileError::Stage::Write)
        tell(q + CrLf2 + u"Ошибка записи файла. Прежний файл остался без изменений." + CrLf2 +
                 fromUtf8(error->reason),
             MsgStop);
    return true;
}

int Form1::tell(const std::u16string& text, int style)
{
    if (style == MsgStop)
        m_told = text;
    return m_view.msgBox(text, style);
}

CommandResult Form1::finish(Outcome outcome) { return {outcome, std::exchange(m_told, std::u16string())}; }

CommandResult Form1::done(const std::u16string& s1, const std::u16string& path, const std::u16string& s6)
{
    SetStatusBar(s1, path, s6);
    m_told.clear();
    return {Outcome::Done, path + CrLf2 + s1};
}

void Form1::runCommand(std::string_view name)
{
    using Command = void (*)(Form1&);
    static constexpr std::pair<std::string_view, Command> kCommands[] = {
        {"Open1", [](Form1& f) { f.Open1_Click(); }},
        {"Save1", [](Form1& f) { f.Save1_Click(); }},
        {"Save1As", [](Form1& f) { f.Save1As_Click(); }},
        {"SaveAsVKP", [](Form1& f) { f.SaveAsVKP_Click(); }},
        {"Open2", [](Form1& f) { f.Open2_Click(); }},
        {"Save2", [](Form1& f) { f.Save2_Click(); }},
        {"Save2As", [](Form1& f) { f.Save2As_Click(); }},
        {"Uni", [](Form1& f) { f.Uni_Click(); }},
        {"Koi", [](Form1& f) { f.Koi_Click(); }},
        {"WAP_No", [](Form1& f) { f.WAP_No_Click(); }},
        {"WAP_E", [](Form1& f) { f.WAP_E_Click(); }},
        {"WAP_R", [](Form1& f) { f.WAP_R_Click(); }},
        {"View", [](Form1& f) { f.View_Click(); }},
        {"V_Klay", [](Form1& f) { f.V_Klay_Click(); }},
        {"Calculator", [](Form1& f) { f.Calculator_Click(); }},
        {"CharMap", [](Form1& f) { f.CharMap_Click(); }},
        {"Help", [](Form1& f) { f.Help_Click(); }},
        {"URL", [](Form1& f) { f.URL_Click(); }},
        {"Forum", [](Form1& f) { f.Forum_Click(); }},
        {"Mail", [](Form1& f) { f.Mail_Click(); }},
        {"About", [](Form1& f) { f.About_Click(); }},
        {"Exit", [](Form1& f) { f.Exit_Click(); }},
    };
    for (const auto& [key, command] : kCommands)
        if (key == name) {
            command(*this);
            return;
        }
}

} // namespace klavoset
