#pragma once

#include <cstdint>

namespace kestrel {

// A colour as the profile stores it: red in the low byte, green in the
// second, blue in the third, the top byte 0.
using Colour = std::uint32_t;

constexpr Colour MakeColour(int red, int green, int blue)
{
    return static_cast<Colour>((red & 0xFF) | ((green & 0xFF) << 8) | ((blue & 0xFF) << 16));
}
constexpr int RedOf(Colour colour)
{
    return static_cast<int>(colour & 0xFF);
}
constexpr int GreenOf(Colour colour)
{
    return static_cast<int>((colour >> 8) & 0xFF);
}
constexpr int BlueOf(Colour colour)
{
    return static_cast<int>((colour >> 16) & 0xFF);
}

// The colour as a picture's pixel holds it: 0x00RRGGBB.
constexpr std::uint32_t PixelOf(Colour colour)
{
    return static_cast<std::uint32_t>(RedOf(colour) << 16 | GreenOf(colour) << 8 | BlueOf(colour));
}

}  // namespace kestrel
