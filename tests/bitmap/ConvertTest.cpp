// Format changes: the palette route, the direct route, read-out and refusals.

#include "BitmapTestSupport.h"

#include "bitmap/BmpFile.h"
#include "bitmap/Convert.h"
#include "bitmap/Palette.h"

#include <gtest/gtest.h>

#include <random>
#include <utility>
#include <vector>

namespace kestrel {
namespace {

// Independent of the library's search: the first entry at the least squared distance.
std::size_t Nearest(const Palette& palette, std::size_t usable, std::uint32_t rgb)
{
    std::size_t best = 0;
    long bestDistance = -1;
    for (std::size_t i = 0; i < usable; ++i) {
        const long dr = static_cast<long>(rgb >> 16 & 0xFF) - palette[i].red;
        const long dg = static_cast<long>(rgb >> 8 & 0xFF) - palette[i].green;
        const long db = static_cast<long>(rgb & 0xFF) - palette[i].blue;
        const long d = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || d < bestDistance) {
            bestDistance = d;
            best = i;
        }
    }
    return best;
}

// The colour table and the index of every pixel (top row first) of an indexed DIB.
struct Indexed {
    Palette table;
    std::vector<std::size_t> indices;
};

Indexed ReadIndexed(const Dib& dib)
{
    const auto layout = InspectPicture(dib);
    Indexed result;
    if (!layout || layout->header.biBitCount > 8) {
        return result;
    }
    const int bits = layout->header.biBitCount;
    result.table = PaletteFromColourTable(
        {dib.data() + layout->colourTableOffset, layout->colourCount * 4}, layout->colourCount);
    for (std::size_t y = 0; y < layout->rows; ++y) {
        const std::uint8_t* row = dib.data() + layout->pixelOffset
                                  + (layout->rows - 1 - y) * layout->rowSize;
        for (std::size_t x = 0; x < layout->width; ++x) {
            const std::size_t bit = x * bits;
            result.indices.push_back((row[bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1));
        }
    }
    return result;
}

TEST(ConvertPicture, BarsToEightBits)
{
    const RgbPicture bars = test::Bars(300, 150);
    Dib source = ReadOutPicture(bars, BI_RGB, 24);
    const Dib dib = ConvertPicture(source, 8, BI_RGB);
    ASSERT_TRUE(dib);
    EXPECT_TRUE(source.IsNull());  // released on success
    const auto file = MakeFileHeader(dib);
    ASSERT_TRUE(file);
    EXPECT_EQ(bytes::ReadU32(file->data() + 10), 1078u);
    EXPECT_EQ(bytes::ReadU32(file->data() + 2), 46078u);

    const Indexed indexed = ReadIndexed(dib);
    ASSERT_EQ(indexed.table.size(), 256u);
    EXPECT_EQ(indexed.table[0], (PaletteEntry{248, 252, 248, 0}));
    EXPECT_EQ(indexed.table[1], (PaletteEntry{0, 0, 0, 0}));
    for (std::size_t i = 2; i < 256; ++i) {
        EXPECT_EQ(indexed.table[i], KeyColour(static_cast<std::uint16_t>(i - 1))) << i;
    }
    ASSERT_EQ(indexed.indices.size(), bars.pixels.size());
    for (std::size_t i = 0; i < bars.pixels.size(); ++i) {
        ASSERT_EQ(indexed.indices[i], bars.pixels[i] == test::White ? 0u : 1u) << i;
    }
}

// Many colours sharing keys: the cache must never answer for the wrong colour.
TEST(ConvertPicture, EveryPixelTakesTheNearestEntry)
{
    std::mt19937 random(7);
    RgbPicture picture{97, 61, {}};
    const std::uint32_t pool[] = {0xFFFFFF, 0xFAFEFA, 0xF8FCF8, 0x000000, 0x070307,
                                  0x123456, 0x808080, 0x7F7F7F, 0xFF0000, 0xFE0101};
    for (int i = 0; i < picture.width * picture.height; ++i) {
        picture.pixels.push_back(i % 3 == 0 ? (random() & 0xFFFFFF)
                                            : pool[random() % std::size(pool)]);
    }
    for (const int bits : {1, 4, 8}) {
        SCOPED_TRACE(bits);
        Dib source = ReadOutPicture(picture, BI_RGB, 24);
        const Palette palette = MakePicturePalette(source);
        const Dib dib = ConvertPicture(source, bits, BI_RGB);
        const Indexed indexed = ReadIndexed(dib);
        const std::size_t usable = std::size_t{1} << bits;
        ASSERT_EQ(indexed.table, Palette(palette.begin(), palette.begin() + usable));
        for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
            ASSERT_EQ(indexed.indices[i], Nearest(palette, usable, picture.pixels[i])) << i;
        }
    }
}

std::uint32_t PixelAt(const Dib& dib, std::size_t x, std::size_t storedRow)
{
    const auto layout = InspectPicture(dib);
    const std::uint8_t* p = dib.data() + layout->pixelOffset + storedRow * layout->rowSize;
    switch (layout->header.biBitCount) {
    case 16: return bytes::ReadU16(p + 2 * x);
    case 24: return p[3 * x] | p[3 * x + 1] << 8 | p[3 * x + 2] << 16;
    case 32: return bytes::ReadU32(p + 4 * x);
    default: return 0xDEADBEEF;
    }
}

TEST(ConvertPicture, TrueColourTargets)
{
    // Colours already on the 5-bit grid survive every route unchanged in value.
    const RgbPicture picture{3, 1, {0xF80000, 0x00F800, 0x0000F8}};
    struct Row {
        const char* what;
        int sourceBits;
        int bitCount;
        std::uint32_t compression;
        std::vector<std::uint32_t> masks;  // expected, empty for BI_RGB
        std::uint32_t pixels[3];
    };
    const Row rows[] = {
        {"24 to 16 masks",
         24,
         16,
         BI_BITFIELDS,
         {0xF800, 0x07E0, 0x001F},
         {0xF800, 0x07C0, 0x001F}},
        {"24 to 32 masks",
         24,
         32,
         BI_BITFIELDS,
         {0xFF0000, 0xFF00, 0xFF},
         {0xF80000, 0xF800, 0xF8}},
        {"24 to 16", 24, 16, BI_RGB, {}, {0x7C00, 0x03E0, 0x001F}},
        {"24 to 32", 24, 32, BI_RGB, {}, {0xF80000, 0xF800, 0xF8}},
        {"32 to 24", 32, 24, BI_RGB, {}, {0xF80000, 0xF800, 0xF8}},
        {"16 to 24", 16, 24, BI_RGB, {}, {0xF80000, 0xF800, 0xF8}},
        {"8 to 24", 8, 24, BI_RGB, {}, {0xF80000, 0xF800, 0xF8}},
        {"16 to 32 masks",
         16,
         32,
         BI_BITFIELDS,
         {0xFF0000, 0xFF00, 0xFF},
         {0xF80000, 0xF800, 0xF8}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        Dib source = ReadOutPicture(picture, BI_RGB, row.sourceBits);
        ASSERT_TRUE(source);
        const Dib dib = ConvertPicture(source, row.bitCount, row.compression);
        ASSERT_TRUE(dib);
        const auto layout = InspectPicture(dib);
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->header.biBitCount, row.bitCount);
        EXPECT_EQ(layout->header.biCompression, row.compression);
        if (!row.masks.empty()) {
            EXPECT_EQ(std::vector<std::uint32_t>(layout->masks, layout->masks + 3), row.masks);
        }
        for (std::size_t x = 0; x < 3; ++x) {
            EXPECT_EQ(PixelAt(dib, x, 0), row.pixels[x]) << x;
        }
    }
}

TEST(ConvertPicture, RefusedRequestsKeepTheSource)
{
    struct Row {
        int sourceBits;
        int bitCount;
        std::uint32_t compression;
    };
    const Row rows[] = {
        {24, 24, BI_BITFIELDS}, {24, 0, BI_BITFIELDS}, {24, 7, BI_RGB},  {24, 2, BI_RGB},
        {24, 1, BI_BITFIELDS},  {24, 8, BI_RLE4},      {24, 4, BI_RLE8}, {24, 8, 9},
        {24, 0, BI_RLE8},       {24, -8, BI_RGB},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message()
                     << row.sourceBits << " to " << row.bitCount << "/" << row.compression);
        Dib source = ReadOutPicture(test::Bars(30, 10), BI_RGB, row.sourceBits);
        const std::vector<std::uint8_t> before = source.bytes();
        EXPECT_TRUE(ConvertPicture(source, row.bitCount, row.compression).IsNull());
        EXPECT_EQ(source.bytes(), before);
    }
    EXPECT_TRUE(IsConvertRequest(8, BI_RLE8, 24));
    EXPECT_TRUE(IsConvertRequest(0, BI_RLE4, 4));
    EXPECT_FALSE(IsConvertRequest(0, BI_RLE4, 8));
}

