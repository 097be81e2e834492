#pragma once

// Every text of "コード設定" as the user sees it (UTF-8). The type list's
// items are the symbology names of the catalogue, in index order.

namespace kestrel::texts {

inline constexpr const char* CodeDlgTitle = "コード設定";
inline constexpr const char* CodeDlgType = "タイプ";
inline constexpr const char* CodeDlgShowText = "コード付加";
inline constexpr const char* CodeDlgCode = "コード";
inline constexpr const char* CodeDlgCheckGroup = "チェックデジット";
inline constexpr const char* CodeDlgCheck = "ON";
inline constexpr const char* CodeDlgAutoAdd = "自動付加";
inline constexpr const char* CodeDlgSizeGroup = "サイズ";
inline constexpr const char* CodeDlgHeight = "高さ";
inline constexpr const char* CodeDlgWidth = "幅";
inline constexpr const char* CodeDlgRatioGroup = "線幅比";
inline constexpr const char* CodeDlgRatio12 = "1:2";
inline constexpr const char* CodeDlgRatio25 = "2:5";
inline constexpr const char* CodeDlgRatio13 = "1:3";
inline constexpr const char* CodeDlgMarginGroup = "マージン";
inline constexpr const char* CodeDlgLeft = "左";
inline constexpr const char* CodeDlgTop = "上";
inline constexpr const char* CodeDlgNarrow = "細バー幅";
inline constexpr const char* CodeDlgTextHeight = "文字高";
inline constexpr const char* CodeDlgBearer = "ベアラバー";
inline constexpr const char* CodeDlgOk = "OK";
inline constexpr const char* CodeDlgCancel = "ｷｬﾝｾﾙ";
inline constexpr const char* CodeDlgOptions = "ｵﾌﾟｼｮﾝ";
}  // namespace kestrel::texts
