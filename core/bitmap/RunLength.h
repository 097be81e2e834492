#pragma once

// Run-length coding of 4- and 8-bit pictures (BI_RLE4, BI_RLE8).

#include "bitmap/Dib.h"

namespace kestrel {

// A valid bottom-up BI_RGB DIB of 8 bits coded as BI_RLE8, or of 4 bits as
// BI_RLE4: the header and colour table as they were but for biCompression
// and biSizeImage. Every run holds one index (a count of 1 to 255 and the
// index, for 4 bits the index in both halves of the byte); every row ends
// with an end of line and the picture with an end of bitmap. Nothing for
// other pictures, for top-down ones (a coded picture is always stored
// bottom-up) and for one whose coding would not fit the header's sizes.
Dib EncodeRunLength(const Dib& source);

}  // namespace kestrel