TEST(ConvertPicture, TopDownStaysTopDown)
{
    test::RawDib raw{.width = 2, .height = -2, .bitCount = 24, .pixelBytes = 16};
    Dib source = raw.Build();
    source.data()[40 + 2] = 0xFF;  // first stored pixel red: the top-left one
    const Dib dib = ConvertPicture(source, 8, BI_RGB);
    ASSERT_TRUE(dib);
    const auto layout = InspectPicture(dib);
    EXPECT_EQ(layout->header.biHeight, -2);
    const std::uint8_t first = dib.data()[layout->pixelOffset];
    EXPECT_EQ(MakePicturePalette(dib)[first], (PaletteEntry{248, 0, 0, 0}));
}

TEST(ReadOutPicture, PixelsLandBottomUpAndPadded)
{
    // Top-left red, bottom-right blue, on a 3 × 2 picture.
    const RgbPicture picture{3, 2, {0xFF0000, 0, 0, 0, 0, 0x0000FF}};
    const Dib dib24 = ReadOutPicture(picture, BI_RGB, 0);
    ASSERT_EQ(dib24.size(), 40u + 12 * 2);
    EXPECT_EQ(PixelAt(dib24, 0, 1), 0xFF0000u);
    EXPECT_EQ(PixelAt(dib24, 2, 0), 0x0000FFu);
    EXPECT_EQ(dib24.data()[40 + 9], 0);  // padding
    EXPECT_EQ(PixelAt(ReadOutPicture(picture, BI_RGB, 16), 0, 1), 0x7C00u);
    EXPECT_EQ(PixelAt(ReadOutPicture(picture, BI_RGB, 32), 2, 0), 0x0000FFu);

    const Indexed one = ReadIndexed(ReadOutPicture(picture, BI_RGB, 1));
    ASSERT_EQ(one.table.size(), 2u);
    EXPECT_EQ(one.table[0], (PaletteEntry{0, 0, 0, 0}));  // black is the most frequent
    // Only black and blue fit; red is nearer to black.
    EXPECT_EQ(one.indices, (std::vector<std::size_t>{0, 0, 0, 0, 0, 1}));

    EXPECT_TRUE(ReadOutPicture({3, 2, {1, 2, 3}}, BI_RGB, 24).IsNull());
    EXPECT_TRUE(ReadOutPicture({0, 0, {}}, BI_RGB, 24).IsNull());
    EXPECT_TRUE(ReadOutPicture(picture, BI_RGB, 12).IsNull());
    EXPECT_TRUE(ReadOutPicture(picture, BI_BITFIELDS, 24).IsNull());
}


