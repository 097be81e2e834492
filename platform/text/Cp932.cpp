#include "text/Cp932.h"

#include <QByteArray>

#include <optional>
#include <utility>

namespace kestrel {
namespace {

// QString::toUtf8 quietly turns a lone surrogate into a replacement
// character; code page 932 has no room for one, so such text is refused.
bool HasLoneSurrogate(const QString& text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c.isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate()) {
            ++i;
        } else if (c.isSurrogate()) {
            return true;
        }
    }
    return false;
}

}  // namespace

QString Cp932ToQString(std::string_view cp932)
{
    const std::string utf8 = Cp932ToUtf8(cp932);
    return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

bool QStringToCp932(const QString& text, std::string& out)
{
    if (HasLoneSurrogate(text)) {
        out.clear();
        return false;
    }
    const QByteArray utf8 = text.toUtf8();
    return Utf8ToCp932(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())),
                       out);
}

std::string QStringToCp932Lossy(const QString& text)
{
    const QByteArray utf8 = text.toUtf8();
    std::optional<std::string> converted = Utf8ToCp932Lossy(
        std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
    if (converted) {
        return std::move(*converted);
    }
    // Only when the charset is missing from the system.
    std::string out;
    for (const QChar c : text) {
        out.push_back(c.unicode() < 0x80 ? static_cast<char>(c.unicode()) : '?');
    }
    return out;
}

}  // namespace kestrel
