#include "symbology/Encoder.h"

#include "symbology/Codabar.h"
#include "symbology/Code11.h"
#include "symbology/Code128.h"
#include "symbology/Code39.h"
#include "symbology/Code93.h"
#include "symbology/Jan.h"
#include "symbology/Symbology.h"
#include "symbology/TwoOfFive.h"

namespace kestrel {

namespace {

EncodeOutcome RunEncoder(int codeType, const CodeText& text, const EncodeSettings& settings,
                         SequenceBuilder& out, TextCompletion& completion)
{
    switch (codeType) {
    case Jan13: return EncodeJan13(text, settings, out);
    case Jan8: return EncodeJan8(text, settings, out);
    case Itf: return EncodeItf(text, settings, out);
    case Stf: return EncodeStf(text, settings, out);
    case Codabar: return EncodeCodabar(text, settings, out, completion);
    case Code39: return EncodeCode39(text, settings, out, completion);
    case Code39Extended: return EncodeCode39Extended(text, settings, out);
    case Code93: return EncodeCode93(text, settings, out, completion);
    case Code93Extended: return EncodeCode93Extended(text, settings, out);
    case Code11OneCheck:
    case Code11TwoChecks: return EncodeCode11(text, settings, out);
    case Code128B: return EncodeCode128(text, settings, out);
    default: return EncodeOutcome::Unencodable;
    }
}

}  // namespace

int EncodeSymbology(int codeType, CodeText& text, const EncodeSettings& settings,
                    ModuleSequence& sequence)
{
    if (!IsSymbology(codeType)) {
        return 1;
    }
    // The encoders read the text and build aside; the document changes only
    // below, once the symbol is accepted.
    TextCompletion completion;
    SequenceBuilder builder(settings.narrowWidth);
    switch (RunEncoder(codeType, text, settings, builder, completion)) {
    case EncodeOutcome::Built:
        if (builder.failed()) {
            return 0;
        }
        if (completion.changesText()) {
            completion.applyTo(text);
        }
        builder.commitTo(sequence);
        return 1;
    case EncodeOutcome::Refused:
        return codeType == Code39Extended ? 1 : 0;
    case EncodeOutcome::Unencodable:
        return 0;
    }
    return 0;
}

bool FitsModuleSequence(int codeType, const CodeText& text, int autoAdd)
{
    if (!IsSymbology(codeType)) {
        return true;
    }
    EncodeSettings trial;
    trial.check = 0;
    trial.autoAdd = autoAdd;
    TextCompletion unused;
    SequenceBuilder builder(1);
    return RunEncoder(codeType, text, trial, builder, unused) == EncodeOutcome::Built
           && !builder.failed();
}

}  // namespace kestrel
