// PNG, SVG and PDF pictures from kestrel-cli, compared with the BMP of the
// same request and read back by independent rasterisers and decoders.

#include "RunCommand.h"
#include "export/QtPictureExports.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel::cli {
namespace {

using kestrel::test::Capture;
using kestrel::test::HaveProgram;

class PictureFormats : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(dir_.isValid()); }

    std::string PathOf(const std::string& name) const
    {
        return dir_.filePath(QString::fromStdString(name)).toStdString();
    }

    // kestrel-cli with an empty profile; returns its exit status.
    int Write(const std::string& arguments, const std::string& file)
    {
        int status = 0;
        Capture(std::string(KESTREL_CLI_PATH) + " --profile '" + PathOf("none.ini") + "' "
                    + arguments + " -o '" + file + "'",
                status);
        return status;
    }

    static QImage Load(const std::string& file)
    {
        return QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
    }

    QTemporaryDir dir_;
};

struct Geometry {
    const char* name;
    const char* arguments;
};

// Symbologies and geometries that move bars onto every kind of coordinate:
// narrow widths of 1 to 3, the three ratios, margins, bearer frames, text
// below the bars and none, a picture wider than tall and one taller.
const Geometry Geometries[] = {
    {"jan13", "--type jan13 --data 490123456789 --auto-add 1"},
    {"jan13-bearer", "--type jan13 --data 490123456789 --auto-add 1 --bearer 1 --narrow 2"
                     " --width 260 --height 120 --xmargin 20 --ymargin 15"},
    {"jan8-no-text", "--type jan8 --data 4912345 --auto-add 1 --text 0 --narrow 3"},
    {"itf-bearer", "--type itf --data 12345678901234 --check 0 --bearer 1 --aspect 1"
                   " --narrow 2 --width 500 --ymargin 10"},
    {"stf", "--type stf --data 123456 --check 0 --aspect 2 --narrow 1 --width 200"},
    {"codabar", "--type codabar --data A40156B --check 0 --aspect 0 --narrow 2 --width 400"},
    {"code39-no-text", "--type code39 --data KESTREL --check 0 --text 0 --aspect 2 --narrow 1"
                       " --width 400 --height 30 --ymargin 0 --xmargin 0"},
    {"code93", "--type code93 --data 'CODE 93' --auto-add 1 --narrow 2 --width 400"},
    {"code11", "--type code11 --data 123-45 --check 0 --narrow 3 --width 400"},
    {"code128-tall", "--type code128 --data 'Kestrel {128}' --auto-add 1 --narrow 1"
                     " --width 200 --height 400 --text-height 30"},
};

bool IsGrey(QRgb pixel)
{
    const int g = qGray(pixel);
    return g != 0 && g != 255;
}

// The rows above the first one holding antialiased text: bars, frame and
// background only, drawn alike by every rasteriser.
int BarRowsOf(const QImage& bmp)
{
    for (int y = 0; y < bmp.height(); ++y) {
        for (int x = 0; x < bmp.width(); ++x) {
            if (IsGrey(bmp.pixel(x, y))) {
                // Text sits a row below its cell's top at the most.
                return std::max(0, y - 2);
            }
        }
    }
    return bmp.height();
}

TEST_F(PictureFormats, VectorPagesRasteriseToTheBitmapsBars)
{
    if (!HaveProgram("rsvg-convert") || !HaveProgram("pdftoppm")) {
        GTEST_SKIP() << "rsvg-convert or pdftoppm missing (scripts/setup.sh installs them)";
    }
    for (const Geometry& geometry : Geometries) {
        const std::string base = PathOf(geometry.name);
        ASSERT_EQ(Write(geometry.arguments, base + ".bmp"), 0) << geometry.name;
        ASSERT_EQ(Write(geometry.arguments, base + ".svg"), 0) << geometry.name;
        ASSERT_EQ(Write(geometry.arguments, base + ".pdf"), 0) << geometry.name;
        int status = 0;
        Capture("rsvg-convert -o '" + base + "-svg.png' '" + base + ".svg'", status);
        ASSERT_EQ(status, 0) << geometry.name;
        Capture("pdftoppm -r 72 -singlefile -png '" + base + ".pdf' '" + base + "-pdf'", status);
        ASSERT_EQ(status, 0) << geometry.name;

        const QImage bmp = Load(base + ".bmp");
        ASSERT_FALSE(bmp.isNull()) << geometry.name;
        const int rows = BarRowsOf(bmp);
        // The bars take most of every picture here: a short comparison
        // would mean the text finder went wrong, not that the bars agree.
        ASSERT_GE(rows, bmp.height() / 3) << geometry.name;
        for (const char* reader : {"-svg.png", "-pdf.png"}) {
            const QImage raster = Load(base + reader);
            const std::string where = std::string(geometry.name) + reader;
            ASSERT_EQ(raster.size(), bmp.size()) << where;
            int differing = 0;
            std::string first;
            for (int y = 0; y < rows; ++y) {
                for (int x = 0; x < bmp.width(); ++x) {
                    if (raster.pixel(x, y) != bmp.pixel(x, y) && differing++ == 0) {
                        first = "x " + std::to_string(x) + " y " + std::to_string(y);
                    }
                }
            }
            EXPECT_EQ(differing, 0) << where << ", first at " << first;
        }
    }
}

