// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"
#include "writers/LayoutWriter.h"
#include "writers/VkpPatch.h"

namespace klavoset {

Outcome Editor::savePatchAsCommand()
{
    if (const Outcome checked = checkImageSave(); checked != Outcome::Done)
        return checked;
    m_patchPath = defaultVkpName(m_fullflashPath);
    return runOnChosenFile("SaveAsVKP", FileKind::Patch, false, &Editor::savePatchAs);
}

CommandResult Editor::savePatchAs(const std::u16string& path)
{
    m_told.clear();
    if (const Outcome checked = checkImageSave(); checked != Outcome::Done)
        return finish(checked);
    m_patchPath = path;
    enableCommand("Save1", true);

    // The encoding changes bytes only inside the firmware's areas, so their blocks are all the patch has
    // to keep and compare: not a copy and a pass over the whole image.
    m_patchBase = BlockCopy(m_image, writtenAreas(m_firmware));
    if (const Outcome encoded = encodeForSaving(); encoded != Outcome::Done)
        return finish(encoded);

    const std::string text = formatVkp(m_firmware.id, diffBlocks(m_patchBase, m_image));
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size());
    // image already holds the re-encoded layouts; a failed patch is reported and the marker stays.
    if (writeFileFailed(m_patchPath, bytes))
        return finish(Outcome::FileError);
    return done(u"Изменения в раскладке сохранены", m_patchPath, false);
}

} // namespace klavoset
