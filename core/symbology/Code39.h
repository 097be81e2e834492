#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"
#include "symbology/RuleInput.h"

#include <string_view>

namespace kestrel {

// Code 39 value of a character: 0-9, A-Z (a-z count as A-Z), - . space $ / +
// % as 36 to 42, * as 43; -1 for anything else.
int Code39Value(char c);

// The same at compile time, for building lookup tables.
constexpr int Code39ValueOf(char c)
{
    if (IsDigit(c)) {
        return c - '0';
    }
    if (IsUpper(c) || IsLower(c)) {
        return ToUpper(c) - 'A' + 10;
    }
    switch (c) {
    case '-': return 36;
    case '.': return 37;
    case ' ': return 38;
    case '$': return 39;
    case '/': return 40;
    case '+': return 41;
    case '%': return 42;
    case '*': return 43;
    default: return -1;
    }
}


// The check alphabet, indexed by value 0 to 42.
inline constexpr std::string_view Code39CheckAlphabet =
    "0123456789ABCDEFGHIJKLMNOPQRSTUVWXYZ-. $/+%";

// Encodes `text` as it stands (the * framing included), lower case as upper
// case, which `completion` then asks for. With `check` on it first verifies
// framing and check character.
EncodeResult EncodeCode39(const CodeText& text, const EncodeSettings& settings,
                          SequenceBuilder& out, TextCompletion& completion);

// Encodes `text` through the full-ASCII table, framed by *. With `autoAdd` on
// the text's last character is its check character and goes in unexpanded.
EncodeResult EncodeCode39Extended(const CodeText& text, const EncodeSettings& settings,
                                  SequenceBuilder& out, TextCompletion& completion);

// The framed Code 39 text that Extended Code 39 draws for `text`.
CodeText Code39ExtendedFramedExpansion(const CodeText& text, bool lastIsCheck);

// The check character Extended Code 39 appends: modulo 43 of the Code 39
// values of the text's full-ASCII expansion.
char Code39ExtendedCheckCharacter(const CodeText& text);

// Star framing and the Code 39 character set: frames the text with * where a
// star is missing, then checks the characters between the stars. A text
// with nothing between the stars, the empty text included, is the wrong
// length.
Refusal RuleCode39Frame(CodeText& text);

// The Code 39 check character, modulus 43 of the character values, on a
// framed text: the sum runs over the characters after the start.
// Adding puts the check character in front of the final *; verifying
// compares the character there.
Refusal RuleCode39Check(CodeText& text, bool adding);

// The Code 39 rules: framing and characters, then the check character.
Refusal AcceptCode39(RuleInput& input);

// The Extended Code 39 rules: ASCII only; with `AutoAdd` the check
// character is appended here, once, so that encoding never adds to the text.
Refusal AcceptCode39Extended(RuleInput& input);

}  // namespace kestrel
