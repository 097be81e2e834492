// BMP files: bytes on disk, refusals, failed writes, and an outside reader.

#include "BitmapTestSupport.h"

#include "bitmap/BmpFile.h"
#include "bitmap/Convert.h"

#include <gtest/gtest.h>

#include <array>
#include <csignal>
#include <cstdio>
#include <string>

#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrel {
namespace {

namespace fs = std::filesystem;

struct BmpFile : ::testing::Test {
    test::TempFolder folder;
    Dib bars = ReadOutPicture(test::Bars(300, 150), BI_RGB, 24);
};

TEST_F(BmpFile, UnchangedWriteIsFileHeaderAndDibByteForByte)
{
    struct Row {
        int bitCount;
        std::uint32_t compression;
    };
    for (const Row row : {Row{24, BI_RGB}, Row{0, BI_RGB}}) {
        const fs::path path = folder.path / "bars.bmp";
        ASSERT_EQ(SavePicture(path, bars, row.bitCount, row.compression), 1);
        const std::vector<std::uint8_t> written = test::ReadBytes(path);
        ASSERT_EQ(written.size(), 14 + bars.size());
        const auto header = MakeFileHeader(bars);
        EXPECT_TRUE(std::equal(header->begin(), header->end(), written.begin()));
        EXPECT_TRUE(std::equal(bars.bytes().begin(), bars.bytes().end(), written.begin() + 14));
    }
    // Saving in another format converts a copy; the caller's DIB stays.
    const std::vector<std::uint8_t> before = bars.bytes();
    ASSERT_EQ(SavePicture(folder.path / "bars8.bmp", bars, 8, BI_RGB), 1);
    EXPECT_EQ(bars.bytes(), before);
    EXPECT_EQ(fs::file_size(folder.path / "bars8.bmp"), 46078u);
    EXPECT_EQ(folder.EntryCount(), 2u);  // no temporaries left
}

TEST_F(BmpFile, RefusedRequestsWriteNothing)
{
    struct Row {
        int bitCount;
        std::uint32_t compression;
    };
    const fs::path existing = folder.path / "existing.bmp";
    const std::vector<std::uint8_t> old = {1, 2, 3};
    test::WriteBytes(existing, old);
    for (const Row row : {Row{24, BI_BITFIELDS}, Row{0, BI_BITFIELDS}, Row{7, BI_RGB},
                          Row{24, BI_RLE8}, Row{4, BI_RLE8}}) {
        SCOPED_TRACE(testing::Message() << row.bitCount << "/" << row.compression);
        EXPECT_EQ(SavePicture(folder.path / "new.bmp", bars, row.bitCount, row.compression), 0);
        EXPECT_FALSE(fs::exists(folder.path / "new.bmp"));
        EXPECT_EQ(SavePicture(existing, bars, row.bitCount, row.compression), 0);
        EXPECT_EQ(test::ReadBytes(existing), old);
    }
    EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST_F(BmpFile, BadNamesAndFailedWritesGiveZero)
{
    const fs::path regular = folder.path / "plain";
    test::WriteBytes(regular, {1});
    struct Row {
        const char* what;
        fs::path name;
    };
    const Row rows[] = {
        {"disk full", "/dev/full"},
        {"parent is a regular file", regular / "bars.bmp"},
        {"missing folder", folder.path / "missing" / "bars.bmp"},
        {"a folder", folder.path},
        {"empty name", ""},
        {"name ends in a slash", folder.path / "sub/"},
        {"over-long path", folder.path / std::string(5000, 'a')},
        {"over-long file name", folder.path / (std::string(300, 'b') + ".bmp")},
        {"embedded zero", fs::path(std::string("bars\0.bmp", 9))},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(WritePicture(row.name, bars), 0);
        EXPECT_EQ(SavePicture(row.name, bars, 8, BI_RGB), 0);
    }
    EXPECT_EQ(folder.EntryCount(), 1u);
    EXPECT_EQ(test::ReadBytes(regular), std::vector<std::uint8_t>{1});
}

// A write that fails part way (here: the file size limit) must leave the
// old file exactly as it was and no temporary behind.
TEST_F(BmpFile, FailedSaveLeavesTheOldFileWhole)
{
    const fs::path path = folder.path / "bars.bmp";
    const std::vector<std::uint8_t> old(5000, 0x5A);
    test::WriteBytes(path, old);

    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = std::signal(SIGXFSZ, SIG_IGN);
    rlimit small = saved;
    small.rlim_cur = 10000;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
    const int result = WritePicture(path, bars);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, oldHandler);

    EXPECT_EQ(result, 0);
    EXPECT_EQ(test::ReadBytes(path), old);
    EXPECT_EQ(folder.EntryCount(), 1u);
}

TEST_F(BmpFile, ReplacesWholeKeepingModeAndLinks)
{
    const fs::path real = folder.path / "real.bmp";
    const fs::path link = folder.path / "link.bmp";
    test::WriteBytes(real, std::vector<std::uint8_t>(500000, 0x77));  // longer than the new file
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    fs::create_symlink(real, link);

    ASSERT_EQ(WritePicture(link, bars), 1);
    EXPECT_TRUE(fs::is_symlink(link));
    EXPECT_EQ(fs::file_size(real), 14 + bars.size());
    struct stat info {};
    ASSERT_EQ(::stat(real.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u);
    EXPECT_EQ(folder.EntryCount(), 2u);
}

// A writer killed while it replaces a file leaves no temporary file: the
// new bytes have no name until they are whole. The target is then the old
// file or the new one, never a mix.
TEST_F(BmpFile, KilledWhileReplacingLeavesNoTemporary)
{
    const fs::path target = folder.path / "big.bmp";
    const Dib big = ReadOutPicture(test::Bars(3000, 3000), BI_RGB, 24);
    ASSERT_EQ(WritePicture(target, big), 1);
    for (const int delayMicros : {0, 2000, 8000}) {
        const pid_t writer = ::fork();
        ASSERT_GE(writer, 0);
        if (writer == 0) {
            for (;;) {
                WritePicture(target, big);
            }
        }
        ::usleep(static_cast<useconds_t>(delayMicros + 3000));
        ::kill(writer, SIGKILL);
        int status = 0;
        ::waitpid(writer, &status, 0);
        // Only between naming a whole replacement and renaming it, a few
        // microseconds, can a kill leave a name; never a partial file.
        for (const auto& entry : fs::directory_iterator(folder.path)) {
            EXPECT_EQ(fs::file_size(entry.path()), 14 + big.size()) << entry.path();
        }
        RemoveStaleTemporaries(folder.path);  // what the next start does
        EXPECT_EQ(folder.EntryCount(), 1u) << delayMicros;
        EXPECT_EQ(fs::file_size(target), 14 + big.size()) << delayMicros;
    }
}

// Only our own temporaries of processes that are gone are swept.
TEST_F(BmpFile, StaleTemporariesOfDeadWritersAreRemoved)
{
    const pid_t gone = ::fork();
    ASSERT_GE(gone, 0);
    if (gone == 0) {
        ::_exit(0);
    }
    ::waitpid(gone, nullptr, 0);
    const std::string dead = std::to_string(gone);
    const std::string alive = std::to_string(::getpid());
    const struct {
        std::string name;
        bool removed;
    } files[] = {
        {".kestrel-" + dead + "-0.tmp", true},
        {".kestrel-" + dead + "-17.tmp", true},
        {".kestrel-" + alive + "-3.tmp", false},  // still being written
        {".kestrel-" + dead + "-.tmp", false},
        {".kestrel-x" + dead + "-1.tmp", false},
        {"kestrel-" + dead + "-1.tmp", false},
        {".kestrel-" + dead + "-1.tmp.bak", false},
        {"BarCode.bmp", false},
    };
    for (const auto& file : files) {
        test::WriteBytes(folder.path / file.name, std::vector<std::uint8_t>(10, 1));
    }
    fs::create_directory(folder.path / (".kestrel-" + dead + "-9.tmp"));  // not a file
    EXPECT_EQ(RemoveStaleTemporaries(folder.path), 2);
    for (const auto& file : files) {
        EXPECT_EQ(fs::exists(folder.path / file.name), !file.removed) << file.name;
    }
    EXPECT_EQ(RemoveStaleTemporaries(folder.path / "missing"), 0);
}

std::string RunCommand(const std::string& command)
{
    std::string output;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        std::array<char, 256> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe)) {
            output += buffer.data();
        }
        ::pclose(pipe);
    }
    return output;
}

