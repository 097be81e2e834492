#include "profile/SettingsProfile.h"

#include "profile/ProfileSchema.h"

#include <gtest/gtest.h>

#include <QByteArray>
#include <QFile>
#include <QSettings>
#include <QTemporaryDir>

#include <chrono>
#include <climits>
#include <csignal>
#include <random>
#include <spawn.h>
#include <string>
#include <string_view>
#include <sys/wait.h>
#include <thread>
#include <vector>

extern char** environ;

namespace kestrel {
namespace {

using namespace std::string_view_literals;

// No test may touch the real user profile: the per-user location points into
// a temporary folder before any test runs.
struct PrivateConfigHome {
    QTemporaryDir dir;
    PrivateConfigHome() { qputenv("XDG_CONFIG_HOME", dir.path().toLocal8Bit()); }
};
const PrivateConfigHome privateConfigHome;

QByteArray ReadFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

QByteArray Bytes(std::string_view text)
{
    return QByteArray(text.data(), static_cast<qsizetype>(text.size()));
}

class SettingsProfileTest : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("Kestrel.ini"));
};

TEST_F(SettingsProfileTest, IntegersRoundTripThroughTheFile)
{
    const int values[] = {0, 1, -1, 16, 0xFFFFFF, INT_MAX, INT_MIN, 2147483600};
    {
        SettingsProfile writer(path);
        for (const int value : values) {
            ASSERT_TRUE(writer.WriteProfileInt("Values", "V" + std::to_string(value), value));
        }
    }
    SettingsProfile reader(path);
    for (const int value : values) {
        EXPECT_EQ(reader.GetProfileInt("Values", "V" + std::to_string(value), 12345), value);
    }
}

// What a person (or another program) may leave in the file, and what an
// integer read makes of it.
TEST_F(SettingsProfileTest, StoredTextReadsAsIntegerOrDefault)
{
    const struct {
        const char* line;
        int expected;
    } rows[] = {
        {"CodeHigh=42", 42},
        {"CodeHigh=-7", -7},
        {"CodeHigh=  7  ", 7},  // QSettings trims the value
        {"CodeHigh=\"16777215\"", 0xFFFFFF},
        {"CodeHigh=4294967295", -1},  // wraps as a DWORD would
        {"CodeHigh=4294967296", 99},
        {"CodeHigh=abc", 99},
        {"CodeHigh=0x10", 99},
        {"CodeHigh=1, 2", 99},  // QSettings reads this as a list
        {"CodeHigh=@ByteArray(23)", 23},
        {"CodeHigh=@Rect(1 2 3 4)", 99},
        {"codehigh=5", 99},  // keys are case-sensitive
    };
    int number = 0;
    for (const auto& row : rows) {
        // A file of its own per row: QSettings does not reread a file whose
        // size and time (to the millisecond) have not changed.
        const QString path = dir.filePath(QStringLiteral("hand%1.ini").arg(++number));
        WriteFile(path, QByteArray("[Code]\n") + row.line + "\n");
        SettingsProfile profile(path);
        EXPECT_EQ(profile.GetProfileInt("Code", "CodeHigh", 99), row.expected) << row.line;
    }
}

TEST_F(SettingsProfileTest, MissingFileSectionOrKeyReadsAsDefault)
{
    SettingsProfile profile(path);
    EXPECT_EQ(profile::Read(profile, profile::Height), 150);
    EXPECT_EQ(profile::Read(profile, profile::BackColor), 0xFFFFFF);
    EXPECT_EQ(profile.GetProfileString("Comment", "String1", "none"), "none");
    ASSERT_TRUE(profile::Write(profile, profile::Width, 400));
    EXPECT_EQ(profile::Read(profile, profile::Height), 150);    // same section, other key
    EXPECT_EQ(profile::Read(profile, profile::Code39GapX), 1);  // other section
    EXPECT_EQ(profile.GetProfileInt("", "Width", 3), 3);
    EXPECT_EQ(profile.GetProfileInt("Code", "", 3), 3);
    EXPECT_FALSE(profile.WriteProfileInt("", "Width", 1));
    EXPECT_FALSE(profile.WriteProfileString("Code", "", "x"));
}

