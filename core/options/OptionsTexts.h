#pragma once

// Every text of "オプション設定", exactly as the user sees it (UTF-8). The
// options model's tables and the sheet's widgets both take them from here.
namespace kestrel::texts::options {

inline constexpr const char* SheetTitle = "オプション設定";
inline constexpr const char* Ok = "OK";
inline constexpr const char* Cancel = "ｷｬﾝｾﾙ";
// Tab captions, in the order of the tabs.
inline constexpr const char* JanCaption = "JAN8 JAN13";
inline constexpr const char* ItfStfCaption = "ITF STF";
inline constexpr const char* Code39Caption = "Code39  ExtCode39";
inline constexpr const char* Code93Caption = "Code93 ExtCode93";
inline constexpr const char* Code128Caption = "Code128";
inline constexpr const char* Code11Caption = "Code11";
inline constexpr const char* CodabarCaption = "Codabar(NW7)";
inline constexpr const char* ItfCaption = "標準物流14,16";
inline constexpr const char* BitmapCaption = "ビットマップ保存";

// The only text of the pages that have nothing to set.
inline constexpr const char* NoOptions = "現在設定オプションはありません";

// Labels of the controls.
inline constexpr const char* SplitText = "文字コードを区切る";
inline constexpr const char* BearerWidth = "ベアラバー幅";
inline constexpr const char* Gap = "ｷｬﾗｸﾀ間ｷﾞｬｯﾌﾟ";
inline constexpr const char* GapUnit = "x細バー幅";
inline constexpr const char* CheckMethod = "チェックデジット";
inline constexpr const char* StartCode = "スタートコード";
inline constexpr const char* StopCode = "ストップコード";

// List items, in index order.
inline constexpr const char* CodabarCharacters[] = {"A", "B", "C", "D", "a", "b", "c", "d"};
inline constexpr const char* CheckMethods[] = {"モジュラス１０", "モジュラス１１（加重）",
                                               "モジュラス１６", "モジュラス７"};
inline constexpr const char* BitmapDepths[] = {
    "ディスプレイの色数のまま保存", "色数が16ビット、３２ビットは24ビットで保存", "２５６色で保存"};

}  // namespace kestrel::texts::options
