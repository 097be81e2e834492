#pragma once

#include <QObject>

#include <memory>
#include <optional>

namespace kestrel {

enum class LockKey { Kana, Caps, Num, Scroll };

// The lights of the lock keys as the window system keeps them. A light the
// window system does not have, or cannot be asked about, reads as unknown
// rather than off.
class LockKeyIndicators : public QObject {
    Q_OBJECT

public:
    using QObject::QObject;

    // On, off, or unknown.
    virtual std::optional<bool> State(LockKey key) const = 0;

signals:
    // Some light may have changed; read the states again.
    void Changed();
};

// The lights of the window system the application runs on. Where it cannot
// tell them (offscreen, Wayland, no keyboard extension), every state is
// unknown and Changed never fires. Needs the application object.
std::unique_ptr<LockKeyIndicators> MakeSystemLockKeyIndicators();

}  // namespace kestrel
