#pragma once

#include "CliOptions.h"

#include <istream>
#include <ostream>
#include <string>

namespace kestrel::cli {

enum ExitStatus : int { Success = 0, Rejected = 1, UsageError = 2, DoesNotScan = 3 };

// Runs one request: reads the profile (never writing it), applies the
// options to a document, accepts the data as the code dialog does, encodes,
// prints what was asked for and writes the pictures. `in` feeds --batch -.
// Writing pictures needs a QGuiApplication (fonts).
int Run(const CliOptions& options, const std::string& programPath, std::istream& in,
        std::ostream& out, std::ostream& err);

}  // namespace kestrel::cli
