#include "symbology/FullAscii.h"

#include "symbology/ValidationResult.h"


namespace kestrel {


int RuleFullAsciiCharacters(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= FullAsciiTable.size()) {
            return BadCharacter;
        }
    }
    return Accepted;
}

}  // namespace kestrel
