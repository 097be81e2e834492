#include "CliOptions.h"
#include "CliRun.h"

#include <filesystem>
#include <iostream>
#include <string>
#include <system_error>
#include <vector>

namespace {

std::string ProgramPath(const char* argv0)
{
    std::error_code error;
    const auto path = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string(argv0) : path.string();
}

}  // namespace

int main(int argc, char* argv[])
{
    using namespace kestrel::cli;
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
    return Run(options, ProgramPath(argv[0]), std::cout, std::cerr);
}
