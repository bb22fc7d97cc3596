// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"

namespace klavoset {

void Form1::View_Click()
{
    if (m_system.viewImage(FlashFile))
        return;
    m_view.setPanelText(1, u"Нет программы для просмотра двоичных файлов");
    m_view.setPanelText(2, FlashFile);
}

void Form1::V_Klay_Click()
{
    // Split before the patch's name goes in: a name holding quotes or blanks stays one argument.
    std::vector<std::u16string> arguments = m_system.splitCommandLine(VKlayCmd);
    for (std::u16string& s : arguments)
        for (std::size_t at = s.find(u"%1"); at != std::u16string::npos;
             at = s.find(u"%1", at + VkpFile.size()))
            s.replace(at, 2, VkpFile);
    m_system.startProgram(arguments);
}

void Form1::Calculator_Click() { m_system.startProgram({m_system.calculatorPath()}); }

void Form1::CharMap_Click() { m_system.startProgram({m_system.charMapPath()}); }

void Form1::Help_Click() { m_system.openDocument(m_system.helpPagePath()); }

void Form1::URL_Click()
{
    if (!HomePage.empty())
        m_system.openDocument(HomePage);
}

void Form1::Forum_Click()
{
    if (!ForumPage.empty())
        m_system.openDocument(ForumPage);
}

void Form1::Mail_Click()
{
    if (!MailAddress.empty())
        m_system.openDocument(u"mailto:" + MailAddress + u"?subject=Klavoset_v2.59");
}

void Form1::About_Click()
{
    const std::u16string paragraphs[] = {
        u"Klavoset v2.59",
        u"Программа редактирования клавиатурных раскладок телефонов Siemens",
        u"Открывает фуллфлеш поддерживаемой прошивки, показывает английскую и русскую раскладки "
        u"и записывает изменения обратно: в фуллфлеш, в патч или в файл раскладок.",
        u"Перед прошивкой телефона сохраните копию исходного фуллфлеша.",
        u"Программа распространяется свободно и без каких-либо гарантий.",
        HomePage.empty() ? u"" : u"Домашняя страница: " + HomePage,
        MailAddress.empty() ? u"" : u"Вопросы и пожелания: " + MailAddress,
    };
    std::u16string text;
    for (const auto& p : paragraphs)
        if (!p.empty()) // an address this build does not have is left out
            text += (text.empty() ? u"" : CrLf2) + p;
    m_view.msgBox(text, MsgInfo);
}

} // namespace klavoset
