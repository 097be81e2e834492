#pragma once

#include <array>
#include <string_view>

namespace kestrel {

// The symbology index held in `CodeType`; also the item index of the code
// dialog's type list.
enum Symbology : int {
    Jan13 = 0,
    Jan8 = 1,
    Itf = 2,
    Stf = 3,
    Codabar = 4,
    Code39 = 5,
    Code39Extended = 6,
    Code93 = 7,
    Code93Extended = 8,
    Code11OneCheck = 9,
    Code11TwoChecks = 10,
    Code128B = 11,
};

inline constexpr int SymbologyCount = 12;

inline bool IsSymbology(int codeType) { return codeType >= 0 && codeType < SymbologyCount; }

// Short names for command lines, in index order.
inline constexpr std::array<std::string_view, SymbologyCount> SymbologyKeys{
    "jan13", "jan8", "itf", "stf", "codabar", "code39", "code39ext",
    "code93", "code93ext", "code11", "code11-2", "code128"};

// The names the user sees in the type list (UTF-8), in index order.
inline constexpr std::array<std::string_view, SymbologyCount> SymbologyNames{
    "JAN-13",
    "JAN-8",
    "ITF(ｲﾝﾀﾘｰﾌﾞﾄﾞ2of5)",
    "STF(ｽﾀﾝﾀﾞｰﾄﾞ2of5)",
    "Codabar (NW-7)",
    "Code 39",
    "Extended Code 39",
    "Code 93",
    "Extended Code 93",
    "Code 11 (Check one)",
    "Code 11 (Check two)",
    "Code 128 (Only Code B)"};

}  // namespace kestrel
