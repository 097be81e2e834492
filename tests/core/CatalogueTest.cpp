// The symbology catalogue walked row by row, and the faults it should keep
// out: parity, lengths, the Codabar check methods, the code text limit.

#include "TestSupport.h"

#include "document/CodeEntry.h"
#include "symbology/CodeValidator.h"
#include "symbology/SymbologyCatalogue.h"
#include "symbology/ValidationResult.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

namespace kestrel {
namespace {

// A text each symbology accepts with `Check` and `AutoAdd` on, before its
// completion.
struct GoodText {
    Symbology type;
    CodeText typed;
};

constexpr GoodText GoodTexts[] = {
    {Jan13, "490123456789"},
    {Jan8, "9638507"},
    {Itf, "1234567"},
    {Stf, "123457"},
    {Codabar, "1234"},
    {Code39, "CODE 39"},
    {Code39Extended, "Kes 39!"},
    {Code93, "CODE 93"},
    {Code93Extended, "Kes 93!"},
    {Code11OneCheck, "123-455"},
    {Code11TwoChecks, "123-4552"},
    {Code128B, "Kes 128!"},
};
static_assert(std::size(GoodTexts) == SymbologyCount);

TEST(Catalogue, EveryRowIsNamedOnceInIndexOrder)
{
    std::set<std::string_view> keys;
    std::set<std::string_view> names;
    for (std::size_t i = 0; i < SymbologyCatalogue.size(); ++i) {
        const SymbologyRow& row = SymbologyCatalogue[i];
        EXPECT_EQ(static_cast<std::size_t>(row.index), i);
        EXPECT_EQ(FindSymbology(static_cast<int>(i)), &row);
        EXPECT_FALSE(row.key.empty()) << i;
        EXPECT_FALSE(row.name.empty()) << i;
        EXPECT_TRUE(keys.insert(row.key).second) << row.key;
        EXPECT_TRUE(names.insert(row.name).second) << row.name;
        EXPECT_EQ(SymbologyKeys[i], row.key);
        EXPECT_EQ(SymbologyNames[i], row.name);
    }
    EXPECT_EQ(FindSymbology(-1), nullptr);
    EXPECT_EQ(FindSymbology(SymbologyCount), nullptr);
    EXPECT_TRUE(SymbologyNames[SymbologyCount].empty());
}

// Every row's rules complete a good text; the text the dialog shows for it
// (the added check taken off) completes to the same text; the encoder
// draws it.
TEST(Catalogue, EveryRowCompletesRoundTripsAndEncodes)
{
    for (const GoodText& good : GoodTexts) {
        const SymbologyRow& row = *FindSymbology(good.type);
        SCOPED_TRACE(row.name);
        // Where the dialog offers no "自動付加" the check character is typed.
        const int autoAdd = row.enabling.autoAddEnabled ? 1 : 0;
        CodeValidator first(good.typed, 1, autoAdd, good.type);
        ASSERT_EQ(first.Accept(), Refusal::None);
        const CodeText completed = first.Text();

        CodeValidator again(TextShownForEditing(good.type, autoAdd, completed), 1, autoAdd,
                            good.type);
        ASSERT_EQ(again.Accept(), Refusal::None);
        EXPECT_EQ(again.Text(), completed);

        EncodeSettings settings;
        settings.autoAdd = autoAdd;
        const test::Encoded encoded = test::EncodeWith(good.type, completed, settings);
        EXPECT_EQ(encoded.result, 1);
        EXPECT_FALSE(encoded.elements.empty());
    }
}

// The dialog offers the bearer exactly where the row draws one, and the
// human-readable JAN layouts belong to the JAN rows.
TEST(Catalogue, EnablingBearerAndReadingAgree)
{
    for (const SymbologyRow& row : SymbologyCatalogue) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(row.enabling.bearerEnabled, row.bearer != BearerFrame::None);
        if (row.bearer == BearerFrame::None) {
            EXPECT_EQ(CodeEntry::BearerKept(1, row.index, "123456"), 0);
        }
        // A box the user cannot tick is never forced on by the dialog.
        if (!row.enabling.autoAddEnabled) {
            EXPECT_EQ(row.enabling.autoAddMark, AutoAddMark::Off);
        }
        EXPECT_EQ(row.layout != TextLayout::Plain, row.bearer == BearerFrame::WholeHeight);
        if (row.reading.format.empty()) {
            EXPECT_EQ(row.reading.shortestRead, 0U);
        }
    }
}

struct LengthCase {
    Symbology type;
    int autoAdd;
    CodeText text;
};

// One character more than the fixed-length symbologies hold is refused by
// the rules and has no symbol.
TEST(FixedLength, OneCharacterTooManyIsRefused)
{
    const LengthCase cases[] = {
        {Jan13, 0, "49012345678940"},
        {Jan13, 1, "4901234567894"},
        {Jan8, 0, "963850740"},
        {Jan8, 1, "96385074"},
    };
    for (const LengthCase& c : cases) {
        SCOPED_TRACE(c.text);
        CodeValidator validator(c.text, 1, c.autoAdd, c.type);
        EXPECT_EQ(validator.Accept(), Refusal::WrongLength);
        if (c.autoAdd != 0) {
            continue;  // one more than the rules take, but a whole symbol's text
        }
        CodeText text = c.text;
        ModuleSequence sequence;
        EncodeSettings unchecked;
        unchecked.check = 0;
        const EncodeResult result = EncodeSymbology(c.type, text, unchecked, sequence);
        EXPECT_EQ(result.refusal, Refusal::WrongLength);
        EXPECT_EQ(EncodeNumber(result), 0);
    }
}

// The published EAN-13 table of the first digit's parities for the six
// digits of the left half, L odd and G even.
constexpr const char* PublishedFirstDigitParity[] = {
    "LLLLLL", "LLGLGG", "LLGGLG", "LLGGGL", "LGLLGG",
    "LGGLLG", "LGGGLL", "LGLGLG", "LGLGGL", "LGGLGL",
};

// Read from the bars: each left digit is space, bar, space, bar; its parity
// is that of its bar modules.
TEST(Jan13Parity, EveryFirstDigitAtEveryPositionOfTheLeftHalf)
{
    EncodeSettings unchecked;
    unchecked.check = 0;
    for (char first = '0'; first <= '9'; ++first) {
        const CodeText text = std::string(1, first) + "123456789012";
        const test::Encoded encoded = test::EncodeWith(Jan13, text, unchecked);
        ASSERT_EQ(encoded.result, 1) << text;
        std::string parity;
        for (std::size_t digit = 0; digit < 6; ++digit) {
            const std::vector<int> marks = test::Slice(encoded.elements, 3 + 4 * digit, 4);
            ASSERT_EQ(marks.size(), 4U);
            const int barModules = -(marks[1] + marks[3]);
            parity += barModules % 2 == 1 ? 'L' : 'G';
        }
        EXPECT_EQ(parity, PublishedFirstDigitParity[first - '0']) << "first digit " << first;
    }
}

struct CodabarCheckCase {
    const char* name;
    int method;
    CodeText data;
    CodeText completed;  // start A, stop A
};

// Expected values worked by hand from each method's definition (as the
// comments of CodabarCheck state them), not from our output:
// modulus 10: digits from the right weighted 1, 2, 1, 2, ..., the digits of
//   each product added, and the distance to the next multiple of 10;
// modulus 11: digits from the right weighted 2 6 3 5 4 8 7 10 9 5 3 6,
//   repeating, and the distance up to a multiple of 11 that is at least 11;
//   a distance of 1 goes to the second weights 9 5 8 6 7 3 4 10 2 6 8 5,
//   whose distance d gives 11 - d;
// modulus 16: the values of all characters, start and stop (A = 16)
//   included, and the distance to the next multiple of 16;
// modulus 7: the data as a decimal number modulo 7.
TEST(CodabarCheckMethods, EveryWeightAndASumOfZero)
{
    const CodabarCheckCase cases[] = {
        // 1+2·... from the right: 3 4 1 0 0 9 8 7 6 5 4 3 2 1 -> sum 55 -> 5.
        {"Modulus10", 0, "1234567890123", "A12345678901235A"},
        // 13 digits use all twelve weights: 7·2+8·6+9·3+0·5+1·4+2·8+3·7+4·10
        // +5·9+6·5+7·3+8·6+9·2 = 332 = 30·11 + 2 -> 9.
        {"Modulus11", 1, "9876543210987", "A98765432109879A"},
        // 318 = 28·11 + 10 -> distance 1; second weights give 297 = 27·11 ->
        // distance 0 -> 11, the character of value 11, $.
        {"Modulus11SecondWeights", 1, "1234567890123", "A1234567890123$A"},
        // 16 + (1+...+9+0+1+2+3 = 51) + 16 = 83 = 5·16 + 3 -> 13, /.
        {"Modulus16", 2, "1234567890123", "A1234567890123/A"},
        // 1234567890123 = 7·176366841446 + 1 -> 1.
        {"Modulus7", 3, "1234567890123", "A12345678901231A"},
        // Sums of zero: the weighted sum 0 is no multiple of 11 of at least
        // 11, so 11 ($); A + A = 32 is 0 modulo 16.
        {"Modulus10SumZero", 0, "0000", "A00000A"},
        {"Modulus11SumZero", 1, "0000", "A0000$A"},
        {"Modulus16SumZero", 2, "0000", "A00000A"},
        {"Modulus7SumZero", 3, "0000", "A00000A"},
    };
    for (const CodabarCheckCase& c : cases) {
        SCOPED_TRACE(c.name);
        const CodabarOptions options{c.method, 0, 0};
        CodeValidator adding(c.data, 1, 1, Codabar, options);
        ASSERT_EQ(adding.Accept(), Refusal::None);
        EXPECT_EQ(adding.Text(), c.completed);
        CodeValidator verifying(c.completed, 1, 0, Codabar, options);
        EXPECT_EQ(verifying.Accept(), Refusal::None);
    }
}

TEST(CodeTextLimit, ExactlyMaxBytesFitsOneMoreDoesNot)
{
    EXPECT_EQ(CodeEntry::MaxCodeTextBytes, 128U);
    EXPECT_TRUE(CodeEntry::CodeTextFits(CodeText(128, '1')));
    EXPECT_FALSE(CodeEntry::CodeTextFits(CodeText(129, '1')));
}

// An empty text is never completed into a symbol's text: the rules refuse
// it or leave it empty, whatever the flags.
TEST(EmptyText, IsNeverCompletedIntoData)
{
    for (const SymbologyRow& row : SymbologyCatalogue) {
        for (const int check : {0, 1}) {
            for (const int autoAdd : {0, 1}) {
                CodeValidator validator("", check, autoAdd, row.index);
                if (validator.Accept() == Refusal::None) {
                    EXPECT_EQ(validator.Text(), "")
                        << row.name << " check " << check << " autoAdd " << autoAdd;
                }
            }
        }
    }
    EXPECT_EQ(WithoutAddedCheck(Jan13, ""), "");
    EXPECT_EQ(TextShownForEditing(Codabar, 1, ""), "");
}

// Each reason has its result code; the codes keep their messages.
TEST(Refusals, ReasonsMapToTheDialogsNumbers)
{
    const struct {
        Refusal refusal;
        int number;
    } cases[] = {
        {Refusal::None, Accepted},
        {Refusal::WrongLength, WrongLength},
        {Refusal::TooManyElements, WrongLength},
        {Refusal::NotADigit, NotADigit},
        {Refusal::NoPattern, BadCharacter},
        {Refusal::NotWeighable, BadCharacter},
        {Refusal::CheckNeedsDigits, WrongCheckCharacter},
        {Refusal::WrongCheckCharacter, WrongCheckCharacter},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ValidationNumber(c.refusal), c.number) << RefusalReason(c.refusal);
        EXPECT_FALSE(RefusalReason(c.refusal).empty());
    }
    // A Codabar letter where the method weighs digits has always been a
    // wrong check character; a sign there a bad character.
    CodeValidator letter("A1B2A", 1, 0, Codabar, CodabarOptions{0, 0, 0});
    EXPECT_EQ(letter.Accept(), Refusal::CheckNeedsDigits);
    CodeValidator sign("A1-23A", 1, 1, Codabar, CodabarOptions{0, 0, 0});
    EXPECT_EQ(sign.Accept(), Refusal::NotWeighable);
}

// Extended Code 39 answers a failed verification with 1 and keeps its
// sequence; other refusals answer 0.
TEST(Refusals, ExtendedCode39KeepsItsAnswer)
{
    EncodeSettings checked;
    checked.check = 1;
    checked.autoAdd = 1;
    CodeText text = "AB";  // with AutoAdd its last character is the check: wrong
    ModuleSequence sequence;
    const EncodeResult result = EncodeSymbology(Code39Extended, text, checked, sequence);
    EXPECT_EQ(result.stage, EncodeStage::Verification);
    EXPECT_EQ(result.refusal, Refusal::WrongCheckCharacter);
    EXPECT_EQ(EncodeNumber(result), 1);
    EXPECT_EQ(sequence.count, 0);

    CodeText code39 = "*AB*";
    const EncodeResult plain = EncodeSymbology(Code39, code39, checked, sequence);
    EXPECT_EQ(plain.refusal, Refusal::WrongCheckCharacter);
    EXPECT_EQ(EncodeNumber(plain), 0);
}

}  // namespace
}  // namespace kestrel
