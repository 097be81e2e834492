#include "fonts/CacheFiles.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <vector>

namespace kestrel {

std::string CacheFolder()
{
    const char* cache = std::getenv("XDG_CACHE_HOME");
    if (cache != nullptr && cache[0] == '/') {
        return std::string(cache) + "/kestrel";
    }
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] == '/') {
        return std::string(home) + "/.cache/kestrel";
    }
    return {};
}

std::string FileStamp(const std::string& path)
{
    struct stat status {};
    if (stat(path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return {};
    }
    return std::to_string(status.st_size) + ' ' + std::to_string(status.st_mtim.tv_sec) + '.'
           + std::to_string(status.st_mtim.tv_nsec);
}

std::optional<std::string> ReadWholeFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    if (!file.is_open()) {
        return std::nullopt;
    }
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    if (file.bad()) {
        return std::nullopt;
    }
    return bytes;
}

bool ReplaceFile(const std::string& path, std::string_view bytes)
{
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), error);
    // Threads of one process may write the same cache file at once: each
    // writes a file of its own name first.
    std::vector<char> name(path.begin(), path.end());
    for (const char c : std::string_view(".XXXXXX")) {
        name.push_back(c);
    }
    name.push_back('\0');
    const int descriptor = mkstemp(name.data());
    if (descriptor < 0) {
        return false;
    }
    fchmod(descriptor, 0644);
    bool written = true;
    for (std::size_t done = 0; written && done < bytes.size();) {
        const ssize_t now = write(descriptor, bytes.data() + done, bytes.size() - done);
        written = now > 0;
        done += written ? static_cast<std::size_t>(now) : 0;
    }
    written = close(descriptor) == 0 && written;
    if (!written || std::rename(name.data(), path.c_str()) != 0) {
        std::remove(name.data());
        return false;
    }
    return true;
}

}  // namespace kestrel
