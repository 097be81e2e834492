#include "bitmap/BmpFile.h"

#include "bitmap/ByteOrder.h"
#include "bitmap/Convert.h"

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <charconv>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/uio.h>
#include <unistd.h>

namespace kestrel {

namespace {

bool IsAcceptableName(const std::filesystem::path& fileName)
{
    const std::string& name = fileName.native();
    if (name.empty() || name.size() >= PATH_MAX || name.find('\0') != std::string::npos) {
        return false;
    }
    const std::filesystem::path leaf = fileName.filename();
    return !leaf.empty() && leaf != "." && leaf != ".." && leaf.native().size() <= NAME_MAX;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size)
{
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

using Parts = std::initializer_list<std::span<const std::uint8_t>>;

bool WriteFile(int fd, Parts parts)
{
    // One call for all parts, as a rule: a batch writes thousands of small
    // files, and each call costs about as much as its bytes.
    std::array<iovec, 4> vectors{};
    if (parts.size() <= vectors.size()) {
        std::size_t count = 0;
        std::size_t total = 0;
        for (const auto& part : parts) {
            vectors[count++] = {const_cast<std::uint8_t*>(part.data()), part.size()};
            total += part.size();
        }
        const ssize_t written = ::writev(fd, vectors.data(), static_cast<int>(count));
        if (written >= 0 && static_cast<std::size_t>(written) == total) {
            return true;
        }
        if (written < 0 && errno != EINTR) {
            return false;
        }
        // Cut short: write what is left part by part.
        std::size_t skip = written < 0 ? 0 : static_cast<std::size_t>(written);
        for (const auto& part : parts) {
            const std::size_t done = std::min(skip, part.size());
            skip -= done;
            if (!WriteAll(fd, part.data() + done, part.size() - done)) {
                return false;
            }
        }
        return true;
    }
    return std::ranges::all_of(parts, [fd](const auto& part) {
        return WriteAll(fd, part.data(), part.size());
    });
}

// A device or pipe named by the user takes the bytes directly; replacing it
// with a file would be wrong.
int WriteInPlace(const std::string& target, Parts parts)
{
    const int fd = ::open(target.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        return 0;
    }
    const bool written = WriteFile(fd, parts);
    const bool closed = ::close(fd) == 0;
    return written && closed ? 1 : 0;
}

// ".kestrel-<pid>-<serial>.tmp" beside the target: the writer's process
// number lets a later start tell a dead writer's leftover from a live one's.
std::string TemporaryName(const std::filesystem::path& target)
{
    static std::atomic<unsigned> serial{0};
    const std::filesystem::path folder = target.parent_path();
    const std::string leaf = ".kestrel-" + std::to_string(::getpid()) + "-"
                             + std::to_string(serial.fetch_add(1)) + ".tmp";
    return (folder.empty() ? std::filesystem::path(leaf) : folder / leaf).native();
}

std::optional<pid_t> TemporaryWriter(std::string_view leaf)
{
    constexpr std::string_view Prefix = ".kestrel-";
    constexpr std::string_view Suffix = ".tmp";
    if (leaf.size() <= Prefix.size() + Suffix.size() || !leaf.starts_with(Prefix)
        || !leaf.ends_with(Suffix)) {
        return std::nullopt;
    }
    const std::string_view middle = leaf.substr(Prefix.size(),
                                                leaf.size() - Prefix.size() - Suffix.size());
    const std::size_t dash = middle.find('-');
    long pid = 0;
    const auto [end, problem] = std::from_chars(middle.data(), middle.data() + dash, pid);
    if (dash == std::string_view::npos || problem != std::errc() || end != middle.data() + dash
        || pid <= 0
        || middle.substr(dash + 1).find_first_not_of("0123456789") != std::string_view::npos
        || dash + 1 == middle.size()) {
        return std::nullopt;
    }
    return static_cast<pid_t>(pid);
}

int OpenTemporaryBeside(const std::filesystem::path& target, std::string& temporaryName)
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryName = TemporaryName(target);
        const int fd = ::open(temporaryName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    temporaryName.clear();
    return -1;
}

// Gives the unnamed file `fd` a temporary name beside the target.
bool LinkTemporaryBeside(int fd, const std::filesystem::path& target, std::string& temporaryName)
{
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        temporaryName = TemporaryName(target);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, temporaryName.c_str(), AT_SYMLINK_FOLLOW)
            == 0) {
            return true;
        }
        if (errno != EEXIST) {
            break;
        }
    }
    temporaryName.clear();
    return false;
}

// A new file is written without a name in the target's folder and linked
// under the target's name only when whole: no other program ever sees it
// partly written, and the folder gets one new entry instead of a temporary
// one and a rename. 1 when written, 0 when writing failed, -1 when this way
// is not available here or the name is taken (nothing is left behind then
// either).
int WriteNewUnnamed(const std::filesystem::path& target, Parts parts)
{
#ifdef O_TMPFILE
    const std::filesystem::path folder = target.parent_path();
    const int fd = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC,
                          0666);
    if (fd < 0) {
        return -1;
    }
    bool ok = WriteFile(fd, parts);
    int result = ok ? 1 : 0;
    if (ok) {
        const std::string self = "/proc/self/fd/" + std::to_string(fd);
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, target.c_str(), AT_SYMLINK_FOLLOW) != 0) {
            result = -1;
        }
    }
    if (::close(fd) != 0 && result == 1) {
        // Written and linked, but the bytes may not all be there: take the
        // name back rather than leave a short file under it.
        ::unlink(target.c_str());
        result = 0;
    }
    return result;
