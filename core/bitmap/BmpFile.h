#pragma once

// BMP files: a 14-byte file header followed by the DIB byte for byte.

#include "bitmap/Dib.h"
#include "bitmap/Palette.h"

#include <array>
#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <span>

namespace kestrel {

inline constexpr std::size_t FileHeaderSize = 14;

// bfType "BM", bfSize 14 + the DIB's size, bfOffBits 14 + biSize + the
// colour table size. Nothing for an invalid DIB.
std::optional<std::array<std::uint8_t, FileHeaderSize>> MakeFileHeader(const Dib& dib);

// Writes the file. 1 on success; 0 for an invalid DIB, an empty or over-long
// name, or any failure to open, write, flush or rename. A regular file is
// written beside the target and renamed over it, so an existing file is
// either replaced whole or left as it was. A device or pipe is written as
// given.
int WritePicture(const std::filesystem::path& fileName, const Dib& dib);

// Writes the parts one after the other as the whole file, the way
// WritePicture writes a picture (which uses it): beside the target and
// renamed over it, flushed to disk first only when it replaces a file; a
// device or pipe written as given. 1 on success, 0 otherwise, and then no
// file is left behind or changed.
int WriteWholeFile(const std::filesystem::path& fileName,
                   std::initializer_list<std::span<const std::uint8_t>> parts);

// Removes the temporary files (".kestrel-<pid>-<n>.tmp") that processes
// no longer running left in the folder: a program killed between naming a
// replacement and renaming it over its target. Answers how many.
int RemoveStaleTemporaries(const std::filesystem::path& folder);

// Writes the DIB unchanged when it already has the requested bit count and
// compression or the request is 0 with BI_RGB; otherwise a converted copy
// (ConvertPicture). 0 for a refused or failed conversion, which leaves no
// file behind and touches none.
int SavePicture(const std::filesystem::path& fileName, const Dib& dib, int bitCount,
                std::uint32_t compression, const MaskWarning& warn = {});

}  // namespace kestrel
