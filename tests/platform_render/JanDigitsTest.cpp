// The digits under a JAN symbol in the real font: every digit whole, inside
// its group's box, and not painted over by the box of the group drawn next.

#include "RenderTestSupport.h"

#include "render/QPainterSurface.h"
#include "symbology/CodeValidator.h"
#include "symbology/Symbology.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace kestrel {
namespace {

struct Group {
    int x;
    int y;
    SurfaceRect box;
    std::string text;
    std::optional<int> advance;
};

// A picture that also notes where each digit group was drawn.
class GroupRecorder : public ImageSurface {
public:
    using ImageSurface::ImageSurface;
    void DrawTextInBox(int x, int y, const SurfaceRect& box, unsigned options,
                       std::string_view text, std::optional<int> advance) override
    {
        groups.push_back({x, y, box, std::string(text), advance});
        ImageSurface::DrawTextInBox(x, y, box, options, text, advance);
    }
    std::vector<Group> groups;
};

// What goes wrong with digit `i` of a group: ink outside the group's box, or
// ink of the digit drawn alone that the picture lacks. The group is centred
// on its reference point, n characters at an advance a being n * a wide.
std::string DigitFault(const RgbPicture& picture, const Group& group, int i, int codeHigh)
{
    ImageSurface alone(picture.width, picture.height);
    alone.SelectFont({BarcodeFontFace, codeHigh, FontCharset::Ansi, 400});
    const int n = static_cast<int>(group.text.size());
    const int x = group.advance ? group.x - n * *group.advance / 2 + i * *group.advance
                                : group.x - alone.MeasureText(group.text).width / 2
                                      + alone.MeasureText(group.text.substr(0, i)).width;
    alone.DrawTextAt(x, group.y, group.text.substr(i, 1));
    const RgbPicture digit = alone.Picture();
    // Text and bars are grey on white: 0 is white, 255 black.
    const auto darkness = [](std::uint32_t pixel) { return 255 - static_cast<int>(pixel & 0xFF); };
    const SurfaceRect& box = group.box;
    int ink = 0;
    for (int y = 0; y < digit.height; ++y) {
        for (int column = 0; column < digit.width; ++column) {
            const int dark = darkness(digit.at(column, y));
            const bool outside = column < box.left || column >= box.right || y < box.top
                                 || y >= box.bottom;
            ink += dark > 0;
            if (dark > 0 && (darkness(picture.at(column, y)) < dark || outside)) {
                return (outside ? "ink outside its box at x " : "ink erased at x ")
                       + std::to_string(column);
            }
        }
    }
    return ink == 0 ? "no ink at all" : "";
}

TEST(JanDigits, EveryDigitIsWholeAndInsideItsBox)
{
    struct Case {
        int codeType;
        std::string text;
    };
    // The crossbar of a 4 reaches the edge of its cell.
    const Case cases[] = {
        {Jan13, "4901234567894"}, {Jan13, "4444444444444"}, {Jan8, "49012347"}, {Jan8, "44444464"}};
    for (const Case& c : cases) {
        for (int narrow = 1; narrow <= 4; ++narrow) {
            for (int codeHigh = 10; codeHigh <= 40; ++codeHigh) {
                SCOPED_TRACE(c.text + ", narrow " + std::to_string(narrow) + ", height "
                             + std::to_string(codeHigh));
                test::Drawing d;
                d.doc.CodeType = c.codeType;
                d.doc.CodeText = c.text;
                d.doc.NWidth = narrow;
                d.doc.CodeHigh = codeHigh;
                ASSERT_EQ(1, EncodeNumber(d.doc.Encode(CodabarOptions{})));
                GroupRecorder surface(2 * d.doc.Xmargin + 95 * narrow, d.doc.Height);
                d.Draw(surface);
                const RgbPicture picture = surface.Picture();
                ASSERT_EQ(2U, surface.groups.size());
                for (const Group& group : surface.groups) {
                    for (int i = 0; i < static_cast<int>(group.text.size()); ++i) {
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
