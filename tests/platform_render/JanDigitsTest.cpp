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

// Where digit `i` of a group lies alone: its ink, drawn by itself in the
// group's font at its place. The group is centred on its reference point,
// n characters at an advance a being n * a wide.
struct DigitInk {
    int left = 0;  // the picture's column of the image's first
    RgbPicture image;
};

DigitInk DrawnAlone(const RgbPicture& picture, const Group& group, int i)
{
    const int n = static_cast<int>(group.text.size());
    const int margin = group.fontHeight;
    ImageSurface alone(2 * margin + group.fontHeight, picture.height);
    alone.SelectFont({BarcodeFontFace, group.fontHeight, FontCharset::Ansi, 400});
    const int x = group.advance ? group.x - n * *group.advance / 2 + i * *group.advance
                                : group.x - alone.MeasureText(group.text).width / 2
                                      + alone.MeasureText(group.text.substr(0, i)).width;
    alone.DrawTextAt(margin, group.y, group.text.substr(i, 1));
    return {x - margin, alone.Picture()};
}

// Text and bars are grey on white: 0 is white, 255 black.
int Darkness(std::uint32_t pixel)
{
    return 255 - static_cast<int>(pixel & 0xFF);
}

// What goes wrong with digit `i`: ink outside the group's box or the
// picture, ink of the digit alone that the picture lacks, or more than one
// column that the next digit inks too (one: the two touch).
std::string DigitFault(const RgbPicture& picture, const Group& group, int i)
{
    const DigitInk digit = DrawnAlone(picture, group, i);
    const bool hasNext = i + 1 < static_cast<int>(group.text.size());
    const DigitInk next = hasNext ? DrawnAlone(picture, group, i + 1) : DigitInk{};
    const SurfaceRect& box = group.box;
    // Columns at least half inked in some row: the faint edges of digits
    // that touch may meet.
    const auto halfInked = [](const DigitInk& d) {
        std::set<int> columns;
        for (int y = 0; y < d.image.height; ++y) {
            for (int column = 0; column < d.image.width; ++column) {
                if (Darkness(d.image.at(column, y)) >= HalfInked) {
                    columns.insert(d.left + column);
                }
            }
        }
        return columns;
    };
    int ink = 0;
    for (int y = 0; y < digit.image.height; ++y) {
        for (int column = 0; column < digit.image.width; ++column) {
            const int x = digit.left + column;
            const int dark = Darkness(digit.image.at(column, y));
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
    if (hasNext) {
        const std::set<int> mine = halfInked(digit);
        const std::set<int> theirs = halfInked(next);
        const auto shared = std::count_if(theirs.begin(), theirs.end(),
                                          [&](int x) { return mine.count(x) != 0; });
        if (shared > 1) {
            return std::to_string(shared) + " columns that the next digit inks too";
        }
    }
    return ink == 0 ? "no ink at all" : "";
}

TEST(JanDigits, EveryDigitIsWholeApartAndInsideItsBoxOnOneBaseline)
{
    // The crossbar of a 4 reaches the edge of its cell, and a row of them
    // is the widest group.
    const std::pair<int, std::string> texts[] = {
        {Jan13, "4901234567894"}, {Jan13, "4444444444444"}, {Jan8, "49012347"}, {Jan8, "44444464"}};
    int shrunk = 0;
    for (int narrow = 1; narrow <= 4; ++narrow) {
        for (int codeHigh = 10; codeHigh <= 200; ++codeHigh) {
            // Each text at every fourth height: every height at every
            // width, in a time the sanitizer build can afford.
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
                for (int i = 0; i < static_cast<int>(group.text.size()); ++i) {
                    EXPECT_EQ("", DigitFault(picture, group, i))
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
