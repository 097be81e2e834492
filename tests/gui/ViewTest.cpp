#include "render/BarCodeView.h"

#include "ViewTestSupport.h"
#include "document/StoredStyle.h"

#include <QScrollBar>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace kestrel {
namespace {

using testing::BoundaryRed;
using testing::TestDocument;
using testing::ToRgb;

// The viewport as the user sees it; the view's size leaves room around the
// picture unless the test asks for less.
QImage Screen(CBarCodeView& view)
{
    view.show();
    return view.viewport()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// On the boundary lines a pixel is either the pen's red or what lies under.
bool OnBoundary(int x, int y, int width, int height)
{
    const bool alongX = (y == 0 || y == height) && x >= 0 && x <= width;
    const bool alongY = (x == 0 || x == width) && y >= 0 && y <= height;
    return alongX || alongY;
}

struct ViewCase {
    const char* name;
    const char* codeText;
    int width;
    int height;
    Colour background;
};

const ViewCase ViewCases[] = {
    {"default picture, white", "4901234567894", 300, 150, 0xFFFFFF},
    {"coloured background beyond the picture", "4901234567894", 300, 150, MakeColour(0, 128, 255)},
    {"small picture, bars cut at the edge", "4901234567894", 90, 40, MakeColour(255, 255, 0)},
};

TEST(ViewPaint, EqualsDrawBarcodeInsideAndBackgroundBeyond)
{
    for (const ViewCase& row : ViewCases) {
        SCOPED_TRACE(row.name);
        TestDocument document("/usr/bin/kestrel", row.codeText);
        document.doc.Width = row.width;
        document.doc.Height = row.height;
        document.SetBackground(row.background);
        const QImage expected = document.Expected();

        CBarCodeView view(document.doc, document.profile);
        view.resize(row.width + 120, row.height + 90);
        const QImage screen = Screen(view);
        ASSERT_GT(screen.width(), row.width + 50);
        ASSERT_GT(screen.height(), row.height + 50);
        // Beyond the picture the screen shows what DrawBarcode gives on a
        // surface as large as the visible area: the background, and bars
        // that run past Width, which the boundary marks as left out.
        ImageSurface visible(screen.width(), screen.height());
        DrawBarcode(ReadDrawing(document.doc, document.profile), visible);
        const QImage beyond = visible.Image().convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(beyond.pixel(screen.width() - 1, screen.height() - 1), ToRgb(row.background));

        int mismatches = 0;
        for (int y = 0; y < screen.height(); ++y) {
            for (int x = 0; x < screen.width(); ++x) {
                const QRgb under = x < row.width && y < row.height ? expected.pixel(x, y)
                                                                   : beyond.pixel(x, y);
                const QRgb seen = screen.pixel(x, y);
                const bool ok = OnBoundary(x, y, row.width, row.height)
                                    ? seen == under || seen == BoundaryRed
                                    : seen == under;
                if (!ok && ++mismatches <= 5) {
                    ADD_FAILURE() << "pixel " << x << "," << y << " is " << std::hex << seen
                                  << ", expected " << under;
                }
            }
        }
        EXPECT_EQ(mismatches, 0);
    }
}

// Each of the four edges shows the dash-dot pen: red and gaps, on the lines
// x = 0, y = 0, x = Width and y = Height.
TEST(ViewPaint, BoundaryIsRedDashDotOnAllFourEdges)
{
    TestDocument document;
    document.SetBackground(MakeColour(0, 128, 0));  // no red in it
    const int w = document.doc.Width;
    const int h = document.doc.Height;
    CBarCodeView view(document.doc, document.profile);
    view.resize(w + 100, h + 100);
    const QImage screen = Screen(view);

    struct Edge {
        const char* name;
        bool horizontal;
        int at;
    };
    for (const Edge edge : {Edge{"top", true, 0}, Edge{"bottom", true, h}, Edge{"left", false, 0},
                            Edge{"right", false, w}}) {
        SCOPED_TRACE(edge.name);
        const int length = edge.horizontal ? w : h;
        int red = 0;
        for (int i = 1; i < length; ++i) {
            const QRgb pixel = edge.horizontal ? screen.pixel(i, edge.at)
                                               : screen.pixel(edge.at, i);
            red += pixel == BoundaryRed;
        }
        EXPECT_GT(red, length / 3);  // mostly drawn...
        EXPECT_LT(red, length - 5);  // ...with gaps
    }
}

// Scrolled, the picture moves with the scroll bars and the background fill
// still covers everything visible.
TEST(ViewPaint, ScrolledViewShowsTheMatchingPartOfThePicture)
{
    TestDocument document;
    document.SetBackground(MakeColour(255, 240, 200));
    const QImage expected = document.Expected();
    const int w = document.doc.Width;
    const int h = document.doc.Height;
    CBarCodeView view(document.doc, document.profile);
    view.resize(160, 110);
    view.show();
    view.horizontalScrollBar()->setValue(70);
    view.verticalScrollBar()->setValue(25);
    const int dx = view.horizontalScrollBar()->value();
    const int dy = view.verticalScrollBar()->value();
    ASSERT_EQ(dx, 70);
    ASSERT_EQ(dy, 25);
    const QImage screen = Screen(view);

    int mismatches = 0;
    for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            const int px = x + dx;
            const int py = y + dy;
            if (OnBoundary(px, py, w, h)) {
                continue;
            }
            const QRgb under = px < w && py < h ? expected.pixel(px, py)
                                                : ToRgb(MakeColour(255, 240, 200));
            if (screen.pixel(x, y) != under && ++mismatches <= 5) {
                ADD_FAILURE() << "pixel " << x << "," << y;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
}

// Without code text the window's own background shows, with the boundary.
TEST(ViewPaint, EmptyCodeTextDrawsNoPicture)
{
    TestDocument document("/usr/bin/kestrel", "");
    document.SetBackground(MakeColour(0, 200, 0));
    CBarCodeView view(document.doc, document.profile);
    view.resize(400, 250);
    const QImage screen = Screen(view);
    const QRgb window = view.viewport()->palette().color(view.viewport()->backgroundRole()).rgb();
    ASSERT_NE(window, ToRgb(MakeColour(0, 200, 0)));

    int others = 0;
    for (int y = 0; y < screen.height(); ++y) {
        for (int x = 0; x < screen.width(); ++x) {
            others += screen.pixel(x, y) != window;
        }
    }
    EXPECT_EQ(others, 0) << "no background, bars or boundary without data";
}

TEST(ViewUpdate, TakesTheNewSizeRepaintsAndTellsTheCommands)
{
    TestDocument document;
    CBarCodeView view(document.doc, document.profile);
    view.resize(250, 200);
    view.show();
    ASSERT_EQ(view.widget()->size(), QSize(300, 150));
    QSignalSpy updated(&view, &CBarCodeView::Updated);

    document.doc.Width = 520;
    document.doc.Height = 90;
    view.OnUpdate();

    EXPECT_EQ(updated.count(), 1);
    EXPECT_EQ(view.widget()->size(), QSize(520, 90));
    EXPECT_EQ(view.horizontalScrollBar()->maximum(), 520 - view.viewport()->width());
    // The picture is anchored at the top-left, not centred.
    EXPECT_EQ(view.widget()->pos(), QPoint(0, 0));
    // The bottom boundary follows: now at y = 90.
    const QImage screen = Screen(view);
    int red = 0;
    for (int x = 1; x < screen.width(); ++x) {
        red += screen.pixel(x, 90) == BoundaryRed;
    }
    EXPECT_GT(red, 50);
}

}  // namespace
}  // namespace kestrel
