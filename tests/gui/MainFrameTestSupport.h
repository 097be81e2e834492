#pragma once

#include "LoadedDocument.h"
#include "app/ApplicationContext.h"
#include "app/MainFrame.h"
#include "document/BarCodeDoc.h"
#include "document/WorkingGaps.h"
#include "profile/MemoryProfile.h"

#include <QDir>

#include <string>

namespace kestrel::test {

// One application's worth of objects around a frame, in main()'s order: the
// frame goes before the document.
struct FrameWorld {
    MemoryProfile profile;
    WorkingGaps gaps;
    std::string programPath = QDir::tempPath().toStdString() + "/kestrel-frame-test/kestrel";
    LoadedDocument doc{profile, gaps};
    ApplicationContext context{profile, gaps, doc, programPath};
    CMainFrame frame{context};
};

}  // namespace kestrel::test
