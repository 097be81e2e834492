#pragma once

#include "FakeSurface.h"

#include "LoadedDocument.h"
#include "document/BarCodeDoc.h"
#include "document/StoredStyle.h"
#include "document/WorkingGaps.h"
#include "profile/MemoryProfile.h"
#include "render/DrawBarcode.h"

#include <functional>
#include <initializer_list>
#include <string>

namespace kestrel::test {

// A document over its own in-memory profile, as the program creates it.
struct Drawing {
    MemoryProfile profile;
    WorkingGaps gaps;
    LoadedDocument doc{profile, gaps};

    void SetElements(std::initializer_list<int> elements)
    {
        doc.ModuleSequence = {};
        for (const int element : elements) {
            doc.ModuleSequence.elements[static_cast<std::size_t>(doc.ModuleSequence.count++)] =
                element;
        }
    }

    void Draw(DrawingSurface& surface) { DrawBarcode(ReadDrawing(doc, profile), surface); }
};

// Pixels of the surface that differ from what `expected` says, as text for
// a failure message; empty when all agree. Lists the first few only.
inline std::string Mismatches(const FakeSurface& surface,
                              const std::function<Colour(int x, int y)>& expected)
{
    std::string out;
    int count = 0;
    for (int y = 0; y < surface.Height(); ++y) {
        for (int x = 0; x < surface.Width(); ++x) {
            const Colour want = expected(x, y);
            const Colour got = surface.At(x, y);
            if (want != got && ++count <= 5) {
                out += "(" + std::to_string(x) + "," + std::to_string(y) + ") is "
                       + std::to_string(got) + ", expected " + std::to_string(want) + "; ";
            }
        }
    }
    if (count > 5) {
        out += std::to_string(count) + " pixels in all";
    }
    return out;
}

}  // namespace kestrel::test
