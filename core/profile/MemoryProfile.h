#pragma once

#include "profile/Profile.h"

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace kestrel {

// A profile held in memory. Tests use it as a whole store; kestrel-cli uses
// it over a real store so that a run can change values without writing them.
class MemoryProfile : public Profile {
public:
    MemoryProfile() = default;
    // Reads fall through to `base` for keys this profile does not hold.
    explicit MemoryProfile(const Profile* base) : base_(base) {}

    int GetProfileInt(std::string_view section, std::string_view key,
                      int defaultValue) const override;
    bool WriteProfileInt(std::string_view section, std::string_view key, int value) override;
    std::string GetProfileString(std::string_view section, std::string_view key,
                                 std::string_view defaultValue) const override;
    bool WriteProfileString(std::string_view section, std::string_view key,
                            std::string_view value) override;

    bool Contains(std::string_view section, std::string_view key) const;
    // Every write in order, as "Section/Key"; lets tests check who wrote what.
    const std::vector<std::string>& WriteLog() const { return writeLog_; }

private:
    using Key = std::pair<std::string, std::string>;
    const std::string* Find(std::string_view section, std::string_view key) const;

    const Profile* base_ = nullptr;
    std::map<Key, std::string> values_;
    std::vector<std::string> writeLog_;
};

}  // namespace kestrel
