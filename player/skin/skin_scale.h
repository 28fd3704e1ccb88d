// Bitmap skins at high display scales. A skin is drawn for 100 %; on a screen of 200 %
// it is drawn twice as large, each pixel a 2 x 2 block, so it stays sharp where the
// system's own stretching would blur it. Only whole-number scales keep every edge on a
// pixel, so the display scale is rounded to one.
#pragma once

#include <cstdint>
#include <vector>

#include "common/twips.h"
#include "player/skin/image_files.h"
#include "player/skin/mask_runs.h"
#include "player/skin/placement.h"

namespace tessel::player {

inline constexpr int kMaxSkinScale = 3;

// The skin scale k for a monitor of `dpi` dots per inch (96 is 100 %): the display scale
// rounded to the nearest whole number, halves up, at least 1 and at most kMaxSkinScale.
// 100-149 % give 1, 150-249 % give 2, 250 % and more give 3.
int SkinScaleForDpi(int dpi);

// The twips per pixel of the skinned windows at skin scale k: a skin pixel is 15 twips
// at 100 %, so their designs in twips (the body window, the skin window's place) grow
// with the skin, k screen pixels to each skin pixel.
TwipsPerPixel SkinTwipsPerPixel(int k);

struct PixelRect {
    std::int32_t left = 0, top = 0, right = 0, bottom = 0;
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// Where the skin window goes when it reaches a monitor of `dpi` (WM_DPICHANGED): the
// skin of `skinSize` skin pixels at that DPI's skin scale, centred on the rectangle the
// system suggests. The system puts that rectangle on the monitor of the new scale;
// grown or shrunk from its old top-left corner instead, a window across two monitors
// can end with its larger part on the one it came from, whose scale then applies
// again, and again the other, at every move.
PixelRect SkinRectForDpiChange(const PixelRect& suggested, PixelSize skinSize, int dpi);

// The runs of a shape k times as large: every opaque pixel becomes a k x k block.
std::vector<PixelRun> ScaleRuns(const std::vector<PixelRun>& runs, int k);

// A picture k times as large, each pixel repeated k times across and down.
BmpImage ScaleNearest(const BmpImage& image, int k);

}  // namespace tessel::player
