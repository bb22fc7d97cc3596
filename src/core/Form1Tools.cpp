#include "core/Form1.h"
#include "writers/VkpPatch.h"

namespace klavoset {

void Form1::View_Click() { m_system.openDocument(FlashFile); }

void Form1::V_Klay_Click()
{
    std::u16string s = VKlayCmd;
    for (std::size_t at = s.find(u"%1"); at != std::u16string::npos; at = s.find(u"%1", at + VkpFile.size())) {
        s.replace(at, 2, VkpFile);
    }
    m_system.startProgram(s);
}

void Form1::Calculator_Click() { m_system.startProgram(m_system.calculatorPath()); }

void Form1::CharMap_Click() { m_system.startProgram(m_system.charMapPath()); }

void Form1::Help_Click() { m_system.openDocument(m_system.helpPagePath()); }

void Form1::URL_Click() { m_system.openDocument(u"https://" + std::u16string(kHomePage)); }

void Form1::Forum_Click() { m_system.openDocument(std::u16string(kForumPage)); }

void Form1::Mail_Click()
{
    m_system.openDocument(u"mailto:" + std::u16string(kMailAddress) + u"?subject=Klavoset_v2.59");
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
        u"Домашняя страница: " + std::u16string(kHomePage),
        u"Вопросы и пожелания: " + std::u16string(kMailAddress),
    };
    std::u16string text;
    for (const auto& p : paragraphs)
        text += (text.empty() ? u"" : CrLf2) + p;
    m_view.msgBox(text, MsgInfo);
}

} // namespace klavoset
