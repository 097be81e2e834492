#pragma once

#include "profile/Profile.h"

#include <string>
#include <string_view>
#include <unordered_map>

namespace kestrel::cli {

// A read-only view of a stored profile that asks the store once per key:
// kestrel-cli never writes the profile it reads, and a batch reads the same
// colours, comments and options for every picture it draws. The run sees
// the store as it was when each key was first read. Writes are refused.
class ReadOnceProfile : public Profile {
public:
    explicit ReadOnceProfile(const Profile& store) : store_(store) {}

    int GetProfileInt(std::string_view section, std::string_view key,
                      int defaultValue) const override
    {
        const std::string name = Name(section, key, std::to_string(defaultValue));
        if (const auto found = ints_.find(name); found != ints_.end()) {
            return found->second;
        }
        const int value = store_.GetProfileInt(section, key, defaultValue);
        ints_.emplace(name, value);
        return value;
    }

    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const override
    {
        const std::string name = Name(section, key, defaultValue);
        if (const auto found = strings_.find(name); found != strings_.end()) {
            return found->second;
        }
        std::string value = store_.GetProfileString(section, key, defaultValue);
        strings_.emplace(name, value);
        return value;
    }

    bool WriteProfileInt(std::string_view, std::string_view, int) override { return false; }
    bool WriteProfileString(std::string_view, std::string_view, std::string_view) override
    {
        return false;
    }

private:
    // The default is part of the question: a missing key answers with it.
    static std::string Name(std::string_view section, std::string_view key,
                            std::string_view defaultValue)
    {
        std::string name;
        name.reserve(section.size() + key.size() + defaultValue.size() + 2);
        name.append(section).append(1, '\0').append(key).append(1, '\0').append(defaultValue);
        return name;
    }

    const Profile& store_;
    mutable std::unordered_map<std::string, int> ints_;
    mutable std::unordered_map<std::string, std::string> strings_;
};

}  // namespace kestrel::cli
