#include "fonts/GlyphTable.h"

#include <cstring>

namespace kestrel {

namespace {

constexpr std::string_view Magic = "kestrel glyphs 2\n";

template <class Number>
void Put(std::string& bytes, Number value)
{
    char raw[sizeof value];
    std::memcpy(raw, &value, sizeof value);
    bytes.append(raw, sizeof value);
}

// Reads numbers off the front of the bytes; once one is missing, every
// later read fails too.
class Reader {
public:
    explicit Reader(std::string_view bytes) : rest_(bytes) {}

    template <class Number>
    bool Get(Number& value)
    {
        if (rest_.size() < sizeof value) {
            return false;
        }
        std::memcpy(&value, rest_.data(), sizeof value);
        rest_.remove_prefix(sizeof value);
        return true;
    }

    bool Bytes(std::size_t count, std::vector<std::uint8_t>& out)
    {
        if (rest_.size() < count) {
            return false;
        }
        out.assign(rest_.begin(), rest_.begin() + static_cast<std::ptrdiff_t>(count));
        rest_.remove_prefix(count);
        return true;
    }

    // A text ended by a NUL.
    bool Text(std::string& out)
    {
        const std::size_t end = rest_.find('\0');
        if (end == std::string_view::npos) {
            return false;
        }
        out.assign(rest_.substr(0, end));
        rest_.remove_prefix(end + 1);
        return true;
    }

    bool AtEnd() const { return rest_.empty(); }

private:
    std::string_view rest_;
};

// Bitmaps of a glyph at 64 pixels are far smaller than this.
constexpr std::int32_t LargestSide = 1024;

bool ReadGlyph(Reader& reader, Glyph& glyph)
{
    std::uint8_t drawn = 0;
    std::int32_t numbers[4] = {};
    if (!reader.Get(glyph.advance) || !reader.Get(drawn) || drawn > 1) {
        return false;
    }
    for (std::int32_t& number : numbers) {
        if (!reader.Get(number)) {
            return false;
        }
    }
    glyph.drawn = drawn == 1;
    glyph.left = numbers[0];
    glyph.top = numbers[1];
    glyph.width = numbers[2];
    glyph.rows = numbers[3];
    if (glyph.width < 0 || glyph.rows < 0 || glyph.width > LargestSide
        || glyph.rows > LargestSide) {
        return false;
    }
    return reader.Bytes(static_cast<std::size_t>(glyph.width) * glyph.rows, glyph.alpha);
}

}  // namespace

std::string SerialiseGlyphTable(const GlyphTable& table, std::string_view key)
{
    std::string bytes(Magic);
    for (const std::string_view text :
         {key, std::string_view(table.libraryFile), std::string_view(table.libraryStamp)}) {
        bytes.append(text);
        bytes.push_back('\0');
    }
    Put<std::int32_t>(bytes, table.ascent);
    Put<std::int32_t>(bytes, table.descent);
    for (std::size_t c = 0; c < table.glyphs.size(); ++c) {
        if (!table.glyphs[c]) {
            continue;
        }
        const Glyph& glyph = *table.glyphs[c];
        Put<std::uint8_t>(bytes, static_cast<std::uint8_t>(c));
        Put<std::int64_t>(bytes, glyph.advance);
        Put<std::uint8_t>(bytes, glyph.drawn ? 1 : 0);
        for (const int number : {glyph.left, glyph.top, glyph.width, glyph.rows}) {
            Put<std::int32_t>(bytes, number);
        }
        bytes.append(glyph.alpha.begin(), glyph.alpha.end());
    }
    return bytes;
}

std::optional<GlyphTable> ParseGlyphTable(std::string_view bytes, std::string_view key)
{
    if (bytes.substr(0, Magic.size()) != Magic) {
        return std::nullopt;
    }
    bytes.remove_prefix(Magic.size());
    if (bytes.size() <= key.size() || bytes.substr(0, key.size()) != key
        || bytes[key.size()] != '\0') {
        return std::nullopt;
    }
    Reader reader(bytes.substr(key.size() + 1));
    GlyphTable table;
    std::int32_t ascent = 0;
    std::int32_t descent = 0;
    if (!reader.Text(table.libraryFile) || !reader.Text(table.libraryStamp) || !reader.Get(ascent)
        || !reader.Get(descent)) {
        return std::nullopt;
    }
    table.ascent = ascent;
    table.descent = descent;
    while (!reader.AtEnd()) {
        std::uint8_t c = 0;
        Glyph glyph;
        if (!reader.Get(c) || table.glyphs[c] || !ReadGlyph(reader, glyph)) {
            return std::nullopt;
        }
        table.glyphs[c] = std::move(glyph);
    }
    return table;
}

}  // namespace kestrel
