#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"

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

// A row of module counts drawn with alternating colours from `firstIsBar`.
template <std::size_t Width>
consteval DrawnPattern<Width> DrawModules(const std::array<std::uint8_t, Width>& modules,
                                          bool firstIsBar)
{
    DrawnPattern<Width> drawn{};
    bool bar = firstIsBar;
    for (std::size_t i = 0; i < Width; ++i) {
        if (modules[i] > MaxDrawnUnits) {
            throw "element wider than MaxDrawnUnits";
        }
        drawn[i] = bar ? -modules[i] : modules[i];
        bar = !bar;
    }
    return drawn;
}

template <std::size_t Width, std::size_t Rows>
consteval std::array<DrawnPattern<Width>, Rows>
DrawModulesTable(const std::array<std::array<std::uint8_t, Width>, Rows>& table, bool firstIsBar)
{
    std::array<DrawnPattern<Width>, Rows> drawn{};
    for (std::size_t row = 0; row < Rows; ++row) {
        drawn[row] = DrawModules(table[row], firstIsBar);
    }
    return drawn;
}

// A row of narrow (1) and wide (2) marks drawn bar first at the given units.
template <std::size_t Width>
consteval DrawnPattern<Width> DrawNarrowWide(const std::array<std::uint8_t, Width>& marks,
                                             ElementUnits units)
{
    std::array<std::uint8_t, Width> modules{};
    for (std::size_t i = 0; i < Width; ++i) {
        if (marks[i] != 1 && marks[i] != 2) {
            throw "narrow/wide mark other than 1 or 2";
        }
        modules[i] = static_cast<std::uint8_t>(marks[i] == 2 ? units.wide : units.narrow);
    }
    return DrawModules(modules, true);
}

// A narrow/wide table drawn at each ratio of the "線幅比" choice, indexed
// [aspect][row], so an encoder picks its ratio once and then only copies.
template <std::size_t Width, std::size_t Rows>
consteval std::array<std::array<DrawnPattern<Width>, Rows>, AspectCount>
DrawNarrowWideTable(const std::array<std::array<std::uint8_t, Width>, Rows>& table)
{
    std::array<std::array<DrawnPattern<Width>, Rows>, AspectCount> drawn{};
    for (int aspect = 0; aspect < AspectCount; ++aspect) {
        for (std::size_t row = 0; row < Rows; ++row) {
            drawn[static_cast<std::size_t>(aspect)][row] = DrawNarrowWide(table[row],
                                                                          AspectUnits[aspect]);
        }
    }
    return drawn;
}

// The value of every byte under `valueOf` (-1 for none), so an encoder looks
// a character up instead of branching on it.
template <typename ValueOf>
consteval std::array<std::int8_t, 256> ByteValueTable(ValueOf valueOf)
{
    std::array<std::int8_t, 256> table{};
    for (int code = 0; code < 256; ++code) {
        table[static_cast<std::size_t>(code)] = static_cast<std::int8_t>(
            valueOf(static_cast<char>(code)));
    }
    return table;
}

}  // namespace kestrel
