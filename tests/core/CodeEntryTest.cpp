// The model of the code dialog: reading its numbers, enabling, the two check
// box clicks, OK's acceptance, and what OK hands the document.

#include "document/CodeEntry.h"
#include "LoadedDocument.h"
#include "document/BarCodeDoc.h"
#include "profile/MemoryProfile.h"
#include "symbology/Symbology.h"
#include "symbology/ValidationResult.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrel {
namespace {

using Kind = CodeEntryOutcome::Kind;

CodeEntry EntryOf(int codeType, CodeText text, int check = 1, int autoAdd = 0)
{
    CodeEntry entry;
    entry.values.codeType = codeType;
    entry.values.codeText = std::move(text);
    entry.values.check = check;
    entry.values.autoAdd = autoAdd;
    return entry;
}

// Each box's kind (a signed box calls a minus sign out of range, an unsigned
// one no number at all) and limits, probed at their edges. The messages'
// texts are those of every number box, compared where they are made.
TEST(CodeEntry, EachNumberHasItsKindAndLimits)
{
    using N = CodeNumber;
    const struct {
        N number;
        const char* typed;
        FieldError error;
        int low;
        int high;
    } cases[] = {
        {N::Height, "1000", FieldError::OutOfRange, 5, 999},
        {N::Height, "-5", FieldError::OutOfRange, 5, 999},
        {N::Height, "12a", FieldError::NotAnInteger, 5, 999},
        {N::LeftMargin, "101", FieldError::OutOfRange, 0, 100},
        {N::LeftMargin, "-0", FieldError::NotAPositiveInteger, 0, 100},
        {N::NarrowWidth, "0", FieldError::OutOfRange, 1, 50},
        {N::NarrowWidth, "51", FieldError::OutOfRange, 1, 50},
        {N::TopMargin, "101", FieldError::OutOfRange, 0, 100},
        {N::TopMargin, "-1", FieldError::NotAPositiveInteger, 0, 100},
        {N::Width, "-1", FieldError::NotAPositiveInteger, 5, 9999},
        {N::Width, "4", FieldError::OutOfRange, 5, 9999},
        {N::TextHeight, "", FieldError::NotAPositiveInteger, 10, 200},
        {N::TextHeight, "201", FieldError::OutOfRange, 10, 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(static_cast<int>(c.number)) + " \"" + c.typed + "\"");
        CodeEntry entry;
        CodeEntryControls controls = entry.Controls();
        controls.Number(c.number) = c.typed;
        const std::optional<FieldFailure> failure = entry.Read(controls);
        ASSERT_TRUE(failure.has_value());
        EXPECT_EQ(failure->number, c.number);
        EXPECT_EQ(failure->message,
                  FieldErrorMessage(c.error, {IntegerField::Kind::Signed, c.low, c.high}));
        for (const int edge : {c.low, c.high}) {
            controls.Number(c.number) = " " + std::to_string(edge) + " ";
            EXPECT_FALSE(entry.Read(controls).has_value()) << edge;
            EXPECT_EQ(entry.values.Number(c.number), edge);
        }
    }
}

// Correcting one wrong box at a time shows the order OK reads them in (left
// margin before width, though not on screen); the values after a wrong box
// keep what they held.
TEST(CodeEntry, NumbersAreReadInExchangeOrderAndAFailureStopsTheReading)
{
    using N = CodeNumber;
    CodeEntry entry;
    CodeEntryControls controls = entry.Controls();
    for (std::string& number : controls.numbers) {
        number = "x";
    }
    controls.aspect = 2;
    controls.autoAdd = 1;
    controls.bearer = 1;
    std::vector<N> order;
    while (const std::optional<FieldFailure> failure = entry.Read(controls)) {
        order.push_back(failure->number);
        if (failure->number == N::Width) {
            EXPECT_EQ(entry.values.xmargin, 50) << "read before the failure";
            EXPECT_EQ(entry.values.aspect, 2);
            EXPECT_EQ(entry.values.width, 300);
            EXPECT_EQ(entry.values.autoAdd, 0) << "comes after the width";
            EXPECT_EQ(entry.values.bearer, 0);
        }
        ASSERT_LE(order.size(), CodeNumberCount);
        controls.Number(failure->number) = "50";
    }
    EXPECT_EQ(order, (std::vector<N>{N::Height, N::LeftMargin, N::NarrowWidth, N::TopMargin,
                                     N::Width, N::TextHeight}));
    EXPECT_EQ((std::vector<int>{entry.values.autoAdd, entry.values.bearer}),
              (std::vector<int>{1, 1}));
}

TEST(CodeEntry, SelectionEnablesTheControlsOfTheSymbology)
{
    // Values as last read: check 0, auto add 0. Columns: ON enabled, 自動付加
    // enabled, ratio enabled, bearer enabled, ON mark, 自動付加 mark.
    const struct {
        int type;
        CodeEntryEnabling expected;
    } cases[] = {
        {Jan13, {true, true, false, true, 0, 0}},
        {Jan8, {true, true, false, true, 0, 0}},
        {Itf, {true, true, true, true, 0, 0}},
        {Stf, {true, false, true, false, 0, 0}},
        {Codabar, {true, true, true, false, 0, 0}},
        {Code39, {true, true, true, false, 0, 0}},
        {Code39Extended, {false, true, false, false, 0, 1}},
        {Code93, {false, true, false, false, 0, 1}},
        {Code93Extended, {false, true, false, false, 0, 1}},
        {Code11OneCheck, {true, false, true, false, 0, 0}},
        {Code11TwoChecks, {true, false, true, false, 0, 0}},
        {Code128B, {false, true, false, false, 0, 1}},
    };
    for (const auto& c : cases) {
        CodeEntry entry = EntryOf(c.type, "", 0, 0);
        EXPECT_EQ(entry.SelectionChanged(c.type), c.expected) << SymbologyNames[c.type];
        // Auto add on: the check value follows, and the symbologies that
        // may add a check character show it.
        entry = EntryOf(c.type, "", 0, 1);
        const CodeEntryEnabling withAutoAdd = entry.SelectionChanged(c.type);
        EXPECT_EQ(entry.values.check, 1) << SymbologyNames[c.type];
        EXPECT_EQ(withAutoAdd.checkMark, 1) << SymbologyNames[c.type];
        EXPECT_EQ(withAutoAdd.autoAddMark, c.expected.autoAddEnabled ? 1 : 0)
            << SymbologyNames[c.type];
    }
}

TEST(CodeEntry, TheTwoCheckBoxesFollowEachOther)
{
    const struct {
        const char* name;
        bool autoAddClicked;  // else "ON" was clicked
        int checkBox;
        int autoAddBox;
        int mark;  // the mark the other box gets
        int check;
        int autoAdd;
    } cases[] = {
        {"AutoAddOnSetsOn", true, 0, 1, 1, 1, 1},
        {"AutoAddOffLeavesOn", true, 0, 0, 0, 0, 0},
        {"OnOffClearsAutoAdd", false, 0, 1, 0, 0, 0},
        {"OnOnKeepsAutoAdd", false, 1, 1, 1, 1, 1},
    };
    for (const auto& c : cases) {
        CodeEntry entry;
        CodeEntryControls controls = entry.Controls();
        controls.check = c.checkBox;
        controls.autoAdd = c.autoAddBox;
        // A wrong number is reported, and the click still takes effect (the
        // text height is read after both boxes).
        controls.Number(CodeNumber::TextHeight) = "201";
        std::optional<FieldFailure> failure;
        const int mark = c.autoAddClicked ? entry.AutoAddClicked(controls, &failure)
                                          : entry.CheckClicked(controls, &failure);
        ASSERT_TRUE(failure.has_value()) << c.name;
        EXPECT_EQ(failure->number, CodeNumber::TextHeight) << c.name;
        EXPECT_EQ(mark, c.mark) << c.name;
        EXPECT_EQ(entry.values.check, c.check) << c.name;
    }
}

TEST(CodeEntry, OkAcceptsAndCompletesTheText)
{
    // Expected texts: the check digits are the worked examples of the
    // validation rules (4901234567894, ITF 1236, Codabar A126A).
    const struct {
        const char* name;
        int type;
        CodeText text;
        int check;
        int autoAdd;
        Kind kind;
        int result;          // the refusal whose message is given
        CodeText textAfter;  // in the values: the completed text, or the box's
        bool refill;
        const char* width = "300";
    } cases[] = {
        {"Jan13AutoAdd", Jan13, "490123456789", 1, 1, Kind::Accepted, Accepted, "4901234567894",
         false},
        {"Jan13WrongCheck", Jan13, "4901234567895", 1, 0, Kind::Rejected, WrongCheckCharacter,
         "4901234567895", false},
        {"Jan8LengthWithAutoAdd", Jan8, "12345670", 1, 1, Kind::Rejected, WrongLength, "12345670",
         false},
        {"Empty", Jan13, "", 1, 1, Kind::EmptyText, Accepted, "", false},
        {"ItfLeadingZero", Itf, "123", 0, 0, Kind::Accepted, Accepted, "0123", true},
        {"ItfLeadingZeroKeptOnRefusal", Itf, "12a", 0, 0, Kind::Rejected, NotADigit, "012a", true},
        {"ItfCheckAdded", Itf, "123", 1, 1, Kind::Accepted, Accepted, "1236", false},
        {"CodabarFramedByTheOptions", Codabar, "12", 1, 1, Kind::Accepted, Accepted, "A126A",
         false},
        {"CodabarRefusedKeepsTheUsersText", Codabar, "E12B", 1, 0, Kind::Rejected, BadCharacter,
         "E12B", false},
        // A wrong number stops OK before the text is looked at.
        {"WrongNumberFirst", Jan13, "12", 1, 0, Kind::FieldFailed, Accepted, "12", false, "-1"},
    };
    CodabarOptions codabar;
    codabar.checkMethod = 0;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        CodeEntry entry = EntryOf(c.type, c.text, c.check, c.autoAdd);
        CodeEntryControls controls = entry.Controls();
        controls.Number(CodeNumber::Width) = c.width;
        const CodeEntryOutcome outcome = entry.Ok(controls, codabar);
        EXPECT_EQ(outcome.kind, c.kind);
        if (c.kind == Kind::FieldFailed) {
            ASSERT_TRUE(outcome.failure.has_value());
            EXPECT_EQ(outcome.failure->number, CodeNumber::Width);
            EXPECT_EQ(outcome.message, outcome.failure->message);
        } else {
            EXPECT_EQ(outcome.message, ValidationMessage(c.result));
        }
        EXPECT_EQ(entry.values.codeText, c.textAfter);
        EXPECT_EQ(outcome.refill, c.refill);
    }
}

