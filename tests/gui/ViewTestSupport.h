#pragma once

// A document with a default barcode and the picture DrawBarcode makes of it,
// shared by the tests of the view and its output commands.

#include "document/BarCodeDoc.h"
#include "document/StoredStyle.h"
#include "document/WorkingGaps.h"
#include "profile/MemoryProfile.h"
#include "profile/ProfileSchema.h"
#include "render/DrawBarcode.h"
#include "render/QPainterSurface.h"
#include "symbology/CodeValidator.h"

#include <QColor>
#include <QImage>

#include <string>

namespace kestrel::testing {

struct TestDocument {
    MemoryProfile profile;
    WorkingGaps gaps;
    CBarCodeDoc doc;

    explicit TestDocument(const std::string& programPath = "/usr/bin/kestrel",
                          const char* codeText = "4901234567894")
    {
        doc.Load(profile, gaps);
        RecordProgram(profile, programPath);
        doc.CodeText = codeText;
        doc.Encode(CodabarOptions{});
    }

    void SetBackground(Colour colour) { profile::Write(profile, profile::BackColor, colour); }

    // What DrawBarcode makes of the document on a picture of its own size.
    QImage Expected() const
    {
        ImageSurface surface(doc.Width, doc.Height);
        DrawBarcode(ReadDrawing(doc, profile), surface);
        return surface.Image().convertToFormat(QImage::Format_RGB32);
    }
};

inline QRgb ToRgb(Colour colour)
{
    return qRgb(RedOf(colour), GreenOf(colour), BlueOf(colour));
}

inline constexpr QRgb BoundaryRed = 0xFFFF0000;

}  // namespace kestrel::testing
