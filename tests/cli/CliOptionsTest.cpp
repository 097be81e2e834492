#include "CliOptions.h"

#include <gtest/gtest.h>

namespace kestrel::cli {
namespace {

TEST(CommandLine, AcceptsEveryFlagInBothForms)
{
    CliOptions options;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--type", "codabar", "--data=A12B", "--check", "1",
                                  "--auto-add=0", "--aspect", "2", "--narrow", "50",
                                  "--codabar-gap", "10", "--code39-gap=1", "--codabar-start",
                                  "b", "--codabar-stop", "D", "--set",
                                  "Codabar/CheckDegit=0", "--set", "Comment/String1=",
                                  "--profile", "p.ini", "--code-text", "--module-text"},
                                 options, error))
        << error;
    EXPECT_EQ(options.codeType, 4);
    EXPECT_EQ(options.dataUtf8, "A12B");
    EXPECT_EQ(options.check, 1);
    EXPECT_EQ(options.autoAdd, 0);
    EXPECT_EQ(options.aspect, 2);
    EXPECT_EQ(options.narrowWidth, 50);
    EXPECT_EQ(options.codabarGapX, 10);
    EXPECT_EQ(options.code39GapX, 1);
    EXPECT_EQ(options.codabarStart, 'b');
    EXPECT_EQ(options.codabarStop, 'D');
    ASSERT_EQ(options.overrides.size(), 2U);
    EXPECT_EQ(options.overrides[0].section, "Codabar");
    EXPECT_EQ(options.overrides[0].key, "CheckDegit");
    EXPECT_EQ(options.overrides[0].valueUtf8, "0");
    EXPECT_EQ(options.overrides[1].valueUtf8, "");
    EXPECT_EQ(options.profilePath, "p.ini");
    EXPECT_EQ(options.outputs, (std::vector<Output>{Output::CodeText, Output::ModuleText}));
}

TEST(CommandLine, TypeNamesMatchTheirIndices)
{
    const char* names[] = {"jan13", "jan8", "itf", "stf", "codabar", "code39",
                           "code39ext", "code93", "code93ext", "code11", "code11-2", "code128"};
    for (int index = 0; index < 12; ++index) {
        CliOptions byName;
        CliOptions byNumber;
        std::string error;
        ASSERT_TRUE(ParseCommandLine({"--type", names[index]}, byName, error));
        ASSERT_TRUE(ParseCommandLine({"--type", std::to_string(index)}, byNumber, error));
        EXPECT_EQ(byName.codeType, index);
        EXPECT_EQ(byNumber.codeType, index);
    }
}

