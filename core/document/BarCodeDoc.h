#pragma once

#include "document/Archive.h"
#include "document/WorkingGaps.h"
#include "render/BarcodeSymbol.h"
#include "symbology/CodabarCheck.h"
#include "symbology/CodeText.h"
#include "symbology/EncodeOutcome.h"
#include "symbology/ModuleSequence.h"

#include <cstdint>
#include <string>

namespace kestrel {

class Profile;

// The settings record of the one barcode: data, symbology, geometry and the
// module sequence built from them. It starts with the defaults; `Load` takes
// the geometry from the profile and `Store` writes it back, when the program
// says so. Nothing else writes the `Code` geometry to the profile.
class CBarCodeDoc {
public:
    // A plain record: a copy is a second document with the same values
    // (each worker of a kestrel-cli batch draws on its own).
    CBarCodeDoc() = default;

    // Reads the `Code` geometry and the gaps from the profile, and fills the
    // application's working gaps with the gaps. The code text is emptied.
    void Load(const Profile& profile, WorkingGaps& workingGaps);
    // Writes the geometry and the gaps, in the order the program has always
    // written them. The window does this when it ends normally.
    void Store(Profile& profile) const;

    // Rebuilds `ModuleSequence` from the fields, verifying a Codabar check
    // character by `codabar`'s method; on a refusal the previous sequence
    // stays. EncodeNumber gives the 1 or 0 callers answer with.
    EncodeResult Encode(const CodabarOptions& codabar);

    // The sequence in text form, after encoding anew.
    std::string ModuleText(const CodabarOptions& codabar);

    // Storing encodes and writes the module text, recording its length;
    // loading takes the first line of the archive as the new code text.
    void Serialize(Archive& archive, const CodabarOptions& codabar);

    // With `AutoAdd` on, takes the added check character off the code text
    // and accepts it again; the text changes only when the rules accept.
    void Recomplete(const CodabarOptions& codabar);

    // The barcode as drawn from the fields as they are now; valid until the
    // text or the sequence changes.
    BarcodeSymbol Symbol() const;

    // Automation's ratio choice: 0 is "1:2", 1 is "1:3", 2 is "2:5".
    void SetAspectChoice(int choice);
    // Start character from bits 0-7, stop from bits 16-23; anything not
    // A-D or a-d becomes A.
    void SetCodabarStartStop(std::int32_t value);
    // The code text becomes the number in decimal, framed as the symbology
    // needs (Code 39 with *, Codabar with the document's start and stop).
    void SetCodeNumber(std::int32_t number);

    // Save, Save As, Print and Copy have something to output.
    bool HasCodeText() const { return !CodeText.empty(); }

    int CodeHigh = 16;
    int CodeType = 0;
    kestrel::CodeText CodeText;
    int Height = 150;
    int Width = 300;
    int Check = 1;
    int AutoAdd = 0;
    int DispCode = 1;
    int Aspect = 0;
    int NWidth = 1;
    kestrel::ModuleSequence ModuleSequence;
    int ModuleTextLength = 0;
    char CodabarStart = 'A';
    char CodabarStop = 'A';
    int Case = 0;
    int CodabarGapX = 1;
    int Code39GapX = 1;
    int Xmargin = 25;
    int Ymargin = 25;
};

// Records this program's version and path in the profile, so that other
// programs can find it. The window does this at start; kestrel-cli never.
void RecordProgram(Profile& profile, const std::string& programPath);

}  // namespace kestrel
