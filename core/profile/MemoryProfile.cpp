#include "profile/MemoryProfile.h"

#include <string>

namespace kestrel {

const std::string* MemoryProfile::Find(std::string_view section, std::string_view key) const
{
    const auto found = values_.find(Key{std::string(section), std::string(key)});
    return found == values_.end() ? nullptr : &found->second;
}

bool MemoryProfile::Contains(std::string_view section, std::string_view key) const
{
    return Find(section, key) != nullptr;
}

int MemoryProfile::GetProfileInt(std::string_view section, std::string_view key,
                                 int defaultValue) const
{
    if (const std::string* stored = Find(section, key)) {
        int value = 0;
        return ParseProfileInt(*stored, value) ? value : defaultValue;
    }
    return base_ ? base_->GetProfileInt(section, key, defaultValue) : defaultValue;
}

bool MemoryProfile::WriteProfileInt(std::string_view section, std::string_view key, int value)
{
    return WriteProfileString(section, key, std::to_string(value));
}

std::string MemoryProfile::GetProfileString(std::string_view section, std::string_view key,
                                            std::string_view defaultValue) const
{
    if (const std::string* stored = Find(section, key)) {
        return *stored;
    }
    return base_ ? base_->GetProfileString(section, key, defaultValue) : std::string(defaultValue);
}

bool MemoryProfile::WriteProfileString(std::string_view section, std::string_view key,
                                       std::string_view value)
{
    values_[Key{std::string(section), std::string(key)}] = std::string(value);
    writeLog_.push_back(std::string(section) + "/" + std::string(key));
    return true;
}

}  // namespace kestrel
