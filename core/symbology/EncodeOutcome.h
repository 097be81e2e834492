#pragma once

#include "symbology/CodeText.h"

#include <string>

namespace kestrel {

// How an encoder ended. Refused: a check character or the digits failed the
// verification that `Check` asks for. Unencodable: the text holds what the
// symbology cannot draw, or the symbol does not fit the sequence or the
// geometry is impossible. Both leave the document as it was.
enum class EncodeOutcome { Built, Refused, Unencodable };

// What an encoder changes in the text it drew, applied only once the symbol
// is accepted. Encoders read the text without copying it; most change
// nothing.
struct TextCompletion {
    char start = '\0';  // put in front; '\0' for none (starts are letters)
    char stop = '\0';   // put at the end; '\0' for none
    bool upperCase = false;

    bool changesText() const { return upperCase || start != '\0' || stop != '\0'; }

    void applyTo(std::string& text) const
    {
        if (upperCase) {
            for (char& c : text) {
                c = ToUpper(c);
            }
        }
        if (start != '\0') {
            text.insert(text.begin(), start);
        }
        if (stop != '\0') {
            text += stop;
        }
    }
};

}  // namespace kestrel
