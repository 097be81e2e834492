#pragma once

#include <QMenu>

class QAction;

namespace kestrel {

// A menu whose items show their prompt (the action's status tip) in the
// window's status bar while the pointer is over them, greyed items too: Qt
// itself prompts only for items that can be chosen, but a greyed item is
// where the user most wants to read what it would do. The prompt goes when
// the pointer leaves the item or the menu closes.
class PromptMenu : public QMenu {
    Q_OBJECT

public:
    // The prompts go to the parent, as status tip events, which a main
    // window shows in its status bar.
    PromptMenu(const QString& title, QWidget* parent);

protected:
    void mouseMoveEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void ShowPrompt(const QString& text);

    // The greyed item whose prompt is shown, if any.
    QAction* promptedGreyItem_ = nullptr;
};

}  // namespace kestrel
