// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"
#include "layoutfile/LayoutFile.h"

namespace klavoset {

Outcome Form1::Open2_Click()
{
    if (WasChanged())
        return Outcome::Declined;
    DialogTitle = m_view.menuCaption("Open2");
    if (DialogErr(2, 1))
        return Outcome::Declined;
    return openLayoutFile(DialogFileName).outcome;
}

CommandResult Form1::openLayoutFile(const std::u16string& path)
{
    m_told.clear();
    // The whole file is read before any field is touched, so a file that fails leaves the layouts alone.
    FileBytes file;
    if (readFileErr(path, file))
        return finish(Outcome::FileError);
    const LayoutLines lines = decodeLayoutFile(file, HasRus);

    m_filling = true;
    ClearAll();
    const auto parseInto = [this](const std::u16string& line, KeyArray a) {
        std::array<std::u16string, kKeys> r;
        for (int key = 0; key < kKeys; ++key)
            r[static_cast<std::size_t>(key)] = m_view.fieldText(a, key);
        Parse(line, r);
        for (int key = 0; key < kKeys; ++key)
            if (m_view.fieldText(a, key) != r[static_cast<std::size_t>(key)])
                m_view.setFieldText(a, key, r[static_cast<std::size_t>(key)]);
    };
    parseInto(lines.LineEB, KeyArray::eb);
    parseInto(lines.LineEM, KeyArray::em);
    if (HasRus) {
        parseInto(lines.LineRB, KeyArray::rb);
        parseInto(lines.LineRM, KeyArray::rm);
    }

    enableLoadedFields(kKeys);
    if (fw.NewGen) {
        setFieldEditable(KeyArray::eb, 11, false);
        m_view.setFieldText(KeyArray::eb, 11, u"");
    }
    m_filling = false;

    LayFile = path;
    for (const std::string_view item : {"Save2", "Save2As"}) {
        m_view.setMenuEnabled(item, true);
        m_view.setButtonEnabled(item, true);
    }
    return done(u"Раскладка загружена из файла раскладок", LayFile, u"*");
}

Outcome Form1::Save2_Click() { return writeLayoutFile().outcome; }

CommandResult Form1::writeLayoutFile()
{
    m_told.clear();
    if (CheckOverflow())
        return finish(Outcome::DoesNotFit);
    const std::vector<std::uint8_t> file = encodeLayoutFile(linesOf(snapshotFields(m_view)), HasRus);
    // Replaced only once the new file is complete: a failed save keeps the previous layout file.
    if (writeFileErr(LayFile, file))
        return finish(Outcome::FileError);
    return done(u"Раскладка сохранена в файл раскладок", LayFile, u"");
}

Outcome Form1::Save2As_Click()
{
    if (CheckOverflow())
        return Outcome::DoesNotFit;
    DialogTitle = m_view.menuCaption("Save2As");
    if (DialogErr(2, 2))
        return Outcome::Declined;
    return saveLayoutFileAs(DialogFileName).outcome;
}

CommandResult Form1::saveLayoutFileAs(const std::u16string& path)
{
    m_told.clear();
    // Refused before the name is taken, as the command refuses before its dialog.
    if (CheckOverflow())
        return finish(Outcome::DoesNotFit);
    LayFile = path;
    m_view.setMenuEnabled("Save2", true);
    m_view.setButtonEnabled("Save2", true);
    return writeLayoutFile();
}

} // namespace klavoset
