// The digits under a JAN symbol in the real font: every digit whole, inside
// its group's box, apart from its neighbours, not painted over by the box of
// the group drawn next, and every group on the baseline of the text's font.

#include "RenderTestSupport.h"

#include "render/QPainterSurface.h"
#include "render/RasterSurface.h"
#include "symbology/CodeValidator.h"
#include "symbology/Symbology.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>
#include <string>
#include <tuple>
#include <utility>
#include <vector>

namespace kestrel {
namespace {

struct Group {
    int x;
    int y;
    SurfaceRect box;
    std::string text;
    std::optional<int> advance;
    int fontHeight;
    int baseline;
};

// A picture that also notes where each digit group was drawn, in which font
// height, and the baseline of every text drawn.
class GroupRecorder : public ImageSurface {
public:
    using ImageSurface::ImageSurface;
    SavedFont SelectFont(const FontRequest& font) override
    {
        heights_.push_back(font.height);
        return ImageSurface::SelectFont(font);
    }
    void RestoreFont(SavedFont saved) override
    {
        heights_.resize(static_cast<std::size_t>(saved.depth));
        ImageSurface::RestoreFont(saved);
    }
    void DrawTextAt(int x, int y, std::string_view text) override
    {
        baselines.push_back(y + MeasureText(text).ascent);
        ImageSurface::DrawTextAt(x, y, text);
    }
    void DrawTextInBox(int x, int y, const SurfaceRect& box, unsigned options,
                       std::string_view text, std::optional<int> advance) override
    {
        const int baseline = y + MeasureText(text).ascent;
        baselines.push_back(baseline);
        groups.push_back({x, y, box, std::string(text), advance, heights_.back(), baseline});
        ImageSurface::DrawTextInBox(x, y, box, options, text, advance);
    }
    std::vector<Group> groups;
    std::vector<int> baselines;

private:
    std::vector<int> heights_{0};  // the surface's own font first
};

// Text and bars are grey on white: 0 is white, 255 black.
int Darkness(std::uint32_t pixel)
{
    return 255 - static_cast<int>(pixel & 0xFF);
}

// One digit of a group drawn by itself in the group's font at its place,
// read around its cell, and the columns it inks at least half (the faint
// edges of digits that touch may meet). The group is centred on its
// reference point, n characters at an advance a being n * a wide.
struct DigitInk {
    int left = 0;  // the picture's column and row of the window's first
    int top = 0;
    int width = 0;
    int height = 0;
    std::vector<int> darkness;  // the window's, row by row
    std::set<int> halfInked;

