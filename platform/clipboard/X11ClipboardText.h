#pragma once

#include <chrono>
#include <optional>
#include <string>

namespace kestrel {

// The X11 clipboard's text asked of its owner directly, waiting at most
// `wait` for the answer. Qt's clipboard waits five seconds for each of the
// owner's answers, and so does every automation call queued behind the read:
// a client that owns the clipboard and then blocks on its own call to us
// stalled everyone for ten seconds. A text not delivered in time counts as
// no text.
struct X11ClipboardText {
    bool x11 = false;                 // false: no X11 display to ask
    std::optional<std::string> utf8;  // none: no text, or not in time
};

// Asks for UTF8_STRING, then STRING (Latin-1, given back as UTF-8). Texts
// sent in increments (hundreds of kilobytes) count as no text. Call it on
// one thread only.
X11ClipboardText ReadX11ClipboardText(std::chrono::milliseconds wait);

}  // namespace kestrel
