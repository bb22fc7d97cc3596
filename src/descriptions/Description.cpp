// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "descriptions/Description.h"

#include "base/Cp1251.h"
#include "base/Utf.h"
#include "image/FirmwareCatalog.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <nlohmann/json.hpp>
#include <optional>
#include <set>
#include <vector>

// Nothing here may throw: the page runs without exceptions, and a bad file is a value like any refusal.
// So the JSON is parsed without exceptions, and every value's type is checked before it is read.

namespace klavoset {
namespace {

using Json = nlohmann::json;

// The offsets a row gives, by their keys in the file.
struct RowKey
{
    const char* key;
    std::int32_t FirmwareRow::*field;
};
constexpr RowKey kRowKeys[] = {{"EngTab", &FirmwareRow::englishTable},
                               {"RusTab", &FirmwareRow::russianTable},
                               {"Key10Entry", &FirmwareRow::key10Entry},
                               {"WapTabU", &FirmwareRow::wapUpperTable},
                               {"WapTabL", &FirmwareRow::wapLowerTable}};

// The offsets the rules derive from a row, which `klavoset-cli show --json` prints beside them: a
// description may carry them, and then they must be what the rules give.
struct DerivedKey
{
    const char* key;
    std::int32_t (*value)(const FirmwareDescriptor&);
};
constexpr DerivedKey kDerivedKeys[] = {
    {"EngData", [](const FirmwareDescriptor& d) { return d.englishStorage; }},
    {"RusData", [](const FirmwareDescriptor& d) { return d.russianStorage; }},
    {"CommonData", [](const FirmwareDescriptor& d) { return d.sharedStorage; }},
    {"WapData", [](const FirmwareDescriptor& d) { return d.wapStorage; }},
    {"CommonCap", [](const FirmwareDescriptor& d) { return static_cast<std::int32_t>(d.sharedCapacity); }}};

// "otherTables" is what `klavoset-cli scan --json` found in one image: read past, as it describes no
// firmware.
constexpr const char* kTopKeys[] = {"firmware", "newGen", "hasRus", "descriptor", "otherTables"};

std::string keyName(std::string_view key) { return "\"" + std::string(key) + "\""; }

// Records why a text is not JSON, or holds a key twice in one object, which the parser would take as the
// last one given: the parser hands it the error instead of throwing it. A hand-edited file with a key
// twice is a mistake, not a choice.
class ParseErrorCatcher : public nlohmann::json_sax<Json>
{
  public:
    std::optional<std::string> error;

    bool null() override { return true; }
    bool boolean(bool) override { return true; }
    bool number_integer(number_integer_t) override { return true; }
    bool number_unsigned(number_unsigned_t) override { return true; }
    bool number_float(number_float_t, const string_t&) override { return true; }
    bool string(string_t&) override { return true; }
    bool binary(binary_t&) override { return true; }
    bool start_object(std::size_t) override
    {
        m_keys.emplace_back();
        return true;
    }
    bool key(string_t& key) override
    {
        if (m_keys.back().insert(key).second)
            return true;
        error = "the key " + keyName(key) + " is given twice";
        return false;
    }
    bool end_object() override
    {
        m_keys.pop_back();
        return true;
    }
    bool start_array(std::size_t) override { return true; }
    bool end_array() override { return true; }
    bool parse_error(std::size_t, const std::string&, const nlohmann::detail::exception& ex) override
    {
        std::string what = ex.what();
        // "[json.exception.parse_error.101] parse error at line 1, ..." without the library's tag
        if (const auto tag = what.find("] "); what.starts_with("[json.") && tag != std::string::npos)
            what.erase(0, tag + 2);
        error = "not JSON: " + std::move(what);
        return false;
    }

  private:
    std::vector<std::set<std::string>> m_keys; // of every object open, the innermost last
};

bool isRowKey(std::string_view key)
{
    for (const RowKey& k : kRowKeys)
        if (key == k.key)
            return true;
    return false;
}

bool isDerivedKey(std::string_view key)
{
    for (const DerivedKey& k : kDerivedKeys)
        if (key == k.key)
            return true;
    return false;
}

bool isTopKey(std::string_view key)
{
    for (const char* k : kTopKeys)
        if (key == k)
            return true;
    return false;
}

// The integer under `key`, or why there is none that an offset can be.
Result<std::int32_t, std::string> offsetOf(const Json& descriptor, const char* key)
{
    using R = Result<std::int32_t, std::string>;
    const auto it = descriptor.find(key);
    if (it == descriptor.end())
        return R::fail("the key " + keyName(key) + " is missing from \"descriptor\"");
    if (!it->is_number_integer())
        return R::fail(keyName(key) + " is not a whole number");
    if (it->is_number_unsigned()) {
        const auto value = it->get<std::uint64_t>();
        if (value > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()))
            return R::fail(keyName(key) + " is out of range");
        return R::ok(static_cast<std::int32_t>(value));
    }
    const auto value = it->get<std::int64_t>();
    if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
        return R::fail(keyName(key) + " is out of range");
    return R::ok(static_cast<std::int32_t>(value));
}

std::optional<bool> flagOf(const Json& object, const char* key, std::string& why)
{
    const auto it = object.find(key);
    if (it == object.end())
        why = "the key " + keyName(key) + " is missing";
    else if (!it->is_boolean())
        why = keyName(key) + " is not true or false";
    else
        return it->get<bool>();
    return std::nullopt;
}

} // namespace

