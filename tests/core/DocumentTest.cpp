// The settings record: profile load and store, encoding, module text,
// archive exchange, re-completion and the automation setters.

#include "document/BarCodeDoc.h"
#include "profile/MemoryProfile.h"
#include "symbology/CodeValidator.h"
#include "symbology/Symbology.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel {
namespace {

constexpr const char* ProgramPath = "/opt/kestrel/bin/kestrel";

struct DocumentFixture : ::testing::Test {
    MemoryProfile profile;
    WorkingGaps gaps;
};

TEST_F(DocumentFixture, EmptyProfileGivesTheDefaults)
{
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    EXPECT_EQ(doc.CodeHigh, 16);
    EXPECT_EQ(doc.CodeType, Jan13);
    EXPECT_EQ(doc.Height, 150);
    EXPECT_EQ(doc.Width, 300);
    EXPECT_EQ(doc.Check, 1);
    EXPECT_EQ(doc.AutoAdd, 0);
    EXPECT_EQ(doc.DispCode, 1);
    EXPECT_EQ(doc.Aspect, 0);
    EXPECT_EQ(doc.NWidth, 1);
    EXPECT_EQ(doc.Xmargin, 25);
    EXPECT_EQ(doc.Ymargin, 25);
    EXPECT_EQ(doc.Case, 0);
    EXPECT_EQ(doc.CodabarGapX, 1);
    EXPECT_EQ(doc.Code39GapX, 1);
    EXPECT_EQ(gaps.codabarGapX, 1);
    EXPECT_EQ(gaps.code39GapX, 1);
    EXPECT_EQ(doc.CodabarStart, 'A');
    EXPECT_EQ(doc.CodabarStop, 'A');
    EXPECT_TRUE(doc.CodeText.empty());
    EXPECT_EQ(doc.ModuleSequence.count, 0);
    EXPECT_FALSE(doc.HasCodeText());
}

TEST_F(DocumentFixture, StoredValuesAreReadWithTheirCorrections)
{
    profile.WriteProfileInt("Code", "NWidth", 4);
    profile.WriteProfileInt("Code", "Width", 0);
    profile.WriteProfileInt("Code", "Height", 0);
    profile.WriteProfileInt("Code", "CodeType", 11);
    profile.WriteProfileInt("Codabar", "GapX", 3);
    profile.WriteProfileInt("Code39", "GapX", 7);
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    EXPECT_EQ(doc.NWidth, 5);
    EXPECT_EQ(doc.Width, 300) << "a stored width of 0 means 300";
    EXPECT_EQ(doc.Height, 0) << "only the width is corrected";
    EXPECT_EQ(doc.CodeType, Code128B);
    EXPECT_EQ(doc.CodabarGapX, 3);
    EXPECT_EQ(gaps.codabarGapX, 3);
    EXPECT_EQ(doc.Code39GapX, 7);
    EXPECT_EQ(gaps.code39GapX, 7);
}

// Loading only reads; recording the program writes its version and path,
// and nothing else; storing writes the geometry in its order.
TEST_F(DocumentFixture, OnlyRecordAndStoreWriteAndInTheirOrder)
{
    profile.WriteProfileInt("Code", "NWidth", 4);
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    EXPECT_EQ(profile.WriteLog(), (std::vector<std::string>{"Code/NWidth"}));
    RecordProgram(profile, ProgramPath);
    EXPECT_EQ(profile.GetProfileString("Main", "Version", ""), "2.08");
    EXPECT_EQ(profile.GetProfileString("Main", "Path", ""), ProgramPath);
    doc.CodeText = "4901234567894";
    doc.CodabarGapX = 2;
    doc.Code39GapX = 9;
    doc.Store(profile);
    const std::vector<std::string> expected{"Code/NWidth",   "Main/Version",  "Main/Path",
                                            "Code/CodeHigh", "Code/CodeType", "Code/Height",
                                            "Code/Width",    "Code/Check",    "Code/AutoAdd",
                                            "Code/DispCode", "Code/Aspect",   "Code/NWidth",
                                            "Code/Xmargin",  "Code/Ymargin",  "Code/Case",
                                            "Codabar/GapX",  "Code39/GapX"};
    EXPECT_EQ(profile.WriteLog(), expected);
    EXPECT_EQ(profile.GetProfileInt("Code", "NWidth", -1), 4) << "narrow width 5 is stored as 4";
    EXPECT_EQ(profile.GetProfileInt("Codabar", "GapX", -1), 2);
    EXPECT_EQ(profile.GetProfileInt("Code39", "GapX", -1), 9);
    EXPECT_FALSE(profile.Contains("Code", "CodeText"));
}

TEST_F(DocumentFixture, RefusedEncodingKeepsTheLastGoodSequence)
{
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    doc.CodeText = "4901234567894";
    ASSERT_EQ(EncodeNumber(doc.Encode(ReadCodabarOptions(profile))), 1);
    const auto before = doc.ModuleSequence;
    doc.CodeText = "4901234567890";
    EXPECT_EQ(EncodeNumber(doc.Encode(ReadCodabarOptions(profile))), 0);
    EXPECT_EQ(doc.ModuleSequence, before);
}

TEST_F(DocumentFixture, CodabarCheckMethodIsReadAtEveryEncoding)
{
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    doc.CodeType = Codabar;
    doc.CodeText = "A126A";  // modulus 10 check of 12
    EXPECT_EQ(EncodeNumber(doc.Encode(ReadCodabarOptions(profile))), 0)
        << "the default method is modulus 16";
    profile.WriteProfileInt("Codabar", "CheckDegit", 0);
    EXPECT_EQ(EncodeNumber(doc.Encode(ReadCodabarOptions(profile))), 1);
}

TEST_F(DocumentFixture, OutOfRangeTypeChangesNothingAndHasNoModuleText)
{
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    doc.CodeText = "4901234567894";
    ASSERT_EQ(EncodeNumber(doc.Encode(ReadCodabarOptions(profile))), 1);
    const auto before = doc.ModuleSequence;
    doc.CodeType = 12;
    EXPECT_EQ(EncodeNumber(doc.Encode(ReadCodabarOptions(profile))), 1);
    EXPECT_EQ(doc.ModuleSequence, before);
    EXPECT_EQ(doc.ModuleText(ReadCodabarOptions(profile)), "");
}

struct ModuleTextCase {
    const char* name;
    int codeType;
    CodeText text;
    int aspect;
    int narrowWidth;
    std::string expected;

