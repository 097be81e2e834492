#pragma once

class QWidget;

namespace kestrel {

struct ApplicationContext;

// The Options command of the Edit menu: runs the options sheet from the
// document's gaps and takes them back. True when the views must redraw.
bool RunOptionsCommand(ApplicationContext& context, QWidget* parent);

}  // namespace kestrel
