// Acceptance by symbology: result codes, completed texts and messages.

#include "symbology/CodeValidator.h"
#include "symbology/Symbology.h"
#include "symbology/ValidationResult.h"

#include <gtest/gtest.h>

#include <string>

namespace kestrel {
namespace {

struct AcceptCase {
    const char* name;
    int codeType;
    int check;
    int autoAdd;
    CodeText text;
    int expectedResult;
    CodeText expectedText;  // the completed text, when accepted
    CodabarOptions codabar = {};

    friend void PrintTo(const AcceptCase& c, std::ostream* os) { *os << c.name; }
};

class Acceptance : public ::testing::TestWithParam<AcceptCase> {};

TEST_P(Acceptance, GivesTheResultAndCompletedText)
{
    const auto& c = GetParam();
    CodeValidator validator(c.text, c.check, c.autoAdd, c.codeType, c.codabar);
    EXPECT_EQ(ValidationNumber(validator.Accept()), c.expectedResult);
    if (c.expectedResult == Accepted) {
        EXPECT_EQ(validator.Text(), c.expectedText);
    }
}

constexpr CodabarOptions Mod10{0, 0, 0};
constexpr CodabarOptions Mod11{1, 0, 0};
constexpr CodabarOptions Mod16StartBStopC{2, 1, 2};
constexpr CodabarOptions Mod7{3, 0, 0};

INSTANTIATE_TEST_SUITE_P(
    Rules, Acceptance,
    ::testing::Values(
        AcceptCase{"Jan13AddsCheckDigit", Jan13, 1, 1, "490123456789", Accepted, "4901234567894"},
        AcceptCase{"Jan13VerifiesCheckDigit", Jan13, 1, 0, "4901234567894", Accepted,
                   "4901234567894"},
        AcceptCase{"Jan13WrongCheckDigit", Jan13, 1, 0, "4901234567895", WrongCheckCharacter, ""},
        AcceptCase{"Jan13CheckOffTakesAnyLastDigit", Jan13, 0, 0, "4901234567895", Accepted,
                   "4901234567895"},
        AcceptCase{"Jan13ShortWithoutAutoAdd", Jan13, 1, 0, "490123456789", WrongLength, ""},
        AcceptCase{"Jan13LetterIsNotADigit", Jan13, 1, 0, "49012345678a4", NotADigit, ""},
        AcceptCase{"Jan13AutoAddWithoutCheckStillAdds", Jan13, 0, 1, "490123456789", Accepted,
                   "4901234567894"},
        AcceptCase{"Jan8EightDigitsWithAutoAdd", Jan8, 1, 1, "12345670", WrongLength, ""},
        AcceptCase{"Jan8SevenDigitsWithAutoAdd", Jan8, 1, 1, "1234567", Accepted, "12345670"},
        AcceptCase{"ItfOddGetsLeadingZero", Itf, 0, 0, "123", Accepted, "0123"},
        AcceptCase{"ItfEvenWithAutoAdd", Itf, 1, 1, "1234", WrongLength, ""},
        AcceptCase{"ItfOddWithAutoAddGetsCheck", Itf, 1, 1, "123", Accepted, "1236"},
        AcceptCase{"ItfAutoAddWithoutCheckStaysEven", Itf, 0, 1, "123", Accepted, "1236"},
        AcceptCase{"ItfLetter", Itf, 0, 0, "12a4", NotADigit, ""},
        AcceptCase{"StfAnyLength", Stf, 0, 0, "12345", Accepted, "12345"},
        AcceptCase{"StfVerifies", Stf, 1, 0, "1236", Accepted, "1236"},
        AcceptCase{"CodabarFramesWithConfiguredStartStop", Codabar, 0, 0, "123", Accepted, "B123C",
                   Mod16StartBStopC},
        AcceptCase{"CodabarModulus16Adds", Codabar, 1, 1, "123", Accepted, "B1237C",
                   Mod16StartBStopC},
        AcceptCase{"CodabarModulus16Verifies", Codabar, 1, 0, "B1237C", Accepted, "B1237C",
                   Mod16StartBStopC},
        AcceptCase{"CodabarModulus16Wrong", Codabar, 1, 0, "B1236C", WrongCheckCharacter, "",
                   Mod16StartBStopC},
        AcceptCase{"CodabarModulus10Adds", Codabar, 1, 1, "12", Accepted, "A126A", Mod10},
        AcceptCase{"CodabarModulus10NonDigitData", Codabar, 1, 1, "1-2", BadCharacter, "", Mod10},
        AcceptCase{"CodabarModulus10LetterBeforeCheck", Codabar, 1, 0, "A1:6A", WrongCheckCharacter,
                   "", Mod10},
        AcceptCase{"CodabarModulus11Adds", Codabar, 1, 1, "12345", Accepted, "A123459A", Mod11},
        // 5 weighs 10 (r = 1), then 45 (k = 10): this method adds nothing,
        // and the text without a check character must verify as well.
        AcceptCase{"CodabarModulus11NoCheckCharacter", Codabar, 1, 1, "5", Accepted, "A5A", Mod11},
        AcceptCase{"CodabarModulus11VerifiesWithoutCheck", Codabar, 1, 0, "A5A", Accepted, "A5A",
                   Mod11},
        AcceptCase{"CodabarModulus11Verifies", Codabar, 1, 0, "A123459A", Accepted, "A123459A",
                   Mod11},
        AcceptCase{"CodabarModulus11Wrong", Codabar, 1, 0, "A123458A", WrongCheckCharacter, "",
                   Mod11},
        AcceptCase{"CodabarModulus7Adds", Codabar, 1, 1, "100", Accepted, "A1002A", Mod7},
        // 10^30 - 1 is a multiple of 7: no 32-bit overflow decides the digit.
        AcceptCase{"CodabarModulus7LongNumber", Codabar, 1, 1, std::string(30, '9'), Accepted,
                   "A" + std::string(30, '9') + "0A", Mod7},
        AcceptCase{"CodabarModulus7Verifies", Codabar, 1, 0, "A1002A", Accepted, "A1002A", Mod7},
        // A sign counts: the check is the remainder in 0..6 of the signed
        // number, by hand -100 = 7 x (-15) + 5, -1 = 7 x (-1) + 6, -7 = 7 x (-1)
        // + 0 and +100 = 7 x 14 + 2.
        AcceptCase{"CodabarModulus7Negative", Codabar, 1, 1, "-100", Accepted, "A-1005A", Mod7},
        AcceptCase{"CodabarModulus7NegativeVerifies", Codabar, 1, 0, "A-1005A", Accepted, "A-1005A",
                   Mod7},
        AcceptCase{"CodabarModulus7SignIgnoredIsWrong", Codabar, 1, 0, "A-1002A",
                   WrongCheckCharacter, "", Mod7},
        AcceptCase{"CodabarModulus7MinusOne", Codabar, 1, 1, "-1", Accepted, "A-16A", Mod7},
        AcceptCase{"CodabarModulus7MinusSeven", Codabar, 1, 1, "-7", Accepted, "A-70A", Mod7},
        AcceptCase{"CodabarModulus7Plus", Codabar, 1, 1, "+100", Accepted, "A+1002A", Mod7},
        AcceptCase{"CodabarUnknownMethodAddsNothing", Codabar, 1, 1, "12", Accepted, "A12A",
                   CodabarOptions{9, 0, 0}},
        AcceptCase{"CodabarOutOfRangeStartIndexUsesA", Codabar, 0, 0, "1", Accepted, "A1A",
                   CodabarOptions{2, 42, -3}},
        AcceptCase{"CodabarBadStart", Codabar, 1, 0, "E12B", BadCharacter, ""},
        AcceptCase{"CodabarTooShort", Codabar, 0, 0, "A", WrongLength, ""},
        AcceptCase{"Code39AddsCheck", Code39, 1, 1, "CODE 39", Accepted, "*CODE 39R*"},
        AcceptCase{"Code39VerifiesCheck", Code39, 1, 0, "*CODE 39R*", Accepted, "*CODE 39R*"},
        AcceptCase{"Code39LowerCaseCheckLetter", Code39, 1, 0, "*code 39r*", Accepted,
                   "*code 39r*"},
        AcceptCase{"Code39WrongCheck", Code39, 1, 0, "*CODE 39S*", WrongCheckCharacter, ""},
        AcceptCase{"Code39BadCharacterAnywhere", Code39, 0, 0, "A#B", BadCharacter, ""},
        AcceptCase{"Code39StarInside", Code39, 0, 0, "A*B", BadCharacter, ""},
        AcceptCase{"Code39LoneStar", Code39, 0, 0, "*", WrongLength, ""},
        AcceptCase{"Code39FramesWithoutCheck", Code39, 0, 0, "abc", Accepted, "*abc*"},
        AcceptCase{"Code39ExtendedAppendsCheckOfExpansion", Code39Extended, 0, 1, "a1", Accepted,
                   "a19"},
        AcceptCase{"Code39ExtendedWithoutAutoAdd", Code39Extended, 1, 0, "a!", Accepted, "a!"},
        AcceptCase{"Code93Characters", Code93, 0, 1, "abc-$", Accepted, "abc-$"},
        AcceptCase{"Code93BadCharacter", Code93, 0, 1, "A#", BadCharacter, ""},
        AcceptCase{"Code11OneCheck", Code11OneCheck, 1, 0, "123-455", Accepted, "123-455"},
        AcceptCase{"Code11OneCheckWrong", Code11OneCheck, 1, 0, "123-454", WrongCheckCharacter, ""},
        AcceptCase{"Code11TwoChecks", Code11TwoChecks, 1, 0, "123-4552", Accepted, "123-4552"},
        AcceptCase{"Code11TwoChecksWrongK", Code11TwoChecks, 1, 0, "123-4553", WrongCheckCharacter,
                   ""},
        // Long Code 11 texts: C weighs 1 to 10 from the right and starts
        // again at 1, K weighs 1 to 9 over the data and C; - is worth 10.
        // Computed by hand from those weights; zint -b 1 -d DATA --dump (two
        // check characters) draws the same bars as zint -b 1 --vers=2 -d
        // DATA+CHECKS (none).
        AcceptCase{"Code11TwoChecksTenDigits", Code11TwoChecks, 1, 0, "123456789019", Accepted,
                   "123456789019"},
        AcceptCase{"Code11TwoChecksTenDigitsWrongK", Code11TwoChecks, 1, 0, "123456789018",
                   WrongCheckCharacter, ""},
        AcceptCase{"Code11TwoChecksCWeightsWrap", Code11TwoChecks, 1, 0, "123456789014-", Accepted,
                   "123456789014-"},
        AcceptCase{"Code11TwoChecksHyphens", Code11TwoChecks, 1, 0, "123-456-789067", Accepted,
                   "123-456-789067"},
        AcceptCase{"Code11TwoChecksThirteen", Code11TwoChecks, 1, 0, "9876543210-1266", Accepted,
                   "9876543210-1266"},
        AcceptCase{"Code11OneCheckWeightsWrap", Code11OneCheck, 1, 0, "123456789014", Accepted,
                   "123456789014"},
        AcceptCase{"Code11TooShortForTwo", Code11TwoChecks, 1, 0, "12", WrongLength, ""},
        AcceptCase{"Code11CheckOff", Code11OneCheck, 0, 0, "1", Accepted, "1"},
        AcceptCase{"Code11Letter", Code11OneCheck, 0, 0, "12a", BadCharacter, ""},
        AcceptCase{"Code128AnyText", Code128B, 0, 1, "Hello, World", Accepted, "Hello, World"},
        AcceptCase{"Code128ControlCharacter", Code128B, 0, 1, "AB\tCD", BadCharacter, ""},
        AcceptCase{"Code128HalfWidthKatakana", Code128B, 0, 1, "AB\xB1", BadCharacter, ""},
        AcceptCase{"Code39ExtendedControlCharacters", Code39Extended, 0, 0, "\t\x7F", Accepted,
                   "\t\x7F"},
        AcceptCase{"Code39ExtendedHalfWidthKatakana", Code39Extended, 0, 1, "AB\xB1", BadCharacter,
                   ""},
        AcceptCase{"Code93ExtendedHalfWidthKatakana", Code93Extended, 0, 1, "AB\xB1", BadCharacter,
                   ""},
        AcceptCase{"Code39TooLongForTheSequence", Code39, 1, 1, std::string(128, 'A'), WrongLength,
                   ""},
        AcceptCase{"Code128TooLongForTheSequence", Code128B, 0, 1, std::string(83, 'A'),
                   WrongLength, ""},
        AcceptCase{"Code128LongestThatFits", Code128B, 0, 1, std::string(82, 'A'), Accepted,
                   std::string(82, 'A')}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(AcceptanceState, ItfReportsTheLeadingZeroSoTheDialogCanShowIt)
{
    CodeValidator odd("12345", 1, 0, Itf);
    odd.Accept();
    EXPECT_TRUE(odd.LeadingZeroAdded());
    CodeValidator even("1234", 0, 0, Itf);
    even.Accept();
    EXPECT_FALSE(even.LeadingZeroAdded());
}

TEST(Messages, EachResultHasItsText)
{
    EXPECT_EQ(ValidationMessage(WrongLength), "入力桁数が正しくありません");
    EXPECT_EQ(ValidationMessage(WrongCheckCharacter), "チェックデジットが不正です");
    EXPECT_EQ(ValidationMessage(NotADigit), "入力は数字のみです");
    EXPECT_EQ(ValidationMessage(BadCharacter), "データキャラクタが不正です");
    EXPECT_TRUE(ValidationMessage(Accepted).empty());
}

struct StrippedCase {
    int codeType;
    CodeText text;
    CodeText recompleteFrom;
    CodeText shown;  // with AutoAdd on
};

TEST(AddedCheckRemoval, RecompletionAndTheDialogTakeTheAddedCheckOff)
{
    const StrippedCase cases[] = {
        {Jan13, "4901234567894", "490123456789", "490123456789"},
        {Itf, "1236", "123", "123"},
        {Stf, "1236", "123", "1236"},  // the dialog never adds to STF
        {Code39, "*ABCW*", "ABC", "ABC"},
        {Code39, "ABC", "ABC", "ABC"},
        {Code39, "*", "", ""},
        {Codabar, "B1237C", "B123C", "B123C"},
        {Codabar, "B123", "B123", "B123"},
        {Code39Extended, "a19", "a1", "a1"},
        {Code93, "ABC", "ABC", "ABC"},
        {Code128B, "AB", "AB", "AB"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithoutAddedCheck(c.codeType, c.text), c.recompleteFrom) << c.text;
        EXPECT_EQ(TextShownForEditing(c.codeType, 1, c.text), c.shown) << c.text;
        EXPECT_EQ(TextShownForEditing(c.codeType, 0, c.text), c.text);
    }
}

}  // namespace
}  // namespace kestrel
