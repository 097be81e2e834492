// The comment and colour settings behind their dialogs: profile defaults,
// read and write order, the comment entry's checks and the colour picks.

#include "document/ColourSettings.h"
#include "document/CommentSettings.h"
#include "profile/MemoryProfile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace kestrel {
namespace {

// Records reads as well as writes, as "Section/Key".
class ReadLoggingProfile : public MemoryProfile {
public:
    int GetProfileInt(std::string_view section, std::string_view key,
                      int defaultValue) const override
    {
        reads.push_back(std::string(section) + "/" + std::string(key));
        return MemoryProfile::GetProfileInt(section, key, defaultValue);
    }
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const override
    {
        reads.push_back(std::string(section) + "/" + std::string(key));
        return MemoryProfile::GetProfileString(section, key, defaultValue);
    }
    mutable std::vector<std::string> reads;
};

const std::vector<std::string> CommentKeys{"Comment/String1", "Comment/High1", "Comment/String2",
                                           "Comment/High2"};
const std::vector<std::string> ColourKeys{"Code/BackColor", "Code/BarColor", "Code/CodeColor",
                                          "Comment/Color1", "Comment/Color2"};

TEST(CommentSettings, ReadsWithTheDialogDefaultsAndWritesAllFourInOrder)
{
    ReadLoggingProfile profile;
    const CommentSettings empty = ReadCommentSettings(profile);
    EXPECT_EQ(profile.reads, CommentKeys);
    EXPECT_EQ(empty.line1Text, "");
    EXPECT_EQ(empty.line2Text, "");
    EXPECT_EQ(empty.line1Height, 30);
    EXPECT_EQ(empty.line2Height, 30);

    // Unchanged defaults and an empty line are written all the same.
    WriteCommentSettings(profile, empty);
    EXPECT_EQ(profile.WriteLog(), CommentKeys);
    EXPECT_EQ(profile.GetProfileInt("Comment", "High2", -1), 30);
    EXPECT_TRUE(profile.Contains("Comment", "String1"));

    // A value stored by hand outside the range is shown as it is.
    profile.WriteProfileString("Comment", "String1", "\x83\x65\x83\x58\x83\x67");  // テスト
    profile.WriteProfileInt("Comment", "High1", 250);
    const CommentSettings stored = ReadCommentSettings(profile);
    EXPECT_EQ(stored.line1Text, "\x83\x65\x83\x58\x83\x67");
    EXPECT_EQ(stored.line1Height, 250);
}

TEST(CommentSettings, EntryIsTakenInFieldOrderAndStopsAtTheFirstFailure)
{
    using Field = CommentField;
    struct Case {
        const char* what;
        CommentEntry entry;
        std::optional<Field> failedField;
        bool textNotStorable;
        FieldError heightError;
    };
    const std::optional<std::string> notStorable;
    const std::vector<Case> cases{
        {"limits", {"top", "", "10", "100"}, std::nullopt, false, FieldError::None},
        {"blanks around the number",
         {"", "", " 30\t", "+45"},
         std::nullopt,
         false,
         FieldError::None},
        {"below the range", {"", "", "5", "30"}, Field::Line1Height, false, FieldError::OutOfRange},
        {"above the range",
         {"", "", "30", "101"},
         Field::Line2Height,
         false,
         FieldError::OutOfRange},
        {"negative", {"", "", "-10", "30"}, Field::Line1Height, false, FieldError::OutOfRange},
        {"letters", {"", "", "abc", "30"}, Field::Line1Height, false, FieldError::NotAnInteger},
        {"empty height", {"", "", "30", ""}, Field::Line2Height, false, FieldError::NotAnInteger},
        {"digits then letters",
         {"", "", "30x", "30"},
         Field::Line1Height,
         false,
         FieldError::NotAnInteger},
        {"beyond 32 bits",
         {"", "", "4294967326", "30"},
         Field::Line1Height,
         false,
         FieldError::NotAnInteger},
        {"both heights wrong: the first",
         {"", "", "5", "x"},
         Field::Line1Height,
         false,
         FieldError::OutOfRange},
        // The texts are taken before either height.
        {"line 2 text before line 1 height",
         {"", notStorable, "5", "30"},
         Field::Line2Text,
         true,
         FieldError::None},
        {"line 1 text first",
         {notStorable, notStorable, "30", "30"},
         Field::Line1Text,
         true,
         FieldError::None},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const CommentAcceptance acceptance = AcceptCommentEntry(c.entry);
        EXPECT_EQ(acceptance.failedField, c.failedField);
        EXPECT_EQ(acceptance.textNotStorable, c.textNotStorable);
        EXPECT_EQ(acceptance.heightError, c.heightError);
    }

    const CommentAcceptance limits = AcceptCommentEntry(cases[0].entry);
    EXPECT_EQ(limits.settings.line1Text, "top");
    EXPECT_EQ(limits.settings.line2Text, "");
    EXPECT_EQ(limits.settings.line1Height, 10);
    EXPECT_EQ(limits.settings.line2Height, 100);
    EXPECT_EQ(AcceptCommentEntry(cases[1].entry).settings.line2Height, 45);
}

TEST(ColourSettings, DefaultsAndReadAndWriteOrder)
{
    ReadLoggingProfile profile;
    const ColourSettings colours = ColourSettings::Read(profile);
    EXPECT_EQ(profile.reads, ColourKeys);
    EXPECT_EQ(colours.Shown(ColourSlot::Background), 0xFFFFFFu);
    for (ColourSlot slot :
         {ColourSlot::Bar, ColourSlot::CodeText, ColourSlot::Comment1, ColourSlot::Comment2}) {
        EXPECT_EQ(colours.Shown(slot), 0u);
    }
    colours.Write(profile);
    EXPECT_EQ(profile.WriteLog(), ColourKeys);
    EXPECT_EQ(profile.GetProfileInt("Code", "BackColor", -1), 0xFFFFFF);
}

// Each row stores the five colours (background, bar, code text, comment 1,
// comment 2, in the profile's order), picks some and expects what is written.
TEST(ColourSettings, PicksReplaceOnlyTheirColourAndUntouchedValuesComeBackExactly)
{
    struct Pick {
        ColourSlot slot;
        Colour chosen;
    };
    struct Case {
        const char* what;
        std::vector<int> stored;
        std::vector<Pick> picks;
        std::vector<int> written;
    };
    const std::vector<int> plain{0xFFFFFF, 0x000000, 0x000000, 0x000000, 0x000000};
    const std::vector<int> odd{0x12345678, -1, 0x010203, static_cast<int>(0x80FF0000u), 0x00ABCDEF};
    const std::vector<Case> cases{
        {"nothing picked", odd, {}, odd},
        {"red is the low byte",
         plain,
         {{ColourSlot::Bar, MakeColour(255, 0, 0)}},
         {0xFFFFFF, 0x0000FF, 0, 0, 0}},
        {"blue is the third byte",
         plain,
         {{ColourSlot::Comment2, MakeColour(0, 0, 255)}},
         {0xFFFFFF, 0, 0, 0, 0xFF0000}},
        {"each button its own colour",
         plain,
         {{ColourSlot::Background, 0x102030},
          {ColourSlot::CodeText, 0x405060},
          {ColourSlot::Comment1, 0x708090}},
         {0x102030, 0, 0x405060, 0x708090, 0}},
        {"the same colour again keeps the stored bits",
         odd,
         {{ColourSlot::Background, 0x345678}, {ColourSlot::Bar, 0xFFFFFF}},
         odd},
        {"a new colour drops the bits above the colour",
         odd,
         {{ColourSlot::Background, 0x345679}, {ColourSlot::Bar, 0xFFFFFE}},
         {0x345679, 0xFFFFFE, 0x010203, static_cast<int>(0x80FF0000u), 0x00ABCDEF}},
        {"a chosen value is cut to 24 bits",
         plain,
         {{ColourSlot::Bar, 0xFF00FF00u}},
         {0xFFFFFF, 0x00FF00, 0, 0, 0}},
        {"the last pick counts",
         plain,
         {{ColourSlot::Bar, 0x111111}, {ColourSlot::Bar, 0x222222}},
         {0xFFFFFF, 0x222222, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        MemoryProfile profile;
        for (std::size_t i = 0; i < ColourKeys.size(); ++i) {
            const std::string& name = ColourKeys[i];
            const std::size_t slash = name.find('/');
            profile.WriteProfileInt(name.substr(0, slash), name.substr(slash + 1), c.stored[i]);
        }
        ColourSettings colours = ColourSettings::Read(profile);
        for (const Pick& pick : c.picks) {
            colours.Pick(pick.slot, pick.chosen);
        }
        MemoryProfile written;
        colours.Write(written);
        std::vector<int> values;
        for (const std::string& name : ColourKeys) {
            const std::size_t slash = name.find('/');
            values.push_back(
                written.GetProfileInt(name.substr(0, slash), name.substr(slash + 1), 7));
        }
        EXPECT_EQ(values, c.written);
    }
}

}  // namespace
}  // namespace kestrel
