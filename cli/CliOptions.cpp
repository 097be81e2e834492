#include "CliOptions.h"

#include "CliOptionTable.h"
#include "document/CodeEntry.h"
#include "symbology/SymbologyCatalogue.h"

#include <charconv>
#include <string_view>
#include <utility>

namespace kestrel::cli {

namespace {

bool ParseInt(std::string_view text, int& value)
{
    if (text.empty()) {
        return false;
    }
    const char* first = text.data();
    if (text.front() == '+') {
        ++first;
    }
    const auto [end, error] = std::from_chars(first, text.data() + text.size(), value);
    return error == std::errc{} && end == text.data() + text.size();
}

bool ParseInRange(std::string_view text, int low, int high, std::optional<int>& target)
{
    int value = 0;
    if (!ParseInt(text, value) || value < low || value > high) {
        return false;
    }
    target = value;
    return true;
}

// The picture's numbers are read as the code dialog reads its boxes, with
// its limits and messages.
bool ParseCodeNumber(std::string_view text, CodeNumber number, std::optional<int>& target,
                     std::string& message)
{
    const FieldReading reading = CodeEntry::ReadNumber(number, text);
    if (!reading.Ok()) {
        message = CodeEntry::NumberMessage(number, reading.error);
        return false;
    }
    target = reading.value;
    return true;
}

bool ParseCodeType(std::string_view text, std::optional<int>& target)
{
    for (const SymbologyRow& row : SymbologyCatalogue) {
        if (text == row.key) {
            target = row.index;
            return true;
        }
    }
    return ParseInRange(text, 0, SymbologyCount - 1, target);
}

// What --type takes, as its error message says it.
const std::string& CodeTypeExpected()
{
    static const std::string expected = "a symbology (0 to " + std::to_string(SymbologyCount - 1)
                                        + " or a name, see --help)";
    return expected;
}

bool ParseStartStop(std::string_view text, std::optional<char>& target)
{
    if (text.size() != 1) {
        return false;
    }
    const char c = text.front();
    if (!((c >= 'A' && c <= 'D') || (c >= 'a' && c <= 'd'))) {
        return false;
    }
    target = c;
    return true;
}

// "#RRGGBB" as the profile stores a colour: red in the low byte.
std::string ColourOrText(std::string_view value)
{
    if (value.size() != 7 || value.front() != '#') {
        return std::string(value);
    }
    unsigned rgb = 0;
    const auto [end, error] = std::from_chars(value.data() + 1, value.data() + 7, rgb, 16);
    if (error != std::errc{} || end != value.data() + 7) {
        return std::string(value);
    }
    const unsigned red = (rgb >> 16) & 0xFFU;
    const unsigned green = (rgb >> 8) & 0xFFU;
    const unsigned blue = rgb & 0xFFU;
    return std::to_string(red | (green << 8) | (blue << 16));
}

bool ParseOverride(std::string_view text, std::vector<ProfileOverride>& overrides)
{
    const std::size_t slash = text.find('/');
    const std::size_t equals = text.find('=');
    if (slash == std::string_view::npos || equals == std::string_view::npos || slash == 0
        || equals < slash + 2) {
        return false;
    }
    overrides.push_back({std::string(text.substr(0, slash)),
                         std::string(text.substr(slash + 1, equals - slash - 1)),
                         ColourOrText(text.substr(equals + 1))});
    return true;
}


// How the option table's rows store their values.

template <int Low, int High, std::optional<int> CliOptions::*Field>
bool StoreInRange(std::string_view value, CliOptions& options, std::string&)
{
    return ParseInRange(value, Low, High, options.*Field);
}

template <CodeNumber Number, std::optional<int> CliOptions::*Field>
bool StoreCodeNumber(std::string_view value, CliOptions& options, std::string& message)
{
    return ParseCodeNumber(value, Number, options.*Field, message);
}

template <std::optional<char> CliOptions::*Field>
bool StoreStartStop(std::string_view value, CliOptions& options, std::string&)
{
    return ParseStartStop(value, options.*Field);
}

// A file name, or for --batch "-"; never empty.
template <std::optional<std::string> CliOptions::*Field>
bool StoreName(std::string_view value, CliOptions& options, std::string&)
{
    if (value.empty()) {
        return false;
    }
    options.*Field = std::string(value);
    return true;
}

bool StoreData(std::string_view value, CliOptions& options, std::string&)
{
    options.dataUtf8 = std::string(value);
    return true;
}

// The range in its message follows the catalogue, so it says itself why.
bool StoreCodeType(std::string_view value, CliOptions& options, std::string& message)
{
    if (ParseCodeType(value, options.codeType)) {
        return true;
    }
    message = "'" + std::string(value) + "' is not " + CodeTypeExpected();
    return false;
}

bool StoreOverride(std::string_view value, CliOptions& options, std::string&)
{
    return ParseOverride(value, options.overrides);
}

bool StoreBitsPerPixel(std::string_view value, CliOptions& options, std::string&)
{
    int bits = 0;
    if (!ParseInt(value, bits)
        || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
        return false;
    }
    options.bitsPerPixel = bits;
    return true;
}

bool StoreFormat(std::string_view value, CliOptions& options, std::string&)
{
    options.format = FormatFromKey(value);
    return options.format.has_value();
}

bool StoreJobs(std::string_view value, CliOptions& options, std::string&)
{
    std::optional<int> jobs;
    if (!ParseInRange(value, 1, 64, jobs)) {
        return false;
    }
    options.jobs = *jobs;
    return true;
}

template <bool CliOptions::*Field>
bool StoreSwitch(std::string_view, CliOptions& options, std::string&)
{
    options.*Field = true;
    return true;
}

template <Output Printed>
bool StoreOutput(std::string_view, CliOptions& options, std::string&)
{
    options.outputs.push_back(Printed);
    return true;
}

// Rows of the option table, by what they are.

constexpr OptionRow HelpLines(std::string_view lines)
{
    return {OptionKind::HelpText, {}, {}, nullptr, {}, lines};
}

constexpr OptionRow SymbologyList()
{
    return {OptionKind::SymbologyList, {}, {}, nullptr, {}, {}};
}

constexpr OptionRow ValueOption(std::array<std::string_view, 2> names, std::string_view valueName,
                                StoreOption store, std::string_view expected, std::string_view help)
{
    return {OptionKind::Value, names, valueName, store, expected, help};
}

constexpr OptionRow SwitchOption(OptionKind kind, std::array<std::string_view, 2> names,
                                 StoreOption store, std::string_view help)
{
    return {kind, names, {}, store, {}, help};
}

using O = CliOptions;  // the fields the rows store into
constexpr OptionKind Switch = OptionKind::Switch;
constexpr OptionKind StrictSwitch = OptionKind::StrictSwitch;

// kestrel-cli's options in the order --help lists them. The picture's numbers
// have no "is not" text: a refused one is reported with the code dialog's
// own message, as the dialog would show it.
constexpr OptionRow OptionTable[] = {
    HelpLines("\nProfile:"),
    ValueOption({"--profile"}, "FILE", StoreName<&O::profilePath>, "a file name",
                "read this INI file instead of the user's profile\n"
                "(a missing or empty file gives all defaults)"),
    ValueOption({"--set"}, "Section/Key=VALUE", StoreOverride, "of the form Section/Key=VALUE",
                "set a profile value for this run only,\n"
                "e.g. --set Codabar/CheckDegit=0"),

    HelpLines("\nBarcode:"),
    ValueOption({"--type"}, "N|NAME", StoreCodeType, {}, "symbology:"),
    SymbologyList(),
    ValueOption({"--data"}, "TEXT", StoreData, {},
                "the data (UTF-8, at most 128 bytes in code page 932)"),
    ValueOption({"--check"}, "0|1", StoreInRange<0, 1, &O::check>, "0 or 1", "check character on"),
    ValueOption({"--auto-add"}, "0|1", StoreInRange<0, 1, &O::autoAdd>, "0 or 1",
                "compute and append the check character (1 also\n"
                "sets --check 1)"),
    ValueOption({"--aspect"}, "0|1|2", StoreInRange<0, 2, &O::aspect>, "0, 1 or 2",
                "narrow-to-wide ratio: 0 \"1:2\", 1 \"2:5\", 2 \"1:3\""),
    ValueOption({"--narrow"}, "N", StoreCodeNumber<CodeNumber::NarrowWidth, &O::narrowWidth>, {},
                "narrow bar width in pixels, 1 to 50"),
    ValueOption({"--codabar-gap"}, "N", StoreInRange<1, 10, &O::codabarGapX>, "a gap from 1 to 10",
                "Codabar inter-character gap in narrow widths, 1 to 10"),
    ValueOption({"--code39-gap"}, "N", StoreInRange<1, 10, &O::code39GapX>, "a gap from 1 to 10",
                "Code 39 inter-character gap in narrow widths, 1 to 10"),
    ValueOption({"--codabar-start"}, "C", StoreStartStop<&O::codabarStart>, "one of A-D or a-d",
                "Codabar start character used when the text has none"),
    ValueOption({"--codabar-stop"}, "C", StoreStartStop<&O::codabarStop>, "one of A-D or a-d",
                "Codabar stop character likewise (A-D or a-d)"),
    HelpLines("\n"
              "The data is accepted as the code dialog's OK accepts it: completed with\n"
              "check characters, a leading 0 or start and stop characters. A rejected text\n"
              "prints the reason on standard error and exits with status 1."),

    HelpLines("\nPicture:"),
    ValueOption({"--width"}, "N", StoreCodeNumber<CodeNumber::Width, &O::width>, {},
                "picture width in pixels, 5 to 9999"),
    ValueOption({"--height"}, "N", StoreCodeNumber<CodeNumber::Height, &O::height>, {},
                "picture height in pixels, 5 to 999"),
    ValueOption({"--xmargin"}, "N", StoreCodeNumber<CodeNumber::LeftMargin, &O::xmargin>, {},
                "left margin, 0 to 100"),
    ValueOption({"--ymargin"}, "N", StoreCodeNumber<CodeNumber::TopMargin, &O::ymargin>, {},
                "top margin, 0 to 100"),
    ValueOption({"--text"}, "0|1", StoreInRange<0, 1, &O::dispCode>, "0 or 1",
                "draw the human-readable text"),
    ValueOption({"--text-height"}, "N", StoreCodeNumber<CodeNumber::TextHeight, &O::codeHigh>, {},
                "character height of that text, 10 to 200"),
    ValueOption({"--bearer"}, "0|1", StoreInRange<0, 1, &O::bearer>, "0 or 1",
                "bearer bars (kept for JAN-13, JAN-8 and for ITF texts\n"
                "of 6, 14 or 16 characters, as the code dialog keeps them)"),
    ValueOption({"--depth"}, "0|1|2", StoreInRange<0, 2, &O::depth>, "0, 1 or 2",
                "BMP colour depth (Settings/Bitmap): 0 and 1 24 bits,\n"
                "2 256 colours"),
    ValueOption({"--bpp"}, "1|4|8|16|24|32", StoreBitsPerPixel, "1, 4, 8, 16, 24 or 32",
                "BMP bits per pixel, instead of --depth: 1, 4 and 8\n"
                "with a palette of the picture's most frequent\n"
                "colours, 16 (5-5-5), 24 and 32 direct"),
    SwitchOption(Switch, {"--rle"}, StoreSwitch<&O::runLength>,
                 "run-length code the BMP (with --bpp 4 or 8)"),
    HelpLines("  Colours, comments and the JAN and ITF options go through --set, colours\n"
              "  also as #RRGGBB: --set Code/BarColor=#000080 --set Comment/String1=Lot 7"),

    HelpLines("\nOutput (in the order given):"),
    ValueOption({"-o", "--output"}, "FILE", StoreName<&O::outputPath>, "a file name",
                "write the picture; the suffix names the format:\n"
                ".bmp (also any other suffix), .png (lossless; 1 bit\n"
                "when the picture has two colours), .svg or .pdf\n"
                "(vector: one picture pixel is one SVG unit or\n"
                "one PDF point, the page exactly the picture)"),
    ValueOption({"--format"}, "bmp|png|svg|pdf", StoreFormat, "bmp, png, svg or pdf",
                "write this format whatever the suffix"),
    ValueOption({"--batch"}, "FILE|-", StoreName<&O::batchPath>, "a file name or -",
                "one picture per line of FILE (or standard input);\n"
                "-o names the files, {n} standing for the line number;\n"
                "a rejected line is reported with its number and the\n"
                "other lines are still written; on a terminal,\n"
                "progress is shown on standard error; Ctrl+C stops\n"
                "after the files in hand (none left partial), exit 130"),
    ValueOption({"--jobs"}, "N", StoreJobs, "a number of threads from 1 to 64",
                "spread a batch over N threads (1 to 64, default 1);\n"
                "names and reports stay in line order"),
    SwitchOption(Switch, {"--verify"}, StoreSwitch<&O::verify>,
                 "after writing, read the picture back with ZXing and\n"
                 "compare it with the completed data (BMP and PNG as\n"
                 "written, SVG and PDF as the same drawing rasterised);\n"
                 "one that does not read back is reported \"written\n"
                 "but does not scan\" (in a batch after \"line N: \");\n"
                 "STF, Code 11 and ITF under six digits, which ZXing\n"
                 "does not read, are reported \"not verified\""),
    SwitchOption(StrictSwitch, {"--module-text"}, StoreOutput<Output::ModuleText>,
                 "print the bar pattern: -1/-2 narrow/wide bar, 1/2\n"
                 "narrow/wide space, separated by commas"),
    SwitchOption(StrictSwitch, {"--code-text"}, StoreOutput<Output::CodeText>,
                 "print the completed data"),
    SwitchOption(Switch, {"--help"}, StoreSwitch<&O::help>, "print this text"),
    SwitchOption(Switch, {"-h"}, StoreSwitch<&O::help>, {}),
};

const OptionRow* FindOption(std::string_view flag)
{
    for (const OptionRow& row : OptionTable) {
        const bool named = flag == row.names[0] || (!row.names[1].empty() && flag == row.names[1]);
        if (row.IsOption() && named) {
            return &row;
        }
    }
    return nullptr;
}

// "FLAG: 'VALUE' is not <expected>", or where the row names nothing
// expected, "FLAG: <message of the store>".
std::string RefusedValue(const std::string& flag, const OptionRow& row, const std::string& value,
                         const std::string& message)
{
    return row.expected.empty() ? flag + ": " + message
                                : flag + ": '" + value + "' is not " + std::string(row.expected);
}

// The value of the option at `arguments[index]`, written after its '=' or
// as the next argument, which is then passed over.
bool TakeValue(const std::vector<std::string>& arguments, std::size_t& index,
               const std::string& flag, std::optional<std::string> inlineValue, std::string& value,
               std::string& error)
{
    if (inlineValue) {
        value = std::move(*inlineValue);
        return true;
    }
    if (index + 1 >= arguments.size()) {
        error = flag + " needs a value";
        return false;
    }
    value = arguments[++index];
    return true;
}

// -o and the BMP depth asked for.
bool CheckPictureOptions(const CliOptions& options, std::string& error)
{
    if (options.format && !options.outputPath) {
        error = "--format names the format of -o; give -o FILE as well";
        return false;
    }
    if (options.verify && !options.outputPath) {
        error = "--verify reads back the picture of -o; give -o FILE as well";
        return false;
    }
    if (!options.bitsPerPixel && !options.runLength) {
        return true;
    }
    const std::string flag = options.bitsPerPixel ? "--bpp" : "--rle";
    if (!options.outputPath) {
        error = flag + " is the depth of the BMP file of -o; give -o FILE.bmp";
        return false;
    }
    const PictureFormat format = options.format.value_or(
        FormatFromFileName(*options.outputPath).value_or(PictureFormat::Bmp));
    if (format != PictureFormat::Bmp) {
        error = flag + " is for BMP files only, not for " + *options.outputPath;
        return false;
    }
    if (options.depth) {
        error = "give --depth or --bpp/--rle, not both";
        return false;
    }
    if (options.runLength && options.bitsPerPixel != 4 && options.bitsPerPixel != 8) {
        error = "--rle codes 4- and 8-bit BMP files only; give --bpp 4 or --bpp 8";
        return false;
    }
    return true;
}

bool CheckBatchOptions(const CliOptions& options, std::string& error)
{
    if (options.jobs != 1 && !options.batchPath) {
        error = "--jobs spreads a batch over threads; give --batch FILE|- as well";
        return false;
    }
    if (!options.batchPath) {
        return true;
    }
    if (options.dataUtf8) {
        error = "--batch takes its data from the file; leave out --data";
        return false;
    }
    if (!options.outputPath || options.outputPath->find("{n}") == std::string::npos) {
        error = "--batch needs -o with {n} in the file name, e.g. -o 'label-{n}.bmp'";
        return false;
    }
    return true;
}

std::string SymbologyListText()
{
    std::string names;
    for (int index = 0; index < SymbologyCount; ++index) {
        names += "  " + std::to_string(index) + (index < 10 ? "   " : "  ")
                 + std::string(SymbologyKeys[static_cast<std::size_t>(index)]);
        names.append(12 - SymbologyKeys[static_cast<std::size_t>(index)].size(), ' ');
        names += std::string(SymbologyNames[static_cast<std::size_t>(index)]) + "\n";
    }
    return names;
}

// An option's lines of --help: its flags in the first 26 columns (or
// followed by two spaces when they fill them), its help beside them.
std::string OptionHelp(const OptionRow& row)
{
    constexpr std::size_t helpColumn = 26;
    std::string text = "  " + std::string(row.names[0]);
    if (!row.names[1].empty()) {
        text += ", " + std::string(row.names[1]);
    }
    if (!row.valueName.empty()) {
        text += " " + std::string(row.valueName);
    }
    text += text.size() < helpColumn ? std::string(helpColumn - text.size(), ' ') : "  ";
    for (const char c : row.help) {
        text += c;
        if (c == '\n') {
            text.append(helpColumn, ' ');
        }
    }
    return text + "\n";
}

std::string RowHelp(const OptionRow& row)
{
    switch (row.kind) {
    case OptionKind::HelpText: return std::string(row.help) + "\n";
    case OptionKind::SymbologyList: return SymbologyListText();
    default: return row.help.empty() ? std::string() : OptionHelp(row);
    }
}

}  // namespace

std::span<const OptionRow> OptionRows()
{
    return OptionTable;
}

bool ParseCommandLine(const std::vector<std::string>& arguments, CliOptions& options,
                      std::string& error)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string flag = arguments[i];
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = flag.find('=');
            flag.rfind("--", 0) == 0 && equals != std::string::npos) {
            inlineValue = flag.substr(equals + 1);
            flag.resize(equals);
        }
        const OptionRow* row = FindOption(flag);
        if (row == nullptr) {
            error = "unknown option '" + arguments[i] + "' (see --help)";
            return false;
        }
        if (row->kind == OptionKind::StrictSwitch && inlineValue) {
            error = flag + " takes no value";
            return false;
        }
        std::string value;
        if (row->kind == OptionKind::Value
            && !TakeValue(arguments, i, flag, std::move(inlineValue), value, error)) {
            return false;
        }
        std::string message;
        if (!row->store(value, options, message)) {
            error = RefusedValue(flag, *row, value, message);
            return false;
        }
    }
    return CheckPictureOptions(options, error) && CheckBatchOptions(options, error);
}

std::string UsageText()
{
    std::string text =
        "Usage: kestrel-cli [OPTIONS]\n"
        "Makes one barcode from the settings of the Kestrel profile and the options\n"
        "below, without a display. The profile is only read, never written.\n";
    for (const OptionRow& row : OptionTable) {
        text += RowHelp(row);
    }
    return text
           + "\n"
             "Exit status: 0 done, 1 data rejected, not drawable or not written (in a\n"
             "batch: any line), 2 bad command line, 3 written but not read back by\n"
             "--verify (in a batch: any line, when no line gave 1), 130 batch stopped by\n"
             "Ctrl+C (SIGINT) or SIGTERM.\n";
}

}  // namespace kestrel::cli
