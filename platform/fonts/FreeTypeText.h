#pragma once

#include "render/DrawingSurface.h"
#include "render/RasterSurface.h"

#include <memory>
#include <optional>
#include <string_view>

namespace kestrel {

// The barcode font's text straight from FreeType, without Qt: the coverage
// and width Qt gives for the same text, where FreeType can give them the
// same. That is the face "ＭＳ Ｐゴシック" maps to (IPAGothic, found through
// fontconfig) at the normal weight, heights up to 64 pixels, and ASCII or
// half-width katakana whose glyphs all stand at whole pixels: Qt renders
// those with FreeType's light hinting, lays them out by the font's linear
// advances and blends them one after another. Anything else has no answer
// here. One object serves one thread.
class FreeTypeText {
public:
    // None when FreeType or the font cannot be had.
    static std::unique_ptr<FreeTypeText> Open();
    ~FreeTypeText();
    FreeTypeText(const FreeTypeText&) = delete;
    FreeTypeText& operator=(const FreeTypeText&) = delete;

    // The coverage of the text drawn at the left top of its cell.
    std::optional<TextCoverage> Coverage(const FontRequest& font, std::string_view text);
    // Its width, and the cell's height (the font's typographic ascent and
    // descent, rounded).
    std::optional<TextExtent> Measure(const FontRequest& font, std::string_view text);

    struct Face;

private:
    explicit FreeTypeText(std::unique_ptr<Face> face);
    std::unique_ptr<Face> face_;
};

}  // namespace kestrel
