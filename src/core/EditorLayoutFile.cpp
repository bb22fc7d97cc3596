// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"
#include "layoutfile/LayoutFile.h"

namespace klavoset {

Outcome Editor::openLayoutFileCommand()
{
    if (userKeepsChanges())
        return Outcome::Declined;
    return runOnChosenFile("Open2", FileKind::LayoutFile, true, &Editor::openLayoutFile);
}

CommandResult Editor::openLayoutFile(const std::u16string& path)
{
    m_told.clear();
    // The whole file is read before any field is touched, so a file that fails leaves the layouts alone.
    FileBytes file;
    if (readFileFailed(path, file))
        return finish(Outcome::FileError);
    const LayoutLines lines = decodeLayoutFile(file, m_hasRussian);

    m_filling = true;
    clearFields();
    const auto parseInto = [this](const std::u16string& line, Layout a) {
        std::array<std::u16string, kKeys> fields;
        for (int key = 0; key < kKeys; ++key)
            fields[static_cast<std::size_t>(key)] = m_view.fieldText(a, key);
        spreadLine(line, fields);
        for (int key = 0; key < kKeys; ++key)
            if (m_view.fieldText(a, key) != fields[static_cast<std::size_t>(key)])
                m_view.setFieldText(a, key, fields[static_cast<std::size_t>(key)]);
    };
    parseInto(lines.englishUpper, Layout::englishUpper);
    parseInto(lines.englishLower, Layout::englishLower);
    if (m_hasRussian) {
        parseInto(lines.russianUpper, Layout::russianUpper);
        parseInto(lines.russianLower, Layout::russianLower);
    }

    enableLoadedFields(kKeys);
    if (m_firmware.newGeneration) {
        setFieldEditable(Layout::englishUpper, 11, false);
        m_view.setFieldText(Layout::englishUpper, 11, u"");
    }
    m_filling = false;

    m_layoutFilePath = path;
    for (const std::string_view item : {"Save2", "Save2As"})
        enableCommand(item, true);
    return done(u"Раскладка загружена из файла раскладок", m_layoutFilePath, true);
}

Outcome Editor::saveLayoutFileCommand() { return writeLayoutFile().outcome; }

CommandResult Editor::writeLayoutFile()
{
    m_told.clear();
    if (refuseOverflow())
        return finish(Outcome::DoesNotFit);
    const std::vector<std::uint8_t> file = encodeLayoutFile(linesOf(snapshotFields(m_view)), m_hasRussian);
    // Replaced only once the new file is complete: a failed save keeps the previous layout file.
    if (writeFileFailed(m_layoutFilePath, file))
        return finish(Outcome::FileError);
    return done(u"Раскладка сохранена в файл раскладок", m_layoutFilePath, false);
}

Outcome Editor::saveLayoutFileAsCommand()
{
    if (refuseOverflow())
        return Outcome::DoesNotFit;
    return runOnChosenFile("Save2As", FileKind::LayoutFile, false, &Editor::saveLayoutFileAs);
}

CommandResult Editor::saveLayoutFileAs(const std::u16string& path)
{
    m_told.clear();
    // Refused before the name is taken, as the command refuses before its dialog.
    if (refuseOverflow())
        return finish(Outcome::DoesNotFit);
    m_layoutFilePath = path;
    enableCommand("Save2", true);
    return writeLayoutFile();
}

} // namespace klavoset
