#include "fonts/FreeTypeText.h"

#include "render/DrawBarcode.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace kestrel {

namespace {

constexpr int LargestHeight = 64;  // Qt draws taller text from outlines
constexpr int NormalWeight = 400;
constexpr int DefaultHeight = 12;  // what a height of 0 or less asks for

// The file fontconfig gives for IPAGothic, when that is the family it gives.
std::string FontconfigBarcodeFontFile()
{
    std::string file;
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>("IPAGothic"));
    if (pattern == nullptr) {
        return file;
    }
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    FcChar8* family = nullptr;
    FcChar8* path = nullptr;
    if (match != nullptr && FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch
        && std::string_view(reinterpret_cast<const char*>(family)) == "IPAGothic"
        && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        file = reinterpret_cast<const char*>(path);
    }
    if (match != nullptr) {
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return file;
}

// Fontconfig takes several milliseconds to load its configuration and
// caches, more than the whole of a one-picture run without it. So the file
// it gave is kept in the user's cache folder with the file's size and time,
// and taken from there while the file is unchanged. Removing the cache file
// makes the next run ask fontconfig again.
std::string FontFileCachePath()
{
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') {
        return std::string(cache) + "/kestrel/barcode-font";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.cache/kestrel/barcode-font";
    }
    return {};
}

// The file's size and modification time, as the cache records them.
std::string FileStamp(const std::string& file)
{
    struct stat status {};
    if (stat(file.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return {};
    }
    return std::to_string(status.st_size) + ' ' + std::to_string(status.st_mtim.tv_sec) + '.'
           + std::to_string(status.st_mtim.tv_nsec);
}

std::string CachedFontFile(const std::string& cachePath)
{
    std::ifstream cache(cachePath);
    std::string file;
    std::string stamp;
    if (!std::getline(cache, file) || !std::getline(cache, stamp) || stamp.empty()
        || FileStamp(file) != stamp) {
        return {};
    }
    return file;
}

// Written beside and renamed over, so a reader never sees half of it; a
// cache that cannot be written only costs the next run the lookup.
void CacheFontFile(const std::string& cachePath, const std::string& file)
{
    const std::string stamp = FileStamp(file);
    const std::size_t slash = cachePath.rfind('/');
    std::error_code error;
    std::filesystem::create_directories(cachePath.substr(0, slash), error);
    const std::string temporary = cachePath + '.' + std::to_string(getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        out << file << '\n' << stamp << '\n';
        if (!out.flush()) {
            std::filesystem::remove(temporary, error);
            return;
        }
    }
    std::filesystem::rename(temporary, cachePath, error);
    if (error) {
        std::filesystem::remove(temporary, error);
    }
}

// The barcode font's file: the one cached, when `cached`, else fontconfig's
// answer, which is then cached.
std::string BarcodeFontFile(bool cached)
{
    const std::string cachePath = FontFileCachePath();
    if (cached && !cachePath.empty()) {
        std::string file = CachedFontFile(cachePath);
        if (!file.empty()) {
            return file;
        }
    }
    std::string file = FontconfigBarcodeFontFile();
    if (!file.empty() && !cachePath.empty()) {
        CacheFontFile(cachePath, file);
    }
    return file;
}

// The Unicode character of a single code page 932 byte.
FT_ULong CodePoint(unsigned char byte)
{
    return byte >= 0xA1 ? 0xFF61 + (byte - 0xA1) : byte;  // half-width katakana
}

}  // namespace

struct FreeTypeText::Face {
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    int height = -1;  // the pixel height set on the face
    // Linear advances (16.16) of the single-byte characters at `height`;
    // -1 where not yet loaded, 0 where the font has no glyph.
    std::array<FT_Fixed, 256> advances{};

    ~Face()
    {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
        if (library != nullptr) {
            FT_Done_FreeType(library);
        }
    }

    // The face at the request's size; false when FreeType answers for none.
    bool Select(const FontRequest& font, std::string_view text)
    {
        const int pixels = font.height > 0 ? font.height : DefaultHeight;
        if (font.faceName != BarcodeFontFace || font.weight != NormalWeight
            || pixels > LargestHeight || !SingleByteCharacters(text)) {
            return false;
        }
        if (pixels != height) {
            if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) {
                return false;
            }
            height = pixels;
            advances.fill(-1);
        }
        return true;
    }

    // Ascent and descent in pixels, from the horizontal header.
    std::pair<int, int> Cell() const
    {
        const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
        if (hhea == nullptr || face->units_per_EM == 0) {
            return {height, 0};
        }
        const double scale = static_cast<double>(height) / face->units_per_EM;
        return {static_cast<int>(std::lround(hhea->Ascender * scale)),
                static_cast<int>(std::lround(-hhea->Descender * scale))};
    }
};

FreeTypeText::FreeTypeText(std::unique_ptr<Face> face) : face_(std::move(face)) {}

FreeTypeText::~FreeTypeText() = default;

