#include "web/WebSession.h"

#include "base/Utf.h"

namespace klavoset::web {

namespace {

std::u16string baseName(const std::u16string& path)
{
    const std::size_t slash = path.find_last_of(u"/\\");
    return slash == std::u16string::npos ? path : path.substr(slash + 1);
}

} // namespace

int WebView::msgBox(const std::u16string& text, int style)
{
    if (style == MsgQuestion) {
        if (confirmed)
            return AnswerYes;
        question = text;
        return AnswerCancel;
    }
    MemoryView::msgBox(text, style);
    return AnswerOk;
}

std::u16string WebView::runFileDialog(const FileDialogRequest& request)
{
    if (request.open)
        return std::exchange(chosenFile, std::u16string());
    // A download has no folder; a layout file never saved yet is named after the fullflash.
    std::u16string name = baseName(request.fileName);
    if (name.empty()) {
        std::u16string stem = baseName(flashFile);
        if (const std::size_t dot = stem.rfind(u'.'); dot != std::u16string::npos && dot > 0)
            stem.resize(dot);
        name = (stem.empty() ? u"klavoset" : stem) + u"." + request.defaultExt;
    }
    return name;
}

WebSession::WebSession() { form.Form_Activate(); }

std::vector<std::uint8_t>& WebSession::stage(std::size_t size)
{
    m_staged.assign(size, 0);
    return m_staged;
}

Outcome WebSession::open(const std::string& name, bool confirmed,
                         Outcome (WebSession::*run)(const std::u16string&))
{
    const std::u16string path = fromUtf8(name);
    files.lend(path, std::move(m_staged));
    m_staged = {};
    view.question.clear();
    view.confirmed = confirmed;
    view.chosenFile = path;
    const Outcome outcome = (this->*run)(path);
    view.confirmed = false;
    view.chosenFile.clear();
    // Not read when the command stopped before; the next one gets a file of its own.
    files.erase(path);
    return outcome;
}

Outcome WebSession::openFullflash(const std::string& name, bool confirmed)
{
    return open(name, confirmed, &WebSession::runOpen1);
}

Outcome WebSession::openLayout(const std::string& name, bool confirmed)
{
    return open(name, confirmed, &WebSession::runOpen2);
}

Outcome WebSession::openDropped(const std::string& name, bool confirmed)
{
    return open(name, confirmed, &WebSession::runDropped);
}

Outcome WebSession::save(Outcome (Form1::*click)())
{
    clearDownload();
    view.question.clear();
    view.flashFile = form.FlashFile;
    const Outcome outcome = (form.*click)();
    if (const auto written = files.takeWritten())
        m_downloadName = toUtf8(*written);
    return outcome;
}

Outcome WebSession::saveFullflash() { return save(&Form1::Save1As_Click); }
Outcome WebSession::savePatch() { return save(&Form1::SaveAsVKP_Click); }
Outcome WebSession::saveLayout() { return save(&Form1::Save2As_Click); }

void WebSession::command(std::string_view name)
{
    view.question.clear();
    form.runCommand(name);
}

void WebSession::type(KeyArray a, int key, const std::string& text)
{
    if (key < 0 || key >= kKeys)
        return;
    const std::u16string t = fromUtf8(text);
    if (view.fieldText(a, key) != t)
        view.type(a, key, t);
}

std::string WebSession::question() const { return toUtf8(view.question); }

const std::vector<std::uint8_t>& WebSession::downloadBytes() const
{
    static const std::vector<std::uint8_t> kNone;
    const auto* bytes = files.find(fromUtf8(m_downloadName));
    return m_downloadName.empty() || bytes == nullptr ? kNone : *bytes;
}

void WebSession::clearDownload()
{
    if (!m_downloadName.empty())
        files.erase(fromUtf8(m_downloadName));
    m_downloadName.clear();
}

std::string WebSession::takeOpened() { return toUtf8(std::exchange(system.opened, std::u16string())); }

} // namespace klavoset::web
