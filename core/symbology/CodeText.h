#pragma once

#include <cstddef>
#include <string>

namespace kestrel {

// The data of a barcode: 8-bit text in code page 932, so a double-byte
// character takes two bytes and every byte value 0 to 255 may appear.
// Conversion to and from Unicode happens only at the edges of the program.
using CodeText = std::string;

constexpr bool IsDigit(char c)
{
    return c >= '0' && c <= '9';
}
constexpr bool IsLower(char c)
{
    return c >= 'a' && c <= 'z';
}
constexpr bool IsUpper(char c)
{
    return c >= 'A' && c <= 'Z';
}
constexpr char ToUpper(char c)
{
    return IsLower(c) ? static_cast<char>(c - 'a' + 'A') : c;
}
constexpr unsigned char Byte(char c)
{
    return static_cast<unsigned char>(c);
}
// A digit as an index into a per-digit table.
constexpr std::size_t DigitIndex(char digit)
{
    return static_cast<std::size_t>(digit - '0');
}

}  // namespace kestrel
