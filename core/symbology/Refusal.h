#pragma once

#include <string_view>

namespace kestrel {

// Why the acceptance rules or an encoder turned a text down; None when they
// did not. The numbers the user and other programs see are made from it at
// the edges (ValidationNumber, EncodeNumber).
enum class Refusal {
    None,
    WrongLength,          // not the number of characters the symbology takes
    TooManyElements,      // the symbol would need more than 512 elements
    NotADigit,            // a digits-only symbology got something else
    NoPattern,            // a character the symbology has no pattern for
    NotWeighable,         // a Codabar sign (- $ / . +) where the check method weighs digits
    CheckNeedsDigits,     // a Codabar character above 9 where the check method weighs digits
    WrongCheckCharacter,  // the typed check character is not the computed one
    ImpossibleGeometry,   // a ratio, narrow width or gap no symbol can be drawn with
};

// The reason in words (English, for logs and the command line).
constexpr std::string_view RefusalReason(Refusal refusal)
{
    switch (refusal) {
    case Refusal::None: return "accepted";
    case Refusal::WrongLength: return "the text has the wrong number of characters";
    case Refusal::TooManyElements: return "the symbol would have more than 512 elements";
    case Refusal::NotADigit: return "a character is not a digit";
    case Refusal::NoPattern: return "a character has no pattern in this symbology";
    case Refusal::NotWeighable: return "the check method cannot weigh a sign in the data";
    case Refusal::CheckNeedsDigits: return "the check method weighs digits only";
    case Refusal::WrongCheckCharacter: return "the check character is wrong";
    case Refusal::ImpossibleGeometry: return "the ratio, narrow width or gap cannot be drawn";
    }
    return "unknown";
}

}  // namespace kestrel
