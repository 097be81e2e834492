// Where the background, bars and bearer frame land, read back from the
// fake surface's pixels.

#include "RenderTestSupport.h"

#include "symbology/Symbology.h"

#include <gtest/gtest.h>

#include <chrono>
#include <climits>
#include <set>

namespace kestrel::test {
namespace {

constexpr Colour Back = 0x00FF00;
constexpr Colour Bar = 0x0000FF;

// Bars of the sequence {15, -3, 2, -1, 4, -2} after the default 25-pixel
// left margin.
const std::set<int> SampleBarColumns{40, 41, 42, 45, 50, 51};

void UseSample(Drawing& d)
{
    d.doc.CodeType = Code39;
    d.doc.CodeText = "ABC";
    d.SetElements({15, -3, 2, -1, 4, -2});
    d.profile.WriteProfileInt("Code", "BackColor", static_cast<int>(Back));
    d.profile.WriteProfileInt("Code", "BarColor", static_cast<int>(Bar));
}

struct BarRowsCase {
    const char* name;
    int height;
    int ymargin;
    int dispCode;
    int firstRow;  // bar rows, inclusive; none when lastRow < firstRow
    int lastRow;
};

TEST(DrawBarcodeBars, RowsFollowHeightMarginAndText)
{
    const BarRowsCase cases[] = {
        {"default geometry leaves 21 rows for text", 150, 25, 1, 25, 103},
        {"without text, down to the bottom margin", 150, 25, 0, 25, 124},
        {"margins taller than the picture: whole height", 20, 25, 0, 0, 19},
        // The bottom falls above the top: lines run upward from row 25.
        {"text room pushes the bottom above the top", 30, 25, 1, 0, 25},
        {"margins meet: nothing", 50, 25, 0, 0, -1},
        {"no margins", 40, 0, 0, 0, 39},
        {"a margin as tall as the picture: whole height", 40, 40, 0, 0, 39},
        {"a margin as tall as the picture, with text", 40, 40, 1, 0, 18},
        {"a margin one short of the picture: lines run up from it", 40, 39, 0, 2, 39},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Drawing d;
        UseSample(d);
        d.doc.Height = c.height;
        d.doc.Ymargin = c.ymargin;
        d.doc.DispCode = c.dispCode;
        FakeSurface surface(80, c.height);
        d.Draw(surface);
        EXPECT_EQ("", Mismatches(surface, [&](int x, int y) {
                      const bool bar = SampleBarColumns.count(x) != 0 && y >= c.firstRow
                                       && y <= c.lastRow;
                      return bar ? Bar : Back;
                  }));
    }
}

TEST(DrawBarcodeBars, StayInsideTheClipBox)
{
    Drawing d;
    UseSample(d);
    FakeSurface surface(80, 150, {41, 30, 60, 90});
    d.Draw(surface);
    EXPECT_EQ("", Mismatches(surface, [](int x, int y) {
                  if (x < 41 || x >= 60 || y < 30 || y >= 90) {
                      return FakeSurface::Blank;
                  }
                  return SampleBarColumns.count(x) != 0 ? Bar : Back;
              }));
}

struct FrameCase {
    const char* name;
    int codeType;
    int narrowWidth;
    int storedWidth;  // -1: nothing stored
    int frameCase;
    int thickness;  // 0: no frame
    int top;        // rows the bearers span: ITF the bars', JAN the picture's
    int bottom;
};

TEST(DrawBarcodeFrame, BearersByTypeAndWidth)
{
    // Bars {-2, 3, -2} from x = 25 end at 32; the frame's right edge is one
    // more margin away, at 57. Without text, ITF bars run over rows 25..124.
    constexpr int right = 57;
    const FrameCase cases[] = {
        {"ITF defaults to six narrow widths", Itf, 2, -1, 1, 12, 25, 125},
        {"ITF stored width", Itf, 1, 3, 1, 3, 25, 125},
        {"ITF without Case", Itf, 2, -1, 0, 0, 0, 0},
        {"JAN-13 frames the whole picture", Jan13, 1, -1, 1, 6, 0, 150},
        {"JAN-8 stored width", Jan8, 1, 2, 1, 2, 0, 150},
        {"JAN width 0 draws no frame", Jan13, 1, 0, 1, 0, 0, 0},
        {"JAN negative width draws no frame", Jan8, 1, -4, 1, 0, 0, 0},
        {"Code 39 has no frame", Code39, 1, -1, 1, 0, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Drawing d;
        d.doc.CodeType = c.codeType;
        d.doc.CodeText = "1234";
        d.doc.NWidth = c.narrowWidth;
        d.doc.Case = c.frameCase;
        d.doc.DispCode = 0;
        d.SetElements({-2, 3, -2});
        d.profile.WriteProfileInt("Code", "BarColor", static_cast<int>(Bar));
        if (c.storedWidth != -1) {
            d.profile.WriteProfileInt(c.codeType == Itf ? "ITF" : "JAN", "CaseWidth",
                                      c.storedWidth);
        }
        FakeSurface surface(right + 10, 150);
        d.Draw(surface);

        const int n = c.thickness;
        EXPECT_EQ("", Mismatches(surface, [&](int x, int y) {
                      const bool bar = (x == 25 || x == 26 || x == 30 || x == 31) && y >= 25
                                       && y < 125;
                      const bool side = y >= c.top && y < c.bottom
                                        && (x < n || (x > right - n && x <= right));
                      const bool across = x >= 0 && x < right
                                          && ((y >= c.top && y < c.top + n)
                                              || (y > c.bottom - n && y <= c.bottom));
                      return bar || side || across ? Bar : Colour{0xFFFFFF};
                  }));
    }
}

struct ExtremeCase {
    const char* name;
    int xmargin;
    int ymargin;
    int height;
    int narrowWidth;
    int count;  // elements, all of `element`
    int element;
};

// Values typed into a dialog or left in a profile must neither overflow nor
// turn into billions of drawing calls.
TEST(DrawBarcodeRobustness, ExtremeGeometryStaysCheapAndRestoresState)
{
    const ExtremeCase cases[] = {
        {"huge bar", 0, 0, 100, 1, 1, -2000000000},
        {"many huge elements", INT_MAX, INT_MIN, INT_MAX, INT_MAX, 512, INT_MIN},
        {"negative everything", INT_MIN, INT_MAX, INT_MIN, INT_MIN, 512, -2000000000},
        {"huge spaces, count past the sequence", INT_MAX, 0, INT_MAX, 1, INT_MAX, INT_MAX},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Drawing d;
        d.doc.CodeType = Itf;
        d.doc.CodeText = "12345678901234";
        d.doc.Xmargin = c.xmargin;
        d.doc.Ymargin = c.ymargin;
        d.doc.Height = c.height;
        d.doc.NWidth = c.narrowWidth;
        d.doc.Case = 1;
        d.doc.CodeHigh = INT_MAX;
        d.doc.ModuleSequence.count = c.count;
        d.doc.ModuleSequence.elements.fill(c.element);
        d.profile.WriteProfileInt("ITF", "CaseWidth", INT_MAX);
        FakeSurface surface(100, 100);

        const auto start = std::chrono::steady_clock::now();
        d.Draw(surface);
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
        EXPECT_LT(surface.Calls().size(), 40U);
        EXPECT_EQ(0, surface.BadRestores());
        EXPECT_EQ(1U, surface.Pens().size());
        EXPECT_EQ(1U, surface.Fonts().size());
    }
}

TEST(DrawBarcodeRobustness, HugeBarFromTheLeftEdgeCoversTheSurface)
{
    Drawing d;
    d.doc.CodeType = Code39;
    d.doc.CodeText = "A";
    d.doc.Xmargin = 0;
    d.doc.DispCode = 0;
    d.SetElements({-2000000000, 5, -2000000000});
    FakeSurface surface(100, 150);
    d.Draw(surface);
    EXPECT_EQ(Colour{0}, surface.At(0, 25));
    EXPECT_EQ(Colour{0}, surface.At(99, 124));
    EXPECT_EQ(Colour{0xFFFFFF}, surface.At(99, 125));
}

TEST(DrawBarcodeBackground, EmptyCodeTextLeavesTheSurfaceUntouched)
{
    Drawing d;
    d.SetElements({-3, 1, -3});
    d.profile.WriteProfileString("Comment", "String1", "note");
    FakeSurface surface(50, 50);
    d.Draw(surface);
    EXPECT_TRUE(surface.Calls().empty());
}

}  // namespace
}  // namespace kestrel::test
