// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/BinaryViewer.h"

#include <dlfcn.h>
#include <filesystem>
#include <gio/gio.h>
#include <system_error>
#include <type_traits>

namespace klavoset {

namespace {

// GIO is loaded when a file is first to be viewed, not with the program: linked in, it and the six
// libraries it needs cost every start of the window several milliseconds. Its declarations still type
// every function taken from it.
struct Gio
{
    decltype(&g_app_info_get_default_for_type) defaultForType = nullptr;
    decltype(&g_app_info_get_id) id = nullptr;
    decltype(&g_app_info_get_executable) executable = nullptr;
    decltype(&g_app_info_launch) launch = nullptr;
    decltype(&g_file_new_for_path) fileForPath = nullptr;
    decltype(&g_list_append) listAppend = nullptr;
    decltype(&g_list_free) listFree = nullptr;
    decltype(&g_error_free) errorFree = nullptr;
    decltype(&g_object_unref) unref = nullptr;

    // nullptr when the library or one of its functions is missing. It stays loaded: GLib's types cannot
    // be unloaded.
    static const Gio* get()
    {
        static const Gio* const gio = [] {
            static Gio g;
            void* lib = dlopen("libgio-2.0.so.0", RTLD_NOW | RTLD_LOCAL);
            if (lib == nullptr)
                return static_cast<const Gio*>(nullptr);
            bool complete = true;
            const auto take = [lib, &complete](auto& function, const char* name) {
                function = reinterpret_cast<std::remove_reference_t<decltype(function)>>(dlsym(lib, name));
                complete = complete && function != nullptr;
            };
            take(g.defaultForType, "g_app_info_get_default_for_type");
            take(g.id, "g_app_info_get_id");
            take(g.executable, "g_app_info_get_executable");
            take(g.launch, "g_app_info_launch");
            take(g.fileForPath, "g_file_new_for_path");
            take(g.listAppend, "g_list_append");
            take(g.listFree, "g_list_free");
            take(g.errorFree, "g_error_free");
            take(g.unref, "g_object_unref");
            return complete ? static_cast<const Gio*>(&g) : nullptr;
        }();
        return gio;
    }
};

} // namespace

bool isThisEditor(std::string_view desktopId, std::string_view executable, std::string_view selfExecutable)
{
    if (desktopId == "klavoset.desktop")
        return true;
    const std::filesystem::path exe(executable);
    if (exe.filename() == "klavoset")
        return true;
    std::error_code ec;
    return !selfExecutable.empty() && !executable.empty() &&
           std::filesystem::equivalent(exe, std::filesystem::path(selfExecutable), ec);
}

bool openWithBinaryViewer(const std::string& localPath, const std::string& selfExecutable)
{
    const Gio* gio = Gio::get();
    if (gio == nullptr)
        return false;
    GAppInfo* app = gio->defaultForType("application/octet-stream", FALSE);
    if (app == nullptr)
        return false;
    const char* id = gio->id(app);
    const char* exe = gio->executable(app);
    bool started = false;
    // The editor as the viewer would start a second editor on the same image.
    if (!isThisEditor(id != nullptr ? id : "", exe != nullptr ? exe : "", selfExecutable)) {
        GFile* file = gio->fileForPath(localPath.c_str());
        GList* files = gio->listAppend(nullptr, file);
        GError* error = nullptr;
        started = gio->launch(app, files, nullptr, &error) != FALSE;
        if (error != nullptr)
            gio->errorFree(error);
        gio->listFree(files);
        gio->unref(file);
    }
    gio->unref(app);
    return started;
}

} // namespace klavoset
