#pragma once

class QWidget;

namespace kestrel {

struct ApplicationContext;

// The comment input command: runs "コメント設定". True when it ended with
// OK and the views must redraw.
bool RunCommentInput(ApplicationContext& context, QWidget* parent);

}  // namespace kestrel
