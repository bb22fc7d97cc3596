// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"
#include "writers/LayoutWriter.h"
#include "writers/VkpPatch.h"

namespace klavoset {

Outcome Editor::savePatchAsCommand()
{
    if (firmware.id.empty()) // no image has been loaded
        return Outcome::Declined;
    if (refuseOverflow() || refuseUnstorable(snapshotFields(m_view)))
        return Outcome::DoesNotFit;
    patchPath = defaultVkpName(fullflashPath);
    dialogTitle = m_view.menuCaption("SaveAsVKP");
    if (DialogErr(3, 2))
        return Outcome::Declined;
    return savePatchAs(dialogFileName).outcome;
}

CommandResult Editor::savePatchAs(const std::u16string& path)
{
    m_told.clear();
    if (firmware.id.empty())
        return finish(Outcome::Declined);
    if (refuseOverflow() || refuseUnstorable(snapshotFields(m_view)))
        return finish(Outcome::DoesNotFit);
    patchPath = path;
    m_view.setMenuEnabled("Save1", true);
    m_view.setButtonEnabled("Save1", true);

    // The encoding changes bytes only inside the firmware's areas, so their blocks are all the patch has
    // to keep and compare: not a copy and a pass over the whole image.
    patchBase = BlockCopy(image, writtenAreas(firmware));
    writeImageFile = false;
    const CommandResult encoded = writeFullflash();
    writeImageFile = true;
    if (encoded.outcome != Outcome::Done)
        return encoded;

    const std::string text = formatVkp(firmware.id, diffBlocks(patchBase, image));
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size());
    // image already holds the re-encoded layouts; a failed patch is reported and the marker stays.
    if (writeFileFailed(patchPath, bytes))
        return finish(Outcome::FileError);
    return done(u"Изменения в раскладке сохранены", patchPath, u"");
}

} // namespace klavoset
