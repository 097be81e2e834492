#include "profile/PlainIniProfile.h"

#include "text/Cp932Utf8.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string_view>
#include <utility>

namespace kestrel {

namespace {

bool IsNameCharacter(char c)
{
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
}

bool IsName(std::string_view text)
{
    return !text.empty() && std::ranges::all_of(text, IsNameCharacter);
}

// Well-formed UTF-8 with no overlong forms, surrogates or code points past
// U+10FFFF.
bool IsUtf8(std::string_view text)
{
    for (std::size_t i = 0; i < text.size();) {
        const auto lead = static_cast<unsigned char>(text[i]);
        std::size_t length = 1;
        char32_t point = lead;
        char32_t least = 0;
        if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4, point = lead & 0x07U, least = 0x10000;
        } else if (lead >= 0xE0) {
            length = 3, point = lead & 0x0FU, least = 0x800;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2, point = lead & 0x1FU, least = 0x80;
        } else if (lead >= 0x80) {
            return false;
        }
        if (lead >= 0xF5 || i + length > text.size()) {
            return false;
        }
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0U) != 0x80U) {
                return false;
            }
            point = (point << 6U) | (next & 0x3FU);
        }
        if (point < least || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
            return false;
        }
        i += length;
    }
    return true;
}

// The value of a "Key=value" line as QSettings reads it; none where the
// text is not in the plain form.
std::optional<std::string_view> PlainValue(std::string_view text)
{
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        const std::string_view inner = text.substr(1, text.size() - 2);
        if (inner.find_first_of("\"\\") != std::string_view::npos) {
            return std::nullopt;
        }
        return inner;
    }
    if (text.find_first_of("\\\",;=") != std::string_view::npos
        || (!text.empty()
            && (text.front() == '@' || text.front() == ' ' || text.front() == '\t'
                || text.back() == ' ' || text.back() == '\t'))) {
        return std::nullopt;
    }
    return text;
}

bool HasControlCharacter(std::string_view text)
{
    return std::ranges::any_of(text, [](char c) {
        return static_cast<unsigned char>(c) < 0x20 && c != '\n';
    });
}

// Reads every line into `profile`; false at the first line beyond the plain
// form.
bool ReadLines(std::string_view text, MemoryProfile& profile)
{
    std::string section;
    std::set<std::string> sections;
    std::set<std::string> keys;
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.empty()) {
            continue;
        }
        if (line.front() == '[') {
            const std::string_view name = line.substr(1, line.size() - 1);
            if (line.back() != ']' || !IsName(name.substr(0, name.size() - 1))) {
                return false;
            }
            section = name.substr(0, name.size() - 1);
            // "General" stands for the keys outside any section.
            std::string lower = section;
            for (char& c : lower) {
                c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
            }
            if (lower == "general" || !sections.insert(section).second) {
                return false;
            }
            continue;
        }
        const std::size_t equals = line.find('=');
        if (section.empty() || equals == std::string_view::npos
            || !IsName(line.substr(0, equals))) {
            return false;
        }
        const std::string key(line.substr(0, equals));
        const std::optional<std::string_view> value = PlainValue(line.substr(equals + 1));
        std::string sectionKey = section;
        sectionKey.append(1, '/').append(key);
        if (!value || !keys.insert(std::move(sectionKey)).second) {
            return false;
        }
        std::optional<std::string> cp932 = Utf8ToCp932Lossy(*value);
        if (!cp932) {
            return false;
        }
        profile.WriteProfileString(section, key, *cp932);
    }
    return true;
}

}  // namespace

std::unique_ptr<MemoryProfile> ReadPlainIniProfile(const std::string& path)
{
    auto profile = std::make_unique<MemoryProfile>();
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        // Missing reads as empty; a file that is there but cannot be
        // opened is left to QSettings, which has its own answer for it.
        std::error_code error;
        const bool exists = std::filesystem::exists(path, error);
        return !exists && !error ? std::move(profile) : nullptr;
    }
    const std::string text((std::istreambuf_iterator<char>(file)),
                           std::istreambuf_iterator<char>());
    if (file.bad() || !IsUtf8(text) || HasControlCharacter(text) || !ReadLines(text, *profile)) {
        return nullptr;
    }
    return profile;
}

std::optional<std::string> PlainDefaultProfilePath()
{
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config != nullptr && config[0] == '/') {
        return std::string(config) + "/Plover/Kestrel.ini";
    }
    if (config != nullptr && config[0] != '\0') {
        return std::nullopt;  // relative: Qt's own rules decide
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.config/Plover/Kestrel.ini";
    }
    return std::nullopt;
}

}  // namespace kestrel
