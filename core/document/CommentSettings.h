#pragma once

#include "document/FieldExchange.h"

#include <optional>
#include <string>

namespace kestrel {

class Profile;

// The two comment lines the drawing puts above and below the bars, with
// their character heights. They live in the profile alone: the comment
// dialog reads them when it opens and writes them when it is confirmed.
struct CommentSettings {
    std::string line1Text;  // code page 932
    std::string line2Text;  // code page 932
    int line1Height = 30;
    int line2Height = 30;
};

// Reads with the dialog's defaults: empty lines, heights 30 (the drawing
// reads the heights with defaults of its own).
CommentSettings ReadCommentSettings(const Profile& profile);

// Writes String1, High1, String2 and High2, in this order, always all four,
// even for an empty line or values that did not change.
void WriteCommentSettings(Profile& profile, const CommentSettings& settings);

// A comment height is a character height in pixels.
inline constexpr IntegerField CommentHeightField{IntegerField::Kind::Signed, 10, 100};

// The dialog's fields in the order they are read back on OK, which decides
// which failure the user hears of first.
enum class CommentField { Line1Text, Line2Text, Line1Height, Line2Height };

// What the dialog's boxes hold when OK is pressed. A line is empty (no
// value) when its box holds a character code page 932 cannot store; the
// heights are the boxes' texts as typed.
struct CommentEntry {
    std::optional<std::string> line1Text;
    std::optional<std::string> line2Text;
    std::string line1Height;
    std::string line2Height;
};

struct CommentAcceptance {
    CommentSettings settings;  // complete only when accepted
    std::optional<CommentField> failedField;
    bool textNotStorable = false;               // why a line failed
    FieldError heightError = FieldError::None;  // why a height failed

    bool Ok() const { return !failedField.has_value(); }
};

// Reads the entry back in field order; stops at the first field in error.
CommentAcceptance AcceptCommentEntry(const CommentEntry& entry);

}  // namespace kestrel
