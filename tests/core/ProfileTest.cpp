#include "profile/MemoryProfile.h"

#include <gtest/gtest.h>

namespace kestrel {
namespace {

TEST(ParseProfileInt, ReadsWhatAStoreHoldsAndRejectsTheRest)
{
    const struct {
        const char* text;
        bool ok;
        int value;
    } cases[] = {
        {"0", true, 0},
        {"16", true, 16},
        {"-7", true, -7},
        {"+5", true, 5},
        {"16777215", true, 0xFFFFFF},
        {"2147483647", true, 2147483647},
        {"-2147483648", true, INT32_MIN},
        {"4294967295", true, -1},  // a DWORD's top bit set
        {"4294967296", false, 0},
        {"-2147483649", false, 0},
        {"", false, 0},
        {"-", false, 0},
        {"12abc", false, 0},
        {" 12", false, 0},
        {"0x10", false, 0},
        {"99999999999999999999999", false, 0},
    };
    for (const auto& c : cases) {
        int value = 0;
        EXPECT_EQ(ParseProfileInt(c.text, value), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(value, c.value) << c.text;
        }
    }
}

TEST(MemoryProfile, ReadsFallBackToTheBaseAndWritesStayInMemory)
{
    MemoryProfile base;
    base.WriteProfileInt("Code", "Width", 400);
    base.WriteProfileString("Comment", "String1", "base");
    MemoryProfile overlay(&base);
    EXPECT_EQ(overlay.GetProfileInt("Code", "Width", 300), 400);
    overlay.WriteProfileInt("Code", "Width", 500);
    overlay.WriteProfileString("Codabar", "CheckDegit", "1");
    EXPECT_EQ(overlay.GetProfileInt("Code", "Width", 300), 500);
    EXPECT_EQ(base.GetProfileInt("Code", "Width", 300), 400);
    EXPECT_EQ(overlay.GetProfileInt("Codabar", "CheckDegit", 2), 1);
    EXPECT_EQ(overlay.GetProfileString("Comment", "String1", ""), "base");
    EXPECT_EQ(overlay.GetProfileString("Comment", "String2", "dflt"), "dflt");
    overlay.WriteProfileString("Code", "Height", "tall");
    EXPECT_EQ(overlay.GetProfileInt("Code", "Height", 150), 150)
        << "text that is no number reads as the default";
}

}  // namespace
}  // namespace kestrel
