#include "VerifyPicture.h"

#include "symbology/Symbology.h"

#include <ZXing/ReadBarcode.h>

#include <cstdint>
#include <vector>

namespace kestrel::cli {

namespace {

// ZXing 1.4 reads no shorter ITF symbol (zint's 4-digit ITF gives "None").
constexpr std::size_t ShortestItfZxingReads = 6;

std::string WithoutEnds(const std::string& text, char end)
{
    if (text.size() >= 2 && text.front() == end && text.back() == end) {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

}  // namespace

std::optional<ReaderExpectation> ExpectedReading(int codeType, const std::string& codeTextUtf8)
{
    using ZXing::BarcodeFormat;
    const auto bits = [](BarcodeFormat format) { return static_cast<int>(format); };
    switch (codeType) {
    case Jan13: return ReaderExpectation{bits(BarcodeFormat::EAN13), false, codeTextUtf8};
    case Jan8: return ReaderExpectation{bits(BarcodeFormat::EAN8), false, codeTextUtf8};
    case Itf:
        return codeTextUtf8.size() < ShortestItfZxingReads
                   ? std::nullopt
                   : std::optional(ReaderExpectation{bits(BarcodeFormat::ITF), false, codeTextUtf8});
    case Codabar:
        // The code text always carries its start and stop characters.
        return codeTextUtf8.size() < 2
                   ? std::nullopt
                   : std::optional(ReaderExpectation{bits(BarcodeFormat::Codabar), false,
                                                     codeTextUtf8.substr(1, codeTextUtf8.size() - 2)});
    case Code39:
        return ReaderExpectation{bits(BarcodeFormat::Code39), false, WithoutEnds(codeTextUtf8, '*')};
    case Code39Extended:
        return ReaderExpectation{bits(BarcodeFormat::Code39), true, WithoutEnds(codeTextUtf8, '*')};
    case Code93:
    case Code93Extended:
        return ReaderExpectation{bits(BarcodeFormat::Code93), false, codeTextUtf8};
    case Code128B: return ReaderExpectation{bits(BarcodeFormat::Code128), false, codeTextUtf8};
    default: return std::nullopt;  // STF and Code 11: ZXing has no reader for them
    }
}

ScanResult VerifyScan(const RgbPicture& picture, int codeType, const std::string& codeTextUtf8)
{
    const std::optional<ReaderExpectation> expected = ExpectedReading(codeType, codeTextUtf8);
    if (!expected) {
        if (codeType == Itf) {
            return {Scan::NotVerified, "ZXing reads ITF of " + std::to_string(ShortestItfZxingReads)
                                           + " digits or more only"};
        }
        const bool known = codeType >= 0 && codeType < SymbologyCount;
        return {Scan::NotVerified,
                "ZXing does not read "
                    + (known ? std::string(SymbologyNames[static_cast<std::size_t>(codeType)])
                             : "symbology " + std::to_string(codeType))};
    }
    if (picture.width <= 0 || picture.height <= 0
        || picture.pixels.size()
               != static_cast<std::size_t>(picture.width) * static_cast<std::size_t>(picture.height)) {
        return {Scan::NotRead, "no picture to read"};
    }
    // 0x00RRGGBB words, stored low byte first: blue, green, red, unused.
    std::vector<std::uint8_t> bytes(picture.pixels.size() * 4);
    for (std::size_t i = 0; i < picture.pixels.size(); ++i) {
        const std::uint32_t pixel = picture.pixels[i];
        bytes[4 * i] = static_cast<std::uint8_t>(pixel & 0xFFU);
        bytes[4 * i + 1] = static_cast<std::uint8_t>((pixel >> 8) & 0xFFU);
        bytes[4 * i + 2] = static_cast<std::uint8_t>((pixel >> 16) & 0xFFU);
        bytes[4 * i + 3] = 0xFF;
    }
    const ZXing::ImageView image(bytes.data(), picture.width, picture.height,
                                 ZXing::ImageFormat::BGRX);
    ZXing::DecodeHints hints;
    hints.setFormats(static_cast<ZXing::BarcodeFormat>(expected->formats));
    hints.setTryHarder(true);
    hints.setTryRotate(false);
    hints.setTryCode39ExtendedMode(expected->fullAscii);
    const ZXing::Result result = ZXing::ReadBarcode(image, hints);
    if (!result.isValid()) {
        return {Scan::NotRead,
                "ZXing finds no "
                    + std::string(ZXing::ToString(static_cast<ZXing::BarcodeFormat>(expected->formats)))
                    + " symbol"};
    }
    const std::string read = result.text();
    if (read != expected->text) {
        return {Scan::NotRead, "ZXing reads \"" + read + "\", not \"" + expected->text + "\""};
    }
    return {Scan::Read, read};
}

}  // namespace kestrel::cli
