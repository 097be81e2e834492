#pragma once

namespace kestrel {

// What an encoder reads besides the text: the document's fields and, for
// Codabar, the check method the profile holds at the time of encoding.
struct EncodeSettings {
    int check = 1;
    int autoAdd = 0;
    int aspect = 0;
    int narrowWidth = 1;
    int codabarGapX = 1;
    int code39GapX = 1;
    char codabarStart = 'A';
    char codabarStop = 'A';
    int codabarCheckMethod = 2;
};

// Narrow and wide element sizes in units for one narrow-to-wide ratio.
struct ElementUnits {
    int narrow;
    int wide;
};

// The three ratios of the "線幅比" choice in index order: 0 "1:2", 1 "2:5",
// 2 "1:3".
inline constexpr int AspectCount = 3;
inline constexpr ElementUnits AspectUnits[AspectCount] = {{1, 2}, {2, 5}, {1, 3}};

// Any other index is a ratio no narrow/wide encoder can draw.
inline bool IsAspect(int aspect)
{
    return aspect >= 0 && aspect < AspectCount;
}

inline bool UnitsForAspect(int aspect, ElementUnits& units)
{
    if (!IsAspect(aspect)) {
        return false;
    }
    units = AspectUnits[aspect];
    return true;
}

}  // namespace kestrel
