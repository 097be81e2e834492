#pragma once

#include "keyboard/LockKeyIndicators.h"

#include <QObject>

#include <array>
#include <memory>

class QLabel;
class QStatusBar;

namespace kestrel {

// The four lock-key panes at the right of the status bar, "ｶﾅ", "CAP",
// "NUM" and "SCRL", following the lights of the keyboard: a pane shows its
// name while its key is on and is empty while it is off, as a lock light is
// lit or dark. Where the window system cannot tell a key's state the pane
// shows its name greyed, claiming neither.
class LockKeyPanes : public QObject {
    Q_OBJECT

public:
    LockKeyPanes(QStatusBar* bar, std::unique_ptr<LockKeyIndicators> lights);
    ~LockKeyPanes() override;

    QLabel* Pane(LockKey key) const;

public slots:
    void Refresh();

private:
    std::unique_ptr<LockKeyIndicators> lights_;
    std::array<QLabel*, 4> panes_{};
};

}  // namespace kestrel
