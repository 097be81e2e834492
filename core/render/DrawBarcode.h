#pragma once

namespace kestrel {

class CBarCodeDoc;
class DrawingSurface;
class Profile;

// Face name of every font the barcode drawing asks for, in code page 932.
inline constexpr char BarcodeFontFace[] =
    "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E";  // ＭＳ Ｐゴシック

// Draws the document's barcode: background, comment lines, bars, the
// bearer frame and the human-readable text. Colours, comments and the JAN
// and ITF options come from the profile at every call. Nothing happens when
// the document has no code text. The surface's background mode and colour,
// pen and font are as they were afterwards; text colour and alignment are
// left as last used.
void DrawBarcode(const CBarCodeDoc& doc, const Profile& profile, DrawingSurface& surface);

}  // namespace kestrel
