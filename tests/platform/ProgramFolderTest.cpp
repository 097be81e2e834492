#include "process/ProgramFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace kestrel {
namespace {

namespace fs = std::filesystem;

// A folder of the test's own, emptied even when a test made parts of it
// read-only.
class TempFolder {
public:
    TempFolder()
    {
        std::string pattern = (fs::temp_directory_path() / "kestrel-folder-XXXXXX").string();
        path_ = ::mkdtemp(pattern.data()) ? fs::path(pattern) : fs::path();
    }
    ~TempFolder()
    {
        std::error_code error;
        for (const auto& entry : fs::recursive_directory_iterator(path_, error)) {
            if (entry.is_directory(error) && !entry.is_symlink(error)) {
                fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, error);
            }
        }
        fs::remove_all(path_, error);
    }
    const fs::path& path() const { return path_; }

private:
    fs::path path_;
};

void WriteText(const fs::path& file, const std::string& text)
{
    std::ofstream(file) << text;
}

std::string ReadText(const fs::path& file)
{
    std::ifstream in(file);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::set<std::string> Names(const fs::path& folder)
{
    std::set<std::string> names;
    std::error_code error;
    for (const auto& entry : fs::directory_iterator(folder, error)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// An installed program: its folder cannot be written. Permission bits do not
// stop root, so there the program lies in a folder that does not exist,
// which cannot be written either; the last test runs the read-only folder as
// an ordinary user.
fs::path UnwritableProgram(const fs::path& root)
{
    if (::geteuid() != 0) {
        fs::create_directory(root / "bin");
        WriteText(root / "bin/kestrel", "program");
        fs::permissions(root / "bin", fs::perms(0555));
        return root / "bin/kestrel";
    }
    return root / "not-there/bin/kestrel";
}

TEST(WritableProgramPathTest, WritableProgramFolderIsKept)
{
    TempFolder temp;
    fs::create_directory(temp.path() / "build");
    const fs::path program = temp.path() / "build/kestrel";
    WriteText(program, "program");
    const fs::path userFolder = temp.path() / "share/Plover/Kestrel";

    EXPECT_EQ(WritableProgramPath(program, userFolder), program);
    EXPECT_FALSE(fs::exists(temp.path() / "share")) << "nothing is made when it is not needed";
}

TEST(WritableProgramPathTest, NoUserFolderKeepsTheProgram)
{
    TempFolder temp;
    const fs::path program = UnwritableProgram(temp.path());
    EXPECT_EQ(WritableProgramPath(program, fs::path()), program);
}

// What the per-user folder holds under the program's name before the start.
enum class Before { NoFolder, Nothing, LinkToProgram, LinkElsewhere, DanglingLink, File, Folder };

struct FolderCase {
    const char* what;
    Before before;
    bool linkUsed;  // false: the real program's path comes back
};

const FolderCase folderCases[] = {
    {"first start: the folder is made and the link put in it", Before::NoFolder, true},
    {"the folder is there without the link", Before::Nothing, true},
    {"a link to this program is kept", Before::LinkToProgram, true},
    {"a link to another copy (an older install) is turned here", Before::LinkElsewhere, true},
    {"a link to nothing is turned here", Before::DanglingLink, true},
    {"the user's own file of that name is left alone", Before::File, false},
    {"the user's own folder of that name is left alone", Before::Folder, false},
};

TEST(WritableProgramPathTest, UnwritableProgramFolderUsesTheUserFolder)
{
    for (const FolderCase& row : folderCases) {
        SCOPED_TRACE(row.what);
        TempFolder temp;
        const fs::path program = UnwritableProgram(temp.path());
        const fs::path userFolder = temp.path() / "share/Plover/Kestrel";
        const fs::path link = userFolder / "kestrel";
        if (row.before != Before::NoFolder) {
            fs::create_directories(userFolder);
        }
        switch (row.before) {
        case Before::NoFolder:
        case Before::Nothing: break;
        case Before::LinkToProgram: fs::create_symlink(program, link); break;
        case Before::LinkElsewhere:
            WriteText(temp.path() / "old-kestrel", "old program");
            fs::create_symlink(temp.path() / "old-kestrel", link);
            break;
        case Before::DanglingLink: fs::create_symlink(temp.path() / "gone", link); break;
        case Before::File: WriteText(link, "the user's"); break;
        case Before::Folder: fs::create_directory(link); break;
        }

        const fs::path chosen = WritableProgramPath(program, userFolder);

        if (row.linkUsed) {
            EXPECT_EQ(chosen, link);
            EXPECT_TRUE(fs::is_symlink(link));
            EXPECT_EQ(fs::read_symlink(link), program);
            EXPECT_EQ(::access(chosen.parent_path().c_str(), W_OK), 0);
            EXPECT_EQ(Names(userFolder), std::set<std::string>{"kestrel"})
                << "no link left half made";
        } else {
            EXPECT_EQ(chosen, program);
            EXPECT_FALSE(fs::is_symlink(link));
            if (row.before == Before::File) {
                EXPECT_EQ(ReadText(link), "the user's");
            } else {
                EXPECT_TRUE(fs::is_directory(link));
            }
        }
        if (row.before == Before::LinkElsewhere) {
            EXPECT_EQ(ReadText(temp.path() / "old-kestrel"), "old program")
                << "only the link changes";
        }
    }
}

// Root writes into a 0555 folder regardless, so as root the read-only
// program folder is tried by a child that has become nobody.
TEST(WritableProgramPathTest, ReadOnlyProgramFolderForAnOrdinaryUser)
{
    if (::geteuid() != 0) {
        GTEST_SKIP() << "the table above ran with a read-only program folder";
    }
    constexpr uid_t nobody = 65534;
    TempFolder temp;
    fs::permissions(temp.path(), fs::perms(0755));
    fs::create_directory(temp.path() / "bin");
    const fs::path program = temp.path() / "bin/kestrel";
    WriteText(program, "program");
    fs::permissions(temp.path() / "bin", fs::perms(0555));
    fs::create_directory(temp.path() / "home");
    ASSERT_EQ(::chown((temp.path() / "home").c_str(), nobody, nobody), 0);
    const fs::path userFolder = temp.path() / "home/.local/share/Plover/Kestrel";

    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        if (::setgid(nobody) != 0 || ::setuid(nobody) != 0) {
            ::_exit(2);
        }
        ::_exit(WritableProgramPath(program, userFolder) == userFolder / "kestrel" ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 2) {
        GTEST_SKIP() << "cannot become another user here";
    }
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_EQ(fs::read_symlink(userFolder / "kestrel"), program);
    EXPECT_EQ(Names(temp.path() / "bin"), std::set<std::string>{"kestrel"})
        << "nothing written beside the program";
}

}  // namespace
}  // namespace kestrel
