#pragma once

#include <string>
#include <string_view>

namespace kestrel {

// The per-user store of sections and keys that outlives a run. Strings are
// 8-bit code page 932 text, as everywhere in core. A missing section or key
// reads as the default the caller passes: defaults belong to the reader.
class Profile {
public:
    virtual ~Profile() = default;

    virtual int GetProfileInt(std::string_view section, std::string_view key,
                              int defaultValue) const = 0;
    virtual bool WriteProfileInt(std::string_view section, std::string_view key, int value) = 0;
    virtual std::string GetProfileString(std::string_view section, std::string_view key,
                                         std::string_view defaultValue) const = 0;
    virtual bool WriteProfileString(std::string_view section, std::string_view key,
                                    std::string_view value) = 0;
};

// Parses a stored integer the way every store reads it: optional sign and
// decimal digits, the whole text, within 32 bits (values up to 4294967295
// wrap as a DWORD would). Anything else yields nothing, so the caller falls
// back to its default.
bool ParseProfileInt(std::string_view text, int& value);

}  // namespace kestrel