// Each write is in the file before the call returns, as decimal text for
// integers and UTF-8 for strings.
TEST_F(SettingsProfileTest, EveryWriteReachesTheFileAtOnce)
{
    SettingsProfile profile(path);
    ASSERT_TRUE(profile::Write(profile, profile::BackColor, 0xFFFFFF));
    EXPECT_TRUE(ReadFile(path).contains("[Code]\nBackColor=16777215\n"));
    ASSERT_TRUE(profile::Write(profile, profile::CodeHigh, -3));
    EXPECT_TRUE(ReadFile(path).contains("CodeHigh=-3\n"));
    ASSERT_TRUE(profile::Write(profile, profile::String1, "\x83\x65\x83\x58\x83\x67"));
    EXPECT_TRUE(ReadFile(path).contains("[Comment]\nString1=テスト"));
    EXPECT_EQ(profile.Location(), path);
}

TEST_F(SettingsProfileTest, StringsRoundTripByteForByte)
{
    const struct {
        const char* name;
        std::string_view cp932;
    } rows[] = {
        {"Japanese comment",
         "\x83\x6F\x81\x5B\x83\x52\x81\x5B\x83\x68\x81\x40\x83\x65\x83\x58\x83\x67"},
        {"half-width katakana", "\xB2\xDD\xC0\xD8\xB0\xCC\xDE\xC4\xDE"},
        {"font name", "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E"},
        {"empty", ""},
        {"padding spaces", "  pad  "},
        {"commas and semicolons", "a, b; c # d"},
        {"leading at sign", "@ByteArray(x)"},
        {"backslash path", "C:\\Program Files\\Kestrel"},
        {"control characters", "tab\there\r\nline\x01\x7F"},
        {"embedded NUL", "A\0B"sv},
        {"bytes that are not code page 932", "\x80\xA0\xFF"
                                             "ok\x82"},
        {"duplicate code of one character", "\xED\x40"},
    };
    {
        SettingsProfile writer(path);
        for (const auto& row : rows) {
            ASSERT_TRUE(writer.WriteProfileString("Comment", row.name, row.cp932)) << row.name;
            EXPECT_EQ(writer.GetProfileString("Comment", row.name, "-"), row.cp932) << row.name;
        }
    }
    SettingsProfile reader(path);
    for (const auto& row : rows) {
        EXPECT_EQ(reader.GetProfileString("Comment", row.name, "default"), row.cp932) << row.name;
    }
}

TEST_F(SettingsProfileTest, IntegersAndStringsReadEachOther)
{
    {
        SettingsProfile writer(path);
        ASSERT_TRUE(writer.WriteProfileInt("Code", "BackColor", 0xFFFFFF));
        ASSERT_TRUE(writer.WriteProfileInt("Code", "CodeHigh", -5));
        ASSERT_TRUE(writer.WriteProfileString("Code", "Width", "320"));
    }
    SettingsProfile reader(path);
    EXPECT_EQ(reader.GetProfileString("Code", "BackColor", ""), "16777215");
    EXPECT_EQ(reader.GetProfileString("Code", "CodeHigh", ""), "-5");
    EXPECT_EQ(reader.GetProfileInt("Code", "Width", 0), 320);
}

// Text typed into the file by hand that code page 932 cannot hold.
TEST_F(SettingsProfileTest, HandWrittenUnicodeReadsAsCp932)
{
    WriteFile(path, "[Comment]\nString1=café テスト\nString2=a, b\n");
    SettingsProfile profile(path);
    EXPECT_EQ(profile.GetProfileString("Comment", "String1", ""), "caf? \x83\x65\x83\x58\x83\x67");
    EXPECT_EQ(profile.GetProfileString("Comment", "String2", ""), "a, b");
}

TEST_F(SettingsProfileTest, DefaultProfileLivesInConfigHome)
{
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_EQ(configHome, privateConfigHome.dir.path());
    SettingsProfile profile;
    EXPECT_EQ(profile.Location(), configHome + QStringLiteral("/Plover/Kestrel.ini"));
    ASSERT_TRUE(profile.WriteProfileString("Main", "Version", "2.08"));
    EXPECT_TRUE(ReadFile(profile.Location()).contains("[Main]\nVersion=2.08"));
}

