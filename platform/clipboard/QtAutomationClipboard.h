#pragma once

#include "app/AutomationClipboard.h"
#include "clipboard/ClipboardRetry.h"

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

class QClipboard;
class QMimeData;

namespace kestrel {

// The automation messages' clipboard on Qt's. Text is the clipboard's plain
// text, converted to and from code page 932 here; text code page 932 cannot
// hold counts as no text, as the 8-bit clipboard format would not offer it.
//
// Nothing locks the clipboard on X11, so opening succeeds whenever there is
// one, and emptying means taking ownership with nothing on offer. Another
// program can take it back at any moment; emptying and putting text keep
// trying for the retry's bound and then fail.
class QtAutomationClipboard : public AutomationClipboard {
public:
    static constexpr std::chrono::milliseconds ReadWait{1000};

    explicit QtAutomationClipboard(ClipboardRetry retry = ClipboardRetry());

    bool Open() override;
    // Another program's text is asked of it directly on X11 and waited for
    // at most `ReadWait` (see X11ClipboardText.h).
    std::optional<std::string> ReadText() override;
    bool Empty() override;
    bool PutText(std::string_view text) override;
    void Close() override;

private:
    // The clipboard's text in code page 932; nothing when it offers no text
    // or text code page 932 cannot hold.
    std::optional<std::string> Text() const;
    // Offers `data` (taking it over) and says whether the clipboard kept it.
    bool Offer(QMimeData* data);
    bool OfferUntilKept(const std::function<QMimeData*()>& makeData);

    ClipboardRetry retry_;
    QClipboard* clipboard_ = nullptr;  // while open
};

}  // namespace kestrel
