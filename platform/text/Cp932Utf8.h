#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

// Conversions between code page 932 (Shift-JIS) and Unicode, used only at the
// edges of the program: widgets, clipboard, command line, fonts, the profile.
//
// Towards code page 932 a few Unicode characters fold into the code Japanese
// text has always used for them, because that is what input methods and other
// encoders produce: U+00A5 YEN SIGN becomes 0x5C, U+203E OVERLINE 0x7E,
// U+301C WAVE DASH 0x8160, and U+2014, U+2016, U+2212, U+00AC the codes of
// their look-alikes.
// Towards Unicode, the NEC and IBM duplicates of one character give the same
// character, so those bytes do not survive a round trip unchanged.

// UTF-8 to code page 932. False when the input is not valid UTF-8 or holds a
// character code page 932 cannot represent; `out` is then unspecified.
bool Utf8ToCp932(std::string_view utf8, std::string& out);

// Code page 932 to UTF-8. Never fails: a byte sequence that is not valid code
// page 932 becomes U+FFFD for each byte.
std::string Cp932ToUtf8(std::string_view cp932);

// UTF-8 to code page 932 as the 8-bit Windows functions convert: each
// character code page 932 cannot represent, and each byte that is not UTF-8,
// becomes '?', so the rest of a text survives. None only when the system
// has no code page 932 converter.
std::optional<std::string> Utf8ToCp932Lossy(std::string_view utf8);

}  // namespace kestrel
