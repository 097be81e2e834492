#include "bitmap/RunLength.h"

#include "bitmap/ByteOrder.h"

#include <cstdint>
#include <limits>
#include <new>
#include <vector>

namespace kestrel {

namespace {

constexpr std::size_t LongestRun = 255;
constexpr std::uint8_t Escape = 0;
constexpr std::uint8_t EndOfLine = 0;
constexpr std::uint8_t EndOfBitmap = 1;
// Offsets of biCompression and biSizeImage in the 40-byte header.
constexpr std::size_t CompressionField = 16;
constexpr std::size_t SizeImageField = 20;

std::uint8_t IndexAt(const std::uint8_t* row, std::size_t x, int bitCount)
{
    return bitCount == 8 ? row[x]
                         : static_cast<std::uint8_t>((row[x / 2] >> (x % 2 ? 0 : 4)) & 0xF);
}

}  // namespace

Dib EncodeRunLength(const Dib& source)
{
    const auto layout = InspectPicture(source);
    if (!layout || layout->header.biSize != InfoHeaderSize || layout->header.biCompression != BI_RGB
        || layout->topDown || (layout->header.biBitCount != 4 && layout->header.biBitCount != 8)) {
        return {};
    }
    const int bitCount = layout->header.biBitCount;
    std::vector<std::uint8_t> block;
    try {
        block.assign(source.data(), source.data() + layout->pixelOffset);
        for (std::size_t y = 0; y < layout->rows; ++y) {
            const std::uint8_t* row = source.data() + layout->pixelOffset + y * layout->rowSize;
            for (std::size_t x = 0; x < layout->width;) {
                const std::uint8_t index = IndexAt(row, x, bitCount);
                std::size_t run = 1;
                while (run < LongestRun && x + run < layout->width
                       && IndexAt(row, x + run, bitCount) == index) {
                    ++run;
                }
                block.push_back(static_cast<std::uint8_t>(run));
                block.push_back(bitCount == 8 ? index
                                              : static_cast<std::uint8_t>((index << 4) | index));
                x += run;
            }
            block.push_back(Escape);
            block.push_back(EndOfLine);
        }
        block.push_back(Escape);
        block.push_back(EndOfBitmap);
    } catch (const std::bad_alloc&) {
        return {};
    }
    const std::size_t coded = block.size() - layout->pixelOffset;
    // The file header stores 14 + the block in 32 bits.
    if (block.size() > std::numeric_limits<std::uint32_t>::max() - 14) {
        return {};
    }
    bytes::WriteU32(block.data() + CompressionField, bitCount == 8 ? BI_RLE8 : BI_RLE4);
    bytes::WriteU32(block.data() + SizeImageField, static_cast<std::uint32_t>(coded));
    return Dib(std::move(block));
}

}  // namespace kestrel
