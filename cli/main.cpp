#include "CliOptions.h"
#include "CliRun.h"
#include "process/HeapTuning.h"

#include <csignal>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

namespace {

// Ctrl+C and SIGTERM end a batch after the files in hand, never in the
// middle of one. No SA_RESTART: a read of standard input that waits for
// the next line returns at once.
void StopOnSignals()
{
    struct sigaction action {};
    action.sa_handler = [](int) { kestrel::cli::AskToStop(); };
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

}  // namespace

int main(int argc, char* argv[])
{
    using namespace kestrel::cli;
    kestrel::KeepPictureBuffersInHeap();
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    CliOptions options;
    std::string error;
    if (!ParseCommandLine(arguments, options, error)) {
        std::cerr << "kestrel-cli: " << error << '\n';
        return UsageError;
    }
    if (arguments.empty()) {
        options.help = true;
    }

    RunEnvironment environment;
    if (options.batchPath) {
        StopOnSignals();
        environment.showProgress = isatty(STDERR_FILENO) == 1;
    }
    return Run(options, std::cin, std::cout, std::cerr, environment);
}
