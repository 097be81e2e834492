#include "document/CodeTextFit.h"

#include "text/Cp932.h"

#include <string>

namespace kestrel {

namespace {

// Bytes in code page 932; none for a character it has no code for.
std::optional<std::size_t> ByteCount(const QString& text)
{
    std::string bytes;
    if (!QStringToCp932(text, bytes)) {
        return std::nullopt;
    }
    return bytes.size();
}

}  // namespace

std::optional<FittedText> FitInsertion(const QString& before, const QString& after, int cursor,
                                       std::size_t limit)
{
    if (cursor < 0 || cursor > after.size()) {
        return std::nullopt;
    }
    // What follows the cursor is what followed the edit in `before`.
    const qsizetype suffix = after.size() - cursor;
    if (suffix > before.size() || before.right(suffix) != after.right(suffix)) {
        return std::nullopt;
    }
    // What precedes the insertion is common to both; the rest of `before`
    // up to the suffix was a selection the edit replaced.
    qsizetype prefix = 0;
    const qsizetype prefixLimit = std::min<qsizetype>(cursor, before.size() - suffix);
    while (prefix < prefixLimit && before.at(prefix) == after.at(prefix)) {
        ++prefix;
    }
    if (prefix > 0 && before.at(prefix - 1).isHighSurrogate()) {
        --prefix;  // a pair is kept or replaced whole
    }
    const QString kept = after.left(prefix) + after.right(suffix);
    const std::optional<std::size_t> keptBytes = ByteCount(kept);
    const std::optional<std::size_t> insertedBytes = ByteCount(after.mid(prefix, cursor - prefix));
    if (!keptBytes || !insertedBytes) {
        return std::nullopt;
    }
    std::size_t total = *keptBytes;
    qsizetype end = prefix;
    while (end < cursor) {
        const qsizetype length = after.at(end).isHighSurrogate() && end + 1 < cursor ? 2 : 1;
        const std::size_t bytes = ByteCount(after.mid(end, length)).value_or(limit + 1);
        if (total + bytes > limit) {
            break;
        }
        total += bytes;
        end += length;
    }
    return FittedText{after.left(end) + after.right(suffix), static_cast<int>(end)};
}

}  // namespace kestrel
