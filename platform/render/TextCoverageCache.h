#pragma once

#include "render/DrawingSurface.h"
#include "render/RasterSurface.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace kestrel {

class FreeTypeText;

// The coverage of a text in a font, where a source can give it.
using TextCoverageSource =
    std::function<std::optional<TextCoverage>(const FontRequest&, std::string_view)>;

// Text coverages by font and text, each taken once: from FreeType where it
// gives what Qt draws, else from `slower` (Qt's own drawing). Texts that
// change with every picture would grow it without end, so it starts again
// past a thousand entries. One cache serves one thread.
class TextCoverageCache {
public:
    explicit TextCoverageCache(TextCoverageSource slower);
    ~TextCoverageCache();
    TextCoverageCache(const TextCoverageCache&) = delete;
    TextCoverageCache& operator=(const TextCoverageCache&) = delete;

    // Valid until the next call; none where neither source gives one.
    const TextCoverage* Find(const FontRequest& font, std::string_view text);
    // The text's extent where FreeType knows it.
    std::optional<TextExtent> Measure(const FontRequest& font, std::string_view text);

private:
    static constexpr std::size_t MaxEntries = 1024;

    TextCoverageSource slower_;
    std::unique_ptr<FreeTypeText> freeType_;
    std::string key_;
    std::unordered_map<std::string, std::optional<TextCoverage>> entries_;
};

}  // namespace kestrel
