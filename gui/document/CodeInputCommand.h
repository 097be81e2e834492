#pragma once

#include <functional>

class QWidget;

namespace kestrel {

class CCodeDlg;
struct ApplicationContext;

// The code input command: runs "コード設定" on the document. True when it
// ended with OK; the document has then been re-encoded and the views must
// redraw.
bool RunCodeInput(ApplicationContext& context, QWidget* parent);

// The same with the dialog run by `run` (which returns its QDialog result),
// so that tests can drive it without a nested event loop.
using CodeDlgRunner = std::function<int(CCodeDlg& dialog)>;
bool RunCodeInput(ApplicationContext& context, QWidget* parent, const CodeDlgRunner& run);

}  // namespace kestrel