// IHDR's bit depth and colour type: bytes 24 and 25 of a PNG.
std::pair<int, int> PngDepthAndColourType(const std::string& file)
{
    QFile png(QString::fromStdString(file));
    if (!png.open(QIODevice::ReadOnly)) {
        return {-1, -1};
    }
    const QByteArray head = png.read(26);
    return head.size() == 26 && head.startsWith("\x89PNG")
               ? std::pair{static_cast<int>(head[24]), static_cast<int>(head[25])}
               : std::pair{-1, -1};
}

TEST_F(PictureFormats, PngHoldsTheBitmapsPixelsInTheFewestBits)
{
    constexpr int Palette = 3;  // PNG colour type of an indexed picture
    const struct {
        const char* name;
        const char* arguments;
        int depth;
    } cases[] = {
        // Two colours: bars and background.
        {"two-colours", "--type jan8 --data 4912345 --auto-add 1 --text 0", 1},
        {"blue-on-yellow",
         "--type code39 --data K39 --check 0 --text 0"
         " --set Code/BarColor=#000080 --set Code/BackColor=#FFFF00",
         1},
        // Antialiased text brings greys, still well under 256.
        {"with-text", "--type jan13 --data 490123456789 --auto-add 1", 8},
    };
    for (const auto& c : cases) {
        const std::string base = PathOf(c.name);
        ASSERT_EQ(Write(c.arguments, base + ".bmp"), 0) << c.name;
        ASSERT_EQ(Write(c.arguments, base + ".png"), 0) << c.name;
        EXPECT_EQ(PngDepthAndColourType(base + ".png"), std::pair(c.depth, Palette)) << c.name;
        const QImage bmp = Load(base + ".bmp");
        const QImage png = Load(base + ".png");
        ASSERT_FALSE(bmp.isNull()) << c.name;
        EXPECT_EQ(png, bmp) << c.name << ": lossless";
    }
}

TEST_F(PictureFormats, DecodersReadThePng)
{
    if (!HaveProgram("zbarimg") || !HaveProgram("ZXingReader")) {
        GTEST_SKIP() << "zbarimg or ZXingReader missing (scripts/setup.sh installs them)";
    }
    const struct {
        const char* name;
        const char* arguments;
        const char* zbar;   // zbar keeps Codabar's start and stop
        const char* zxing;  // ZXing drops them
    } cases[] = {
        {"jan13", "--type jan13 --data 490123456789 --auto-add 1", "4901234567894",
         "4901234567894"},
        {"jan8-no-text", "--type jan8 --data 4912345 --auto-add 1 --text 0", "49123456",
         "49123456"},
        {"codabar", "--type codabar --data A40156B --check 0 --narrow 2 --width 400", "A40156B",
         "40156"},
        {"code128", "--type code128 --data 'Kestrel {128}' --auto-add 1 --width 400",
         "Kestrel {128}", "Kestrel {128}"},
    };
    for (const auto& c : cases) {
        const std::string file = PathOf(std::string(c.name) + ".png");
        ASSERT_EQ(Write(c.arguments, file), 0) << c.name;
        int status = 0;
        EXPECT_EQ(Capture("zbarimg --raw -q '" + file + "'", status), c.zbar) << c.name;
        const std::string line = Capture("ZXingReader -1 '" + file + "'", status);
        EXPECT_NE(line.find(std::string("\"") + c.zxing + "\""), std::string::npos)
            << c.name << ": " << line;
    }
}

TEST_F(PictureFormats, TheSuffixOrFormatFlagChoosesAndNothingPartialIsLeft)
{
    const struct {
        const char* file;
        const char* format;  // --format, or none
        const char* magic;   // what the file starts with; empty: no file
        int status;
    } cases[] = {
        {"a.bmp", nullptr, "BM", 0},       {"b.PNG", nullptr, "\x89PNG", 0},
        {"c.svg", nullptr, "<?xml", 0},    {"d.pdf", nullptr, "%PDF", 0},
        {"e.label", nullptr, "BM", 0},  // any other name is a BMP, as before
        {"f.bmp", "pdf", "%PDF", 0},       {"g.png", "svg", "<?xml", 0},
        {"missing/h.png", nullptr, "", 1}, {"missing/i.svg", nullptr, "", 1},
        {"missing/j.pdf", nullptr, "", 1},
    };
    for (const auto& c : cases) {
        const std::string file = PathOf(c.file);
        const std::string format = c.format ? std::string(" --format ") + c.format : "";
        EXPECT_EQ(Write("--type jan8 --data 4912345 --auto-add 1" + format, file), c.status)
            << c.file;
        QFile written(QString::fromStdString(file));
        if (*c.magic == '\0') {
            EXPECT_FALSE(written.exists()) << c.file;
            continue;
        }
        ASSERT_TRUE(written.open(QIODevice::ReadOnly)) << c.file;
        EXPECT_TRUE(written.readAll().startsWith(c.magic)) << c.file;
    }
    // Only the pictures: no temporary file survives a write.
    const QStringList left = QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden);
    EXPECT_EQ(left.size(), 7) << left.join(' ').toStdString();
}

TEST(PictureFormatNames, SuffixesInAnyCaseNameTheirFormat)
{
    const struct {
        const char* name;
        std::optional<PictureFormat> format;
    } cases[] = {
        {"a.bmp", PictureFormat::Bmp},
        {"a.PNG", PictureFormat::Png},
        {"dir/a.b.svg", PictureFormat::Svg},
        {"a.Pdf", PictureFormat::Pdf},
        {"a", std::nullopt},
        {"a.png/label", std::nullopt},
        {"a.gif", std::nullopt},
        {"a.", std::nullopt},
        {".png", PictureFormat::Png},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FormatFromFileName(c.name), c.format) << c.name;
    }
}

}  // namespace
}  // namespace kestrel::cli
