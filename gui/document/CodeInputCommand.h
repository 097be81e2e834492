#pragma once

class QWidget;

namespace kestrel {

struct ApplicationContext;

// The code input command: runs "コード設定" on the document. True when it
// ended with OK; the document has then been re-encoded and the views must
// redraw.
bool RunCodeInput(ApplicationContext& context, QWidget* parent);

}  // namespace kestrel
