// Worked examples of every encoder, element by element.

#include "TestSupport.h"

#include "symbology/FullAscii.h"
#include "symbology/Symbology.h"

#include <gtest/gtest.h>

#include <numeric>
#include <string>
#include <utility>
#include <vector>

namespace kestrel {
namespace {

using test::EncodeWith;
using test::Slice;

EncodeSettings Settings(int aspect = 0, int narrowWidth = 1, int autoAdd = 0, int check = 0)
{
    EncodeSettings settings;
    settings.aspect = aspect;
    settings.narrowWidth = narrowWidth;
    settings.autoAdd = autoAdd;
    settings.check = check;
    return settings;
}

int TotalWidth(const std::vector<int>& elements)
{
    return std::accumulate(elements.begin(), elements.end(), 0,
                           [](int sum, int e) { return sum + (e < 0 ? -e : e); });
}

struct WholeSequenceCase {
    const char* name;
    int codeType;
    CodeText text;
    EncodeSettings settings;
    std::vector<int> expected;

    friend void PrintTo(const WholeSequenceCase& c, std::ostream* os) { *os << c.name; }
};

class WholeSequence : public ::testing::TestWithParam<WholeSequenceCase> {};

TEST_P(WholeSequence, MatchesTheWorkedExample)
{
    const auto& c = GetParam();
    const auto encoded = EncodeWith(c.codeType, c.text, c.settings);
    EXPECT_EQ(encoded.result, 1);
    EXPECT_EQ(encoded.elements, c.expected);
}

// A row a case, its elements laid out by hand.
// clang-format off
INSTANTIATE_TEST_SUITE_P(
    Encoders, WholeSequence,
    ::testing::Values(
        WholeSequenceCase{"ItfPairOneToTwo", Itf, "12", Settings(0),
                          {-1, 1, -1, 1, -2, 1, -1, 2, -1, 1, -1, 1, -2, 2, -2, 1, -1}},
        // Start and the stop's narrow pair stay one unit under 2:5.
        WholeSequenceCase{"ItfPairTwoToFive", Itf, "12", Settings(1),
                          {-1, 1, -1, 1, -5, 2, -2, 5, -2, 2, -2, 2, -5, 5, -5, 1, -1}},
        WholeSequenceCase{"ItfEmptyIsStartAndStop", Itf, "", Settings(0, 2),
                          {-2, 2, -2, 2, -4, 2, -2}},
        WholeSequenceCase{"StfOneToThreeNarrowTwo", Stf, "1", Settings(2, 2),
                          {-2, 2, -2, 2, -6, 2, -2, 2, -2, 2, -2, 2, -6, 2, -6, 2, -2}},
        WholeSequenceCase{"StfTwoToFive", Stf, "1", Settings(1),
                          {-1, 1, -1, 1, -5, 1, -2, 1, -2, 1, -2, 1, -5, 1, -5, 2, -2}},
        WholeSequenceCase{"CodabarA1B", Codabar, "A1B", Settings(0),
                          {-1, 1, -2, 2, -1, 2, -1, 1, -1, 1, -1, 1, -2, 2, -1, 1,
                           -1, 2, -1, 2, -1, 1, -2, 1}},
        WholeSequenceCase{"Code11OneHyphen", Code11OneCheck, "1-", Settings(0),
                          {-1, 1, -2, 2, -1, 1, -2, 1, -1, 1, -2, 1, -1, 1, -2, 1, -1, 1,
                           -1, 1, -2, 2, -1}},
        // Gaps and the stop's narrow elements stay one unit under 2:5.
        WholeSequenceCase{"Code11TwoToFive", Code11TwoChecks, "1-", Settings(1),
                          {-2, 2, -5, 5, -2, 1, -5, 2, -2, 2, -5, 1, -2, 2, -5, 2, -2, 1,
                           -1, 1, -5, 5, -1}},
        WholeSequenceCase{"Code128SpaceNoCheck", Code128B, " ", Settings(),
                          {-2, 1, -1, 2, -1, 4, -2, 1, -2, 2, -2, 2, -2, 3, -3, 1, -1, 1, -2}},
        WholeSequenceCase{"Code128ABWithCheck", Code128B, "AB", Settings(0, 1, 1),
                          {-2, 1, -1, 2, -1, 4, -1, 1, -1, 3, -2, 3, -1, 3, -1, 1, -2, 3,
                           -4, 1, -1, 1, -3, 1, -2, 3, -3, 1, -1, 1, -2}}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

TEST(JanEncoder, Jan13StartsWithGuardThenParityChosenByLeadingDigit)
{
    const auto encoded = EncodeWith(Jan13, "4901234567894", Settings(0, 1, 0, 1));
    ASSERT_EQ(encoded.result, 1);
    ASSERT_EQ(encoded.elements.size(), 59U);
    // Guard, 9 from set L, 0 from set G (leading 4 gives L G L L G G).
    EXPECT_EQ(Slice(encoded.elements, 0, 11),
              (std::vector<int>{-1, 1, -1, 3, -1, 1, -2, 1, -1, 2, -3}));
    EXPECT_EQ(Slice(encoded.elements, 27, 5), (std::vector<int>{1, -1, 1, -1, 1}));
    EXPECT_EQ(Slice(encoded.elements, 56, 3), (std::vector<int>{-1, 1, -1}));
    EXPECT_EQ(TotalWidth(encoded.elements), 95);
}

TEST(JanEncoder, ModuleTotalsScaleWithNarrowWidth)
{
    for (const int narrow : {1, 2, 7}) {
        const auto jan13 = EncodeWith(Jan13, "4901234567894", Settings(0, narrow));
        const auto jan8 = EncodeWith(Jan8, "12345670", Settings(0, narrow));
        EXPECT_EQ(TotalWidth(jan13.elements), 95 * narrow);
        EXPECT_EQ(TotalWidth(jan8.elements), 67 * narrow);
        EXPECT_EQ(jan8.elements.size(), 43U);
    }
}

TEST(JanEncoder, Jan8UsesSetLOnTheLeftAndRightPatternsStartWithABar)
{
    const auto encoded = EncodeWith(Jan8, "12345670", Settings(0, 1, 0, 1));
    ASSERT_EQ(encoded.result, 1);
    EXPECT_EQ(Slice(encoded.elements, 3, 4), (std::vector<int>{2, -2, 2, -1}));  // 1 in L
    EXPECT_EQ(Slice(encoded.elements, 19, 5), (std::vector<int>{1, -1, 1, -1, 1}));
    EXPECT_EQ(Slice(encoded.elements, 24, 4), (std::vector<int>{-1, 2, -3, 1}));  // 5 in R
}

TEST(JanEncoder, RefusalsLeaveThePreviousSequence)
{
    struct Case {
        CodeText text;
        int check;
    };
    const Case refused[] = {
        {"4901234567895", 1},  // wrong check digit
        {"490123456789", 0},   // one digit short, check off: still no symbol
        {"49012345678a4", 0},  // not a digit
        {"", 0},
    };
    ModuleSequence sequence;
    CodeText good = "4901234567894";
    ASSERT_EQ(EncodeNumber(EncodeSymbology(Jan13, good, Settings(0, 1, 0, 1), sequence)), 1);
    const ModuleSequence before = sequence;
    for (const auto& c : refused) {
        CodeText text = c.text;
        EXPECT_EQ(EncodeNumber(EncodeSymbology(Jan13, text, Settings(0, 1, 0, c.check), sequence)),
                  0)
            << c.text;
        EXPECT_EQ(sequence, before);
        EXPECT_EQ(text, c.text);
    }
    CodeText wrongCheck = "4901234567895";
    EXPECT_EQ(EncodeNumber(EncodeSymbology(Jan13, wrongCheck, Settings(0, 1, 0, 0), sequence)), 1)
        << "with Check off a wrong check digit is drawn as typed";
}

TEST(CodabarEncoder, AddsMissingStartAndStopAndKeepsThem)
{
    EncodeSettings settings = Settings();
    settings.codabarStart = 'b';
    settings.codabarStop = 'D';
    const auto encoded = EncodeWith(Codabar, "123", settings);
    EXPECT_EQ(encoded.text, "b123D");
    EXPECT_EQ(encoded.elements.size(), 40U);
}

TEST(CodabarEncoder, AlternativeLettersAndBackslashEncodeAsTheirEquivalents)
{
    const std::pair<CodeText, CodeText> same[] = {
        {"at1nd", "AA1BD"},
        {"c*2eb", "CC2DB"},
        {"a\\b", "A$B"},
        {"c:d", "C:D"},
    };
    for (const auto& [typed, equivalent] : same) {
        const auto a = EncodeWith(Codabar, typed, Settings());
        const auto b = EncodeWith(Codabar, equivalent, Settings());
        EXPECT_EQ(a.elements, b.elements) << typed;
        EXPECT_EQ(a.text, typed) << "the letters stay as typed";
    }
}

TEST(CodabarEncoder, TwoToFiveWithNarrowTwoAndGapThree)
{
    EncodeSettings settings = Settings(1, 2);
    settings.codabarGapX = 3;
    const auto encoded = EncodeWith(Codabar, "A1B", settings);
    ASSERT_EQ(encoded.elements.size(), 24U);
    EXPECT_EQ(Slice(encoded.elements, 0, 8), (std::vector<int>{-4, 4, -10, 10, -4, 10, -4, 6}));
}

TEST(Code39Encoder, FoldsCaseAndDrawsStarWithGap)
{
    const auto encoded = EncodeWith(Code39, "*xyz*", Settings());
    EXPECT_EQ(encoded.text, "*XYZ*");
    ASSERT_EQ(encoded.elements.size(), 50U);
    EXPECT_EQ(Slice(encoded.elements, 0, 10),
              (std::vector<int>{-1, 2, -1, 1, -2, 1, -2, 1, -1, 1}));
}

TEST(Code39Encoder, RatioAndGapScaling)
{
    auto settings = Settings(1, 1);
    const auto twoToFive = EncodeWith(Code39, "*A*", settings);
    EXPECT_EQ(Slice(twoToFive.elements, 0, 10),
              (std::vector<int>{-2, 5, -2, 2, -5, 2, -5, 2, -2, 1}));

    settings = Settings(0, 2);
    settings.code39GapX = 3;
    const auto gaps = EncodeWith(Code39, "*AB*", settings);
    ASSERT_EQ(gaps.elements.size(), 40U);
    for (std::size_t i = 9; i < gaps.elements.size(); i += 10) {
        EXPECT_EQ(gaps.elements[i], 6);
    }
}

TEST(Code39Encoder, CheckVerificationRefusesSilently)
{
    EXPECT_EQ(EncodeWith(Code39, "*CODE 39R*", Settings(0, 1, 0, 1)).result, 1);
    EXPECT_EQ(EncodeWith(Code39, "*CODE 39S*", Settings(0, 1, 0, 1)).result, 0);
    EXPECT_EQ(EncodeWith(Code39, "*A#B*", Settings()).result, 0)
        << "a character outside the table is never looked up";
}

TEST(Code39Extended, ExpandsThroughFullAsciiAndKeepsTheText)
{
    const auto a1 = EncodeWith(Code39Extended, "a1", Settings());
    EXPECT_EQ(a1.text, "a1");
    EXPECT_EQ(a1.elements.size(), 50U);
    const auto plus = EncodeWith(Code39, "*+A1*", Settings());
    EXPECT_EQ(a1.elements, plus.elements);

    EXPECT_EQ(EncodeWith(Code39Extended, "!", Settings()).elements,
              EncodeWith(Code39, "*/A*", Settings()).elements);
    // A byte above 127 has no full-ASCII expansion: drawing anything else
    // would give the scanner other data than the text.
    EXPECT_EQ(EncodeWith(Code39Extended, "A\xB1", Settings()).result, 0);
    EXPECT_EQ(EncodeWith(Code93Extended, "A\xB1", Settings()).result, 0);
}

TEST(Code39Extended, FailedCheckKeepsSequenceButStillYieldsOne)
{
    ModuleSequence sequence;
    CodeText first = "OK";
    ASSERT_EQ(EncodeNumber(EncodeSymbology(Code39Extended, first, Settings(), sequence)), 1);
    const ModuleSequence before = sequence;
    CodeText unchecked = "AB";  // framed *AB*: B is not the check of A
    EXPECT_EQ(
        EncodeNumber(EncodeSymbology(Code39Extended, unchecked, Settings(0, 1, 0, 1), sequence)),
        1);
    EXPECT_EQ(sequence, before);
}

TEST(Code39Extended, AutoAddDrawsTheLastCharacterAsCheckUnexpanded)
{
    // "a1" takes check 9 (+ A 1 = 41 + 10 + 1 = 52, 52 mod 43 = 9).
    const auto encoded = EncodeWith(Code39Extended, "a19", Settings(0, 1, 1, 1));
    EXPECT_EQ(encoded.result, 1);
    EXPECT_EQ(encoded.text, "a19");
    EXPECT_EQ(encoded.elements, EncodeWith(Code39, "*+A19*", Settings()).elements);
    // A check that is itself a prefix character must not be expanded.
    EXPECT_EQ(EncodeWith(Code39Extended, "x$", Settings(0, 1, 1)).elements,
              EncodeWith(Code39, "*+X$*", Settings()).elements);
}

TEST(Code93Encoder, Test93WithAndWithoutCheckCharacters)
{
    const auto withChecks = EncodeWith(Code93, "TEST93", Settings(0, 1, 1));
    ASSERT_EQ(withChecks.elements.size(), 61U);
    // C is + (41: 1 1 3 1 2 1), K is 6 (1 2 1 3 1 1), then the stop and bar.
    EXPECT_EQ(Slice(withChecks.elements, 42, 6), (std::vector<int>{-1, 1, -3, 1, -2, 1}));
    EXPECT_EQ(Slice(withChecks.elements, 48, 6), (std::vector<int>{-1, 2, -1, 3, -1, 1}));
    EXPECT_EQ(Slice(withChecks.elements, 54, 7), (std::vector<int>{-1, 1, -1, 1, -4, 1, -1}));
    EXPECT_EQ(EncodeWith(Code93, "TEST93", Settings()).elements.size(), 49U);
}

// C weighs 1 to 20 from the right and starts again, K weighs 1 to 15 over
// the text and C. Each pair computed by hand from those weights; zint -b 25
// -d TEXT --dump draws the same bars as our symbol of the text.
TEST(Code93Encoder, CheckCharacterWeightsStartAgainAfter20And15)
{
    const std::pair<CodeText, CodeText> cases[] = {
        {"ABCDEFGHIJKLMNO", "L6"},            // 15: K's weights start again at C
        {"CODE 93 LONG TEXT", "KC"},          // 17
        {"0123456789ABCDEFGHIJKLMN", "I$"},   // 24: C's weights start again too
        {"THE QUICK BROWN FOX JUMPS", "SU"},  // 25
    };
    for (const auto& [text, checks] : cases) {
        EXPECT_EQ(EncodeWith(Code93, text, Settings(0, 1, 1)).elements,
                  EncodeWith(Code93, text + checks, Settings()).elements)
            << text;
    }
}

TEST(Code93Encoder, FoldsLowerCaseInTheText)
{
    const auto encoded = EncodeWith(Code93, "abc", Settings());
    EXPECT_EQ(encoded.text, "ABC");
    EXPECT_EQ(encoded.elements, EncodeWith(Code93, "ABC", Settings()).elements);
}

TEST(Code93Extended, PrefixesAreShiftCharacters)
{
    const auto a = EncodeWith(Code93Extended, "a", Settings());
    EXPECT_EQ(a.text, "a");
    ASSERT_EQ(a.elements.size(), 25U);
    // (+) is 1 2 2 2 1 1, then A (2 1 1 1 1 3).
    EXPECT_EQ(Slice(a.elements, 6, 12),
              (std::vector<int>{-1, 2, -2, 2, -1, 1, -2, 1, -1, 1, -1, 3}));
    // Plain characters stand for themselves.
    EXPECT_EQ(EncodeWith(Code93Extended, "AB-1", Settings(0, 1, 1)).elements,
              EncodeWith(Code93, "AB-1", Settings(0, 1, 1)).elements);
}

// The published full-ASCII table as its runs: the codes `first` to `last`
// are `prefix` and the letters from `letter` on, or themselves without a
// prefix. Checked code by code against zint: zint -b 9 --esc -d '\xNN'
// --dump draws the same bars as zint -b 8 -d FORM --dump.
struct FullAsciiRun {
    int first;
    int last;
    char prefix;  // 0: the code stands for itself
    char letter;
};
constexpr FullAsciiRun FullAsciiRuns[] = {
    {0, 0, '%', 'U'},   {1, 26, '$', 'A'},  {27, 31, '%', 'A'},  {32, 32, 0, 0},
    {33, 44, '/', 'A'}, {45, 46, 0, 0},     {47, 47, '/', 'O'},  {48, 57, 0, 0},
    {58, 58, '/', 'Z'}, {59, 63, '%', 'F'}, {64, 64, '%', 'V'},  {65, 90, 0, 0},
    {91, 95, '%', 'K'}, {96, 96, '%', 'W'}, {97, 122, '+', 'A'}, {123, 127, '%', 'P'},
};

// Code 93's shift characters ($) (%) (/) (+), values 43 to 46 of the
// published Code 93 table, bar first; zint -b 25 draws the same after its
// start character for codes 1, 0, 33 and 97.
std::vector<int> Code93Shift(char prefix)
{
    switch (prefix) {
    case '$': return {-1, 2, -1, 2, -2, 1};
    case '%': return {-3, 1, -2, 1, -1, 1};
    case '/': return {-3, 1, -1, 1, -2, 1};
    default: return {-1, 2, -2, 2, -1, 1};
    }
}

TEST(FullAscii, EveryCodeTakesItsPublishedFormInBothExtendedSymbologies)
{
    int covered = 0;
    for (const FullAsciiRun& run : FullAsciiRuns) {
        for (int code = run.first; code <= run.last; ++code, ++covered) {
            const CodeText text(1, static_cast<char>(code));
            CodeText form;
            if (run.prefix != 0) {
                form = {run.prefix, static_cast<char>(run.letter + code - run.first)};
            } else {
                form = text;
            }
            SCOPED_TRACE("code " + std::to_string(code) + " as " + form);
            EXPECT_EQ(FullAsciiExpansion(static_cast<unsigned char>(code)), form);
            EXPECT_EQ(EncodeWith(Code39Extended, text, Settings()).elements,
                      EncodeWith(Code39, "*" + form + "*", Settings()).elements);

            // Code 93: start, the form's characters with a shift character
            // for the prefix, stop and bar.
            const auto extended = EncodeWith(Code93Extended, text, Settings()).elements;
            ASSERT_EQ(extended.size(), 6 * form.size() + 13);
            const auto last = EncodeWith(Code93, CodeText(1, form.back()), Settings()).elements;
            EXPECT_EQ(Slice(extended, 6 * form.size(), 6), Slice(last, 6, 6));
            if (run.prefix != 0) {
                EXPECT_EQ(Slice(extended, 6, 6), Code93Shift(run.prefix));
            }
        }
    }
    EXPECT_EQ(covered, 128);
}

TEST(Code128Encoder, ATextWithACharacterOutsideSetBIsRefused)
{
    // Leaving the line feed out would draw "AB" with a check character
    // weighted for three positions, which no scanner accepts.
    for (const CodeText& text : {CodeText("A\nB"), CodeText("AB\xB1"), CodeText("A\0B", 3)}) {
        EXPECT_EQ(EncodeWith(Code128B, text, Settings(0, 1, 1)).result, 0);
    }
    // DEL is the last character of set B.
    EXPECT_EQ(EncodeWith(Code128B, "A\x7F", Settings(0, 1, 1)).elements.size(), 31U);
}

struct CountCase {
    int codeType;
    CodeText text;
    int autoAdd;
    std::size_t expected;
};

TEST(ElementCounts, FollowTheSymbologyFormulas)
{
    const CountCase cases[] = {
        {Itf, "123456", 0, 5 * 6 + 7},
        {Stf, "12345", 0, 10 * 5 + 7},
        {Codabar, "A12345B", 0, 8 * 7},
        {Code39, "*ABC*", 0, 10 * 5},
        {Code39Extended, "ab", 0, 10 * 4 + 20},
        {Code93, "ABCDE", 0, 6 * 5 + 13},
        {Code93, "ABCDE", 1, 6 * 5 + 25},
        {Code93Extended, "ab", 1, 6 * 4 + 25},
        {Code11OneCheck, "123-45", 0, 6 * 6 + 11},
        {Code128B, "Hello", 0, 6 * 5 + 13},
        {Code128B, "Hello", 1, 6 * 5 + 19},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeWith(c.codeType, c.text, Settings(0, 1, c.autoAdd)).elements.size(),
                  c.expected)
            << "type " << c.codeType << " text " << c.text;
    }
}

TEST(Capacity, TheLastFittingLengthEncodesAndOneMoreIsRefused)
{
    struct Case {
        int codeType;
        CodeText fitting;  // exactly at or just under 512 elements
        CodeText tooLong;
    };
    const Case cases[] = {
        {Itf, std::string(100, '1'), std::string(102, '1')},
        {Stf, std::string(50, '1'), std::string(51, '1')},
        {Codabar, "A" + std::string(62, '1') + "A", "A" + std::string(63, '1') + "A"},
        {Code39, "*" + std::string(49, 'A') + "*", "*" + std::string(50, 'A') + "*"},
        {Code93, std::string(83, 'A'), std::string(84, 'A')},
        {Code11OneCheck, std::string(83, '1'), std::string(84, '1')},
        {Code128B, std::string(83, 'A'), std::string(84, 'A')},
    };
    for (const auto& c : cases) {
        ModuleSequence sequence;
        CodeText fitting = c.fitting;
        EXPECT_EQ(EncodeNumber(EncodeSymbology(c.codeType, fitting, Settings(), sequence)), 1)
            << c.codeType;
        const ModuleSequence before = sequence;
        CodeText tooLong = c.tooLong;
        EXPECT_EQ(EncodeNumber(EncodeSymbology(c.codeType, tooLong, Settings(), sequence)), 0)
            << c.codeType;
        EXPECT_EQ(sequence, before);
        EXPECT_LE(sequence.count, ModuleSequence::Capacity);
    }
}

TEST(Geometry, ImpossibleRatioNarrowWidthOrGapIsRefused)
{
    EncodeSettings badGap = Settings();
    badGap.code39GapX = 0;
    EncodeSettings hugeWidth = Settings(0, 1 << 30);
    const struct {
        int codeType;
        CodeText text;
        EncodeSettings settings;
    } cases[] = {
        {Itf, "12", Settings(3)},
        {Code39, "*A*", Settings(-1)},
        {Jan13, "4901234567894", Settings(0, 0)},
        {Code128B, "A", Settings(0, -2)},
        {Code39, "*A*", badGap},
        {Code11OneCheck, "1", hugeWidth},  // a wide element would not fit 32 bits
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EncodeWith(c.codeType, c.text, c.settings).result, 0) << c.codeType;
    }
    EXPECT_EQ(EncodeWith(Jan13, "4901234567894", Settings(7)).result, 1)
        << "module symbologies ignore the ratio";
}

}  // namespace
}  // namespace kestrel
