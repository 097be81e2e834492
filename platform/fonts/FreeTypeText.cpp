#include "fonts/FreeTypeText.h"

#include "fonts/CacheFiles.h"
#include "fonts/FontLibraries.h"
#include "fonts/GlyphTable.h"
#include "render/DrawBarcode.h"


#include <algorithm>
#include <array>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <tuple>
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
    const FontconfigCalls* fc = FontconfigLibrary();
    FcPattern* pattern = fc != nullptr
                             ? fc->NameParse(reinterpret_cast<const FcChar8*>("IPAGothic"))
                             : nullptr;
    if (pattern == nullptr) {
        return file;
    }
    fc->ConfigSubstitute(nullptr, pattern, FcMatchPattern);
    fc->DefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = fc->FontMatch(nullptr, pattern, &result);
    FcChar8* family = nullptr;
    FcChar8* path = nullptr;
    if (match != nullptr && fc->PatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch
        && std::string_view(reinterpret_cast<const char*>(family)) == "IPAGothic"
        && fc->PatternGetString(match, FC_FILE, 0, &path) == FcResultMatch) {
        file = reinterpret_cast<const char*>(path);
    }
    if (match != nullptr) {
        fc->PatternDestroy(match);
    }
    fc->PatternDestroy(pattern);
    return file;
}

// Fontconfig takes several milliseconds to load its configuration and
// caches, more than the whole of a one-picture run without it. So the file
// it gave is kept in the user's cache folder with the file's size and time,
// and taken from there while the file is unchanged. Removing the cache file
// makes the next run ask fontconfig again.
std::string FontFileCachePath()
{
    const std::string folder = CacheFolder();
    return folder.empty() ? folder : folder + "/barcode-font";
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
        ReplaceFile(cachePath, file + '\n' + FileStamp(file) + '\n');
    }
    return file;
}

// The Unicode character of a single code page 932 byte.
FT_ULong CodePoint(unsigned char byte)
{
    return byte >= 0xA1 ? 0xFF61 + (byte - 0xA1) : byte;  // half-width katakana
}

}  // namespace

// Opening the face and FreeType's first light-hinted glyph (which makes
// the auto-hinter map every character of the font) cost more than drawing
// a whole picture. So each pixel height's glyphs, once rendered, are kept
// in the user's cache folder, headed by what they were rendered from, and
// the face is opened only for a glyph none of those files holds.
// GlyphTable's header changes whenever the rendering here does.
struct FreeTypeText::Face {
    const FreeTypeCalls* ft = nullptr;  // loaded with the face
    FT_Library library = nullptr;
    FT_Face face = nullptr;
    std::string file;  // the font file
    std::string key;   // what the glyphs in the cache files were made from
    int height = -1;   // the pixel height set on `face`
    std::array<std::unique_ptr<GlyphTable>, LargestHeight + 1> tables;
    std::array<bool, LargestHeight + 1> changed{};  // glyphs the cache files lack

    // The heights whose tables gained glyphs go to their cache files once,
    // as the text ends, rather than at every new glyph.
    ~Face()
    {
        for (std::size_t pixels = 0; pixels < tables.size(); ++pixels) {
            const std::string path = TablePath(static_cast<int>(pixels));
            if (changed[pixels] && tables[pixels] && !path.empty()) {
                ReplaceFile(path, SerialiseGlyphTable(*tables[pixels], key));
            }
        }
        if (face != nullptr) {
            ft->DoneFace(face);
        }
        if (library != nullptr) {
            ft->Done(library);
        }
    }

    // The font file and what decides which FreeType loads and how it
    // renders (the library's own file is checked as each table is read).
    void SetFile(std::string fontFile)
    {
        file = std::move(fontFile);
        key = file + '\n' + FileStamp(file);
        for (const char* variable : {"FREETYPE_PROPERTIES", "LD_LIBRARY_PATH"}) {
            const char* value = std::getenv(variable);
            key.append(1, '\n').append(value != nullptr ? value : "");
        }
        for (std::unique_ptr<GlyphTable>& table : tables) {
            table.reset();
        }
        changed.fill(false);
    }