// A failed write reports failure; the value stays for this run and is saved
// with the next write that reaches the file.
TEST_F(SettingsProfileTest, WriteThatCannotReachTheFileReportsFailureAndIsRetried)
{
    const QString obstacle = dir.filePath(QStringLiteral("Plover"));
    WriteFile(obstacle, "a file where the folder should be");
    const QString location = obstacle + QStringLiteral("/Kestrel.ini");
    SettingsProfile profile(location);
    EXPECT_FALSE(profile.WriteProfileInt("Code", "CodeHigh", 5));
    EXPECT_FALSE(profile.WriteProfileString("Comment", "String1", "x"));
    EXPECT_EQ(profile.GetProfileInt("Code", "CodeHigh", 16), 5);

    ASSERT_TRUE(QFile::remove(obstacle));
    EXPECT_TRUE(profile.WriteProfileInt("Code", "Width", 300));
    SettingsProfile reopened(location);
    EXPECT_EQ(reopened.GetProfileInt("Code", "CodeHigh", 16), 5);
    EXPECT_EQ(reopened.GetProfileString("Comment", "String1", ""), "x");
    EXPECT_EQ(reopened.GetProfileInt("Code", "Width", 0), 300);
}

// A file QSettings cannot read in full: whatever can be read still reads,
// nothing crashes, the original is kept as .bad when QSettings would
// otherwise drop part of it, and writes work afterwards.
TEST_F(SettingsProfileTest, GarbledFileReadsWhatItCanAndKeepsTheOriginal)
{
    std::mt19937 random(932);
    QByteArray noise(4096, '\0');
    for (char& byte : noise) {
        byte = static_cast<char>(random() & 0xFF);
    }
    QByteArray allBytes;
    for (int round = 0; round < 16; ++round) {
        for (int byte = 0; byte < 256; ++byte) {
            allBytes.append(static_cast<char>(byte));
        }
    }
    const QByteArray longLine = "[Code]\nCodeHigh=" + QByteArray(1 << 20, '9') + "\nWidth=7\n";

    const struct {
        const char* name;
        QByteArray content;
        bool keptAside;
        int codeHigh;  // as read, 99 = the default
        int width;
    } rows[] = {
        {"random bytes", noise, true, 99, 99},
        {"every byte value", allBytes, true, 99, 99},
        {"cut-off section header", "[Code]\nCodeHigh=5\nWidth=7\n[Comm", true, 5, 7},
        {"cut-off line", "[Code]\nCodeHigh=5\nWidth=7\nHei", true, 5, 7},
        {"line without '='", "[Code]\nCodeHigh=5\njust words\nWidth=7\n", true, 5, 7},
        {"saved as code page 932",
         "[Code]\nCodeHigh=5\nWidth=7\n[Comment]\nString1=\x83\x65\x83\x58\n", true, 5, 7},
        {"NUL bytes in a value", Bytes("[Code]\nCodeHigh=5\0\0junk\nWidth=7\n"sv), false, 99, 7},
        {"very long line", longLine, false, 99, 7},
        {"unterminated quote", "[Code]\nWidth=7\nCodeHigh=\"5\n", false, 99, 7},
        {"empty file", "", false, 99, 99},
    };
    int number = 0;
    for (const auto& row : rows) {
        // A file of its own per row, as above.
        const QString path = dir.filePath(QStringLiteral("garbled%1.ini").arg(++number));
        const QString aside = path + QStringLiteral(".bad");
        WriteFile(aside, "an older unreadable profile");
        WriteFile(path, row.content);
        {
            SettingsProfile profile(path);
            EXPECT_EQ(profile.GetProfileInt("Code", "CodeHigh", 99), row.codeHigh) << row.name;
            EXPECT_EQ(profile.GetProfileInt("Code", "Width", 99), row.width) << row.name;
            ASSERT_TRUE(profile.WriteProfileInt("Code", "Height", 150)) << row.name;
        }
        EXPECT_EQ(ReadFile(aside),
                  row.keptAside ? row.content : QByteArray("an older unreadable profile"))
            << row.name;

        SettingsProfile reopened(path);
        EXPECT_EQ(reopened.GetProfileInt("Code", "Height", 0), 150) << row.name;
        EXPECT_EQ(reopened.GetProfileInt("Code", "CodeHigh", 99), row.codeHigh) << row.name;
        EXPECT_EQ(reopened.GetProfileInt("Code", "Width", 99), row.width) << row.name;
        QSettings check(path, QSettings::IniFormat);
        check.allKeys();
        EXPECT_EQ(check.status(), QSettings::NoError) << row.name;
    }
}

