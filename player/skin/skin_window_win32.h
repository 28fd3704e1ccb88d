// The skin applied to real windows: shapes from mask bitmaps, the skin window's size,
// the placement of the body window against the skin window, and the skin's pictures.
//
// None of these ends the program or shows a message. Each failure comes back as a
// SkinFailure whose Message() names the file (or window) and the reason, ready for a
// message box: at start-up the caller shows it and ends; at a run-time skin change it
// shows it and the player goes on.
#pragma once

#include <windows.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "common/twips.h"
#include "player/skin/gdi_ledger.h"
#include "player/skin/mask_runs.h"
#include "player/skin/placement.h"
#include "player/skin/skin_layout.h"
#include "win32/handle.h"

namespace tessel::player {

struct SkinFailure {
    std::wstring headline;  // what could not be done (fixed text)
    std::wstring file;      // the file or window concerned
    std::wstring reason;    // why: the system's message or our own check
    std::wstring Message() const;
};

// ---------------------------------------------------------------------------------
// Masks and regions

// A mask bitmap's pixels read once, 32 bits each, top row first (0x00RRGGBB).
struct MaskBitmap {
    std::vector<std::uint32_t> pixels;
    std::int32_t width = 0, height = 0;
    MaskPixels View() const { return {pixels.data(), width, height, width}; }
};

// Reads a bitmap file's pixels with our own bounds-checked reader (DecodeBmp). Fails
// for a missing file, a file that is no bitmap or shorter than its headers promise, or
// a side beyond kMaxSkinSide.
std::optional<SkinFailure> ReadMaskBitmap(const std::wstring& path, MaskBitmap& out);

// The pixels of a bitmap already loaded (not selected into any DC); false on failure
// (GetLastError may say why).
bool ReadBitmapPixels(HBITMAP bitmap, MaskBitmap& out);

// The region covering exactly the runs, or an empty owner for no runs. Each row becomes
// one region and the rows are merged pairwise, so the cost stays near linear in the
// number of runs (one region call per run is quadratic under Wine).
counted_hrgn RegionFromRuns(const std::vector<PixelRun>& runs);

// Reads the mask and checks that the display can carry its shape: at most
// kMaxShapeRectangles rectangles (mask_runs.h). Fails for what ReadMaskBitmap fails
// for, and for a shape too complex, naming the file and the count.
std::optional<SkinFailure> CheckMaskShape(const std::wstring& maskPath, std::int32_t scanWidth,
                                          std::int32_t scanHeight, const RgbColour& key);

// Gives the window the shape of its mask: every point of the scanWidth x scanHeight
// area whose mask pixel is not exactly `key` (points beyond the bitmap are opaque).
// A mask without any opaque point removes the window's shape (it becomes rectangular);
// one whose shape is too complex for the display (CheckMaskShape) is refused.
// On success the region belongs to the window; everything else made here is freed,
// also on failure. A failure leaves the window's shape as it was. At skin scale
// `scale` (skin_scale.h) the shape is the scanned one with every point a scale x scale
// block: the scan stays in the mask's own pixels.
//   SkinForm:   ShapeWindowFromMask(skin, SkinMaskPath, layout.ScanWidth(),
//                                   layout.ScanHeight(), layout.skinKey)
//   PlayerForm: ShapeWindowFromMask(player, PlayerMaskPath, size.width, size.height,
//                                   layout.playerKey, k), size = the body window's
//                                   size at 100 % (PlayerFormPixelSize at 15 twips)
std::optional<SkinFailure> ShapeWindowFromMask(HWND window, const std::wstring& maskPath,
                                               std::int32_t scanWidth, std::int32_t scanHeight,
                                               const RgbColour& key, int scale = 1);

// ---------------------------------------------------------------------------------
// Size and place

// The skin window's size from define.ini line 1, through twips as the window design
// holds it: always the line's values rounded, whatever the twips-per-pixel factors.
PixelSize SkinFormPixelSize(const SkinLayout& layout, TwipsPerPixel factors);

// Sets the skin window's size (keeps its place, z-order, activation and visibility):
// SkinFormPixelSize, each side times the skin scale, so the window is exactly its
// mask's scan grown by the scale.
std::optional<SkinFailure> SizeSkinWindow(HWND skinForm, const SkinLayout& layout, TwipsPerPixel factors,
                                          int scale = 1);

// Puts the body window against the skin window's lower-left corner moved by the skin's
// offsets (PlayerFormPosition), keeping its size, and makes both windows topmost with
// the skin window last, so it ends above the body window. Neither window is activated
// or shown: a hidden window stays hidden. Call after every skin layout and after the
// skin window moved.
std::optional<SkinFailure> PlaceWindows(HWND skinForm, HWND playerForm, std::int32_t playerOffsetX,
                                        std::int32_t playerOffsetY, TwipsPerPixel factors);

// ---------------------------------------------------------------------------------
// Pictures

// A picture file (skin.bmp, player.bmp) as a DIB section, every pixel a scale x scale
// block (no smoothing: the skin's edges stay sharp). Fails for a missing file, a file
// that is no bitmap, or a side beyond kMaxSkinSide.
std::optional<SkinFailure> LoadSkinBitmap(const std::wstring& path, win32::unique_hbitmap& out, int scale = 1);

// An icon file (task.ico) at the given size in pixels; 0 takes the system's default
// icon size (SM_CXICON), 16 suits the notification area.
std::optional<SkinFailure> LoadSkinIcon(const std::wstring& path, int size, win32::unique_hicon& out);

}  // namespace tessel::player
