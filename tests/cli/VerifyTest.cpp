// --verify: pictures read back with ZXing in the program, in every format.
// The expected readings are what ZXing's own reader prints for our files
// (DecodeTest): Codabar without start and stop, Code 39 without stars.

#include "CliRun.h"
#include "symbology/SymbologyCatalogue.h"
#include "verify/VerifyPicture.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace kestrel::cli {
namespace {

struct RunResult {
    int status;
    std::string err;
};

class Verify : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    RunResult RunWith(std::vector<std::string> arguments, const std::string& input = {})
    {
        arguments.insert(arguments.begin(),
                         {"--profile", dir_.filePath("none.ini").toStdString(), "--verify"});
        CliOptions options;
        std::string error;
        EXPECT_TRUE(ParseCommandLine(arguments, options, error)) << error;
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        const int status = cli::Run(options, in, out, err);
        return {status, err.str()};
    }

    std::string PathOf(const std::string& name) const
    {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }

    QTemporaryDir dir_;
};

TEST_F(Verify, EverySymbologyZxingReadsPassesInEveryFormat)
{
    const std::vector<std::vector<std::string>> symbols = {
        {"--type", "jan13", "--data", "490123456789", "--auto-add", "1"},
        {"--type", "jan8", "--data", "4912345", "--auto-add", "1", "--bearer", "1"},
        {"--type", "itf", "--data", "123456789", "--auto-add", "1"},
        {"--type", "codabar", "--data", "A40156B", "--check", "0"},
        {"--type", "codabar", "--data", "40156", "--auto-add", "1"},
        {"--type", "code39", "--data", "KESTREL-39", "--auto-add", "1"},
        {"--type", "code39ext", "--data", "Kestrel 2.13", "--check", "0", "--auto-add", "0"},
        {"--type", "code93", "--data", "CODE 93", "--auto-add", "1"},
        {"--type", "code93ext", "--data", "Kestrel+93!", "--auto-add", "1"},
        {"--type", "code128", "--data", "Kestrel {128}", "--auto-add", "1"},
    };
    const std::vector<std::vector<std::string>> outputs = {
        {"-o", PathOf("p.bmp")},
        {"-o", PathOf("p.bmp"), "--bpp", "1"},
        {"-o", PathOf("p.bmp"), "--bpp", "8", "--rle"},
        {"-o", PathOf("p.png")},
        {"-o", PathOf("p.svg")},
        {"-o", PathOf("p.pdf")},
    };
    for (const auto& symbol : symbols) {
        for (const auto& output : outputs) {
            std::vector<std::string> arguments = symbol;
            arguments.insert(arguments.end(), {"--width", "500"});
            arguments.insert(arguments.end(), output.begin(), output.end());
            const RunResult result = RunWith(arguments);
            const std::string where = symbol[1] + " " + symbol[3] + " " + output[1]
                                      + (output.size() > 2 ? " " + output[3] : "");
            EXPECT_EQ(result.status, Success) << where << ": " << result.err;
            EXPECT_EQ(result.err, "") << where;
        }
    }
}

// Every format name of the catalogue is one ZXing knows: a misspelt name
// would ask it for no format at all and never read the symbol.
TEST(VerifyReading, EveryCatalogueFormatNameIsZxings)
{
    for (const SymbologyRow& row : SymbologyCatalogue) {
        const std::optional<ReaderExpectation> expected = ExpectedReading(row.index,
                                                                          "12345678901234");
        EXPECT_EQ(expected.has_value(), !row.reading.format.empty()) << row.name;
        if (expected) {
            EXPECT_NE(expected->formats, 0) << row.name;
        }
    }
}

TEST_F(Verify, WhatZxingCannotReadIsNeverReportedAsPassed)
{
    const struct {
        std::vector<std::string> arguments;
        int status;
        std::string err;
    } cases[] = {
        {{"--type", "stf", "--data", "123456", "--check", "0"},
         Success,
         "not verified: ZXing does not read STF"},
        {{"--type", "code11", "--data", "123-45", "--check", "0"},
         Success,
         "not verified: ZXing does not read Code 11"},
        {{"--type", "code11-2", "--data", "123-45", "--check", "0"},
         Success,
         "not verified: ZXing does not read Code 11"},
        // ZXing's own reader finds nothing in zint's 4-digit ITF either.
        {{"--type", "itf", "--data", "1234", "--check", "0"},
         Success,
         "not verified: ZXing reads ITF of 6 digits or more only"},
        // White bars on white: written, but there is nothing to read.
        {{"--data", "490123456789", "--auto-add", "1", "--set", "Code/BarColor=#FFFFFF"},
         DoesNotScan,
         "written but does not scan: ZXing finds no EAN-13 symbol"},
        // Bars cut off at the picture's edge.
        {{"--type", "code39", "--data", "ABCDEFGHIJKLMNOPQRSTU", "--check", "0", "--width", "200"},
         DoesNotScan,
         "written but does not scan: ZXing finds no Code39 symbol"},
    };
    for (const auto& c : cases) {
        for (const char* name : {"u.bmp", "u.svg"}) {
            std::vector<std::string> arguments = c.arguments;
            arguments.insert(arguments.end(), {"-o", PathOf(name)});
            const RunResult result = RunWith(arguments);
            const std::string where = c.arguments[1] + " " + name;
            EXPECT_EQ(result.status, c.status) << where;
            EXPECT_EQ(result.err.rfind(c.err, 0), 0U) << where << ": " << result.err;
            EXPECT_EQ(result.err.find('\n'), result.err.size() - 1) << "one line: " << result.err;
            EXPECT_TRUE(QFile::exists(QString::fromStdString(PathOf(name)))) << where;
            QFile::remove(QString::fromStdString(PathOf(name)));
        }
    }
}

TEST_F(Verify, BatchNamesTheLinesThatDoNotScan)
{
    const RunResult unscanned = RunWith({"--type", "code39", "--check", "0", "--width", "200",
                                         "--batch", "-", "-o", PathOf("l{n}.png")},
                                        "A\nABCDEFGHIJKLMNOPQRSTU\nB\n");
    EXPECT_EQ(unscanned.status, DoesNotScan);
    EXPECT_EQ(unscanned.err, "line 2: written but does not scan: ZXing finds no Code39 symbol\n");
    for (const char* name : {"l1.png", "l2.png", "l3.png"}) {
        EXPECT_TRUE(QFile::exists(QString::fromStdString(PathOf(name)))) << name;
    }
    // A rejected line outranks one that does not scan.
    const RunResult rejected = RunWith({"--type", "code39", "--check", "0", "--width", "200",
                                        "--batch", "-", "-o", PathOf("m{n}.bmp")},
                                       "A\nABCDEFGHIJKLMNOPQRSTU\n#\n");
    EXPECT_EQ(rejected.status, Rejected);
    EXPECT_NE(rejected.err.find("line 2: written but does not scan"), std::string::npos);
    EXPECT_NE(rejected.err.find("line 3: "), std::string::npos);
    // Lines ZXing cannot check are named, and the batch still succeeds.
    const RunResult unchecked = RunWith(
        {"--type", "stf", "--check", "0", "--batch", "-", "-o", PathOf("n{n}.bmp")}, "12\n34\n");
    EXPECT_EQ(unchecked.status, Success);
    EXPECT_EQ(unchecked.err.rfind("line 1: not verified: ", 0), 0U) << unchecked.err;
    EXPECT_NE(unchecked.err.find("line 2: not verified: "), std::string::npos);
}

}  // namespace
}  // namespace kestrel::cli
