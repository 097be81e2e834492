#include "CliOptions.h"

#include "PictureFile.h"
#include "document/CodeEntry.h"
#include "symbology/SymbologyCatalogue.h"

#include <charconv>
#include <string_view>

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
    static const std::string expected =
        "a symbology (0 to " + std::to_string(SymbologyCount - 1) + " or a name, see --help)";
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

}  // namespace

bool ParseCommandLine(const std::vector<std::string>& arguments, CliOptions& options,
                      std::string& error)
{
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        std::string flag = arguments[i];
        std::optional<std::string> inlineValue;
        if (const std::size_t equals = flag.find('='); flag.rfind("--", 0) == 0
                                                       && equals != std::string::npos) {
            inlineValue = flag.substr(equals + 1);
            flag.resize(equals);
        }

        if (flag == "--help" || flag == "-h") {
            options.help = true;
            continue;
        }
        if (flag == "--module-text" || flag == "--code-text") {
            if (inlineValue) {
                error = flag + " takes no value";
                return false;
            }
            options.outputs.push_back(flag == "--module-text" ? Output::ModuleText
                                                             : Output::CodeText);
            continue;
        }

        const auto takesValue = [&](std::string& value) {
            if (inlineValue) {
                value = *inlineValue;
                return true;
            }
            if (i + 1 >= arguments.size()) {
                error = flag + " needs a value";
                return false;
            }
            value = arguments[++i];
            return true;
        };
        const auto invalid = [&](const std::string& value, const char* expected) {
            error = flag + ": '" + value + "' is not " + expected;
            return false;
        };

        // A number the code dialog would refuse, with the dialog's message.
        const auto refused = [&](const std::string& message) {
            error = flag + ": " + message;
            return false;
        };

        std::string value;
        std::string message;
        if (flag == "--profile") {
            if (!takesValue(value)) return false;
            if (value.empty()) return invalid(value, "a file name");
            options.profilePath = value;
        } else if (flag == "--type") {
            if (!takesValue(value)) return false;
            if (!ParseCodeType(value, options.codeType)) {
                return invalid(value, CodeTypeExpected().c_str());
            }
        } else if (flag == "--data") {
            if (!takesValue(value)) return false;
            options.dataUtf8 = value;
        } else if (flag == "--check") {
            if (!takesValue(value)) return false;
            if (!ParseInRange(value, 0, 1, options.check)) return invalid(value, "0 or 1");
        } else if (flag == "--auto-add") {
            if (!takesValue(value)) return false;
            if (!ParseInRange(value, 0, 1, options.autoAdd)) return invalid(value, "0 or 1");
        } else if (flag == "--aspect") {
            if (!takesValue(value)) return false;
            if (!ParseInRange(value, 0, 2, options.aspect)) return invalid(value, "0, 1 or 2");
        } else if (flag == "--narrow") {
            if (!takesValue(value)) return false;
            if (!ParseCodeNumber(value, CodeNumber::NarrowWidth, options.narrowWidth, message)) {
                return refused(message);
            }
        } else if (flag == "--codabar-gap" || flag == "--code39-gap") {
            if (!takesValue(value)) return false;
            auto& target = flag == "--codabar-gap" ? options.codabarGapX : options.code39GapX;
            if (!ParseInRange(value, 1, 10, target)) return invalid(value, "a gap from 1 to 10");
        } else if (flag == "--codabar-start" || flag == "--codabar-stop") {
            if (!takesValue(value)) return false;
            auto& target = flag == "--codabar-start" ? options.codabarStart : options.codabarStop;
            if (!ParseStartStop(value, target)) return invalid(value, "one of A-D or a-d");
        } else if (flag == "--width") {
            if (!takesValue(value)) return false;
            if (!ParseCodeNumber(value, CodeNumber::Width, options.width, message)) {
                return refused(message);
            }
        } else if (flag == "--height") {
            if (!takesValue(value)) return false;
            if (!ParseCodeNumber(value, CodeNumber::Height, options.height, message)) {
                return refused(message);
            }
        } else if (flag == "--xmargin" || flag == "--ymargin") {
            if (!takesValue(value)) return false;
            const bool left = flag == "--xmargin";
            if (!ParseCodeNumber(value, left ? CodeNumber::LeftMargin : CodeNumber::TopMargin,
                                 left ? options.xmargin : options.ymargin, message)) {
                return refused(message);
            }
        } else if (flag == "--text") {
            if (!takesValue(value)) return false;
            if (!ParseInRange(value, 0, 1, options.dispCode)) return invalid(value, "0 or 1");
        } else if (flag == "--text-height") {
            if (!takesValue(value)) return false;
            if (!ParseCodeNumber(value, CodeNumber::TextHeight, options.codeHigh, message)) {
                return refused(message);
            }
        } else if (flag == "--bearer") {
            if (!takesValue(value)) return false;
            if (!ParseInRange(value, 0, 1, options.bearer)) return invalid(value, "0 or 1");
        } else if (flag == "--depth") {
            if (!takesValue(value)) return false;
            if (!ParseInRange(value, 0, 2, options.depth)) return invalid(value, "0, 1 or 2");
        } else if (flag == "--bpp") {
            if (!takesValue(value)) return false;
            int bits = 0;
            if (!ParseInt(value, bits)
                || (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)) {
                return invalid(value, "1, 4, 8, 16, 24 or 32");
            }
            options.bitsPerPixel = bits;
        } else if (flag == "--rle") {
            options.runLength = true;
        } else if (flag == "--verify") {
            options.verify = true;
        } else if (flag == "-o" || flag == "--output") {
            if (!takesValue(value)) return false;
            if (value.empty()) return invalid(value, "a file name");
            options.outputPath = value;
        } else if (flag == "--format") {
            if (!takesValue(value)) return false;
            options.format = FormatFromKey(value);
            if (!options.format) return invalid(value, "bmp, png, svg or pdf");
        } else if (flag == "--batch") {
            if (!takesValue(value)) return false;
            if (value.empty()) return invalid(value, "a file name or -");
            options.batchPath = value;
        } else if (flag == "--jobs") {
            if (!takesValue(value)) return false;
            std::optional<int> jobs;
            if (!ParseInRange(value, 1, 64, jobs)) {
                return invalid(value, "a number of threads from 1 to 64");
            }
            options.jobs = *jobs;
        } else if (flag == "--set") {
            if (!takesValue(value)) return false;
            if (!ParseOverride(value, options.overrides)) {
                return invalid(value, "of the form Section/Key=VALUE");
            }
        } else {
            error = "unknown option '" + arguments[i] + "' (see --help)";
            return false;
        }
    }
    if (options.format && !options.outputPath) {
        error = "--format names the format of -o; give -o FILE as well";
        return false;
    }
    if (options.verify && !options.outputPath) {
        error = "--verify reads back the picture of -o; give -o FILE as well";
        return false;
    }
    if (options.bitsPerPixel || options.runLength) {
        const char* flag = options.bitsPerPixel ? "--bpp" : "--rle";
        if (!options.outputPath) {
            error = std::string(flag) + " is the depth of the BMP file of -o; give -o FILE.bmp";
            return false;
        }
        const PictureFormat format = options.format.value_or(
            FormatFromFileName(*options.outputPath).value_or(PictureFormat::Bmp));
        if (format != PictureFormat::Bmp) {
            error = std::string(flag) + " is for BMP files only, not for " + *options.outputPath;
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
    }
    if (options.jobs != 1 && !options.batchPath) {
        error = "--jobs spreads a batch over threads; give --batch FILE|- as well";
        return false;
    }
    if (options.batchPath) {
        if (options.dataUtf8) {
            error = "--batch takes its data from the file; leave out --data";
            return false;
        }
        if (!options.outputPath || options.outputPath->find("{n}") == std::string::npos) {
            error = "--batch needs -o with {n} in the file name, e.g. -o 'label-{n}.bmp'";
            return false;
        }
    }
    return true;
}

