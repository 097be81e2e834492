// Run-length coding, checked against codings worked by hand from the BMP
// format's definition: (count, index) runs, 00 00 ends a row, 00 01 the
// picture; BI_RLE4 puts the index in both halves of its byte.

#include "BitmapTestSupport.h"

#include "bitmap/ByteOrder.h"
#include "bitmap/Convert.h"
#include "bitmap/RunLength.h"

#include <gtest/gtest.h>

#include <vector>

namespace kestrel {
namespace {

// A bottom-up BI_RGB picture of `bitCount` bits; `rows` are given in stored
// order (the bottom row first), one index per pixel.
Dib Indexed(int bitCount, const std::vector<std::vector<std::uint8_t>>& rows)
{
    const auto width = static_cast<std::int32_t>(rows.front().size());
    Dib dib = NewPicture(width, static_cast<std::int32_t>(rows.size()), bitCount, BI_RGB, 16);
    const auto layout = InspectPicture(dib);
    for (std::size_t y = 0; y < rows.size(); ++y) {
        std::uint8_t* row = dib.data() + layout->pixelOffset + y * layout->rowSize;
        for (std::size_t x = 0; x < rows[y].size(); ++x) {
            if (bitCount == 8) {
                row[x] = rows[y][x];
            } else {
                row[x / 2] = static_cast<std::uint8_t>(row[x / 2]
                                                       | (rows[y][x] << (x % 2 ? 0 : 4)));
            }
        }
    }
    // A recognisable colour table, which the coding must keep.
    for (std::size_t i = 0; i < 16; ++i) {
        dib.data()[layout->colourTableOffset + 4 * i] = static_cast<std::uint8_t>(i * 16);
    }
    return dib;
}

TEST(EncodeRunLength, CodesRunsAsWorkedByHand)
{
    const struct {
        const char* name;
        int bitCount;
        std::vector<std::vector<std::uint8_t>> rows;
        std::vector<std::uint8_t> coded;
    } cases[] = {
        {"one pixel", 8, {{5}}, {0x01, 0x05, 0x00, 0x00, 0x00, 0x01}},
        {"two rows, bottom first",
         8,
         {{1, 1, 1, 2}, {0, 0, 0, 0}},
         {0x03, 0x01, 0x01, 0x02, 0x00, 0x00, 0x04, 0x00, 0x00, 0x00, 0x00, 0x01}},
        {"a run longer than a count holds",
         8,
         {std::vector<std::uint8_t>(300, 3)},
         {0xFF, 0x03, 0x2D, 0x03, 0x00, 0x00, 0x00, 0x01}},
        {"index 0 is a run, not an escape",
         8,
         {{0, 7}},
         {0x01, 0x00, 0x01, 0x07, 0x00, 0x00, 0x00, 0x01}},
        {"4 bits", 4, {{1, 1, 2, 2, 2}}, {0x02, 0x11, 0x03, 0x22, 0x00, 0x00, 0x00, 0x01}},
        {"4 bits, odd width", 4, {{15, 15, 0}}, {0x02, 0xFF, 0x01, 0x00, 0x00, 0x00, 0x00, 0x01}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const Dib source = Indexed(c.bitCount, c.rows);
        const Dib coded = EncodeRunLength(source);
        ASSERT_TRUE(coded);
        const auto layout = InspectPicture(coded);
        ASSERT_TRUE(layout);
        EXPECT_EQ(layout->header.biCompression, c.bitCount == 8 ? BI_RLE8 : BI_RLE4);
        EXPECT_EQ(layout->header.biSizeImage, c.coded.size());
        EXPECT_EQ(layout->header.biWidth, static_cast<std::int32_t>(c.rows.front().size()));
        const std::vector<std::uint8_t> pixels(coded.data() + layout->pixelOffset,
                                               coded.data() + coded.size());
        EXPECT_EQ(pixels, c.coded);
        // Header (but the two fields) and colour table unchanged.
        const std::vector<std::uint8_t> before(source.data() + 24,
                                               source.data() + layout->pixelOffset);
        const std::vector<std::uint8_t> after(coded.data() + 24,
                                              coded.data() + layout->pixelOffset);
        EXPECT_EQ(after, before);
    }
}

TEST(EncodeRunLength, RefusesWhatCannotBeCoded)
{
    test::RawDib topDown{
        .width = 2, .height = -2, .bitCount = 8, .tableEntries = 2, .pixelBytes = 8};
    const Dib refused[] = {
        ReadOutPicture(test::Bars(30, 10), BI_RGB, 24),
        ReadOutPicture(test::Bars(30, 10), BI_RGB, 1),
        topDown.Build(),
        EncodeRunLength(Indexed(8, {{1, 2}})),  // already coded
        Dib(),
    };
    for (const Dib& dib : refused) {
        EXPECT_TRUE(EncodeRunLength(dib).IsNull());
    }
}

TEST(ConvertPicture, RunLengthTargetsAreTheUncompressedPictureCoded)
{
    const struct {
        int sourceBits;
        int bitCount;
        std::uint32_t compression;
    } rows[] = {
        {24, 8, BI_RLE8}, {24, 4, BI_RLE4}, {8, 8, BI_RLE8}, {8, 0, BI_RLE8}, {4, 0, BI_RLE4},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << row.sourceBits << " to " << row.bitCount);
        const int targetBits = row.bitCount == 0 ? row.sourceBits : row.bitCount;
        Dib source = ReadOutPicture(test::Bars(40, 12), BI_RGB, row.sourceBits);
        Dib again = CopyPicture(source);
        const Dib coded = ConvertPicture(source, row.bitCount, row.compression);
        const Dib plain = ConvertPicture(again, targetBits, BI_RGB);
        ASSERT_TRUE(coded);
        ASSERT_TRUE(plain);
        EXPECT_EQ(coded.bytes(), EncodeRunLength(plain).bytes());
    }
    test::RawDib topDown{.width = 2, .height = -2, .bitCount = 24, .pixelBytes = 16};
    Dib source = topDown.Build();
    EXPECT_TRUE(ConvertPicture(source, 8, BI_RLE8).IsNull());
}

}  // namespace
}  // namespace kestrel
