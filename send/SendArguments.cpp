#include "SendArguments.h"

#include "SendArgumentTable.h"

#include "app/Automation.h"

#include <array>
#include <cctype>
#include <charconv>
#include <limits>

namespace kestrel::send {
namespace {

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
        if (std::toupper(static_cast<unsigned char>(a[i]))
            != std::toupper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// A whole number in [low, high]: an optional minus sign and decimal digits,
// or 0x and hex digits. Nothing else, not even spaces.
std::optional<std::int64_t> ParseInteger(std::string_view text, std::int64_t low, std::int64_t high)
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
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), magnitude,
                                              base);
    if (error != std::errc{} || end != text.data() + text.size()
        || magnitude > static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max())) {
        return std::nullopt;
    }
    const std::int64_t value = negative ? -static_cast<std::int64_t>(magnitude)
                                        : static_cast<std::int64_t>(magnitude);
    if (value < low || value > high) {
        return std::nullopt;
    }
    return value;
}

bool IsHex(std::string_view text)
{
    return text.size() > 1 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X');
}

// The two synopses, as the usage shows them and a wrong count names them.
constexpr std::string_view ThreeNumbers = "MESSAGE WPARAM LPARAM";
constexpr std::string_view HalvesOfLParam = "MESSAGE WPARAM --low N --high M";

constexpr CommandWord Words[] = {
    {WordKind::Message, "MESSAGE", "MESSAGE", {}, "must be"},
    {WordKind::Bits32, "WPARAM", "WPARAM", "a 32-bit number: decimal (may be negative) or 0x...",
     "must be a 32-bit number"},
    {WordKind::Bits32, "LPARAM", "LPARAM", "the same; -1 and 0xFFFFFFFF are the same bits",
     "must be a 32-bit number"},
    {WordKind::Bits16, "--low", "--low N --high M",
     "instead of LPARAM: two signed 16-bit numbers, N in bits 0-15,\n"
     "M in bits 16-31",
     "takes a signed 16-bit number (-32768 to 32767, or 0x0 to 0xFFFF)"},
    {WordKind::Bits16,
     "--high",
     {},
     {},
     "takes a signed 16-bit number (-32768 to 32767, or 0x0 to 0xFFFF)"},
    {WordKind::Help, "--help", "--help", "this text", {}},
};

}  // namespace

std::span<const NamedMessage> NamedMessages()
{
    return MessageNames;
}

std::span<const CommandWord> CommandWords()
{
    return Words;
}

std::optional<std::uint32_t> ParseBits32(std::string_view text)
{
    const auto value = ParseInteger(text,
                                    IsHex(text) ? 0 : std::numeric_limits<std::int32_t>::min(),
                                    std::numeric_limits<std::uint32_t>::max());
    if (!value) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*value);  // two's complement for negatives
}

