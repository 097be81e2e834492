// kestrel-cli starts Qt only where a picture needs it: the dynamic loader's
// own list of what it loaded says whether Qt came in, and the pictures
// made either way are the same.

#include "RunCommand.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace kestrel::cli {
namespace {

using kestrel::test::Capture;

struct LoadCase {
    const char* what;
    const char* arguments;
    const char* profile;  // the INI file's text
    bool loadsQt;
};

const LoadCase Cases[] = {
    {"default JAN-13 as BMP", "--type jan13 --data 4901234567894 -o x.bmp", "", false},
    {"default JAN-13 as PNG", "--type jan13 --data 4901234567894 -o x.png", "", false},
    {"1-bit BMP of Code 39", "--type code39 --check 0 --data KESTREL --bpp 1 -o x.bmp", "", false},
    {"a profile in the plain form", "--type jan8 --data 49123456 -o x.bmp",
     "[Settings]\nHeight=20\n[Comment]\nString2=\"A, B\"\nHigh2=12\n", false},
    {"printing only", "--type jan13 --data 4901234567894 --module-text", "", false},
    {"SVG", "--type jan13 --data 4901234567894 -o x.svg", "", true},
    {"PDF", "--type jan13 --data 4901234567894 -o x.pdf", "", true},
    {"reading back", "--type jan13 --data 4901234567894 -o x.bmp --verify", "", true},
    {"a profile beyond the plain form", "--type jan13 --data 4901234567894 -o x.bmp",
     "[Settings]\nHeight=20 ; by hand\n", true},
    {"a comment FreeType draws", "--type jan13 --data 4901234567894 -o x.png",
     "[Comment]\nString1=Lot 7\nHigh1=20\n", false},
    {"a Japanese comment", "--type jan13 --data 4901234567894 -o x.bmp",
     "[Comment]\nString1=\xE5\x95\x86\xE5\x93\x81\nHigh1=20\n", true},
    {"a comment taller than FreeType's glyphs", "--type jan13 --data 4901234567894 -o x.png",
     "[Comment]\nString1=Lot 7\nHigh1=100\n", true},
};

class QtLoading : public ::testing::TestWithParam<LoadCase> {};

TEST_P(QtLoading, OnlyWherePicturesNeedIt)
{
    const LoadCase& param = GetParam();
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    std::ofstream(folder + "/k.ini") << param.profile;
    int status = 0;
    const std::string loaded = Capture(
        "(cd '" + folder + "' && LD_DEBUG=libs XDG_CACHE_HOME='" + folder + "/cache' "
            + KESTREL_CLI_PATH + " --profile k.ini " + param.arguments + " 2>&1 >/dev/null)",
        status);
    EXPECT_EQ(status, 0) << param.what;
    EXPECT_EQ(loaded.find("libQt6Core") != std::string::npos, param.loadsQt) << param.what;
}

INSTANTIATE_TEST_SUITE_P(Runs, QtLoading, ::testing::ValuesIn(Cases));

// Without its Qt module beside it, kestrel-cli still writes what needs no
// Qt, and refuses the rest with the reason, leaving no file.
TEST(QtLoading, MissingModuleIsReportedAndLeavesNoFile)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    std::filesystem::copy_file(KESTREL_CLI_PATH, folder + "/kestrel-cli");
    std::ofstream(folder + "/k.ini") << "[Comment]\nString1=\xE5\x95\x86\nHigh1=20\n";
    const struct {
        const char* arguments;
        bool written;
    } runs[] = {
        {"--profile none.ini --type jan13 --data 4901234567894 -o x.png", true},
        {"--profile none.ini --type jan13 --data 4901234567894 -o y.svg", false},
        {"--profile k.ini --type jan13 --data 4901234567894 -o z.bmp", false},
    };
    for (const auto& [arguments, written] : runs) {
        int status = 0;
        const std::string said = Capture("(cd '" + folder + "' && XDG_CACHE_HOME='" + folder
                                             + "/cache' ./kestrel-cli " + arguments + " 2>&1)",
                                         status);
        EXPECT_EQ(status == 0, written) << arguments << ": " << said;
        if (!written) {
            EXPECT_NE(said.find("kestrel-qt.so"), std::string::npos) << said;
        }
    }
    EXPECT_TRUE(std::filesystem::exists(folder + "/x.png"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/y.svg"));
    EXPECT_FALSE(std::filesystem::exists(folder + "/z.bmp"));
}

}  // namespace
}  // namespace kestrel::cli
