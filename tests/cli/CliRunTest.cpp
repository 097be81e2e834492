// Whole requests through Run() and through the real program.

#include "CliRun.h"

#include <QByteArray>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <sstream>
#include <string>
#include <sys/wait.h>

namespace kestrel::cli {
namespace {

struct RunResult {
    int status;
    std::string out;
    std::string err;
};

class CliRun : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir_.isValid());
        profilePath_ = dir_.filePath("Kestrel.ini").toStdString();
    }

    void WriteProfile(const char* contents)
    {
        QFile file(QString::fromStdString(profilePath_));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(contents);
    }

    RunResult RunWith(std::vector<std::string> arguments, const std::string& input = {},
                      const RunEnvironment& environment = {})
    {
        arguments.insert(arguments.begin(), {"--profile", profilePath_});
        CliOptions options;
        std::string error;
        EXPECT_TRUE(ParseCommandLine(arguments, options, error)) << error;
        std::istringstream in(input);
        std::ostringstream out;
        std::ostringstream err;
        const int status = cli::Run(options, in, out, err, environment);
        return {status, out.str(), err.str()};
    }

    std::string PathOf(const char* name) const { return dir_.filePath(name).toStdString(); }

    static QByteArray FileBytes(const std::string& path)
    {
        QFile file(QString::fromStdString(path));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir_;
    std::string profilePath_;
};

// The dialog's message as the command line prints it, then the reason.
std::string Refused(const char* message, const char* reason)
{
    return std::string(message) + "\nkestrel-cli: reason: " + reason + "\n";
}

struct RequestCase {
    const char* name;
    std::vector<std::string> arguments;
    int status;
    std::string out;
    std::string err;
};

TEST_F(CliRun, AcceptsAsTheDialogDoesAndPrintsWhatWasAskedFor)
{
    // A row a case, its lines laid out by hand.
    // clang-format off
    const RequestCase cases[] = {
        {"Jan13AutoAdd", {"--data", "490123456789", "--auto-add", "1", "--code-text"}, 0,
         "4901234567894\n", ""},
        {"Jan13WrongCheck", {"--data", "4901234567895", "--code-text"}, 1, "",
         Refused("チェックデジットが不正です", "the check character is wrong")},
        {"Jan8LengthWithAutoAdd", {"--type", "jan8", "--data", "12345670", "--auto-add", "1"}, 1,
         "",
         Refused("入力桁数が正しくありません", "the text has the wrong number of characters")},
        {"ItfLeadingZero", {"--type", "itf", "--data", "123", "--check", "0", "--code-text"}, 0,
         "0123\n", ""},
        {"NotADigit", {"--type", "stf", "--data", "12a"}, 1, "",
         Refused("入力は数字のみです", "a character is not a digit")},
        {"Code39Check", {"--type", "code39", "--data", "CODE 39", "--auto-add", "1",
                         "--code-text"}, 0, "*CODE 39R*\n", ""},
        {"Code39BadCharacter", {"--type", "5", "--data", "A#B"}, 1, "",
         Refused("データキャラクタが不正です", "a character has no pattern in this symbology")},
        {"CodabarMethodForThisRun", {"--type", "codabar", "--data", "12", "--auto-add", "1",
                                     "--set", "Codabar/CheckDegit=0", "--code-text"}, 0,
         "A126A\n", ""},
        {"Code128ModuleText", {"--type", "code128", "--data", " ", "--auto-add", "0",
                               "--module-text"}, 0,
         "-2,1,-1,2,-1,,-2,1,-2,2,-2,2,-2,2,-2,1,-1,1,-2\n", ""},
        {"OutputsInOrder", {"--type", "code93", "--data", "abc", "--auto-add", "0",
                            "--code-text", "--module-text", "--code-text"}, 0,
         "ABC\n-1,1,-1,1,,1,-2,1,-1,1,-1,2,-2,1,-1,2,-1,2,-2,1,-1,2,-1,1,-1,1,-1,1,,1,-1\nABC\n",
         ""},
        // Converted to code page 932 (one byte each), then refused: no
        // symbology here can draw bytes above 127.
        {"HalfWidthKatakanaRefused", {"--type", "code128", "--data", "ｱｲｳ", "--code-text"}, 1,
         "", Refused("データキャラクタが不正です", "a character has no pattern in this symbology")},
        {"EmptyDataIsNotTaken", {"--data", "", "--module-text"}, 0, "\n", ""},
        // 128 bytes are taken, and then too long for the sequence.
        {"DataAtTheLimit", {"--type", "code128", "--data", std::string(128, 'A')}, 1, "",
         Refused("入力桁数が正しくありません", "the symbol would have more than 512 elements")},
        {"DataTooLong", {"--type", "code128", "--data", std::string(129, 'A')}, 2, "", ""},
        {"NotInCodePage932", {"--type", "code128", "--data", "😀"}, 2, "", ""},
    };
    // clang-format on
    for (const auto& c : cases) {
        const RunResult result = RunWith(c.arguments);
        EXPECT_EQ(result.status, c.status) << c.name << ": " << result.err;
        EXPECT_EQ(result.out, c.out) << c.name;
        if (c.status == 2) {
            EXPECT_NE(result.err.find("--data"), std::string::npos) << c.name;
        } else {
            EXPECT_EQ(result.err, c.err) << c.name;
        }
    }
}

