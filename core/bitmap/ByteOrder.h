#pragma once

// Little-endian field access for DIB and BMP headers. Headers sit at any
// byte offset inside a block, so fields are assembled byte by byte rather
// than read through a cast structure.

#include <cstdint>

namespace kestrel::bytes {

inline std::uint16_t ReadU16(const std::uint8_t* p)
{
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

inline std::uint32_t ReadU32(const std::uint8_t* p)
{
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8)
           | (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

inline std::uint64_t ReadU64(const std::uint8_t* p)
{
    return static_cast<std::uint64_t>(ReadU32(p))
           | (static_cast<std::uint64_t>(ReadU32(p + 4)) << 32);
}

inline std::int32_t ReadI32(const std::uint8_t* p)
{
    return static_cast<std::int32_t>(ReadU32(p));
}

inline void WriteU16(std::uint8_t* p, std::uint16_t value)
{
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
}

inline void WriteU32(std::uint8_t* p, std::uint32_t value)
{
    p[0] = static_cast<std::uint8_t>(value);
    p[1] = static_cast<std::uint8_t>(value >> 8);
    p[2] = static_cast<std::uint8_t>(value >> 16);
    p[3] = static_cast<std::uint8_t>(value >> 24);
}

inline void WriteI32(std::uint8_t* p, std::int32_t value)
{
    WriteU32(p, static_cast<std::uint32_t>(value));
}

}  // namespace kestrel::bytes