    // A cached file that is no longer a font sends the lookup back to
    // fontconfig, once.
    bool OpenFace()
    {
        if (face != nullptr) {
            return true;
        }
        if (library == nullptr) {
            ft = FreeTypeLibrary();
            if (ft == nullptr || ft->Init(&library) != 0) {
                library = nullptr;
                return false;
            }
        }
        if (ft->NewFace(library, file.c_str(), 0, &face) == 0) {
            return true;
        }
        face = nullptr;
        std::string fresh = BarcodeFontFile(false);
        if (fresh.empty() || ft->NewFace(library, fresh.c_str(), 0, &face) != 0) {
            face = nullptr;
            return false;
        }
        if (fresh != file) {
            SetFile(std::move(fresh));
        }
        return true;
    }

    bool SetSize(int pixels)
    {
        if (!OpenFace()) {
            return false;
        }
        if (pixels != height) {
            if (ft->SetPixelSizes(face, 0, static_cast<FT_UInt>(pixels)) != 0) {
                return false;
            }
            height = pixels;
        }
        return true;
    }

    static std::string TablePath(int pixels)
    {
        const std::string folder = CacheFolder();
        return folder.empty() ? folder : folder + "/glyphs/" + std::to_string(pixels);
    }

    // The height's table: from its cache file when that was made from the
    // same font, else started from the face.
    GlyphTable* Table(int pixels)
    {
        std::unique_ptr<GlyphTable>& table = tables[static_cast<std::size_t>(pixels)];
        if (table) {
            return table.get();
        }
        const std::string path = TablePath(pixels);
        const std::optional<std::string> bytes = path.empty() ? std::nullopt : ReadWholeFile(path);
        std::optional<GlyphTable> stored = bytes ? ParseGlyphTable(*bytes, key) : std::nullopt;
        if (stored
            && (stored->libraryStamp.empty()
                || FileStamp(stored->libraryFile) != stored->libraryStamp)) {
            stored.reset();
        }
        if (!stored) {
            if (!SetSize(pixels)) {
                return nullptr;
            }
            stored.emplace();
            std::tie(stored->ascent, stored->descent) = CellOfFace();
        }
        // Opening the face may have found another file, and so another key.
        std::unique_ptr<GlyphTable>& slot = tables[static_cast<std::size_t>(pixels)];
        slot = std::make_unique<GlyphTable>(std::move(*stored));
        return slot.get();
    }

    // The glyph of a single-byte character, rendered and added to the
    // height's cache file where it is new.
    const Glyph* GlyphOf(int pixels, unsigned char c)
    {
        GlyphTable* table = Table(pixels);
        if (table == nullptr) {
            return nullptr;
        }
        if (!table->glyphs[c]) {
            if (!SetSize(pixels) || table != tables[static_cast<std::size_t>(pixels)].get()) {
                return nullptr;
            }
            table->glyphs[c] = Render(c);
            table->libraryFile = ft->file;
            table->libraryStamp = FileStamp(ft->file);
            changed[static_cast<std::size_t>(pixels)] = true;
        }
        return &*table->glyphs[c];
    }

    Glyph Render(unsigned char c) const
    {
        Glyph glyph;
        const FT_UInt index = ft->GetCharIndex(face, CodePoint(c));
        if (index == 0) {
            return glyph;
        }
        if (ft->LoadGlyph(face, index, FT_LOAD_TARGET_LIGHT | FT_LOAD_RENDER) != 0) {
            if (ft->LoadGlyph(face, index, FT_LOAD_TARGET_LIGHT) == 0) {
                glyph.advance = face->glyph->linearHoriAdvance;
            }
            return glyph;
        }
        const FT_GlyphSlot slot = face->glyph;
        const FT_Bitmap& bitmap = slot->bitmap;
        glyph.advance = slot->linearHoriAdvance;
        glyph.drawn = bitmap.pixel_mode == FT_PIXEL_MODE_GRAY && bitmap.num_grays == 256;
        if (!glyph.drawn) {
            return glyph;
        }
        glyph.left = slot->bitmap_left;
        glyph.top = slot->bitmap_top;
        glyph.width = static_cast<int>(bitmap.width);
        glyph.rows = static_cast<int>(bitmap.rows);
        for (unsigned y = 0; y < bitmap.rows; ++y) {
            const unsigned char* row = bitmap.buffer
                                       + static_cast<std::ptrdiff_t>(y) * bitmap.pitch;
            glyph.alpha.insert(glyph.alpha.end(), row, row + bitmap.width);
        }
        return glyph;
    }

