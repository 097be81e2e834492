#include "symbology/FullAscii.h"

#include "symbology/ValidationResult.h"

#include <array>

namespace kestrel {

namespace {

// The published full-ASCII Code 39 table: 0-9, A-Z, space, - and . stand for
// themselves; every other code is a prefix ($ % / +) and a letter or digit.
constexpr std::array<std::string_view, 128> Table{
    "%U", "$A", "$B", "$C", "$D", "$E", "$F", "$G", "$H", "$I", "$J", "$K", "$L", "$M", "$N", "$O",
    "$P", "$Q", "$R", "$S", "$T", "$U", "$V", "$W", "$X", "$Y", "$Z", "%A", "%B", "%C", "%D", "%E",
    " ",  "/A", "/B", "/C", "/D", "/E", "/F", "/G", "/H", "/I", "/J", "/K", "/L", "-",  ".",  "/O",
    "0",  "1",  "2",  "3",  "4",  "5",  "6",  "7",  "8",  "9",  "/Z", "%F", "%G", "%H", "%I", "%J",
    "%V", "A",  "B",  "C",  "D",  "E",  "F",  "G",  "H",  "I",  "J",  "K",  "L",  "M",  "N",  "O",
    "P",  "Q",  "R",  "S",  "T",  "U",  "V",  "W",  "X",  "Y",  "Z",  "%K", "%L", "%M", "%N", "%O",
    "%W", "+A", "+B", "+C", "+D", "+E", "+F", "+G", "+H", "+I", "+J", "+K", "+L", "+M", "+N", "+O",
    "+P", "+Q", "+R", "+S", "+T", "+U", "+V", "+W", "+X", "+Y", "+Z", "%P", "%Q", "%R", "%S", "%T",
};

}  // namespace

std::string_view FullAsciiExpansion(unsigned char code)
{
    // Clearing the top bit would draw other characters than the user typed.
    return code < Table.size() ? Table[code] : std::string_view();
}

int RuleFullAsciiCharacters(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= Table.size()) {
            return BadCharacter;
        }
    }
    return Accepted;
}

}  // namespace kestrel
