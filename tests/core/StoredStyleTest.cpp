// The drawing style read from the profile: what a stored, a missing and an
// unreadable value each give.

#include "document/StoredStyle.h"
#include "profile/MemoryProfile.h"

#include <gtest/gtest.h>

#include <optional>

namespace kestrel {
namespace {

// A bearer width the profile does not hold, or holds as no number, is left
// to the drawing (six narrow widths); any stored number, 0 included, is
// used as it stands.
TEST(ReadDrawStyle, BearerWidthsAreUnsetOnlyWhenNotStoredAsANumber)
{
    struct Row {
        const char* stored;  // nullptr: no key
        std::optional<int> width;
    };
    const Row rows[] = {
        {nullptr, std::nullopt}, {"7", 7},           {"0", 0}, {"1", 1}, {"-3", -3},
        {"wide", std::nullopt},  {"", std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.stored ? row.stored : "(none)");
        MemoryProfile profile;
        if (row.stored) {
            profile.WriteProfileString("JAN", "CaseWidth", row.stored);
            profile.WriteProfileString("ITF", "CaseWidth", row.stored);
        }
        const DrawStyle style = ReadDrawStyle(profile);
        EXPECT_EQ(style.janBearerWidth, row.width);
        EXPECT_EQ(style.itfBearerWidth, row.width);
    }
}

TEST(ReadDrawStyle, ColoursCommentsAndTheJanOptionComeFromTheirKeys)
{
    MemoryProfile profile;
    const DrawStyle defaults = ReadDrawStyle(profile);
    EXPECT_EQ(defaults.background, 0xFFFFFFU);
    EXPECT_EQ(defaults.bars, 0U);
    EXPECT_TRUE(defaults.janDigitsInBoxes);
    EXPECT_EQ(defaults.comment1.height, 100) << "the drawing's own default";

    profile.WriteProfileInt("Code", "BackColor", 0x102030);
    profile.WriteProfileInt("Code", "BarColor", 0x405060);
    profile.WriteProfileInt("Code", "CodeColor", 0x708090);
    profile.WriteProfileString("Comment", "String2", "Lot 7");
    profile.WriteProfileInt("Comment", "High2", 12);
    profile.WriteProfileInt("Comment", "Color2", 0xA0B0C0);
    profile.WriteProfileInt("JAN", "CodeOut", 0);
    const DrawStyle style = ReadDrawStyle(profile);
    EXPECT_EQ(style.background, 0x102030U);
    EXPECT_EQ(style.bars, 0x405060U);
    EXPECT_EQ(style.text, 0x708090U);
    EXPECT_TRUE(style.comment1.text.empty());
    EXPECT_EQ(style.comment2.text, "Lot 7");
    EXPECT_EQ(style.comment2.height, 12);
    EXPECT_EQ(style.comment2.colour, 0xA0B0C0U);
    EXPECT_FALSE(style.janDigitsInBoxes);
}

}  // namespace
}  // namespace kestrel
