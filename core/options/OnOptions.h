#pragma once

#include <functional>

namespace kestrel {

class CBarCodeDoc;
class Profile;
struct WorkingGaps;

// The document's Options command around a run of the options sheet: the
// sheet starts from the document's gaps (not from whatever the code dialog
// left in the working copies), and the document takes the working gaps back
// whether the sheet was confirmed or not. Re-encodes when there is a code
// text, with the Codabar options `profile` holds after the sheet; true then,
// as the views must redraw.
bool OnOptions(CBarCodeDoc& doc, WorkingGaps& gaps, const Profile& profile,
               const std::function<void()>& runSheet);

}  // namespace kestrel
