#pragma once

#include <cstdint>

namespace simserver::done {
constexpr std::uint16_t more = 0x0001;
constexpr std::uint16_t error = 0x0002;
constexpr std::uint16_t count = 0x0010;
constexpr std::uint16_t attention = 0x0020;
constexpr std::uint16_t selectCommand = 0x00C1;
} // namespace simserver::done
