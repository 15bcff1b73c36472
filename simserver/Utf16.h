#pragma once

// TDS 7.x carries every string as UTF-16LE; the engine speaks UTF-8.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace simserver::utf16 {

std::u16string fromUtf8(std::string_view utf8);
std::string toUtf8(std::u16string_view text);
// `units` UTF-16 code units stored little-endian at `data`.
std::string decodeLittleEndian(const std::uint8_t *data, std::size_t units);

} // namespace simserver::utf16
