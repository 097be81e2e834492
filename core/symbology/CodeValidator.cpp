#include "symbology/CodeValidator.h"

#include "profile/Profile.h"
#include "profile/ProfileSchema.h"
#include "symbology/Codabar.h"
#include "symbology/Code11.h"
#include "symbology/Code128.h"
#include "symbology/Code39.h"
#include "symbology/Code39Check.h"
#include "symbology/Code93.h"
#include "symbology/Encoder.h"
#include "symbology/FullAscii.h"
#include "symbology/Modulo10.h"
#include "symbology/Symbology.h"
#include "symbology/ValidationResult.h"

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

bool CodeValidator::CheckCharacterRuleRuns() const
{
    switch (codeType_) {
    case Jan13:
    case Jan8:
    case Itf:
    case Stf:
    case Codabar:
    case Code39:
        return check_ != 0 || autoAdd_ != 0;
    default:
        return check_ != 0;
    }
}

int CodeValidator::Accept()
{
    const int result = AcceptRules();
    if (result != Accepted) {
        return result;
    }
    // A text whose symbol would not fit the module sequence cannot be drawn;
    // say so now rather than leave the old barcode standing.
    return FitsModuleSequence(codeType_, text_, autoAdd_) ? Accepted : WrongLength;
}

int CodeValidator::AcceptRules()
{
    const bool adding = autoAdd_ != 0;
    const bool checkRule = CheckCharacterRuleRuns();
    switch (codeType_) {
    case Jan13:
    case Jan8: {
        const std::size_t stored = codeType_ == Jan13 ? 13 : 8;
        if (text_.size() != (adding ? stored - 1 : stored)) {
            return WrongLength;
        }
        if (const int digits = RuleDigits(text_); digits != Accepted) {
            return digits;
        }
        return checkRule ? RuleModulo10(text_, adding) : Accepted;
    }
    case Itf:
        if (adding && text_.size() % 2 == 0) {
            return WrongLength;
        }
        if (!adding && text_.size() % 2 == 1) {
            text_.insert(text_.begin(), '0');
            leadingZeroAdded_ = true;
        }
        [[fallthrough]];
    case Stf:
        if (const int digits = RuleDigits(text_); digits != Accepted) {
            return digits;
        }
        return checkRule ? RuleModulo10(text_, adding) : Accepted;
    case Codabar:
        if (const int framed = RuleCodabarFrame(text_, codabar_); framed != Accepted) {
            return framed;
        }
        return checkRule ? RuleCodabarCheck(text_, adding, codabar_.checkMethod) : Accepted;
    case Code39:
        if (const int framed = RuleCode39Frame(text_); framed != Accepted) {
            return framed;
        }
        return checkRule ? RuleCode39Check(text_, adding) : Accepted;
    case Code39Extended:
        if (const int characters = RuleFullAsciiCharacters(text_); characters != Accepted) {
            return characters;
        }
        // The added check character is put here, once, so that encoding
        // never adds to the text.
        if (adding && !text_.empty()) {
            text_ += Code39ExtendedCheckCharacter(text_);
        }
        return Accepted;
    case Code93:
        return RuleCode93Characters(text_);
    case Code11OneCheck:
    case Code11TwoChecks:
        if (const int characters = RuleCode11Characters(text_); characters != Accepted) {
            return characters;
        }
        return checkRule ? RuleCode11Check(text_, codeType_ == Code11TwoChecks ? 2 : 1)
                         : Accepted;
    case Code93Extended:
        return RuleFullAsciiCharacters(text_);
    case Code128B:
        return RuleCode128Characters(text_);
    default:
        return Accepted;
    }
}

CodeText WithoutAddedCheck(int codeType, const CodeText& text)
{
    CodeText copy = text;
    if (copy.empty()) {
        return copy;
    }
    switch (codeType) {
    case Jan13:
    case Jan8:
    case Itf:
    case Stf:
    case Code39Extended:
        copy.pop_back();
        break;
    case Code39: {
        const bool endedWithStar = copy.back() == '*';
        if (copy.front() == '*') {
            copy.erase(copy.begin());
        }
        if (endedWithStar) {
            copy.resize(copy.size() >= 2 ? copy.size() - 2 : 0);
        }
        break;
    }
    case Codabar:
        if (copy.size() >= 2 && IsCodabarStartStop(copy.back())) {
            copy.erase(copy.end() - 2);
        }
        break;
    default:
        break;
    }
    return copy;
}

CodeText TextShownForEditing(int codeType, int autoAdd, const CodeText& text)
{
    // The dialog never lets STF carry an added check digit, so it shows an
    // STF text whole even when AutoAdd came from elsewhere.
    if (autoAdd == 0 || text.empty() || codeType == Stf) {
        return text;
    }
    return WithoutAddedCheck(codeType, text);
}

}  // namespace kestrel
