#pragma once

#include "picture/RgbPicture.h"

#include <optional>
#include <string>

namespace kestrel {

// What a reader should report for a symbol, and how to ask it.
struct ReaderExpectation {
    int formats = 0;         // ZXing::BarcodeFormat bits
    bool fullAscii = false;  // Extended Code 39's pairs read back as one character
    std::string text;        // UTF-8
};

// The text ZXing gives for a symbol of `codeType` carrying `codeTextUtf8`:
// Codabar without its start and stop characters, Code 39 without its stars,
// JAN as EAN. None for symbologies ZXing does not read (STF, Code 11) and
// for ITF shorter than ZXing reads.
std::optional<ReaderExpectation> ExpectedReading(int codeType, const std::string& codeTextUtf8);

enum class Scan { Read, NotRead, NotVerified };

struct ScanResult {
    Scan scan = Scan::NotVerified;
    std::string detail;  // what was read, or why nothing was checked
};

// Decodes the picture with ZXing and compares it with the symbol's text.
ScanResult VerifyScan(const RgbPicture& picture, int codeType, const std::string& codeTextUtf8);

}  // namespace kestrel
