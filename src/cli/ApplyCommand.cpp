// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "cli/ApplyCommand.h"

#include "base/Cp1251.h"
#include "base/Printable.h"
#include "base/Utf.h"
#include "cli/CliSession.h"

#include <ostream>

namespace klavoset::cli {

std::string_view ApplyCommand::help() const
{
    return "klavoset-cli apply IMAGE LAYOUT.lay [--koi8] [--wap no|en|ru] [--firmware-file FILE] "
           "(-o OUT.bin | --vkp OUT.vkp)\n"
           "  Loads the fullflash IMAGE, then the layout file LAYOUT.lay, and writes the result.\n"
           "  -o OUT.bin      the whole rewritten fullflash (OUT.bin may be IMAGE itself)\n"
           "  --vkp OUT.vkp   a patch of the changed 16-byte blocks instead; IMAGE is not touched\n"
           "  --wap no|en|ru  leave the WAP layout alone (default), copy it from English, or from Russian\n"
           "  --koi8          store the Cyrillic letters of the English layouts as KOI8-R codes\n"
           "  --firmware-file FILE  load the firmware description FILE too\n";
}

int ApplyCommand::run(Arguments args, std::ostream&, std::ostream& err)
{
    const bool koi8 = args.flag("--koi8");
    const auto wap = args.option("--wap");
    const auto imageOut = args.option("-o");
    const auto patch = args.option("--vkp");
    const auto firmwareFile = args.option("--firmware-file");
    if (args.missingValue() || args.hasUnknownOption() || args.positional().size() != 2)
        return usageError(*this, "expects IMAGE and LAYOUT.lay", err);
    if (imageOut.has_value() == patch.has_value())
        return usageError(*this, "expects exactly one of -o OUT.bin and --vkp OUT.vkp", err);
    if (wap && *wap != "no" && *wap != "en" && *wap != "ru")
        return usageError(*this, "--wap takes no, en or ru", err);
    // Rewriting the image in place is what -o is for; the patch must go elsewhere.
    const auto& image = args.positional()[0];
    const auto& layout = args.positional()[1];
    const std::string& out = imageOut ? *imageOut : *patch;
    if (imageOut ? outputIsAnInput(out, {layout}, err) : outputIsAnInput(out, {image, layout}, err))
        return ExitUsage;
    if (firmwareFile && outputIsAnInput(out, {*firmwareFile}, err))
        return ExitUsage;

    CliSession session(err);
    if (const int loaded = session.loadFirmware(firmwareFile); loaded != ExitDone)
        return loaded;
    Editor& editor = session.editor;
    Outcome outcome = session.openFullflash(image, koi8);
    if (outcome != Outcome::Done)
        return exitCodeOf(outcome);

    if (wap && *wap != "no") {
        if (!editor.firmware().wapAvailable) {
            err << "klavoset-cli: " << image << ": " << toUtf8(fromCp1251(editor.firmware().id))
                << " has no WAP layout that can be written\n";
            return ExitUnsupported;
        }
        if (*wap == "en")
            editor.wapFromEnglishCommand();
        else
            editor.wapFromRussianCommand();
        if (editor.options().wap != (*wap == "en" ? WapSource::English : WapSource::Russian)) {
            // the choice was refused with a box that says why
            const auto& boxes = session.view.boxes;
            session.report({Outcome::Unsupported, boxes.empty() ? u"WAP" : boxes.back().text});
            return ExitUnsupported;
        }
    }

    outcome = session.report(editor.openLayoutFile(fromUtf8(layout)));
    if (outcome != Outcome::Done)
        return exitCodeOf(outcome);
    // The window asks before writing over another layout of the phone; the tool writes, and says so.
    if (const auto met = editor.otherTablesWrittenOver(); !met.empty()) {
        const bool one = met.size() == 1;
        err << "klavoset-cli: warning: " << image << ": written over "
            << (one ? "another layout of the phone, which will stop working: its key table at "
                    : "other layouts of the phone, which will stop working: their key tables at ");
        for (std::size_t i = 0; i < met.size(); ++i)
            err << (i == 0 ? "" : ", ") << hexOffset(met[i]);
        err << '\n';
        session.view.boxAnswers.push_back(AnswerYes);
    }
    const std::u16string outPath = fromUtf8(out);
    return exitCodeOf(
        session.report(imageOut ? editor.saveFullflashAs(outPath) : editor.savePatchAs(outPath)));
}

} // namespace klavoset::cli
