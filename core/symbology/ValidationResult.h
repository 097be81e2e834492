#pragma once

#include "symbology/Refusal.h"

#include <array>
#include <cstddef>
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

// The result code for each refusal, indexed by Refusal. A symbol too long
// for the sequence is the wrong length to the user; a Codabar letter where
// the check method weighs digits has always been reported as a wrong check
// character, a sign there as a bad character. Acceptance never refuses for
// the geometry; should it, the message is the bad character's.
inline constexpr std::array<int, 9> ValidationNumbers{
    Accepted,             // None
    WrongLength,          // WrongLength
    WrongLength,          // TooManyElements
    NotADigit,            // NotADigit
    BadCharacter,         // NoPattern
    BadCharacter,         // NotWeighable
    WrongCheckCharacter,  // CheckNeedsDigits
    WrongCheckCharacter,  // WrongCheckCharacter
    BadCharacter,         // ImpossibleGeometry
};
static_assert(ValidationNumbers.size()
              == static_cast<std::size_t>(Refusal::ImpossibleGeometry) + 1);

inline int ValidationNumber(Refusal refusal)
{
    const auto index = static_cast<std::size_t>(refusal);
    return index < ValidationNumbers.size() ? ValidationNumbers[index] : BadCharacter;
}

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
