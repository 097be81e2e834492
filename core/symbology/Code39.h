#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"

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
EncodeOutcome EncodeCode39(const CodeText& text, const EncodeSettings& settings,
                           SequenceBuilder& out, TextCompletion& completion);

// Encodes `text` through the full-ASCII table, framed by *. With `autoAdd` on
// the text's last character is its check character and goes in unexpanded.
EncodeOutcome EncodeCode39Extended(const CodeText& text, const EncodeSettings& settings,
                                   SequenceBuilder& out);

// The framed Code 39 text that Extended Code 39 draws for `text`.
CodeText Code39ExtendedFramedExpansion(const CodeText& text, bool lastIsCheck);

// The check character Extended Code 39 appends: modulo 43 of the Code 39
// values of the text's full-ASCII expansion.
char Code39ExtendedCheckCharacter(const CodeText& text);

}  // namespace kestrel
