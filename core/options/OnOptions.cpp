#include "options/OnOptions.h"

#include "document/BarCodeDoc.h"
#include "document/WorkingGaps.h"

namespace kestrel {

bool OnOptions(CBarCodeDoc& doc, WorkingGaps& gaps, const std::function<void()>& runSheet)
{
    gaps.codabarGapX = doc.CodabarGapX;
    gaps.code39GapX = doc.Code39GapX;
    runSheet();
    doc.CodabarGapX = gaps.codabarGapX;
    doc.Code39GapX = gaps.code39GapX;
    if (!doc.HasCodeText()) {
        return false;
    }
    doc.Encode();
    return true;
}

}  // namespace kestrel
