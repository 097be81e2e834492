#include "symbology/Code128.h"

#include "symbology/PatternTable.h"

namespace kestrel {

namespace {

// The published Code 128 table, values 0 to 102: six module counts per
// character, bar first, eleven modules.
constexpr const char* Code128Rows[] = {
    "212222", "222122", "222221", "121223", "121322", "131222", "122213", "122312", "132212",
    "221213", "221312", "231212", "112232", "122132", "122231", "113222", "123122", "123221",
    "223211", "221132", "221231", "213212", "223112", "312131", "311222", "321122", "321221",
    "312212", "322112", "322211", "212123", "212321", "232121", "111323", "131123", "131321",
    "112313", "132113", "132311", "211313", "231113", "231311", "112133", "112331", "132131",
    "113123", "113321", "133121", "313121", "211331", "231131", "213113", "213311", "213131",
    "311123", "311321", "331121", "312113", "312311", "332111", "314111", "221411", "431111",
    "111224", "111422", "121124", "121421", "141122", "141221", "112214", "112412", "122114",
    "122411", "142112", "142211", "241211", "221114", "413111", "241112", "134111", "111242",
    "121142", "121241", "114212", "124112", "124211", "411212", "421112", "421211", "212141",
    "214121", "412121", "111143", "111341", "131141", "114113", "114311", "411113", "411311",
    "113141", "114131", "311141", "411131",
};
constexpr auto Code128Patterns = PatternTable<6>(Code128Rows);
static_assert(Code128Patterns.size() == 103);
static_assert(PatternSum(Code128Patterns[0]) == 11 && PatternSum(Code128Patterns[102]) == 11);

constexpr auto Code128Drawn = DrawModulesTable(Code128Patterns, true);
constexpr DrawnPattern<6> StartB{-2, 1, -1, 2, -1, 4};
constexpr DrawnPattern<7> Stop{-2, 3, -3, 1, -1, 1, -2};
constexpr int StartBValue = 104;

}  // namespace

int Code128BValue(char c)
{
    const int code = Byte(c);
    return code >= 32 && code <= 127 ? code - 32 : -1;
}

Refusal RuleCode128Characters(const CodeText& text)
{
    for (const char c : text) {
        if (Code128BValue(c) < 0) {
            return Refusal::NoPattern;
        }
    }
    return Refusal::None;
}

Refusal AcceptCode128B(RuleInput& input)
{
    return RuleCode128Characters(input.text);
}

EncodeResult EncodeCode128(const CodeText& text, const EncodeSettings& settings,
                           SequenceBuilder& out, TextCompletion&)
{
    out.appendPattern(StartB);
    int sum = StartBValue;
    int position = 1;
    for (const char c : text) {
        // Leaving a character out would draw other data than the text and
        // shift the check character's weights, so a scanner would read
        // something else or nothing: such a text has no symbol.
        const int value = Code128BValue(c);
        if (value < 0) {
            return EncodeResult::Unencodable(Refusal::NoPattern);
        }
        out.appendPattern(Code128Drawn[static_cast<std::size_t>(value)]);
        sum += value * position;
        if (out.failed()) {
            return EncodeResult::Drawn(out.refusal());  // a long text stops at the capacity
        }
        // Reduced once per 103 characters rather than per character (a
        // division on every character's path): the sum cannot overflow
        // before, and only its remainder counts.
        if (position == 103) {
            sum %= 103;
            position = 1;
        } else {
            ++position;
        }
    }
    if (settings.autoAdd) {
        out.appendPattern(Code128Drawn[static_cast<std::size_t>(sum % 103)]);
    }
    out.appendPattern(Stop);
    return EncodeResult::Drawn(out.refusal());
}

}  // namespace kestrel
