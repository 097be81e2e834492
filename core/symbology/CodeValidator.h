#pragma once

#include "symbology/CodabarCheck.h"
#include "symbology/CodeText.h"
#include "symbology/Refusal.h"

namespace kestrel {

class Profile;

// The Codabar options as the profile holds them now.
CodabarOptions ReadCodabarOptions(const Profile& profile);

// One text under validation for one symbology, with the `Check` and
// `AutoAdd` flags it is accepted with. Accept() runs the symbology's rules in
// order, completing the text in place (check characters, leading 0, start
// and stop characters), and returns the first refusal; ValidationNumber
// makes the dialog's result code of it.
class CodeValidator {
public:
    CodeValidator(CodeText text, int check, int autoAdd, int codeType, CodabarOptions codabar = {});

    Refusal Accept();

    const CodeText& Text() const { return text_; }
    // ITF put a 0 in front of an odd number of digits; the dialog shows it.
    bool LeadingZeroAdded() const { return leadingZeroAdded_; }

private:
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
