#include "fonts/FontLibraries.h"

#include <dlfcn.h>
#include <link.h>

#include <optional>

namespace kestrel {

namespace {

// One call of a library loaded with dlopen; false when it is missing.
template <class Call>
bool Find(void* library, const char* name, Call& call)
{
    // dlsym answers with an object pointer; POSIX guarantees the cast.
    call = reinterpret_cast<Call>(dlsym(library, name));
    return call != nullptr;
}

std::optional<FreeTypeCalls> LoadFreeType()
{
    void* library = dlopen("libfreetype.so.6", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return std::nullopt;
    }
    FreeTypeCalls calls{};
    link_map* map = nullptr;
    if (dlinfo(library, RTLD_DI_LINKMAP, &map) == 0 && map != nullptr && map->l_name != nullptr) {
        calls.file = map->l_name;
    }
    if (!Find(library, "FT_Init_FreeType", calls.Init)
        || !Find(library, "FT_Done_FreeType", calls.Done)
        || !Find(library, "FT_New_Face", calls.NewFace)
        || !Find(library, "FT_Done_Face", calls.DoneFace)
        || !Find(library, "FT_Set_Pixel_Sizes", calls.SetPixelSizes)
        || !Find(library, "FT_Get_Char_Index", calls.GetCharIndex)
        || !Find(library, "FT_Load_Glyph", calls.LoadGlyph)
        || !Find(library, "FT_Get_Sfnt_Table", calls.GetSfntTable)) {
        return std::nullopt;
    }
    return calls;
}

std::optional<FontconfigCalls> LoadFontconfig()
{
    void* library = dlopen("libfontconfig.so.1", RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr) {
        return std::nullopt;
    }
    FontconfigCalls calls{};
    if (!Find(library, "FcNameParse", calls.NameParse)
        || !Find(library, "FcConfigSubstitute", calls.ConfigSubstitute)
        || !Find(library, "FcDefaultSubstitute", calls.DefaultSubstitute)
        || !Find(library, "FcFontMatch", calls.FontMatch)
        || !Find(library, "FcPatternGetString", calls.PatternGetString)
        || !Find(library, "FcPatternDestroy", calls.PatternDestroy)) {
        return std::nullopt;
    }
    return calls;
}

}  // namespace

const FreeTypeCalls* FreeTypeLibrary()
{
    static const std::optional<FreeTypeCalls> calls = LoadFreeType();
    return calls ? &*calls : nullptr;
}

const FontconfigCalls* FontconfigLibrary()
{
    static const std::optional<FontconfigCalls> calls = LoadFontconfig();
    return calls ? &*calls : nullptr;
}

}  // namespace kestrel
