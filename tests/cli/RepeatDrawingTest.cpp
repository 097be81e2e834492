// The same picture drawn twice is the same picture: the first drawing in a
// process against later ones in a batch, and against another process.

#include "RunCommand.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

using kestrel::test::Capture;

struct Case {
    const char* comment;  // both comment lines, in UTF-8
    int high1;            // the first line's height: above 64 pixels Qt draws outlines
    int high2;
    const char* options;
};

QByteArray Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Large text sharing a font (here the symbols' fallback font) with smaller
// text drawn before it, with and without the JAN digits drawn last.
TEST(RepeatDrawing, FirstPictureInAProcessEqualsLaterOnes)
{
    const Case cases[] = {
        {"☆★→ あい", 100, 15, "--text 0"},
        {"☆★→ あい", 65, 25, "--text 0"},
        {"☆★→ あい", 200, 15, "--text 1 --text-height 30"},
        {"Lot 7 漢字", 100, 15, "--text 0"},
        {"Lot 7 ｶﾅ", 30, 15, "--text 1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.comment + std::string(" at ") + std::to_string(c.high1));
        QTemporaryDir dir;
        ASSERT_TRUE(dir.isValid());
        const std::string at = dir.path().toStdString() + "/";
        const std::string cli = std::string(KESTREL_CLI_PATH) + " --profile '" + at
                                + "none.ini' --width 700 --height 300 " + c.options
                                + " --depth 0 --set 'Comment/String1=" + c.comment
                                + "' --set 'Comment/String2=" + c.comment + "' --set Comment/High1="
                                + std::to_string(c.high1) + " --set Comment/High2="
                                + std::to_string(c.high2) + " --set Code/BarColor=#000080";
        int status = 0;
        Capture(cli + " --data 4901234567894 -o '" + at + "alone.bmp'", status);
        ASSERT_EQ(status, 0);
        QFile lines(dir.filePath("lines.txt"));
        ASSERT_TRUE(lines.open(QIODevice::WriteOnly));
        lines.write("4901234567894\n4901234567894\n4901234567894\n");
        lines.close();
        Capture(cli + " --batch '" + at + "lines.txt' -o '" + at + "line{n}.bmp'", status);
        ASSERT_EQ(status, 0);

        const QByteArray alone = Contents(dir.filePath("alone.bmp"));
        ASSERT_FALSE(alone.isEmpty());
        for (const char* name : {"line1.bmp", "line2.bmp", "line3.bmp"}) {
            EXPECT_TRUE(Contents(dir.filePath(name)) == alone) << name;
        }
    }
}

}  // namespace
