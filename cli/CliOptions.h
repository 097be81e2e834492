#pragma once

#include "export/PictureExport.h"

#include <optional>
#include <string>
#include <vector>

namespace kestrel::cli {

enum class Output { ModuleText, CodeText };

// One profile value given for this run only: "Section/Key=VALUE".
struct ProfileOverride {
    std::string section;
    std::string key;
    std::string valueUtf8;
};

// What the command line asks for. Unset fields keep the profile's value.
struct CliOptions {
    bool help = false;
    std::optional<std::string> profilePath;
    std::optional<int> codeType;
    std::optional<std::string> dataUtf8;
    std::optional<int> check;
    std::optional<int> autoAdd;
    std::optional<int> aspect;
    std::optional<int> narrowWidth;
    std::optional<int> codabarGapX;
    std::optional<int> code39GapX;
    std::optional<char> codabarStart;
    std::optional<char> codabarStop;
    std::optional<int> width;
    std::optional<int> height;
    std::optional<int> xmargin;
    std::optional<int> ymargin;
    std::optional<int> dispCode;
    std::optional<int> codeHigh;
    std::optional<int> bearer;
    std::optional<int> depth;
    std::optional<int> bitsPerPixel;        // BMP depth asked for directly
    bool runLength = false;                 // BMP coded BI_RLE4 / BI_RLE8
    bool verify = false;                    // read the written picture back with ZXing
    std::optional<std::string> outputPath;  // "{n}" is the line number in batch mode
    std::optional<PictureFormat> format;    // unset: from the suffix of -o
    std::optional<std::string> batchPath;   // "-" is standard input
    int jobs = 1;                           // threads a batch is spread over
    std::vector<ProfileOverride> overrides;
    std::vector<Output> outputs;  // in the order asked for
};

// Parses the arguments after the program name. On failure returns false and
// sets `error` to a one-line description naming the flag.
bool ParseCommandLine(const std::vector<std::string>& arguments, CliOptions& options,
                      std::string& error);

// The --help text.
std::string UsageText();

}  // namespace kestrel::cli
