#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace kestrel {

// The clipboard as the automation messages use it: opened, read as text,
// emptied and given text, then closed. Text is code page 932, as everywhere
// in core. Every step can fail, as a clipboard held by another program makes
// it fail.
class AutomationClipboard {
public:
    virtual ~AutomationClipboard() = default;

    virtual bool Open() = 0;
    // The clipboard's text, read once: another program's text may be
    // delivered only once, or not at all. None when the clipboard holds no
    // text that code page 932 can hold, or it was not delivered in time.
    virtual std::optional<std::string> ReadText() = 0;
    virtual bool Empty() = 0;
    // Puts text on the emptied clipboard; false when it did not take it.
    virtual bool PutText(std::string_view text) = 0;
    virtual void Close() = 0;
};

}  // namespace kestrel
