#include "CliOptions.h"
#include "CliRun.h"
#include "process/HeapTuning.h"

#include <QString>
#include <QtGlobal>

#include <csignal>
#include <unistd.h>

#include <iostream>
#include <string>
#include <vector>

namespace {

// Qt complains when no runtime folder is set, which is normal for a
// headless tool; everything else it says still reaches standard error.
void QuietMessageHandler(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtWarningMsg && text.startsWith(QStringLiteral("QStandardPaths:"))) {
        return;
    }
    std::cerr << qPrintable(qFormatLogMessage(type, context, text)) << '\n';
}

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

    // Qt's GUI starts only when a picture needs it (text FreeType does not
    // give, SVG, PDF, several jobs), on the offscreen platform: this program
    // runs headless.
    if (options.outputPath && !options.help) {
        qInstallMessageHandler(QuietMessageHandler);
    }
    RunEnvironment environment;
    if (options.batchPath) {
        StopOnSignals();
        environment.showProgress = isatty(STDERR_FILENO) == 1;
    }
    return Run(options, std::cin, std::cout, std::cerr, environment);
}
