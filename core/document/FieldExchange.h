#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// How a dialog's edit box holding a number is read back: as a signed or an
// unsigned integer, then checked against its limits. Every dialog of the
// program reads its numbers this way, with the same three messages.
struct IntegerField {
    enum class Kind { Signed, Unsigned };
    Kind kind;
    int low;
    int high;

    bool Contains(long long value) const { return value >= low && value <= high; }
};

enum class FieldError {
    None,
    NotAnInteger,         // "整数を入力してください。" (signed fields)
    NotAPositiveInteger,  // "正の整数を入力してください。" (unsigned fields)
    OutOfRange,           // "%1 から %2 までの整数を入力してください。"
};

struct FieldReading {
    FieldError error = FieldError::None;
    int value = 0;

    bool Ok() const { return error == FieldError::None; }
};

// Reads the text of an edit box: blanks around the number are allowed, a
// sign only in front of the digits (no minus sign at all for an unsigned
// field); anything else, an empty box or a number beyond 32 bits is not a
// number. A number outside the limits is out of range.
FieldReading ReadIntegerField(std::string_view text, const IntegerField& field);

// The message for a failed reading (UTF-8), with the field's limits in the
// range message; empty when the reading succeeded.
std::string FieldErrorMessage(FieldError error, const IntegerField& field);

}  // namespace kestrel
