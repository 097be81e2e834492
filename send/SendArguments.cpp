#include "SendArguments.h"

#include "app/Automation.h"

#include <array>
#include <charconv>
#include <cctype>
#include <limits>

namespace kestrel::send {
namespace {

struct NamedMessage {
    std::string_view name;
    std::uint32_t number;
};

constexpr std::array<NamedMessage, 5> MessageNames{{
    {"UM_CLIPTEXT", UM_CLIPTEXT},
    {"UM_SETTYPE", UM_SETTYPE},
    {"UM_SETOPTION", UM_SETOPTION},
    {"UM_SETVALUE", UM_SETVALUE},
    {"UM_OUTPUT", UM_OUTPUT},
}};

bool EqualIgnoringCase(std::string_view a, std::string_view b)
{
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::toupper(static_cast<unsigned char>(a[i])) !=
            std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// A whole number in [low, high]: an optional minus sign and decimal digits,
// or 0x and hex digits. Nothing else, not even spaces.
std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t low,
                                         std::int64_t high)
{
    int base = 10;
    bool negative = false;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() && text.front() == '-') {
        negative = true;
        text.remove_prefix(1);
    }
    // from_chars would take a second sign; only digits may follow.
    if (text.empty() || !std::isxdigit(static_cast<unsigned char>(text.front()))) {
        return std::nullopt;
    }
    std::uint64_t magnitude = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude, base);
    if (error != std::errc{} || end != text.data() + text.size() ||
        magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return std::nullopt;
    }
    const std::int64_t value =
        negative ? -static_cast<std::int64_t>(magnitude) : static_cast<std::int64_t>(magnitude);
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

bool IsHex(std::string_view text)
{
    return text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

}  // namespace

std::optional<std::uint32_t> ParseBits32(std::string_view text)
{
    const auto value = ParseInteger(text, IsHex(text) ? 0 : std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::uint32_t>::max());
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*value);  // two's complement for negatives
}

std::optional<std::uint16_t> ParseBits16(std::string_view text)
{
    const auto value =
        IsHex(text) ? ParseInteger(text, 0, std::numeric_limits<std::uint16_t>::max())
                    : ParseInteger(text, std::numeric_limits<std::int16_t>::min(),
                                   std::numeric_limits<std::int16_t>::max());
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::uint16_t>(*value);
}

std::optional<std::uint32_t> ParseMessage(std::string_view text)
{
    for (const NamedMessage& named : MessageNames) {
        if (EqualIgnoringCase(text, named.name)) {
            return named.number;
        }
    }
    return ParseBits32(text);
}

std::int32_t PackLowHigh(std::uint16_t low, std::uint16_t high)
{
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(high) << 16 | low);
}

bool ParseArguments(const std::vector<std::string>& arguments, SendArguments& parsed,
                    std::string& error)
{
    parsed = SendArguments{};
    std::vector<std::string_view> positional;
    std::optional<std::uint16_t> low;
    std::optional<std::uint16_t> high;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        // "-1" is a number, not an option: only "--" words are options.
        if (optionsEnded || argument.substr(0, 2) != "--") {
            positional.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (argument == "--help") {
            parsed.help = true;
            return true;
        }
        std::string_view name = argument;
        std::optional<std::string_view> value;
        if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
            name = argument.substr(0, equals);
            value = argument.substr(equals + 1);
        }
        if (name != "--low" && name != "--high") {
            error = "unknown option " + std::string(name) + " (see --help)";
            return false;
        }
        if (!value) {
            if (i + 1 == arguments.size()) {
                error = std::string(name) + " needs a number";
                return false;
            }
            value = arguments[++i];
        }
        const std::optional<std::uint16_t> bits = ParseBits16(*value);
        if (!bits) {
            error = std::string(name) + " takes a signed 16-bit number (-32768 to 32767, or "
                    "0x0 to 0xFFFF), not \"" + std::string(*value) + "\"";
            return false;
        }
        (name == "--low" ? low : high) = bits;
    }

    if (low.has_value() != high.has_value()) {
        error = "--low and --high go together";
        return false;
    }
    const std::size_t wanted = low ? 2 : 3;
    if (positional.size() != wanted) {
        error = low ? "expected MESSAGE WPARAM --low N --high M (see --help)"
                    : "expected MESSAGE WPARAM LPARAM (see --help)";
        return false;
    }

    const std::optional<std::uint32_t> message = ParseMessage(positional[0]);
    if (!message) {
        error = "MESSAGE must be UM_CLIPTEXT, UM_SETTYPE, UM_SETOPTION, UM_SETVALUE, UM_OUTPUT "
                "or a number, not \"" + std::string(positional[0]) + "\"";
        return false;
    }
    const std::optional<std::uint32_t> wParam = ParseBits32(positional[1]);
    if (!wParam) {
        error = "WPARAM must be a 32-bit number, not \"" + std::string(positional[1]) + "\"";
        return false;
    }
    std::int32_t lParam = 0;
    if (low) {
        lParam = PackLowHigh(*low, *high);
    } else {
        const std::optional<std::uint32_t> bits = ParseBits32(positional[2]);
        if (!bits) {
            error = "LPARAM must be a 32-bit number, not \"" + std::string(positional[2]) + "\"";
            return false;
        }
        lParam = static_cast<std::int32_t>(*bits);
    }
    parsed.request = SendRequest{*message, *wParam, lParam};
    return true;
}

std::string UsageText()
{
    return "Usage: kestrel-send MESSAGE WPARAM LPARAM\n"
           "       kestrel-send MESSAGE WPARAM --low N --high M\n"
           "\n"
           "Sends one automation message to the running kestrel over the session bus\n"
           "and prints its result as a signed decimal number.\n"
           "\n"
           "MESSAGE   UM_CLIPTEXT (0x465), UM_SETTYPE (0x466), UM_SETOPTION (0x467),\n"
           "          UM_SETVALUE (0x468), UM_OUTPUT (0x469), or a number\n"
           "WPARAM    a 32-bit number: decimal (may be negative) or 0x...\n"
           "LPARAM    the same; -1 and 0xFFFFFFFF are the same bits\n"
           "--low N --high M\n"
           "          instead of LPARAM: two signed 16-bit numbers, N in bits 0-15,\n"
           "          M in bits 16-31\n"
           "--help    this text\n"
           "\n"
           "Exit status: 0 when the program answered (the answer is printed);\n"
           "2 when it could not be asked (bad arguments, no session bus, no running\n"
           "instance) or refused the message.\n"
           "\n"
           "Examples:\n"
           "  kestrel-send UM_SETTYPE 5 0\n"
           "  kestrel-send UM_SETVALUE 0 --low 400 --high 150\n";
}

}  // namespace kestrel::send
