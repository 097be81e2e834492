// Row numbers only save reading: a picture read out or coded with them gives
// the bytes it gives without them, whichever rows share a number, however
// far apart, and however many kinds of row there are.

#include "bitmap/Convert.h"
#include "bitmap/Dib.h"
#include "export/PngFile.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace kestrel {
namespace {

// Rows built from kinds: every row of one kind has the same pixels and the
// same number. Kinds differ in runs of several lengths (1, 2, 3, 5, 8 and
// more pixels), so packed rows end and start mid-byte, and in colours, a
// few greys among black and white as under antialiased text.
struct NumberedPicture {
    RgbPicture picture;
    std::vector<std::uint32_t> numbers;
};

NumberedPicture Build(int width, const std::vector<int>& kinds)
{
    static constexpr std::uint32_t Colours[] = {0xFFFFFF, 0x000000, 0x7F7F7F, 0x202020, 0xDADADA};
    NumberedPicture out;
    out.picture.width = width;
    out.picture.height = static_cast<int>(kinds.size());
    for (const int kind : kinds) {
        int x = 0;
        for (int run = 0; x < width; ++run) {
            const int length = 1 + (run * 7 + kind) % 9;
            const std::uint32_t colour = Colours[(run + kind) % (kind % 3 == 0 ? 2 : 5)];
            for (int i = 0; i < length && x < width; ++i, ++x) {
                out.picture.pixels.push_back(colour);
            }
        }
        out.numbers.push_back(static_cast<std::uint32_t>(kind) + 1);
    }
    return out;
}

std::vector<int> KindsOf(const std::string& letters)
{
    std::vector<int> kinds;
    for (const char c : letters) {
        kinds.push_back(c - 'A');
    }
    return kinds;
}

// More kinds than a read-out remembers at once, then all of them again.
std::vector<int> ManyKindsTwice()
{
    std::vector<int> kinds;
    for (int round = 0; round < 2; ++round) {
        for (int kind = 0; kind < 150; ++kind) {
            kinds.push_back(kind);
        }
    }
    return kinds;
}

struct RowsCase {
    const char* name;
    int width;
    std::vector<int> kinds;
};

std::vector<RowsCase> Cases()
{
    return {
        {"one row", 1, KindsOf("A")},
        {"pairs", 7, KindsOf("AABBCC")},
        {"kinds apart", 9, KindsOf("ABACABAD")},
        {"margins alike", 13, KindsOf("AAABBBBBBBBCDEFAAA")},
        {"all different", 300, KindsOf("ABCDEFGHIJ")},
        {"bars and text", 301, KindsOf("AAAABBBBBBBBBBBBCDEFGHBBAAA")},
        {"many kinds twice", 33, ManyKindsTwice()},
    };
}

TEST(NumberedRows, ReadOutGivesTheBytesOfTheUnnumberedReadOut)
{
    const std::pair<int, std::uint32_t> requests[] = {
        {1, BI_RGB},  {4, BI_RGB},  {8, BI_RGB},  {4, BI_RLE4},       {8, BI_RLE8},
        {16, BI_RGB}, {24, BI_RGB}, {32, BI_RGB}, {16, BI_BITFIELDS}, {0, BI_RGB}};
    for (const RowsCase& c : Cases()) {
        const NumberedPicture built = Build(c.width, c.kinds);
        const PixelRows rows = RowsOf(built.picture);
        for (const auto& [bits, compression] : requests) {
            const Dib plain = ReadOutRows(rows, compression, bits);
            const Dib numbered = ReadOutRows(rows, compression, bits, nullptr, built.numbers);
            ASSERT_TRUE(plain) << c.name << ", " << bits << " bits";
            EXPECT_EQ(numbered.bytes(), plain.bytes())
                << c.name << ", " << bits << " bits, compression " << compression;
        }
    }
}

TEST(NumberedRows, PngGivesTheBytesOfTheUnnumberedPng)
{
    for (const RowsCase& c : Cases()) {
        const NumberedPicture built = Build(c.width, c.kinds);
        const PixelRows rows = RowsOf(built.picture);
        const auto plain = EncodeIndexedPng(rows);
        const auto numbered = EncodeIndexedPng(rows, built.numbers);
        ASSERT_TRUE(plain && numbered) << c.name;
        EXPECT_EQ(*numbered, *plain) << c.name;
    }
}

// Numbers for a different count of rows say nothing about these rows.
TEST(NumberedRows, NumbersOfTheWrongCountAreLeftAside)
{
    const NumberedPicture built = Build(11, KindsOf("ABCB"));
    const PixelRows rows = RowsOf(built.picture);
    const std::vector<std::uint32_t> tooFew = {1, 1, 1};  // would copy row 0 into rows 1 and 2
    EXPECT_EQ(ReadOutRows(rows, BI_RGB, 1, nullptr, tooFew).bytes(),
              ReadOutRows(rows, BI_RGB, 1).bytes());
    EXPECT_EQ(*EncodeIndexedPng(rows, tooFew), *EncodeIndexedPng(rows));
}

}  // namespace
}  // namespace kestrel
