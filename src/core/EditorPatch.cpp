// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "core/Editor.h"
#include "writers/LayoutWriter.h"
#include "writers/VkpPatch.h"

namespace klavoset {

Outcome Form1::SaveAsVKP_Click()
{
    if (fw.FwId.empty()) // no image has been loaded
        return Outcome::Declined;
    if (CheckOverflow() || refuseUnstorable(snapshotFields(m_view)))
        return Outcome::DoesNotFit;
    VkpFile = defaultVkpName(FlashFile);
    DialogTitle = m_view.menuCaption("SaveAsVKP");
    if (DialogErr(3, 2))
        return Outcome::Declined;
    return savePatchAs(DialogFileName).outcome;
}

CommandResult Form1::savePatchAs(const std::u16string& path)
{
    m_told.clear();
    if (fw.FwId.empty())
        return finish(Outcome::Declined);
    if (CheckOverflow() || refuseUnstorable(snapshotFields(m_view)))
        return finish(Outcome::DoesNotFit);
    VkpFile = path;
    m_view.setMenuEnabled("Save1", true);
    m_view.setButtonEnabled("Save1", true);

    // The encoding changes bytes only inside the firmware's areas, so their blocks are all the patch has
    // to keep and compare: not a copy and a pass over the whole image.
    FlashOrig = BlockCopy(Flash, writtenAreas(fw));
    WriteFlash = false;
    const CommandResult encoded = writeFullflash();
    WriteFlash = true;
    if (encoded.outcome != Outcome::Done)
        return encoded;

    const std::string text = formatVkp(fw.FwId, diffBlocks(FlashOrig, Flash));
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size());
    // Flash already holds the re-encoded layouts; a failed patch is reported and the marker stays.
    if (writeFileErr(VkpFile, bytes))
        return finish(Outcome::FileError);
    return done(u"Изменения в раскладке сохранены", VkpFile, u"");
}

} // namespace klavoset
