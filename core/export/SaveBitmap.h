#pragma once

#include <cstdint>
#include <memory>
#include <string>

namespace kestrel {

struct Drawing;
class OffscreenCanvas;
class OffscreenCanvasFactory;

// Why a save wrote nothing, for the front end's message.
enum class SaveProblem {
    None,
    NothingToSave,  // the code text is empty
    NoPicture,      // the off-screen picture could not be made or read
    NotWritten,     // the conversion or the file failed
};

// The colour depth "Settings"/"Bitmap" asks for: 2 is 8 bits; 0, 1 and
// anything else the off-screen display's own format, 24 bits BI_RGB.
int SavedBitCount(int bitmapChoice);

// Draws the barcode on a white off-screen picture of the symbol's width
// and height and writes it as a BMP file at the depth `bitmapChoice` (the
// profile's "Settings"/"Bitmap") asks for. 1 when the file was written, 0
// when not (`problem`, when given, says why).
int SaveBitmap(const Drawing& drawing, int bitmapChoice, OffscreenCanvasFactory& canvases,
               const std::string& fileName, SaveProblem* problem = nullptr);

// As SaveBitmap, at a depth asked for directly: `bitCount` 1, 4, 8, 16, 24
// or 32 with BI_RGB, or 4 with BI_RLE4 and 8 with BI_RLE8. Other requests
// write nothing (NotWritten).
int SaveBitmapAs(const Drawing& drawing, OffscreenCanvasFactory& canvases,
                 const std::string& fileName, int bitCount, std::uint32_t compression,
                 SaveProblem* problem = nullptr);

// An off-screen picture of the symbol's width and height with the barcode
// drawn on it (white where there is no code text to draw); none when the
// picture cannot be made. Every raster output starts from it.
std::unique_ptr<OffscreenCanvas> DrawOnCanvas(const Drawing& drawing,
                                              OffscreenCanvasFactory& canvases);

// "BarCode.bmp" in the folder of the program file; empty when the joined
// name would be too long for a path.
std::string SaveFileNameBesideProgram(const std::string& programPath);

}  // namespace kestrel
