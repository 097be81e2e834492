#pragma once

// The device-independent bitmap (DIB): one block holding a 40-byte info
// header, the colour table (for BI_BITFIELDS three masks first) and the
// pixel array, rows padded to four bytes. Blocks from elsewhere may also
// carry the old 12-byte core header; this library only creates 40-byte ones.
//
// Every function here validates the block it is handed: a malformed DIB is
// refused (nothing, 0 or false), never read or written out of bounds.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

namespace kestrel {

inline constexpr std::uint32_t BI_RGB = 0;
inline constexpr std::uint32_t BI_RLE8 = 1;
inline constexpr std::uint32_t BI_RLE4 = 2;
inline constexpr std::uint32_t BI_BITFIELDS = 3;

inline constexpr std::uint32_t InfoHeaderSize = 40;
inline constexpr std::uint32_t CoreHeaderSize = 12;

// The 40-byte header's fields. A core header is expanded into this form with
// biSize kept at 12 and the fields it lacks left 0.
struct BitmapInfoHeader {
    std::uint32_t biSize = 0;
    std::int32_t biWidth = 0;
    std::int32_t biHeight = 0;
    std::uint16_t biPlanes = 0;
    std::uint16_t biBitCount = 0;
    std::uint32_t biCompression = 0;
    std::uint32_t biSizeImage = 0;
    std::int32_t biXPelsPerMeter = 0;
    std::int32_t biYPelsPerMeter = 0;
    std::uint32_t biClrUsed = 0;
    std::uint32_t biClrImportant = 0;

    bool operator==(const BitmapInfoHeader&) const = default;
};

// The block itself. An empty one is "nothing": the result of every refusal.
class Dib {
public:
    Dib() = default;
    explicit Dib(std::vector<std::uint8_t> bytes) : bytes_(std::move(bytes)) {}

    bool IsNull() const noexcept { return bytes_.empty(); }
    explicit operator bool() const noexcept { return !bytes_.empty(); }
    std::size_t size() const noexcept { return bytes_.size(); }
    const std::uint8_t* data() const noexcept { return bytes_.data(); }
    std::uint8_t* data() noexcept { return bytes_.data(); }
    const std::vector<std::uint8_t>& bytes() const noexcept { return bytes_; }

    // Gives the memory back; the DIB is nothing afterwards.
    void Release() noexcept { std::vector<std::uint8_t>().swap(bytes_); }

private:
    std::vector<std::uint8_t> bytes_;
};

// Where everything lies in a DIB that passed validation.
struct DibLayout {
    BitmapInfoHeader header;
    std::uint32_t colourCount = 0;      // N
    std::size_t entrySize = 4;          // 3 for a core header's table
    std::size_t colourTableOffset = 0;  // the first entry, after any masks
    std::size_t pixelOffset = 0;
    std::size_t rowSize = 0;  // bytes per stored row, padding included
    std::size_t rows = 0;     // |biHeight|
    std::size_t width = 0;
    bool topDown = false;                // negative biHeight: first stored row is the top
    std::uint32_t masks[3] = {0, 0, 0};  // red, green, blue; set for 16 and 32 bits
};

// The header fields as stored, or nothing when the block is too short or its
// first field is neither 12 nor 40. No further checks.
std::optional<BitmapInfoHeader> ReadHeader(const Dib& dib);

// N: the number of colour-table entries.
std::uint32_t ColourCount(const BitmapInfoHeader& header);
// Bytes of colour table, masks included. Only the low 16 bits are kept:
// pixel offsets in files are computed that way.
std::uint16_t ColourTableSize(const BitmapInfoHeader& header);

// Both of the above for a block; 0 when its header cannot be read.
std::uint32_t ColourCount(const Dib& dib);
std::uint16_t ColourTableSize(const Dib& dib);

// ((bitCount × width + 31) / 32) × 4, in 64 bits so it cannot overflow.
std::uint64_t RowSize(std::uint32_t bitCount, std::uint64_t width);

// Checks every size, count and offset of the block; nothing when anything
// would lead outside it or the format is not one this library knows.
std::optional<DibLayout> InspectPicture(const Dib& dib);

// The header of a valid DIB with a biSizeImage of 0 filled in (row size ×
// height) and a biClrUsed of 0 filled in with N. The DIB is unchanged.
std::optional<BitmapInfoHeader> PictureInfo(const Dib& dib);

// A copy of a valid DIB's whole block; nothing for an invalid one.
Dib CopyPicture(const Dib& dib);

// A zero-filled DIB with a 40-byte header, room for `colourCount` table
// entries (after the three masks for BI_BITFIELDS) and the pixel array.
// A negative height makes a top-down DIB. Nothing when the request is not a
// valid format or the picture would not fit the header's 32-bit sizes.
Dib NewPicture(std::int32_t width, std::int32_t height, int bitCount, std::uint32_t compression,
               std::uint32_t colourCount);

// A zero-filled BI_RGB DIB of 16, 24 or 32 bits; nothing for other bit counts.
Dib NewTrueColourPicture(std::int32_t width, std::int32_t height, int bitCount);

}  // namespace kestrel
