#pragma once

#include "profile/Profile.h"

#include <string>
#include <string_view>

// Every section and key of the program's profile, each with the default of
// the code that reads it. Where two readers of one key use different
// defaults, both appear, named after their reader.
namespace kestrel::profile {

struct IntKey {
    std::string_view section;
    std::string_view key;
    int defaultValue;
};

struct StringKey {
    std::string_view section;
    std::string_view key;
    std::string_view defaultValue;
};

inline int Read(const Profile& profile, const IntKey& key)
{
    return profile.GetProfileInt(key.section, key.key, key.defaultValue);
}

inline std::string Read(const Profile& profile, const StringKey& key)
{
    return profile.GetProfileString(key.section, key.key, key.defaultValue);
}

inline bool Write(Profile& profile, const IntKey& key, int value)
{
    return profile.WriteProfileInt(key.section, key.key, value);
}

inline bool Write(Profile& profile, const StringKey& key, std::string_view value)
{
    return profile.WriteProfileString(key.section, key.key, value);
}

// Code: the barcode geometry, read when the document is loaded and written
// when it is stored (at the window's normal end).
inline constexpr IntKey CodeHigh{"Code", "CodeHigh", 16};
inline constexpr IntKey CodeType{"Code", "CodeType", 0};
inline constexpr IntKey Height{"Code", "Height", 150};
inline constexpr IntKey Width{"Code", "Width", 300};  // a stored 0 also means 300
inline constexpr IntKey Check{"Code", "Check", 1};
inline constexpr IntKey AutoAdd{"Code", "AutoAdd", 0};
inline constexpr IntKey DispCode{"Code", "DispCode", 1};
inline constexpr IntKey Aspect{"Code", "Aspect", 0};
inline constexpr IntKey NWidth{"Code", "NWidth", 0};  // narrow width minus one
inline constexpr IntKey Xmargin{"Code", "Xmargin", 25};
inline constexpr IntKey Ymargin{"Code", "Ymargin", 25};
inline constexpr IntKey Case{"Code", "Case", 0};

// Code: colours (RGB with red in the low byte), written by the colour dialog.
inline constexpr IntKey BackColor{"Code", "BackColor", 0xFFFFFF};
inline constexpr IntKey BarColor{"Code", "BarColor", 0};
inline constexpr IntKey CodeColor{"Code", "CodeColor", 0};

// Comment: the two comment lines. The comment dialog and the drawing read the
// heights with different defaults.
inline constexpr StringKey String1{"Comment", "String1", ""};
inline constexpr StringKey String2{"Comment", "String2", ""};
inline constexpr IntKey High1ForDialog{"Comment", "High1", 30};
inline constexpr IntKey High2ForDialog{"Comment", "High2", 30};
inline constexpr IntKey High1ForDrawing{"Comment", "High1", 100};
inline constexpr IntKey High2ForDrawing{"Comment", "High2", 100};
inline constexpr IntKey Color1{"Comment", "Color1", 0};
inline constexpr IntKey Color2{"Comment", "Color2", 0};

// Codabar: the inter-character gap belongs to the document; the rest to the
// options sheet, read by the acceptance rules and the check-character rule.
inline constexpr IntKey CodabarGapX{"Codabar", "GapX", 1};
inline constexpr IntKey CodabarStartChar{"Codabar", "StartChar", 0};
inline constexpr IntKey CodabarStopChar{"Codabar", "StopChar", 0};
inline constexpr IntKey CodabarCheckDegit{"Codabar", "CheckDegit", 2};

inline constexpr IntKey Code39GapX{"Code39", "GapX", 1};

// JAN and ITF text and frame options. The options page reads the bearer
// widths with a default of 5; the drawing style only asks whether a width is
// stored, and without one the drawing uses six narrow widths of the symbol.
inline constexpr IntKey JanCodeOut{"JAN", "CodeOut", 1};
inline constexpr IntKey JanCaseWidthForOptions{"JAN", "CaseWidth", 5};
inline constexpr IntKey ItfCaseWidthForOptions{"ITF", "CaseWidth", 5};

inline constexpr IntKey Bitmap{"Settings", "Bitmap", 0};
inline constexpr StringKey WindowPos{"Settings", "WindowPos", ""};

// Main: written at every start of the window so that other programs can find
// this one.
inline constexpr StringKey Version{"Main", "Version", ""};
inline constexpr StringKey Path{"Main", "Path", ""};
inline constexpr std::string_view VersionWritten = "2.08";

}  // namespace kestrel::profile