bool sameLayoutPlaces(const FirmwareRow& a, const FirmwareRow& b)
{
    if (a.newGeneration != b.newGeneration || a.hasRussian != b.hasRussian)
        return false;
    for (const RowKey& k : kRowKeys)
        if (a.*k.field != b.*k.field)
            return false;
    return true;
}

std::string descriptionText(std::string_view id, const FirmwareRow& row)
{
    nlohmann::ordered_json descriptor = nlohmann::ordered_json::object();
    for (const RowKey& k : kRowKeys)
        descriptor[k.key] = row.*k.field;
    const nlohmann::ordered_json doc = {{"firmware", toUtf8(fromCp1251(id))},
                                        {"newGen", row.newGeneration},
                                        {"hasRus", row.hasRussian},
                                        {"descriptor", descriptor}};
    return doc.dump(2, ' ', false, Json::error_handler_t::replace) + '\n';
}

Result<std::string, std::string> keepableDescriptionText(std::string_view id, const FirmwareRow& row)
{
    using R = Result<std::string, std::string>;
    std::string text = descriptionText(id, row);
    const auto again = parseDescription(text);
    if (!again.isOk())
        return R::fail(again.error());
    if (again.value().id != id || !sameLayoutPlaces(again.value().row, row))
        return R::fail("the description would not read back as it is");
    return R::ok(std::move(text));
}

Result<FirmwareDescription, std::string> parseDescription(std::string_view text)
{
    using R = Result<FirmwareDescription, std::string>;
    ParseErrorCatcher catcher;
    if (!Json::sax_parse(text, &catcher) || catcher.error)
        return R::fail(catcher.error.value_or("not JSON: it cannot be parsed"));
    const Json doc = Json::parse(text, nullptr, false);
    if (!doc.is_object())
        return R::fail("not a JSON object");
    for (const auto& item : doc.items())
        if (!isTopKey(item.key()))
            return R::fail("an unknown key " + keyName(item.key()));

    if (const auto others = doc.find("otherTables"); others != doc.end())
        if (!others->is_array() ||
            !std::all_of(others->begin(), others->end(), [](const Json& v) { return v.is_number_integer(); }))
            return R::fail("\"otherTables\" is not a list of offsets");

    FirmwareDescription d{};
    const auto firmware = doc.find("firmware");
    if (firmware == doc.end())
        return R::fail("the key \"firmware\" is missing");
    if (!firmware->is_string())
        return R::fail("\"firmware\" is not a string");
    // The image spells its identity in Windows-1251; the file holds it in UTF-8.
    const std::u16string id = fromUtf8(firmware->get_ref<const std::string&>());
    d.id = toCp1251(id);
    if (fromCp1251(d.id) != id)
        return R::fail("\"firmware\" holds a character that no identity string can");

    std::string why;
    const auto newGeneration = flagOf(doc, "newGen", why);
    const auto hasRussian = newGeneration ? flagOf(doc, "hasRus", why) : std::nullopt;
    if (!hasRussian)
        return R::fail(why);
    d.row.newGeneration = *newGeneration;
    d.row.hasRussian = *hasRussian;

    const auto descriptor = doc.find("descriptor");
    if (descriptor == doc.end())
        return R::fail("the key \"descriptor\" is missing");
    if (!descriptor->is_object())
        return R::fail("\"descriptor\" is not a JSON object");
    for (const auto& item : descriptor->items())
        if (!isRowKey(item.key()) && !isDerivedKey(item.key()))
            return R::fail("an unknown key " + keyName(item.key()) + " in \"descriptor\"");
    for (const RowKey& k : kRowKeys) {
        const auto offset = offsetOf(*descriptor, k.key);
        if (!offset.isOk())
            return R::fail(offset.error());
        d.row.*k.field = offset.value();
    }

    // The same rules as every description the editor keeps: the catalog's.
    FirmwareCatalog rules;
    if (auto refusal = rules.add(d.id, d.row))
        return R::fail(std::move(*refusal));

    const FirmwareDescriptor derived = completeDescriptor(d.row);
    for (const DerivedKey& k : kDerivedKeys) {
        if (!descriptor->contains(k.key))
            continue;
        const auto given = offsetOf(*descriptor, k.key);
        if (!given.isOk())
            return R::fail(given.error());
        if (given.value() != k.value(derived))
            return R::fail(keyName(k.key) + " is " + std::to_string(given.value()) +
                           ", but the offsets give " + std::to_string(k.value(derived)));
    }
    return R::ok(std::move(d));
}

} // namespace klavoset