// Pictures for the direct read-out: a number of distinct colours (each
// its own 5-6-5 key, in stripes of repeated rows and runs), a width, and
// whether a mid-grey dominates (more than 65,535 pixels: counts saturate).
struct ColourCase {
    int colours;
    int width;
    int height;
};

RgbPicture Striped(const ColourCase& c)
{
    RgbPicture picture = test::Filled(c.width, c.height, 0x808080);
    for (int y = 0; y < c.height; ++y) {
        for (int x = 0; x < c.width; ++x) {
            // Rows repeat in pairs; runs of three share a colour. Colour n
            // is a distinct key: red and green and blue each step apart.
            const int n = ((y / 2) * ((c.width + 2) / 3) + x / 3) % c.colours;
            const std::uint32_t colour = (static_cast<std::uint32_t>(n % 32) << 19)
                                         | (static_cast<std::uint32_t>(n / 32 % 64) << 10)
                                         | (static_cast<std::uint32_t>(n / 2048) << 3);
            if (c.colours > 1 && (x + y) % 5 != 0) {
                picture.pixels[static_cast<std::size_t>(y) * c.width + x] = colour;
            }
        }
    }
    return picture;
}

// The straight read-out at 1, 4 and 8 bits (and run-length 4 and 8) gives
// byte for byte what converting the 24-bit read-out gives, whether the
// colours fit the small tally or need the histogram, and every pixel is its
// nearest entry in the frequency palette.
TEST(ReadOutPicture, StraightIndexedReadOutEqualsTheConversion)
{
    const ColourCase cases[] = {
        {1, 9, 4},     {2, 300, 150},    {16, 7, 40}, {17, 8, 41},   {256, 301, 77}, {257, 33, 90},
        {600, 61, 64}, {3000, 120, 110}, {1, 1, 1},   {1, 300, 250},  // 75,000 pixels of one colour
        {2, 600, 300},  // two colours of 72,000 pixels each: equal once saturated
    };
    const std::pair<int, std::uint32_t> requests[] = {
        {1, BI_RGB}, {4, BI_RGB}, {8, BI_RGB}, {4, BI_RLE4}, {8, BI_RLE8}};
    for (const ColourCase& c : cases) {
        const RgbPicture picture = Striped(c);
        Dib wide = ReadOutPicture(picture, BI_RGB, 24);
        ASSERT_TRUE(wide);
        const Palette palette = MakeFrequencyPalette(picture);
        ASSERT_EQ(palette, MakePicturePalette(wide)) << c.colours << " colours";
        for (const auto& [bits, compression] : requests) {
            Dib copy = CopyPicture(wide);
            const Dib converted = ConvertPicture(copy, bits, compression);
            const Dib straight = ReadOutPicture(picture, compression, bits);
            ASSERT_TRUE(straight) << c.colours << " colours, " << bits << " bits";
            ASSERT_EQ(straight.bytes(), converted.bytes())
                << c.colours << " colours, " << bits << " bits, compression " << compression;
            if (compression != BI_RGB) {
                continue;
            }
            const Indexed indexed = ReadIndexed(straight);
            const std::size_t usable = std::size_t{1} << bits;
            ASSERT_EQ(indexed.indices.size(), picture.pixels.size());
            for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
                ASSERT_EQ(indexed.indices[i], Nearest(palette, usable, picture.pixels[i]))
                    << c.colours << " colours, " << bits << " bits, pixel " << i;
            }
        }
    }
}

