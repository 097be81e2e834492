#include "app/Automation.h"

#include "app/AutomationClipboard.h"
#include "document/BarCodeDoc.h"

#include <utility>

namespace kestrel {

CAutomation::CAutomation(CBarCodeDoc& doc, AutomationClipboard& clipboard, CopyCommand copy,
                         SaveCommand save)
    : doc_(doc), clipboard_(clipboard), copy_(std::move(copy)), save_(std::move(save))
{
}

std::int32_t CAutomation::OnClipText(std::uint32_t, std::int32_t) { return -1; }
std::int32_t CAutomation::OnSetType(std::uint32_t, std::int32_t) { return -1; }
std::int32_t CAutomation::OnSetOption(std::uint32_t, std::int32_t) { return -1; }
std::int32_t CAutomation::OnSetValue(std::uint32_t, std::int32_t) { return -1; }
std::int32_t CAutomation::OnOutput(std::uint32_t, std::int32_t) { return -1; }

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
