#include "symbology/CodeValidator.h"

#include "profile/Profile.h"
#include "profile/ProfileSchema.h"
#include "symbology/Encoder.h"
#include "symbology/SymbologyCatalogue.h"

#include <utility>

namespace kestrel {

CodabarOptions ReadCodabarOptions(const Profile& profile)
{
    return CodabarOptions{
        profile::Read(profile, profile::CodabarCheckDegit),
        profile::Read(profile, profile::CodabarStartChar),
        profile::Read(profile, profile::CodabarStopChar),
    };
}

CodeValidator::CodeValidator(CodeText text, int check, int autoAdd, int codeType,
                             CodabarOptions codabar)
    : text_(std::move(text)), check_(check), autoAdd_(autoAdd), codeType_(codeType),
      codabar_(codabar)
{
}

Refusal CodeValidator::Accept()
{
    const SymbologyRow* row = FindSymbology(codeType_);
    if (!row) {
        return Refusal::None;
    }
    const bool adding = autoAdd_ != 0;
    RuleInput input{text_, adding, check_ != 0 || (adding && row->checkRuleOnAutoAdd), codabar_};
    const Refusal refusal = row->accept(input);
    leadingZeroAdded_ = input.leadingZeroAdded;
    if (refusal != Refusal::None) {
        return refusal;
    }
    // A text whose symbol would not fit the module sequence cannot be drawn;
    // say so now rather than leave the old barcode standing. Accepted texts
    // are drawable, so what fails is the fit.
    return SymbolFits(codeType_, text_, autoAdd_) == Refusal::None ? Refusal::None
                                                                   : Refusal::TooManyElements;
}

CodeText WithoutAddedCheck(int codeType, const CodeText& text)
{
    const SymbologyRow* row = FindSymbology(codeType);
    return row ? row->withoutAddedCheck(text) : text;
}

CodeText TextShownForEditing(int codeType, int autoAdd, const CodeText& text)
{
    // Only where the dialog lets the symbology add a check character (never
    // STF's) is one taken off, even when `AutoAdd` came from elsewhere.
    const SymbologyRow* row = FindSymbology(codeType);
    if (autoAdd == 0 || !row || !row->enabling.autoAddEnabled) {
        return text;
    }
    return row->withoutAddedCheck(text);
}

}  // namespace kestrel
