#pragma once

#include <filesystem>

namespace kestrel {

// The path that stands for the program wherever "beside the program" counts:
// Save and the automation's UM_OUTPUT 1 write BarCode.bmp next to it, and the
// profile's Main/Path tells clients where it is.
//
// That is the real program when its folder can be written (a build tree, a
// copy in the user's own folder). An installed program (/usr/bin) cannot
// write there, so the per-user folder takes the folder's place: it is
// created if needed and given a symbolic link to the real program under the
// program's own name, and the link's path is returned, so that starting it
// starts the program and BarCode.bmp lies beside it. A link that points
// elsewhere is made to point at the program again. A file or folder of that
// name that is not a link is the user's and is never replaced; then, as when
// the per-user folder is empty or cannot be made, the real program's path
// is returned and writing beside it fails as it would have.
std::filesystem::path WritableProgramPath(const std::filesystem::path& realProgram,
                                          const std::filesystem::path& userFolder);

}  // namespace kestrel
