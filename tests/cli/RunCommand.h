#pragma once

// Running the programs the command-line tests check against (kestrel-cli
// itself, the decoders, ImageMagick) and taking their output.

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/wait.h>

namespace kestrel::test {

inline bool HaveProgram(const char* name)
{
    return std::system((std::string("command -v ") + name + " >/dev/null 2>&1").c_str()) == 0;
}

// Runs a command line (all our arguments are plain words or quoted paths)
// and returns its standard output without the final line break; the exit
// status goes to `status`.
inline std::string Capture(const std::string& command, int& status)
{
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    std::string output;
    std::array<char, 4096> buffer{};
    while (pipe && std::fgets(buffer.data(), static_cast<int>(buffer.size()), pipe)) {
        output += buffer.data();
    }
    const int raw = pipe ? pclose(pipe) : -1;
    status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r')) {
        output.pop_back();
    }
    return output;
}

}  // namespace kestrel::test
