#pragma once

class QWidget;

namespace kestrel {

struct ApplicationContext;

// Runs "オプション設定" modally over the application's working gaps; true
// when it ended with OK.
bool RunOptionsSheet(ApplicationContext& context, QWidget* parent);

}  // namespace kestrel
