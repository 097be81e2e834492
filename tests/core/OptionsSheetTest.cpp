// The options sheet without widgets: initial values, page exchange with its
// limits, what OK stores and in which order, and the Options command's gaps.

#include "document/BarCodeDoc.h"
#include "options/OnOptions.h"
#include "options/OptionsSheetModel.h"
#include "profile/MemoryProfile.h"
#include "symbology/Symbology.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrel {
namespace {

using C = OptionControl;
using P = OptionsPage;
constexpr int None = OptionsSheetModel::NoChoice;

struct Stored {
    const char* section;
    const char* key;
    int value;
};

void Fill(MemoryProfile& profile, const std::vector<Stored>& stored)
{
    for (const Stored& s : stored) {
        profile.WriteProfileInt(s.section, s.key, s.value);
    }
}

std::vector<int> StoredValues(const MemoryProfile& profile)
{
    return {profile.GetProfileInt("Codabar", "StartChar", -99),
            profile.GetProfileInt("Codabar", "StopChar", -99),
            profile.GetProfileInt("Codabar", "CheckDegit", -99),
            profile.GetProfileInt("JAN", "CodeOut", -99),
            profile.GetProfileInt("JAN", "CaseWidth", -99),
            profile.GetProfileInt("ITF", "CaseWidth", -99),
            profile.GetProfileInt("Settings", "Bitmap", -99)};
}

TEST(OptionsSheetModelTest, InitialValuesAndWhatTheControlsShow)
{
    struct Case {
        const char* name;
        std::vector<Stored> stored;
        WorkingGaps gaps;
        // By control, in table order: the value, then the text or choice shown.
        std::vector<int> values;
        std::vector<std::string> texts;  // number boxes; "" for the others
        std::vector<int> choices;        // the others; 0 for number boxes
    };
    const std::vector<Case> cases{
        {"empty profile: split on, width 5, modulus 16, A/A, first button",
         {},
         {1, 1},
         {1, 5, 1, 2, 0, 0, 1, 5, 0},
         {"", "5", "1", "", "", "", "1", "5", ""},
         {1, 0, 0, 2, 0, 0, 0, 0, 0}},
        {"stored values, gaps from the working copies not from the profile",
         {{"JAN", "CodeOut", 0},
          {"JAN", "CaseWidth", 12},
          {"Codabar", "CheckDegit", 3},
          {"Codabar", "StartChar", 5},
          {"Codabar", "StopChar", 7},
          {"ITF", "CaseWidth", 9},
          {"Settings", "Bitmap", 2},
          {"Codabar", "GapX", 9},
          {"Code39", "GapX", 9}},
         {3, 4},
         {0, 12, 4, 3, 5, 7, 3, 9, 2},
         {"", "12", "4", "", "", "", "3", "9", ""},
         {0, 0, 0, 3, 5, 7, 0, 0, 2}},
        {"values stored by hand beyond what the controls offer",
         {{"JAN", "CodeOut", 7},
          {"JAN", "CaseWidth", 100},
          {"Codabar", "CheckDegit", 4},
          {"Codabar", "StartChar", -1},
          {"Codabar", "StopChar", 8},
          {"Settings", "Bitmap", 3}},
         {0, 11},
         {7, 100, 11, 4, -1, 8, 0, 5, 3},
         {"", "100", "11", "", "", "", "0", "5", ""},
         {1, 0, 0, None, None, None, 0, 0, None}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryProfile profile;
        Fill(profile, c.stored);
        const OptionsSheetModel model(profile, c.gaps);
        EXPECT_EQ(model.CurrentPage(), P::Jan);
        for (const OptionControlInfo& info : OptionControls) {
            const auto at = static_cast<std::size_t>(info.control);
            SCOPED_TRACE(at);
            EXPECT_EQ(model.Value(info.control), c.values[at]);
            if (info.kind == ControlKind::NumberBox) {
                EXPECT_EQ(model.Text(info.control), c.texts[at]);
            } else {
                EXPECT_EQ(model.Choice(info.control), c.choices[at]);
            }
        }
    }
}

// A step shows `page`, then edits one control: a number box's text, or the
// choice of the others.
struct Step {
    P page;
    std::optional<C> control = std::nullopt;
    const char* text = nullptr;
    int choice = 0;
};

TEST(OptionsSheetModelTest, OkStoresInOrderAndPagesNeverShownKeepTheirValues)
{
    struct Case {
        const char* name;
        std::vector<Stored> stored;
        std::vector<Step> steps;
        std::vector<int> expected;  // StartChar, StopChar, CheckDegit, CodeOut, JAN, ITF, Bitmap
        WorkingGaps gaps;           // the working copies start as {6, 7}
    };
    const std::vector<Case> cases{
        {"empty profile, no page visited", {}, {}, {0, 0, 2, 1, 5, 5, 0}, {6, 7}},
        {"empty profile, every page visited",
         {},
         {{P::ItfStf},
          {P::Code39},
          {P::Code93},
          {P::Code128},
          {P::Code11},
          {P::Codabar},
          {P::Itf},
          {P::Bitmap}},
         {0, 0, 2, 1, 5, 5, 0},
         {6, 7}},
        {"out-of-range values on pages never shown are stored unchanged",
         {{"ITF", "CaseWidth", 100}, {"Codabar", "StartChar", 9}, {"Settings", "Bitmap", 5}},
         {{P::Code39}},
         {9, 0, 2, 1, 5, 100, 5},
         {6, 7}},
        {"a shown list or button group with nothing chosen keeps its stored index",
         {{"Codabar", "StartChar", 9}, {"Codabar", "CheckDegit", -3}, {"Settings", "Bitmap", 7}},
         {{P::Codabar}, {P::Bitmap}},
         {9, 0, -3, 1, 5, 5, 7},
         {6, 7}},
        {"every control edited, each page read when it is left",
         {},
         {{P::Jan, C::JanCodeOut, nullptr, 0},
          {P::Jan, C::JanCaseWidth, " 15 "},
          {P::Code39, C::Code39GapX, "+4"},
          {P::Codabar, C::CodabarCheckDegit, nullptr, 3},
          {P::Codabar, C::CodabarStartChar, nullptr, 4},
          {P::Codabar, C::CodabarStopChar, nullptr, 7},
          {P::Codabar, C::CodabarGapX, "10"},
          {P::Itf, C::ItfCaseWidth, "1"},
          {P::Bitmap, C::Bitmap, nullptr, 2}},
         {4, 7, 3, 0, 15, 1, 2},
         {10, 4}},
    };
    const std::vector<std::string> order{"Codabar/StartChar",  "Codabar/StopChar",
                                         "Codabar/CheckDegit", "JAN/CodeOut",
                                         "JAN/CaseWidth",      "ITF/CaseWidth",
                                         "Settings/Bitmap"};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryProfile base;
        Fill(base, c.stored);
        MemoryProfile profile(&base);  // its write log holds only the sheet's writes
        WorkingGaps gaps{6, 7};
        OptionsSheetModel model(profile, gaps);
        for (const Step& step : c.steps) {
            ASSERT_FALSE(model.SelectPage(step.page).has_value());
            if (step.control && step.text) {
                model.SetText(*step.control, step.text);
            } else if (step.control) {
                model.SetChoice(*step.control, step.choice);
            }
        }
        ASSERT_FALSE(model.ReadShownPage().has_value());
        model.Store(profile, gaps);
        EXPECT_EQ(profile.WriteLog(), order);
        EXPECT_EQ(StoredValues(profile), c.expected);
        EXPECT_EQ(gaps.codabarGapX, c.gaps.codabarGapX);
        EXPECT_EQ(gaps.code39GapX, c.gaps.code39GapX);
        EXPECT_FALSE(profile.Contains("Codabar", "GapX")) << "the gaps wait for the document";
        EXPECT_FALSE(profile.Contains("Code39", "GapX"));
    }
}

TEST(OptionsSheetModelTest, BadNumbersKeepTheUserOnTheirPage)
{
    // Each box's limits: the message names them (its texts are compared
    // with the reading of every number box).
    const IntegerField width{IntegerField::Kind::Signed, 1, 15};
    const IntegerField gap{IntegerField::Kind::Signed, 1, 10};
    const struct {
        P page;
        C box;
        const char* text;
        FieldError error;
        IntegerField limits;
    } cases[] = {
        {P::Jan, C::JanCaseWidth, "16", FieldError::OutOfRange, width},
        {P::Jan, C::JanCaseWidth, "0", FieldError::OutOfRange, width},
        {P::Jan, C::JanCaseWidth, "", FieldError::NotAnInteger, width},
        {P::Jan, C::JanCaseWidth, "5a", FieldError::NotAnInteger, width},
        {P::Code39, C::Code39GapX, "11", FieldError::OutOfRange, gap},
        {P::Code39, C::Code39GapX, "4294967297", FieldError::NotAnInteger, gap},
        {P::Codabar, C::CodabarGapX, "11", FieldError::OutOfRange, gap},
        {P::Codabar, C::CodabarGapX, "-1", FieldError::OutOfRange, gap},  // signed
        {P::Itf, C::ItfCaseWidth, "1.5", FieldError::NotAnInteger, width},
        {P::Itf, C::ItfCaseWidth, "-", FieldError::NotAnInteger, width},
        {P::Itf, C::ItfCaseWidth, "16", FieldError::OutOfRange, width},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(InfoOf(c.page).caption) + " \"" + c.text + "\"");
        MemoryProfile profile;
        WorkingGaps gaps{1, 1};
        OptionsSheetModel model(profile, gaps);
        ASSERT_FALSE(model.SelectPage(c.page).has_value());
        // Other values on the refused page must not change either.
        model.SetChoice(C::JanCodeOut, 0);
        model.SetChoice(C::CodabarStartChar, 3);
        model.SetText(c.box, c.text);
        for (int attempt = 0; attempt < 2; ++attempt) {
            const auto failure = attempt == 0 ? model.SelectPage(P::Bitmap) : model.ReadShownPage();
            ASSERT_TRUE(failure.has_value());
            EXPECT_EQ(failure->control, c.box);
            EXPECT_EQ(failure->message, FieldErrorMessage(c.error, c.limits));
            EXPECT_EQ(model.CurrentPage(), c.page);
        }
        EXPECT_EQ(model.Jan().codeOut, 1);
        EXPECT_EQ(model.Codabar().startChar, 0);
        EXPECT_EQ(model.Text(c.box), c.text) << "the bad text stays typed";

        model.SetText(c.box, "3");
        ASSERT_FALSE(model.SelectPage(P::Bitmap).has_value());
        EXPECT_EQ(model.Value(c.box), 3);
    }
}

