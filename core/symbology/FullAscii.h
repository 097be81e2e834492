#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// The full-ASCII table shared by Extended Code 39 and Extended Code 93: each
// code 0 to 127 as one or two Code 39 characters. Bytes 128 to 255 (half-width
// katakana, double-byte text) have none: an empty expansion.
std::string_view FullAsciiExpansion(unsigned char code);

// Every character of the text is ASCII, so the full-ASCII symbologies can
// draw it (5 otherwise).
int RuleFullAsciiCharacters(const std::string& text);

}  // namespace kestrel
