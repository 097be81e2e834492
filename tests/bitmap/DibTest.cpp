// DIB layout: headers byte for byte, size helpers, and refusal of malformed blocks.

#include "BitmapTestSupport.h"

#include "bitmap/BmpFile.h"
#include "bitmap/Convert.h"
#include "bitmap/Dib.h"
#include "bitmap/Palette.h"

#include <gtest/gtest.h>

#include <limits>
#include <random>
#include <vector>

namespace kestrel {
namespace {

using test::RawDib;

std::vector<std::uint8_t> Prefix(const Dib& dib, std::size_t n)
{
    return {dib.bytes().begin(), dib.bytes().begin() + static_cast<long>(std::min(n, dib.size()))};
}

TEST(DibHeader, TwentyFourBitPictureByteForByte)
{
    const Dib dib = ReadOutPicture(test::Bars(300, 150), BI_RGB, 24);
    const std::vector<std::uint8_t> expected = {
        0x28, 0,    0,    0,              // biSize 40
        0x2C, 0x01, 0,    0,              // width 300
        0x96, 0,    0,    0,              // height 150, bottom-up
        1,    0,    24,   0,              // planes, bit count
        0,    0,    0,    0,              // BI_RGB
        0x58, 0x0F, 0x02, 0,              // 900 × 150 = 135,000
        0,    0,    0,    0, 0, 0, 0, 0,  // pels per metre
        0,    0,    0,    0, 0, 0, 0, 0,  // colours used, important
    };
    EXPECT_EQ(Prefix(dib, 40), expected);
    const auto file = MakeFileHeader(dib);
    ASSERT_TRUE(file);
    const std::array<std::uint8_t, 14> expectedFile = {0x42, 0x4D, 0x8E, 0x0F, 0x02, 0, 0,
                                                       0,    0,    0,    54,   0,    0, 0};
    EXPECT_EQ(*file, expectedFile);
}

TEST(DibHeader, FileOffsetsAndSizesOf300By150)
{
    struct Row {
        int bitCount;
        std::uint32_t compression;
        std::uint32_t offset;
        std::uint32_t fileSize;
    };
    const Row rows[] = {
        {24, BI_RGB, 54, 135054},
        {8, BI_RGB, 1078, 46078},
        {16, BI_BITFIELDS, 66, 90066},
        {32, BI_RGB, 54, 180054},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bitCount);
        const Dib dib = ReadOutPicture(test::Bars(300, 150), row.compression, row.bitCount);
        const auto file = MakeFileHeader(dib);
        ASSERT_TRUE(file);
        EXPECT_EQ(bytes::ReadU16(file->data()), 0x4D42);
        EXPECT_EQ(bytes::ReadU32(file->data() + 2), row.fileSize);
        EXPECT_EQ(bytes::ReadU32(file->data() + 6), 0u);
        EXPECT_EQ(bytes::ReadU32(file->data() + 10), row.offset);
        EXPECT_EQ(dib.size() + 14, row.fileSize);
        const auto info = PictureInfo(dib);
        ASSERT_TRUE(info);
        EXPECT_EQ(info->biBitCount, row.bitCount);
        EXPECT_EQ(info->biCompression, row.compression);
        EXPECT_EQ(info->biSizeImage, row.fileSize - row.offset);
    }
}

TEST(DibHeader, NewTrueColourPictureSizes)
{
    struct Row {
        int width, height, bitCount;
        std::size_t pixelBytes;  // 0: refused
    };
    const Row rows[] = {
        {301, 2, 16, 302 * 2 * 2},
        {300, 2, 16, 1200},
        {3, 2, 24, 12 * 2},
        {4, 1, 24, 12},
        {3, 2, 32, 24},
        {3, 2, 8, 0},
        {3, 2, 1, 0},
        {0, 2, 24, 0},
        {-3, 2, 24, 0},
        {3, 0, 24, 0},
        {0x7FFFFFFF, 0x7FFFFFFF, 32, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.width << "x" << row.height << "@" << row.bitCount);
        const Dib dib = NewTrueColourPicture(row.width, row.height, row.bitCount);
        if (row.pixelBytes == 0) {
            EXPECT_TRUE(dib.IsNull());
            continue;
        }
        ASSERT_EQ(dib.size(), 40 + row.pixelBytes);
        const auto header = ReadHeader(dib);
        ASSERT_TRUE(header);
        EXPECT_EQ(*header,
                  (BitmapInfoHeader{40, row.width, row.height, 1,
                                    static_cast<std::uint16_t>(row.bitCount), BI_RGB,
                                    static_cast<std::uint32_t>(row.pixelBytes), 0, 0, 0, 0}));
        EXPECT_TRUE(std::all_of(dib.bytes().begin() + 40, dib.bytes().end(),
                                [](std::uint8_t b) { return b == 0; }));
    }
}

TEST(DibHeader, ColourCountAndTableSize)
{
    struct Row {
        const char* what;
        Dib dib;
        std::uint32_t count;
        std::uint16_t tableSize;
    };
    auto core = [](std::uint16_t bitCount) {
        std::vector<std::uint8_t> block(12, 0);
        bytes::WriteU32(block.data(), 12);
        bytes::WriteU16(block.data() + 4, 1);
        bytes::WriteU16(block.data() + 6, 1);
        bytes::WriteU16(block.data() + 8, 1);
        bytes::WriteU16(block.data() + 10, bitCount);
        return Dib(std::move(block));
    };
    auto info = [](std::uint16_t bitCount, std::uint32_t compression, std::uint32_t clrUsed) {
        return RawDib{.bitCount = bitCount, .compression = compression, .clrUsed = clrUsed}.Build();
    };
    const Row rows[] = {
        {"core 1 bit", core(1), 2, 6},
        {"core 4 bits", core(4), 16, 48},
        {"core 8 bits", core(8), 256, 768},
        {"core 24 bits", core(24), 0, 0},
        {"1 bit", info(1, BI_RGB, 0), 2, 8},
        {"8 bits", info(8, BI_RGB, 0), 256, 1024},
        {"8 bits, 17 used", info(8, BI_RGB, 17), 17, 68},
        {"24 bits", info(24, BI_RGB, 0), 0, 0},
        {"24 bits, 3 used", info(24, BI_RGB, 3), 3, 12},
        {"16 bits masks", info(16, BI_BITFIELDS, 0), 0, 12},
        {"32 bits masks, 2 used", info(32, BI_BITFIELDS, 2), 2, 20},
        {"32 bits", info(32, BI_RGB, 0), 0, 0},
        {"table size keeps 16 bits", info(8, BI_RGB, 0x4001), 0x4001, 4},
        // A new picture records the colours it was made for.
        {"new 8 bits, 17 colours", NewPicture(3, 2, 8, BI_RGB, 17), 17, 68},
        {"new 4 bits, 5 colours", NewPicture(3, 2, 4, BI_RGB, 5), 5, 20},
        {"new run-length pictures are refused", NewPicture(3, 2, 4, BI_RLE4, 5), 0, 0},
        {"new 16 bits with masks", NewPicture(3, 2, 16, BI_BITFIELDS, 0), 0, 12},
        {"new 1 bit, both colours", NewPicture(3, 2, 1, BI_RGB, 2), 2, 8},
        {"new 24 bits", NewPicture(3, 2, 24, BI_RGB, 0), 0, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_EQ(ColourCount(row.dib), row.count);
        EXPECT_EQ(ColourTableSize(row.dib), row.tableSize);
    }
}

TEST(DibHeader, PictureInfoFillsZerosAndLeavesTheDibAlone)
{
    const Dib dib =
        RawDib{.width = 5, .height = 3, .bitCount = 8, .tableEntries = 256, .pixelBytes = 24}
            .Build();
    const auto info = PictureInfo(dib);
    ASSERT_TRUE(info);
    EXPECT_EQ(info->biSizeImage, 8u * 3);
    EXPECT_EQ(info->biClrUsed, 256u);
    EXPECT_EQ(ReadHeader(dib)->biSizeImage, 0u);
    EXPECT_EQ(ReadHeader(dib)->biClrUsed, 0u);

    const Dib copy = CopyPicture(dib);
    EXPECT_EQ(copy.bytes(), dib.bytes());
}

// Every entry point must refuse these rather than read outside the block.
TEST(DibValidation, MalformedDibsAreRefusedEverywhere)
{
    const RawDib good{.width = 3, .height = 2, .bitCount = 24, .pixelBytes = 24};
    ASSERT_TRUE(InspectPicture(good.Build()));

    struct Row {
        const char* what;
        Dib dib;
    };
    auto with = [&](auto change) {
        RawDib raw = good;
        change(raw);
        return raw.Build();
    };
    auto truncated = [](Dib dib, std::size_t size) {
        std::vector<std::uint8_t> block = dib.bytes();
        block.resize(size);
        return Dib(std::move(block));
    };
    Row rows[] = {
        {"empty", Dib()},
        {"header cut short", truncated(good.Build(), 20)},
        {"pixels cut short", truncated(good.Build(), 40 + 23)},
        {"unknown header size",
         [&] {
             Dib dib = good.Build();
             bytes::WriteU32(dib.data(), 41);
             return dib;
         }()},
        {"width larger than the pixels", with([](RawDib& r) { r.width = 5; })},
        {"height larger than the pixels", with([](RawDib& r) { r.height = 3; })},
        {"negative width", with([](RawDib& r) { r.width = -3; })},
        {"zero width", with([](RawDib& r) { r.width = 0; })},
        {"zero height", with([](RawDib& r) { r.height = 0; })},
        {"smallest height",
         with([](RawDib& r) { r.height = std::numeric_limits<std::int32_t>::min(); })},
        {"huge width", with([](RawDib& r) { r.width = 0x7FFFFFFF; })},
        {"size image beyond the block", with([](RawDib& r) { r.sizeImage = 1000; })},
        {"colours used wraps the table size", with([](RawDib& r) { r.clrUsed = 0x10000; })},
        {"absurd colours used", with([](RawDib& r) { r.clrUsed = 0xFFFFFFFF; })},
        {"more colours than a palette holds", with([](RawDib& r) { r.clrUsed = 300; })},
        {"table past the end", with([](RawDib& r) {
             r.bitCount = 8;
             r.pixelBytes = 8;
         })},
        {"bit count 7", with([](RawDib& r) { r.bitCount = 7; })},
        {"two planes", with([](RawDib& r) { r.planes = 2; })},
        {"masks on 24 bits", with([](RawDib& r) {
             r.compression = BI_BITFIELDS;
             r.masks = {1, 2, 4};
         })},
        {"masks missing", with([](RawDib& r) {
             r.bitCount = 32;
             r.compression = BI_BITFIELDS;
         })},
        {"run length on 24 bits", with([](RawDib& r) {
             r.compression = BI_RLE8;
             r.sizeImage = 4;
         })},
        {"unknown compression", with([](RawDib& r) { r.compression = 9; })},
        {"run length without size", with([](RawDib& r) {
             r.bitCount = 8;
             r.compression = BI_RLE8;
             r.tableEntries = 256;
         })},
        {"run length top-down", with([](RawDib& r) {
             r.bitCount = 8;
             r.compression = BI_RLE8;
             r.tableEntries = 256;
             r.height = -2;
             r.sizeImage = 4;
         })},
    };
    test::TempFolder folder;
    for (Row& row : rows) {
        SCOPED_TRACE(row.what);
        EXPECT_FALSE(InspectPicture(row.dib));
        EXPECT_FALSE(PictureInfo(row.dib));
        EXPECT_TRUE(CopyPicture(row.dib).IsNull());
        EXPECT_TRUE(MakePicturePalette(row.dib).empty());
        EXPECT_FALSE(MakeFileHeader(row.dib));
        const std::vector<std::uint8_t> before = row.dib.bytes();
        EXPECT_TRUE(ConvertPicture(row.dib, 8, BI_RGB).IsNull());
        EXPECT_EQ(row.dib.bytes(), before);
        EXPECT_EQ(SavePicture(folder.path / "bad.bmp", row.dib, 8, BI_RGB), 0);
        EXPECT_EQ(SavePicture(folder.path / "bad.bmp", row.dib, 0, BI_RGB), 0);
        EXPECT_EQ(WritePicture(folder.path / "bad.bmp", row.dib), 0);
    }
    EXPECT_EQ(folder.EntryCount(), 0u);
}

TEST(DibValidation, CoreHeaderIsMeasuredButHasNoPalette)
{
    std::vector<std::uint8_t> block(12 + 6 + 8, 0);  // 2 × 2 at 1 bit, table of 2
    bytes::WriteU32(block.data(), 12);
    bytes::WriteU16(block.data() + 4, 2);
    bytes::WriteU16(block.data() + 6, 2);
    bytes::WriteU16(block.data() + 8, 1);
    bytes::WriteU16(block.data() + 10, 1);
    Dib dib(std::move(block));
    const auto layout = InspectPicture(dib);
    ASSERT_TRUE(layout);
    EXPECT_EQ(layout->pixelOffset, 18u);
    EXPECT_TRUE(MakePicturePalette(dib).empty());
    EXPECT_TRUE(ConvertPicture(dib, 8, BI_RGB).IsNull());
    EXPECT_FALSE(dib.IsNull());
    const auto file = MakeFileHeader(dib);
    ASSERT_TRUE(file);
    EXPECT_EQ(bytes::ReadU32(file->data() + 10), 14u + 12 + 6);
}

// Random damage to the header and table of valid pictures: whatever is
// accepted must be handled inside the block (the sanitizer build checks).
TEST(DibValidation, DamagedHeadersNeverLeadOutside)
{
    std::mt19937 random(20240607);
    const Dib sources[] = {
        ReadOutPicture(test::Bars(13, 7), BI_RGB, 8),
        ReadOutPicture(test::Bars(13, 7), BI_RGB, 1),
        ReadOutPicture(test::Bars(13, 7), BI_BITFIELDS, 16),
        ReadOutPicture(test::Bars(13, 7), BI_RGB, 32),
    };
    const std::size_t fields[] = {4, 8, 12, 14, 16, 20, 32, 40, 44, 48};
    for (int round = 0; round < 4000; ++round) {
        Dib dib = sources[round % 4];
        std::vector<std::uint8_t> block = dib.bytes();
        const std::size_t at = fields[random() % std::size(fields)] + random() % 2;
        block[at] = static_cast<std::uint8_t>(random());
        if (random() % 4 == 0) {
            block.resize(random() % block.size());
        }
        Dib damaged(std::move(block));
        (void)PictureInfo(damaged);
        (void)MakePicturePalette(damaged);
        (void)MakeFileHeader(damaged);
        for (const int bits : {1, 8, 16, 24, 32}) {
            Dib copy = CopyPicture(damaged);
            const Dib converted = ConvertPicture(copy, bits, bits == 16 ? BI_BITFIELDS : BI_RGB);
            if (converted) {
                EXPECT_TRUE(InspectPicture(converted));
            }
        }
    }
}

}  // namespace
}  // namespace kestrel
