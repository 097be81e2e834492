#include "process/ProgramFolder.h"

#include <string>
#include <system_error>
#include <unistd.h>

namespace kestrel {

namespace fs = std::filesystem;

namespace {

// access() asks the question the write will ask, with this process's ids,
// ACLs and read-only mounts taken into account; permission bits alone would
// not say it.
bool CanWriteIn(const fs::path& folder)
{
    return ::access(folder.c_str(), W_OK) == 0;
}

bool LinksTo(const fs::path& link, const fs::path& target)
{
    std::error_code error;
    return fs::read_symlink(link, error) == target && !error;
}

}  // namespace

fs::path WritableProgramPath(const fs::path& realProgram, const fs::path& userFolder)
{
    const fs::path programFolder = realProgram.parent_path();
    if (CanWriteIn(programFolder.empty() ? fs::path(".") : programFolder) || userFolder.empty()) {
        return realProgram;
    }

    std::error_code error;
    fs::create_directories(userFolder, error);
    if (error || !CanWriteIn(userFolder)) {
        return realProgram;
    }

    fs::path link = userFolder / realProgram.filename();  // not const: returned by move
    const fs::file_status status = fs::symlink_status(link, error);
    if (fs::exists(status) && !fs::is_symlink(status)) {
        return realProgram;
    }
    if (fs::is_symlink(status) && LinksTo(link, realProgram)) {
        return link;
    }

    // A new link is made under a name of this process and renamed over the
    // old one, so that a second instance starting at the same moment finds
    // either link whole, never none.
    const fs::path fresh =
        userFolder / (realProgram.filename().native() + ".new-" + std::to_string(::getpid()));
    fs::remove(fresh, error);
    fs::create_symlink(realProgram, fresh, error);
    if (error) {
        return realProgram;
    }
    fs::rename(fresh, link, error);
    if (error) {
        fs::remove(fresh, error);
        return LinksTo(link, realProgram) ? link : realProgram;
    }
    return link;
}

}  // namespace kestrel
