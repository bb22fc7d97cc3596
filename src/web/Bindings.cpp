// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The editor as the page's script sees it; compiled by emscripten only.
#include "base/Utf.h"
#include "core/WindowDesign.h"
#include "web/WebSession.h"

#include <cstdint>
#include <emscripten/bind.h>
#include <emscripten/val.h>

using emscripten::val;

namespace klavoset::web {
namespace {

std::string utf8(std::u16string_view text) { return toUtf8(text); }

Layout arrayOf(int a) { return kAllLayouts[a >= 0 && a < 4 ? a : 0]; }

int outcome(Outcome o) { return static_cast<int>(o); }

// The page fills the staged buffer in place: one copy of a large image instead of two.
std::uintptr_t stage(WebSession& s, std::size_t size)
{
    return reinterpret_cast<std::uintptr_t>(s.stage(size).data());
}

// The user's answers so far: an array of MsgAnswer values; true, as earlier pages passed, for one Yes.
Answers answersOf(const val& given)
{
    if (given.isArray())
        return emscripten::vecFromJSArray<int>(given);
    return given.isTrue() ? Answers{AnswerYes} : Answers{};
}

int openFullflash(WebSession& s, const std::string& name, const val& answers)
{
    return outcome(s.openFullflash(name, answersOf(answers)));
}
int openLayout(WebSession& s, const std::string& name, const val& answers)
{
    return outcome(s.openLayout(name, answersOf(answers)));
}
int openDropped(WebSession& s, const std::string& name, const val& answers)
{
    return outcome(s.openDropped(name, answersOf(answers)));
}
int saveFullflash(WebSession& s, const val& answers) { return outcome(s.saveFullflash(answersOf(answers))); }
int savePatch(WebSession& s, const val& answers) { return outcome(s.savePatch(answersOf(answers))); }
int saveLayout(WebSession& s, const val& answers) { return outcome(s.saveLayout(answersOf(answers))); }
void command(WebSession& s, const std::string& name, const val& answers)
{
    s.command(name, answersOf(answers));
}
void type(WebSession& s, int a, int key, const std::string& text) { s.type(arrayOf(a), key, text); }

// Empty when the description was taken, else why it was not.
std::string addDescription(WebSession& s, const std::string& text)
{
    return s.addDescription(text).value_or("");
}

val remembered(WebSession& s)
{
    val list = val::array();
    for (const auto& kept : s.takeRemembered()) {
        val k = val::object();
        k.set("id", kept.id);
        k.set("text", kept.text);
        list.call<void>("push", k);
    }
    return list;
}

val boxes(WebSession& s)
{
    val list = val::array();
    for (const auto& box : s.takeBoxes()) {
        val b = val::object();
        b.set("text", utf8(box.text));
        b.set("style", static_cast<int>(box.style));
        list.call<void>("push", b);
    }
    return list;
}

// A view into the module's memory: the page copies it into a Blob before anything else runs.
val download(WebSession& s)
{
    if (s.downloadName().empty())
        return val::null();
    const auto& bytes = s.downloadBytes();
    val d = val::object();
    d.set("name", s.downloadName());
    d.set("bytes", val(emscripten::typed_memory_view(bytes.size(), bytes.data())));
    return d;
}

val state(WebSession& s)
{
    val st = val::object();
    val fields = val::array();
    for (const Layout a : kAllLayouts) {
        val row = val::array();
        for (int key = 0; key < kKeys; ++key) {
            const auto& f = s.view.field(a, key);
            val v = val::object();
            v.set("text", utf8(f.text));
            v.set("enabled", f.enabled);
            v.set("editable", f.color == SysColor::Window);
            v.set("visible", f.visible);
            row.call<void>("push", v);
        }
        fields.call<void>("push", row);
    }
    st.set("fields", fields);
    val panels = val::array();
    for (int p = 1; p <= 7; ++p)
        panels.call<void>("push", utf8(s.view.panelText(p)));
    st.set("panels", panels);
    st.set("warning", s.view.windowColor == SysColor::InfoBk);
    st.set("beeps", s.view.beeps);
    val items = val::object();
    for (const auto& m : design::kMenu)
        if (!m.topLevel && m.caption != u"-") {
            const auto& i = s.view.item(m.name);
            val v = val::object();
            v.set("enabled", i.enabled);
            v.set("checked", i.checked);
            items.set(std::string(m.name), v);
        }
    st.set("items", items);
    return st;
}

// The window's own captions and tooltips, so that the page shows exactly the same texts.
val design()
{
    val d = val::object();
    val menu = val::array();
    for (const auto& m : design::kMenu) {
        val v = val::object();
        v.set("name", std::string(m.name));
        v.set("caption", utf8(m.caption));
        v.set("topLevel", m.topLevel);
        menu.call<void>("push", v);
    }
    d.set("menu", menu);
    val toolbar = val::array();
    for (const auto& t : design::kToolbar) {
        val v = val::object();
        v.set("key", std::string(t.key));
        v.set("tooltip", utf8(t.tooltip));
        v.set("group", t.group);
        toolbar.call<void>("push", v);
    }
    d.set("toolbar", toolbar);
    val panels = val::array();
    for (const auto& p : design::kPanels) {
        val v = val::object();
        v.set("width", p.widthTwips);
        v.set("tooltip", utf8(p.tooltip));
        panels.call<void>("push", v);
    }
    d.set("panels", panels);
    val lengths = val::array();
    for (int key = 0; key < kKeys; ++key)
        lengths.call<void>("push", design::maxLength(key));
    d.set("maxLength", lengths);
    return d;
}

} // namespace
} // namespace klavoset::web

EMSCRIPTEN_BINDINGS(klavoset)
{
    using namespace klavoset::web;
    emscripten::class_<WebSession>("Session")
        .constructor<>()
        .function("stage", &stage)
        .function("openFullflash", &openFullflash)
        .function("openLayout", &openLayout)
        .function("openDropped", &openDropped)
        .function("saveFullflash", &saveFullflash)
        .function("savePatch", &savePatch)
        .function("saveLayout", &saveLayout)
        .function("command", &command)
        .function("type", &type)
        .function("addDescription", &addDescription)
        .function("question", &WebSession::question)
        .function("questionStyle", &WebSession::questionStyle)
        .function("boxes", &boxes)
        .function("download", &download)
        .function("clearDownload", &WebSession::clearDownload)
        .function("takeOpened", &WebSession::takeOpened)
        .function("takeRemembered", &remembered)
        .function("state", &state);
    emscripten::function("design", &design);
}
