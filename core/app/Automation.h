#pragma once

#include <cstdint>
#include <functional>
#include <optional>

namespace kestrel {

class AutomationClipboard;
class CBarCodeDoc;
class Profile;

// The numbers of the five automation messages (the window-message numbers
// other programs have always sent).
enum AutomationMessage : std::uint32_t {
    UM_CLIPTEXT = 0x465,
    UM_SETTYPE = 0x466,
    UM_SETOPTION = 0x467,
    UM_SETVALUE = 0x468,
    UM_OUTPUT = 0x469,
};

// The five operations other programs drive the document with, free of any
// transport: each takes the 32-bit wParam and lParam of its message and
// answers the 32-bit result the sender gets back.
class CAutomation {
public:
    // The view's copy command: the barcode picture onto the clipboard.
    using CopyCommand = std::function<void()>;
    // "BarCode.bmp" beside the program: 1 when written, else 0.
    using SaveCommand = std::function<int()>;

    // `profile` is read for the Codabar options at each message that encodes.
    CAutomation(CBarCodeDoc& doc, const Profile& profile, AutomationClipboard& clipboard,
                CopyCommand copy, SaveCommand save);

    std::int32_t OnClipText(std::uint32_t wParam, std::int32_t lParam);
    std::int32_t OnSetType(std::uint32_t wParam, std::int32_t lParam);
    std::int32_t OnSetOption(std::uint32_t wParam, std::int32_t lParam);
    std::int32_t OnSetValue(std::uint32_t wParam, std::int32_t lParam);
    std::int32_t OnOutput(std::uint32_t wParam, std::int32_t lParam);

    // The handler of `message`; nothing for a number that is not one of the
    // five (and then nothing changes).
    std::optional<std::int32_t> Dispatch(std::uint32_t message, std::uint32_t wParam,
                                         std::int32_t lParam);

private:
    CBarCodeDoc& doc_;
    const Profile& profile_;
    AutomationClipboard& clipboard_;
    CopyCommand copy_;
    SaveCommand save_;
};

}  // namespace kestrel
