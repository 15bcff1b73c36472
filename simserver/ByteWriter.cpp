#include "ByteWriter.h"

#include <bit>
#include <cstring>

namespace simserver {

void ByteWriter::u8(std::uint8_t value) { bytes_.push_back(value); }

void ByteWriter::u16(std::uint16_t value)
{
    u8(value & 0xFF);
    u8(value >> 8);
}

void ByteWriter::u32(std::uint32_t value)
{
    u16(value & 0xFFFF);
    u16(value >> 16);
}

void ByteWriter::u64(std::uint64_t value)
{
    u32(value & 0xFFFFFFFFu);
    u32(value >> 32);
}

void ByteWriter::u16be(std::uint16_t value)
{
    u8(value >> 8);
    u8(value & 0xFF);
}

void ByteWriter::u32be(std::uint32_t value)
{
    u16be(value >> 16);
    u16be(value & 0xFFFF);
}

void ByteWriter::f64(double value) { u64(std::bit_cast<std::uint64_t>(value)); }

void ByteWriter::raw(std::string_view bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }

void ByteWriter::raw(const Bytes &bytes) { bytes_.insert(bytes_.end(), bytes.begin(), bytes.end()); }

void ByteWriter::zeros(std::size_t count) { bytes_.insert(bytes_.end(), count, 0); }

void ByteWriter::patchU16(std::size_t at, std::uint16_t value)
{
    bytes_[at] = value & 0xFF;
    bytes_[at + 1] = value >> 8;
}

void ByteWriter::patchU32(std::size_t at, std::uint32_t value)
{
    patchU16(at, value & 0xFFFF);
    patchU16(at + 2, value >> 16);
}

std::size_t ByteWriter::openToken(std::uint8_t token, int lengthBytes)
{
    u8(token);
    const std::size_t mark = size();
    zeros(lengthBytes);
    return mark;
}

void ByteWriter::closeToken(std::size_t mark, int lengthBytes)
{
    const std::size_t length = size() - mark - lengthBytes;
    if (lengthBytes == 2)
        patchU16(mark, static_cast<std::uint16_t>(length));
    else
        patchU32(mark, static_cast<std::uint32_t>(length));
}

} // namespace simserver
