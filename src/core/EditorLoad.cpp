// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "base/Printable.h"
#include "base/Utf.h"
#include "codec/LayoutReader.h"
#include "core/Editor.h"
#include "image/Identify.h"
#include "image/OtherTables.h"
#include "image/Staging.h"
#include "image/TableFinder.h"

namespace klavoset {

Outcome Editor::openFullflashCommand()
{
    if (userKeepsChanges())
        return Outcome::Declined;
    return runOnChosenFile("Open1", FileKind::Fullflash, true, &Editor::openFullflash);
}

CommandResult Editor::openFullflash(const std::u16string& path)
{
    m_told.clear();
    // The file is read and identified aside; only a supported image that holds all its areas replaces
    // the loaded one, so a refused file leaves the editor exactly as it was.
    FileBytes bytes;
    if (readFileFailed(path, bytes))
        return finish(Outcome::FileError);
    auto staged = stageImage(std::move(bytes), m_system.firmwareCatalog());
    if (!staged.isOk() && staged.error().kind == StageRefusal::Kind::Unsupported)
        staged = loadFoundFirmware(path, std::move(staged).error());
    if (!staged.isOk()) {
        const StageRefusal& refusal = staged.error();
        const std::u16string why = refusal.kind == StageRefusal::Kind::Unsupported
                                       ? u"Этот фуллфлеш не поддерживается"
                                       : u"Файл слишком короткий для этой прошивки";
        tell(path + kParagraphBreak + why + kParagraphBreak + shownIdentity(refusal.id), MsgStop);
        return finish(Outcome::Unsupported);
    }
    StagedImage loaded = std::move(staged).value();

    m_image = std::move(loaded.image);
    m_firmware = std::move(loaded.firmware);
    m_addressCorrection = 0;
    m_view.setPanelText(PanelFirmware, shownIdentity(m_firmware.id));
    showRussianLayouts(loaded.hasRussian);
    m_otherLayoutsGivenUp = false;
    m_filling = true;
    clearFields();

    const LayoutTexts texts =
        decodeLayouts(m_image, m_firmware, m_hasRussian, m_addressCorrection, m_options.koi);
    // Their strings are read under the correction the decoder settled.
    m_otherTables.clear();
    for (const std::int32_t table : findOtherTables(m_image, m_firmware, m_hasRussian))
        m_otherTables.push_back(otherTableAt(m_image, table, m_addressCorrection));
    const int keys = m_firmware.newGeneration ? 11 : 12;
    enableLoadedFields(keys);
    for (int i = 0; i < keys; ++i)
        for (const Layout a : kAllLayouts)
            if (m_hasRussian || a == Layout::englishUpper || a == Layout::englishLower)
                m_view.setFieldText(a, i, texts.at(a, i));
    if (m_firmware.newGeneration) {
        // Key 11 is not part of these layouts and the writer ignores it: it cannot be edited.
        m_view.setFieldText(Layout::englishUpper, 11, u"");
        setFieldEditable(Layout::englishUpper, 11, false);
    }
    m_filling = false;

    enableLoadedImageCommands(path);
    followWapAvailability();
    m_fullflashPath = path;
    return done(u"Раскладка загружена из фуллфлеша", m_fullflashPath, false);
}

Result<StagedImage, StageRefusal> Editor::loadFoundFirmware(const std::u16string& path, StageRefusal refusal)
{
    using Staged = Result<StagedImage, StageRefusal>;
    // An image without an identity block has nothing to remember its firmware by.
    const std::optional<FirmwareRow> found =
        hasIdentityBlock(refusal.image) ? findKeyTables(refusal.image) : std::nullopt;
    if (!found)
        return Staged::fail(std::move(refusal));
    FirmwareCatalog withFound = m_system.firmwareCatalog();
    if (withFound.add(refusal.id, *found))
        return Staged::fail(std::move(refusal));
    const std::u16string id = shownIdentity(refusal.id);
    const MsgAnswer answer =
        m_view.msgBox(path + kParagraphBreak + u"Прошивки " + id +
                          u" нет в списке поддерживаемых, но клавиатурные таблицы в этом фуллфлеше найдены." +
                          kParagraphBreak + u"Загрузить раскладку и запомнить эту прошивку?" +
                          kParagraphBreak + u"Прежде чем записывать что-либо в телефон, проверьте раскладку.",
                      MsgYesNo);
    if (answer != AnswerYes)
        return Staged::fail(std::move(refusal));
    auto staged = stageImage(std::move(refusal.image), withFound);
    if (staged.isOk())
        if (const auto why = m_system.rememberFirmware(staged.value().firmware.id, *found))
            m_view.msgBox(u"Прошивку " + id + u" не удалось запомнить." + kParagraphBreak + fromUtf8(*why),
                          MsgWarning);
    return staged;
}

void Editor::enableLoadedImageCommands(const std::u16string& path)
{
    for (const std::string_view item : {"Save1", "Save1As", "Save2As", "View"})
        enableCommand(item, true);
    m_view.setButtonTooltip("View", u"Просмотр " + path);
}

} // namespace klavoset
