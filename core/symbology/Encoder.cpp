#include "symbology/Encoder.h"

#include "symbology/SymbologyCatalogue.h"

namespace kestrel {

EncodeResult EncodeSymbology(int codeType, CodeText& text, const EncodeSettings& settings,
                             ModuleSequence& sequence)
{
    const SymbologyRow* row = FindSymbology(codeType);
    if (!row) {
        return EncodeResult::Built();  // nothing to encode, nothing refused
    }
    // The encoders read the text and build aside; the document changes only
    // below, once the symbol is accepted.
    TextCompletion completion;
    SequenceBuilder builder(settings.narrowWidth);
    EncodeResult result = row->encode(text, settings, builder, completion);
    if (result.built() && builder.failed()) {
        result = EncodeResult::Drawn(builder.refusal());
    }
    if (!result.built()) {
        result.answersBuilt = result.stage == EncodeStage::Verification
                              && row->failedVerificationAnswersBuilt;
        return result;
    }
    if (completion.changesText()) {
        completion.applyTo(text);
    }
    builder.commitTo(sequence);
    return result;
}

Refusal SymbolFits(int codeType, const CodeText& text, int autoAdd)
{
    const SymbologyRow* row = FindSymbology(codeType);
    if (!row) {
        return Refusal::None;
    }
    EncodeSettings trial;
    trial.check = 0;
    trial.autoAdd = autoAdd;
    TextCompletion unused;
    SequenceBuilder builder(1);
    const EncodeResult result = row->encode(text, trial, builder, unused);
    return result.built() ? builder.refusal() : result.refusal;
}

}  // namespace kestrel
