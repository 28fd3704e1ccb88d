#include "player/shared/body_parts.h"

#include <algorithm>
#include <iterator>

#include "player/shared/texts.h"

namespace tessel::player {
namespace {

namespace t = window_texts;

// The picture box of the pictures, read-outs and bars starts this far down, under the
// row of command buttons.
constexpr int kImgGroupTop = 225;

constexpr BodyPartDesign kParts[] = {
    {BodyPart::CmdInfo, L"CmdInfo", PartRole::PushButton, t::kTipCmdInfo, {0, 0, 270, 225}},
    {BodyPart::CmdPopup, L"CmdPopup", PartRole::PushButton, t::kTipCmdPopup, {270, 0, 270, 225}},
    {BodyPart::CmdMinimum, L"CmdMinimum", PartRole::PushButton, t::kTipCmdMinimum, {540, 0, 270, 225}},
    {BodyPart::CmdClose, L"CmdClose", PartRole::PushButton, t::kTipCmdClose, {810, 0, 270, 225}},
    {BodyPart::CmdChoice, L"CmdChoice", PartRole::PushButton, t::kTipCmdChoice, {1080, 0, 360, 225}},
    {BodyPart::ImgPrev, L"ImgPrev", PartRole::PushButton, t::kTipImgPrev, {0, kImgGroupTop, 360, 360}},
    {BodyPart::ImgStop, L"ImgStop", PartRole::PushButton, t::kTipImgStop, {360, kImgGroupTop, 360, 360}},
    {BodyPart::ImgPlay, L"ImgPlay", PartRole::PushButton, t::kTipImgPlay, {720, kImgGroupTop, 360, 360}},
    {BodyPart::ImgNext, L"ImgNext", PartRole::PushButton, t::kTipImgNext, {1080, kImgGroupTop, 360, 360}},
    {BodyPart::LblNTime, L"LblNTime", PartRole::StaticText, t::kTipLblNTime, {0, kImgGroupTop + 360, 720, 180}},
    {BodyPart::LblTTime, L"LblTTime", PartRole::StaticText, t::kTipLblTTime, {720, kImgGroupTop + 360, 720, 180}},
    {BodyPart::ScrTime, L"ScrTime", PartRole::Slider, t::kNameScrTime, {0, kImgGroupTop + 540, 1440, 150}},
    {BodyPart::LblTitle, L"LblTitle", PartRole::StaticText, t::kTipLblTitle, {0, kImgGroupTop + 690, 7455, 180}},
    {BodyPart::ScrVolume, L"ScrVolume", PartRole::Slider, t::kNameScrVolume, {0, kImgGroupTop + 870, 1440, 150}},
};
static_assert(std::size(kParts) == kBodyPartCount);

constexpr bool InOrder() {
    for (std::size_t i = 0; i < std::size(kParts); ++i)
        if (static_cast<std::size_t>(kParts[i].part) != i) return false;
    return true;
}
static_assert(InOrder(), "the table is indexed by BodyPart");

}  // namespace

std::span<const BodyPartDesign> BodyParts() { return kParts; }

const BodyPartDesign& DesignOf(BodyPart part) { return kParts[static_cast<std::size_t>(part)]; }

ScreenRect PartPixels(BodyPart part, TwipsPerPixel f) {
    const TwipsBox& b = DesignOf(part).box;
    return ScreenRect{TwipsToPixels(b.left, f.x), TwipsToPixels(b.top, f.y), TwipsToPixels(b.left + b.width, f.x),
                      TwipsToPixels(b.top + b.height, f.y)};
}

ScreenRect VisiblePartPixels(BodyPart part, TwipsPerPixel f, int clientWidth, int clientHeight) {
    ScreenRect r = PartPixels(part, f);
    r.right = std::min(r.right, clientWidth);
    r.bottom = std::min(r.bottom, clientHeight);
    return r;
}

std::optional<BodyPart> PartAt(int x, int y, TwipsPerPixel f, int clientWidth, int clientHeight) {
    for (const BodyPartDesign& d : kParts) {
        const ScreenRect r = VisiblePartPixels(d.part, f, clientWidth, clientHeight);
        if (x >= r.left && x < r.right && y >= r.top && y < r.bottom) return d.part;
    }
    return std::nullopt;
}

std::optional<std::wstring> PartValue(BodyPart part, const PlayerFormControls& c) {
    switch (part) {
        case BodyPart::ScrTime: return std::to_wstring(c.ScrTime.Value());
        case BodyPart::ScrVolume: return std::to_wstring(c.ScrVolume.Value());
        case BodyPart::LblNTime: return c.LblNTime.Caption();
        case BodyPart::LblTTime: return c.LblTTime.Caption();
        case BodyPart::LblTitle: return c.LblTitle.Caption();
        default: return std::nullopt;
    }
}

}  // namespace tessel::player
