#include "symbology/Codabar.h"

#include "symbology/CodabarCheck.h"
#include "symbology/PatternTable.h"
#include "symbology/ValidationResult.h"

namespace kestrel {

namespace {

// The published Codabar (NW-7) table in value order 0-9, - $ : / . +, A-D:
// seven marks per character, bar first, 1 narrow and 2 wide.
constexpr const char* CodabarRows[] = {
    "1111122", "1111221", "1112112", "2211111", "1121121", "2111121", "1211112",
    "1211211", "1221111", "2112111", "1112211", "1122111", "2111212", "2121112",
    "2121211", "1121212", "1122121", "1212112", "1112122", "1112221",
};
constexpr auto CodabarPatterns = PatternTable<7>(CodabarRows);
static_assert(CodabarPatterns.size() == 20);

}  // namespace

int CodabarValue(char c)
{
    if (IsDigit(c)) {
        return c - '0';
    }
    switch (c) {
    case '-': return 10;
    case '$':
    case '\\': return 11;
    case ':': return 12;
    case '/': return 13;
    case '.': return 14;
    case '+': return 15;
    case 'A': case 'a': case 't': return 16;
    case 'B': case 'b': case 'n': return 17;
    case 'C': case 'c': case '*': return 18;
    case 'D': case 'd': case 'e': return 19;
    default: return -1;
    }
}

bool IsCodabarStartStop(char c)
{
    return (c >= 'A' && c <= 'D') || (c >= 'a' && c <= 'd');
}

EncodeOutcome EncodeCodabar(CodeText& text, const EncodeSettings& settings,
                            SequenceBuilder& out)
{
    if (settings.check) {
        CodeText copy = text;
        if (RuleCodabarCheck(copy, false, settings.codabarCheckMethod) != Accepted) {
            return EncodeOutcome::Refused;
        }
    }
    ElementUnits units{};
    if (!UnitsForAspect(settings.aspect, units)) {
        return EncodeOutcome::Unencodable;
    }
    if (text.empty() || !IsCodabarStartStop(text.front())) {
        text.insert(text.begin(), settings.codabarStart);
    }
    if (!IsCodabarStartStop(text.back())) {
        text += settings.codabarStop;
    }
    for (const char c : text) {
        const int value = CodabarValue(c);
        if (value < 0) {
            return EncodeOutcome::Unencodable;
        }
        out.appendNarrowWide(CodabarPatterns[static_cast<std::size_t>(value)], units.narrow,
                             units.wide);
        out.append(false, settings.codabarGapX);
    }
    return out.failed() ? EncodeOutcome::Unencodable : EncodeOutcome::Built;
}

}  // namespace kestrel
