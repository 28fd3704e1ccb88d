// The skin on real windows under the platform: shapes read back from the window and
// compared point for point with the pixel-by-pixel reference, what placing does
// besides moving, the pictures, and no GDI object left behind by a failed shape.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "player/skin/skin_window_win32.h"
#include "tests/support/pixel_region.h"
#include "tests/support/player_folder.h"
#include "tests/support/temp_dir.h"

namespace tessel::player {
namespace {

using test::PixelByPixelRegion;
using test::SameRegion;

constexpr std::uint32_t kMagenta = 0xFF00FF;  // 0x00RRGGBB
const RgbColour kMagentaKey{255, 0, 255};

std::wstring SkinFile(const char* skin, const wchar_t* file) {
    return (std::filesystem::path(TESSEL_TEST_PARTS_DIR) / skin / file).wstring();
}

// A hidden borderless top-level window like the skinned ones.
win32::unique_hwnd TestWindow(int width, int height) {
    return win32::unique_hwnd(::CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 40, 40, width, height, nullptr, nullptr,
                                                ::GetModuleHandleW(nullptr), nullptr));
}

TEST(MaskShapes, TheReferencesShapeOrAFailureNamingTheFileThatKeepsTheOldShape) {
    test::TempDir temp("skin-window");
    const auto window = TestWindow(96, 83);
    const std::wstring good = SkinFile("Azure", L"p_mask.bmp");
    ASSERT_FALSE(ShapeWindowFromMask(window.get(), good, 96, 83, kMagentaKey));
    // Which points a mask makes opaque is tested natively (mask_runs_test), and the
    // shipped skins' shapes on the program's windows at both scales (dpi_test).
    HRGN before = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(window.get(), before), ERROR);
    HRGN reference = PixelByPixelRegion(good, 96, 83, ColourValue(kMagentaKey));
    EXPECT_TRUE(SameRegion(before, reference));
    ::DeleteObject(reference);

    // Which files the reader refuses is tested natively (image_files_test).
    const std::wstring missing = (temp / L"nothing.bmp").wstring();
    const std::wstring text = (temp / L"text.bmp").wstring();
    temp.Write("text.bmp", "not a picture at all, just text");
    const auto startCounts = GdiLedger::Snapshot();
    for (const std::wstring& bad : {missing, text}) {
        auto failure = ShapeWindowFromMask(window.get(), bad, 96, 83, kMagentaKey);
        ASSERT_TRUE(failure) << "accepted " << std::string(bad.begin(), bad.end());
        EXPECT_NE(failure->Message().find(bad), std::wstring::npos) << "the message must name the file";
        EXPECT_FALSE(failure->reason.empty());
        HRGN now = ::CreateRectRgn(0, 0, 0, 0);
        ASSERT_NE(::GetWindowRgn(window.get(), now), ERROR);
        EXPECT_TRUE(SameRegion(now, before)) << "a failed shape must not change the window";
        ::DeleteObject(now);
    }
    EXPECT_EQ(GdiLedger::Snapshot().Live(), startCounts.Live());
    EXPECT_TRUE(ShapeWindowFromMask(nullptr, good, 96, 83, kMagentaKey));
    // All key colour: the shape goes, the window is a rectangle again.
    const std::vector<std::uint32_t> keyOnly(96 * 83, kMagenta);
    const std::wstring empty = (temp / L"empty.bmp").wstring();
    ASSERT_TRUE(test::WriteBmp24(empty, 96, 83, keyOnly.data()));
    ASSERT_FALSE(ShapeWindowFromMask(window.get(), empty, 96, 83, kMagentaKey));
    EXPECT_EQ(::GetWindowRgn(window.get(), before), ERROR);
    ::DeleteObject(before);
}

