#include "profile/Profile.h"

#include <charconv>
#include <cstdint>

namespace kestrel {

bool ParseProfileInt(std::string_view text, int& value)
{
    if (text.empty()) {
        return false;
    }
    const bool negative = text.front() == '-';
    if (negative || text.front() == '+') {
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() < '0' || text.front() > '9') {
        return false;
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude);
    if (error != std::errc{} || end != text.data() + text.size()) {
        return false;
    }
    if (negative) {
        if (magnitude > 2147483648ULL) {
            return false;
        }
        value = static_cast<int>(-static_cast<std::int64_t>(magnitude));
        return true;
    }
    if (magnitude > 4294967295ULL) {
        return false;
    }
    value = static_cast<int>(static_cast<std::uint32_t>(magnitude));
    return true;
}

}  // namespace kestrel
