// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/BinaryViewer.h"

#include <filesystem>
#include <gio/gio.h>
#include <system_error>

namespace klavoset {

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
    GAppInfo* app = g_app_info_get_default_for_type("application/octet-stream", FALSE);
    if (app == nullptr)
        return false;
    const char* id = g_app_info_get_id(app);
    const char* exe = g_app_info_get_executable(app);
    bool started = false;
    // The editor as the viewer would start a second editor on the same image.
    if (!isThisEditor(id != nullptr ? id : "", exe != nullptr ? exe : "", selfExecutable)) {
        GFile* file = g_file_new_for_path(localPath.c_str());
        GList* files = g_list_append(nullptr, file);
        GError* error = nullptr;
        started = g_app_info_launch(app, files, nullptr, &error) != FALSE;
        if (error != nullptr)
            g_error_free(error);
        g_list_free(files);
        g_object_unref(file);
    }
    g_object_unref(app);
    return started;
}

} // namespace klavoset