TEST(CodeEntry, BearerBarsStayOnlyWhereTheyFrameTheSymbol)
{
    const struct {
        int type;
        std::size_t length;
        int kept;
    } cases[] = {
        {Jan13, 13, 1}, {Jan8, 8, 1}, {Itf, 6, 1},  {Itf, 14, 1},    {Itf, 16, 1},
        {Itf, 10, 0},   {Itf, 12, 0}, {Stf, 14, 0}, {Code39, 14, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CodeEntry::BearerKept(1, c.type, CodeText(c.length, '1')), c.kept)
            << SymbologyNames[c.type] << " " << c.length;
        EXPECT_EQ(CodeEntry::BearerKept(0, c.type, CodeText(c.length, '1')), 0);
    }
}

struct DocumentEntry : ::testing::Test {
    MemoryProfile profile;
    WorkingGaps gaps;
    LoadedDocument doc{profile, gaps};
};

TEST_F(DocumentEntry, TheDialogShowsTheTextWithoutTheAddedCheckCharacter)
{
    const struct {
        int type;
        int autoAdd;
        CodeText stored;
        CodeText shown;
    } cases[] = {
        {Jan13, 1, "4901234567894", "490123456789"},
        {Jan13, 0, "4901234567894", "4901234567894"},
        {Code39, 1, "*ABCX*", "ABC"},  // X: (10 + 11 + 12) mod 43 = 33
        {Codabar, 1, "A126A", "A12A"},
        {Stf, 1, "1234", "1234"},
        {Code93, 1, "ABC", "ABC"},
    };
    for (const auto& c : cases) {
        doc.CodeType = c.type;
        doc.AutoAdd = c.autoAdd;
        doc.CodeText = c.stored;
        CodeEntry entry;
        entry.FillFrom(doc);
        EXPECT_EQ(entry.values.codeText, c.shown) << c.stored;
    }
}

