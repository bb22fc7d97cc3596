// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/Printable.h"
#include "base/Utf.h"
#include "core/Editor.h"
#include "writers/LayoutWriter.h"

#include <string>

namespace klavoset {
namespace {

std::u16string layoutName(Layout a)
{
    switch (a) {
    case Layout::englishUpper:
        return u"английская, заглавные буквы";
    case Layout::englishLower:
        return u"английская, строчные буквы";
    case Layout::russianUpper:
        return u"русская, заглавные буквы";
    case Layout::russianLower:
        return u"русская, строчные буквы";
    }
    return {};
}

std::u16string keyName(int key)
{
    return key == 10 ? u"*" : key == 11 ? u"#" : std::u16string(1, static_cast<char16_t>(u'0' + key));
}

std::u16string number(std::int64_t v)
{
    const std::string digits = std::to_string(v);
    return {digits.begin(), digits.end()};
}

std::u16string codeOf(char16_t c)
{
    constexpr char16_t kDigits[] = u"0123456789ABCDEF";
    std::u16string s = u"U+";
    for (int shift = 12; shift >= 0; shift -= 4)
        s += kDigits[(c >> shift) & 0xF];
    return s;
}

std::u16string refusalText(const WriteRefusal& refusal)
{
    const std::u16string wapHint =
        u"Удалите несколько символов или выберите \"Не трогать\" в меню \"WAP-раскладка\"";
    switch (refusal.kind) {
    case WriteRefusal::Kind::Unstorable:
        return u"Символ " + codeOf(refusal.unit) + u" нельзя записать в телефон !" + kParagraphBreak +
               u"Раскладка: " + layoutName(refusal.array) + u", клавиша " + keyName(refusal.key) +
               kParagraphBreak + u"Удалите этот символ";
    case WriteRefusal::Kind::Overflow:
        return u"Буфер хранения раскладки переполнен !" + kParagraphBreak +
               u"Удалите один или несколько символов. Следите за строкой статуса";
    case WriteRefusal::Kind::NoWapTables:
        return u"В этой прошивке нет WAP-раскладки !" + kParagraphBreak +
               u"Выберите \"Не трогать\" в меню \"WAP-раскладка\"";
    case WriteRefusal::Kind::WapOverflow:
        return u"Буфер хранения WAP-раскладки переполнен !" + kParagraphBreak + u"Нужно " +
               number(refusal.needed) + u" байт, в прошивке есть " + number(refusal.capacity) + u"." +
               kParagraphBreak + wapHint;
    case WriteRefusal::Kind::LongKeyZero:
        return u"На клавише 0 не может быть больше " + number(refusal.capacity) + u" символов !" +
               kParagraphBreak + u"Иначе при следующей загрузке фуллфлеша русская раскладка не будет найдена";
    case WriteRefusal::Kind::Unmappable:
        return u"Раскладку нельзя записать в этот фуллфлеш !" + kParagraphBreak +
               u"Размер образа не согласуется с адресами прошивки";
    }
    return {};
}

} // namespace

std::vector<std::int32_t> Editor::otherTables() const
{
    std::vector<std::int32_t> offsets;
    for (const OtherTable& table : m_otherTables)
        offsets.push_back(table.offset);
    return offsets;
}

std::vector<std::int32_t> Editor::otherTablesWrittenOver() const
{
    return tablesWrittenOver(m_image, m_firmware, m_hasRussian, m_addressCorrection, snapshotFields(m_view),
                             m_options, m_otherTables);
}

bool Editor::userKeepsOtherLayouts(const LayoutTexts& texts)
{
    if (m_otherLayoutsGivenUp)
        return false;
    const std::vector<std::int32_t> met = tablesWrittenOver(
        m_image, m_firmware, m_hasRussian, m_addressCorrection, texts, m_options, m_otherTables);
    if (met.empty())
        return false;
    std::u16string offsets;
    for (const std::int32_t offset : met)
        offsets += (offsets.empty() ? u"" : u", ") + fromUtf8(hexOffset(offset));
    const bool one = met.size() == 1;
    const MsgAnswer answer = m_view.msgBox(
        (one ? u"Раскладка будет записана поверх другой раскладки телефона (её таблица по адресу "
             : u"Раскладка будет записана поверх других раскладок телефона (их таблицы по адресам ") +
            offsets + u")." + kParagraphBreak +
            (one ? u"Эта раскладка телефона перестанет работать. Всё равно сохранить?"
                 : u"Эти раскладки телефона перестанут работать. Всё равно сохранить?"),
        MsgYesNo);
    m_otherLayoutsGivenUp = answer == AnswerYes;
    return !m_otherLayoutsGivenUp;
}

Outcome Editor::checkImageSave()
{
    if (!hasImage())
        return Outcome::Declined;
    return refuseOverflow() || refuseUnstorable(snapshotFields(m_view)) ? Outcome::DoesNotFit : Outcome::Done;
}

bool Editor::refuseUnstorable(const LayoutTexts& texts)
{
    const auto refusal = checkLayouts(static_cast<std::int32_t>(m_image.size()), m_firmware, m_hasRussian,
                                      m_addressCorrection, texts, m_options);
    if (!refusal)
        return userKeepsOtherLayouts(texts);
    tell(refusalText(*refusal), MsgStop);
    return true;
}

Outcome Editor::encodeIntoImage()
{
    const LayoutTexts texts = snapshotFields(m_view);
    if (refuseUnstorable(texts))
        return Outcome::DoesNotFit;
    if (const auto refusal =
            writeLayouts(m_image, m_firmware, m_hasRussian, m_addressCorrection, texts, m_options)) {
        tell(refusalText(*refusal), MsgStop);
        return Outcome::DoesNotFit;
    }
    return Outcome::Done;
}

Outcome Editor::saveFullflashCommand() { return writeFullflash().outcome; }

Outcome Editor::encodeForSaving()
{
    if (!hasImage())
        return Outcome::Declined;
    if (refuseOverflow())
        return Outcome::DoesNotFit;
    return encodeIntoImage();
}

CommandResult Editor::writeFullflash()
{
    m_told.clear();
    if (const Outcome encoded = encodeForSaving(); encoded != Outcome::Done)
        return finish(encoded);
    // The old file is replaced only once the new one is complete; on failure image keeps the encoded
    // layouts for another attempt and the changed marker stays.
    if (writeFileFailed(m_fullflashPath, m_image))
        return finish(Outcome::FileError);
    return done(u"Раскладка сохранена в фуллфлеш", m_fullflashPath, false);
}

Outcome Editor::saveFullflashAsCommand()
{
    // Refused before the dialog, so that no new name is taken for layouts that cannot be written.
    if (const Outcome checked = checkImageSave(); checked != Outcome::Done)
        return checked;
    return runOnChosenFile("Save1As", FileKind::Fullflash, false, &Editor::saveFullflashAs);
}

CommandResult Editor::saveFullflashAs(const std::u16string& path)
{
    m_told.clear();
    if (const Outcome checked = checkImageSave(); checked != Outcome::Done)
        return finish(checked);
    m_fullflashPath = path;
    enableCommand("Save1", true);
    return writeFullflash();
}

} // namespace klavoset
