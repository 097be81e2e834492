#pragma once

// Texts the view's commands (Copy, Print) show, exactly as the user sees them.

namespace kestrel::texts {

// The picture for the clipboard could not be made (a size out of reach).
inline constexpr const char* BitmapNotCreated = "ビットマップが作成できません";

// Another program kept the clipboard for longer than a copy waits.
inline constexpr const char* ClipboardBusy =
    "クリップボードが使用中のため、コピーできませんでした。\n"
    "しばらくしてから、もう一度コピーしてください。";

// The printer refused to start the job.
inline constexpr const char* PrintNotStarted = "印刷ｼﾞｮﾌﾞを開始できませんでした。";

// Title of the printer set-up (Qt's print dialog, used to choose the
// printer, paper and orientation that Print then uses) and its button.
inline constexpr char16_t PrintSetupTitle[] = u"プリンタの設定";
inline constexpr char16_t PrintSetupOk[] = u"OK";

}  // namespace kestrel::texts
