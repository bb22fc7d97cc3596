// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "descriptions/DescriptionFolder.h"

#include "base/Cp1251.h"
#include "base/Utf.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <nlohmann/json.hpp>
#include <optional>
#include <system_error>

#ifdef _WIN32
#include <cwchar>
#endif

namespace klavoset {
namespace fs = std::filesystem;

namespace {

// Identity strings are a dozen bytes; one this long is no firmware's, and its name, three bytes for each
// of its own at worst, still stays under the 255 bytes every file system allows.
constexpr std::size_t kLongestId = 80;

// A description is a few hundred bytes; anything much larger in the folder is not one, and is not parsed.
constexpr std::size_t kLargestDescription = 64 * 1024;

bool keptAsItIs(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-';
}

char hexDigit(unsigned value) { return "0123456789ABCDEF"[value & 0xF]; }

// The device names Windows reserves in every folder, whatever follows them; compared ignoring case.
bool reservedOnWindows(std::string_view stem)
{
    std::string upper(stem);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    if (upper == "CON" || upper == "PRN" || upper == "AUX" || upper == "NUL")
        return true;
    return upper.size() == 4 && (upper.starts_with("COM") || upper.starts_with("LPT")) && upper[3] >= '0' &&
           upper[3] <= '9';
}

std::u16string environment(const char* name)
{
#ifdef _WIN32
    // The wide environment: a user name outside the system's code page survives.
    const std::wstring wide(name, name + std::char_traits<char>::length(name));
    const wchar_t* value = ::_wgetenv(wide.c_str());
    return value == nullptr ? std::u16string() : std::u16string(value, value + std::wcslen(value));
#else
    const char* value = std::getenv(name);
    return value == nullptr ? std::u16string() : fromUtf8(value);
#endif
}

fs::path pathOf(const std::u16string& path) { return fs::path(path); }

std::string shown(const fs::path& path) { return toUtf8(path.u16string()); }

// The identity string a text describes, whatever else is wrong with it; empty when it names none.
std::string describedId(const FileBytes& bytes)
{
    const auto doc = nlohmann::json::parse(bytes.begin(), bytes.end(), nullptr, false);
    if (!doc.is_object())
        return {};
    const auto firmware = doc.find("firmware");
    if (firmware == doc.end() || !firmware->is_string())
        return {};
    return toCp1251(fromUtf8(firmware->get_ref<const std::string&>()));
}

// Why the file at `path` may not be replaced by a description of `id`, following its name, or nothing: only a
// regular file that describes this very firmware is the user's earlier description of it. A link is never
// followed, so a save cannot land outside the folder.
std::optional<std::string> replaceRefusal(FileSystem& files, const std::u16string& path, std::string_view id)
{
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(pathOf(path), ec);
    if (ec || !fs::exists(status))
        return std::nullopt;
    if (fs::is_symlink(status))
        return "is a symbolic link: not replaced";
    if (!fs::is_regular_file(status))
        return "is not a regular file: not replaced";
    auto existing = files.readAtMost(path, kLargestDescription);
    if (!existing.isOk())
        return existing.error().tooLarge > 0 ? "holds no firmware description: not replaced"
                                             : "cannot be read: " + existing.error().reason;
    const std::string other = describedId(existing.value());
    if (other.empty())
        return "holds no firmware description: not replaced";
    if (other != id)
        return "holds the description of " + toUtf8(fromCp1251(other));
    return std::nullopt;
}

} // namespace

std::u16string descriptionFolder()
{
#ifdef _WIN32
    const std::u16string appData = environment("APPDATA");
    return appData.empty() ? appData : (pathOf(appData) / "Klavoset" / "firmware").u16string();
#else
    // A relative XDG_DATA_HOME is to be ignored, as the XDG base directories say.
    const std::u16string dataHome = environment("XDG_DATA_HOME");
    if (!dataHome.empty() && pathOf(dataHome).is_absolute())
        return (pathOf(dataHome) / "klavoset" / "firmware").u16string();
    const std::u16string home = environment("HOME");
    if (home.empty())
        return home;
    return (pathOf(home) / ".local" / "share" / "klavoset" / "firmware").u16string();
#endif
}

std::string descriptionFileName(std::string_view id)
{
    if (id.empty() || id.size() > kLongestId)
        return {};
    std::string name;
    for (const char c : id) {
        if (keptAsItIs(c)) {
            name += c;
        } else if (c == ' ') {
            name += '_';
        } else {
            const auto b = static_cast<unsigned char>(c);
            name += {'%', hexDigit(b >> 4), hexDigit(b)};
        }
    }
    if (reservedOnWindows(name)) {
        const auto last = static_cast<unsigned char>(name.back());
        name.back() = '%';
        name += {hexDigit(last >> 4), hexDigit(last)};
    }
    return name + ".json";
}

Result<FirmwareDescription, DescriptionFileError> readDescriptionFile(FileSystem& files,
                                                                      const std::u16string& path)
{
    using R = Result<FirmwareDescription, DescriptionFileError>;
    auto read = files.readAtMost(path, kLargestDescription);
    if (!read.isOk() && read.error().tooLarge > 0)
        return R::fail(
            {DescriptionFileError::Kind::Invalid,
             "too large for a firmware description (" + std::to_string(read.error().tooLarge) + " bytes)"});
    if (!read.isOk())
        return R::fail({DescriptionFileError::Kind::Read, read.error().reason});
    const FileBytes& bytes = read.value();
    auto description =
        parseDescription(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
    if (!description.isOk())
        return R::fail({DescriptionFileError::Kind::Invalid, description.error()});
    return R::ok(std::move(description).value());
}

std::vector<SkippedDescription> loadDescriptions(FileSystem& files, const std::u16string& folder,
                                                 FirmwareCatalog& catalog)
{
    std::vector<SkippedDescription> skipped;
    if (folder.empty())
        return skipped;
    std::error_code ec;
    fs::directory_iterator it(pathOf(folder), ec);
    if (ec) {
        if (ec != std::errc::no_such_file_or_directory)
            skipped.push_back({folder, "the folder cannot be read: " + ec.message()});
        return skipped;
    }
    std::vector<fs::path> paths;
    for (; !ec && it != fs::directory_iterator(); it.increment(ec))
        if (it->path().extension() == ".json")
            paths.push_back(it->path());
    if (ec)
        skipped.push_back({folder, "the folder cannot be read to its end: " + ec.message()});
    std::sort(paths.begin(), paths.end());

    // Every file read first, so that the one named after its firmware wins wherever its name sorts.
    std::vector<std::optional<FirmwareDescription>> read(paths.size());
    std::vector<std::string> why(paths.size());
    std::map<std::string, std::size_t, std::less<>> chosen; // identity string, its file
    for (std::size_t i = 0; i < paths.size(); ++i) {
        auto description = readDescriptionFile(files, paths[i].u16string());
        if (!description.isOk()) {
            why[i] = std::move(description).error().reason;
            continue;
        }
        read[i] = std::move(description).value();
        const auto [first, added] = chosen.try_emplace(read[i]->id, i);
        if (!added && paths[i].filename() == fs::path(descriptionFileName(read[i]->id)))
            first->second = i;
    }
    for (std::size_t i = 0; i < paths.size(); ++i) {
        if (read[i]) {
            if (const std::size_t taken = chosen.find(read[i]->id)->second; taken != i)
                why[i] = "the firmware is described already by " + shown(paths[taken]);
            else if (auto refusal = catalog.add(read[i]->id, read[i]->row))
                why[i] = std::move(*refusal);
        }
        if (!why[i].empty())
            skipped.push_back({paths[i].u16string(), std::move(why[i])});
    }
    return skipped;
}

Result<std::u16string, DescriptionSaveError> saveDescription(FileSystem& files, const std::u16string& folder,
                                                             std::string_view id, const FirmwareRow& row)
{
    using R = Result<std::u16string, DescriptionSaveError>;
    using Kind = DescriptionSaveError::Kind;
    if (folder.empty())
        return R::fail({Kind::Failed, "there is no data folder to keep it in: the environment names none"});
    const std::string name = descriptionFileName(id);
    if (name.empty())
        return R::fail({Kind::Failed, "the identity string cannot name a file"});
    auto kept = keepableDescriptionText(id, row);
    if (!kept.isOk())
        return R::fail({Kind::Failed, kept.error()});
    const std::string text = std::move(kept).value();

    std::error_code ec;
    fs::create_directories(pathOf(folder), ec);
    if (ec)
        return R::fail({Kind::Failed, toUtf8(folder) + ": the folder cannot be made: " + ec.message()});
    if (const auto fault = sharedFolderFault(folder))
        return R::fail({Kind::Refused, toUtf8(folder) + ": " + *fault + ": nothing is saved into it"});
    const std::u16string path = (pathOf(folder) / name).u16string();
    if (auto refusal = replaceRefusal(files, path, id))
        return R::fail({Kind::Refused, toUtf8(path) + " " + *refusal});
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    if (const auto error = files.writeAtomically(path, std::span<const std::uint8_t>(bytes, text.size())))
        return R::fail({Kind::Failed, toUtf8(path) + ": " + error->reason});
    return R::ok(path);
}

} // namespace klavoset
