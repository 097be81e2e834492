#pragma once

// A clipboard, copy command and save command for driving CAutomation
// without a display: each can be told to fail and remembers what it was
// asked, so tests can check that every opening was closed again.

#include "LoadedDocument.h"
#include "app/Automation.h"
#include "app/AutomationClipboard.h"
#include "document/BarCodeDoc.h"
#include "profile/MemoryProfile.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

namespace kestrel::test {

class FakeClipboard : public AutomationClipboard {
public:
    std::optional<std::string> text;  // nothing: the clipboard holds no text
    bool refuseOpen = false, refuseEmpty = false, refusePut = false;
    int opens = 0, closes = 0, puts = 0;  // successful openings, closings, texts taken
    int reads = 0;
    int misuses = 0;  // a step taken while the clipboard was closed, or a second opening

    bool IsOpen() const { return open_; }
    bool Open() override
    {
        misuses += open_ ? 1 : 0;
        if (refuseOpen) {
            return false;
        }
        open_ = true;
        ++opens;
        return true;
    }
    std::optional<std::string> ReadText() override
    {
        ++reads;
        return Use() ? text : std::nullopt;
    }
    bool Empty() override
    {
        if (!Use() || refuseEmpty) {
            return false;
        }
        text.reset();
        return true;
    }
    bool PutText(std::string_view put) override
    {
        if (!Use() || refusePut) {
            return false;
        }
        text = std::string(put);
        ++puts;
        return true;
    }
    void Close() override
    {
        Use();
        open_ = false;
        ++closes;
    }

private:
    bool Use()
    {
        misuses += open_ ? 0 : 1;
        return open_;
    }
    bool open_ = false;
};

// A document driven through CAutomation, with the view's copy and the
// program's save counted. The copy must find the clipboard closed: the real
// one opens it for itself.
struct AutomationRig {
    MemoryProfile profile;
    WorkingGaps gaps;
    LoadedDocument doc{profile, gaps};
    FakeClipboard clipboard;
    int copies = 0, copiesWhileOpen = 0, saves = 0, saveResult = 1;
    CAutomation automation{doc, profile, clipboard,
                           [this] {
                               ++copies;
                               copiesWhileOpen += clipboard.IsOpen() ? 1 : 0;
                           },
                           [this] {
                               ++saves;
                               return saveResult;
                           }};

    ~AutomationRig()
    {
        EXPECT_EQ(clipboard.opens, clipboard.closes) << "opened, so closed";
        EXPECT_EQ(clipboard.misuses, 0);
        EXPECT_EQ(copiesWhileOpen, 0);
    }
};

}  // namespace kestrel::test