TEST_F(CliRun, ReadsTheProfileFileAndNeverWritesIt)
{
    const char* contents = "[Code]\nCodeType=11\nNWidth=2\nAutoAdd=1\n";
    WriteProfile(contents);
    const RunResult result = RunWith({"--data", "AB", "--module-text"});
    EXPECT_EQ(result.status, 0) << result.err;
    // Code 128 with its check character, narrow width 3: still printed in units.
    EXPECT_EQ(std::count(result.out.begin(), result.out.end(), ','), 30);
    QFile file(QString::fromStdString(profilePath_));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), QByteArray(contents));
}

TEST_F(CliRun, AMissingProfileGivesDefaultsAndStaysMissing)
{
    const RunResult result = RunWith(
        {"--data", "490123456789", "--auto-add", "1", "--module-text"});
    EXPECT_EQ(result.status, 0) << result.err;
    EXPECT_EQ(result.out.rfind("-1,1,-1,2,-1,1,-2,", 0), 0U) << result.out;
    EXPECT_FALSE(QFile::exists(QString::fromStdString(profilePath_)));
}

TEST_F(CliRun, ProfileGeometryThatCannotBeDrawnIsReported)
{
    WriteProfile("[Code39]\nGapX=0\n");
    const RunResult result = RunWith(
        {"--type", "code39", "--check", "0", "--data", "A", "--module-text"});
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("cannot be drawn"), std::string::npos) << result.err;
}

// The colour of pixel (x, y), counted from the top, of a 24-bit BMP file,
// as 0xRRGGBB; -1 when the file is not one.
long PixelOf(const QByteArray& bmp, int x, int y)
{
    const auto u32 = [&](int at) {
        return static_cast<long>(static_cast<unsigned char>(bmp[at]))
               | static_cast<long>(static_cast<unsigned char>(bmp[at + 1])) << 8
               | static_cast<long>(static_cast<unsigned char>(bmp[at + 2])) << 16
               | static_cast<long>(static_cast<unsigned char>(bmp[at + 3])) << 24;
    };
    if (bmp.size() < 54 || bmp[28] != 24) {
        return -1;
    }
    const long offset = u32(10);
    const long width = u32(18);
    const long height = u32(22);
    const long rowSize = (24 * width + 31) / 32 * 4;
    const long at = offset + (height - 1 - y) * rowSize + x * 3;
    if (x < 0 || y < 0 || x >= width || y >= height || at + 2 >= bmp.size()) {
        return -1;
    }
    const auto byte = [&](long i) {
        return static_cast<long>(static_cast<unsigned char>(bmp[static_cast<qsizetype>(i)]));
    };
    return byte(at + 2) << 16 | byte(at + 1) << 8 | byte(at);
}

TEST_F(CliRun, WritesTheDefaultPictureAtTheChosenDepth)
{
    const struct {
        const char* depth;
        qsizetype size;
    } cases[] = {{"0", 135054}, {"1", 135054}, {"2", 46078}};
    for (const auto& c : cases) {
        const std::string file = PathOf("jan.bmp");
        const RunResult result = RunWith(
            {"--data", "4901234567894", "--depth", c.depth, "-o", file});
        EXPECT_EQ(result.status, 0) << result.err;
        const QByteArray bmp = FileBytes(file);
        EXPECT_EQ(bmp.size(), c.size) << "depth " << c.depth;
        EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    }
}

