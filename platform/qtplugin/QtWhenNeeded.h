#pragma once

#include "export/PictureExport.h"
#include "render/RasterCanvas.h"

namespace kestrel {

// The canvases of a program that loads Qt only when a picture needs it:
// raster surfaces whose text comes from FreeType where it gives what Qt
// draws, and from the Qt services (loaded then) otherwise; the same pixels
// as PictureCanvasFactory. One factory serves one thread.
class QtWhenNeededCanvasFactory : public RasterCanvasFactory {
public:
    QtWhenNeededCanvasFactory();
};

// Every format, as StandardExports writes it: BMP and palette PNG here,
// truecolour PNG, SVG and PDF through the Qt services. A format whose
// services cannot be loaded is not written.
ExportRegistry QtWhenNeededExports();

// Whether the picture this thread drew since the last call needed the Qt
// services and they could not be loaded: its text or some of its lines are
// missing (LoadError says why). Pictures that need no Qt are still made.
bool TakeQtServicesMissing();

}  // namespace kestrel
