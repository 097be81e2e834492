#pragma once

#include "symbology/CodabarCheck.h"
#include "symbology/CodeText.h"
#include "symbology/Refusal.h"

namespace kestrel {

// What one symbology's acceptance rules work on: the text they complete in
// place (check characters, a leading 0, start and stop characters) and the
// flags it is accepted with.
struct RuleInput {
    CodeText& text;
    bool adding;     // `AutoAdd`: the rules add the check character
    bool checkRule;  // the check character rule runs (adding or verifying)
    const CodabarOptions& codabar;
    bool leadingZeroAdded = false;  // ITF put a 0 in front of an odd count
};

// One symbology's acceptance rules, run in order; the first refusal stops.
using AcceptRules = Refusal (*)(RuleInput& input);

}  // namespace kestrel
