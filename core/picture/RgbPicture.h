#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

namespace kestrel {

// An off-screen picture as drawn, before it becomes a DIB: the top row
// first, each pixel 0x00RRGGBB (the layout of a 32-bit QImage without alpha).
struct RgbPicture {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;  // width * height entries

    std::uint32_t at(int x, int y) const
    {
        return pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width)
                      + static_cast<std::size_t>(x)];
    }
};

// A picture's pixels where they lie, read without a copy: the top row at
// `first`, each next row `stride` bytes on, each pixel 0x..RRGGBB whose top
// byte is not part of the colour (a 32-bit QImage's rows, or an RgbPicture's).
struct PixelRows {
    int width = 0;
    int height = 0;
    const std::uint8_t* first = nullptr;
    std::size_t stride = 0;

    const std::uint32_t* Row(int y) const
    {
        return reinterpret_cast<const std::uint32_t*>(first + static_cast<std::size_t>(y) * stride);
    }
};

// Clears the top byte, which is not part of the colour, of `count` pixels,
// two at a time: a picture's read-out runs through here for every pixel.
inline void ClearTopBytes(std::uint32_t* pixels, std::size_t count)
{
    std::size_t i = 0;
    for (; i + 2 <= count; i += 2) {
        std::uint64_t two;
        std::memcpy(&two, pixels + i, sizeof two);
        two &= 0x00FFFFFF00FFFFFFU;  // the top byte of either half, in either byte order
        std::memcpy(pixels + i, &two, sizeof two);
    }
    if (i < count) {
        pixels[i] &= 0xFFFFFFU;
    }
}

inline PixelRows RowsOf(const RgbPicture& picture)
{
    return {picture.width, picture.height,
            reinterpret_cast<const std::uint8_t*>(picture.pixels.data()),
            static_cast<std::size_t>(picture.width) * sizeof(std::uint32_t)};
}

}  // namespace kestrel
