// The skin layout file define.ini: any bytes are read without harm (refused with the
// line and field, or accepted); an accepted layout holds only usable values, depends on
// nothing after line 5, and written out plainly it reads back as the same layout.
#include <cmath>
#include <cstdio>
#include <cstring>

#include "fuzz/fuzz_support.h"
#include "player/skin/skin_layout.h"

namespace player = tessel::player;

namespace {

std::wstring Number(double v) {
    char text[64];
    std::snprintf(text, sizeof text, "%.17g", v);
    return std::wstring(text, text + std::strlen(text));
}

std::wstring Colour(const player::RgbColour& c) {
    return std::to_wstring(c.red) + L"," + std::to_wstring(c.green) + L"," + std::to_wstring(c.blue);
}

bool Same(const player::SkinLayout& a, const player::SkinLayout& b) {
    auto sameColour = [](const player::RgbColour& x, const player::RgbColour& y) {
        return x.red == y.red && x.green == y.green && x.blue == y.blue;
    };
    return a.skinWidth == b.skinWidth && a.skinHeight == b.skinHeight && sameColour(a.skinKey, b.skinKey) &&
           sameColour(a.playerKey, b.playerKey) && sameColour(a.textColour, b.textColour) &&
           a.playerOffsetX == b.playerOffsetX && a.playerOffsetY == b.playerOffsetY;
}

bool InRange(const player::RgbColour& c) {
    return c.red >= 0 && c.red <= 255 && c.green >= 0 && c.green <= 255 && c.blue >= 0 && c.blue <= 255;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<std::wstring> lines = tessel::DecodeTextLines(bytes);
    player::SkinLayout layout;
    const auto refused = player::ParseSkinLayout(lines, layout);
    if (refused) {
        FUZZ_CHECK(refused->line >= 1 && refused->line <= player::kSkinLayoutLines);
        FUZZ_CHECK(refused->problem != player::SkinLayoutProblem::Unreadable);
        FUZZ_CHECK(!refused->expected.empty());
        FUZZ_CHECK(!player::DescribeSkinLayoutError(*refused, L"C:\\parts\\x\\define.ini").empty());
        return 0;
    }
    FUZZ_CHECK(lines.size() >= player::kSkinLayoutLines);
    // Usable values only.
    FUZZ_CHECK(std::isfinite(layout.skinWidth) && std::isfinite(layout.skinHeight));
    FUZZ_CHECK(layout.ScanWidth() >= 1 && layout.ScanWidth() <= player::kMaxSkinSide);
    FUZZ_CHECK(layout.ScanHeight() >= 1 && layout.ScanHeight() <= player::kMaxSkinSide);
    FUZZ_CHECK(layout.skinWidth <= player::kMaxSkinSide && layout.skinHeight <= player::kMaxSkinSide);
    FUZZ_CHECK(InRange(layout.skinKey) && InRange(layout.playerKey) && InRange(layout.textColour));
    FUZZ_CHECK(player::ColourValue(layout.skinKey) <= 0xFFFFFFu);

    // Nothing after line 5 counts.
    std::vector<std::wstring> firstFive(lines.begin(), lines.begin() + player::kSkinLayoutLines);
    player::SkinLayout fromFive;
    FUZZ_CHECK(!player::ParseSkinLayout(firstFive, fromFive));
    FUZZ_CHECK(Same(layout, fromFive));

    // Written out plainly and read again: the same layout.
    const std::vector<std::wstring> plain = {
        Number(layout.skinWidth) + L"," + Number(layout.skinHeight),
        Colour(layout.skinKey),
        Colour(layout.playerKey),
        Colour(layout.textColour),
        std::to_wstring(layout.playerOffsetY) + L"," + std::to_wstring(layout.playerOffsetX),
    };
    player::SkinLayout again;
    FUZZ_CHECK(!player::ParseSkinLayout(tessel::DecodeTextLines(tessel::EncodeTextLines(plain).bytes), again));
    FUZZ_CHECK(Same(layout, again));
    return 0;
}
