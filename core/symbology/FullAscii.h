#pragma once

#include <string_view>

namespace kestrel {

// The full-ASCII table shared by Extended Code 39 and Extended Code 93: each
// code 0 to 127 as one or two Code 39 characters. Bytes 128 to 255 fold onto
// 0 to 127 (top bit cleared).
std::string_view FullAsciiExpansion(unsigned char code);

}  // namespace kestrel
