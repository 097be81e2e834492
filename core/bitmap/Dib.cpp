#include "bitmap/Dib.h"

#include "bitmap/ByteOrder.h"

#include <limits>
#include <new>

namespace kestrel {

using bytes::ReadI32;
using bytes::ReadU16;
using bytes::ReadU32;

namespace {

// Largest table a palette can describe; larger counts are refused.
constexpr std::uint32_t MaxColourCount = 256;

bool IsCoreHeader(const BitmapInfoHeader& header)
{
    return header.biSize == CoreHeaderSize;
}

bool IsKnownFormat(std::uint32_t bitCount, std::uint32_t compression, bool core)
{
    if (core) {
        return compression == BI_RGB
               && (bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 24);
    }
    switch (compression) {
    case BI_RGB:
        return bitCount == 1 || bitCount == 4 || bitCount == 8 || bitCount == 16 || bitCount == 24
               || bitCount == 32;
    case BI_RLE8: return bitCount == 8;
    case BI_RLE4: return bitCount == 4;
    case BI_BITFIELDS: return bitCount == 16 || bitCount == 32;
    default: return false;
    }
}

}  // namespace

std::optional<BitmapInfoHeader> ReadHeader(const Dib& dib)
{
    const std::uint8_t* p = dib.data();
    if (dib.size() < 4) {
        return std::nullopt;
    }
    BitmapInfoHeader header;
    header.biSize = ReadU32(p);
    if (header.biSize == CoreHeaderSize && dib.size() >= CoreHeaderSize) {
        header.biWidth = ReadU16(p + 4);
        header.biHeight = ReadU16(p + 6);
        header.biPlanes = ReadU16(p + 8);
        header.biBitCount = ReadU16(p + 10);
        return header;
    }
    if (header.biSize == InfoHeaderSize && dib.size() >= InfoHeaderSize) {
        header.biWidth = ReadI32(p + 4);
        header.biHeight = ReadI32(p + 8);
        header.biPlanes = ReadU16(p + 12);
        header.biBitCount = ReadU16(p + 14);
        header.biCompression = ReadU32(p + 16);
        header.biSizeImage = ReadU32(p + 20);
        header.biXPelsPerMeter = ReadI32(p + 24);
        header.biYPelsPerMeter = ReadI32(p + 28);
        header.biClrUsed = ReadU32(p + 32);
        header.biClrImportant = ReadU32(p + 36);
        return header;
    }
    return std::nullopt;
}

std::uint32_t ColourCount(const BitmapInfoHeader& header)
{
    const bool paletted = header.biBitCount <= 8;
    if (IsCoreHeader(header)) {
        return paletted ? (1U << header.biBitCount) : 0;
    }
    if (header.biClrUsed != 0) {
        return header.biClrUsed;
    }
    return paletted ? (1U << header.biBitCount) : 0;
}

std::uint16_t ColourTableSize(const BitmapInfoHeader& header)
{
    const std::uint32_t count = ColourCount(header);
    std::uint32_t size;
    if (IsCoreHeader(header)) {
        size = count * 3;
    } else if (header.biCompression == BI_BITFIELDS) {
        size = count * 4 + 12;
    } else {
        size = count * 4;
    }
    return static_cast<std::uint16_t>(size);
}

std::uint32_t ColourCount(const Dib& dib)
{
    const auto header = ReadHeader(dib);
    return header ? ColourCount(*header) : 0;
}

std::uint16_t ColourTableSize(const Dib& dib)
{
    const auto header = ReadHeader(dib);
    return header ? ColourTableSize(*header) : 0;
}

std::uint64_t RowSize(std::uint32_t bitCount, std::uint64_t width)
{
    return (bitCount * width + 31) / 32 * 4;
}

std::optional<DibLayout> InspectPicture(const Dib& dib)
{
    const auto read = ReadHeader(dib);
    if (!read) {
        return std::nullopt;
    }
    const BitmapInfoHeader& header = *read;
    const bool core = IsCoreHeader(header);
    if (header.biPlanes != 1 || !IsKnownFormat(header.biBitCount, header.biCompression, core)) {
        return std::nullopt;
    }
    if (header.biWidth <= 0 || header.biHeight == 0
        || header.biHeight == std::numeric_limits<std::int32_t>::min()) {
        return std::nullopt;
    }
    const bool compressed = header.biCompression == BI_RLE8 || header.biCompression == BI_RLE4;
    if (compressed && header.biHeight < 0) {
        return std::nullopt;  // compressed pictures are always stored bottom-up
    }

    DibLayout layout;
    layout.header = header;
    layout.colourCount = ColourCount(header);
    if (layout.colourCount > MaxColourCount) {
        return std::nullopt;
    }
    layout.entrySize = core ? 3 : 4;
    const std::size_t maskBytes = header.biCompression == BI_BITFIELDS ? 12 : 0;
    layout.colourTableOffset = header.biSize + maskBytes;
    // With at most 256 entries the 16-bit table size is exact.
    layout.pixelOffset = header.biSize + ColourTableSize(header);
    if (layout.pixelOffset > dib.size()) {
        return std::nullopt;
    }

    layout.width = static_cast<std::size_t>(header.biWidth);
    layout.rows = static_cast<std::size_t>(
        header.biHeight < 0 ? -static_cast<std::int64_t>(header.biHeight) : header.biHeight);
    layout.topDown = header.biHeight < 0;
    const std::uint64_t rowSize = RowSize(header.biBitCount, layout.width);
    const std::uint64_t pixelBytes = rowSize * layout.rows;
    const std::uint64_t available = dib.size() - layout.pixelOffset;
    if (compressed) {
        if (header.biSizeImage == 0 || header.biSizeImage > available) {
            return std::nullopt;
        }
    } else if (pixelBytes > available || header.biSizeImage > available
               || pixelBytes > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    layout.rowSize = static_cast<std::size_t>(rowSize);

    if (header.biCompression == BI_BITFIELDS) {
        for (std::size_t i = 0; i < 3; ++i) {
            layout.masks[i] = ReadU32(dib.data() + header.biSize + 4 * i);
        }
    } else if (header.biBitCount == 16) {
        layout.masks[0] = 0x7C00;
        layout.masks[1] = 0x03E0;
        layout.masks[2] = 0x001F;
    } else if (header.biBitCount == 32) {
        layout.masks[0] = 0x00FF0000;
        layout.masks[1] = 0x0000FF00;
        layout.masks[2] = 0x000000FF;
    }
    return layout;
}

std::optional<BitmapInfoHeader> PictureInfo(const Dib& dib)
{
    const auto layout = InspectPicture(dib);
    if (!layout) {
        return std::nullopt;
    }
    BitmapInfoHeader info = layout->header;
    if (info.biSizeImage == 0) {
        info.biSizeImage = static_cast<std::uint32_t>(layout->rowSize * layout->rows);
    }
    if (info.biClrUsed == 0) {
        info.biClrUsed = layout->colourCount;
    }
    return info;
}

Dib CopyPicture(const Dib& dib)
{
    if (!InspectPicture(dib)) {
        return {};
    }
    try {
        return Dib(dib.bytes());
    } catch (const std::bad_alloc&) {
        return {};
    }
}

Dib NewPicture(std::int32_t width, std::int32_t height, int bitCount, std::uint32_t compression,
               std::uint32_t colourCount)
{
    if (bitCount <= 0 || !IsKnownFormat(static_cast<std::uint32_t>(bitCount), compression, false)
        || compression == BI_RLE8 || compression == BI_RLE4) {
        return {};
    }
    if (width <= 0 || height == 0 || height == std::numeric_limits<std::int32_t>::min()
        || colourCount > MaxColourCount) {
        return {};
    }
    const std::uint64_t rows = height < 0 ? -static_cast<std::int64_t>(height) : height;
    const std::uint64_t pixelBytes = RowSize(static_cast<std::uint32_t>(bitCount),
                                             static_cast<std::uint64_t>(width))
                                     * rows;
    const std::uint64_t tableBytes = colourCount * 4 + (compression == BI_BITFIELDS ? 12 : 0);
    const std::uint64_t total = InfoHeaderSize + tableBytes + pixelBytes;
    // The file header stores 14 + the block in 32 bits.
    if (total > std::numeric_limits<std::uint32_t>::max() - 14) {
        return {};
    }

    std::vector<std::uint8_t> block;
    try {
        block.assign(static_cast<std::size_t>(total), 0);
    } catch (const std::bad_alloc&) {
        return {};
    }
    std::uint8_t* p = block.data();
    bytes::WriteU32(p, InfoHeaderSize);
    bytes::WriteI32(p + 4, width);
    bytes::WriteI32(p + 8, height);
    bytes::WriteU16(p + 12, 1);
    bytes::WriteU16(p + 14, static_cast<std::uint16_t>(bitCount));
    bytes::WriteU32(p + 16, compression);
    bytes::WriteU32(p + 20, static_cast<std::uint32_t>(pixelBytes));
    // A table as long as the bit count implies is described by 0.
    const bool fullTable = bitCount <= 8 && colourCount == (1U << bitCount);
    bytes::WriteU32(p + 32, fullTable ? 0 : colourCount);
    return Dib(std::move(block));
}

Dib NewTrueColourPicture(std::int32_t width, std::int32_t height, int bitCount)
{
    if (bitCount != 16 && bitCount != 24 && bitCount != 32) {
        return {};
    }
    return NewPicture(width, height, bitCount, BI_RGB, 0);
}

}  // namespace kestrel
