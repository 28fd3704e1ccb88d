#include "editor/core/design_scale.h"

#include <gtest/gtest.h>

namespace listwright {
namespace {

// The extension dialog's client area (4,260 by 1,710 twips), the dialogs' offset from
// the main window (1,000), the pattern dialog's width (4,785) and the font (180) on
// monitors of 100 %, 125 %, 150 % and 200 %; halves go to the even neighbour.
TEST(DesignScale, MeasuresFontAndPlacesFollowTheMonitorsDpi) {
    struct Case {
        int dpi, width, height, offset, patternWidth, font;
    };
    const Case cases[] = {
        {96, 284, 114, 67, 319, -12},
        {120, 355, 142, 83, 399, -15},
        {144, 426, 171, 100, 478, -18},
        {192, 568, 228, 133, 638, -24},
    };
    for (const Case& c : cases) {
        const DesignScale scale(c.dpi);
        EXPECT_EQ(scale.Dpi(), c.dpi);
        EXPECT_EQ(scale.Pixels(4260), c.width) << c.dpi;
        EXPECT_EQ(scale.Pixels(1710), c.height) << c.dpi;
        EXPECT_EQ(scale.Pixels(1000), c.offset) << c.dpi;
        EXPECT_EQ(scale.Pixels(4785), c.patternWidth) << c.dpi;
        EXPECT_EQ(scale.FontHeight(), c.font) << c.dpi;
    }
    // A DPI the system could not tell is 100 %.
    EXPECT_EQ(DesignScale(0).Pixels(1710), 114);
    EXPECT_EQ(DesignScale(-1).Dpi(), 96);
    // A control's place converts each measure on its own: at 144 DPI 105 twips are 10.5
    // pixels (10), 2,370 are 237; the right edge is 10 + 237, not the 248 of 2,475 twips.
    const PixelRect r = DesignScale(144).Rect(105, 105, 2370, 1500);
    EXPECT_EQ(r.left, 10);
    EXPECT_EQ(r.top, 10);
    EXPECT_EQ(r.right, 247);
    EXPECT_EQ(r.bottom, 160);
}

}  // namespace
}  // namespace listwright
