#include "print/PrintSizeModel.h"

#include "print/PrintTexts.h"

#include <algorithm>
#include <cstdio>
#include <string>

namespace kestrel {

namespace {

// printf into a string; the texts are short, a line each.
template <typename... Args>
std::string Format(const char* format, Args... args)
{
    char line[256];
    const int length = std::snprintf(line, sizeof line, format, args...);
    return length < 0 ? std::string()
                      : std::string(line, std::min<std::size_t>(length, sizeof line - 1));
}

std::string Number(double value, int decimals)
{
    return Format("%.*f", decimals, value);
}

}  // namespace

PrintSizeModel::PrintSizeModel(const PrintChoice& choice, const PrinterMetrics& printer,
                               const PictureMetrics& picture)
    : choice_(choice), printer_(printer), picture_(picture)
{
    SetMicrometres(choice.moduleMicrometres);
}

void PrintSizeModel::SetMicrometres(int micrometres)
{
    choice_.moduleMicrometres = std::clamp(micrometres, MinMicrometres, MaxMicrometres);
}

std::string PrintSizeModel::SizeText() const
{
    namespace t = texts::print;
    if (printer_.dpiX <= 0 || printer_.dpiY <= 0) {
        return t::ResolutionUnknown;
    }
    const PrintScale scale = Scale();
    const std::string dpi = printer_.dpiX == printer_.dpiY ? std::to_string(printer_.dpiX)
                                                           : std::to_string(printer_.dpiX) + " × "
                                                                 + std::to_string(printer_.dpiY);
    std::string text = Format(t::PrintedSize, Number(scale.widthMm, 1).c_str(),
                              Number(scale.heightMm, 1).c_str());
    text += '\n' + Format(t::PrintedModule, Number(scale.moduleMm, 3).c_str());
    text += '\n' + Format(t::DotsPerPixel, scale.dotsX, scale.dotsY, dpi.c_str());
    if (!scale.fitsWidth) {
        text += '\n';
        text += t::WiderThanPage;
    }
    return text;
}

}  // namespace kestrel
