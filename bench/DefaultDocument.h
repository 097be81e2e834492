#pragma once

#include "LoadedDocument.h"
#include "document/BarCodeDoc.h"
#include "document/WorkingGaps.h"
#include "profile/MemoryProfile.h"
#include "symbology/CodeValidator.h"

namespace kestrel::bench {

// The picture the benchmarks draw: a document with the default settings and
// the JAN-13 4901234567894, encoded, on an in-memory profile.
struct DefaultDocument {
    MemoryProfile profile;
    WorkingGaps gaps;
    LoadedDocument doc{profile, gaps};

    DefaultDocument()
    {
        doc.CodeText = "4901234567894";
        doc.Encode(ReadCodabarOptions(profile));
    }
};

}  // namespace kestrel::bench
