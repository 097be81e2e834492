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

// An edit box's up-down control keeps a 16-bit position of its own, apart
// from the box's text. It starts from the low 16 bits of the value, taken as
// a signed 16-bit number, and is not kept within the limits until it is
// stepped: a value beyond them stays in the box for OK to report.
int UpDownStartPosition(int value);

// The number one press of the up-down control writes into the box: the
// box's number (any 32-bit signed number, whatever the field's kind), or
// `position` when the box holds none, moved by `steps` and kept within the
// field's limits. It also becomes the control's new position.
int UpDownStepped(std::string_view boxText, int position, int steps, const IntegerField& field);

}  // namespace kestrel
