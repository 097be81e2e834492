#include "keyboard/LockKeyIndicators.h"

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QGuiApplication>

#include <cstdint>

#if QT_CONFIG(xcb) && !defined(KESTREL_NO_XKB)
// Xlib's headers define macros (None, Bool, KeyPress, ...) that clash with
// Qt's names, so they come after every Qt header.
#include <X11/XKBlib.h>
#endif

namespace kestrel {

namespace {

class UnknownLockKeyIndicators final : public LockKeyIndicators {
public:
    std::optional<bool> State(LockKey) const override { return std::nullopt; }
};

#if QT_CONFIG(xcb) && !defined(KESTREL_NO_XKB)

// Reads the lights from the X keyboard extension by their names, which keymaps
// agree on, where their bit positions differ. The server reports every change
// of a light as an event, whichever program or key caused it, so the state is
// read again only then, instead of polling or guessing from our own key
// presses (which miss a change made while another window has the focus).
class XkbLockKeyIndicators final : public LockKeyIndicators, public QAbstractNativeEventFilter {
public:
    XkbLockKeyIndicators(Display* display, int eventBase) : display_(display), eventBase_(eventBase)
    {
        // Only the light-change events: the other XKB events Qt has asked
        // for on this connection stay as they are.
        XkbSelectEvents(display_, XkbUseCoreKbd, XkbIndicatorStateNotifyMask,
                        XkbIndicatorStateNotifyMask);
        XFlush(display_);
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    ~XkbLockKeyIndicators() override
    {
        if (QCoreApplication* application = QCoreApplication::instance()) {
            application->removeNativeEventFilter(this);
        }
    }

    std::optional<bool> State(LockKey key) const override
    {
        const Atom name = XInternAtom(display_, IndicatorName(key), True);
        if (name == None) {
            return std::nullopt;  // no keymap has ever named this light
        }
        int index = 0;
        Bool on = False;
        XkbIndicatorMapRec map{};
        Bool real = False;
        if (!XkbGetNamedIndicator(display_, name, &index, &on, &map, &real)) {
            return std::nullopt;  // the current keymap has no such light
        }
        return on != False;
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override
    {
        // Every XKB event has the extension's one event code; the second
        // byte says which kind it is. The top bit of the code only marks an
        // event sent by another client.
        if (eventType == "xcb_generic_event_t" && message != nullptr) {
            const auto* bytes = static_cast<const std::uint8_t*>(message);
            if ((bytes[0] & 0x7f) == eventBase_ && bytes[1] == XkbIndicatorStateNotify) {
                emit Changed();
            }
        }
        return false;  // Qt still sees it
    }

private:
    static const char* IndicatorName(LockKey key)
    {
        switch (key) {
        case LockKey::Kana: return "Kana";
        case LockKey::Caps: return "Caps Lock";
        case LockKey::Num: return "Num Lock";
        case LockKey::Scroll: return "Scroll Lock";
        }
        return "";
    }

    Display* display_;
    int eventBase_;
};

#endif

}  // namespace

std::unique_ptr<LockKeyIndicators> MakeSystemLockKeyIndicators()
{
#if QT_CONFIG(xcb) && !defined(KESTREL_NO_XKB)
    const auto* x11 = qGuiApp ? qGuiApp->nativeInterface<QNativeInterface::QX11Application>()
                              : nullptr;
    Display* display = x11 ? x11->display() : nullptr;
    int opcode = 0;
    int eventBase = 0;
    int errorBase = 0;
    int major = XkbMajorVersion;
    int minor = XkbMinorVersion;
    if (display != nullptr
        && XkbQueryExtension(display, &opcode, &eventBase, &errorBase, &major, &minor)) {
        return std::make_unique<XkbLockKeyIndicators>(display, eventBase);
    }
#endif
    return std::make_unique<UnknownLockKeyIndicators>();
}

}  // namespace kestrel