std::string UsageText()
{
    std::string names;
    for (const SymbologyRow& row : SymbologyCatalogue) {
        names += "  " + std::to_string(row.index) + (row.index < 10 ? "   " : "  ")
                 + std::string(row.key);
        names.append(12 - row.key.size(), ' ');
        names += std::string(row.name) + "\n";
    }
    return "Usage: kestrel-cli [OPTIONS]\n"
           "Makes one barcode from the settings of the Kestrel profile and the options\n"
           "below, without a display. The profile is only read, never written.\n"
           "\n"
           "Profile:\n"
           "  --profile FILE          read this INI file instead of the user's profile\n"
           "                          (a missing or empty file gives all defaults)\n"
           "  --set Section/Key=VALUE set a profile value for this run only,\n"
           "                          e.g. --set Codabar/CheckDegit=0\n"
           "\n"
           "Barcode:\n"
           "  --type N|NAME           symbology:\n"
           + names +
           "  --data TEXT             the data (UTF-8, at most 128 bytes in code page 932)\n"
           "  --check 0|1             check character on\n"
           "  --auto-add 0|1          compute and append the check character (1 also\n"
           "                          sets --check 1)\n"
           "  --aspect 0|1|2          narrow-to-wide ratio: 0 \"1:2\", 1 \"2:5\", 2 \"1:3\"\n"
           "  --narrow N              narrow bar width in pixels, 1 to 50\n"
           "  --codabar-gap N         Codabar inter-character gap in narrow widths, 1 to 10\n"
           "  --code39-gap N          Code 39 inter-character gap in narrow widths, 1 to 10\n"
           "  --codabar-start C       Codabar start character used when the text has none\n"
           "  --codabar-stop C        Codabar stop character likewise (A-D or a-d)\n"
           "\n"
           "The data is accepted as the code dialog's OK accepts it: completed with\n"
           "check characters, a leading 0 or start and stop characters. A rejected text\n"
           "prints the reason on standard error and exits with status 1.\n"
           "\n"
           "Picture:\n"
           "  --width N               picture width in pixels, 5 to 9999\n"
           "  --height N              picture height in pixels, 5 to 999\n"
           "  --xmargin N             left margin, 0 to 100\n"
           "  --ymargin N             top margin, 0 to 100\n"
           "  --text 0|1              draw the human-readable text\n"
           "  --text-height N         character height of that text, 10 to 200\n"
           "  --bearer 0|1            bearer bars (kept for JAN-13, JAN-8 and for ITF texts\n"
           "                          of 6, 14 or 16 characters, as the code dialog keeps them)\n"
           "  --depth 0|1|2           BMP colour depth (Settings/Bitmap): 0 and 1 24 bits,\n"
           "                          2 256 colours\n"
           "  --bpp 1|4|8|16|24|32    BMP bits per pixel, instead of --depth: 1, 4 and 8\n"
           "                          with a palette of the picture's most frequent\n"
           "                          colours, 16 (5-5-5), 24 and 32 direct\n"
           "  --rle                   run-length code the BMP (with --bpp 4 or 8)\n"
           "  Colours, comments and the JAN and ITF options go through --set, colours\n"
           "  also as #RRGGBB: --set Code/BarColor=#000080 --set Comment/String1=Lot 7\n"
           "\n"
           "Output (in the order given):\n"
           "  -o, --output FILE       write the picture; the suffix names the format:\n"
           "                          .bmp (also any other suffix), .png (lossless; 1 bit\n"
           "                          when the picture has two colours), .svg or .pdf\n"
           "                          (vector: one picture pixel is one SVG unit or\n"
           "                          one PDF point, the page exactly the picture)\n"
           "  --format bmp|png|svg|pdf  write this format whatever the suffix\n"
           "  --batch FILE|-          one picture per line of FILE (or standard input);\n"
           "                          -o names the files, {n} standing for the line number;\n"
           "                          a rejected line is reported with its number and the\n"
           "                          other lines are still written; on a terminal,\n"
           "                          progress is shown on standard error; Ctrl+C stops\n"
           "                          after the files in hand (none left partial), exit 130\n"
           "  --jobs N                spread a batch over N threads (1 to 64, default 1);\n"
           "                          names and reports stay in line order\n"
           "  --verify                after writing, read the picture back with ZXing and\n"
           "                          compare it with the completed data (BMP and PNG as\n"
           "                          written, SVG and PDF as the same drawing rasterised);\n"
           "                          one that does not read back is reported \"written\n"
           "                          but does not scan\" (in a batch after \"line N: \");\n"
           "                          STF, Code 11 and ITF under six digits, which ZXing\n"
           "                          does not read, are reported \"not verified\"\n"
           "  --module-text           print the bar pattern: -1/-2 narrow/wide bar, 1/2\n"
           "                          narrow/wide space, separated by commas\n"
           "  --code-text             print the completed data\n"
           "  --help                  print this text\n"
           "\n"
           "Exit status: 0 done, 1 data rejected, not drawable or not written (in a\n"
           "batch: any line), 2 bad command line, 3 written but not read back by\n"
           "--verify (in a batch: any line, when no line gave 1), 130 batch stopped by\n"
           "Ctrl+C (SIGINT) or SIGTERM.\n";
}

}  // namespace kestrel::cli
