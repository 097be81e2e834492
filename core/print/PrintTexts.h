#pragma once

// Every text of the print dialog's "印刷サイズ" tab, exactly as the user sees
// it (UTF-8). The tab's model and its widget both take them from here.
namespace kestrel::texts::print {

inline constexpr const char* TabTitle = "印刷サイズ";
inline constexpr const char* OneDotPerPixel = "等倍 (1 ピクセルを 1 ドットで印刷)";
inline constexpr const char* ModuleWidth = "細バー幅を指定";
inline constexpr const char* Millimetres = "mm";
inline constexpr const char* FitPageWidth = "用紙の幅に合わせる";
inline constexpr const char* Preview = "プレビュー(&V)...";

// The size the chosen scale prints at, on the printer the dialog opened on.
// %s are numbers already formatted.
inline constexpr const char* PrintedSize = "印刷サイズ: %s × %s mm";
inline constexpr const char* PrintedModule = "細バー幅: %s mm";
inline constexpr const char* DotsPerPixel = "1 ピクセル = %d × %d ドット (%s dpi)";
inline constexpr const char* WiderThanPage = "用紙の幅に収まりません。";
inline constexpr const char* ResolutionUnknown = "プリンタの解像度が分かりません。";

}  // namespace kestrel::texts::print
