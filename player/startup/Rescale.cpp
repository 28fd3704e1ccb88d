// ChangeSkinScale (module Rescale): the skin redrawn at another whole-number scale when
// the skin window reaches a monitor of another display scale.
#include "player/skin/skin_scale.h"
#include "player/startup/Initialize.h"

namespace tessel::player {

void PlayerApp::ChangeSkinScale(int dpi, const RECT& suggested) {
    const int k = SkinScaleForDpi(dpi);
    if (k == skin_.Scale()) return;  // 100 % and 125 % draw the same skin
    if (skin_.Applied()) {
        const SIZE now = skinForm_.SizePixels();
        const PixelSize skinPixels{now.cx / skin_.Scale(), now.cy / skin_.Scale()};
        const PixelRect to = SkinRectForDpiChange(
            PixelRect{suggested.left, suggested.top, suggested.right, suggested.bottom}, skinPixels, dpi);
        // Its top-left corner now; the skin below gives it its size from there.
        ::SetWindowPos(skinForm_.Handle(), nullptr, to.left, to.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    skin_.SetScale(k);
    factors_ = SkinTwipsPerPixel(k);
    skinForm_.LayOut();
    playerForm_.LayOut();
    if (!skin_.Applied()) {
        // Before the first skin (the settings' place moved the window): nothing to draw yet.
        PlaceBodyWindow();
        return;
    }
    // The files served a moment ago; one that went meanwhile is said, as at a skin change.
    if (auto failure = skin_.Apply()) options_.report(*failure);
}

}  // namespace tessel::player
