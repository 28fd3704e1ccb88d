#include "player/skin/mask_runs.h"

#include <algorithm>

namespace tessel::player {

std::vector<PixelRun> MaskToRuns(const MaskPixels& mask, std::int32_t scanWidth, std::int32_t scanHeight,
                                 std::uint32_t key) {
    std::vector<PixelRun> runs;
    if (scanWidth <= 0 || scanHeight <= 0) return runs;
    const bool hasPixels = mask.pixels != nullptr && mask.width > 0 && mask.height > 0;
    // Columns and rows the bitmap covers within the scan; the rest is opaque.
    const std::int32_t coveredWidth = hasPixels ? std::min(scanWidth, mask.width) : 0;
    const std::int32_t coveredHeight = hasPixels ? std::min(scanHeight, mask.height) : 0;

    for (std::int32_t y = 0; y < scanHeight; ++y) {
        if (y >= coveredHeight) {
            runs.push_back({y, 0, scanWidth});
            continue;
        }
        const std::uint32_t* row = mask.pixels + std::ptrdiff_t(y) * mask.stride;
        std::int32_t x = 0;
        while (x < coveredWidth) {
            while (x < coveredWidth && (row[x] & 0xFFFFFFu) == key) ++x;
            if (x == coveredWidth) break;
            const std::int32_t left = x;
            while (x < coveredWidth && (row[x] & 0xFFFFFFu) != key) ++x;
            // An opaque run that reaches the bitmap's right edge goes on through the
            // uncovered part of the scan.
            runs.push_back({y, left, x == coveredWidth ? scanWidth : x});
        }
        if (coveredWidth < scanWidth && (runs.empty() || runs.back().y != y || runs.back().right != scanWidth))
            runs.push_back({y, coveredWidth, scanWidth});
    }
    return runs;
}

std::int64_t CountRunPixels(const std::vector<PixelRun>& runs) {
    std::int64_t n = 0;
    for (const PixelRun& r : runs) n += r.right - r.left;
    return n;
}

std::size_t ShapeRectangleCount(const std::vector<PixelRun>& runs) {
    std::size_t count = 0;
    std::size_t previous = 0, previousEnd = 0;  // the row before, as [previous, previousEnd)
    for (std::size_t first = 0; first < runs.size();) {
        std::size_t end = first + 1;
        while (end < runs.size() && runs[end].y == runs[first].y) ++end;
        const bool sameBand = previousEnd > previous && runs[previous].y + 1 == runs[first].y &&
                              end - first == previousEnd - previous &&
                              std::equal(runs.begin() + std::ptrdiff_t(first), runs.begin() + std::ptrdiff_t(end),
                                         runs.begin() + std::ptrdiff_t(previous), [](const PixelRun& a, const PixelRun& b) {
                                             return a.left == b.left && a.right == b.right;
                                         });
        if (!sameBand) count += end - first;
        previous = first;
        previousEnd = end;
        first = end;
    }
    return count;
}

}  // namespace tessel::player
