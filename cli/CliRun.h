#pragma once

#include "CliOptions.h"

#include <ostream>
#include <string>

namespace kestrel::cli {

enum ExitStatus : int { Success = 0, Rejected = 1, UsageError = 2 };

// Runs one request: reads the profile (never writing it), applies the
// options to a document, accepts the data as the code dialog does, encodes
// and prints what was asked for.
int Run(const CliOptions& options, const std::string& programPath, std::ostream& out,
        std::ostream& err);

}  // namespace kestrel::cli