    friend void PrintTo(const ModuleTextCase& c, std::ostream* os) { *os << c.name; }
};

class ModuleTextForm : public ::testing::TestWithParam<ModuleTextCase> {};

TEST_P(ModuleTextForm, PrintsNarrowAndWideWithSigns)
{
    const auto& c = GetParam();
    MemoryProfile profile;
    WorkingGaps gaps;
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    doc.CodeType = c.codeType;
    doc.CodeText = c.text;
    doc.Aspect = c.aspect;
    doc.NWidth = c.narrowWidth;
    doc.Check = 0;
    EXPECT_EQ(doc.ModuleText(ReadCodabarOptions(profile)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Examples, ModuleTextForm,
    ::testing::Values(ModuleTextCase{"ItfNarrowThree", Itf, "12", 0, 3,
                                     "-1,1,-1,1,-2,1,-1,2,-1,1,-1,1,-2,2,-2,1,-1"},
                      // Under 2:5 a narrow element reads 2 and a wide one an empty field.
                      ModuleTextCase{"Code39TwoToFive", Code39, "*", 1, 1, "-2,,-2,2,,2,,2,-2,1"},
                      ModuleTextCase{"Code93ModuleFourIsEmpty", Code93, "", 0, 1,
                                     "-1,1,-1,1,,1,-1,1,-1,1,,1,-1"},
                      ModuleTextCase{"EmptySequence", Jan13, "", 0, 1, ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentFixture, ModuleTextOfJanStartsWithTheGuard)
{
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    doc.CodeText = "4901234567894";
    const std::string text = doc.ModuleText(ReadCodabarOptions(profile));
    EXPECT_EQ(text.rfind("-1,1,-1,2,-1,1,-2,", 0), 0U) << text;
    EXPECT_NE(text.back(), ',');
}

TEST_F(DocumentFixture, StoringWritesModuleTextAndRecordsItsLength)
{
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    doc.CodeType = Code128B;
    doc.CodeText = " ";
    Archive archive = Archive::ForStoring();
    doc.Serialize(archive, ReadCodabarOptions(profile));
    EXPECT_EQ(archive.Text(), "-2,1,-1,2,-1,,-2,1,-2,2,-2,2,-2,2,-2,1,-1,1,-2");
    EXPECT_EQ(doc.ModuleTextLength, static_cast<int>(archive.Text().size()));
}

TEST_F(DocumentFixture, LoadingTakesTheFirstLineAndDoesNotEncode)
{
    struct Case {
        std::string archive;
        CodeText expected;
    };
    const Case cases[] = {
        {"4901234567894\n", "4901234567894"},
        {"4901234567894\r\nsecond line\n", "4901234567894"},
        {"ABC\rDEF", "ABC"},
        {std::string("AB\0CD", 5), "AB"},
        {"", ""},
        {"no line end", "no line end"},
    };
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    for (const auto& c : cases) {
        Archive archive = Archive::ForLoading(c.archive);
        doc.Serialize(archive, ReadCodabarOptions(profile));
        EXPECT_EQ(doc.CodeText, c.expected);
        EXPECT_EQ(doc.ModuleSequence.count, 0);
    }
}

struct RecompleteCase {
    const char* name;
    int codeType;
    int check;
    int autoAdd;
    CodeText before;
    CodeText after;

    friend void PrintTo(const RecompleteCase& c, std::ostream* os) { *os << c.name; }
};

class Recompletion : public ::testing::TestWithParam<RecompleteCase> {};

TEST_P(Recompletion, ReplacesTheTextOnlyWhenAccepted)
{
    const auto& c = GetParam();
    MemoryProfile profile;
    WorkingGaps gaps;
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    doc.CodeType = c.codeType;
    doc.Check = c.check;
    doc.AutoAdd = c.autoAdd;
    doc.CodeText = c.before;
    doc.Recomplete(ReadCodabarOptions(profile));
    EXPECT_EQ(doc.CodeText, c.after);
    // Doing it again changes nothing: no check character is added twice and
    // no data character is lost.
    doc.Recomplete(ReadCodabarOptions(profile));
    EXPECT_EQ(doc.CodeText, c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Recompletion,
    ::testing::Values(
        RecompleteCase{"AutoAddOffDoesNothing", Jan13, 1, 0, "490123456789", "490123456789"},
        RecompleteCase{"JanWithWrongCheckIsMended", Jan13, 1, 1, "4901234567890", "4901234567894"},
        RecompleteCase{"JanTooShortStays", Jan13, 1, 1, "490123456789", "490123456789"},
        RecompleteCase{"ItfWithoutCheckFlag", Itf, 0, 1, "1236", "1236"},
        RecompleteCase{"StfWithoutCheckFlagKeepsDigits", Stf, 0, 1, "1236", "1236"},
        RecompleteCase{"Code39WithoutCheckFlag", Code39, 0, 1, "*CODE 39R*", "*CODE 39R*"},
        RecompleteCase{"CodabarWithoutCheckFlag", Codabar, 0, 1, "A1237A", "A123-A"},
        RecompleteCase{"Code39Extended", Code39Extended, 0, 1, "a19", "a19"},
        RecompleteCase{"Code93KeepsWhole", Code93, 0, 1, "abc", "abc"},
        RecompleteCase{"EmptyStaysEmpty", Stf, 1, 1, "", ""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(DocumentFixture, AspectChoiceMapsAutomationOrder)
{
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    const std::pair<int, int> choices[] = {{0, 0}, {1, 2}, {2, 1}};
    for (const auto& [choice, aspect] : choices) {
        doc.SetAspectChoice(choice);
        EXPECT_EQ(doc.Aspect, aspect);
    }
    doc.SetAspectChoice(3);
    EXPECT_EQ(doc.Aspect, 1) << "an unknown choice leaves the ratio";
}

TEST_F(DocumentFixture, CodabarStartStopFromPackedValue)
{
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    const struct {
        std::int32_t value;
        char start;
        char stop;
    } cases[] = {
        {0x00440042, 'B', 'D'}, {0x00300042, 'B', 'A'},  // the digit 0 is no stop character
        {0x7F647F63, 'c', 'd'},                          // bits 8-15 and 24-31 are ignored
        {0, 'A', 'A'},          {-1, 'A', 'A'},
    };
    for (const auto& c : cases) {
        doc.SetCodabarStartStop(c.value);
        EXPECT_EQ(doc.CodabarStart, c.start);
        EXPECT_EQ(doc.CodabarStop, c.stop);
    }
}

TEST_F(DocumentFixture, CodeNumberIsFramedForCode39AndCodabar)
{
    CBarCodeDoc doc;
    doc.Load(profile, gaps);
    doc.CodeType = Code39;
    doc.SetCodeNumber(123);
    EXPECT_EQ(doc.CodeText, "*123*");
    doc.CodeType = Codabar;
    doc.SetCodabarStartStop(0x00420041);
    doc.SetCodeNumber(123);
    EXPECT_EQ(doc.CodeText, "A123B");
    doc.CodeType = Jan13;
    doc.SetCodeNumber(-7);
    EXPECT_EQ(doc.CodeText, "-7");
    doc.SetCodeNumber(INT32_MIN);
    EXPECT_EQ(doc.CodeText, "-2147483648");
}

}  // namespace
}  // namespace kestrel
