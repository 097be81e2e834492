#pragma once

// A clipboard, copy command and save command for driving CAutomation
// without a display: each can be told to fail and remembers what it was
// asked, so tests can check that every opening was closed again.

#include "app/AutomationClipboard.h"

#include <optional>
#include <string>
#include <string_view>

namespace kestrel::test {

class FakeClipboard : public AutomationClipboard {
public:
    // What the clipboard holds; nothing when it holds no text.
    std::optional<std::string> text;
    bool refuseOpen = false;
    bool refuseEmpty = false;
    bool refusePut = false;

    int opens = 0;   // successful openings
    int closes = 0;
    int puts = 0;    // texts the clipboard took
    // A step taken while the clipboard was not open, or a second opening.
    int misuses = 0;

    bool IsOpen() const { return open_; }

    bool Open() override
    {
        if (open_) {
            ++misuses;
        }
        if (refuseOpen) {
            return false;
        }
        open_ = true;
        ++opens;
        return true;
    }
    bool HoldsText() override
    {
        CheckOpen();
        return text.has_value();
    }
    std::string ReadText() override
    {
        CheckOpen();
        return text.value_or(std::string());
    }
    bool Empty() override
    {
        CheckOpen();
        if (refuseEmpty) {
            return false;
        }
        text.reset();
        return true;
    }
    bool PutText(std::string_view put) override
    {
        CheckOpen();
        if (refusePut) {
            return false;
        }
        text = std::string(put);
        ++puts;
        return true;
    }
    void Close() override
    {
        if (!open_) {
            ++misuses;
        }
        open_ = false;
        ++closes;
    }

private:
    void CheckOpen()
    {
        if (!open_) {
            ++misuses;
        }
    }

    bool open_ = false;
};

// The view's copy and the program's save, counted. The copy must find the
// clipboard closed: the real one opens it for itself.
struct FakeOutputs {
    const FakeClipboard* clipboard = nullptr;
    int copies = 0;
    int copiesWhileOpen = 0;
    int saves = 0;
    int saveResult = 1;

    void Copy()
    {
        ++copies;
        if (clipboard != nullptr && clipboard->IsOpen()) {
            ++copiesWhileOpen;
        }
    }
    int Save()
    {
        ++saves;
        return saveResult;
    }
};

}  // namespace kestrel::test
