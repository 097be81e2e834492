#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeSettings.h"
#include "symbology/Encoder.h"
#include "symbology/ModuleSequence.h"

#include <vector>

namespace kestrel::test {

inline std::vector<int> Elements(const ModuleSequence& sequence)
{
    return {sequence.elements.begin(), sequence.elements.begin() + sequence.count};
}

inline std::vector<int> Slice(const std::vector<int>& elements, std::size_t first,
                              std::size_t count)
{
    if (first + count > elements.size()) {
        return {};
    }
    return {elements.begin() + static_cast<long>(first),
            elements.begin() + static_cast<long>(first + count)};
}

struct Encoded {
    int result;
    CodeText text;
    std::vector<int> elements;
};

inline Encoded EncodeWith(int codeType, CodeText text, const EncodeSettings& settings)
{
    ModuleSequence sequence;
    const int result = EncodeNumber(EncodeSymbology(codeType, text, settings, sequence));
    return {result, text, Elements(sequence)};
}

}  // namespace kestrel::test
