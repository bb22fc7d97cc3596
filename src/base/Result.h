// SPDX-FileCopyrightText: 2026 Klavoset developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <optional>
#include <utility>

namespace klavoset {

// A value or the reason there is none; failures cross module borders as values, never as exceptions.
template <typename T, typename E> class Result
{
  public:
    static Result ok(T value)
    {
        Result r;
        r.m_value.emplace(std::move(value));
        return r;
    }
    static Result fail(E error)
    {
        Result r;
        r.m_error = std::move(error);
        return r;
    }

    [[nodiscard]] bool isOk() const { return m_value.has_value(); }
    [[nodiscard]] const T& value() const& { return *m_value; }
    [[nodiscard]] T&& value() && { return *std::move(m_value); }
    [[nodiscard]] const E& error() const& { return m_error; }
    [[nodiscard]] E&& error() && { return std::move(m_error); }

  private:
    Result() = default;
    std::optional<T> m_value;
    E m_error{};
};

} // namespace klavoset
