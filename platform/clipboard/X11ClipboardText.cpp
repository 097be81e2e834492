#include "clipboard/X11ClipboardText.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>

namespace kestrel {

namespace {

using Clock = std::chrono::steady_clock;

// Our own connection and window, so that the wait never involves Qt's
// event loop, which is blocked while we wait on its thread.
class Requestor {
public:
    Requestor()
    {
        if (std::getenv("DISPLAY") == nullptr) {
            return;
        }
        connection_ = xcb_connect(nullptr, nullptr);
        if (xcb_connection_has_error(connection_) != 0) {
            return;
        }
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data;
        if (screen == nullptr) {
            return;
        }
        window_ = xcb_generate_id(connection_);
        xcb_create_window(connection_, XCB_COPY_FROM_PARENT, window_, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, screen->root_visual, 0, nullptr);
        clipboard_ = Atom("CLIPBOARD");
        utf8_ = Atom("UTF8_STRING");
        incr_ = Atom("INCR");
        for (std::size_t k = 0; k < properties_.size(); ++k) {
            properties_[k] = Atom(("KESTREL_CLIPBOARD_" + std::to_string(k)).c_str());
        }
        usable_ = clipboard_ != XCB_NONE && utf8_ != XCB_NONE;
    }
    ~Requestor()
    {
        if (connection_ != nullptr) {
            xcb_disconnect(connection_);
        }
    }
    Requestor(const Requestor&) = delete;
    Requestor& operator=(const Requestor&) = delete;

    bool Usable() const { return usable_; }

    std::optional<std::string> Read(std::chrono::milliseconds wait)
    {
        const Clock::time_point deadline = Clock::now() + wait;
        if (!HasOwner()) {
            return std::nullopt;
        }
        for (const xcb_atom_t target : {utf8_, static_cast<xcb_atom_t>(XCB_ATOM_STRING)}) {
            const std::optional<std::optional<std::string>> text = Convert(target, deadline);
            if (!text) {
                return std::nullopt;  // no answer in time: no second try
            }
            if (*text) {
                return target == utf8_ ? **text : Latin1ToUtf8(**text);
            }
        }
        return std::nullopt;
    }

private:
    xcb_atom_t Atom(const char* name)
    {
        xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
            connection_,
            xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(std::strlen(name)), name),
            nullptr);
        const xcb_atom_t atom = reply != nullptr ? reply->atom : XCB_NONE;
        std::free(reply);
        return atom;
    }

    bool HasOwner()
    {
        xcb_get_selection_owner_reply_t* reply = xcb_get_selection_owner_reply(
            connection_, xcb_get_selection_owner(connection_, clipboard_), nullptr);
        const bool owned = reply != nullptr && reply->owner != XCB_NONE;
        std::free(reply);
        return owned;
    }

    // The text converted to `target`: none when no answer came in time, an
    // empty optional inside when the owner refused or sent no text.
    std::optional<std::optional<std::string>> Convert(xcb_atom_t target, Clock::time_point deadline)
    {
        // Each request names a property of its own, so a late answer to an
        // earlier request is never taken for this one.
        const xcb_atom_t property = properties_[next_++ % properties_.size()];
        xcb_delete_property(connection_, window_, property);
        xcb_convert_selection(connection_, window_, clipboard_, target, property, XCB_CURRENT_TIME);
        xcb_flush(connection_);
        while (true) {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const bool ours =
                    (event->response_type & 0x7FU) == XCB_SELECTION_NOTIFY
                    && reinterpret_cast<xcb_selection_notify_event_t*>(event)->requestor == window_;
                const xcb_atom_t answered =
                    ours ? reinterpret_cast<xcb_selection_notify_event_t*>(event)->property
                         : XCB_NONE;
                const xcb_atom_t asked =
                    ours ? reinterpret_cast<xcb_selection_notify_event_t*>(event)->target
                         : XCB_NONE;
                std::free(event);
                if (!ours || asked != target) {
                    continue;
                }
                if (answered == XCB_NONE) {
                    return std::optional<std::string>();
                }
                if (answered == property) {
                    return Property(property);
                }
            }
            if (xcb_connection_has_error(connection_) != 0) {
                return std::nullopt;
            }
            const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(deadline
                                                                                    - Clock::now());
            if (left.count() <= 0) {
                return std::nullopt;
            }
            pollfd descriptor{xcb_get_file_descriptor(connection_), POLLIN, 0};
            poll(&descriptor, 1, static_cast<int>(left.count()));
        }
    }

    std::optional<std::string> Property(xcb_atom_t property)
    {
        constexpr std::uint32_t LongestRead = 1U << 24;  // in 32-bit units
        xcb_get_property_reply_t* reply = xcb_get_property_reply(
            connection_,
            xcb_get_property(connection_, 1, window_, property, XCB_GET_PROPERTY_TYPE_ANY, 0,
                             LongestRead),
            nullptr);
        std::optional<std::string> text;
        if (reply != nullptr && reply->type != incr_ && reply->format == 8) {
            const auto* bytes = static_cast<const char*>(xcb_get_property_value(reply));
            text.emplace(bytes, static_cast<std::size_t>(xcb_get_property_value_length(reply)));
        }
        std::free(reply);
        return text;
    }

    static std::string Latin1ToUtf8(std::string_view latin1)
    {
        std::string utf8;
        for (const char c : latin1) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte < 0x80) {
                utf8.push_back(c);
            } else {
                utf8.push_back(static_cast<char>(0xC0U | (byte >> 6U)));
                utf8.push_back(static_cast<char>(0x80U | (byte & 0x3FU)));
            }
        }
        return utf8;
    }

    xcb_connection_t* connection_ = nullptr;
    xcb_window_t window_ = 0;
    xcb_atom_t clipboard_ = XCB_NONE;
    xcb_atom_t utf8_ = XCB_NONE;
    xcb_atom_t incr_ = XCB_NONE;
    std::array<xcb_atom_t, 8> properties_{};
    std::size_t next_ = 0;
    bool usable_ = false;
};

}  // namespace

X11ClipboardText ReadX11ClipboardText(std::chrono::milliseconds wait)
{
    static Requestor requestor;
    if (!requestor.Usable()) {
        return {};
    }
    return {true, requestor.Read(wait)};
}

}  // namespace kestrel
