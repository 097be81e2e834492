#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// One single-byte character of the barcode font at one pixel height, as
// FreeType renders it: its linear advance (16.16; 0 where the font has no
// glyph or cannot load it) and, where it renders to 256 greys, its bitmap
// with the bitmap's offsets from the pen (left) and the baseline (up).
struct Glyph {
    std::int64_t advance = 0;
    bool drawn = false;
    int left = 0;
    int top = 0;
    int width = 0;
    int rows = 0;
    std::vector<std::uint8_t> alpha;
};

// The glyphs of one pixel height rendered so far, and the height's cell.
struct GlyphTable {
    // The FreeType library file the glyphs came from, and its stamp then:
    // an upgraded library may render them otherwise.
    std::string libraryFile;
    std::string libraryStamp;
    int ascent = 0;
    int descent = 0;
    std::array<std::optional<Glyph>, 256> glyphs;
};

// A table as a file's bytes, headed by `key` (what the glyphs were rendered
// from: the font file, its stamp and FreeType's settings).
std::string SerialiseGlyphTable(const GlyphTable& table, std::string_view key);
// The table a file holds; none when it was made under another key or is
// not whole.
std::optional<GlyphTable> ParseGlyphTable(std::string_view bytes, std::string_view key);

}  // namespace kestrel