std::unique_ptr<FreeTypeText> FreeTypeText::Open()
{
    auto face = std::make_unique<Face>();
    if (FT_Init_FreeType(&face->library) != 0) {
        return nullptr;
    }
    // A cached file that is no longer a font sends the lookup back to
    // fontconfig, once.
    for (const bool cached : {true, false}) {
        const std::string file = BarcodeFontFile(cached);
        if (file.empty()) {
            return nullptr;
        }
        if (FT_New_Face(face->library, file.c_str(), 0, &face->face) == 0) {
            return std::unique_ptr<FreeTypeText>(new FreeTypeText(std::move(face)));
        }
        face->face = nullptr;
    }
    return nullptr;
}

std::optional<TextExtent> FreeTypeText::Measure(const FontRequest& font, std::string_view text)
{
    if (!face_->Select(font, text)) {
        return std::nullopt;
    }
    FT_Fixed width = 0;  // 16.16
    for (const char c : text) {
        FT_Fixed& advance = face_->advances[static_cast<unsigned char>(c)];
        if (advance < 0) {
            const FT_UInt glyph = FT_Get_Char_Index(face_->face,
                                                    CodePoint(static_cast<unsigned char>(c)));
            advance = glyph != 0 && FT_Load_Glyph(face_->face, glyph, FT_LOAD_TARGET_LIGHT) == 0
                          ? face_->face->glyph->linearHoriAdvance
                          : 0;
        }
        if (advance == 0) {
            return std::nullopt;
        }
        width += advance;
    }
    const auto [ascent, descent] = face_->Cell();
    return TextExtent{static_cast<int>((width + 0x8000) >> 16), ascent + descent};
}

namespace {

// One glyph's coverage where it stands in the text's cell.
struct PlacedGlyph {
    int left;
    int top;
    int width;
    int rows;
    std::vector<std::uint8_t> alpha;
};

// The glyphs' coverages blended black on white one after another, as Qt
// blends them, cut to the inked box: the coverage is what is left of the
// white.
TextCoverage BlendBlackOnWhite(const std::vector<PlacedGlyph>& glyphs)
{
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    bool any = false;
    for (const PlacedGlyph& g : glyphs) {
        if (g.width > 0 && g.rows > 0) {
            left = any ? std::min(left, g.left) : g.left;
            top = any ? std::min(top, g.top) : g.top;
            right = any ? std::max(right, g.left + g.width) : g.left + g.width;
            bottom = any ? std::max(bottom, g.top + g.rows) : g.top + g.rows;
            any = true;
        }
    }
    if (!any) {
        return {};
    }
    TextCoverage all{left, top, right - left, bottom - top, {}};
    std::vector<std::uint32_t> white(static_cast<std::size_t>(all.width) * all.height, 255);
    for (const PlacedGlyph& g : glyphs) {
        for (int y = 0; y < g.rows; ++y) {
            for (int x = 0; x < g.width; ++x) {
                const std::uint32_t a = g.alpha[static_cast<std::size_t>(y) * g.width + x];
                std::uint32_t& p = white[static_cast<std::size_t>(g.top - top + y) * all.width
                                         + static_cast<std::size_t>(g.left - left + x)];
                const std::uint32_t t = p * (255 - a);
                p = (t + (t >> 8) + 0x80) >> 8;  // rounded as Qt rounds x × a / 255
            }
        }
    }
    for (const std::uint32_t p : white) {
        all.alpha.push_back(static_cast<std::uint8_t>(255 - p));
    }
    return all;
}

}  // namespace

std::optional<TextCoverage> FreeTypeText::Coverage(const FontRequest& font, std::string_view text)
{
    if (!face_->Select(font, text)) {
        return std::nullopt;
    }
    std::vector<PlacedGlyph> glyphs;
    const int ascent = face_->Cell().first;
    FT_Fixed pen = 0;  // 16.16
    for (const char c : text) {
        if ((pen & 0xFFFF) != 0) {
            return std::nullopt;  // Qt would draw it at a fraction of a pixel
        }
        const FT_UInt glyph = FT_Get_Char_Index(face_->face,
                                                CodePoint(static_cast<unsigned char>(c)));
        if (glyph == 0
            || FT_Load_Glyph(face_->face, glyph, FT_LOAD_TARGET_LIGHT | FT_LOAD_RENDER) != 0) {
            return std::nullopt;
        }
        const FT_GlyphSlot slot = face_->face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.num_grays != 256) {
            return std::nullopt;
        }
        PlacedGlyph placed{static_cast<int>(pen >> 16) + slot->bitmap_left,
                           ascent - slot->bitmap_top,
                           static_cast<int>(bitmap.width),
                           static_cast<int>(bitmap.rows),
                           {}};
        for (unsigned y = 0; y < bitmap.rows; ++y) {
            const unsigned char* row = bitmap.buffer
                                       + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
            placed.alpha.insert(placed.alpha.end(), row, row + bitmap.width);
        }
        glyphs.push_back(std::move(placed));
        pen += slot->linearHoriAdvance;
    }
    return TrimToInk(BlendBlackOnWhite(glyphs));
}

}  // namespace kestrel
