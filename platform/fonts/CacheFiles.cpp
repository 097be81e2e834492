#include "fonts/CacheFiles.h"

#include "bitmap/BmpFile.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <span>

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
    const std::span<const std::uint8_t> whole(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                              bytes.size());
    return WriteWholeFile(path, {whole}) == 1;
}

}  // namespace kestrel
