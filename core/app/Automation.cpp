#include "app/Automation.h"

#include "app/AutomationClipboard.h"
#include "document/Archive.h"
#include "document/BarCodeDoc.h"
#include "symbology/CodeValidator.h"
#include "symbology/Symbology.h"

#include <string>
#include <utility>

namespace kestrel {
namespace {

constexpr std::int32_t Done = 0;
constexpr std::int32_t Refused = -1;
constexpr std::int32_t ClipboardNotEmptied = -2;

// The selectors of each message, as the sending programs number them.
enum ClipTextSelector : std::uint32_t { ModuleTextOut = 0, PictureOut = 1 };
enum OptionSelector : std::uint32_t {
    CheckOption = 0,
    DispCodeOption = 1,
    AspectOption = 2,
    AutoAddOption = 3,
    CaseOption = 4,
};
enum ValueSelector : std::uint32_t {
    SizeValue = 0,
    MarginsValue = 1,
    NarrowWidthValue = 2,
    CodabarStartStopValue = 3,
    CodeHighValue = 4,
    CodeNumberValue = 10,
};
enum OutputSelector : std::uint32_t { PictureToClipboard = 0, PictureToFile = 1 };

// The range the code dialog also keeps the text height in.
constexpr int MinCodeHigh = 10;
constexpr int MaxCodeHigh = 200;

// lParam carries two numbers: bits 0-15 and bits 16-31, each signed.
std::int16_t LowWord(std::int32_t value)
{
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(value) & 0xFFFFU);
}
std::int16_t HighWord(std::int32_t value)
{
    return static_cast<std::int16_t>(static_cast<std::uint32_t>(value) >> 16);
}

// The clipboard held open for one message. Closing is the destructor's job,
// so that no way out of a handler, an early answer or an exception, leaves
// it open and blocks every other program.
class OpenedClipboard {
public:
    explicit OpenedClipboard(AutomationClipboard& clipboard)
        : clipboard_(clipboard), open_(clipboard.Open())
    {
    }
    ~OpenedClipboard() { Close(); }
    OpenedClipboard(const OpenedClipboard&) = delete;
    OpenedClipboard& operator=(const OpenedClipboard&) = delete;

    bool IsOpen() const { return open_; }
    void Close()
    {
        if (open_) {
            open_ = false;
            clipboard_.Close();
        }
    }

private:
    AutomationClipboard& clipboard_;
    bool open_;
};

// The first line of the clipboard's text becomes the code text, the way
// the document loads itself from an archive. A clipboard without text, or
// whose text could not be read or is empty, leaves the code text as it is:
// true when there was text to load.
bool LoadCodeText(CBarCodeDoc& doc, AutomationClipboard& clipboard)
{
    const std::optional<std::string> text = clipboard.ReadText();
    if (!text || text->empty()) {
        return false;
    }
    Archive archive = Archive::ForLoading(*text);
    doc.Serialize(archive, CodabarOptions{});  // loading encodes nothing
    return true;
}

}  // namespace

CAutomation::CAutomation(CBarCodeDoc& doc, const Profile& profile, AutomationClipboard& clipboard,
                         CopyCommand copy, SaveCommand save)
    : doc_(doc), profile_(profile), clipboard_(clipboard), copy_(std::move(copy)),
      save_(std::move(save))
{
}

std::int32_t CAutomation::OnClipText(std::uint32_t wParam, std::int32_t)
{
    if (wParam == ModuleTextOut) {
        OpenedClipboard opened(clipboard_);
        if (!opened.IsOpen()) {
            return Refused;
        }
        // Without text on the clipboard the current code text is encoded.
        LoadCodeText(doc_, clipboard_);
        // Storing encodes as the text stands, without validating or
        // completing it, and records the module text's length.
        Archive moduleText = Archive::ForStoring();
        doc_.Serialize(moduleText, ReadCodabarOptions(profile_));
        if (!clipboard_.Empty()) {
            return ClipboardNotEmptied;
        }
        // The clipboard is empty now, so answering the length would send
        // the client to read a text that is not there.
        if (!clipboard_.PutText(moduleText.Text())) {
            return ClipboardNotEmptied;
        }
        return doc_.ModuleTextLength;
    }

    if (wParam == PictureOut) {
        // Clients have always been answered 0 here, whatever became of the
        // picture; UM_OUTPUT 0 is the message that reports it.
        {
            OpenedClipboard opened(clipboard_);
            if (!opened.IsOpen() || !LoadCodeText(doc_, clipboard_)) {
                return Done;
            }
        }  // closed: the copy command opens the clipboard for itself
        OnOutput(PictureToClipboard, 0);
        return Done;
    }

    return Refused;
}

