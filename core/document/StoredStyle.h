#pragma once

#include "render/DrawBarcode.h"

namespace kestrel {

class CBarCodeDoc;
class Profile;

// The drawing style as the profile holds it now: colours, the two comment
// lines, the JAN text option and the bearer widths. Entry points read it
// once per operation and hand it down.
DrawStyle ReadDrawStyle(const Profile& profile);

}  // namespace kestrel

namespace kestrel {

// The document's symbol in the style the profile holds now: what an entry
// point hands to the drawing and the outputs.
Drawing ReadDrawing(const CBarCodeDoc& doc, const Profile& profile);

}  // namespace kestrel
