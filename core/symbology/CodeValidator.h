#pragma once

#include "symbology/CodabarCheck.h"
#include "symbology/CodeText.h"

namespace kestrel {

class Profile;

// The Codabar options as the profile holds them now.
CodabarOptions ReadCodabarOptions(const Profile& profile);

// One text under validation for one symbology, with the `Check` and
// `AutoAdd` flags it is accepted with. Accept() runs the symbology's rules in
// order, completing the text in place (check characters, leading 0, start
// and stop characters), and returns the first result that is not 0.
class CodeValidator {
public:
    CodeValidator(CodeText text, int check, int autoAdd, int codeType,
                  CodabarOptions codabar = {});

    int Accept();

    const CodeText& Text() const { return text_; }
    // ITF put a 0 in front of an odd number of digits; the dialog shows it.
    bool LeadingZeroAdded() const { return leadingZeroAdded_; }

private:
    int AcceptRules();
    // Whether the rules compute or verify a check character. `AutoAdd`
    // without `Check` still adds it where acceptance is what adds it, so a
    // text one character short can never be taken for a complete one.
    bool CheckCharacterRuleRuns() const;

    CodeText text_;
    int check_;
    int autoAdd_;
    int codeType_;
    CodabarOptions codabar_;
    bool leadingZeroAdded_ = false;
};

// The text before its added check character(s): what re-completion starts
// from when `AutoAdd` is on.
CodeText WithoutAddedCheck(int codeType, const CodeText& text);

// The text the code dialog shows for a document text (`AutoAdd` on takes the
// added check character off, where the dialog lets that symbology add one).
CodeText TextShownForEditing(int codeType, int autoAdd, const CodeText& text);

}  // namespace kestrel
