#include "codec/KeyCodec.h"
#include "base/Cp1251.h"
#include "core/Form1.h"
#include "image/FirmwareTable.h"
#include "image/Identify.h"

namespace klavoset {

Outcome Form1::Open1_Click()
{
    if (!CmdLineOpen) {
        if (WasChanged())
            return Outcome::Declined;
        DialogTitle = m_view.menuCaption("Open1");
        if (DialogErr(1, 1))
            return Outcome::Declined;
    }
    CmdLineOpen = false;
    return openFullflash(DialogFileName).outcome;
}

CommandResult Form1::openFullflash(const std::u16string& path)
{
    m_told.clear();
    // The file is read and identified aside; only a supported image that holds all its areas replaces
    // the loaded one, so a refused file leaves the editor exactly as it was.
    FileBytes staged;
    if (readFileErr(path, staged))
        return finish(Outcome::FileError);
    if (staged.empty())
        staged.assign(1, 0);
    const auto stagedLen = static_cast<std::int32_t>(staged.size());

    const std::string id = identifyFirmware(staged);
    const FirmwareRow* row = findFirmware(id);
    if (row == nullptr) {
        tell(path + CrLf2 + u"Этот фуллфлеш не поддерживается" + CrLf2 + fromCp1251(id), MsgStop);
        return finish(Outcome::Unsupported);
    }
    const FirmwareDescriptor d = completeDescriptor(*row);
    if (!descriptorFitsImage(d, stagedLen)) {
        tell(path + CrLf2 + u"Файл слишком короткий для этой прошивки" + CrLf2 + fromCp1251(id), MsgStop);
        return finish(Outcome::Unsupported);
    }

    Flash = std::move(staged);
    FlashLen = stagedLen;
    fw = d;
    AdrFix = 0;
    m_view.setPanelText(7, fromCp1251(fw.FwId));

    const std::size_t rus = static_cast<std::size_t>(fw.RusTab);
    bool hasRus = fw.HasRus;
    if (Flash[rus + 1] != 0 || Flash[rus] > kMaxRusKey0Count)
        hasRus = false;
    Show_Slik(hasRus);
    ClearAll();

    KeyCodec codec(Flash, AdrFix, fw.Key10Entry, koiChecked());
    const int keys = fw.NewGen ? 11 : 12;
    enableLoadedFields(keys);
    for (int i = 0; i < keys; ++i) {
        const bool key10 = i == 10;
        std::int32_t q = fw.EngTab + 6 * i;
        m_view.setFieldText(KeyArray::eb, i, codec.GetUniStr(q, true, key10));
        q = fw.EngTab + 6 * i + 72;
        m_view.setFieldText(KeyArray::em, i, codec.GetUniStr(q, true, key10));
        if (HasRus) {
            q = fw.RusTab + 6 * i;
            m_view.setFieldText(KeyArray::rb, i, codec.GetUniStr(q, false, key10));
            q = fw.RusTab + 6 * i + 72;
            m_view.setFieldText(KeyArray::rm, i, codec.GetUniStr(q, false, key10));
        }
    }
    if (fw.NewGen) {
        // Key 11 is not part of these layouts and the writer ignores it: it cannot be edited.
        m_view.setFieldText(KeyArray::eb, 11, u"");
        setFieldEditable(KeyArray::eb, 11, false);
    }

    enableLoadedImageCommands(path);
    followWapAvailability();
    FlashFile = path;
    return done(u"Раскладка загружена из фуллфлеша", FlashFile, u"");
}

void Form1::enableLoadedImageCommands(const std::u16string& path)
{
    for (const std::string_view item : {"Save1", "Save1As", "Save2As", "View"}) {
        m_view.setMenuEnabled(item, true);
        m_view.setButtonEnabled(item, true);
    }
    m_view.setButtonTooltip("View", u"Просмотр " + path);
}

} // namespace klavoset
