#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

// The program's folder in the user's cache ($XDG_CACHE_HOME, else
// $HOME/.cache, then "kestrel"); empty where neither is an absolute path.
std::string CacheFolder();

// A file's size and modification time as one text; empty when it is not a
// regular file.
std::string FileStamp(const std::string& path);

// The whole file; none when it cannot be read.
std::optional<std::string> ReadWholeFile(const std::string& path);

// Writes the file whole (as picture files are written, so a reader never
// sees half of one), making its folder first. A cache file that cannot be
// written only costs the next run the work it would have saved: false then,
// and nothing is left behind.
bool ReplaceFile(const std::string& path, std::string_view bytes);

}  // namespace kestrel
