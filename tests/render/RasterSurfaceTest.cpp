// The raster surface fills rows in groups and keeps its colour counts as it
// draws; both must agree with the plain picture: every pixel as a fill one
// pixel at a time gives it, and every count as a pass over the pixels gives.

#include "render/RasterSurface.h"
#include "bitmap/Palette.h"
#include "picture/PixelTally.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <random>
#include <vector>

namespace kestrel {
namespace {

std::vector<PixelCount> Recount(const RgbPicture& picture)
{
    PixelTally tally;
    tally.AddRow(picture.pixels.data(), picture.pixels.size(), 1);
    return tally.Counts();
}

// Seeded fills and lines, some outside the picture, some over the whole of
// it, against a picture filled pixel by pixel.
TEST(RasterSurface, FillsGiveThePixelsAndCountsOfAPlainPicture)
{
    struct Case {
        int width;
        int height;
        unsigned seed;
        int fills;
        int colours;
    };
    const Case cases[] = {
        {300, 150, 1, 40, 2}, {300, 150, 2, 200, 3}, {7, 9, 3, 60, 5},
        {1, 1, 4, 5, 2},      {64, 300, 5, 120, 17}, {513, 3, 6, 80, 257},
    };
    for (const Case& c : cases) {
        std::mt19937 random(c.seed);
        const auto pick = [&](int from, int to) {
            return std::uniform_int_distribution<int>(from, to)(random);
        };
        RasterSurface surface(c.width, c.height);
        std::vector<std::uint32_t> model(static_cast<std::size_t>(c.width) * c.height, 0xFFFFFF);
        for (int i = 0; i < c.fills; ++i) {
            const Colour colour = MakeColour(pick(0, c.colours - 1), 40, pick(0, 1) * 255);
            SurfaceRect rect{pick(-3, c.width), pick(-3, c.height), 0, 0};
            rect.right = rect.left + pick(0, c.width + 3);
            rect.bottom = rect.top + pick(0, c.height / (i % 3 == 0 ? 1 : 8) + 1);
            if (i % 5 == 4) {
                surface.SelectPen(colour);
                surface.DrawLine(rect.left, rect.top, rect.left, rect.bottom);
                rect.right = rect.left + 1;
            } else {
                surface.FillSolidRect(rect, colour);
            }
            for (int y = std::max(rect.top, 0); y < std::min(rect.bottom, c.height); ++y) {
                for (int x = std::max(rect.left, 0); x < std::min(rect.right, c.width); ++x) {
                    model[static_cast<std::size_t>(y) * c.width + x] = PixelOf(colour);
                }
            }
        }
        const std::vector<PixelCount> counts = surface.Colours();
        const RgbPicture picture = surface.Picture();
        ASSERT_EQ(picture.pixels, model) << "seed " << c.seed;
        EXPECT_EQ(counts, Recount(picture)) << "seed " << c.seed;
        const std::vector<std::uint32_t>& numbers = surface.RowNumbers();
        for (int y = 1; y < c.height; ++y) {
            if (numbers[y] == numbers[y - 1]) {
                EXPECT_TRUE(std::equal(model.begin() + (y - 1) * c.width,
                                       model.begin() + y * c.width, model.begin() + y * c.width))
                    << "rows " << y - 1 << " and " << y << " share a number, seed " << c.seed;
            }
        }
        surface.Restart();
        EXPECT_EQ(surface.Colours(),
                  (std::vector<PixelCount>{{0xFFFFFF, std::uint64_t(c.width) * c.height}}));
    }
}

// The palette of the counts is the palette of a pass over the pixels,
// around the sizes where the palette and the small tally fill up.
TEST(RasterSurface, PaletteFromItsCountsIsThePicturesPalette)
{
    for (const int colours : {1, 2, 16, 17, 256, 257, 600}) {
        RasterSurface surface(700, 40);
        for (int i = 0; i < colours; ++i) {
            // Stripes of different widths, so the counts are not all equal.
            surface.FillSolidRect({i, 0, i + 1, 1 + i % 40},
                                  MakeColour(i * 7 % 256, i / 3 % 256, i % 5 * 50));
        }
        const std::vector<PixelCount> counts = surface.Colours();
        EXPECT_EQ(MakeFrequencyPalette(counts), MakeFrequencyPalette(surface.Picture()))
            << colours << " colours";
    }
}

// Fills over rows of one kind leave the rows below the first unwritten until
// they are read; reading in between, tall and short fills cutting across
// such stretches at either end, must not tell. Every two rows of one number,
// however far apart, are equal: read-outs copy by number.
TEST(RasterSurface, ReadsBetweenFillsSeeThePictureAsFilled)
{
    struct Case {
        int width;
        int height;
        unsigned seed;
        int fills;
        int readEvery;  // Picture() after every this many fills
    };
    const Case cases[] = {
        {300, 150, 11, 60, 7}, {5, 40, 12, 120, 3},  {9, 2, 13, 30, 2},
        {1, 64, 14, 80, 5},    {64, 300, 15, 90, 1}, {40, 1, 16, 20, 4},
    };
    for (const Case& c : cases) {
        std::mt19937 random(c.seed);
        const auto pick = [&](int from, int to) {
            return std::uniform_int_distribution<int>(from, to)(random);
        };
        RasterSurface surface(c.width, c.height);
        std::vector<std::uint32_t> model(static_cast<std::size_t>(c.width) * c.height, 0xFFFFFF);
        for (int i = 1; i <= c.fills; ++i) {
            // Mostly tall stripes, as bars are, some whole-width bands.
            const bool band = i % 4 == 0;
            const int left = band ? 0 : pick(-1, c.width - 1);
            const int right = band ? c.width : left + pick(1, 4);
            const int top = pick(-2, c.height - 1);
            const int bottom = top + pick(1, band ? 3 : c.height + 2);
            const Colour colour = MakeColour(pick(0, 2) * 100, 0, 0);
            surface.FillSolidRect({left, top, right, bottom}, colour);
            for (int y = std::max(top, 0); y < std::min(bottom, c.height); ++y) {
                for (int x = std::max(left, 0); x < std::min(right, c.width); ++x) {
                    model[static_cast<std::size_t>(y) * c.width + x] = PixelOf(colour);
                }
            }
            if (i % c.readEvery != 0 && i != c.fills) {
                continue;
            }
            const RgbPicture picture = surface.Picture();
            ASSERT_EQ(picture.pixels, model) << "seed " << c.seed << ", fill " << i;
            EXPECT_EQ(surface.Colours(), Recount(picture)) << "seed " << c.seed << ", fill " << i;
            const std::vector<std::uint32_t>& numbers = surface.RowNumbers();
            for (int y = 0; y < c.height; ++y) {
                const auto first = std::find(numbers.begin(), numbers.end(), numbers[y]);
                const auto row = [&](std::ptrdiff_t r) { return model.begin() + r * c.width; };
                EXPECT_TRUE(std::equal(row(y), row(y + 1), row(first - numbers.begin())))
                    << "row " << y << " shares its number, seed " << c.seed << ", fill " << i;
            }
        }
    }
}

TEST(RasterSurface, RefusedSizesGiveAnEmptySurfaceThatIgnoresDrawing)
{
    for (const auto& [width, height] :
         {std::pair{0, 10}, {10, -1}, {RasterSurface::MaxSide + 1, 1}, {20000, 20000}}) {
        RasterSurface surface(width, height);
        surface.FillSolidRect({0, 0, 5, 5}, 0);
        EXPECT_FALSE(surface.IsValid());
        EXPECT_TRUE(surface.Colours().empty());
        EXPECT_EQ(surface.Rows().first, nullptr);
    }
}

}  // namespace
}  // namespace kestrel
