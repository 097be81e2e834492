#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdint>
#include <fcntl.h>
#include <set>
#include <string>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace {

// The file size a BMP's own header gives, or -1 when there is no header.
qint64 HeaderFileSize(const QByteArray& bytes)
{
    if (bytes.size() < 6 || !bytes.startsWith("BM")) return -1;
    const auto byte = [&](int at) { return std::uint32_t(std::uint8_t(bytes[at])); };
    return byte(2) | byte(3) << 8 | byte(4) << 16 | byte(5) << 24;
}

// Starts kestrel-cli on a pipe, so its standard input stays open for as
// long as the test wants, and standard error in a file.
pid_t StartBatch(const std::string& jobs, const QString& folder, int& input)
{
    int ends[2];
    if (pipe(ends) != 0) return -1;
    const std::string pattern = QDir(folder).filePath("label-{n}.bmp").toStdString();
    const std::string profile = QDir(folder).filePath("none.ini").toStdString();
    const std::string errors = QDir(folder).filePath("stderr.txt").toStdString();
    const pid_t child = fork();
    if (child == 0) {
        dup2(ends[0], STDIN_FILENO);
        const int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(err, STDERR_FILENO);
        close(ends[0]);
        close(ends[1]);
        execl(KESTREL_CLI_PATH, KESTREL_CLI_PATH, "--profile", profile.c_str(), "--batch", "-",
              "-o", pattern.c_str(), "--jobs", jobs.c_str(), static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ends[0]);
    input = ends[1];
    return child;
}

bool WriteLines(int input, int count)
{
    const std::string line = "4901234567894\n";
    for (int n = 0; n < count; ++n) {
        if (write(input, line.data(), line.size()) != static_cast<ssize_t>(line.size())) {
            return false;
        }
    }
    return true;
}

// Ctrl+C in the middle of a long batch read from a pipe: the program ends
// with 130 after the files in hand, leaving only whole files and no
// temporary ones, and with one job exactly the first lines.
TEST(BatchStop, InterruptLeavesOnlyWholeFiles)
{
    std::signal(SIGPIPE, SIG_IGN);  // the program stops reading before the feed ends
    const struct {
        const char* jobs;
        bool linesInOrder;  // one job: the files are lines 1 to N
    } cases[] = {{"1", true}, {"2", false}};
    for (const auto& c : cases) {
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        int input = -1;
        const pid_t child = StartBatch(c.jobs, dir.path(), input);
        ASSERT_GT(child, 0);
        ASSERT_TRUE(WriteLines(input, 500));
        // Part way: some files written, most of the feed still to come.
        const QString tenth = dir.filePath("label-10.bmp");
        for (int wait = 0; wait < 1000 && !QFile::exists(tenth); ++wait) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        ASSERT_TRUE(QFile::exists(tenth)) << c.jobs;
        kill(child, SIGINT);
        const bool fedEverything = WriteLines(input, 100000);
        close(input);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_FALSE(fedEverything) << c.jobs << " jobs: the program read to the end";
        ASSERT_TRUE(WIFEXITED(status)) << c.jobs;
        EXPECT_EQ(WEXITSTATUS(status), 130) << c.jobs;

        const QRegularExpression labelName(QStringLiteral("^label-(\\d+)\\.bmp$"));
        std::set<int> numbers;
        const QStringList names = QDir(dir.path()).entryList(QDir::Files);
        for (const QString& name : names) {
            if (name == "stderr.txt") continue;
            const QRegularExpressionMatch match = labelName.match(name);
            ASSERT_TRUE(match.hasMatch()) << c.jobs << " jobs left " << name.toStdString();
            QFile file(dir.filePath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadOnly));
            const QByteArray bytes = file.readAll();
            EXPECT_EQ(HeaderFileSize(bytes), bytes.size()) << name.toStdString();
            numbers.insert(match.captured(1).toInt());
        }
        ASSERT_FALSE(numbers.empty());
        EXPECT_LT(numbers.size(), 100500U);
        if (c.linesInOrder) {
            EXPECT_EQ(*numbers.rbegin(), static_cast<int>(numbers.size())) << "not 1 to N";
        }
        QFile errors(dir.filePath("stderr.txt"));
        ASSERT_TRUE(errors.open(QIODevice::ReadOnly));
        const std::string said = errors.readAll().toStdString();
        EXPECT_EQ(said, "kestrel-cli: stopped after " + std::to_string(numbers.size()) + " lines\n")
            << c.jobs;
    }
}

}  // namespace
