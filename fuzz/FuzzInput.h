// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace klavoset::fuzz {

// Takes a fuzzer's bytes apart into choices and texts; past the end every read gives zeros.
class FuzzInput
{
  public:
    FuzzInput(const std::uint8_t* data, std::size_t size) : m_data(data), m_size(size) {}

    [[nodiscard]] bool empty() const { return m_at >= m_size; }
    [[nodiscard]] std::uint8_t byte() { return m_at < m_size ? m_data[m_at++] : 0; }

    // A length of 0..509: one byte, and a second one added when the first is 255, so that texts past
    // the 255 units a key entry can count are reached as well.
    [[nodiscard]] std::size_t length()
    {
        const std::size_t first = byte();
        return first == 255 ? first + byte() : first;
    }

    // Up to n code units, little-endian, any values (lone surrogates and U+8000 and above included).
    [[nodiscard]] std::u16string units(std::size_t n)
    {
        std::u16string text;
        while (text.size() < n && m_at + 1 < m_size) {
            text += static_cast<char16_t>(m_data[m_at] | (m_data[m_at + 1] << 8));
            m_at += 2;
        }
        return text;
    }

  private:
    const std::uint8_t* m_data;
    std::size_t m_size;
    std::size_t m_at = 0;
};

} // namespace klavoset::fuzz