TEST_F(DocumentEntry, OkHandsTheDocumentEveryValueTheGapsAndAnEncodedSymbol)
{
    doc.CodeType = Itf;
    doc.Case = 1;
    CodeEntry entry;
    entry.FillFrom(doc);
    CodeEntryControls controls = entry.Controls();
    controls.codeText = "1234567890123";
    controls.autoAdd = 1;
    controls.check = 1;
    controls.aspect = 2;
    controls.dispCode = 0;
    controls.Number(CodeNumber::Height) = "99";
    controls.Number(CodeNumber::LeftMargin) = "3";
    controls.Number(CodeNumber::NarrowWidth) = "2";
    controls.Number(CodeNumber::TopMargin) = "4";
    controls.Number(CodeNumber::Width) = "640";
    controls.Number(CodeNumber::TextHeight) = "20";
    ASSERT_EQ(entry.Ok(controls, {}).kind, Kind::Accepted);
    gaps.codabarGapX = 3;
    gaps.code39GapX = 4;
    EXPECT_EQ(EncodeNumber(entry.ApplyTo(doc, gaps, {})), 1);

    EXPECT_EQ(doc.CodeText, "12345678901231");
    EXPECT_EQ(doc.Case, 1) << "14 characters with the check digit";
    EXPECT_EQ((std::vector<int>{doc.Height, doc.Xmargin, doc.NWidth, doc.Ymargin, doc.Width,
                                doc.CodeHigh, doc.Aspect, doc.DispCode, doc.AutoAdd, doc.Check}),
              (std::vector<int>{99, 3, 2, 4, 640, 20, 2, 0, 1, 1}));
    EXPECT_EQ(doc.CodabarGapX, 3);
    EXPECT_EQ(doc.Code39GapX, 4);
    EXPECT_GT(doc.ModuleSequence.count, 0);

    // Reopening shows the 13 digits; OK again gives the same document text.
    CodeEntry again;
    again.FillFrom(doc);
    EXPECT_EQ(again.values.codeText, "1234567890123");
    ASSERT_EQ(again.Ok(again.Controls(), {}).kind, Kind::Accepted);
    EXPECT_EQ(again.values.codeText, doc.CodeText);
}

}  // namespace
}  // namespace kestrel
