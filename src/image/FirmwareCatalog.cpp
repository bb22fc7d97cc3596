// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "image/FirmwareCatalog.h"

#include "image/Identify.h"

#include <utility>
#include <vector>

namespace klavoset {

std::optional<std::string> descriptionFault(const FirmwareRow& row)
{
    if (row.englishTable <= 0 || row.russianTable < 0 || row.key10Entry < 0 || row.wapUpperTable < 0 ||
        row.wapLowerTable < 0)
        return "an offset is negative or the English table is missing";
    for (const std::int32_t offset :
         {row.englishTable, row.russianTable, row.key10Entry, row.wapUpperTable, row.wapLowerTable})
        if (offset >= kLargestImage)
            return "an area lies outside any image of these phones";
    if (!row.newGeneration && row.key10Entry != 0)
        return "a key-10 entry is given for the older generation";
    if (row.newGeneration && (row.key10Entry == 0 || row.russianTable == 0))
        return "the newer generation needs the Russian table and the key-10 entry";
    const FirmwareDescriptor d = completeDescriptor(row);
    if (!descriptorFitsImage(d, kLargestImage))
        return "an area lies outside any image of these phones";
    if ((row.wapUpperTable != 0 || row.wapLowerTable != 0) && !d.wapAvailable)
        return "the WAP tables are not where such tables lie";
    // A write into one area must not change another, nor the identity that selects this very descriptor.
    const std::vector<ImageArea> areas = descriptorAreas(d);
    for (auto a = areas.begin(); a != areas.end(); ++a) {
        if (meetsIdentityBlock(*a))
            return "an area meets the identity block";
        for (auto b = a + 1; b != areas.end(); ++b)
            if (a->offset < b->offset + b->size && b->offset < a->offset + a->size)
                return "two areas overlap";
    }
    return std::nullopt;
}

FirmwareCatalog& FirmwareCatalog::operator=(const FirmwareCatalog& other)
{
    if (this == &other)
        return *this;
    other.readDeferred();
    m_deferred = nullptr;
    m_descriptions.clear();
    m_byId.clear();
    for (const Description& d : other.m_descriptions)
        (void)add(d.id, d.row);
    return *this;
}

std::optional<std::string> FirmwareCatalog::add(std::string id, const FirmwareRow& row)
{
    readDeferred(); // what is added now replaces what they hold
    if (id.empty())
        return "the identity string is empty";
    if (findFirmware(id) != nullptr)
        return "the built-in table has this firmware";
    if (auto fault = descriptionFault(row))
        return fault;
    const auto [place, added] = m_byId.try_emplace(id, m_descriptions.size());
    Description& d = added ? m_descriptions.emplace_back() : m_descriptions[place->second];
    d.id = std::move(id);
    d.row = row;
    d.row.id = d.id;
    return std::nullopt;
}

const FirmwareRow* FirmwareCatalog::find(std::string_view id) const
{
    if (const FirmwareRow* row = findFirmware(id))
        return row;
    readDeferred();
    const auto it = m_byId.find(id);
    return it == m_byId.end() ? nullptr : &m_descriptions[it->second].row;
}

const std::deque<FirmwareCatalog::Description>& FirmwareCatalog::descriptions() const
{
    readDeferred();
    return m_descriptions;
}

void FirmwareCatalog::readDeferred() const
{
    if (!m_deferred)
        return;
    const auto read = std::exchange(m_deferred, nullptr);
    // Only a catalog made to be filled has anything deferred: none is const itself.
    read(const_cast<FirmwareCatalog&>(*this));
}

} // namespace klavoset
