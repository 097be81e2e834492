#include "ZintRun.h"

#include <cerrno>
#include <cstring>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char** environ;

namespace kestrel::peer {

namespace {

std::string EscapedForZint(const std::string& data)
{
    std::string escaped;
    for (const char c : data) {
        if (c == '\0') {
            escaped += "\\0";
        } else if (c == '\\') {
            escaped += "\\\\";
        } else {
            escaped += c;
        }
    }
    return escaped;
}

std::string ReadAll(int fd)
{
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n > 0) {
            text.append(buffer, static_cast<std::size_t>(n));
        } else if (n == 0 || errno != EINTR) {
            return text;
        }
    }
}

}  // namespace

std::vector<int> RunsFromDumpRow(const std::string& row)
{
    std::string bits;
    for (const char c : row) {
        int nibble = -1;
        if (c >= '0' && c <= '9') {
            nibble = c - '0';
        } else if (c >= 'A' && c <= 'F') {
            nibble = c - 'A' + 10;
        } else if (c >= 'a' && c <= 'f') {
            nibble = c - 'a' + 10;
        }
        if (nibble < 0) {
            continue;
        }
        for (int bit = 3; bit >= 0; --bit) {
            bits += (nibble >> bit) & 1 ? '1' : '0';
        }
    }
    while (!bits.empty() && bits.back() == '0') {
        bits.pop_back();
    }
    std::vector<int> runs;
    for (std::size_t i = 0; i < bits.size();) {
        std::size_t j = i;
        while (j < bits.size() && bits[j] == bits[i]) {
            ++j;
        }
        runs.push_back(static_cast<int>(j - i));
        i = j;
    }
    // A symbol starts with a bar; a row starting with a space would shift
    // every comparison by one, so make it visible instead.
    if (!bits.empty() && bits.front() == '0') {
        runs.insert(runs.begin(), 0);
    }
    return runs;
}

ZintSymbol RunZint(int symbology, const std::string& data, const std::vector<std::string>& options)
{
    ZintSymbol symbol;
    const bool escape = data.find('\0') != std::string::npos;
    std::vector<std::string> arguments{KESTREL_ZINT_EXECUTABLE, "-b", std::to_string(symbology),
                                       "--dump"};
    arguments.insert(arguments.end(), options.begin(), options.end());
    if (escape) {
        arguments.push_back("--esc");
    }
    arguments.push_back("--data=" + (escape ? EscapedForZint(data) : data));

    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    int output[2];
    if (pipe(output) != 0) {
        symbol.messages = "pipe failed";
        return symbol;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDERR_FILENO);
    posix_spawn_file_actions_addclose(&actions, output[0]);
    posix_spawn_file_actions_addclose(&actions, output[1]);
    pid_t pid = 0;
    const int spawned = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    close(output[1]);
    if (spawned != 0) {
        close(output[0]);
        symbol.messages = std::string("cannot start zint: ") + std::strerror(spawned);
        return symbol;
    }
    const std::string text = ReadAll(output[0]);
    close(output[0]);
    int status = 0;
    while (waitpid(pid, &status, 0) < 0 && errno == EINTR) {}
    symbol.exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;

    // The dump is the lines of hex digits; anything else is a message.
    bool haveRow = false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) {
            end = text.size();
        }
        const std::string line = text.substr(start, end - start);
        const bool isRow = !line.empty()
                           && line.find_first_not_of("0123456789ABCDEF ") == std::string::npos;
        if (isRow && !haveRow) {
            symbol.runs = RunsFromDumpRow(line);
            haveRow = true;
        } else if (!isRow) {
            symbol.messages += line + "\n";
        }
        start = end + 1;
    }
    return symbol;
}

}  // namespace kestrel::peer