std::int32_t CAutomation::OnSetType(std::uint32_t wParam, std::int32_t)
{
    // Unsigned: an index that a sender meant as negative is far above 11.
    if (wParam >= static_cast<std::uint32_t>(SymbologyCount)) {
        return Refused;
    }
    doc_.CodeType = static_cast<int>(wParam);
    return Done;
}

std::int32_t CAutomation::OnSetOption(std::uint32_t wParam, std::int32_t lParam)
{
    // Stored as given: the senders' flags have never been checked.
    switch (wParam) {
    case CheckOption: doc_.Check = lParam; break;
    case DispCodeOption: doc_.DispCode = lParam; break;
    case AspectOption: doc_.SetAspectChoice(lParam); break;  // unknown choices ignored
    case AutoAddOption: doc_.AutoAdd = lParam; break;
    case CaseOption: doc_.Case = lParam; break;
    default: return Refused;
    }
    return Done;
}

std::int32_t CAutomation::OnSetValue(std::uint32_t wParam, std::int32_t lParam)
{
    const int low = LowWord(lParam);
    const int high = HighWord(lParam);

    // Selectors 0 to 3 ignore a value out of range without a word and
    // re-encode either way; senders pass 0 to keep the Codabar characters.
    switch (wParam) {
    case SizeValue:
        if (low > 0 && high > 0) {
            doc_.Width = low;
            doc_.Height = high;
        }
        break;
    case MarginsValue:
        if (low >= 0 && high >= 0) {
            doc_.Xmargin = low;
            doc_.Ymargin = high;
        }
        break;
    case NarrowWidthValue:
        if (lParam > 0) {
            doc_.NWidth = lParam;
        }
        break;
    case CodabarStartStopValue:
        if (lParam != 0) {
            doc_.SetCodabarStartStop(lParam);
        }
        break;
    case CodeHighValue:
        if (lParam < MinCodeHigh || lParam > MaxCodeHigh) {
            return Refused;
        }
        doc_.CodeHigh = lParam;
        break;
    case CodeNumberValue:
        // Senders have always been answered -1 here and encode with
        // UM_OUTPUT afterwards; the text is set all the same.
        doc_.SetCodeNumber(lParam);
        return Refused;
    default: return Refused;
    }
    // A refusal keeps the previous sequence; UM_OUTPUT reports it.
    doc_.Encode(ReadCodabarOptions(profile_));
    return Done;
}

std::int32_t CAutomation::OnOutput(std::uint32_t wParam, std::int32_t)
{
    if (wParam == PictureToClipboard) {
        const CodabarOptions codabar = ReadCodabarOptions(profile_);
        doc_.Recomplete(codabar);
        if (EncodeNumber(doc_.Encode(codabar)) != 1) {
            return Refused;  // the clipboard is left as it was
        }
        // Without a code text the copy command draws nothing and the
        // clipboard stays as it was; the answer is still the encoding's, as
        // clients have always been told.
        if (!copy_) {
            return Refused;
        }
        copy_();
        return Done;
    }

    if (wParam == PictureToFile) {
        // The file shows the sequence as it stands: nothing is encoded first.
        return save_ && save_() == 1 ? Done : Refused;
    }

    return Refused;
}

std::optional<std::int32_t> CAutomation::Dispatch(std::uint32_t message, std::uint32_t wParam,
                                                  std::int32_t lParam)
{
    switch (message) {
    case UM_CLIPTEXT: return OnClipText(wParam, lParam);
    case UM_SETTYPE: return OnSetType(wParam, lParam);
    case UM_SETOPTION: return OnSetOption(wParam, lParam);
    case UM_SETVALUE: return OnSetValue(wParam, lParam);
    case UM_OUTPUT: return OnOutput(wParam, lParam);
    default: return std::nullopt;
    }
}

}  // namespace kestrel
