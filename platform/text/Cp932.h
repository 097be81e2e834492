#pragma once

#include "text/Cp932Utf8.h"

#include <QString>

#include <string>
#include <string_view>

namespace kestrel {

// The same conversions for Qt's strings (see Cp932Utf8.h).
QString Cp932ToQString(std::string_view cp932);
// False when `text` holds a character code page 932 cannot represent.
bool QStringToCp932(const QString& text, std::string& out);
// Never fails: each character code page 932 cannot represent becomes '?', as
// the 8-bit Windows functions do, so the rest of a text survives.
std::string QStringToCp932Lossy(const QString& text);

}  // namespace kestrel
