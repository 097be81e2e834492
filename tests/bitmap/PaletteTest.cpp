// Palettes: halftone, colour keys, mask analysis and the frequency palette.

#include "BitmapTestSupport.h"

#include "bitmap/Convert.h"
#include "bitmap/Palette.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrel {
namespace {

using test::RawDib;

TEST(Palette, HalftoneEntries)
{
    const Palette halftone = MakeHalftonePalette();
    ASSERT_EQ(halftone.size(), 256u);
    struct Row {
        int index;
        PaletteEntry entry;
    };
    const Row rows[] = {
        {0, {0, 0, 0, 0}},        {7, {224, 0, 0, 0}}, {8, {0, 32, 0, 0}},
        {63, {224, 224, 0, 0}},   {64, {0, 0, 64, 0}}, {255, {224, 224, 192, 0}},
        {100, {128, 128, 64, 0}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(halftone[row.index], row.entry) << row.index;
    }
}

TEST(Palette, ColourKeys)
{
    struct Row {
        std::uint8_t r, g, b;
        std::uint16_t key;
        PaletteEntry colour;
    };
    const Row rows[] = {
        {255, 255, 255, 0xFFFF, {248, 252, 248, 0}}, {0, 0, 0, 0x0000, {0, 0, 0, 0}},
        {255, 0, 0, 0xF800, {248, 0, 0, 0}},         {0, 255, 0, 0x07E0, {0, 252, 0, 0}},
        {0, 0, 255, 0x001F, {0, 0, 248, 0}},         {8, 4, 8, 0x0821, {8, 4, 8, 0}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(ColourKey(row.r, row.g, row.b), row.key);
        EXPECT_EQ(KeyColour(row.key), row.colour);
    }
}

TEST(Palette, ChannelMasks)
{
    struct Row {
        std::uint32_t mask;
        bool unbroken;
        ChannelMask expected;
    };
    const Row rows[] = {
        {0xF800, true, {0xF800, 11, 3}},         {0x07E0, true, {0x07E0, 5, 2}},
        {0x001F, true, {0x001F, 0, 3}},          {0x7C00, true, {0x7C00, 10, 3}},
        {0xFFC00000, true, {0xFF000000, 24, 0}},  // bits 22-31 reduced to 24-31
        {0x80000000, true, {0x80000000, 31, 7}}, {0, true, {0, 0, 0}},
        {0xF00F, false, {0xF000, 8, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.mask);
        EXPECT_EQ(IsUnbrokenMask(row.mask), row.unbroken);
        const ChannelMask channel = MakeChannelMask(row.mask);
        EXPECT_EQ(channel.mask, row.expected.mask);
        EXPECT_EQ(channel.shiftRight, row.expected.shiftRight);
        EXPECT_EQ(channel.shiftLeft, row.expected.shiftLeft);
    }
    EXPECT_EQ(MakeChannelMask(0xFFC00000).Extract(0xFFFFFFFF), 255);
    EXPECT_EQ(MakeChannelMask(0xFFC00000).Extract(0x00C00000), 0);  // the dropped low bits
    EXPECT_EQ(MakeChannelMask(0x07E0).Extract(0x07E0), 252);
}

// A 16-bit picture with the given masks, one stored value per pixel.
Dib SixteenBit(std::vector<std::uint32_t> masks, int width,
               const std::vector<std::uint16_t>& values)
{
    const int rowValues = width + width % 2;
    const int height = static_cast<int>(values.size()) / width;
    RawDib raw{.width = width,
               .height = height,
               .bitCount = 16,
               .compression = masks.empty() ? BI_RGB : BI_BITFIELDS,
               .masks = masks,
               .pixelBytes = static_cast<std::size_t>(rowValues * height * 2)};
    Dib dib = raw.Build();
    std::uint8_t* pixels = dib.data() + 40 + masks.size() * 4;
    for (std::size_t i = 0; i < values.size(); ++i) {
        const std::size_t at = (i / width) * rowValues + i % width;
        bytes::WriteU16(pixels + 2 * at, values[i]);
    }
    return dib;
}

TEST(FrequencyPalette, SixteenBitMasksGiveExactColours)
{
    // Red × 3, green × 2, blue × 1 under 5-6-5 masks.
    const Dib dib = SixteenBit({0xF800, 0x07E0, 0x001F}, 6,
                               {0xF800, 0xF800, 0xF800, 0x07E0, 0x07E0, 0x001F});
    int warnings = 0;
    const Palette palette = MakePicturePalette(dib, [&] { ++warnings; });
    EXPECT_EQ(warnings, 0);
    ASSERT_EQ(palette.size(), 256u);
    EXPECT_EQ(palette[0], (PaletteEntry{248, 0, 0, 0}));
    EXPECT_EQ(palette[1], (PaletteEntry{0, 252, 0, 0}));
    EXPECT_EQ(palette[2], (PaletteEntry{0, 0, 248, 0}));
    // Then the unused colours, lowest key first.
    EXPECT_EQ(palette[3], KeyColour(0));
    EXPECT_EQ(palette[4], KeyColour(1));
    EXPECT_EQ(palette[255], KeyColour(253));  // key 31 (blue) is taken
}

TEST(FrequencyPalette, BrokenMaskWarnsAndFallsBackToHalftone)
{
    Dib dib = SixteenBit({0xF00F, 0x07E0, 0x0010}, 2, {1, 2});
    int warnings = 0;
    const MaskWarning warn = [&] { ++warnings; };
    EXPECT_EQ(MakePicturePalette(dib, warn), MakeHalftonePalette());
    EXPECT_EQ(warnings, 1);

    // Converting it goes through the same palette and warns again.
    const Dib converted = ConvertPicture(dib, 8, BI_RGB, warn);
    EXPECT_EQ(warnings, 2);
    ASSERT_TRUE(converted);
    EXPECT_EQ(MakePicturePalette(converted), MakeHalftonePalette());

    auto histogram = ColourHistogram::Allocate();
    ASSERT_TRUE(histogram);
    EXPECT_FALSE(CountPictureColours(SixteenBit({0xF00F, 0x07E0, 0x0010}, 2, {1, 2}), *histogram));
}

TEST(FrequencyPalette, ThirtyTwoBitMaskKeepsItsEightHighestBits)
{
    // Red in bits 22-31, green 12-21, blue 2-11.
    RawDib raw{.width = 2,
               .height = 1,
               .bitCount = 32,
               .compression = BI_BITFIELDS,
               .masks = {0xFFC00000, 0x003FF000, 0x00000FFC},
               .pixelBytes = 8};
    Dib dib = raw.Build();
    bytes::WriteU32(dib.data() + 52, 0xFFC00000);               // full red
    bytes::WriteU32(dib.data() + 56, 0x00C00000 | 0x003FC000);  // red's low bits, green's high bits
    auto histogram = ColourHistogram::Allocate();
    ASSERT_TRUE(histogram);
    ASSERT_TRUE(CountPictureColours(dib, *histogram));
    EXPECT_EQ(histogram->CountOf(ColourKey(255, 0, 0)), 1);
    EXPECT_EQ(histogram->CountOf(ColourKey(0, 255, 0)), 1);
}

TEST(FrequencyPalette, OddSixteenBitRowsCountTheirPaddingAsBlack)
{
    const int width = 301, height = 4;
    const Dib dib = SixteenBit({}, width, std::vector<std::uint16_t>(width * height, 0x7FFF));
    auto histogram = ColourHistogram::Allocate();
    ASSERT_TRUE(histogram);
    ASSERT_TRUE(CountPictureColours(dib, *histogram));
    EXPECT_EQ(histogram->CountOf(ColourKey(248, 248, 248)), width * height);
    EXPECT_EQ(histogram->CountOf(0), height);  // one padding value per row
}

TEST(FrequencyPalette, CountsSaturate)
{
    RgbPicture picture = test::Filled(300, 300, test::White);  // 90,000 white
    for (int i = 0; i < 1000; ++i) {
        picture.pixels[i] = test::Black;
    }
    const Dib dib = ReadOutPicture(picture, BI_RGB, 24);
    auto histogram = ColourHistogram::Allocate();
    ASSERT_TRUE(histogram);
    ASSERT_TRUE(CountPictureColours(dib, *histogram));
    EXPECT_EQ(histogram->CountOf(0xFFFF), 65535);
    EXPECT_EQ(histogram->CountOf(0), 1000);
}

}  // namespace
}  // namespace kestrel
