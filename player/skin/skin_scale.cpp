#include "player/skin/skin_scale.h"

#include <algorithm>

namespace tessel::player {

int SkinScaleForDpi(int dpi) {
    // dpi / 96 rounded half up, in whole numbers: (2 * dpi + 96) / 192.
    const int k = (2 * std::max(dpi, 0) + 96) / 192;
    return std::clamp(k, 1, kMaxSkinScale);
}

TwipsPerPixel SkinTwipsPerPixel(int k) {
    const double f = 15.0 / std::max(k, 1);
    return {f, f};
}

PixelRect SkinRectForDpiChange(const PixelRect& suggested, PixelSize skinSize, int dpi) {
    const int k = SkinScaleForDpi(dpi);
    const std::int32_t width = skinSize.width * k, height = skinSize.height * k;
    // Half the difference, rounded down also when the skin is the larger.
    auto half = [](std::int32_t d) { return d >= 0 ? d / 2 : -((1 - d) / 2); };
    const std::int32_t left = suggested.left + half(suggested.right - suggested.left - width);
    const std::int32_t top = suggested.top + half(suggested.bottom - suggested.top - height);
    return PixelRect{left, top, left + width, top + height};
}

std::vector<PixelRun> ScaleRuns(const std::vector<PixelRun>& runs, int k) {
    if (k <= 1) return runs;
    std::vector<PixelRun> scaled;
    scaled.reserve(runs.size() * std::size_t(k));
    // Runs come row by row; each row's runs repeat k times, so the order (by row, then
    // left to right) is kept.
    for (std::size_t first = 0; first < runs.size();) {
        std::size_t end = first + 1;
        while (end < runs.size() && runs[end].y == runs[first].y) ++end;
        for (int dy = 0; dy < k; ++dy)
            for (std::size_t i = first; i < end; ++i)
                scaled.push_back(PixelRun{runs[i].y * k + dy, runs[i].left * k, runs[i].right * k});
        first = end;
    }
    return scaled;
}

BmpImage ScaleNearest(const BmpImage& image, int k) {
    if (k <= 1) return image;
    BmpImage scaled;
    scaled.width = image.width * k;
    scaled.height = image.height * k;
    scaled.pixels.resize(std::size_t(scaled.width) * std::size_t(scaled.height));
    for (std::int32_t y = 0; y < image.height; ++y) {
        std::uint32_t* row = scaled.pixels.data() + std::size_t(y) * std::size_t(k) * std::size_t(scaled.width);
        const std::uint32_t* source = image.pixels.data() + std::size_t(y) * std::size_t(image.width);
        for (std::int32_t x = 0; x < image.width; ++x) std::fill_n(row + std::size_t(x) * std::size_t(k), k, source[x]);
        for (int dy = 1; dy < k; ++dy)
            std::copy_n(row, scaled.width, row + std::size_t(dy) * std::size_t(scaled.width));
    }
    return scaled;
}

}  // namespace tessel::player