// Another program breaks the file while the profile is open.
TEST_F(SettingsProfileTest, ReadOnlyNeverChangesTheFileOrItsFolder)
{
    const QByteArray garbled = "[Code]\nCodeHigh=20\n\xff\xfe[broken\n";
    WriteFile(path, garbled);
    {
        SettingsProfile profile(path, SettingsProfile::Access::ReadOnly);
        EXPECT_EQ(profile.GetProfileInt("Code", "CodeHigh", 16), 20);
        EXPECT_FALSE(profile.WriteProfileInt("Code", "Width", 400));
        EXPECT_FALSE(profile.WriteProfileString("Main", "Version", "2.08"));
        EXPECT_EQ(profile.GetProfileInt("Code", "Width", 300), 300);
    }
    EXPECT_EQ(ReadFile(path), garbled);
    EXPECT_FALSE(QFile::exists(path + QStringLiteral(".bad")));

    const QString missing = dir.filePath(QStringLiteral("Missing.ini"));
    {
        SettingsProfile profile(missing, SettingsProfile::Access::ReadOnly);
        EXPECT_EQ(profile.GetProfileInt("Code", "Height", 150), 150);
        EXPECT_FALSE(profile.WriteProfileInt("Code", "Height", 1));
    }
    EXPECT_FALSE(QFile::exists(missing));
}

TEST_F(SettingsProfileTest, FileBrokenWhileOpenIsKeptAsideOnTheNextWrite)
{
    SettingsProfile profile(path);
    ASSERT_TRUE(profile.WriteProfileInt("Code", "CodeHigh", 5));
    const QByteArray broken = "[Code]\nCodeHigh=6\nWidth=8\n[Comm";
    WriteFile(path, broken);
    ASSERT_TRUE(profile.WriteProfileInt("Code", "Height", 150));
    EXPECT_EQ(ReadFile(path + QStringLiteral(".bad")), broken);
    SettingsProfile reopened(path);
    EXPECT_EQ(reopened.GetProfileInt("Code", "CodeHigh", 0), 6);
    EXPECT_EQ(reopened.GetProfileInt("Code", "Width", 0), 8);
    EXPECT_EQ(reopened.GetProfileInt("Code", "Height", 0), 150);
}

// Starts `arguments` as a process; its id, or -1.
pid_t Start(const std::vector<std::string>& arguments)
{
    std::vector<char*> argv;
    for (const std::string& argument : arguments) {
        argv.push_back(const_cast<char*>(argument.c_str()));
    }
    argv.push_back(nullptr);
    pid_t pid = -1;
    return posix_spawn(&pid, argv[0], nullptr, nullptr, argv.data(), environ) == 0 ? pid : -1;
}

// The exit status of `pid`, or -1 if it failed or ran past the deadline.
int Finish(pid_t pid, std::chrono::steady_clock::time_point deadline)
{
    int status = 0;
    while (waitpid(pid, &status, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > deadline) {
            kill(pid, SIGKILL);
            waitpid(pid, &status, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Several running instances write different keys of one profile at the same
// time; every key of every writer survives, and a profile that was already
// open sees them.
TEST_F(SettingsProfileTest, ConcurrentWritersFromSeveralProcessesKeepEveryValue)
{
    constexpr int kWriters = 3;
    constexpr int kKeys = 40;
    SettingsProfile observer(path);
    ASSERT_TRUE(observer.WriteProfileInt("Code", "CodeHigh", 16));

    const std::string go = dir.filePath(QStringLiteral("go")).toStdString();
    std::vector<pid_t> writers;
    for (int writer = 0; writer < kWriters; ++writer) {
        const pid_t pid = Start({PROFILE_WRITER_PATH, path.toStdString(),
                                 "Writer" + std::to_string(writer), std::to_string(kKeys), go});
        ASSERT_NE(pid, -1);
        writers.push_back(pid);
    }
    WriteFile(QString::fromStdString(go), "go");
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (const pid_t pid : writers) {
        EXPECT_EQ(Finish(pid, deadline), 0);
    }

    const auto expectEveryValue = [&](const SettingsProfile& profile) {
        for (int writer = 0; writer < kWriters; ++writer) {
            const std::string section = "Writer" + std::to_string(writer);
            for (int key = 0; key < kKeys; ++key) {
                const std::string name = "Key" + std::to_string(key);
                EXPECT_EQ(profile.GetProfileInt(section, name, -1), 1000 * key + kKeys)
                    << section << "/" << name;
            }
        }
    };
    // The observer first: a second profile on the same file would share and
    // refresh what the observer holds.
    expectEveryValue(observer);
    SettingsProfile reader(path);
    expectEveryValue(reader);
    EXPECT_EQ(reader.GetProfileInt("Code", "CodeHigh", 0), 16);
}

}  // namespace
}  // namespace kestrel
