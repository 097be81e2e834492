#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace kestrel::send {

// A message kestrel-send knows by name.
struct NamedMessage {
    std::string_view name;
    std::uint32_t number;
};

std::span<const NamedMessage> NamedMessages();

// What a word of kestrel-send's command line is.
enum class WordKind {
    Message,  // in place: a message by name or by number
    Bits32,   // in place: a 32-bit number
    Bits16,   // an option with a signed 16-bit number, half of LPARAM
    Help,     // the option that prints the usage
};

// One word of the command line: parsing, --help and the tests all walk the
// same rows, in the order --help lists them. The words in place come in
// the order they are given.
struct CommandWord {
    WordKind kind = WordKind::Help;
    std::string_view name;   // "MESSAGE", "--low"
    std::string_view usage;  // as --help lists it; empty: listed with the row before
    std::string_view help;   // '\n' between lines; MESSAGE lists the named messages
    // A refused value is reported as "NAME <refusal>, not "VALUE""; MESSAGE's
    // refusal is followed by the named messages.
    std::string_view refusal;

    bool InPlace() const { return kind == WordKind::Message || kind == WordKind::Bits32; }
};

std::span<const CommandWord> CommandWords();

}  // namespace kestrel::send
