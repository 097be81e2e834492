// Every written and copied picture is drawn on the raster surface, with
// text through Qt on its pixels. It must give the pixels the QPainter
// surface gives on an off-screen picture, and colour counts that a pass
// over those pixels gives.

#include "bitmap/Palette.h"
#include "document/BarCodeDoc.h"
#include "document/StoredStyle.h"
#include "export/SaveBitmap.h"
#include "profile/MemoryProfile.h"
#include "render/DrawBarcode.h"
#include "render/QPainterSurface.h"
#include "render/QtRasterFallback.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

namespace kestrel::cli {
namespace {

struct Row {
    int type;  // Code/CodeType
    const char* text;
    int textHeight;  // Code/CodeHigh
    int display;     // Code/DispCode
    int narrow;      // Code/NWidth, the narrow width minus one
    const char* comment1;
    const char* comment2;
    int commentHeight;  // Comment/High1 and High2
    int barColour;      // 0x00BBGGRR, also the text's colour
    int backColour;
};

// Comments in code page 932: "ロット７" and half-width "ﾛｯﾄ".
constexpr char Japanese[] = "\x83\x8D\x83\x62\x83\x67\x82\x56";
constexpr char HalfWidth[] = "\xDB\xAF\xC4 7";

const Row Rows[] = {
    {0, "4901234567894", 16, 1, 0, "", "", 30, 0, 0xFFFFFF},
    {0, "4901234567894", 10, 1, 1, "Lot 7", "", 12, 0x000080, 0xFFFFFF},
    {0, "4512345678906", 30, 1, 2, Japanese, HalfWidth, 20, 0x804000, 0xE0FFFF},
    {0, "4912345678904", 64, 1, 3, "", "", 30, 0, 0xFFFFFF},
    {0, "4912345678904", 65, 1, 3, "", "", 30, 0, 0xFFFFFF},
    {1, "49012347", 120, 1, 3, HalfWidth, "", 100, 0x008000, 0xFFFFFF},
    {2, "14901234567894", 24, 1, 1, "", "", 30, 0, 0xFFFFFF},
    {3, "1234565", 200, 1, 3, "", "", 30, 0, 0xFFFFFF},
    {4, "123456", 18, 1, 0, Japanese, "", 64, 0xFF0000, 0x00FFFF},
    {5, "KESTREL-39T", 16, 0, 1, "", "", 30, 0, 0xFFFFFF},
    {6, "Kestrel 39", 22, 1, 0, "", Japanese, 150, 0, 0xFFFFFF},
    {7, "CODE 93", 12, 1, 0, "", "", 30, 0x404040, 0xC0C0C0},
    {8, "Code 93", 40, 1, 1, "", "", 30, 0, 0xFFFFFF},
    {9, "123-45", 16, 1, 0, "", "", 30, 0, 0xFFFFFF},
    {10, "123-456", 16, 1, 0, "", "", 30, 0, 0xFFFFFF},
    {11, "Kestrel 128", 90, 1, 0, "Lot 8", HalfWidth, 200, 0, 0xFFFFFF},
};

// The drawing refers to the document's text: the document must outlive it.
Drawing DrawingOf(const Row& row, MemoryProfile& profile, CBarCodeDoc& doc)
{
    WorkingGaps gaps;
    doc.Load(profile, gaps);
    profile.WriteProfileString("Comment", "String1", row.comment1);
    profile.WriteProfileString("Comment", "String2", row.comment2);
    profile.WriteProfileInt("Comment", "High1", row.commentHeight);
    profile.WriteProfileInt("Comment", "High2", row.commentHeight);
    profile.WriteProfileInt("Code", "BarColor", row.barColour);
    profile.WriteProfileInt("Code", "CodeColor", row.barColour);
    profile.WriteProfileInt("Code", "BackColor", row.backColour);
    doc.CodeType = row.type;
    doc.Check = 0;  // the texts are drawn as they stand
    doc.CodeText = row.text;
    doc.CodeHigh = row.textHeight;
    doc.DispCode = row.display;
    doc.NWidth = row.narrow + 1;
    doc.Width = 300 + row.type % 3 * 60;  // sizes change between rows, as in a batch
    doc.Height = 260;
    EXPECT_EQ(EncodeNumber(doc.Encode(CodabarOptions{})), 1) << row.text;
    return ReadDrawing(doc, profile);
}

TEST(PictureCanvas, DrawsThePixelsOfTheQPainterSurfaceAndCountsThem)
{
    PictureCanvasFactory canvases;  // one for all rows, as a batch uses it
    for (const Row& row : Rows) {
        MemoryProfile profile;
        CBarCodeDoc doc;
        const Drawing drawing = DrawingOf(row, profile, doc);
        ImageSurface plain(drawing.symbol.width, drawing.symbol.height);
        DrawBarcode(drawing, plain);
        const RgbPicture expected = plain.Picture();

        const std::unique_ptr<OffscreenCanvas> canvas = DrawOnCanvas(drawing, canvases);
        ASSERT_TRUE(canvas);
        const RgbPicture got = canvas->Picture();
        std::size_t differ = 0;
        for (std::size_t i = 0; i < got.pixels.size() && i < expected.pixels.size(); ++i) {
            differ += got.pixels[i] != expected.pixels[i] ? 1 : 0;
        }
        EXPECT_EQ(got.pixels.size(), expected.pixels.size()) << row.text;
        EXPECT_EQ(differ, 0U) << row.text << " at text height " << row.textHeight;

        PixelTally recount;
        recount.AddRow(got.pixels.data(), got.pixels.size(), 1);
        ASSERT_TRUE(canvas->Colours()) << row.text;
        EXPECT_EQ(*canvas->Colours(), recount.Counts()) << row.text;
        EXPECT_EQ(MakeFrequencyPalette(*canvas->Colours()), MakeFrequencyPalette(got)) << row.text;
    }
}

}  // namespace
}  // namespace kestrel::cli
