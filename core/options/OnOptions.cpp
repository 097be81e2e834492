#include "options/OnOptions.h"

#include "document/BarCodeDoc.h"
#include "document/WorkingGaps.h"
#include "symbology/CodeValidator.h"

namespace kestrel {

bool OnOptions(CBarCodeDoc& doc, WorkingGaps& gaps, const Profile& profile,
               const std::function<void()>& runSheet)
{
    gaps.codabarGapX = doc.CodabarGapX;
    gaps.code39GapX = doc.Code39GapX;
    runSheet();
    doc.CodabarGapX = gaps.codabarGapX;
    doc.Code39GapX = gaps.code39GapX;
    if (!doc.HasCodeText()) {
        return false;
    }
    doc.Encode(ReadCodabarOptions(profile));  // as the sheet left them
    return true;
}

}  // namespace kestrel
