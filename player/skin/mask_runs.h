// Window shapes from mask bitmaps, as row runs.
//
// A window's shape is every point of its scanned width x height whose mask pixel is
// not exactly the key colour. Points beyond the mask bitmap's right or bottom edge (a
// mask smaller than the scan) have no colour, never match the key and are opaque. No
// opaque point at all means no shape: the window stays rectangular.
//
// Testing pixel by pixel and adding one-pixel regions gives that set but costs three
// region operations per opaque pixel. Here the set is computed in one pass over the
// pixels as runs of opaque pixels per row, which the window layer turns into a region.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tessel::player {

// A mask bitmap's pixels in memory. Each pixel's low 24 bits are its colour in the
// same encoding as the key; the top byte is ignored (device-independent bitmaps leave
// it undefined). `pixels` points at the top row; `stride` is the distance in pixels
// from one row to the next below it, negative for a bottom-up bitmap.
struct MaskPixels {
    const std::uint32_t* pixels = nullptr;
    std::int32_t width = 0;
    std::int32_t height = 0;
    std::ptrdiff_t stride = 0;
};

// Opaque pixels from `left` up to but not including `right` on row `y`.
struct PixelRun {
    std::int32_t y = 0;
    std::int32_t left = 0;
    std::int32_t right = 0;
    friend bool operator==(const PixelRun&, const PixelRun&) = default;
};

// The colour of a 32-bit device-independent bitmap pixel (blue in the low byte), which
// is how pixels read in bulk arrive: 0x00RRGGBB.
constexpr std::uint32_t DibPixel(std::int32_t red, std::int32_t green, std::int32_t blue) {
    return (std::uint32_t(red & 0xFF) << 16) | (std::uint32_t(green & 0xFF) << 8) | std::uint32_t(blue & 0xFF);
}

// The opaque runs of the scan, row by row from the top, left to right within a row,
// maximal (two runs of a row never touch). A key colour beyond 24 bits matches no
// pixel. A scan size of zero or less gives no runs.
std::vector<PixelRun> MaskToRuns(const MaskPixels& mask, std::int32_t scanWidth, std::int32_t scanHeight,
                                 std::uint32_t key);

// Number of opaque pixels the runs cover.
std::int64_t CountRunPixels(const std::vector<PixelRun>& runs);

// The number of rectangles the region of the runs holds. Rows that follow each other
// with exactly the same runs merge into one band, as the platform's regions merge
// them, and each run of a band is one rectangle; so a shape at any skin scale has as
// many as its scan.
std::size_t ShapeRectangleCount(const std::vector<PixelRun>& runs);

// The most rectangles a window's shape may hold. The display takes a window's shape in
// one request; under an X server that is at most 262,140 bytes without the
// big-requests extension, 32,765 rectangles: a checkerboard mask of 33,282 ended the
// program with an X error, one of 32,258 still went through. Half of that leaves room
// and bounds the time a shape takes; no drawn skin comes near it (the shipped masks
// hold a few hundred).
inline constexpr std::size_t kMaxShapeRectangles = 16384;

}  // namespace tessel::player
