// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <array>
#include <cstdint>

namespace klavoset {

// A paged pointer (in-page offset low, high, page low, high) names the phone's address
// page × kPageSize + in-page offset. The image's last byte sits just below kAddressTop − correction, so
// an address maps to the image offset address − kAddressTop + image size + correction. This header is the
// one place of that rule: the decoder, the writer and the finder all go through it.
inline constexpr std::int64_t kAddressTop = 0x1000000;
inline constexpr std::int64_t kPageSize = 0x4000;
inline constexpr std::uint32_t kInPageBits = 0x3FFF;
// Pages from here on are none the phone has.
inline constexpr std::uint32_t kPageLimit = 0x8000;
// The corrections the decoder may settle on, one step apart.
inline constexpr std::int32_t kCorrectionStep = 0x200000;
inline constexpr std::array<std::int32_t, 3> kAddressCorrections = {0, kCorrectionStep, 2 * kCorrectionStep};

// The address of the pointer's four bytes, or −1 for a page the phone cannot have.
[[nodiscard]] constexpr std::int64_t pointerAddress(std::uint32_t inPage, std::uint32_t page)
{
    if (page >= kPageLimit)
        return -1;
    return static_cast<std::int64_t>(page) * kPageSize + (inPage & kInPageBits);
}

[[nodiscard]] constexpr std::int64_t imageOffsetOf(std::int64_t address, std::int64_t imageSize,
                                                   std::int32_t correction)
{
    return address - kAddressTop + imageSize + correction;
}

[[nodiscard]] constexpr std::int64_t addressOfOffset(std::int64_t offset, std::int64_t imageSize,
                                                     std::int32_t correction)
{
    return offset + kAddressTop - imageSize - correction;
}

// Whether a pointer can name this image offset: an address of no negative value on a page the phone has.
[[nodiscard]] constexpr bool offsetMaps(std::int64_t offset, std::int64_t imageSize, std::int32_t correction)
{
    const std::int64_t address = addressOfOffset(offset, imageSize, correction);
    return address >= 0 && address / kPageSize < kPageLimit;
}

// Where the decoder lands for an offset computed under `correction`: an offset below the image's start
// moves it one correction step up, and one more if that is not enough.
struct SettledOffset
{
    std::int64_t offset = 0;
    std::int32_t correction = 0;
};

[[nodiscard]] constexpr SettledOffset settleCorrection(std::int64_t offset, std::int32_t correction)
{
    if (offset >= 0)
        return {offset, correction};
    if (offset + kCorrectionStep >= 0)
        return {offset + kCorrectionStep, kCorrectionStep};
    return {offset + 2 * kCorrectionStep, 2 * kCorrectionStep};
}

} // namespace klavoset
