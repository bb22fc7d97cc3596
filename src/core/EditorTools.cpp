// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"

namespace klavoset {

void Editor::viewImageCommand()
{
    if (m_system.viewImage(fullflashPath))
        return;
    m_view.setPanelText(1, u"Нет программы для просмотра двоичных файлов");
    m_view.setPanelText(2, fullflashPath);
}

void Editor::startPatcherCommand()
{
    // Split before the patch's name goes in: a name holding quotes or blanks stays one argument.
    std::vector<std::u16string> arguments = m_system.splitCommandLine(registeredPatcherCommand);
    for (std::u16string& s : arguments)
        for (std::size_t at = s.find(u"%1"); at != std::u16string::npos;
             at = s.find(u"%1", at + patchPath.size()))
            s.replace(at, 2, patchPath);
    m_system.startProgram(arguments);
}

void Editor::calculatorCommand() { m_system.startProgram({m_system.calculatorPath()}); }

void Editor::characterMapCommand() { m_system.startProgram({m_system.charMapPath()}); }

void Editor::helpCommand() { m_system.openDocument(m_system.helpPagePath()); }

void Editor::homePageCommand()
{
    if (!homePage.empty())
        m_system.openDocument(homePage);
}

void Editor::forumCommand()
{
    if (!forumPage.empty())
        m_system.openDocument(forumPage);
}

void Editor::mailCommand()
{
    if (!mailAddress.empty())
        m_system.openDocument(u"mailto:" + mailAddress + u"?subject=Klavoset_v2.59");
}

void Editor::aboutCommand()
{
    const std::u16string paragraphs[] = {
        u"Klavoset v2.59",
        u"Программа редактирования клавиатурных раскладок телефонов Siemens",
        u"Открывает фуллфлеш поддерживаемой прошивки, показывает английскую и русскую раскладки "
        u"и записывает изменения обратно: в фуллфлеш, в патч или в файл раскладок.",
        u"Перед прошивкой телефона сохраните копию исходного фуллфлеша.",
        u"Программа распространяется свободно и без каких-либо гарантий.",
        homePage.empty() ? u"" : u"Домашняя страница: " + homePage,
        mailAddress.empty() ? u"" : u"Вопросы и пожелания: " + mailAddress,
    };
    std::u16string text;
    for (const auto& p : paragraphs)
        if (!p.empty()) // an address this build does not have is left out
            text += (text.empty() ? u"" : CrLf2) + p;
    m_view.msgBox(text, MsgInfo);
}

} // namespace klavoset
