#pragma once

#include <cstdint>

namespace kestrel {

// How large Print makes the picture. Whatever the choice, every picture
// pixel becomes a whole number of printer dots on each axis, so that every
// bar edge falls on a dot and no bar is drawn a dot wider than its twin.
enum class PrintScaleMode {
    OneDotPerPixel,  // one dot per pixel, as a label printer wants it
    ModuleWidth,     // the narrow module as near as it gets to a width in mm
    FitPageWidth,    // as large as the printable width allows
};

// What the user chose for printing; it lasts for the run, like the printer.
struct PrintChoice {
    PrintScaleMode mode = PrintScaleMode::OneDotPerPixel;
    int moduleMicrometres = 330;  // asked narrow module width, for ModuleWidth
};

// The printer as the page will be painted: its resolution on each axis and
// its printable area, all in dots. A resolution of 0 or less is unknown.
struct PrinterMetrics {
    int dpiX = 0;
    int dpiY = 0;
    int printableWidth = 0;
    int printableHeight = 0;
};

// The picture in pixels and its narrow module (the document's narrow width).
struct PictureMetrics {
    int width = 0;
    int height = 0;
    int narrow = 1;
};

// Printer dots per picture pixel on each axis, and what that makes on paper.
struct PrintScale {
    int dotsX = 1;
    int dotsY = 1;
    // Printed sizes; 0 when the printer's resolution is unknown.
    double widthMm = 0;
    double heightMm = 0;
    double moduleMm = 0;
    // The printed picture's width fits the printable width.
    bool fitsWidth = true;
};

// The scale for a choice on a printer:
// - OneDotPerPixel: 1 × 1, the page exactly as it has always printed.
// - ModuleWidth: across, the whole number of dots per pixel that brings the
//   narrow module nearest to the asked width; an exact half goes to the wider
//   module, which scans more easily; at least 1.
// - FitPageWidth: across, the largest whole number at which the picture's
//   width fits the printable width; 1 when even that does not fit.
// Down, the whole number nearest to keeping the picture's proportions on
// paper (the same as across when both resolutions are equal), at least 1.
// An unknown resolution prints one dot per pixel.
PrintScale ComputePrintScale(const PrintChoice& choice, const PrinterMetrics& printer,
                             const PictureMetrics& picture);

}  // namespace kestrel
