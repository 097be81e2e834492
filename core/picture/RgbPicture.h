#pragma once

#include <cstdint>
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

}  // namespace kestrel