TEST(OnOptionsTest, TheSheetStartsFromTheDocumentsGapsAndTheDocumentTakesThemBack)
{
    struct Case {
        const char* name;
        const char* codeText;
        int codeType;
        WorkingGaps leftByCodeDialog;  // working copies before the command
        WorkingGaps setBySheet;        // {0, 0}: the sheet was cancelled
        int expectedCodabarGap;
        int expectedCode39Gap;
        bool redraw;
    };
    const std::vector<Case> cases{
        {"OK with an empty code text: gaps change, nothing encoded",
         "",
         Code39,
         {1, 1},
         {5, 4},
         5,
         4,
         false},
        {"OK with a code text: re-encoded with the new gap",
         "*A*",
         Code39,
         {1, 1},
         {1, 4},
         1,
         4,
         true},
        {"Cancel after the code dialog's sheet left other gaps: the document's stay",
         "*A*",
         Code39,
         {8, 9},
         {0, 0},
         2,
         3,
         true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        MemoryProfile profile;
        profile.WriteProfileInt("Codabar", "GapX", 2);
        profile.WriteProfileInt("Code39", "GapX", 3);
        WorkingGaps gaps;
        CBarCodeDoc doc;
        doc.Load(profile, gaps);
        doc.CodeType = c.codeType;
        doc.CodeText = c.codeText;
        doc.Check = 0;
        gaps = c.leftByCodeDialog;
        WorkingGaps seenBySheet;
        const bool redraw = OnOptions(doc, gaps, profile, [&] {
            seenBySheet = gaps;
            if (c.setBySheet.codabarGapX != 0) {
                gaps = c.setBySheet;
            }
        });
        EXPECT_EQ(seenBySheet.codabarGapX, 2);
        EXPECT_EQ(seenBySheet.code39GapX, 3);
        EXPECT_EQ(doc.CodabarGapX, c.expectedCodabarGap);
        EXPECT_EQ(doc.Code39GapX, c.expectedCode39Gap);
        EXPECT_EQ(gaps.codabarGapX, c.expectedCodabarGap);
        EXPECT_EQ(gaps.code39GapX, c.expectedCode39Gap);
        EXPECT_EQ(redraw, c.redraw);
        if (c.redraw) {
            // "*", gap, "A": the space after the first character is the gap.
            ASSERT_GT(doc.ModuleSequence.count, 10);
            EXPECT_EQ(doc.ModuleSequence.elements[9], c.expectedCode39Gap * doc.NWidth);
        } else {
            EXPECT_EQ(doc.ModuleSequence.count, 0);
        }
        EXPECT_EQ(profile.GetProfileInt("Code39", "GapX", 0), 3)
            << "the gap reaches the profile only when the document is destroyed";
    }
}

}  // namespace
}  // namespace kestrel
