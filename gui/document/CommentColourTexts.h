#pragma once

// Texts of the comment dialog and the colour dialog, exactly as the user
// sees them.

namespace kestrel::texts {

// "コメント設定": the labels of the two lines and their heights.
inline constexpr const char* CommentTitle = "コメント設定";
inline constexpr const char* CommentLine1 = "1行目";
inline constexpr const char* CommentLine2 = "2行目";
inline constexpr const char* CommentHeight = "高さ";

// A comment line holds a character the profile's Japanese code page has no
// code for; it would be stored as something else.
inline constexpr const char* CommentNotStorable = "コメントには使えない文字が含まれています。";

// "色の設定": one button per colour; each opens the colour chooser.
inline constexpr const char* ColourTitle = "色の設定";
inline constexpr const char* ColourBar = "バーコード";
inline constexpr const char* ColourBackground = "背景";
inline constexpr const char* ColourCodeText = "コード文字色";
inline constexpr const char* ColourComment1 = "コメント１";
inline constexpr const char* ColourComment2 = "コメント２";

// Both dialogs.
inline constexpr const char* DialogOk = "OK";
inline constexpr const char* DialogCancel = "ｷｬﾝｾﾙ";

}  // namespace kestrel::texts
