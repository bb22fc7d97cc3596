#pragma once

#include <utility>
#include <variant>

namespace klavoset {

// A value or the reason there is none; failures cross module borders as values, never as exceptions.
template <typename T, typename E>
class Result
{
public:
    static Result ok(T value) { return Result(std::variant<T, E>(std::in_place_index<0>, std::move(value))); }
    static Result fail(E error) { return Result(std::variant<T, E>(std::in_place_index<1>, std::move(error))); }

    [[nodiscard]] bool isOk() const { return m_state.index() == 0; }
    [[nodiscard]] const T& value() const& { return std::get<0>(m_state); }
    [[nodiscard]] T&& value() && { return std::get<0>(std::move(m_state)); }
    [[nodiscard]] const E& error() const { return std::get<1>(m_state); }

private:
    explicit Result(std::variant<T, E> state) : m_state(std::move(state)) {}
    std::variant<T, E> m_state;
};

} // namespace klavoset
