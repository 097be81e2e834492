// The profile read without Qt must read as QSettings reads it, or not at
// all: every file here goes through both, and where the plain reader takes
// a file its every value is QSettings'.

#include "profile/PlainIniProfile.h"
#include "profile/SettingsProfile.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cctype>
#include <cstdlib>
#include <fstream>
#include <string>

namespace kestrel {
namespace {

struct IniCase {
    const char* name;
    const char* text;
    bool plain;  // whether the plain reader takes it
};

// The keys each file is read at; "Missing/Key" reads the default.
const std::pair<const char*, const char*> Keys[] = {
    {"Settings", "Code"}, {"Settings", "Comment"}, {"Settings", "Height"},
    {"Main", "Path"},     {"Main", "Version"},     {"Settings", "Empty"},
    {"Missing", "Key"},   {"settings", "Code"},    {"Settings", "code"},
};

const IniCase Cases[] = {
    {"written by the program",
     "[Main]\nPath=/home/u/kestrel\nVersion=213\n\n[Settings]\nCode=4901234567894\nHeight=16\n",
     true},
    {"Japanese in UTF-8",
     "[Settings]\nComment=\xE5\x95\x86\xE5\x93\x81\xE3\x82\xB3\xE3\x83\xBC\xE3\x83\x89\n", true},
    {"half-width katakana and a yen sign", "[Settings]\nComment=\xEF\xBD\xB6\xC2\xA5\n", true},
    {"a character code page 932 has not", "[Settings]\nComment=a\xF0\x9F\x98\x80z\n", true},
    {"quoted with commas, spaces and semicolons",
     "[Settings]\nComment=\" a, b; c=d \"\nCode=\"\"\n", true},
    {"an empty value", "[Settings]\nEmpty=\nCode=1\n", true},
    {"no final line end", "[Settings]\nCode=12", true},
    {"a missing file", nullptr, true},
    {"an empty file", "", true},
    {"numbers with signs", "[Settings]\nHeight=-0016\nCode=+7\n", true},
    // Beyond the plain form: QSettings decides.
    {"a list", "[Settings]\nComment=a, b\n", false},
    {"escapes", "[Settings]\nComment=\"a\\\\b\\\"c\\x41\"\n", false},
    {"a byte array", "[Settings]\nComment=@ByteArray(\x82\xA0)\n", false},
    {"a comment line", "; made by hand\n[Settings]\nCode=1\n", false},
    {"a comment after a value", "[Settings]\nCode=12 ; twelve\n", false},
    {"spaces around the equals sign", "[Settings]\nCode = 12\n", false},
    {"a percent-encoded key", "[Settings]\nCo%64e=1\n", false},
    {"CR LF line ends", "[Settings]\r\nCode=1\r\n", false},
    {"a byte-order mark", "\xEF\xBB\xBF[Settings]\nCode=1\n", false},
    {"code page 932 bytes", "[Settings]\nComment=\x82\xA0\n", false},
    {"a repeated key", "[Settings]\nCode=1\nCode=2\n", false},
    {"a repeated section", "[Settings]\nCode=1\n[Main]\nPath=x\n[Settings]\nHeight=3\n", false},
    {"the General section", "[General]\nCode=1\n[Settings]\nCode=2\n", false},
    {"a key before any section", "Code=1\n[Settings]\nCode=2\n", false},
    {"a continued line", "[Settings]\nComment=a\\\nb\n", false},
    {"a tab in a value", "[Settings]\nComment=a\tb\n", false},
    {"a broken section line", "[Settings\nCode=1\n", false},
};

class PlainIniProfileTest : public ::testing::TestWithParam<IniCase> {};

TEST_P(PlainIniProfileTest, ReadsAsQSettingsReadsOrNotAtAll)
{
    const IniCase& param = GetParam();
    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("Kestrel.ini")).toStdString();
    if (param.text != nullptr) {
        std::ofstream(path, std::ios::binary) << param.text;
    }
    const auto plain = ReadPlainIniProfile(path);
    ASSERT_EQ(plain != nullptr, param.plain);
    if (!plain) {
        return;
    }
    const SettingsProfile qt(QString::fromStdString(path), SettingsProfile::Access::ReadOnly);
    for (const auto& [section, key] : Keys) {
        EXPECT_EQ(plain->GetProfileString(section, key, "(default)"),
                  qt.GetProfileString(section, key, "(default)"))
            << section << '/' << key;
        EXPECT_EQ(plain->GetProfileInt(section, key, -99), qt.GetProfileInt(section, key, -99))
            << section << '/' << key;
    }
}

INSTANTIATE_TEST_SUITE_P(Files, PlainIniProfileTest, ::testing::ValuesIn(Cases),
                         [](const ::testing::TestParamInfo<IniCase>& info) {
                             std::string name;
                             for (const char* c = info.param.name; *c != '\0'; ++c) {
                                 name += std::isalnum(static_cast<unsigned char>(*c)) ? *c : '_';
                             }
                             return name;
                         });

// The per-user file is the one QSettings would open, wherever the
// environment puts it. QSettings settles its folders once per process, so
// each setting is tried in a process of its own.
TEST(PlainDefaultProfilePath, IsQSettingsFile)
{
    for (const char* setting : {"/tmp/kestrel-config", ""}) {
        EXPECT_EXIT(
            {
                if (*setting != '\0') {
                    setenv("XDG_CONFIG_HOME", setting, 1);
                } else {
                    unsetenv("XDG_CONFIG_HOME");
                }
                const std::optional<std::string> plain = PlainDefaultProfilePath();
                const std::string qt =
                    SettingsProfile(SettingsProfile::Access::ReadOnly).Location().toStdString();
                std::exit(plain && *plain == qt ? 0 : 1);
            },
            ::testing::ExitedWithCode(0), "")
            << setting;
    }
}

}  // namespace
}  // namespace kestrel
