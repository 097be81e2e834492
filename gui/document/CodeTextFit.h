#pragma once

#include <QString>

#include <cstddef>
#include <optional>

namespace kestrel {

// What an edit box with a byte limit keeps of an edit that went past it:
// the text before the edit with as much of what was inserted as fits, cut
// at a character boundary (never half of a double-byte character or of a
// surrogate pair), and where the cursor goes. A paste of 70 × "あ" into
// the empty code box keeps 64 of them.
struct FittedText {
    QString text;
    int cursor = 0;
};

// `before` is the text the box held, `after` the text the edit would give
// with the cursor at `cursor` (just after what was inserted), `limit` the
// most bytes in code page 932. None when `after` is not `before` with text
// inserted (or a selection replaced) before the cursor, or holds a
// character code page 932 cannot.
std::optional<FittedText> FitInsertion(const QString& before, const QString& after, int cursor,
                                       std::size_t limit);

}  // namespace kestrel