// ImageMagick reads what we write: size, depth, colours and format.
TEST_F(BmpFile, IdentifyReadsEveryDepth)
{
    if (::access("/usr/bin/identify", X_OK) != 0) {
        GTEST_SKIP() << "ImageMagick's identify is not installed";
    }
    struct Row {
        int bitCount;
        std::uint32_t compression;
        // width height depth colours class colourspace file size: the class
        // tells a table from direct colour, the file size the bits per pixel.
        const char* expected;
    };
    const Row rows[] = {
        {1, BI_RGB, "300 150 1 2 PseudoClass sRGB  6062B"},
        {8, BI_RGB, "300 150 8 2 PseudoClass sRGB  46078B"},
        {16, BI_BITFIELDS, "300 150 8 2 DirectClass Gray  90066B"},
        {16, BI_RGB, "300 150 8 2 DirectClass Gray  90054B"},
        {24, BI_RGB, "300 150 8 2 DirectClass Gray  135054B"},
        {32, BI_RGB, "300 150 8 2 DirectClass Gray  180054B"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bitCount);
        const fs::path path = folder.path / ("bars" + std::to_string(row.bitCount) + ".bmp");
        ASSERT_EQ(SavePicture(path, bars, row.bitCount, row.compression), 1);
        EXPECT_EQ(RunCommand("/usr/bin/identify -format '%w %h %z %k %r %b' '" + path.native()
                             + "' 2>&1"),
                  row.expected);
    }
}

}  // namespace
}  // namespace kestrel
