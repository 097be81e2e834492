#pragma once

#include "CliOptions.h"

#include <array>
#include <span>
#include <string>
#include <string_view>

namespace kestrel::cli {

// What a row of the option table is, and how an option takes its value.
enum class OptionKind {
    HelpText,       // not an option: lines of --help between the options
    SymbologyList,  // not an option: the numbered symbologies in --help
    Switch,         // takes no value; "=VALUE" written on it is ignored
    StrictSwitch,   // takes no value and refuses "=VALUE"
    Value,          // takes the next argument, or the text after '='
};

// Stores a flag's value in the options; a switch is given an empty value.
// Returns false when the value is refused, and may set `message` to say why.
using StoreOption = bool (*)(std::string_view value, CliOptions& options, std::string& message);

// One row of kestrel-cli's options: parsing, --help and the tests all walk
// the same rows, in the order --help shows them.
struct OptionRow {
    OptionKind kind = OptionKind::HelpText;
    std::array<std::string_view, 2> names{};  // "-o", "--output"; the second may be empty
    std::string_view valueName;               // "FILE", "N"; empty for a switch
    StoreOption store = nullptr;
    // A refused value is reported as "FLAG: 'VALUE' is not <expected>"; when
    // empty, as "FLAG: <message of the store>".
    std::string_view expected;
    // The --help lines beside the flag, '\n' between them; for HelpText the
    // whole lines. An option without help is an alias --help does not list.
    std::string_view help;

    bool IsOption() const
    {
        return kind != OptionKind::HelpText && kind != OptionKind::SymbologyList;
    }
};

std::span<const OptionRow> OptionRows();

}  // namespace kestrel::cli
