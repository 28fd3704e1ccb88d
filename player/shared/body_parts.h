// The body window's parts as assistive technology sees them: the painted pictures and
// read-outs and the two bars, in reading order (top to bottom, left to right), each
// with its role, its name (the tool tip a mouse user reads) and its place in the
// window's design. The window paints, hit-tests and exposes them all from this table.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>

#include "common/twips.h"
#include "player/shared/llvariable.h"

namespace tessel::player {

enum class BodyPart : int {
    CmdInfo, CmdPopup, CmdMinimum, CmdClose, CmdChoice,
    ImgPrev, ImgStop, ImgPlay, ImgNext,
    LblNTime, LblTTime, ScrTime, LblTitle, ScrVolume,
    Count
};
inline constexpr std::size_t kBodyPartCount = static_cast<std::size_t>(BodyPart::Count);

// What a screen reader announces the part as.
enum class PartRole { PushButton, Slider, StaticText };

// A rectangle of the window's design in twips, in its client area.
struct TwipsBox {
    int left, top, width, height;
};

struct BodyPartDesign {
    BodyPart part;
    const wchar_t* control;  // the control's name in the window's design
    PartRole role;
    const wchar_t* name;
    TwipsBox box;
};

std::span<const BodyPartDesign> BodyParts();
const BodyPartDesign& DesignOf(BodyPart part);

// The part's rectangle in the client area at the skin scale's factors.
ScreenRect PartPixels(BodyPart part, TwipsPerPixel factors);
// What of it the window shows (the title runs on under the window's right edge).
ScreenRect VisiblePartPixels(BodyPart part, TwipsPerPixel factors, int clientWidth, int clientHeight);
// The part a point of the client area lies on, in reading order; right and bottom
// edges belong to the next part.
std::optional<BodyPart> PartAt(int x, int y, TwipsPerPixel factors, int clientWidth, int clientHeight);
// The value a part announces: a bar's position, a read-out's text; buttons have none.
std::optional<std::wstring> PartValue(BodyPart part, const PlayerFormControls& controls);

}  // namespace tessel::player
