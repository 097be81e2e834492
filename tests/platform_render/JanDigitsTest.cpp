// The digits under a JAN symbol, as a reader sees them in the real font:
// every digit whole, inside the box of its group, and not painted over by
// the box of the group drawn after it.

#include "RenderTestSupport.h"

#include "render/QPainterSurface.h"
#include "symbology/Symbology.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel {
namespace {

// A picture that also notes where each digit group was drawn.
class GroupRecorder : public ImageSurface {
public:
    struct Group {
        int x;
        int y;
        SurfaceRect box;
        std::string text;
        std::optional<int> advance;
    };

    using ImageSurface::ImageSurface;

    void DrawTextInBox(int x, int y, const SurfaceRect& box, unsigned options,
                       std::string_view text, std::optional<int> advance) override
    {
        groups.push_back({x, y, box, std::string(text), advance});
        ImageSurface::DrawTextInBox(x, y, box, options, text, advance);
    }

    std::vector<Group> groups;
};

// Text and bars are grey on white: 0 is white, 255 black.
int Darkness(std::uint32_t pixel) { return 255 - static_cast<int>(pixel & 0xFF); }

// What goes wrong with one digit of a group in `picture`: ink outside the
// group's box, or ink of the digit drawn alone that the picture lacks. The
// digit alone is drawn where the group put it: the group is centred on its
// reference point, n characters at an advance a being n * a wide.
std::string DigitFault(const RgbPicture& picture, const GroupRecorder::Group& group,
                       std::size_t index, int codeHigh)
{
    ImageSurface alone(picture.width, picture.height);
    alone.SelectFont({BarcodeFontFace, codeHigh, FontCharset::Ansi, 400});
    const int n = static_cast<int>(group.text.size());
    const int i = static_cast<int>(index);
    const int x = group.advance ? group.x - n * *group.advance / 2 + i * *group.advance
                                : group.x - alone.MeasureText(group.text).width / 2
                                      + alone.MeasureText(group.text.substr(0, index)).width;
    alone.DrawTextAt(x, group.y, group.text.substr(index, 1));
    const RgbPicture digit = alone.Picture();

    int ink = 0;
    for (int y = 0; y < digit.height; ++y) {
        for (int column = 0; column < digit.width; ++column) {
            const int dark = Darkness(digit.at(column, y));
            if (dark == 0) {
                continue;
            }
            ++ink;
            const SurfaceRect& box = group.box;
            const std::string where = " at x " + std::to_string(column);
            if (Darkness(picture.at(column, y)) < dark) {
                return "ink erased" + where;
            }
            if (column < box.left || column >= box.right || y < box.top || y >= box.bottom) {
                return "ink outside its box" + where;
            }
        }
    }
    return ink == 0 ? "no ink at all" : "";
}

TEST(JanDigits, EveryDigitIsWholeAndInsideItsBox)
{
    struct Case {
        const char* name;
        int codeType;
        std::string text;
    };
    const Case cases[] = {
        {"JAN-13", Jan13, "4901234567894"},
        // The crossbar of a 4 reaches the edge of its cell.
        {"JAN-13 of fours", Jan13, "4444444444444"},
        {"JAN-8", Jan8, "49012347"},
        {"JAN-8 of fours", Jan8, "44444464"},
    };
    for (const Case& c : cases) {
        for (int narrow = 1; narrow <= 4; ++narrow) {
            for (int codeHigh = 10; codeHigh <= 40; ++codeHigh) {
                SCOPED_TRACE(std::string(c.name) + ", narrow " + std::to_string(narrow)
                             + ", height " + std::to_string(codeHigh));
                test::Drawing d;
                d.doc.CodeType = c.codeType;
                d.doc.CodeText = c.text;
                d.doc.NWidth = narrow;
                d.doc.CodeHigh = codeHigh;
                ASSERT_EQ(1, d.doc.Encode());
                GroupRecorder surface(2 * d.doc.Xmargin + 95 * narrow, d.doc.Height);
                d.Draw(surface);
                const RgbPicture picture = surface.Picture();

                ASSERT_EQ(2U, surface.groups.size());
                for (const GroupRecorder::Group& group : surface.groups) {
                    for (std::size_t i = 0; i < group.text.size(); ++i) {
                        EXPECT_EQ("", DigitFault(picture, group, i, codeHigh))
                            << "digit " << i << " of " << group.text;
                    }
                }
            }
        }
    }
}

}  // namespace
}  // namespace kestrel