#else
    (void)target;
    (void)parts;
    return -1;
#endif
}

}  // namespace

std::optional<std::array<std::uint8_t, FileHeaderSize>> MakeFileHeader(const Dib& dib)
{
    const auto layout = InspectPicture(dib);
    if (!layout || dib.size() > 0xFFFFFFFFU - FileHeaderSize) {
        return std::nullopt;
    }
    std::array<std::uint8_t, FileHeaderSize> header{};
    bytes::WriteU16(header.data(), 0x4D42);
    bytes::WriteU32(header.data() + 2, static_cast<std::uint32_t>(FileHeaderSize + dib.size()));
    bytes::WriteU32(header.data() + 10,
                    static_cast<std::uint32_t>(FileHeaderSize + layout->header.biSize
                                               + ColourTableSize(layout->header)));
    return header;
}

int WritePicture(const std::filesystem::path& fileName, const Dib& dib)
{
    const auto header = MakeFileHeader(dib);
    if (!header) {
        return 0;
    }
    return WriteWholeFile(fileName, {*header, dib.bytes()});
}

int WriteWholeFile(const std::filesystem::path& fileName, Parts parts)
{
    if (!IsAcceptableName(fileName)) {
        return 0;
    }
    // A new name, as every name of a batch is, without a look at it first:
    // the unnamed file is linked only where nothing has the name, and a
    // name that is taken is looked at below.
    if (const int written = WriteNewUnnamed(fileName, parts); written >= 0) {
        return written;
    }
    std::filesystem::path target = fileName;
    struct stat info {};
    const bool named = ::lstat(target.c_str(), &info) == 0;
    if (named && S_ISLNK(info.st_mode)) {
        // Replace the file the link points to, not the link.
        if (char* resolved = ::realpath(target.c_str(), nullptr)) {
            target = resolved;
            std::free(resolved);
        }
    }
    const bool exists = named && ::stat(target.c_str(), &info) == 0;
    if (exists && S_ISDIR(info.st_mode)) {
        return 0;
    }
    if (exists && !S_ISREG(info.st_mode)) {
        return WriteInPlace(target.native(), parts);
    }

    // Written without a name first where the system allows it, so that a
    // program killed while writing leaves nothing behind; the temporary name
    // it is then linked under lives only until the rename.
    std::string temporary;
    int fd = -1;
    bool unnamed = false;
#ifdef O_TMPFILE
    {
        const std::filesystem::path folder = target.parent_path();
        fd = ::open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
        unnamed = fd >= 0;
    }
#endif
    if (!unnamed) {
        fd = OpenTemporaryBeside(target, temporary);
    }
    if (fd < 0) {
        return 0;
    }
    bool ok = WriteFile(fd, parts);
    if (ok && exists) {
        ok = ::fchmod(fd, info.st_mode & 07777) == 0;
    }
    // Only a file that replaces another needs its bytes on disk before the
    // rename: then a crash can never leave the user with neither. A new
    // file has nothing to lose, and skipping the sync keeps batches fast.
    ok = ok && (!exists || ::fsync(fd) == 0);
    if (ok && unnamed) {
        ok = LinkTemporaryBeside(fd, target, temporary);
    }
    ok = (::close(fd) == 0) && ok;
    ok = ok && ::rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        if (!temporary.empty()) {
            ::unlink(temporary.c_str());
        }
        return 0;
    }
    return 1;
}

int RemoveStaleTemporaries(const std::filesystem::path& folder)
{
    int removed = 0;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string leaf = entry.path().filename().native();
        const std::optional<pid_t> writer = TemporaryWriter(leaf);
        // A process that no longer exists (kill answers ESRCH) left it.
        if (writer && ::kill(*writer, 0) != 0 && errno == ESRCH && entry.is_regular_file(error)
            && ::unlink(entry.path().c_str()) == 0) {
            ++removed;
        }
    }
    return removed;
}

int SavePicture(const std::filesystem::path& fileName, const Dib& dib, int bitCount,
                std::uint32_t compression, const MaskWarning& warn)
{
    const auto layout = InspectPicture(dib);
    if (!layout) {
        return 0;
    }
    const bool unchanged = (bitCount == layout->header.biBitCount
                            && compression == layout->header.biCompression)
                           || (bitCount == 0 && compression == BI_RGB);
    if (unchanged) {
        return WritePicture(fileName, dib);
    }
    Dib copy = CopyPicture(dib);
    const Dib converted = ConvertPicture(copy, bitCount, compression, warn);
    if (!converted) {
        return 0;
    }
    return WritePicture(fileName, converted);
}

}  // namespace kestrel
