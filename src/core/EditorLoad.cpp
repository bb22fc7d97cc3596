// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/Cp1251.h"
#include "codec/LayoutReader.h"
#include "core/Editor.h"
#include "image/Staging.h"

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
    FileBytes bytes;
    if (readFileErr(path, bytes))
        return finish(Outcome::FileError);
    auto staged = stageImage(std::move(bytes));
    if (!staged.isOk()) {
        const StageRefusal& refusal = staged.error();
        const std::u16string why = refusal.kind == StageRefusal::Kind::Unsupported
                                       ? u"Этот фуллфлеш не поддерживается"
                                       : u"Файл слишком короткий для этой прошивки";
        tell(path + CrLf2 + why + CrLf2 + fromCp1251(refusal.FwId), MsgStop);
        return finish(Outcome::Unsupported);
    }
    StagedImage image = std::move(staged).value();

    FlashLen = static_cast<std::int32_t>(image.Flash.size());
    Flash = std::move(image.Flash);
    fw = std::move(image.fw);
    AdrFix = 0;
    m_view.setPanelText(7, fromCp1251(fw.FwId));
    Show_Slik(image.HasRus);
    m_filling = true;
    ClearAll();

    const LayoutTexts texts = decodeLayouts(Flash, fw, HasRus, AdrFix, koiChecked());
    const int keys = fw.NewGen ? 11 : 12;
    enableLoadedFields(keys);
    for (int i = 0; i < keys; ++i)
        for (const KeyArray a : kAllArrays)
            if (HasRus || a == KeyArray::eb || a == KeyArray::em)
                m_view.setFieldText(a, i, texts.at(a, i));
    if (fw.NewGen) {
        // Key 11 is not part of these layouts and the writer ignores it: it cannot be edited.
        m_view.setFieldText(KeyArray::eb, 11, u"");
        setFieldEditable(KeyArray::eb, 11, false);
    }
    m_filling = false;

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
