#pragma once

// Texts of Save and Save As, exactly as the user sees them.

namespace kestrel::texts {

// Save As: the name offered first, the file types and the suffix a typed
// name without one gets.
inline constexpr const char* SaveAsInitialName = "BarCode.bmp";
inline constexpr const char* BitmapFilter = "ビットマップファイル (*.bmp)";
inline constexpr const char* PngFilter = "PNG ファイル (*.png)";
inline constexpr const char* SvgFilter = "SVG ファイル (*.svg)";
inline constexpr const char* PdfFilter = "PDF ファイル (*.pdf)";
inline constexpr const char* AllFilesFilter = "全てのファイル (*.*)";
inline constexpr const char* BitmapSuffix = "bmp";

// Shown in the status bar for a few seconds after a save: %1 is the file
// (last, as a narrow window cuts the end of the message).
inline constexpr const char* SavedTo = "保存しました: %1";

// Followed by a line with the file's name: a BMP file, and the others.
inline constexpr const char* SaveFailed = "ビットマップファイルを保存できませんでした。";
inline constexpr const char* FileSaveFailed = "ファイルを保存できませんでした。";

// The name beside the program would be longer than a path may be.
inline constexpr const char* SaveNameTooLong =
    "プログラムのフォルダー名が長すぎるため、ビットマップファイルを保存できませんでした。";

}  // namespace kestrel::texts
