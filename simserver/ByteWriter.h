#pragma once

// Builds token streams: TDS numbers are little-endian except the few header fields that are
// big-endian; lengths are written as placeholders and patched once the body is known.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace simserver {

using Bytes = std::vector<std::uint8_t>;

class ByteWriter {
public:
    void u8(std::uint8_t value);
    void u16(std::uint16_t value);
    void u32(std::uint32_t value);
    void u64(std::uint64_t value);
    void u16be(std::uint16_t value);
    void u32be(std::uint32_t value);
    void f64(double value);
    void raw(std::string_view bytes);
    void raw(const Bytes &bytes);
    void zeros(std::size_t count);

    std::size_t size() const { return bytes_.size(); }
    void patchU16(std::size_t at, std::uint16_t value);
    void patchU32(std::size_t at, std::uint32_t value);

    // Opens a token whose length field (2 or 4 bytes) covers everything written until closeToken.
    std::size_t openToken(std::uint8_t token, int lengthBytes = 2);
    void closeToken(std::size_t mark, int lengthBytes = 2);

    const Bytes &bytes() const { return bytes_; }

private:
    Bytes bytes_;
};

} // namespace simserver
