#pragma once

#include "CliOptions.h"

#include <istream>
#include <ostream>
#include <string>

namespace kestrel::cli {

enum ExitStatus : int {
    Success = 0,
    Rejected = 1,
    UsageError = 2,
    DoesNotScan = 3,
    Interrupted = 130
};

// What the program learns of where it runs.
struct RunEnvironment {
    // Standard error is a terminal: a batch shows its progress there.
    bool showProgress = false;
};

// Runs one request: reads the profile once (never writing it), applies the
// options to a document, accepts the data as the code dialog does, encodes,
// prints what was asked for and writes the pictures. `in` feeds --batch -.
// Pictures that need Qt's GUI start it (EnsureGuiApplication), so Run
// must be called on the main thread.
// A batch spreads its lines over --jobs threads and reports them in line
// order.
int Run(const CliOptions& options, std::istream& in, std::ostream& out, std::ostream& err,
        const RunEnvironment& environment = {});

// Asks a running batch to stop after the files in hand (it exits 130).
// Safe to call from a signal handler.
void AskToStop();

}  // namespace kestrel::cli
