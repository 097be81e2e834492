#pragma once

#include <QString>

#include <string>
#include <string_view>

namespace kestrel {

// Conversions between code page 932 (Shift-JIS) and Unicode, used only at the
// edges of the program: widgets, clipboard, command line, fonts, the profile.

// UTF-8 to code page 932. False when the input is not valid UTF-8 or holds a
// character code page 932 cannot represent; `out` is then unspecified.
bool Utf8ToCp932(std::string_view utf8, std::string& out);

// Code page 932 to UTF-8. Never fails: a byte sequence that is not valid code
// page 932 becomes U+FFFD for each byte.
std::string Cp932ToUtf8(std::string_view cp932);

QString Cp932ToQString(std::string_view cp932);
// False when `text` holds a character code page 932 cannot represent.
bool QStringToCp932(const QString& text, std::string& out);

}  // namespace kestrel
