#include "symbology/Code39Check.h"

#include "symbology/Code39.h"
#include "symbology/ValidationResult.h"

namespace kestrel {

namespace {
constexpr int StarValue = 43;
}

int RuleCode39Frame(CodeText& text)
{
    if (text.empty()) {
        return WrongLength;
    }
    if (text.front() != '*') {
        text.insert(text.begin(), '*');
    }
    // A lone * is a start without a stop: close it rather than let one star
    // stand for both ends.
    if (text.back() != '*' || text.size() == 1) {
        text += '*';
    }
    for (std::size_t i = 1; i + 1 < text.size(); ++i) {
        const int value = Code39Value(text[i]);
        if (value < 0 || value == StarValue) {
            return BadCharacter;
        }
    }
    return text.size() > 2 ? Accepted : WrongLength;
}

int RuleCode39Check(CodeText& text, bool adding)
{
    const int length = static_cast<int>(text.size());
    const int checkPosition = adding ? length - 1 : length - 2;
    if (checkPosition < 1) {
        return adding ? WrongLength : WrongCheckCharacter;
    }
    int sum = 0;
    for (int i = 1; i < checkPosition; ++i) {
        const int value = Code39Value(text[static_cast<std::size_t>(i)]);
        if (value < 0 || value == StarValue) {
            return BadCharacter;
        }
        sum += value;
    }
    const char checkCharacter = Code39CheckAlphabet[static_cast<std::size_t>(sum % 43)];
    if (adding) {
        text.back() = checkCharacter;
        text += '*';
        return Accepted;
    }
    // The encoder folds lower case before drawing, so a typed lower-case
    // check letter stands for its capital.
    return ToUpper(text[static_cast<std::size_t>(checkPosition)]) == checkCharacter
               ? Accepted
               : WrongCheckCharacter;
}

}  // namespace kestrel
