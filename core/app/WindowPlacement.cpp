#include "app/WindowPlacement.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <limits>

namespace kestrel {

namespace {

// Scans one number as sscanf's %d or %u does: white space first, an optional
// sign, then decimal digits. Out-of-range values wrap to 32 bits, as the C
// library on the systems that wrote these entries does in practice.
bool ScanNumber(std::string_view text, std::size_t& pos, std::uint32_t& value)
{
    while (pos < text.size() && (text[pos] == ' ' || (text[pos] >= '\t' && text[pos] <= '\r'))) {
        ++pos;
    }
    bool negative = false;
    if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
        negative = text[pos] == '-';
        ++pos;
    }
    const std::size_t digitsStart = pos;
    std::uint32_t magnitude = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        magnitude = magnitude * 10U + static_cast<std::uint32_t>(text[pos] - '0');
        ++pos;
    }
    if (pos == digitsStart) {
        return false;
    }
    value = negative ? 0U - magnitude : magnitude;
    return true;
}

int AsSigned(std::uint32_t value)
{
    return static_cast<int>(value);  // two's complement, defined since C++20
}

bool Meets(const ScreenRect& a, const ScreenRect& b)
{
    return std::max(a.left, b.left) < std::min(a.right, b.right)
           && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

}  // namespace

std::string WindowPlacement::Format() const
{
    std::array<char, 160> buffer{};
    std::snprintf(buffer.data(), buffer.size(), "%u,%u,%d,%d,%d,%d,%d,%d,%d,%d", flags, showCommand,
                  minX, minY, maxX, maxY, normal.left, normal.top, normal.right, normal.bottom);
    return buffer.data();
}

std::optional<WindowPlacement> WindowPlacement::Parse(std::string_view text)
{
    constexpr std::size_t count = 10;
    std::array<std::uint32_t, count> numbers{};
    std::size_t pos = 0;
    for (std::size_t i = 0; i < count; ++i) {
        if (i > 0) {
            if (pos >= text.size() || text[pos] != ',') {
                return std::nullopt;
            }
            ++pos;
        }
        if (!ScanNumber(text, pos, numbers[i])) {
            return std::nullopt;
        }
    }
    WindowPlacement placement;
    placement.flags = numbers[0];
    placement.showCommand = numbers[1];
    placement.minX = AsSigned(numbers[2]);
    placement.minY = AsSigned(numbers[3]);
    placement.maxX = AsSigned(numbers[4]);
    placement.maxY = AsSigned(numbers[5]);
    placement.normal = {AsSigned(numbers[6]), AsSigned(numbers[7]), AsSigned(numbers[8]),
                        AsSigned(numbers[9])};
    return placement;
}

WindowPlacement WindowPlacement::AtClose(bool minimized, bool maximized, const ScreenRect& normal)
{
    WindowPlacement placement;
    // A window minimised from maximised comes back maximised.
    placement.flags = maximized ? RestoreToMaximized : NoFlags;
    placement.showCommand = minimized ? ShowMinimized : maximized ? ShowMaximized : ShowNormal;
    placement.normal = normal;
    return placement;
}

StartPlacement PlanStart(const std::optional<WindowPlacement>& stored, unsigned showCommand,
                         const std::vector<ScreenRect>& workAreas)
{
    StartPlacement plan;
    unsigned command = showCommand;
    if (stored) {
        if (command == WindowPlacement::ShowNormal) {
            command = stored->showCommand;
        }
        plan.normal = stored->normal;
    }
    plan.minimized = command == WindowPlacement::ShowMinimized;
    plan.maximized = command == WindowPlacement::ShowMaximized
                     || (plan.minimized && stored
                         && (stored->flags & WindowPlacement::RestoreToMaximized) != 0);

    if (!plan.normal) {
        return plan;
    }
    ScreenRect rect = *plan.normal;
    // Widths beyond int range would overflow below; such a rectangle is junk.
    const long long width = static_cast<long long>(rect.right) - rect.left;
    const long long height = static_cast<long long>(rect.bottom) - rect.top;
    if (width <= 0 || height <= 0 || width > std::numeric_limits<int>::max() / 2
        || height > std::numeric_limits<int>::max() / 2) {
        plan.normal.reset();
        return plan;
    }
    if (workAreas.empty()
        || std::any_of(workAreas.begin(), workAreas.end(),
                       [&](const ScreenRect& area) { return Meets(rect, area); })) {
        return plan;
    }
    const ScreenRect& primary = workAreas.front();
    const int fittedWidth = std::min(static_cast<int>(width), std::max(primary.Width(), 1));
    const int fittedHeight = std::min(static_cast<int>(height), std::max(primary.Height(), 1));
    rect = {primary.left, primary.top, primary.left + fittedWidth, primary.top + fittedHeight};
    plan.normal = rect;
    return plan;
}

}  // namespace kestrel