    // Ascent and descent in pixels at the face's height, from the
    // horizontal header.
    std::pair<int, int> CellOfFace() const
    {
        const auto* hhea = static_cast<const TT_HoriHeader*>(ft->GetSfntTable(face, FT_SFNT_HHEA));
        if (hhea == nullptr || face->units_per_EM == 0) {
            return {height, 0};
        }
        const double scale = static_cast<double>(height) / face->units_per_EM;
        return {static_cast<int>(std::lround(hhea->Ascender * scale)),
                static_cast<int>(std::lround(-hhea->Descender * scale))};
    }
};

namespace {

// The pixel height FreeType answers for the request at; none where it
// does not answer.
std::optional<int> AnsweredHeight(const FontRequest& font, std::string_view text)
{
    const int pixels = font.height > 0 ? font.height : DefaultHeight;
    if (font.faceName != BarcodeFontFace || font.weight != NormalWeight || pixels > LargestHeight
        || !SingleByteCharacters(text)) {
        return std::nullopt;
    }
    return pixels;
}

}  // namespace

FreeTypeText::FreeTypeText(std::unique_ptr<Face> face) : face_(std::move(face)) {}

FreeTypeText::~FreeTypeText() = default;

std::unique_ptr<FreeTypeText> FreeTypeText::Open()
{
    auto face = std::make_unique<Face>();
    std::string file = BarcodeFontFile(true);
    if (file.empty()) {
        return nullptr;
    }
    face->SetFile(std::move(file));
    return std::unique_ptr<FreeTypeText>(new FreeTypeText(std::move(face)));
}

std::optional<TextExtent> FreeTypeText::Measure(const FontRequest& font, std::string_view text)
{
    const std::optional<int> pixels = AnsweredHeight(font, text);
    if (!pixels) {
        return std::nullopt;
    }
    std::int64_t width = 0;  // 16.16
    for (const char c : text) {
        const Glyph* glyph = face_->GlyphOf(*pixels, static_cast<unsigned char>(c));
        if (glyph == nullptr || glyph->advance == 0) {
            return std::nullopt;
        }
        width += glyph->advance;
    }
    const GlyphTable* table = face_->Table(*pixels);
    if (table == nullptr) {
        return std::nullopt;
    }
    return TextExtent{static_cast<int>((width + 0x8000) >> 16), table->ascent + table->descent,
                      table->ascent};
}

namespace {

// One glyph's coverage where it stands in the text's cell.
struct PlacedGlyph {
    int left;
    int top;
    int width;
    int rows;
    const Glyph* glyph;
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
                const std::uint32_t a = g.glyph->alpha[static_cast<std::size_t>(y) * g.width + x];
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
    const std::optional<int> pixels = AnsweredHeight(font, text);
    if (!pixels) {
        return std::nullopt;
    }
    std::vector<PlacedGlyph> glyphs;
    std::int64_t pen = 0;  // 16.16
    for (const char c : text) {
        if ((pen & 0xFFFF) != 0) {
            return std::nullopt;  // Qt would draw it at a fraction of a pixel
        }
        const Glyph* glyph = face_->GlyphOf(*pixels, static_cast<unsigned char>(c));
        if (glyph == nullptr || !glyph->drawn) {
            return std::nullopt;
        }
        glyphs.push_back(
            {static_cast<int>(pen >> 16) + glyph->left, 0, glyph->width, glyph->rows, glyph});
        pen += glyph->advance;
    }
    const GlyphTable* table = face_->Table(*pixels);
    if (table == nullptr) {
        return std::nullopt;
    }
    for (PlacedGlyph& placed : glyphs) {
        placed.top = table->ascent - placed.glyph->top;
    }
    return TrimToInk(BlendBlackOnWhite(glyphs));
}

}  // namespace kestrel
