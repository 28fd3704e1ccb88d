#include "player/shared/on_screen.h"

#include <algorithm>
#include <cstdint>
#include <limits>

namespace tessel::player {
namespace {

bool Intersect(const ScreenRect& a, const ScreenRect& b) {
    // Right and bottom edges lie outside a rectangle: touching is not sharing.
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The gap between the two rectangles along one axis (0 when they overlap on it).
std::int64_t Gap(std::int32_t lowA, std::int32_t highA, std::int32_t lowB, std::int32_t highB) {
    return std::max<std::int64_t>({0, std::int64_t(lowB) - highA, std::int64_t(lowA) - highB});
}

// The window's edge `low` moved just as far as it takes to lie within [areaLow, areaHigh).
std::int32_t Shifted(std::int32_t low, std::int32_t size, std::int32_t areaLow, std::int32_t areaHigh) {
    const std::int64_t latest = std::int64_t(areaHigh) - size;
    return static_cast<std::int32_t>(std::max<std::int64_t>(areaLow, std::min<std::int64_t>(low, latest)));
}

}  // namespace

ScreenRect KeepOnScreen(const ScreenRect& window, const std::vector<ScreenRect>& workAreas) {
    const ScreenRect* nearest = nullptr;
    // In double: a window's coordinates may lie anywhere in the 32-bit range, whose
    // squares an integer cannot hold.
    double best = std::numeric_limits<double>::infinity();
    for (const ScreenRect& area : workAreas) {
        if (Intersect(window, area)) return window;
        const double dx = double(Gap(window.left, window.right, area.left, area.right));
        const double dy = double(Gap(window.top, window.bottom, area.top, area.bottom));
        const double distance = dx * dx + dy * dy;
        if (distance < best) {
            best = distance;
            nearest = &area;
        }
    }
    if (!nearest) return window;
    const std::int32_t width = window.right - window.left;
    const std::int32_t height = window.bottom - window.top;
    const std::int32_t left = Shifted(window.left, width, nearest->left, nearest->right);
    const std::int32_t top = Shifted(window.top, height, nearest->top, nearest->bottom);
    return ScreenRect{left, top, left + width, top + height};
}

}  // namespace tessel::player
