#include "core/Form1.h"
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
    VkpFile = DialogFileName;
    m_view.setMenuEnabled("Save1", true);
    m_view.setButtonEnabled("Save1", true);

    FlashOrig = Flash;
    WriteFlash = false;
    const Outcome encoded = Save1_Click();
    WriteFlash = true;
    if (encoded != Outcome::Done)
        return encoded;

    const std::string text = formatVkp(fw.FwId, diffBlocks(FlashOrig, Flash));
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(text.data()),
                                              text.size());
    // Flash already holds the re-encoded layouts; a failed patch is reported and the marker stays.
    if (writeFileErr(VkpFile, bytes))
        return Outcome::FileError;
    SetStatusBar(u"Изменения в раскладке сохранены", VkpFile, u"");
    return Outcome::Done;
}

} // namespace klavoset
