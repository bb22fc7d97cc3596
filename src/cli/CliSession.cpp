#include "cli/CliSession.h"

#include "base/Utf.h"

#include <ostream>

namespace klavoset::cli {

int exitCodeOf(Outcome outcome)
{
    switch (outcome) {
    case Outcome::Done:
        return ExitDone;
    case Outcome::FileError:
        return ExitFile;
    case Outcome::Unsupported:
        return ExitUnsupported;
    case Outcome::DoesNotFit:
        return ExitDoesNotFit;
    case Outcome::Declined:
        break;
    }
    return ExitUsage;
}

namespace {

// Message-box paragraphs on one line.
std::string oneLine(const std::u16string& text)
{
    std::u16string line;
    for (std::size_t i = 0; i < text.size();) {
        if (text.compare(i, 4, u"\r\n\r\n") == 0) {
            while (!line.empty() && line.back() == u' ')
                line.pop_back();
            line += u": ";
            i += 4;
        } else if (text[i] == u'\r' || text[i] == u'\n') {
            line += u' ';
            ++i;
        } else {
            line += text[i++];
        }
    }
    while (line.size() >= 2 && line.compare(line.size() - 2, 2, u": ") == 0)
        line.resize(line.size() - 2);
    return toUtf8(line);
}

} // namespace

CliSession::CliSession(std::ostream& err) : m_err(err)
{
    // Only refusals and errors are worth a line; warnings and information have no reader here.
    view.onBox = [this](const MemoryView::Box& box) {
        if (box.style == MsgStop) {
            m_err << "klavoset-cli: " << oneLine(box.text) << '\n';
            ++m_reported;
        }
    };
    form.Form_Activate();
}

Outcome CliSession::openFullflash(const std::string& path, bool koi8)
{
    if (koi8)
        form.Koi_Click();
    form.DialogFileName = fromUtf8(path);
    form.CmdLineOpen = true;
    const Outcome outcome = form.Open1_Click();
    reportFailure(outcome);
    return outcome;
}

void CliSession::reportFailure(Outcome outcome)
{
    const bool boxed = m_reported > 0;
    m_reported = 0;
    if (outcome == Outcome::Done || boxed)
        return;
    m_err << "klavoset-cli: " << toUtf8(view.panelText(2)) << ": " << toUtf8(view.panelText(1)) << '\n';
}

} // namespace klavoset::cli
