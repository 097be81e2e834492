// What a batch keeps from one picture to the next: the off-screen canvas.
// It may not change a picture; and the indexed
// PNG coding, straight from a picture's rows and read back by Qt's own
// decoder, holds every pixel.

#include "document/BarCodeDoc.h"
#include "document/StoredStyle.h"
#include "export/PngFile.h"
#include "export/QtPictureExports.h"
#include "profile/MemoryProfile.h"
#include "render/DrawBarcode.h"
#include "render/ImageCanvas.h"
#include "render/QPainterSurface.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel::cli {
namespace {

struct Picture {
    const char* text;
    int width;
    int height;
    const char* comment;  // Comment/String1
    int barColour;        // Code/BarColor, 0x00BBGGRR
};

// One factory for all, in this order, against QPainterSurface on a new
// picture for each (the canvas writes plain fills itself):
// same size after same size, a smaller and a larger picture, colours and a
// comment line, and back.
TEST(BatchReuse, ACanvasUsedBeforeDrawsWhatANewOneDraws)
{
    const Picture pictures[] = {
        {"4901234567894", 300, 150, "", 0},
        {"4512345678906", 300, 150, "Lot 7", 0x000080},
        {"4901234567894", 300, 150, "", 0},
        {"4912345678904", 180, 90, "", 0},
        {"4901234567894", 420, 200, "Lot 8", 0x804000},
        {"4512345678906", 420, 200, "", 0},
    };
    ImageCanvasFactory reused;
    for (const Picture& p : pictures) {
        MemoryProfile profile;
        WorkingGaps gaps;
        CBarCodeDoc doc;
        doc.Load(profile, gaps);
        profile.WriteProfileString("Comment", "String1", p.comment);
        profile.WriteProfileInt("Code", "BarColor", p.barColour);
        doc.CodeText = p.text;
        doc.Width = p.width;
        doc.Height = p.height;
        ASSERT_EQ(EncodeNumber(doc.Encode(CodabarOptions{})), 1) << p.text;
        // The reference: QPainterSurface alone on a new picture.
        ImageSurface plain(p.width, p.height);
        DrawBarcode(ReadDrawing(doc, profile), plain);
        const RgbPicture expected = plain.Picture();
        const RgbPicture got = DrawPicture(ReadDrawing(doc, profile), reused);
        int differ = 0;
        int first = -1;
        for (std::size_t i = 0; i < got.pixels.size() && i < expected.pixels.size(); ++i) {
            if (got.pixels[i] != expected.pixels[i]) {
                first = first < 0 ? static_cast<int>(i) : first;
                ++differ;
            }
        }
        EXPECT_EQ(differ, 0) << p.text << " at " << p.width << " x " << p.height << ", first at ("
                             << first % p.width << ", " << first / p.width << ")";
    }
}

struct PngCase {
    const char* name;
    int width;
    int height;
    int colours;
    int runEvery;   // a colour holds this many pixels in a row
    int rowsAlike;  // rows repeat in stretches of this many
    bool noise;     // top bytes that vary, which are no part of the colour
    int depth;      // bits per pixel written; 0: no indexed PNG at all
};

RgbPicture Stripes(const PngCase& c)
{
    RgbPicture picture{c.width, c.height, {}};
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            const int i = (x / c.runEvery + y / c.rowsAlike * 3) % c.colours;
            const std::uint32_t top = c.noise ? static_cast<std::uint32_t>(x * 7 + y) << 24 : 0;
            picture.pixels.push_back(top
                                     | (qRgb(i * 37 % 256, i * 91 % 256, 255 - i / 2) & 0xFFFFFFU));
        }
    }
    return picture;
}

// Widths around whole bytes at 1 bit; runs shorter than a match and past
// the longest; rows copied as whole-row matches and, when wide, as runs;
// pixels and rows apart only in their top bytes; one colour too many.
TEST(BatchReuse, IndexedPngReadsBackPixelForPixel)
{
    const PngCase cases[] = {
        {"one colour", 5, 3, 1, 1, 1, false, 1},
        {"two colours, 1 pixel wide", 1, 9, 2, 1, 2, false, 1},
        {"two colours, 7 wide", 7, 20, 2, 2, 5, false, 1},
        {"two colours, 8 wide", 8, 20, 2, 3, 20, false, 1},
        {"two colours, 9 wide", 9, 20, 2, 1, 3, false, 1},
        {"two colours, runs across bytes", 61, 4, 2, 19, 1, false, 1},
        {"barcode-like", 300, 150, 2, 3, 60, false, 1},
        {"barcode-like, top bytes vary", 300, 150, 2, 3, 60, true, 1},
        {"three colours", 301, 77, 3, 4, 11, false, 8},
        {"runs of 258 to 260", 1000, 6, 5, 259, 2, false, 8},
        {"256 colours", 256, 40, 256, 1, 4, false, 8},
        {"256 colours, top bytes vary", 256, 40, 256, 2, 4, true, 8},
        {"257 colours", 257, 3, 257, 1, 3, false, 0},
        {"wide rows as runs", 2000, 30, 17, 13, 10, false, 8},
    };
    for (const PngCase& c : cases) {
        const RgbPicture picture = Stripes(c);
        const std::optional<PngBytes> png = EncodeIndexedPng(RowsOf(picture));
        ASSERT_EQ(png.has_value(), c.depth != 0) << c.name;
        if (!png) {
            continue;
        }
        ASSERT_FALSE(png->empty()) << c.name;
        const QImage read = QImage::fromData(png->data(), static_cast<int>(png->size()), "PNG");
        EXPECT_EQ(read.depth(), c.depth) << c.name;
        const QImage image = read.convertToFormat(QImage::Format_RGB32);
        ASSERT_EQ(image.width(), c.width) << c.name;
        ASSERT_EQ(image.height(), c.height) << c.name;
        int wrong = 0;
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                wrong += (image.pixel(x, y) & 0xFFFFFFU) != (picture.at(x, y) & 0xFFFFFFU);
            }
        }
        EXPECT_EQ(wrong, 0) << c.name;
    }
    EXPECT_TRUE(EncodeIndexedPng(PixelRows{})->empty());  // no pixels
}

}  // namespace
}  // namespace kestrel::cli
