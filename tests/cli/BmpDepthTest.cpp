// BMP files of every depth from kestrel-cli: the header says what was asked
// for, Qt and ImageMagick see the same bars, the decoders read them, and
// refused requests write nothing.

#include "RunCommand.h"

#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>

namespace {

using kestrel::test::Capture;
using kestrel::test::HaveProgram;

// The file's biBitCount and biCompression (little-endian, at 28 and 30).
std::pair<int, int> BitCountAndCompression(const std::string& file)
{
    QFile bmp(QString::fromStdString(file));
    if (!bmp.open(QIODevice::ReadOnly)) {
        return {-1, -1};
    }
    const QByteArray head = bmp.read(34);
    if (head.size() != 34 || !head.startsWith("BM")) {
        return {-1, -1};
    }
    const auto byte = [&](int at) {
        return static_cast<int>(static_cast<unsigned char>(head[at]));
    };
    return {byte(28) | byte(29) << 8, byte(30) | byte(31) << 8};
}

// Dark and light as a reader thresholds them: palettes keep colours to five
// or six bits, so white may come back as (248, 252, 248).
QImage DarkLight(const QImage& image)
{
    QImage map(image.size(), QImage::Format_Grayscale8);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            map.setPixel(x, y, qGray(image.pixel(x, y)) < 128 ? 0 : 255);
        }
    }
    return map;
}

constexpr char Ean8[] = "--type jan8 --data 4912345 --auto-add 1 --text 0";

TEST(BmpDepths, EveryDepthHasItsHeaderAndTheSameBars)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const std::string cli = std::string(KESTREL_CLI_PATH) + " --profile '"
                            + dir.filePath("none.ini").toStdString() + "' " + Ean8;
    const std::string reference = dir.filePath("reference.bmp").toStdString();
    int status = 0;
    Capture(cli + " -o '" + reference + "'", status);
    ASSERT_EQ(status, 0);
    const QImage bars = DarkLight(QImage(QString::fromStdString(reference)));
    ASSERT_FALSE(bars.isNull());

    constexpr int Rgb = 0, Rle8 = 1, Rle4 = 2;
    const struct {
        const char* flags;
        int bitCount;
        int compression;
        bool zxingReads;  // ZXing's own file loader has no run-length coding
    } cases[] = {
        {"--bpp 1", 1, Rgb, true},         {"--bpp 4", 4, Rgb, true},
        {"--bpp 8", 8, Rgb, true},         {"--bpp 16", 16, Rgb, true},
        {"--bpp 24", 24, Rgb, true},       {"--bpp 32", 32, Rgb, true},
        {"--bpp 4 --rle", 4, Rle4, false}, {"--bpp 8 --rle", 8, Rle8, false},
        {"--depth 2", 8, Rgb, true},
    };
    const bool readers = HaveProgram("zbarimg") && HaveProgram("ZXingReader")
                         && HaveProgram("/usr/bin/identify");
    for (const auto& c : cases) {
        SCOPED_TRACE(c.flags);
        const std::string file =
            dir.filePath(QString("%1.bmp").arg(c.flags).replace(' ', '_')).toStdString();
        Capture(cli + " " + c.flags + " -o '" + file + "'", status);
        ASSERT_EQ(status, 0);
        EXPECT_EQ(BitCountAndCompression(file), std::pair(c.bitCount, c.compression));
        EXPECT_EQ(DarkLight(QImage(QString::fromStdString(file))), bars);
        if (!readers) {
            continue;
        }
        // ImageMagick's own reading of the header, coding included.
        const std::string depth = Capture("/usr/bin/identify -format '%z %w %h' '" + file + "'",
                                          status);
        EXPECT_EQ(depth, std::to_string(c.bitCount < 8 ? c.bitCount : 8) + " 300 150");
        EXPECT_EQ(Capture("zbarimg --raw -q '" + file + "'", status), "49123456");
        if (c.zxingReads) {
            EXPECT_NE(Capture("ZXingReader -1 '" + file + "'", status).find("\"49123456\""),
                      std::string::npos);
        }
    }
}

TEST(BmpDepths, RefusedCombinationsExitTwoAndWriteNothing)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const char* refused[] = {
        "--bpp 24 --rle -o a.bmp",    "--bpp 1 --rle -o a.bmp",        "--rle -o a.bmp",
        "--bpp 1 -o a.png",           "--bpp 8 --format pdf -o a.bmp", "--bpp 3 -o a.bmp",
        "--bpp 8 --depth 2 -o a.bmp",
    };
    for (const char* flags : refused) {
        int status = 0;
        Capture("cd '" + dir.path().toStdString() + "' && " + KESTREL_CLI_PATH
                    + " --profile none.ini " + Ean8 + " " + flags,
                status);
        EXPECT_EQ(status, 2) << flags;
        EXPECT_FALSE(QFile::exists(dir.filePath("a.bmp")) || QFile::exists(dir.filePath("a.png")))
            << flags;
    }
}

}  // namespace
