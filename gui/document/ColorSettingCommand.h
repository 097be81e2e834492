#pragma once

class QWidget;

namespace kestrel {

struct ApplicationContext;

// The colour setting command: runs "色の設定". True when it ended with OK
// and the views must redraw.
bool RunColorSetting(ApplicationContext& context, QWidget* parent);

}  // namespace kestrel
