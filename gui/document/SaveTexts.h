#pragma once

// Texts of Save and Save As, exactly as the user sees them.

namespace kestrel::texts {

// Save As: the name offered first, the file types and the suffix a typed
// name without one gets.
inline constexpr const char* SaveAsInitialName = "BarCode.bmp";
inline constexpr const char* BitmapFilter = "ビットマップファイル (*.bmp)";
inline constexpr const char* AllFilesFilter = "全てのファイル (*.*)";
inline constexpr const char* BitmapSuffix = "bmp";

// Followed by a line with the file's name.
inline constexpr const char* SaveFailed = "ビットマップファイルを保存できませんでした。";

// The name beside the program would be longer than a path may be.
inline constexpr const char* SaveNameTooLong =
    "プログラムのフォルダー名が長すぎるため、ビットマップファイルを保存できませんでした。";

}  // namespace kestrel::texts