TEST(CommandLine, RejectsBadFlagsAndValuesWithTheFlagNamed)
{
    const struct {
        std::vector<std::string> arguments;
        const char* mentioned;
    } cases[] = {
        {{"--type", "12"}, "--type"},
        {{"--type", "ean13"}, "--type"},
        {{"--check", "2"}, "--check"},
        {{"--auto-add", "yes"}, "--auto-add"},
        {{"--aspect", "3"}, "--aspect"},
        {{"--narrow", "0"}, "--narrow"},
        {{"--narrow", "51"}, "--narrow"},
        {{"--narrow", "1x"}, "--narrow"},
        {{"--codabar-gap", "11"}, "--codabar-gap"},
        {{"--code39-gap", "-1"}, "--code39-gap"},
        {{"--codabar-start", "E"}, "--codabar-start"},
        {{"--codabar-stop", "AB"}, "--codabar-stop"},
        {{"--set", "CodeNWidth=3"}, "--set"},
        {{"--set", "/Key=3"}, "--set"},
        {{"--set", "Code/=3"}, "--set"},
        {{"--data"}, "--data"},
        {{"--module-text=1"}, "--module-text"},
        {{"--bogus"}, "--bogus"},
        {{"stray"}, "stray"},
        {{"--width", "4"}, "--width"},
        {{"--height", "1000"}, "--height"},
        {{"--xmargin", "101"}, "--xmargin"},
        {{"--ymargin", "-1"}, "--ymargin"},
        {{"--text", "2"}, "--text"},
        {{"--text-height", "9"}, "--text-height"},
        {{"--bearer", "on"}, "--bearer"},
        {{"--depth", "3"}, "--depth"},
        {{"-o"}, "-o"},
        {{"--batch", "in.txt"}, "--batch"},
        {{"--batch", "in.txt", "-o", "same.bmp"}, "{n}"},
        {{"--batch", "-", "-o", "x-{n}.bmp", "--data", "1"}, "--data"},
        {{"-o", "a.png", "--format", "gif"}, "--format"},
        {{"-o", "a.png", "--format", ""}, "--format"},
        {{"--format", "png"}, "-o"},
        {{"-o", "a.bmp", "--bpp", "2"}, "--bpp"},
        {{"-o", "a.bmp", "--bpp", "24", "--rle"}, "--rle"},
        {{"-o", "a.bmp", "--rle"}, "--rle"},
        {{"-o", "a.png", "--bpp", "1"}, "--bpp"},
        {{"-o", "a.bmp", "--format", "svg", "--bpp", "8"}, "--bpp"},
        {{"-o", "a.pdf", "--bpp", "4", "--rle"}, "--bpp"},
        {{"--bpp", "8"}, "-o"},
        {{"-o", "a.bmp", "--bpp", "8", "--depth", "2"}, "--depth"},
        {{"--verify", "--data", "1"}, "-o"},
        {{"--batch", "-", "-o", "x-{n}.bmp", "--jobs", "0"}, "--jobs"},
        {{"--batch", "-", "-o", "x-{n}.bmp", "--jobs", "65"}, "--jobs"},
        {{"--batch", "-", "-o", "x-{n}.bmp", "--jobs", "two"}, "--jobs"},
        {{"--data", "1", "-o", "x.bmp", "--jobs", "2"}, "--batch"},
    };
    for (const auto& c : cases) {
        CliOptions options;
        std::string error;
        EXPECT_FALSE(ParseCommandLine(c.arguments, options, error)) << c.arguments[0];
        EXPECT_NE(error.find(c.mentioned), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << "one line: " << error;
    }
}

TEST(CommandLine, ColoursAreGivenAsTheProfileStoresThem)
{
    const struct {
        const char* given;
        const char* stored;
    } cases[] = {
        {"Code/BarColor=#000080", "8388608"},  // blue in the third byte
        {"Code/BackColor=#FF0000", "255"},     // red in the low byte
        {"Comment/Color1=#00ff00", "65280"},
        {"Comment/String1=#12345", "#12345"},  // not a colour: kept as text
        {"Comment/String1=#GGGGGG", "#GGGGGG"},
    };
    for (const auto& c : cases) {
        CliOptions options;
        std::string error;
        ASSERT_TRUE(ParseCommandLine({"--set", c.given}, options, error)) << error;
        EXPECT_EQ(options.overrides.at(0).valueUtf8, c.stored) << c.given;
    }
}

TEST(CommandLine, HelpListsEveryFlagAndSymbology)
{
    const std::string usage = UsageText();
    for (const char* flag : {"--profile", "--set", "--type", "--data", "--check", "--auto-add",
                             "--aspect", "--narrow", "--codabar-gap", "--code39-gap",
                             "--codabar-start", "--codabar-stop", "--module-text",
                             "--code-text", "--help", "code11-2", "Code 128 (Only Code B)",
                             "--width", "--height", "--xmargin", "--ymargin", "--text-height",
                             "--bearer", "--depth", "--output", "--batch", "{n}", "--format",
                             ".png", ".svg", ".pdf", "--bpp", "--rle", "--verify"}) {
        EXPECT_NE(usage.find(flag), std::string::npos) << flag;
    }
}

}  // namespace
}  // namespace kestrel::cli
