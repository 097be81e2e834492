#include "print/PrintScale.h"

#include <algorithm>
#include <cstdint>

namespace kestrel {

namespace {

using Wide = std::int64_t;

constexpr Wide MicrometresPerInch = 25400;
constexpr double MillimetresPerInch = 25.4;

// numerator / denominator to the nearest whole number, an exact half up;
// both positive.
Wide RoundHalfUp(Wide numerator, Wide denominator)
{
    return (2 * numerator + denominator) / (2 * denominator);
}

// No scale is worth more than this: far beyond any page, and small enough
// that dots times pixels stays inside Qt's integer coordinates.
constexpr Wide LargestScale = 4096;

int Bounded(Wide dots)
{
    return static_cast<int>(std::clamp<Wide>(dots, 1, LargestScale));
}

int DotsAcross(const PrintChoice& choice, const PrinterMetrics& printer,
               const PictureMetrics& picture)
{
    switch (choice.mode) {
    case PrintScaleMode::OneDotPerPixel: return 1;
    case PrintScaleMode::ModuleWidth: {
        const Wide narrow = std::max(picture.narrow, 1);
        const Wide asked = std::max(choice.moduleMicrometres, 1);
        return Bounded(RoundHalfUp(asked * printer.dpiX, MicrometresPerInch * narrow));
    }
    case PrintScaleMode::FitPageWidth:
        if (picture.width <= 0) {
            return 1;
        }
        return Bounded(Wide{std::max(printer.printableWidth, 0)} / picture.width);
    }
    return 1;
}

}  // namespace

PrintScale ComputePrintScale(const PrintChoice& choice, const PrinterMetrics& printer,
                             const PictureMetrics& picture)
{
    PrintScale scale;
    if (printer.dpiX <= 0 || printer.dpiY <= 0) {
        return scale;
    }
    scale.dotsX = DotsAcross(choice, printer, picture);
    scale.dotsY = choice.mode == PrintScaleMode::OneDotPerPixel
                      ? 1
                      : Bounded(RoundHalfUp(Wide{scale.dotsX} * printer.dpiY, printer.dpiX));

    const auto millimetres = [](Wide dots, int dpi) {
        return static_cast<double>(dots) * MillimetresPerInch / dpi;
    };
    const Wide printedWidth = Wide{std::max(picture.width, 0)} * scale.dotsX;
    scale.widthMm = millimetres(printedWidth, printer.dpiX);
    scale.heightMm = millimetres(Wide{std::max(picture.height, 0)} * scale.dotsY, printer.dpiY);
    scale.moduleMm = millimetres(Wide{std::max(picture.narrow, 1)} * scale.dotsX, printer.dpiX);
    scale.fitsWidth = printedWidth <= printer.printableWidth;
    return scale;
}

}  // namespace kestrel