// Checkerboards at the display's limit: every rectangle of the count is one the
// platform's region holds, and one band more than the limit is refused before the
// window is touched (a display asked for it would end the program).
TEST(ShapeFailures, AShapeTooComplexForTheDisplayIsRefused) {
    test::TempDir temp("skin-window");
    const auto window = TestWindow(182, 182);
    auto board = [&](int side) {
        const std::wstring path = (temp / (L"board" + std::to_wstring(side) + L".bmp")).wstring();
        EXPECT_TRUE(test::WriteCheckerboardBmp(path, side, side));
        return path;
    };
    // 181 rows of 91 and 90 squares: 16,381 rectangles, within the limit.
    const std::wstring largest = board(181);
    ASSERT_FALSE(CheckMaskShape(largest, 181, 181, kMagentaKey));
    ASSERT_FALSE(ShapeWindowFromMask(window.get(), largest, 181, 181, kMagentaKey));
    HRGN held = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(window.get(), held), ERROR);
    const DWORD bytes = ::GetRegionData(held, 0, nullptr);
    EXPECT_EQ((bytes - sizeof(RGNDATAHEADER)) / sizeof(RECT), 16381u);

    const std::wstring tooMany = board(182);  // 182 x 91 = 16,562
    for (auto failure : {CheckMaskShape(tooMany, 182, 182, kMagentaKey),
                         ShapeWindowFromMask(window.get(), tooMany, 182, 182, kMagentaKey)}) {
        ASSERT_TRUE(failure);
        EXPECT_NE(failure->Message().find(tooMany), std::wstring::npos);
        EXPECT_NE(failure->reason.find(L"16562"), std::wstring::npos) << "the count is named";
    }
    HRGN now = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(window.get(), now), ERROR);
    EXPECT_TRUE(SameRegion(now, held)) << "the refused shape must not change the window";
    // The scan decides: the same mask scanned 181 x 181 fits.
    EXPECT_FALSE(CheckMaskShape(tooMany, 181, 181, kMagentaKey));
    ::DeleteObject(now);
    ::DeleteObject(held);
}

// Where the body window goes is tested natively (placement_test) and on the program's
// windows at both display scales (dpi_test); here, what placing does besides.
TEST(Placement, TheSkinWindowStaysAboveTheBodyWindowAndNothingHiddenIsShown) {
    const auto skin = TestWindow(320, 120), player = TestWindow(96, 83);
    ASSERT_FALSE(PlaceWindows(skin.get(), player.get(), 116, -20, TwipsPerPixel{15, 15}));
    for (HWND w : {skin.get(), player.get()}) EXPECT_FALSE(::IsWindowVisible(w));
    // The skin window was placed last: it is above the body window.
    bool bodyBelow = false;
    for (HWND w = ::GetWindow(skin.get(), GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT))
        if (w == player.get()) bodyBelow = true;
    EXPECT_TRUE(bodyBelow);
    HWND stale = TestWindow(10, 10).get();  // destroyed at once
    EXPECT_TRUE(PlaceWindows(skin.get(), stale, 0, 0, TwipsPerPixel{15, 15}));
}

TEST(SkinPictures, LoadWithTheirSizesOrNameTheFile) {
    SkinLayout layout;
    ASSERT_FALSE(ReadSkinLayout(SkinFile("Ember", L"define.ini"), layout));
    win32::unique_hbitmap picture;
    ASSERT_FALSE(LoadSkinBitmap(SkinFile("Ember", L"skin.bmp"), picture));
    BITMAP info{};
    ASSERT_NE(::GetObjectW(picture.get(), sizeof info, &info), 0);
    EXPECT_EQ(info.bmWidth, layout.ScanWidth());
    EXPECT_EQ(info.bmHeight, layout.ScanHeight());
    // Each shipped icon holds the tray's size and the system's.
    for (const char* skin : {"Azure", "Ember"}) {
        for (int size : {16, 0}) {
            win32::unique_hicon icon;
            ASSERT_FALSE(LoadSkinIcon(SkinFile(skin, L"task.ico"), size, icon));
            ICONINFO ii{};
            ASSERT_TRUE(::GetIconInfo(icon.get(), &ii));
            BITMAP colour{};
            ::GetObjectW(ii.hbmColor, sizeof colour, &colour);
            EXPECT_EQ(colour.bmWidth, size ? size : ::GetSystemMetrics(SM_CXICON));
            ::DeleteObject(ii.hbmColor);
            ::DeleteObject(ii.hbmMask);
        }
    }
    const std::wstring missing = SkinFile("NoSuchSkin", L"skin.bmp");
    win32::unique_hbitmap none;
    auto failure = LoadSkinBitmap(missing, none);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->Message().find(missing), std::wstring::npos);
    EXPECT_FALSE(none);
    win32::unique_hicon icon;
    // A bitmap is no icon.
    failure = LoadSkinIcon(SkinFile("Azure", L"skin.bmp"), 16, icon);
    ASSERT_TRUE(failure);
    EXPECT_FALSE(icon);
}

}  // namespace
}  // namespace tessel::player
