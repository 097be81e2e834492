#pragma once

#include "symbology/CodeText.h"
#include "symbology/Refusal.h"

#include <string>

namespace kestrel {

// Where an encoding stopped, when it did.
enum class EncodeStage {
    Drawing,       // the symbol could not be drawn
    Verification,  // the verification `Check` asks for failed
};

// How an encoding ended: built (refusal None), or refused with the reason
// and the stage that refused. A refusal leaves the document as it was.
struct EncodeResult {
    Refusal refusal = Refusal::None;
    EncodeStage stage = EncodeStage::Drawing;
    // Extended Code 39 has always answered a failed verification as built
    // (with the sequence left as it was); set by EncodeSymbology only.
    bool answersBuilt = false;

    static EncodeResult Built() { return {}; }
    static EncodeResult Unencodable(Refusal why) { return {why, EncodeStage::Drawing}; }
    static EncodeResult Refused(Refusal why) { return {why, EncodeStage::Verification}; }
    // What drawing ended with: built when nothing refused it.
    static EncodeResult Drawn(Refusal why) { return {why, EncodeStage::Drawing}; }

    bool built() const { return refusal == Refusal::None; }
    bool operator==(const EncodeResult&) const = default;
};

// The number an encoding answers where numbers are the interface: 1 built
// (or answered as built), 0 refused.
inline int EncodeNumber(const EncodeResult& result)
{
    return result.built() || result.answersBuilt ? 1 : 0;
}

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
