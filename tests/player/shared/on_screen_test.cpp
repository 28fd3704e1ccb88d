// Where a window goes that would come back off every screen, with several monitors.
#include "player/shared/on_screen.h"

#include <gtest/gtest.h>

namespace tessel::player {

bool operator==(const ScreenRect& a, const ScreenRect& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
void PrintTo(const ScreenRect& r, std::ostream* out) {
    *out << "{" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << "}";
}

namespace {

ScreenRect At(int left, int top, int width = 320, int height = 120) {
    return ScreenRect{left, top, left + width, top + height};
}

// A main monitor whose taskbar takes the bottom 40 pixels, one left of it (negative
// coordinates) and a smaller one right of it, top-aligned.
const std::vector<ScreenRect> kThree = {{0, 0, 1920, 1040}, {-1280, 0, 0, 1024}, {1920, 0, 3200, 720}};

TEST(KeepOnScreen, AWindowSharingAPixelWithAWorkAreaStaysOthersMoveIntoTheNearest) {
    for (const ScreenRect& w : {At(-319, 500), At(1919, -119), At(-1280, 1023), At(120, -8), At(3199, 0),
                                At(-1500, 100), At(2000, 600)}) {
        EXPECT_EQ(KeepOnScreen(w, kThree), w);
    }
    EXPECT_EQ(KeepOnScreen(At(-9000, -9000), {}), At(-9000, -9000));  // no monitor known
    // Off every work area: into the nearest, no further than needed. Touching an edge shares no pixel.
    EXPECT_EQ(KeepOnScreen(At(100, -120), kThree), At(100, 0));
    EXPECT_EQ(KeepOnScreen(At(-1600, 100), kThree), At(-1280, 100));
    EXPECT_EQ(KeepOnScreen(At(-1600, 100), {kThree[0]}), At(0, 100));
    EXPECT_EQ(KeepOnScreen(At(-320, 100), {kThree[0]}), At(0, 100));
    EXPECT_EQ(KeepOnScreen(At(1920, 100), {kThree[0]}), At(1600, 100));
    // Under the taskbar of the main monitor, and beyond its lower right corner.
    EXPECT_EQ(KeepOnScreen(At(500, 1040), kThree), At(500, 920));
    EXPECT_EQ(KeepOnScreen(At(1800, 5000), {kThree[0]}), At(1600, 920));
    // Far left: the left monitor, negative coordinates and all.
    EXPECT_EQ(KeepOnScreen(At(-5000, -3000), kThree), At(-1280, 0));
    EXPECT_EQ(KeepOnScreen(At(-5000, 2000), kThree), At(-1280, 904));
    // Below the small right monitor: 40 pixels from it, 180 from the main one.
    EXPECT_EQ(KeepOnScreen(At(2100, 760), kThree), At(2100, 600));
    // The same distance from two areas: the first listed.
    EXPECT_EQ(KeepOnScreen(At(1940, 740, 100, 100), kThree), At(1820, 740, 100, 100));
    EXPECT_EQ(KeepOnScreen(At(1940, 740, 100, 100), {kThree[2], kThree[0]}), At(1940, 620, 100, 100));
    // Larger than the area: its top-left corner in it.
    EXPECT_EQ(KeepOnScreen(At(5000, 2000, 2000, 1500), {kThree[0]}), At(0, 0, 2000, 1500));
    // Monitors above the main one; extreme coordinates from a settings file.
    const std::vector<ScreenRect> stacked = {{0, -1080, 1920, 0}, {0, 0, 1920, 1080}};
    EXPECT_EQ(KeepOnScreen(At(100, -2000), stacked), At(100, -1080));
    EXPECT_EQ(KeepOnScreen(At(-2147483000, 2147483000, 320, 120), stacked), At(0, 960));
}

}  // namespace
}  // namespace tessel::player
