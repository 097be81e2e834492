#pragma once

#include <QString>
#include <QStringView>

// Every text the main window shows, exactly as the user sees it. A prompt is
// the status-bar line, a newline, then the tooltip.
namespace kestrel::texts {

inline constexpr char16_t Ready[] = u"ﾚﾃﾞｨ";

// Menu bar.
inline constexpr char16_t FileMenu[] = u"ファイル(&F)";
inline constexpr char16_t FilePrint[] = u"印刷(&P)...\tCTRL+P";
inline constexpr char16_t FilePrintSetup[] = u"プリンタの設定(&U)";
inline constexpr char16_t FileSave[] = u"ファイルに保存(&S)...\tCTRL+S";
inline constexpr char16_t FileSaveAs[] = u"名前を付けて保存(&A)...";
inline constexpr char16_t AppExit[] = u"アプリケーションの終了(&X)";

inline constexpr char16_t EditMenu[] = u"編集(&E)";
inline constexpr char16_t CodeInput[] = u"コードの入力";
inline constexpr char16_t CommentInput[] = u"コメントの入力";
inline constexpr char16_t ColourSettings[] = u"色の設定";
inline constexpr char16_t OptionSettings[] = u"オプション設定";
inline constexpr char16_t EditCopy[] = u"コピー(&C)\tCtrl+C";

inline constexpr char16_t ViewMenu[] = u"表示(&V)";
inline constexpr char16_t ViewToolBar[] = u"ツールバー(&T)";
inline constexpr char16_t ViewStatusBar[] = u"ステータスバー(&S)";

inline constexpr char16_t HelpMenu[] = u"ﾍﾙﾌﾟ(&H)";
inline constexpr char16_t HelpContents[] = u"目次(&C)";
inline constexpr char16_t AppAbout[] = u"バージョン情報 (&A)...";

// Prompts, by command.
inline constexpr char16_t PromptCodeInput[] = u"コードの入力、設定をします\n入力";
inline constexpr char16_t PromptComment[] = u"バーコードの上下にコメントを入力します\nコメント入力";
inline constexpr char16_t PromptColours[] = u"バーコードや文字の色の設定をします\n色設定";
inline constexpr char16_t PromptOptions[] = u"個々のバーコードの設定をします\n個別設定";
inline constexpr char16_t PromptSave[] = u"作業中のﾌｧｲﾙを保存\n保存";
inline constexpr char16_t PromptSaveAs[] = u"作業中のﾌｧｲﾙに名前をつけて保存\n名前をつけて保存";
inline constexpr char16_t PromptPrintSetup[] = u"ﾌﾟﾘﾝﾀ/印刷設定の変更\nﾌﾟﾘﾝﾀの設定";
inline constexpr char16_t PromptPrint[] = u"作業中のﾌｧｲﾙを印刷\n印刷";
inline constexpr char16_t PromptCopy[] = u"選択範囲をｺﾋﾟｰしてｸﾘｯﾌﾟﾎﾞｰﾄﾞに保存\n保存";
inline constexpr char16_t PromptAbout[] = u"ﾌﾟﾛｸﾞﾗﾑの情報、ﾊﾞｰｼﾞｮﾝそして著作権を表示\nﾊﾞｰｼﾞｮﾝ情報";
inline constexpr char16_t PromptExit[] = u"ｱﾌﾟﾘｹｰｼｮﾝを終了し、ﾌｧｲﾙの保存を指示\n終了";
inline constexpr char16_t PromptToolBar[] = u"ﾂｰﾙﾊﾞｰの表示/非表示\nﾂｰﾙﾊﾞｰの表示/非表示";
inline constexpr char16_t PromptStatusBar[] = u"ｽﾃｰﾀｽﾊﾞｰの表示/非表示\nｽﾃｰﾀｽﾊﾞｰの表示/非表示";

// Key-state indicators at the right of the status bar.
inline constexpr char16_t IndicatorKana[] = u"ｶﾅ";
inline constexpr char16_t IndicatorCaps[] = u"CAP";
inline constexpr char16_t IndicatorNum[] = u"NUM";
inline constexpr char16_t IndicatorScroll[] = u"SCRL";

// About box.
inline constexpr char16_t AboutTitle[] = u"Kestrel について";
inline constexpr char16_t AboutProduct[] = u"Kestrel for Win32";
inline constexpr char16_t AboutVersion[] = u"Ver 2.13";
inline constexpr char16_t AboutOk[] = u"OK";

// Help contents.
inline constexpr char16_t HelpTitle[] = u"Kestrel ﾍﾙﾌﾟ";
inline constexpr char16_t HelpText[] =
    u"[編集]-[コードの入力] (I キー) でバーコードの種類とデータを入力します。\n"
    u"[編集]-[コメントの入力] でバーコードの上下に表示する文字を、\n"
    u"[編集]-[色の設定] でバーコードと文字の色を設定します。\n"
    u"\n"
    u"[ファイル]-[ファイルに保存] (Ctrl+S) はプログラムと同じフォルダに BarCode.bmp を、\n"
    u"[ファイル]-[名前を付けて保存] は指定したファイルにビットマップを保存します。\n"
    u"[編集]-[コピー] (Ctrl+C) はバーコードをクリップボードへ、\n"
    u"[ファイル]-[印刷] (Ctrl+P) はプリンタへ出力します。";
// After HelpText, when the manual cannot be shown in a browser; %1 is the
// manual's file, or the places where it was looked for.
inline constexpr char16_t HelpManualAt[] =
    u"説明書をブラウザで開けませんでした。説明書は次のファイルです。\n%1";
inline constexpr char16_t HelpManualMissing[] =
    u"説明書が見つかりませんでした。次の場所を探しました。\n%1";

// The status-bar line of a prompt.
inline QString PromptLine(QStringView prompt)
{
    const qsizetype newline = prompt.indexOf(u'\n');
    return (newline < 0 ? prompt : prompt.first(newline)).toString();
}

// The tooltip of a prompt: its second line.
inline QString PromptTip(QStringView prompt)
{
    const qsizetype newline = prompt.indexOf(u'\n');
    return newline < 0 ? QString() : prompt.sliced(newline + 1).toString();
}

}  // namespace kestrel::texts
