#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

namespace kestrel {

// Turns rows of digit strings ("1112212111") into a table of small counts at
// compile time. A row of the wrong length or with a character other than a
// digit 1 to 4 stops the build, so a typo in a published table cannot ship.
template <std::size_t Width, std::size_t Rows>
consteval std::array<std::array<std::uint8_t, Width>, Rows>
PatternTable(const char* const (&rows)[Rows])
{
    std::array<std::array<std::uint8_t, Width>, Rows> table{};
    for (std::size_t row = 0; row < Rows; ++row) {
        for (std::size_t i = 0; i < Width; ++i) {
            const char digit = rows[row][i];
            if (digit < '1' || digit > '4') {
                throw "pattern digit out of range or row too short";
            }
            table[row][i] = static_cast<std::uint8_t>(digit - '0');
        }
        if (rows[row][Width] != '\0') {
            throw "pattern row too long";
        }
    }
    return table;
}

// The sum of one row, for tables whose rows have a fixed module count.
template <std::size_t Width>
consteval int PatternSum(const std::array<std::uint8_t, Width>& row)
{
    int sum = 0;
    for (const auto units : row) {
        sum += units;
    }
    return sum;
}

}  // namespace kestrel
