#include "symbology/FullAscii.h"


namespace kestrel {


Refusal RuleFullAsciiCharacters(const std::string& text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= FullAsciiTable.size()) {
            return Refusal::NoPattern;
        }
    }
    return Refusal::None;
}

}  // namespace kestrel
