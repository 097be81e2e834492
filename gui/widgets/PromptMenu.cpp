#include "widgets/PromptMenu.h"

#include <QAction>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QStatusTipEvent>

namespace kestrel {

PromptMenu::PromptMenu(const QString& title, QWidget* parent) : QMenu(title, parent) {}

void PromptMenu::mouseMoveEvent(QMouseEvent* event)
{
    // Qt first: moving from an item it prompted for onto a greyed one, it
    // clears its prompt, which must not clear ours.
    QMenu::mouseMoveEvent(event);

    QAction* item = actionAt(event->position().toPoint());
    const bool greyItem = item != nullptr && !item->isSeparator() && !item->isEnabled();
    if (greyItem) {
        if (item != promptedGreyItem_) {
            promptedGreyItem_ = item;
            ShowPrompt(item->statusTip());
        }
    } else if (promptedGreyItem_ != nullptr) {
        promptedGreyItem_ = nullptr;
        // An item Qt prompts for has shown its own prompt by now.
        if (item == nullptr || item->isSeparator()) {
            ShowPrompt(QString());
        }
    }
}

void PromptMenu::leaveEvent(QEvent* event)
{
    QMenu::leaveEvent(event);
    if (promptedGreyItem_ != nullptr) {
        promptedGreyItem_ = nullptr;
        ShowPrompt(QString());
    }
}

void PromptMenu::hideEvent(QHideEvent* event)
{
    QMenu::hideEvent(event);
    // Qt leaves the last chosen item's prompt standing after the menu has
    // closed; the status bar goes back to its idle text.
    promptedGreyItem_ = nullptr;
    ShowPrompt(QString());
}

void PromptMenu::ShowPrompt(const QString& text)
{
    if (QWidget* receiver = parentWidget()) {
        QStatusTipEvent tip(text);
        QCoreApplication::sendEvent(receiver, &tip);
    }
}

}  // namespace kestrel
