#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace kestrel {

// A rectangle in screen coordinates; right and bottom are exclusive.
struct ScreenRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;

    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    bool operator==(const ScreenRect&) const = default;
};

// Where the main window was when the program last ended normally, kept in
// Settings/WindowPos as ten numbers: flags, show command, the minimised
// position, the maximised position and the restored (normal) frame rectangle.
struct WindowPlacement {
    enum Flags : unsigned { NoFlags = 0, RestoreToMaximized = 2 };
    enum ShowCommand : unsigned { ShowNormal = 1, ShowMinimized = 2, ShowMaximized = 3 };

    unsigned flags = NoFlags;
    unsigned showCommand = ShowNormal;
    int minX = -1;
    int minY = -1;
    int maxX = -1;
    int maxY = -1;
    ScreenRect normal;

    bool operator==(const WindowPlacement&) const = default;

    // "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d".
    std::string Format() const;

    // Reads the numbers as sscanf would with Format's pattern: it stops at
    // the first mismatch. Fewer than ten numbers is no placement at all, so
    // a damaged entry never half-applies; anything after the tenth is ignored.
    static std::optional<WindowPlacement> Parse(std::string_view text);

    // What to store when the window closes in the given state; `normal` is its
    // restored frame rectangle, whatever state it is in now.
    static WindowPlacement AtClose(bool minimized, bool maximized, const ScreenRect& normal);
};

// How the window is to come up at start.
struct StartPlacement {
    // Empty: leave the window where the window system puts it.
    std::optional<ScreenRect> normal;
    bool minimized = false;
    bool maximized = false;
};

// Combines the stored placement with the show command the program was
// started with: a command other than normal wins over the stored one.
// `workAreas` are the usable areas of the screens, the primary first. A stored
// rectangle that is empty, or that no longer meets any screen (a monitor was
// removed or the resolution dropped), is moved onto the primary screen rather
// than bringing the window up where nobody can see or reach it.
StartPlacement PlanStart(const std::optional<WindowPlacement>& stored, unsigned showCommand,
                         const std::vector<ScreenRect>& workAreas);

}  // namespace kestrel
