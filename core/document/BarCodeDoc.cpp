#include "document/BarCodeDoc.h"

#include "profile/Profile.h"
#include "profile/ProfileSchema.h"
#include "symbology/Codabar.h"
#include "symbology/CodeValidator.h"
#include "symbology/Encoder.h"
#include "symbology/SymbologyCatalogue.h"

#include <string_view>

namespace kestrel {

void CBarCodeDoc::Load(const Profile& profile, WorkingGaps& workingGaps)
{
    CodeHigh = profile::Read(profile, profile::CodeHigh);
    CodeType = profile::Read(profile, profile::CodeType);
    CodeText.clear();
    Height = profile::Read(profile, profile::Height);
    Width = profile::Read(profile, profile::Width);
    if (Width == 0) {
        Width = profile::Width.defaultValue;
    }
    Check = profile::Read(profile, profile::Check);
    AutoAdd = profile::Read(profile, profile::AutoAdd);
    DispCode = profile::Read(profile, profile::DispCode);
    Aspect = profile::Read(profile, profile::Aspect);
    // Stored minus one; unsigned arithmetic keeps a stored INT_MAX defined.
    NWidth = static_cast<int>(static_cast<unsigned>(profile::Read(profile, profile::NWidth)) + 1U);
    Xmargin = profile::Read(profile, profile::Xmargin);
    Ymargin = profile::Read(profile, profile::Ymargin);
    Case = profile::Read(profile, profile::Case);

    CodabarGapX = profile::Read(profile, profile::CodabarGapX);
    workingGaps.codabarGapX = CodabarGapX;
    Code39GapX = profile::Read(profile, profile::Code39GapX);
    workingGaps.code39GapX = Code39GapX;

    CodabarStart = 'A';
    CodabarStop = 'A';
}

void CBarCodeDoc::Store(Profile& profile) const
{
    profile::Write(profile, profile::CodeHigh, CodeHigh);
    profile::Write(profile, profile::CodeType, CodeType);
    profile::Write(profile, profile::Height, Height);
    profile::Write(profile, profile::Width, Width);
    profile::Write(profile, profile::Check, Check);
    profile::Write(profile, profile::AutoAdd, AutoAdd);
    profile::Write(profile, profile::DispCode, DispCode);
    profile::Write(profile, profile::Aspect, Aspect);
    profile::Write(profile, profile::NWidth, static_cast<int>(static_cast<unsigned>(NWidth) - 1U));
    profile::Write(profile, profile::Xmargin, Xmargin);
    profile::Write(profile, profile::Ymargin, Ymargin);
    profile::Write(profile, profile::Case, Case);
    profile::Write(profile, profile::CodabarGapX, CodabarGapX);
    profile::Write(profile, profile::Code39GapX, Code39GapX);
}

void RecordProgram(Profile& profile, const std::string& programPath)
{
    profile::Write(profile, profile::Version, profile::VersionWritten);
    profile::Write(profile, profile::Path, programPath);
}

EncodeResult CBarCodeDoc::Encode(const CodabarOptions& codabar)
{
    EncodeSettings settings;
    settings.check = Check;
    settings.autoAdd = AutoAdd;
    settings.aspect = Aspect;
    settings.narrowWidth = NWidth;
    settings.codabarGapX = CodabarGapX;
    settings.code39GapX = Code39GapX;
    settings.codabarStart = CodabarStart;
    settings.codabarStop = CodabarStop;
    settings.codabarCheckMethod = codabar.checkMethod;
    return EncodeSymbology(CodeType, CodeText, settings, ModuleSequence);
}

std::string CBarCodeDoc::ModuleText(const CodabarOptions& codabar)
{
    if (!FindSymbology(CodeType)) {
        return {};
    }
    Encode(codabar);
    return FormatModuleText(ModuleSequence, NWidth);
}

void CBarCodeDoc::Serialize(Archive& archive, const CodabarOptions& codabar)
{
    if (archive.IsStoring()) {
        const std::string text = ModuleText(codabar);
        ModuleTextLength = static_cast<int>(text.size());
        archive.Write(text);
        return;
    }
    const std::string& text = archive.Text();
    const std::size_t end = text.find_first_of(std::string_view("\r\n\0", 3));
    CodeText = text.substr(0, end);
}

void CBarCodeDoc::Recomplete(const CodabarOptions& codabar)
{
    if (AutoAdd == 0 || CodeText.empty()) {
        return;
    }
    CodeValidator validator(WithoutAddedCheck(CodeType, CodeText), Check, AutoAdd, CodeType,
                            codabar);
    if (validator.Accept() == Refusal::None) {
        CodeText = validator.Text();
    }
}

BarcodeSymbol CBarCodeDoc::Symbol() const
{
    BarcodeSymbol symbol;
    symbol.text = CodeText;
    symbol.sequence = &ModuleSequence;
    if (const SymbologyRow* row = FindSymbology(CodeType)) {
        symbol.layout = row->layout;
        symbol.frame = row->bearer;
    }
    symbol.width = Width;
    symbol.height = Height;
    symbol.xmargin = Xmargin;
    symbol.ymargin = Ymargin;
    symbol.narrowWidth = NWidth;
    symbol.textHeight = CodeHigh;
    symbol.showText = DispCode != 0;
    symbol.bearer = Case != 0;
    return symbol;
}

void CBarCodeDoc::SetAspectChoice(int choice)
{
    switch (choice) {
    case 0: Aspect = 0; break;
    case 1: Aspect = 2; break;
    case 2: Aspect = 1; break;
    default: break;
    }
}

void CBarCodeDoc::SetCodabarStartStop(std::int32_t value)
{
    const auto startOrA = [](unsigned bits) {
        const char c = static_cast<char>(bits & 0xFFU);
        return IsCodabarStartStop(c) ? c : 'A';
    };
    const auto bits = static_cast<std::uint32_t>(value);
    CodabarStart = startOrA(bits);
    CodabarStop = startOrA(bits >> 16);
}

void CBarCodeDoc::SetCodeNumber(std::int32_t number)
{
    const std::string digits = std::to_string(number);
    const SymbologyRow* row = FindSymbology(CodeType);
    switch (row ? row->numberFraming : NumberFraming::Plain) {
    case NumberFraming::Plain: CodeText = digits; break;
    case NumberFraming::Stars: CodeText = "*" + digits + "*"; break;
    case NumberFraming::CodabarStartStop: CodeText = CodabarStart + digits + CodabarStop; break;
    }
}

}  // namespace kestrel