TEST_F(CliRun, GeometryAndColoursReachThePicture)
{
    const std::string file = PathOf("bars.bmp");
    const RunResult result = RunWith({"--type",    "itf",
                                      "--data",    "12",
                                      "--check",   "0",
                                      "--width",   "120",
                                      "--height",  "60",
                                      "--xmargin", "10",
                                      "--ymargin", "5",
                                      "--narrow",  "2",
                                      "--text",    "0",
                                      "--set",     "Code/BarColor=#800000",
                                      "--set",     "Code/BackColor=#00FF00",
                                      "-o",        file});
    ASSERT_EQ(result.status, 0) << result.err;
    const QByteArray bmp = FileBytes(file);
    EXPECT_EQ(PixelOf(bmp, 10, 5), 0x800000) << "first bar at the margins";
    EXPECT_EQ(PixelOf(bmp, 11, 54), 0x800000) << "bars end Ymargin above the bottom";
    EXPECT_EQ(PixelOf(bmp, 10, 55), 0x00FF00);
    EXPECT_EQ(PixelOf(bmp, 9, 5), 0x00FF00);
    EXPECT_EQ(PixelOf(bmp, 12, 5), 0x00FF00) << "a narrow space of 2 after the first bar";
}

TEST_F(CliRun, BearerBarsAreKeptOnlyWhereTheyFrameTheSymbol)
{
    const struct {
        const char* type;
        const char* data;
        bool framed;
    } cases[] = {
        {"itf", "1234567890123", true},  // 14 with its check digit
        {"itf", "123456789", false},     // 10
        {"code39", "ABC", false},
    };
    for (const auto& c : cases) {
        const std::string file = PathOf("bearer.bmp");
        const RunResult result = RunWith({"--type", c.type, "--data", c.data, "--auto-add", "1",
                                          "--bearer", "1", "--set", "ITF/CaseWidth=3", "-o", file});
        ASSERT_EQ(result.status, 0) << c.data << ": " << result.err;
        // The ITF frame's left side covers columns 0 to 2 of the bar rows.
        EXPECT_EQ(PixelOf(FileBytes(file), 1, 60) == 0, c.framed) << c.type << " " << c.data;
    }
}

TEST_F(CliRun, BatchWritesEveryAcceptedLineAndReportsTheOthers)
{
    const std::string pattern = PathOf("label-{n}.bmp");
    const RunResult result = RunWith({"--batch", "-", "-o", pattern},
                                     "4901234567894\n4901234567895\r\n\n4901234567894");
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "line 2: チェックデジットが不正です\n"
                          "kestrel-cli: reason: the check character is wrong\n"
                          "line 3: no data to draw, nothing written to "
                              + PathOf("label-3.bmp") + "\n");
    EXPECT_EQ(FileBytes(PathOf("label-1.bmp")).size(), 135054);
    EXPECT_FALSE(QFile::exists(dir_.filePath("label-2.bmp")));
    EXPECT_EQ(FileBytes(PathOf("label-4.bmp")).size(), 135054);
}

// Several threads must give what one gives: the same files, the same
// printed lines and the same reports, in line order. The texts mix
// accepted lines with rejected ones, so a report out of place shows.
TEST_F(CliRun, JobsChangeNeitherFilesNorTheOrderOfReports)
{
    std::string input;
    for (int n = 0; n < 60; ++n) {
        input += n % 7 == 3 ? "4901234567895\n" : n % 11 == 5 ? "\n" : "4901234567894\n";
    }
    const RunResult one = RunWith({"--batch", "-", "-o", PathOf("one-{n}.bmp"), "--code-text"},
                                  input);
    ASSERT_EQ(one.status, 1);
    ASSERT_NE(one.err.find("line 60: "), std::string::npos) << one.err;
    for (const char* jobs : {"2", "4", "64"}) {
        const std::string pattern = std::string("jobs") + jobs + "-{n}.bmp";
        const RunResult many = RunWith(
            {"--batch", "-", "-o", PathOf(pattern.c_str()), "--code-text", "--jobs", jobs}, input);
        EXPECT_EQ(many.status, one.status) << jobs;
        EXPECT_EQ(many.out, one.out) << jobs;
        std::string err = many.err;  // the reports name the files of this run
        const std::string prefix = std::string("jobs") + jobs + "-";
        for (auto at = err.find(prefix); at != std::string::npos; at = err.find(prefix, at)) {
            err.replace(at, prefix.size(), "one-");
        }
        EXPECT_EQ(err, one.err) << jobs;
        for (int n = 1; n <= 60; ++n) {
            const std::string number = std::to_string(n);
            const std::string name = std::string("jobs") + jobs + "-" + number + ".bmp";
            EXPECT_EQ(FileBytes(PathOf(name.c_str())),
                      FileBytes(PathOf(("one-" + number + ".bmp").c_str())))
                << jobs << " jobs, line " << n;
        }
    }
}

