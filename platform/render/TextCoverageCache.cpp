#include "render/TextCoverageCache.h"

#include "fonts/FreeTypeText.h"

#include <utility>

namespace kestrel {

TextCoverageCache::TextCoverageCache(TextCoverageSource slower)
    : slower_(std::move(slower)), freeType_(FreeTypeText::Open())
{
}

TextCoverageCache::~TextCoverageCache() = default;

const TextCoverage* TextCoverageCache::Find(const FontRequest& font, std::string_view text)
{
    // The numbers as their bytes, the face up to a NUL, then the text: built
    // in one kept buffer, since most lookups find what an earlier one made.
    const int numbers[] = {font.height, font.weight, static_cast<int>(font.charset)};
    key_.assign(reinterpret_cast<const char*>(numbers), sizeof numbers);
    key_.append(font.faceName);
    key_.push_back('\0');
    key_.append(text);
    const auto found = entries_.find(key_);
    if (found != entries_.end()) {
        return found->second ? &*found->second : nullptr;
    }
    if (entries_.size() >= MaxEntries) {
        entries_.clear();
    }
    std::optional<TextCoverage> coverage = freeType_ ? freeType_->Coverage(font, text)
                                                     : std::nullopt;
    if (!coverage && slower_) {
        coverage = slower_(font, text);
    }
    const auto [entry, inserted] = entries_.emplace(key_, std::move(coverage));
    return entry->second ? &*entry->second : nullptr;
}

std::optional<TextExtent> TextCoverageCache::Measure(const FontRequest& font, std::string_view text)
{
    return freeType_ ? freeType_->Measure(font, text) : std::nullopt;
}

}  // namespace kestrel
