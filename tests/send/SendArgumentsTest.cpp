#include "SendArguments.h"
#include "SendArgumentTable.h"

#include <gtest/gtest.h>

#include <cctype>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace kestrel::send {
namespace {

std::string Shown(const std::vector<std::string>& arguments)
{
    std::string shown;
    for (const std::string& argument : arguments) {
        shown += '[' + argument + ']';
    }
    return shown;
}

// Accepted command lines and the three numbers they send. The message
// numbers are WM_USER (0x400) + 101 to 105; a packed lParam has its low
// number in bits 0-15 (400 = 0x190, 150 = 0x96).
TEST(SendArguments, AcceptedCommandLinesAndWhatTheySend)
{
    const struct {
        std::vector<std::string> arguments;
        std::uint32_t message;
        std::uint32_t wParam;
        std::int32_t lParam;
        bool help = false;  // then nothing is sent
    } cases[] = {
        {{"UM_SETTYPE", "5", "0"}, 0x466, 5, 0},
        {{"um_cliptext", "0", "0"}, 0x465, 0, 0},
        {{"1126", "0", "0"}, 0x466, 0, 0},
        {{"0x468", "0X4", "0xc8"}, 0x468, 4, 200},
        // Numbers that are not messages still go out: the program refuses them.
        {{"0x470", "0", "0"}, 0x470, 0, 0},
        // -1, 0xFFFFFFFF and 4294967295 are the same 32 bits.
        {{"UM_SETVALUE", "10", "-1"}, 0x468, 10, -1},
        {{"UM_SETVALUE", "10", "0xFFFFFFFF"}, 0x468, 10, -1},
        {{"UM_SETVALUE", "10", "4294967295"}, 0x468, 10, -1},
        {{"UM_SETTYPE", "-1", "0"}, 0x466, 0xFFFFFFFFu, 0},
        {{"UM_SETVALUE", "10", "2147483648"}, 0x468, 10, INT32_MIN},
        {{"UM_SETVALUE", "0", "--low", "400", "--high", "150"}, 0x468, 0, 0x00960190},
        {{"UM_SETVALUE", "0", "--high=150", "--low=400"}, 0x468, 0, 0x00960190},
        {{"--low", "400", "UM_SETVALUE", "--high", "150", "0"}, 0x468, 0, 0x00960190},
        // A negative low number must not spill into the high half.
        {{"UM_SETVALUE", "1", "--low", "-1", "--high", "0"}, 0x468, 1, 0x0000FFFF},
        {{"UM_SETVALUE", "1", "--low", "0", "--high", "-1"}, 0x468, 1, -65536},
        {{"UM_SETVALUE", "0", "--low", "1", "--high", "0x8000"}, 0x468, 0, INT32_MIN + 1},
        // After "--" a word starting with dashes is not an option.
        {{"UM_SETVALUE", "--", "10", "-5"}, 0x468, 10, -5},
        // --help wins over everything else.
        {{"--help"}, 0, 0, 0, true},
        {{"UM_SETTYPE", "--help"}, 0, 0, 0, true},
        {{"x", "--help", "y"}, 0, 0, 0, true},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(Shown(row.arguments));
        SendArguments parsed;
        std::string error;
        ASSERT_TRUE(ParseArguments(row.arguments, parsed, error)) << error;
        EXPECT_EQ(parsed.help, row.help);
        if (!row.help) {
            EXPECT_EQ(parsed.request.message, row.message);
            EXPECT_EQ(parsed.request.wParam, row.wParam);
            EXPECT_EQ(parsed.request.lParam, row.lParam);
        }
    }
    EXPECT_NE(UsageText().find("--low N --high M"), std::string::npos);
}

// Refused command lines, each with a word its one-line reason must name.
TEST(SendArguments, RefusedCommandLinesSayWhy)
{
    const struct {
        std::vector<std::string> arguments;
        const char* mentioned;
    } cases[] = {
        {{}, "MESSAGE WPARAM LPARAM"},
        {{"UM_SETTYPE", "5"}, "MESSAGE WPARAM LPARAM"},
        {{"UM_SETSIZE", "0", "0"}, "UM_SETSIZE"},
        {{"UM_SETTYPE ", "0", "0"}, "MESSAGE"},
        {{"UM_SETTYPE", "five", "0"}, "WPARAM"},
        {{"UM_SETTYPE", "4294967296", "0"}, "WPARAM"},
        {{"UM_SETTYPE", "0", "-2147483649"}, "LPARAM"},
        {{"UM_SETTYPE", "0", "+1"}, "LPARAM"},
        {{"UM_SETTYPE", "0", "--1"}, "--1"},
        {{"UM_SETTYPE", "0", "1 "}, "LPARAM"},
        {{"UM_SETTYPE", "0", "12abc"}, "LPARAM"},
        {{"UM_SETVALUE", "0", "--low", "400"}, "--high"},
        {{"UM_SETVALUE", "0", "--low", "400", "--high"}, "--high"},
        {{"UM_SETVALUE", "0", "--low", "32768", "--high", "1"}, "--low"},
        {{"UM_SETVALUE", "0", "--low", "1", "--high", "-32769"}, "--high"},
        {{"UM_SETVALUE", "0", "7", "--low", "1", "--high", "2"}, "--low N --high M"},
        {{"UM_SETVALUE", "0", "0", "--lparam", "1"}, "--lparam"},
    };
    for (const auto& row : cases) {
        SCOPED_TRACE(Shown(row.arguments));
        SendArguments parsed;
        std::string error;
        EXPECT_FALSE(ParseArguments(row.arguments, parsed, error));
        EXPECT_NE(error.find(row.mentioned), std::string::npos) << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
    }
}


TEST(SendWordTable, EveryNamedMessageIsSentByItsNameInAnyCaseAndListed)
{
    const std::string usage = UsageText();
    SendArguments parsed;
    std::string refusal;
    ASSERT_FALSE(ParseArguments({"UM_NONE", "0", "0"}, parsed, refusal));
    for (const NamedMessage& named : NamedMessages()) {
        std::string lower(named.name);
        for (char& c : lower) {
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        std::string error;
        ASSERT_TRUE(ParseArguments({lower, "0", "0"}, parsed, error)) << error;
        EXPECT_EQ(parsed.request.message, named.number) << named.name;
        char hex[16];
        std::snprintf(hex, sizeof hex, "(0x%x)", named.number);
        EXPECT_NE(usage.find(std::string(named.name) + " " + hex), std::string::npos) << hex;
        EXPECT_NE(refusal.find(named.name), std::string::npos) << refusal;
    }
}

TEST(SendWordTable, EveryWordIsListedAndARefusedValueNamesIt)
{
    const std::string usage = UsageText();
    const std::vector<std::string> good{"UM_SETTYPE", "0", "0"};
    std::size_t place = 0;
    for (const CommandWord& word : CommandWords()) {
        const std::string name(word.name);
        SCOPED_TRACE(name);
        if (!word.usage.empty()) {
            EXPECT_NE(usage.find("\n" + std::string(word.usage)), std::string::npos);
        }
        SendArguments parsed;
        std::string error;
        if (word.InPlace()) {
            std::vector<std::string> arguments = good;
            arguments.at(place++) = "0x";
            EXPECT_FALSE(ParseArguments(arguments, parsed, error));
            EXPECT_EQ(error.rfind(name + " must be ", 0), 0U) << error;
            EXPECT_NE(error.find("\"0x\""), std::string::npos) << error;
        } else if (word.kind == WordKind::Bits16) {
            EXPECT_FALSE(ParseArguments({"UM_SETVALUE", "0", name}, parsed, error));
            EXPECT_EQ(error, name + " needs a number");
            EXPECT_FALSE(ParseArguments({"UM_SETVALUE", "0", name + "=0x10000"}, parsed, error));
            EXPECT_EQ(error.rfind(name + " takes ", 0), 0U) << error;
            EXPECT_FALSE(ParseArguments({"UM_SETVALUE", "0", name + "=0xFFFF"}, parsed, error));
            EXPECT_EQ(error, "--low and --high go together");
        }
    }
    EXPECT_EQ(place, good.size());
}

}  // namespace
}  // namespace kestrel::send