// The tally's palette is the histogram's: used keys by saturated count, the
// lower key first among equals, then the unused keys in order; and a key
// beyond its capacity is refused.
TEST(FrequencyPalette, TallyOrdersLikeTheHistogram)
{
    const std::vector<std::pair<std::uint16_t, std::uint64_t>> counts = {
        {0xFFFF, 70000}, {0x0000, 65535}, {0x1234, 9}, {0x0042, 9}, {0x8000, 1}, {0x0001, 0}};
    KeyTally tally;
    auto histogram = ColourHistogram::Allocate();
    ASSERT_TRUE(histogram);
    for (const auto& [key, n] : counts) {
        ASSERT_TRUE(tally.Add(key, n));
        histogram->CountRun(key, n);
    }
    EXPECT_EQ(tally.Keys(), 5u);  // a count of 0 is no use
    const Palette palette = tally.MostFrequent(MaxPaletteSize);
    EXPECT_EQ(palette, histogram->MostFrequent(MaxPaletteSize));
    ASSERT_EQ(palette.size(), MaxPaletteSize);
    EXPECT_EQ(palette[0], KeyColour(0x0000));  // 65,535 saturated ties with 70,000: lower key
    EXPECT_EQ(palette[1], KeyColour(0xFFFF));
    EXPECT_EQ(palette[2], KeyColour(0x0042));
    EXPECT_EQ(palette[5], KeyColour(0x0001));  // then unused keys, 0 taken already

    KeyTally full;
    for (std::size_t key = 0; key < KeyTally::Capacity; ++key) {
        ASSERT_TRUE(full.Add(static_cast<std::uint16_t>(key * 7), 1));
    }
    EXPECT_TRUE(full.Add(0, 5));  // a key it holds still counts
    EXPECT_FALSE(full.Add(1, 1));
}

}  // namespace
}  // namespace kestrel