std::optional<std::uint16_t> ParseBits16(std::string_view text)
{
    const auto value = IsHex(text)
                           ? ParseInteger(text, 0, std::numeric_limits<std::uint16_t>::max())
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

namespace {

// "UM_CLIPTEXT, UM_SETTYPE, ... or a number"
std::string MessageChoices()
{
    std::string choices;
    for (const NamedMessage& named : MessageNames) {
        choices += std::string(named.name) + (&named == &MessageNames.back() ? "" : ", ");
    }
    return choices + " or a number";
}

// "UM_CLIPTEXT (0x465), ..., or a number", three messages to a line.
std::string NamedMessagesHelp()
{
    std::string help;
    for (std::size_t index = 0; index < MessageNames.size(); ++index) {
        char hex[8] = {};
        auto* const end = std::to_chars(hex, hex + sizeof hex, MessageNames[index].number, 16).ptr;
        help += std::string(MessageNames[index].name) + " (0x" + std::string(hex, end) + "),";
        help += index % 3 == 2 ? "\n" : " ";
    }
    return help + "or a number";
}

std::string Refused(const CommandWord& word, std::string_view value)
{
    std::string refusal(word.refusal);
    if (word.kind == WordKind::Message) {
        refusal += " " + MessageChoices();
    }
    return std::string(word.name) + " " + refusal + ", not \"" + std::string(value) + "\"";
}

const CommandWord* FindOption(std::string_view name)
{
    for (const CommandWord& word : Words) {
        if (!word.InPlace() && word.name == name) {
            return &word;
        }
    }
    return nullptr;
}

// The halves of LPARAM as --low and --high give them.
struct Halves {
    std::optional<std::uint16_t> low;
    std::optional<std::uint16_t> high;
};

// The option at `arguments[index]`, "--low N" or "--low=N"; a value in the
// next argument is passed over.
bool TakeOption(const std::vector<std::string>& arguments, std::size_t& index, Halves& halves,
                bool& help, std::string& error)
{
    const std::string_view argument = arguments[index];
    std::string_view name = argument;
    std::optional<std::string_view> value;
    if (const std::size_t equals = argument.find('='); equals != std::string_view::npos) {
        name = argument.substr(0, equals);
        value = argument.substr(equals + 1);
    }
    const CommandWord* word = FindOption(name);
    // "--help=..." is no option of ours: --help takes nothing.
    if (word == nullptr || (word->kind == WordKind::Help && value)) {
        error = "unknown option " + std::string(name) + " (see --help)";
        return false;
    }
    if (word->kind == WordKind::Help) {
        help = true;
        return true;
    }
    if (!value) {
        if (index + 1 == arguments.size()) {
            error = std::string(name) + " needs a number";
            return false;
        }
        value = arguments[++index];
    }
    const std::optional<std::uint16_t> bits = ParseBits16(*value);
    if (!bits) {
        error = Refused(*word, *value);
        return false;
    }
    (word->name == "--low" ? halves.low : halves.high) = bits;
    return true;
}

// MESSAGE, WPARAM and LPARAM, or the first two with LPARAM from its halves.
bool ReadInPlace(const std::vector<std::string_view>& inPlace, const Halves& halves,
                 SendRequest& request, std::string& error)
{
    if (halves.low.has_value() != halves.high.has_value()) {
        error = "--low and --high go together";
        return false;
    }
    const std::size_t wanted = halves.low ? 2 : 3;
    if (inPlace.size() != wanted) {
        error = "expected " + std::string(halves.low ? HalvesOfLParam : ThreeNumbers)
                + " (see --help)";
        return false;
    }
    std::uint32_t numbers[3] = {};
    std::size_t next = 0;
    for (const CommandWord& word : Words) {
        if (!word.InPlace() || next == wanted) {
            continue;
        }
        const std::optional<std::uint32_t> number = word.kind == WordKind::Message
                                                        ? ParseMessage(inPlace[next])
                                                        : ParseBits32(inPlace[next]);
        if (!number) {
            error = Refused(word, inPlace[next]);
            return false;
        }
        numbers[next++] = *number;
    }
    const std::int32_t lParam = halves.low ? PackLowHigh(*halves.low, *halves.high)
                                           : static_cast<std::int32_t>(numbers[2]);
    request = SendRequest{numbers[0], numbers[1], lParam};
    return true;
}

// A word's lines of --help: its name in the first ten columns, or on a line
// of its own when it fills them, its help beside or under it.
std::string WordHelp(const CommandWord& word)
{
    constexpr std::size_t helpColumn = 10;
    std::string text(word.usage);
    text += text.size() + 2 <= helpColumn ? std::string(helpColumn - text.size(), ' ')
                                          : "\n" + std::string(helpColumn, ' ');
    const std::string help = word.kind == WordKind::Message ? NamedMessagesHelp()
                                                            : std::string(word.help);
    for (const char c : help) {
        text += c;
        if (c == '\n') {
            text.append(helpColumn, ' ');
        }
    }
    return text + "\n";
}

}  // namespace

bool ParseArguments(const std::vector<std::string>& arguments, SendArguments& parsed,
                    std::string& error)
{
    parsed = SendArguments{};
    std::vector<std::string_view> inPlace;
    Halves halves;
    bool optionsEnded = false;

    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string_view argument = arguments[i];
        // "-1" is a number, not an option: only "--" words are options.
        if (optionsEnded || argument.substr(0, 2) != "--") {
            inPlace.push_back(argument);
            continue;
        }
        if (argument == "--") {
            optionsEnded = true;
            continue;
        }
        if (!TakeOption(arguments, i, halves, parsed.help, error)) {
            return false;
        }
        if (parsed.help) {
            return true;
        }
    }
    return ReadInPlace(inPlace, halves, parsed.request, error);
}

std::string UsageText()
{
    std::string text =
        "Usage: kestrel-send " + std::string(ThreeNumbers)
        + "\n"
          "       kestrel-send "
        + std::string(HalvesOfLParam)
        + "\n"
          "\n"
          "Sends one automation message to the running kestrel over the session bus\n"
          "and prints its result as a signed decimal number.\n"
          "\n";
    for (const CommandWord& word : Words) {
        if (!word.usage.empty()) {
            text += WordHelp(word);
        }
    }
    return text
           + "\n"
             "Exit status: 0 when the program answered (the answer is printed);\n"
             "2 when it could not be asked (bad arguments, no session bus, no running\n"
             "instance) or refused the message.\n"
             "\n"
             "Examples:\n"
             "  kestrel-send UM_SETTYPE 5 0\n"
             "  kestrel-send UM_SETVALUE 0 --low 400 --high 150\n";
}

}  // namespace kestrel::send
