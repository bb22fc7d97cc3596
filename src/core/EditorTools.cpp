// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"

namespace klavoset {

void Editor::viewImageCommand()
{
    if (m_system.viewImage(m_fullflashPath))
        return;
    m_view.setPanelText(PanelStatus, u"Нет программы для просмотра двоичных файлов");
    m_view.setPanelText(PanelFile, m_fullflashPath);
}

void Editor::startPatcherCommand()
{
    // Split before the patch's name goes in: a name holding quotes or blanks stays one argument.
    std::vector<std::u16string> arguments = m_system.splitCommandLine(m_registeredPatcherCommand);
    for (std::u16string& s : arguments)
        for (std::size_t at = s.find(u"%1"); at != std::u16string::npos;
             at = s.find(u"%1", at + m_patchPath.size()))
            s.replace(at, 2, m_patchPath);
    m_system.startProgram(arguments);
}

void Editor::calculatorCommand() { m_system.startProgram({m_system.calculatorPath()}); }

void Editor::characterMapCommand() { m_system.startProgram({m_system.charMapPath()}); }

void Editor::helpCommand() { m_system.openDocument(m_system.helpPagePath()); }

void Editor::homePageCommand()
{
    if (!m_homePage.empty())
        m_system.openDocument(m_homePage);
}

void Editor::forumCommand()
{
    if (!m_forumPage.empty())
        m_system.openDocument(m_forumPage);
}

void Editor::mailCommand()
{
    if (!m_mailAddress.empty())
        m_system.openDocument(u"mailto:" + m_mailAddress + u"?subject=Klavoset_v2.59");
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
        m_homePage.empty() ? u"" : u"Домашняя страница: " + m_homePage,
        m_mailAddress.empty() ? u"" : u"Вопросы и пожелания: " + m_mailAddress,
    };
    std::u16string text;
    for (const auto& p : paragraphs)
        if (!p.empty()) // an address this build does not have is left out
            text += (text.empty() ? u"" : kParagraphBreak) + p;
    m_view.msgBox(text, MsgInfo);
}

} // namespace klavoset
