// The QPainter surface must give the pixels the drawing code asks for, no
// more and no fewer, and fonts of the size asked for.

#include "FakeSurface.h"
#include "RenderTestSupport.h"

#include "render/DrawBarcode.h"
#include "render/QPainterSurface.h"
#include "symbology/CodeValidator.h"

#include <QFontInfo>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <climits>
#include <functional>
#include <string>

namespace kestrel {
namespace {

constexpr std::uint32_t White = 0xFFFFFF;

// Pixels of the picture that differ from `expected` (0x00RRGGBB), as text.
std::string Mismatches(const RgbPicture& picture,
                       const std::function<std::uint32_t(int x, int y)>& expected)
{
    std::string out;
    int count = 0;
    for (int y = 0; y < picture.height; ++y) {
        for (int x = 0; x < picture.width; ++x) {
            if (picture.at(x, y) != expected(x, y) && ++count <= 5) {
                out += "(" + std::to_string(x) + "," + std::to_string(y) + ") ";
            }
        }
    }
    return count == 0 ? out : out + std::to_string(count) + " pixels differ";
}

bool Inside(int x, int y, int left, int top, int right, int bottom)
{
    return x >= left && x < right && y >= top && y < bottom;
}

TEST(QPainterSurface, PrimitivesGiveExactPixels)
{
    struct Case {
        const char* name;
        std::function<void(DrawingSurface&)> draw;
        SurfaceRect expected;  // the pixels that turn red
    };
    const Colour red = MakeColour(255, 0, 0);
    const Case cases[] = {
        {"line to the right stops before its end",
         [](auto& s) { s.DrawLine(2, 5, 7, 5); },
         {2, 5, 7, 6}},
        {"line to the left stops before its end",
         [](auto& s) { s.DrawLine(7, 5, 2, 5); },
         {3, 5, 8, 6}},
        {"line down", [](auto& s) { s.DrawLine(4, 1, 4, 6); }, {4, 1, 5, 6}},
        {"line up", [](auto& s) { s.DrawLine(4, 6, 4, 1); }, {4, 2, 5, 7}},
        {"a line to its own start draws nothing", [](auto& s) { s.DrawLine(3, 3, 3, 3); }, {}},
        {"line far past the picture",
         [](auto& s) { s.DrawLine(INT_MIN, 2, INT_MAX, 2); },
         {0, 2, 20, 3}},
        {"fill",
         [&](auto& s) {
             s.FillSolidRect({3, 4, 9, 6}, red);
         },
         {3, 4, 9, 6}},
        {"fill hanging over the edge",
         [&](auto& s) {
             s.FillSolidRect({-5, -5, 3, 2}, red);
         },
         {0, 0, 3, 2}},
        {"fill of the whole int range",
         [&](auto& s) {
             s.FillSolidRect({INT_MIN, INT_MIN, INT_MAX, INT_MAX}, red);
         },
         {0, 0, 20, 20}},
        {"fill of an unnormalised rectangle draws nothing",
         [&](auto& s) {
             s.FillSolidRect({9, 4, 3, 6}, red);
         },
         {}},
        {"the pen goes back when restored",
         [](auto& s) {
             const SavedPen saved = s.SelectPen(MakeColour(0, 0, 255));
             s.RestorePen(saved);
             s.DrawLine(0, 0, 2, 0);
         },
         {0, 0, 2, 1}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        ImageSurface surface(20, 20);
        const SavedPen pen = surface.SelectPen(red);
        c.draw(surface);
        surface.RestorePen(pen);
        const SurfaceRect& e = c.expected;
        // Picture pixels are 0x00RRGGBB: red is in the high byte there.
        EXPECT_EQ("", Mismatches(surface.Picture(), [&](int x, int y) {
                      return Inside(x, y, e.left, e.top, e.right, e.bottom) ? 0xFF0000U : White;
                  }));
    }
}

TEST(QPainterSurface, ClipBoxIsThePaintedArea)
{
    ImageSurface image(30, 20);
    EXPECT_EQ((SurfaceRect{0, 0, 30, 20}), image.ClipBox());

    QImage target(30, 20, QImage::Format_RGB32);
    QPainter painter(&target);
    painter.setClipRect(QRect(5, 6, 10, 4));
    QPainterSurface repaint(painter);
    EXPECT_EQ((SurfaceRect{5, 6, 15, 10}), repaint.ClipBox());
}

TEST(QPainterSurface, UnusableSizesGiveAnEmptyPictureThatIgnoresDrawing)
{
    for (const auto& [width, height] :
         {std::pair{0, 10}, {10, -1}, {40000, 1}, {20000, 20000}, {INT_MAX, INT_MAX}}) {
        SCOPED_TRACE(std::to_string(width) + "x" + std::to_string(height));
        ImageSurface surface(width, height);
        EXPECT_TRUE(surface.ClipBox().IsEmpty());
        surface.FillSolidRect({0, 0, 10, 10}, 0);
        surface.SelectFont({BarcodeFontFace, 16, FontCharset::Ansi, 400});
        surface.DrawTextAt(0, 0, "123");
        const RgbPicture picture = surface.Picture();
        EXPECT_EQ(0, picture.width);
        EXPECT_TRUE(picture.pixels.empty());
    }
}

TEST(QPainterSurface, GothicFaceNamesResolveToIpaWithTheEmHeightAsked)
{
    struct Case {
        const char* name;
        std::string face;
        int height;
        int expectedCell;
    };
    const Case cases[] = {
        {"Japanese name in code page 932", BarcodeFontFace, 16, 16},
        {"English name", "MS PGothic", 16, 16},
        {"comment size", BarcodeFontFace, 100, 100},
        {"height 0 takes the default size", BarcodeFontFace, 0, QPainterSurface::DefaultFontHeight},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const QFont font = QPainterSurface::FontFor({c.face, c.height, FontCharset::ShiftJis, 400});
        EXPECT_EQ(QStringLiteral("IPAGothic"), QFontInfo(font).family());

        ImageSurface surface(10, 10);
        const SavedFont saved = surface.SelectFont({c.face, c.height, FontCharset::Ansi, 400});
        const TextExtent extent = surface.MeasureText("0123");
        EXPECT_EQ(c.expectedCell, extent.height);
        EXPECT_GT(extent.width, 0);
        surface.RestoreFont(saved);
    }
}

// Draws `text` with the given alignment and box options into a fresh picture.
RgbPicture DrawText(const std::function<void(DrawingSurface&)>& draw)
{
    ImageSurface surface(120, 40);
    surface.SelectFont({BarcodeFontFace, 16, FontCharset::Ansi, 400});
    draw(surface);
    return surface.Picture();
}

TEST(QPainterSurface, TextPlacementMatchesItsEquivalent)
{
    struct Case {
        const char* name;
        std::function<void(DrawingSurface&)> draw;
        std::function<void(DrawingSurface&)> equivalent;
    };
    const Case cases[] = {
        {"centred text starts half its width left of the reference",
         [](auto& s) {
             s.SetTextAlign(AlignCentreTop);
             s.DrawTextAt(60, 10, "8421");
         },
         [](auto& s) { s.DrawTextAt(60 - s.MeasureText("8421").width / 2, 10, "8421"); }},
        {"a fixed advance places each character",
         [](auto& s) { s.DrawTextInBox(10, 10, {}, 0, "842", 20); },
         [](auto& s) {
             s.DrawTextAt(10, 10, "8");
             s.DrawTextAt(30, 10, "4");
             s.DrawTextAt(50, 10, "2");
         }},
        {"centring with an advance uses the advanced width",
         [](auto& s) {
             s.SetTextAlign(AlignCentreTop);
             s.DrawTextInBox(60, 10, {}, 0, "84", 20);
         },
         [](auto& s) {
             s.DrawTextAt(40, 10, "8");
             s.DrawTextAt(60, 10, "4");
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RgbPicture drawn = DrawText(c.draw);
        const RgbPicture expected = DrawText(c.equivalent);
        EXPECT_EQ("", Mismatches(drawn, [&](int x, int y) { return expected.at(x, y); }));
        EXPECT_NE("", Mismatches(drawn, [](int, int) { return White; })) << "no ink at all";
    }
}

TEST(QPainterSurface, TextBoxFillsAndClips)
{
    const Colour yellow = MakeColour(255, 255, 0);
    const SurfaceRect box{20, 12, 40, 20};
    struct Case {
        const char* name;
        unsigned options;
        BackgroundMode mode;
        bool boxFilled;
        bool inkOutsideBox;
    };
    const Case cases[] = {
        {"opaque fills the box", TextBoxOpaque, BackgroundMode::Transparent, true, true},
        {"clipped keeps ink in the box", TextBoxClipped, BackgroundMode::Transparent, false, false},
        {"both", TextBoxOpaque | TextBoxClipped, BackgroundMode::Transparent, true, false},
        {"plain text in a transparent mode leaves the background", 0, BackgroundMode::Transparent,
         false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const RgbPicture picture = DrawText([&](DrawingSurface& s) {
            s.SetBackgroundMode(c.mode);
            s.SetBackgroundColour(yellow);
            s.DrawTextInBox(10, 13, box, c.options, "88888888", std::nullopt);
        });
        bool outside = false;
        for (int y = 0; y < picture.height; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                if (!Inside(x, y, box.left, box.top, box.right, box.bottom)
                    && picture.at(x, y) != White) {
                    outside = true;
                }
            }
        }
        EXPECT_EQ(c.inkOutsideBox, outside);
        // The box's top row lies above the text's cell.
        EXPECT_EQ(c.boxFilled ? 0xFFFF00U : White, picture.at(box.left, box.top));
    }
}

TEST(QPainterSurface, OpaqueModeFillsTheTextCell)
{
    const RgbPicture picture = DrawText([](DrawingSurface& s) {
        s.SetBackgroundMode(BackgroundMode::Opaque);
        s.SetBackgroundColour(MakeColour(0, 0, 255));
        s.DrawTextAt(10, 10, "-");
    });
    EXPECT_EQ(0x0000FFU, picture.at(10, 10));       // top left of the cell
    EXPECT_EQ(White, picture.at(10, 9));            // above it
    EXPECT_EQ(0x0000FFU, picture.at(10, 10 + 15));  // its last row
    EXPECT_EQ(White, picture.at(10, 10 + 16));      // below it
}

// The same document drawn on a picture and on the fake surface of the core
// tests gives the same bars and background above the digits.
TEST(QPainterSurface, DrawBarcodeMatchesTheFakeSurface)
{
    for (const int frame : {0, 1}) {
        SCOPED_TRACE(frame);
        test::Drawing d;
        d.doc.CodeText = "4901234567894";
        d.doc.Case = frame;
        ASSERT_EQ(1, EncodeNumber(d.doc.Encode(CodabarOptions{})));
        ImageSurface image(d.doc.Width, d.doc.Height);
        test::FakeSurface fake(d.doc.Width, d.doc.Height);
        d.Draw(image);
        d.Draw(fake);

        const RgbPicture picture = image.Picture();
        // The digit boxes begin half the text height (16) above the bars' end at 104.
        constexpr int digitsTop = 104 - 8;
        int barPixels = 0;
        std::string differ;
        for (int y = 0; y < digitsTop; ++y) {
            for (int x = 0; x < picture.width; ++x) {
                barPixels += picture.at(x, y) == 0 ? 1 : 0;
                if (picture.at(x, y) != fake.At(x, y) && differ.size() < 80) {
                    differ += "(" + std::to_string(x) + "," + std::to_string(y) + ") ";
                }
            }
        }
        EXPECT_EQ("", differ);
        EXPECT_GT(barPixels, 30 * 71);
        // The digits themselves were drawn below.
        bool ink = false;
        for (int y = digitsTop; y < 125; ++y) {
            for (int x = 28; x < 117; ++x) {
                ink = ink || picture.at(x, y) != White;
            }
        }
        EXPECT_TRUE(ink);
    }
}

}  // namespace
}  // namespace kestrel
