#include "verify/VerifyPicture.h"

#include "symbology/SymbologyCatalogue.h"

#include <ZXing/ReadBarcode.h>

#include <cstdint>
#include <vector>

namespace kestrel {

namespace {

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
    const SymbologyRow* row = FindSymbology(codeType);
    if (!row || row->reading.format.empty() || codeTextUtf8.size() < row->reading.shortestRead) {
        return std::nullopt;  // STF and Code 11: ZXing has no reader for them
    }
    const ZxingReading& reading = row->reading;
    ReaderExpectation expected{
        static_cast<int>(ZXing::BarcodeFormatFromString(std::string(reading.format))),
        reading.fullAscii, codeTextUtf8};
    switch (reading.ends) {
    case ReadEnds::Kept: break;
    case ReadEnds::StartStop:
        // The code text always carries its start and stop characters.
        if (codeTextUtf8.size() < 2) {
            return std::nullopt;
        }
        expected.text = codeTextUtf8.substr(1, codeTextUtf8.size() - 2);
        break;
    case ReadEnds::Stars: expected.text = WithoutEnds(codeTextUtf8, '*'); break;
    }
    return expected;
}

ScanResult VerifyScan(const RgbPicture& picture, int codeType, const std::string& codeTextUtf8)
{
    const std::optional<ReaderExpectation> expected = ExpectedReading(codeType, codeTextUtf8);
    if (!expected) {
        const SymbologyRow* row = FindSymbology(codeType);
        if (row && row->reading.shortestRead > codeTextUtf8.size()) {
            return {Scan::NotVerified, "ZXing reads " + std::string(row->reading.format) + " of "
                                           + std::to_string(row->reading.shortestRead)
                                           + " digits or more only"};
        }
        return {Scan::NotVerified,
                "ZXing does not read "
                    + (row ? std::string(row->name) : "symbology " + std::to_string(codeType))};
    }
    if (picture.width <= 0 || picture.height <= 0
        || picture.pixels.size()
               != static_cast<std::size_t>(picture.width)
                      * static_cast<std::size_t>(picture.height)) {
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
        return {Scan::NotRead, "ZXing finds no "
                                   + std::string(ZXing::ToString(
                                       static_cast<ZXing::BarcodeFormat>(expected->formats)))
                                   + " symbol"};
    }
    const std::string read = result.text();
    if (read != expected->text) {
        return {Scan::NotRead, "ZXing reads \"" + read + "\", not \"" + expected->text + "\""};
    }
    return {Scan::Read, read};
}

}  // namespace kestrel
