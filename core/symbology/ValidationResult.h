#pragma once

#include <string_view>

namespace kestrel {

// Result codes of the acceptance rules; the numbers are the interface.
enum ValidationResult : int {
    Accepted = 0,
    WrongLength = 1,
    WrongCheckCharacter = 2,
    NotADigit = 3,
    BadCharacter = 5,
};

// The message the user is shown for a result (UTF-8), empty for Accepted and
// for codes that have no message.
inline std::string_view ValidationMessage(int result)
{
    switch (result) {
    case WrongLength: return "入力桁数が正しくありません";
    case WrongCheckCharacter: return "チェックデジットが不正です";
    case NotADigit: return "入力は数字のみです";
    case BadCharacter: return "データキャラクタが不正です";
    default: return {};
    }
}

}  // namespace kestrel
