#pragma once

// Texts a front end shows for results of the bitmap library, exactly as the
// user sees them. Core never shows them itself.

namespace kestrel::messages {

// Shown (with MaskWarningCaption) when MakePicturePalette reports through
// its MaskWarning that a picture's colour masks are unusable.
inline constexpr const char* MaskWarningText =
    "These DWORD masks look strange!\n\nI'm going to substitute a halftone palette.";
inline constexpr const char* MaskWarningCaption = "Problem?";

}  // namespace kestrel::messages
