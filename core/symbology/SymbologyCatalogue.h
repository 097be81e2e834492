#pragma once

#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/EncodeSettings.h"
#include "symbology/ModuleSequence.h"
#include "symbology/RuleInput.h"
#include "symbology/SymbolLayout.h"
#include "symbology/Symbology.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace kestrel {

// How `SetCodeNumber` frames a number.
enum class NumberFraming {
    Plain,             // the digits alone
    Stars,             // *digits*
    CodabarStartStop,  // the document's start, the digits, its stop
};

// What the code dialog's "自動付加" check mark is when the type is chosen.
enum class AutoAddMark {
    Off,           // unticked (and the box disabled)
    FollowsValue,  // the `AutoAdd` value
    On,            // ticked: the symbology always draws its check characters
};

// The code dialog's controls a symbology lets the user change.
struct DialogEnabling {
    bool checkEnabled;
    bool autoAddEnabled;
    bool ratioEnabled;
    bool bearerEnabled;
    AutoAddMark autoAddMark;
};

// Which ends of the code text a reader leaves out of what it reports.
enum class ReadEnds {
    Kept,
    StartStop,  // the first and last characters (Codabar's start and stop)
    Stars,      // a * at both ends
};

// How ZXing reads a symbol back.
struct ZxingReading {
    std::string_view format;  // ZXing's name of the format; empty: no reader
    ReadEnds ends;
    bool fullAscii;            // pairs read back as one character
    std::size_t shortestRead;  // shorter texts are not read (ITF)
};

using Encoder = EncodeResult (*)(const CodeText& text, const EncodeSettings& settings,
                                 SequenceBuilder& out, TextCompletion& completion);

// Everything the program knows of one symbology, by its index (`CodeType`).
struct SymbologyRow {
    Symbology index;
    std::string_view key;   // the command line's short name
    std::string_view name;  // as the type list shows it (UTF-8)

    AcceptRules accept;
    // `AutoAdd` without `Check` still runs the check character rule, so a
    // text one character short can never be taken for a complete one.
    bool checkRuleOnAutoAdd;
    // The text before the check character acceptance added (what
    // re-completion starts from); the text itself where none is added.
    CodeText (*withoutAddedCheck)(const CodeText& completed);

    Encoder encode;
    // Extended Code 39 has always answered a failed verification with 1.
    bool failedVerificationAnswersBuilt;

    TextLayout layout;
    BearerFrame bearer;
    // Whether a completed text keeps the bearer bars the user asked for.
    bool (*keepsBearer)(const CodeText& completed);

    DialogEnabling enabling;
    NumberFraming numberFraming;
    ZxingReading reading;
};

// The rows in index order; the only place that tells symbologies apart by
// their index.
extern const std::array<SymbologyRow, SymbologyCount> SymbologyCatalogue;

// The row of one index; null outside the catalogue.
const SymbologyRow* FindSymbology(int codeType);

}  // namespace kestrel
