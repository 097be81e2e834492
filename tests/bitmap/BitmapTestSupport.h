#pragma once

#include "bitmap/ByteOrder.h"
#include "bitmap/Dib.h"
#include "picture/RgbPicture.h"

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

#include <stdlib.h>

namespace kestrel::test {

inline constexpr std::uint32_t White = 0xFFFFFF;
inline constexpr std::uint32_t Black = 0x000000;

// Black bars on white with a white margin, so white is the most frequent colour.
inline RgbPicture Bars(int width, int height)
{
    RgbPicture picture{width, height,
                       std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, White)};
    for (int y = height / 6; y < height - height / 6; ++y) {
        for (int x = width / 12; x < width - width / 12; ++x) {
            if ((x / 3) % 3 == 0) {
                picture.pixels[static_cast<std::size_t>(y) * width + x] = Black;
            }
        }
    }
    return picture;
}

inline RgbPicture Filled(int width, int height, std::uint32_t colour)
{
    return {width, height,
            std::vector<std::uint32_t>(static_cast<std::size_t>(width) * height, colour)};
}

// A DIB block with a 40-byte header built field by field, for pictures this
// library would never make itself.
struct RawDib {
    std::int32_t width = 2;
    std::int32_t height = 2;
    std::uint16_t planes = 1;
    std::uint16_t bitCount = 24;
    std::uint32_t compression = 0;
    std::uint32_t sizeImage = 0;
    std::uint32_t clrUsed = 0;
    std::vector<std::uint32_t> masks{};  // written after the header when not empty
    std::size_t tableEntries = 0;        // zero entries written after the masks
    std::size_t pixelBytes = 0;

    Dib Build() const
    {
        std::vector<std::uint8_t> block(40 + masks.size() * 4 + tableEntries * 4 + pixelBytes, 0);
        std::uint8_t* p = block.data();
        bytes::WriteU32(p, 40);
        bytes::WriteI32(p + 4, width);
        bytes::WriteI32(p + 8, height);
        bytes::WriteU16(p + 12, planes);
        bytes::WriteU16(p + 14, bitCount);
        bytes::WriteU32(p + 16, compression);
        bytes::WriteU32(p + 20, sizeImage);
        bytes::WriteU32(p + 32, clrUsed);
        for (std::size_t i = 0; i < masks.size(); ++i) {
            bytes::WriteU32(p + 40 + 4 * i, masks[i]);
        }
        return Dib(std::move(block));
    }
};

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::filesystem::path& path, const std::vector<std::uint8_t>& data)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(data.data()),
              static_cast<std::streamsize>(data.size()));
}

// A fresh empty folder per test, removed afterwards.
struct TempFolder {
    std::filesystem::path path;
    TempFolder()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "kestrel-bitmap-XXXXXX").native();
        path = ::mkdtemp(pattern.data());
    }
    ~TempFolder() { std::filesystem::remove_all(path); }
    std::size_t EntryCount() const
    {
        return static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(path),
                                                      std::filesystem::directory_iterator()));
    }
};

}  // namespace kestrel::test
