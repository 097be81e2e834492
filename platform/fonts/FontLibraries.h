#pragma once

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H

#include <string>

namespace kestrel {

// FreeType's calls the barcode font's text makes, from the library loaded
// the first time a glyph must be rendered. Loading FreeType and fontconfig
// (with the image and compression libraries they bring) cost more than a
// whole one-picture run whose glyphs are cached, so kestrel-cli does not
// link them.
struct FreeTypeCalls {
    decltype(&FT_Init_FreeType) Init;
    decltype(&FT_Done_FreeType) Done;
    decltype(&FT_New_Face) NewFace;
    decltype(&FT_Done_Face) DoneFace;
    decltype(&FT_Set_Pixel_Sizes) SetPixelSizes;
    decltype(&FT_Get_Char_Index) GetCharIndex;
    decltype(&FT_Load_Glyph) LoadGlyph;
    decltype(&FT_Get_Sfnt_Table) GetSfntTable;
    std::string file;  // the library's file, as the dynamic loader found it
};

// Fontconfig's calls, for finding the font file when no cache names it.
struct FontconfigCalls {
    decltype(&FcNameParse) NameParse;
    decltype(&FcConfigSubstitute) ConfigSubstitute;
    decltype(&FcDefaultSubstitute) DefaultSubstitute;
    decltype(&FcFontMatch) FontMatch;
    decltype(&FcPatternGetString) PatternGetString;
    decltype(&FcPatternDestroy) PatternDestroy;
};

// Loaded on the first call from any thread; null when the library or one
// of its calls is missing. The libraries stay loaded.
const FreeTypeCalls* FreeTypeLibrary();
const FontconfigCalls* FontconfigLibrary();

}  // namespace kestrel
