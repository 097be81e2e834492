#include "CliOptions.h"
#include "CliOptionTable.h"

#include <gtest/gtest.h>

#include <set>

namespace kestrel::cli {
namespace {

TEST(CommandLine, AcceptsEveryFlagInBothForms)
{
    CliOptions options;
    std::string error;
    ASSERT_TRUE(ParseCommandLine({"--type",
                                  "codabar",
                                  "--data=A12B",
                                  "--check",
                                  "1",
                                  "--auto-add=0",
                                  "--aspect",
                                  "2",
                                  "--narrow",
                                  "50",
                                  "--codabar-gap",
                                  "10",
                                  "--code39-gap=1",
                                  "--codabar-start",
                                  "b",
                                  "--codabar-stop",
                                  "D",
                                  "--set",
                                  "Codabar/CheckDegit=0",
                                  "--set",
                                  "Comment/String1=",
                                  "--profile",
                                  "p.ini",
                                  "--code-text",
                                  "--module-text"},
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
    const char* names[] = {"jan13",     "jan8",   "itf",       "stf",    "codabar",  "code39",
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
    for (const char* flag : {"--profile",
                             "--set",
                             "--type",
                             "--data",
                             "--check",
                             "--auto-add",
                             "--aspect",
                             "--narrow",
                             "--codabar-gap",
                             "--code39-gap",
                             "--codabar-start",
                             "--codabar-stop",
                             "--module-text",
                             "--code-text",
                             "--help",
                             "code11-2",
                             "Code 128 (Only Code B)",
                             "--width",
                             "--height",
                             "--xmargin",
                             "--ymargin",
                             "--text-height",
                             "--bearer",
                             "--depth",
                             "--output",
                             "--batch",
                             "{n}",
                             "--format",
                             ".png",
                             ".svg",
                             ".pdf",
                             "--bpp",
                             "--rle",
                             "--verify"}) {
        EXPECT_NE(usage.find(flag), std::string::npos) << flag;
    }
}


std::vector<std::string_view> NamesOf(const OptionRow& row)
{
    std::vector<std::string_view> names{row.names[0]};
    if (!row.names[1].empty()) {
        names.push_back(row.names[1]);
    }
    return names;
}

TEST(OptionTable, EveryListedOptionStartsALineOfHelpAndNoNameIsTakenTwice)
{
    const std::string usage = UsageText();
    std::set<std::string_view> seen;
    for (const OptionRow& row : OptionRows()) {
        if (!row.IsOption()) {
            continue;
        }
        for (const std::string_view name : NamesOf(row)) {
            EXPECT_TRUE(seen.insert(name).second) << name << " is in two rows";
        }
        if (!row.help.empty()) {
            EXPECT_NE(usage.find("\n  " + std::string(row.names[0])), std::string::npos)
                << row.names[0];
        }
    }
}

TEST(OptionTable, HowEachKindOfOptionTakesItsValue)
{
    for (const OptionRow& row : OptionRows()) {
        if (!row.IsOption()) {
            continue;
        }
        for (const std::string_view name : NamesOf(row)) {
            const std::string flag(name);
            CliOptions options;
            std::string error;
            const bool withEquals = ParseCommandLine({flag + "=1"}, options, error);
            if (row.kind == OptionKind::Value) {
                EXPECT_FALSE(ParseCommandLine({flag}, options, error)) << flag;
                EXPECT_EQ(error, flag + " needs a value");
            } else if (row.kind == OptionKind::StrictSwitch) {
                EXPECT_FALSE(withEquals) << flag;
                EXPECT_EQ(error, flag + " takes no value");
            } else if (name.starts_with("--")) {
                // Kept as it always was: a switch overlooks "=VALUE".
                std::string errorWithout;
                EXPECT_EQ(ParseCommandLine({flag}, options, errorWithout), withEquals) << flag;
                EXPECT_EQ(errorWithout, error);
            }
        }
    }
}

// One accepted and one refused value for every option that takes one,
// with what else the accepted value needs on the command line.
TEST(OptionTable, EveryValueOptionAcceptsAndRefusesWithItsFlagNamed)
{
    const struct {
        const char* flag;
        const char* accepted;
        const char* refused;
        std::vector<std::string> with;
    } cases[] = {
        {"--profile", "p.ini", "", {}},
        {"--set", "Code/BarColor=#000080", "Code=1", {}},
        {"--type", "code11-2", "12", {}},
        {"--data", "", nullptr, {}},  // any text; the code dialog's rules judge it later
        {"--check", "+1", "1.0", {}},
        {"--auto-add", "0", "-0x1", {}},
        {"--aspect", "2", "3", {}},
        {"--narrow", "50", "51", {}},
        {"--codabar-gap", "10", "0", {}},
        {"--code39-gap", "1", "11", {}},
        {"--codabar-start", "d", "e", {}},
        {"--codabar-stop", "A", "", {}},
        {"--width", "9999", "10000", {}},
        {"--height", "5", "4", {}},
        {"--xmargin", "0", "-1", {}},
        {"--ymargin", "100", "101", {}},
        {"--text", "1", "on", {}},
        {"--text-height", "200", "201", {}},
        {"--bearer", "0", "2", {}},
        {"--depth", "2", "24", {}},
        {"--bpp", "16", "2", {"-o", "a.bmp"}},
        {"--output", "a.svg", "", {}},
        {"--format", "pdf", "gif", {"-o", "a"}},
        {"--batch", "-", "", {"-o", "x-{n}.png"}},
        {"--jobs", "64", "65", {"--batch", "-", "-o", "x-{n}.png"}},
    };
    std::set<std::string_view> covered;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flag);
        covered.insert(c.flag);
        CliOptions options;
        std::string error;
        std::vector<std::string> arguments = c.with;
        arguments.insert(arguments.end(), {c.flag, c.accepted});
        EXPECT_TRUE(ParseCommandLine(arguments, options, error)) << error;
        if (c.refused == nullptr) {
            continue;
        }
        arguments.back() = c.refused;
        EXPECT_FALSE(ParseCommandLine(arguments, options, error));
        EXPECT_EQ(error.rfind(std::string(c.flag) + ": ", 0), 0U) << error;
    }
    for (const OptionRow& row : OptionRows()) {
        if (row.kind == OptionKind::Value) {
            EXPECT_TRUE(covered.contains(row.names[0]) || covered.contains(row.names[1]))
                << row.names[0] << " has no case here";
        }
    }
}

}  // namespace
}  // namespace kestrel::cli
