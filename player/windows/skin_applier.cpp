#include "player/windows/skin_applier.h"

#include <filesystem>

#include "common/fileio.h"
#include "player/skin/placement.h"
#include "player/skin/skin_layout.h"
#include "player/skin/skin_paths.h"
#include "player/skin/skin_scale.h"
#include "player/skin/skin_window_win32.h"
#include "player/windows/PlayerForm.h"
#include "player/windows/SkinForm.h"

namespace tessel::player {
namespace {

// The report of the first of the six files that cannot be used, for these paths: every
// file is read as Apply and the tray icon will read it.
std::optional<std::wstring> CheckFiles(const LLVariable& candidate) {
    // A skin that passes here can be applied, and one that fails leaves the current
    // skin in place instead of ending the player half-way through the change.
    SkinLayout layout;
    if (auto error = ReadSkinLayout(PathFromWide(candidate.DefinePath), layout))
        return DescribeSkinLayoutError(*error, candidate.DefinePath);
    // The shapes too: one the display cannot carry would end the player.
    if (auto failure = CheckMaskShape(candidate.SkinMaskPath, layout.ScanWidth(), layout.ScanHeight(), layout.skinKey))
        return failure->Message();
    const PixelSize body = PlayerFormPixelSize(SkinTwipsPerPixel(1));
    if (auto failure = CheckMaskShape(candidate.PlayerMaskPath, body.width, body.height, layout.playerKey))
        return failure->Message();
    for (const std::wstring* picture : {&candidate.SkinBitmapPath, &candidate.PlayerBitmapPath}) {
        win32::unique_hbitmap bitmap;
        if (auto failure = LoadSkinBitmap(*picture, bitmap)) return failure->Message();
    }
    win32::unique_hicon icon;
    if (auto failure = LoadSkinIcon(candidate.TrayIconPath, 0, icon)) return failure->Message();
    return std::nullopt;
}

}  // namespace

std::optional<std::wstring> SkinApplier::Place() {
    if (auto failure = PlaceWindows(skin_.Handle(), body_.Handle(), vars_.PlayerOffsetX * scale_,
                                    vars_.PlayerOffsetY * scale_, factors_))
        return failure->Message();
    return std::nullopt;
}

std::optional<std::wstring> SkinApplier::Apply() {
    SkinLayout layout;
    if (auto error = ReadSkinLayout(std::filesystem::path(vars_.DefinePath), layout))
        return DescribeSkinLayoutError(*error, vars_.DefinePath);
    vars_.PlayerOffsetX = layout.playerOffsetX;
    vars_.PlayerOffsetY = layout.playerOffsetY;
    const RgbColour& t = layout.textColour;
    body_.SetTextColour(RGB(t.red, t.green, t.blue));
    // At skin scale k every skin pixel is k x k screen pixels: the masks are scanned in
    // their own pixels, and sizes, shapes, offsets and pictures grow by k.
    const int k = scale_;
    if (auto failure = SizeSkinWindow(skin_.Handle(), layout, factors_, k)) return failure->Message();
    skin_.TakeWindowSize();
    if (auto failure = ShapeWindowFromMask(skin_.Handle(), vars_.SkinMaskPath, layout.ScanWidth(),
                                           layout.ScanHeight(), layout.skinKey, k))
        return failure->Message();
    const PixelSize body = PlayerFormPixelSize(SkinTwipsPerPixel(1));
    if (auto failure = ShapeWindowFromMask(body_.Handle(), vars_.PlayerMaskPath, body.width, body.height,
                                           layout.playerKey, k))
        return failure->Message();
    if (auto failure = Place()) return failure;
    // The pictures last: the windows have their new shapes and places before they
    // show anything of the new skin.
    win32::unique_hbitmap skinPicture, playerPicture;
    if (auto failure = LoadSkinBitmap(vars_.SkinBitmapPath, skinPicture, k)) return failure->Message();
    skin_.SetPicture(std::move(skinPicture));
    if (auto failure = LoadSkinBitmap(vars_.PlayerBitmapPath, playerPicture, k)) return failure->Message();
    body_.SetPicture(std::move(playerPicture));
    applied_ = true;
    return std::nullopt;
}

std::optional<std::wstring> SkinApplier::SkinProblem(const std::wstring& programFolder, const std::wstring& name) {
    LLVariable candidate;
    candidate.SkinName = name;
    SetSkinPaths(programFolder, candidate, false);
    return CheckFiles(candidate);
}

}  // namespace tessel::player
