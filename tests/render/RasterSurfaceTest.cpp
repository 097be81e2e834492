// The raster surface fills rows in groups and keeps its colour counts as it
// draws; both must agree with the plain picture: every pixel as a fill one
// pixel at a time gives it, and every count as a pass over the pixels gives.

#include "render/RasterSurface.h"
#include "FakeSurface.h"
#include "bitmap/Palette.h"
#include "picture/PixelTally.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <random>
#include <string>
#include <string_view>
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

// A fallback whose only use is its coverage: each character's is a small
// made-up glyph, its alpha a pattern of the character with full, partial
// and no coverage, 5 pixels wide, so glyphs 4 apart overlap by a column.
class GlyphFallback : public RasterFallback {
public:
    DrawingSurface& Begin() override { return unused_; }
    const TextCoverage* Coverage(const FontRequest&, std::string_view text) override
    {
        if (text.size() != 1) {
            return nullptr;
        }
        const auto c = static_cast<unsigned>(static_cast<unsigned char>(text[0]));
        glyph_ = {0, 1, 5, 7, {}};
        for (unsigned i = 0; i < 35; ++i) {
            const unsigned a = (i * 37 + c * 11) % 7;
            glyph_.alpha.push_back(a == 0 ? 255 : a < 3 ? 0 : static_cast<std::uint8_t>(a * 40));
        }
        return &glyph_;
    }

private:
    TextCoverage glyph_;
    test::FakeSurface unused_{1, 1};
};

class GlyphFallbackFactory : public RasterFallbackFactory {
public:
    std::unique_ptr<RasterFallback> Create(std::uint32_t*, int, int) override
    {
        return std::make_unique<GlyphFallback>();
    }
};

// x × a / 255 per channel, rounded as the painter rounds glyph coverage.
std::uint32_t Mix(std::uint32_t colour, std::uint32_t a, std::uint32_t pixel)
{
    std::uint32_t out = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const auto part = [&](std::uint32_t x, std::uint32_t k) {
            const std::uint32_t t = (x >> shift & 0xFF) * k;
            return (t + (t >> 8) + 0x80) >> 8;
        };
        out |= ((part(colour, a) + part(pixel, 255 - a)) & 0xFF) << shift;
    }
    return out;
}

// Text blended glyph by glyph: over white, over bars, over the edges of the
// glyph before, in black and in a colour, twice on one surface (a batch's
// second picture finds its glyphs blended before). Pixel by pixel as the
// painter blends, counted as a pass over the pixels counts.
TEST(RasterSurface, GlyphsBlendAsPixelByPixelWhateverLiesUnder)
{
    struct Case {
        const char* text;
        int advance;
        Colour textColour;
        int barEvery;  // a one-pixel bar under the text every this many columns; 0 none
        Colour barColour;
    };
    const Case cases[] = {
        {"4901234567894", 4, 0x000000, 0, 0},
        {"0123456789", 5, 0x000000, 0, 0},
        {"1111", 3, MakeColour(0, 0, 128), 0, 0},
        {"ABAB", 4, 0x000000, 3, 0x000000},
        {"97", 4, MakeColour(200, 30, 0), 2, MakeColour(0, 90, 0)},
    };
    GlyphFallbackFactory glyphs;
    RasterSurface surface(64, 12, &glyphs);
    for (int round = 0; round < 2; ++round) {
        for (const Case& c : cases) {
            surface.Restart();
            std::vector<std::uint32_t> model(64 * 12, 0xFFFFFF);
            for (int x = 0; c.barEvery > 0 && x < 64; x += c.barEvery) {
                surface.FillSolidRect({x, 0, x + 1, 12}, c.barColour);
                for (int y = 0; y < 12; ++y) {
                    model[static_cast<std::size_t>(y) * 64 + x] = PixelOf(c.barColour);
                }
            }
            surface.SetTextColour(c.textColour);
            const std::string text = c.text;
            surface.DrawTextInBox(2, 2, {0, 0, 64, 12}, 0, text, c.advance);
            GlyphFallback reference;
            for (std::size_t i = 0; i < text.size(); ++i) {
                const TextCoverage& glyph = *reference.Coverage({}, text.substr(i, 1));
                for (int gy = 0; gy < glyph.height; ++gy) {
                    for (int gx = 0; gx < glyph.width; ++gx) {
                        const int x = 2 + static_cast<int>(i) * c.advance + glyph.left + gx;
                        const int y = 2 + glyph.top + gy;
                        const std::uint32_t a = glyph.alpha[static_cast<std::size_t>(gy) * 5 + gx];
                        std::uint32_t& pixel = model[static_cast<std::size_t>(y) * 64 + x];
                        pixel = a == 255 ? PixelOf(c.textColour)
                                : a != 0 ? Mix(PixelOf(c.textColour), a, pixel)
                                         : pixel;
                    }
                }
            }
            const RgbPicture picture = surface.Picture();
            EXPECT_EQ(picture.pixels, model) << c.text << ", round " << round;
            EXPECT_EQ(surface.Colours(), Recount(picture)) << c.text << ", round " << round;
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