    int at(int column, int row) const
    {
        return darkness[static_cast<std::size_t>(row * width + column)];
    }
};

std::vector<DigitInk> DrawnAlone(const Group& group)
{
    const int n = static_cast<int>(group.text.size());
    const int margin = group.fontHeight / 2 + 2;
    std::vector<DigitInk> digits;
    for (int i = 0; i < n; ++i) {
        // At the same coordinates as in the picture: text drawn from
        // outlines may shade differently elsewhere.
        ImageSurface measure(1, 1);
        measure.SelectFont({BarcodeFontFace, group.fontHeight, FontCharset::Ansi, 400});
        const int x = group.advance ? group.x - n * *group.advance / 2 + i * *group.advance
                                    : group.x - measure.MeasureText(group.text).width / 2
                                          + measure.MeasureText(group.text.substr(0, i)).width;
        DigitInk digit{std::max(x - margin, 0), std::max(group.y - margin, 0), 0, 0, {}, {}};
        ImageSurface alone(x + group.fontHeight + margin, group.y + group.fontHeight + margin);
        alone.SelectFont({BarcodeFontFace, group.fontHeight, FontCharset::Ansi, 400});
        alone.DrawTextAt(x, group.y, group.text.substr(i, 1));
        const QImage& image = alone.Image();
        digit.width = image.width() - digit.left;
        digit.height = image.height() - digit.top;
        for (int row = 0; row < digit.height; ++row) {
            const auto* pixels = reinterpret_cast<const QRgb*>(
                image.constScanLine(digit.top + row));
            for (int column = 0; column < digit.width; ++column) {
                const int dark = Darkness(pixels[digit.left + column]);
                digit.darkness.push_back(dark);
                if (dark >= HalfInked) {
                    digit.halfInked.insert(digit.left + column);
                }
            }
        }
        digits.push_back(std::move(digit));
    }
    return digits;
}

// What goes wrong with digit `i`: ink outside the group's box or the
// picture, ink of the digit alone that the picture lacks, or more than one
// column that the next digit inks too (one: the two touch).
std::string DigitFault(const RgbPicture& picture, const Group& group,
                       const std::vector<DigitInk>& digits, std::size_t i)
{
    const DigitInk& digit = digits[i];
    const SurfaceRect& box = group.box;
    int ink = 0;
    for (int row = 0; row < digit.height; ++row) {
        for (int column = 0; column < digit.width; ++column) {
            const int x = digit.left + column;
            const int y = digit.top + row;
            const int dark = digit.at(column, row);
            if (dark == 0) {
                continue;
            }
            ++ink;
            if (x < box.left || x >= box.right || y < box.top || y >= box.bottom
                || x >= picture.width || box.bottom > picture.height) {
                return "ink outside its box at x " + std::to_string(x) + ", y " + std::to_string(y);
            }
            if (Darkness(picture.at(x, y)) < dark) {
                return "ink erased at x " + std::to_string(x) + ", y " + std::to_string(y);
            }
        }
    }
    if (i + 1 < digits.size()) {
        const std::set<int>& theirs = digits[i + 1].halfInked;
        const auto shared = std::count_if(theirs.begin(), theirs.end(),
                                          [&](int x) { return digit.halfInked.count(x) != 0; });
        if (shared > 1) {
            return std::to_string(shared) + " columns that the next digit inks too";
        }
    }
    return ink == 0 ? "no ink at all" : "";
}

// The sanitizer build, which looks for memory faults rather than for
// layout, takes every seventh height: a tenth of the time.
#if defined(__SANITIZE_ADDRESS__)
constexpr int HeightStep = 7;
#else
constexpr int HeightStep = 1;
#endif

TEST(JanDigits, EveryDigitIsWholeApartAndInsideItsBoxOnOneBaseline)
{
    // The crossbar of a 4 reaches the edge of its cell, and a row of them
    // is the widest group.
    const std::pair<int, std::string> texts[] = {
        {Jan13, "4901234567894"}, {Jan13, "4444444444444"}, {Jan8, "49012347"}, {Jan8, "44444464"}};
    int shrunk = 0;
    for (int narrow = 1; narrow <= 4; ++narrow) {
        for (int codeHigh = 10; codeHigh <= 200; codeHigh += HeightStep) {
            // Each text at every fourth height: every height at every width.
            const auto& [codeType, text] = texts[(codeHigh + narrow) % 4];
            SCOPED_TRACE(text + ", narrow " + std::to_string(narrow) + ", height "
                         + std::to_string(codeHigh));
            test::Drawing d;
            d.doc.CodeType = codeType;
            d.doc.CodeText = text;
            d.doc.NWidth = narrow;
            d.doc.CodeHigh = codeHigh;
            // Room below the bars for the whole cell of the tallest text.
            d.doc.Ymargin = codeHigh;
            d.doc.Height = 3 * codeHigh + 40;
            ASSERT_EQ(1, EncodeNumber(d.doc.Encode(CodabarOptions{})));
            GroupRecorder surface(2 * d.doc.Xmargin + 95 * narrow, d.doc.Height);
            d.Draw(surface);
            const RgbPicture picture = surface.Picture();
            ASSERT_EQ(2U, surface.groups.size());
            const int baseline = surface.baselines.front();
            EXPECT_TRUE(std::all_of(surface.baselines.begin(), surface.baselines.end(), [&](int b) {
                return b == baseline;
            })) << "the digits stand on different baselines";
            for (const Group& group : surface.groups) {
                shrunk += group.fontHeight < codeHigh;
                EXPECT_LE(group.fontHeight, codeHigh);
                const std::vector<DigitInk> digits = DrawnAlone(group);
                for (std::size_t i = 0; i < digits.size(); ++i) {
                    EXPECT_EQ("", DigitFault(picture, group, digits, i))
                        << "digit " << i << " of " << group.text << " at height "
                        << group.fontHeight;
                }
            }
        }
    }
    // The range reaches heights the boxes cannot hold side by side.
    EXPECT_GT(shrunk, 0);
}

// Where the digits fit their box at the text's height, they keep it: the
// default geometry among them.
TEST(JanDigits, GroupsThatFitKeepTheTextsHeight)
{
    const std::tuple<int, std::string, int, int> cases[] = {
        {Jan13, "4901234567894", 1, 16},
        {Jan8, "49012347", 1, 16},
        {Jan13, "4901234567894", 2, 30},
        {Jan13, "4901234567894", 4, 60},
    };
    for (const auto& [codeType, text, narrow, codeHigh] : cases) {
        SCOPED_TRACE(text + ", narrow " + std::to_string(narrow));
        test::Drawing d;
        d.doc.CodeType = codeType;
        d.doc.CodeText = text;
        d.doc.NWidth = narrow;
        d.doc.CodeHigh = codeHigh;
        ASSERT_EQ(1, EncodeNumber(d.doc.Encode(CodabarOptions{})));
        GroupRecorder surface(2 * d.doc.Xmargin + 95 * narrow, d.doc.Height);
        d.Draw(surface);
        for (const Group& group : surface.groups) {
            EXPECT_EQ(codeHigh, group.fontHeight) << group.text;
        }
    }
}

}  // namespace
}  // namespace kestrel
