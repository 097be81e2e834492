#pragma once

#include "print/PrintScale.h"

#include <string>

namespace kestrel {

// The print dialog's "印刷サイズ" tab without its widgets: the mode, the
// asked module width with its limits, whether the width box can be used,
// and the size the choice prints at on the printer the dialog opened on.
class PrintSizeModel {
public:
    // The module width box, in micrometres (it shows millimetres with three
    // decimals): from a hair under the thinnest bars scanners are made for
    // to ten times the largest common modules.
    static constexpr int MinMicrometres = 100;
    static constexpr int MaxMicrometres = 10000;
    static constexpr int StepMicrometres = 10;

    PrintSizeModel(const PrintChoice& choice, const PrinterMetrics& printer,
                   const PictureMetrics& picture);

    PrintScaleMode Mode() const { return choice_.mode; }
    void SetMode(PrintScaleMode mode) { choice_.mode = mode; }
    int Micrometres() const { return choice_.moduleMicrometres; }
    // Kept inside the box's limits.
    void SetMicrometres(int micrometres);
    bool MillimetresEnabled() const { return choice_.mode == PrintScaleMode::ModuleWidth; }

    const PrintChoice& Choice() const { return choice_; }
    PrintScale Scale() const { return ComputePrintScale(choice_, printer_, picture_); }
    // The printed size, the module width and the dots per pixel, one to a
    // line, and a warning line when the picture is wider than the page.
    std::string SizeText() const;

private:
    PrintChoice choice_;
    PrinterMetrics printer_;
    PictureMetrics picture_;
};

}  // namespace kestrel