// On a terminal the progress line is redrawn in place and cleared before
// each report and at the end, so the reports read as without it; a file
// is counted first, standard input cannot be.
TEST_F(CliRun, ProgressStaysOffTheReportsAndIsClearedAtTheEnd)
{
    const std::string lines = "4901234567894\n4901234567895\n4901234567894\n\n4901234567894\n";
    QFile file(dir_.filePath("lines.txt"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(lines.c_str());
    file.close();
    const struct {
        const char* batch;
        const char* jobs;
        const char* lastProgress;  // the count drawn at the end
    } cases[] = {
        {"-", "1", "\r5 lines"},
        {"-", "3", "\r5 lines"},
        {"lines.txt", "1", "\r5/5 lines"},
        {"lines.txt", "2", "\r5/5 lines"},
    };
    const QRegularExpression progress(QStringLiteral("\r[^\r\n]*\x1b\\[K"));
    for (const auto& c : cases) {
        const std::string batch = c.batch == std::string("-") ? "-" : PathOf(c.batch);
        const std::vector<std::string> arguments = {"--batch", batch, "--jobs",
                                                    c.jobs,    "-o",  PathOf("label-{n}.bmp")};
        const RunResult plain = RunWith(arguments, lines);
        const RunResult shown = RunWith(arguments, lines, RunEnvironment{true});
        EXPECT_EQ(shown.status, plain.status) << c.batch;
        EXPECT_EQ(shown.out, plain.out) << c.batch;
        EXPECT_EQ(QString::fromStdString(shown.err).remove(progress).toStdString(), plain.err)
            << c.batch << " " << c.jobs;
        EXPECT_NE(shown.err.find(c.lastProgress), std::string::npos) << shown.err;
        EXPECT_TRUE(shown.err.ends_with("\r\x1b[K")) << c.batch << " " << c.jobs;
        for (auto at = shown.err.find("line "); at != std::string::npos;
             at = shown.err.find("line ", at + 1)) {
            EXPECT_TRUE(at == 0 || shown.err[at - 1] == '\n'
                        || shown.err.rfind("\r\x1b[K", at) == at - 4)
                << "a report sharing the progress line: " << shown.err;
        }
    }
}

TEST_F(CliRun, AFailedWriteIsReported)
{
    const RunResult result = RunWith({"--data", "4901234567894", "-o", "/dev/full"});
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err, "kestrel-cli: cannot write /dev/full\n");
}

RunResult RunProgram(const std::string& arguments)
{
    const std::string command = std::string(KESTREL_CLI_PATH) + " " + arguments + " 2>&1";
    FILE* pipe = popen(command.c_str(), "r");
    std::string output;
    std::array<char, 4096> buffer{};
    while (pipe && std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe)) {
        output += buffer.data();
    }
    const int status = pipe ? pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output, {}};
}

TEST_F(CliRun, TheProgramReportsThroughItsExitStatus)
{
    const std::string profile = "--profile '" + profilePath_ + "' ";
    EXPECT_EQ(RunProgram("--help").status, 0);
    EXPECT_EQ(RunProgram(profile + "--data 4901234567894 --module-text").status, 0);
    EXPECT_EQ(RunProgram(profile + "--data 4901234567895").status, 1);
    const RunResult bad = RunProgram("--narrow 0");
    EXPECT_EQ(bad.status, 2);
    EXPECT_EQ(bad.out, "kestrel-cli: --narrow: 1 から 50 までの整数を入力してください。\n");
}

}  // namespace
}  // namespace kestrel::cli
