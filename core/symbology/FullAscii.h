#pragma once

#include "symbology/Refusal.h"

#include <array>
#include <string>
#include <string_view>

namespace kestrel {

// The published full-ASCII Code 39 table: 0-9, A-Z, space, - and . stand for
// themselves; every other code is a prefix ($ % / +) and a letter or digit.
inline constexpr std::array<std::string_view, 128> FullAsciiTable{
    "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I", "$J", "$K", "$L", "$M", "$N", "$O",
    "$P", "$Q", "$R", "$S", "$T", "$U", "$V", "$W", "$X", "$Y", "$Z", "%A", "%B", "%C", "%D", "%E",
    " ",  "/A", "/B", "/C", "/D", "/E", "/F", "/G", "/H", "/I", "/J", "/K", "/L", "-",  ".",  "/O",
    "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "/Z", "%F", "%G", "%H", "%I", "%J",
    "%V", "A",  "B",  "C",  "D",  "E",  "F",  "G",  "H",  "I",  "J",  "K",  "L",  "M",  "N",  "O",
    "P",  "Q",  "R",  "S",  "T",  "U",  "V",  "W",  "X",  "Y",  "Z",  "%K", "%L", "%M", "%N", "%O",
    "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H", "+I", "+J", "+K", "+L", "+M", "+N", "+O",
    "+P", "+Q", "+R", "+S", "+T", "+U", "+V", "+W", "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S", "%T",
};


// The full-ASCII table shared by Extended Code 39 and Extended Code 93: each
// code 0 to 127 as one or two Code 39 characters. Bytes 128 to 255 (half-width
// katakana, double-byte text) have none: an empty expansion. Inline: it runs
// for every character of those symbologies.
inline std::string_view FullAsciiExpansion(unsigned char code)
{
    // Clearing the top bit would draw other characters than the user typed.
    return code < FullAsciiTable.size() ? FullAsciiTable[code] : std::string_view();
}

// Every character of the text is ASCII, so the full-ASCII symbologies can
// draw it.
Refusal RuleFullAsciiCharacters(const std::string& text);

}  // namespace kestrel
