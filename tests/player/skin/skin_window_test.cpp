// The skin on real windows under the platform: shapes read back from the window and
// compared point for point with the pixel-by-pixel reference, the placement of the body
// window, the skin window's size, the pictures, and no GDI object left behind.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
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

LRESULT CALLBACK PlainProc(HWND window, UINT message, WPARAM w, LPARAM l) {
    return ::DefWindowProcW(window, message, w, l);
}

// A borderless top-level window like the skinned ones, hidden unless asked.
class TestWindow {
public:
    TestWindow(int x, int y, int width, int height, bool visible = false) {
        static const ATOM atom = [] {
            WNDCLASSW wc{};
            wc.lpfnWndProc = PlainProc;
            wc.hInstance = ::GetModuleHandleW(nullptr);
            wc.lpszClassName = L"TesselSkinTestWindow";
            wc.hbrBackground = static_cast<HBRUSH>(::GetStockObject(GRAY_BRUSH));
            return ::RegisterClassW(&wc);
        }();
        EXPECT_NE(atom, 0);
        handle_ = ::CreateWindowExW(0, L"TesselSkinTestWindow", L"", WS_POPUP | (visible ? WS_VISIBLE : 0), x, y,
                                    width, height, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
        EXPECT_NE(handle_, nullptr);
    }
    ~TestWindow() { Destroy(); }
    void Destroy() {
        if (handle_) ::DestroyWindow(std::exchange(handle_, nullptr));
    }
    HWND get() const { return handle_; }
    RECT Rect() const {
        RECT r{};
        ::GetWindowRect(handle_, &r);
        return r;
    }

private:
    HWND handle_ = nullptr;
};

// A folder for generated masks.
struct TempFolder : test::TempDir {
    TempFolder() : TempDir("skin-window") {}
    std::wstring File(const wchar_t* name) const { return (path() / name).wstring(); }
};

// Shapes the window and checks that the region it holds is the reference's, point for
// point. No opaque point must leave the window without any region.
void ExpectShapeMatchesReference(HWND window, const std::wstring& mask, int scanW, int scanH, const RgbColour& key) {
    auto failure = ShapeWindowFromMask(window, mask, scanW, scanH, key);
    ASSERT_FALSE(failure) << failure->Message().c_str();
    HRGN reference = PixelByPixelRegion(mask, scanW, scanH, ColourValue(key));
    HRGN held = ::CreateRectRgn(0, 0, 0, 0);
    const int kind = ::GetWindowRgn(window, held);
    if (!reference) {
        EXPECT_EQ(kind, ERROR) << "a mask without opaque points must leave no region";
    } else {
        ASSERT_NE(kind, ERROR) << "the window has no region";
        EXPECT_TRUE(SameRegion(held, reference));
        ::DeleteObject(reference);
    }
    ::DeleteObject(held);
}

class ShippedSkin : public ::testing::TestWithParam<const char*> {};

TEST_P(ShippedSkin, BothWindowsTakeTheReferenceShape) {
    SkinLayout layout;
    auto error = ReadSkinLayout(SkinFile(GetParam(), L"define.ini"), layout);
    ASSERT_FALSE(error);
    TestWindow skin(100, 100, layout.ScanWidth(), layout.ScanHeight(), true);
    TestWindow player(0, 0, 96, 83, true);
    ExpectShapeMatchesReference(skin.get(), SkinFile(GetParam(), L"s_mask.bmp"), layout.ScanWidth(),
                                layout.ScanHeight(), layout.skinKey);
    ExpectShapeMatchesReference(player.get(), SkinFile(GetParam(), L"p_mask.bmp"), 96, 83, layout.playerKey);
    // Scanning beyond the mask's edges: the extra strip is opaque.
    ExpectShapeMatchesReference(player.get(), SkinFile(GetParam(), L"p_mask.bmp"), 110, 95, layout.playerKey);
    // The skin's other key colour cuts nothing or something else: still the reference.
    ExpectShapeMatchesReference(player.get(), SkinFile(GetParam(), L"p_mask.bmp"), 96, 83, RgbColour{0, 0, 0});
}

INSTANTIATE_TEST_SUITE_P(Skins, ShippedSkin, ::testing::Values("Azure", "Ember"));

TEST(GeneratedMask, EdgeCasesMatchTheReference) {
    TempFolder temp;
    TestWindow window(40, 40, 30, 20);
    const int w = 30, h = 20;
    std::vector<std::uint32_t> pixels(w * h, kMagenta);

    // One opaque pixel at (3, 5).
    pixels[5 * w + 3] = 0x000000;
    const std::wstring single = temp.File(L"single.bmp");
    ASSERT_TRUE(test::WriteBmp24(single, w, h, pixels.data()));
    ExpectShapeMatchesReference(window.get(), single, w, h, kMagentaKey);
    HRGN held = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_EQ(::GetWindowRgn(window.get(), held), SIMPLEREGION);
    RECT box{};
    ::GetRgnBox(held, &box);
    EXPECT_EQ(box.left, 3);
    EXPECT_EQ(box.top, 5);
    EXPECT_EQ(box.right, 4);
    EXPECT_EQ(box.bottom, 6);
    ::DeleteObject(held);

    // All key colour after a shape: the shape goes, the window is a rectangle again.
    pixels.assign(w * h, kMagenta);
    const std::wstring empty = temp.File(L"empty.bmp");
    ASSERT_TRUE(test::WriteBmp24(empty, w, h, pixels.data()));
    ExpectShapeMatchesReference(window.get(), empty, w, h, kMagentaKey);

    // Near the key is not the key: 254,0,255 stays.
    pixels[0] = 0xFE00FF;
    pixels[w * h - 1] = 0xFF01FF;
    const std::wstring nearKey = temp.File(L"near.bmp");
    ASSERT_TRUE(test::WriteBmp24(nearKey, w, h, pixels.data()));
    ExpectShapeMatchesReference(window.get(), nearKey, w, h, kMagentaKey);

    // A mask smaller than the scan: everything right of and below it is opaque, and a
    // run reaching the mask's right edge goes on beyond it.
    ExpectShapeMatchesReference(window.get(), nearKey, w + 7, h + 3, kMagentaKey);
    // A scan smaller than the mask sees only its part.
    ExpectShapeMatchesReference(window.get(), nearKey, 10, 4, kMagentaKey);
}

TEST(GeneratedMask, RandomAndCheckerboardMasksMatchTheReference) {
    TempFolder temp;
    TestWindow window(40, 40, 64, 48);
    std::mt19937 random(1234);
    for (int round = 0; round < 12; ++round) {
        const int w = 1 + int(random() % 64), h = 1 + int(random() % 48);
        const unsigned density = random() % 5;  // from nearly empty to nearly full
        std::vector<std::uint32_t> pixels(std::size_t(w) * std::size_t(h));
        for (auto& p : pixels) p = (random() % 5) < density ? 0x123456u : kMagenta;
        const std::wstring mask = temp.File(L"random.bmp");
        ASSERT_TRUE(test::WriteBmp24(mask, w, h, pixels.data()));
        SCOPED_TRACE("round " + std::to_string(round));
        ExpectShapeMatchesReference(window.get(), mask, w, h, kMagentaKey);
    }
    std::vector<std::uint32_t> board(64 * 48);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 64; ++x) board[y * 64 + x] = (x + y) % 2 ? kMagenta : 0xFFFFFF;
    const std::wstring mask = temp.File(L"board.bmp");
    ASSERT_TRUE(test::WriteBmp24(mask, 64, 48, board.data()));
    ExpectShapeMatchesReference(window.get(), mask, 64, 48, kMagentaKey);
}

TEST(ShapeFailures, NameTheFileAndKeepTheOldShape) {
    TempFolder temp;
    TestWindow window(40, 40, 96, 83);
    const std::wstring good = SkinFile("Azure", L"p_mask.bmp");
    ASSERT_FALSE(ShapeWindowFromMask(window.get(), good, 96, 83, kMagentaKey));
    HRGN before = ::CreateRectRgn(0, 0, 0, 0);
    ASSERT_NE(::GetWindowRgn(window.get(), before), ERROR);

    const std::wstring missing = temp.File(L"nothing.bmp");
    const std::wstring text = temp.File(L"text.bmp");
    const std::wstring huge = temp.File(L"huge.bmp");
    const std::wstring folder = temp.File(L"folder.bmp");
    {
        HANDLE f = ::CreateFileW(text.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        DWORD n = 0;
        ::WriteFile(f, "not a picture at all, just text", 31, &n, nullptr);
        ::CloseHandle(f);
        // A valid header claiming 100000 x 100000 pixels and no pixel data.
        std::uint32_t one = 0xFFFFFF;
        ASSERT_TRUE(test::WriteBmp24(huge, 1, 1, &one));
        f = ::CreateFileW(huge.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        ::SetFilePointer(f, 18, nullptr, FILE_BEGIN);
        const LONG side[2] = {100000, 100000};
        ::WriteFile(f, side, sizeof side, &n, nullptr);
        ::CloseHandle(f);
        ::CreateDirectoryW(folder.c_str(), nullptr);
    }
    const auto startCounts = GdiLedger::Snapshot();
    for (const std::wstring& bad : {missing, text, huge, folder}) {
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
    ::DeleteObject(before);
}

TEST(ShapeResources, HundredSkinApplicationsLeaveNothingBehind) {
    SkinLayout azure, ember;
    ASSERT_FALSE(ReadSkinLayout(SkinFile("Azure", L"define.ini"), azure));
    ASSERT_FALSE(ReadSkinLayout(SkinFile("Ember", L"define.ini"), ember));
    TestWindow skin(100, 100, 320, 180, true);
    TestWindow player(0, 0, 96, 83, true);
    const auto start = GdiLedger::Snapshot();
    GdiLedger::StartRecording();
    for (int i = 0; i < 100; ++i) {
        const char* name = i % 2 ? "Ember" : "Azure";
        const SkinLayout& layout = i % 2 ? ember : azure;
        ASSERT_FALSE(ShapeWindowFromMask(skin.get(), SkinFile(name, L"s_mask.bmp"), layout.ScanWidth(),
                                         layout.ScanHeight(), layout.skinKey));
        ASSERT_FALSE(ShapeWindowFromMask(player.get(), SkinFile(name, L"p_mask.bmp"), 96, 83, layout.playerKey));
    }
    const auto end = GdiLedger::Snapshot();
    EXPECT_EQ(end.Live(), start.Live());
    EXPECT_EQ(end.givenAway - start.givenAway, 200);
    // A bitmap, a DC and at least one region per shape.
    EXPECT_GE(end.created - start.created, 200 * 3);
    skin.Destroy();
    player.Destroy();
    const std::vector<HGDIOBJ> gone = GdiLedger::StopRecording();
    ASSERT_GE(gone.size(), 200u * 3);
    int alive = 0;
    for (HGDIOBJ object : gone) alive += ::GetObjectType(object) != 0;
    EXPECT_EQ(alive, 0) << "objects made while shaping still exist";
}

// Where the body window goes is tested natively (placement_test); here, that the
// real windows are moved there, both topmost, the skin window above, nothing shown.
TEST(Placement, BodyWindowGoesAgainstTheSkinWindowAndBothAreTopmost) {
    TestWindow skin(500, 300, 320, 120);
    TestWindow player(0, 0, 96, 83);
    ASSERT_FALSE(PlaceWindows(skin.get(), player.get(), 116, -20, TwipsPerPixel{15, 15}));
    const RECT p = player.Rect();
    EXPECT_EQ(p.left, 500 - 96 + 116);
    EXPECT_EQ(p.top, 300 + 120 - 83 - 20);
    EXPECT_EQ(p.right - p.left, 96) << "size kept";
    EXPECT_EQ(p.bottom - p.top, 83);
    EXPECT_EQ(skin.Rect().left, 500) << "the skin window stays";
    for (HWND w : {skin.get(), player.get()}) {
        EXPECT_TRUE(::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_FALSE(::IsWindowVisible(w)) << "placing must not show a hidden window";
    }
    // The skin window was placed last: it is above the body window.
    bool bodyBelow = false;
    for (HWND w = ::GetWindow(skin.get(), GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT))
        if (w == player.get()) bodyBelow = true;
    EXPECT_TRUE(bodyBelow);

    TestWindow gone(0, 0, 10, 10);
    HWND stale = gone.get();
    gone.Destroy();
    EXPECT_TRUE(PlaceWindows(skin.get(), stale, 0, 0, TwipsPerPixel{15, 15}));
}

TEST(SkinWindowSize, FollowsLayoutLineOneAndKeepsThePlace) {
    TestWindow skin(10, 10, 50, 50);
    SkinLayout layout;
    ASSERT_FALSE(ParseSkinLayout({L"200.5,180.5", L"0,0,0", L"0,0,0", L"0,0,0", L"0,0"}, layout));
    ASSERT_FALSE(SizeSkinWindow(skin.get(), layout, TwipsPerPixel{12, 12}));
    const RECT r = skin.Rect();
    EXPECT_EQ(r.right - r.left, 200) << "half to even";
    EXPECT_EQ(r.bottom - r.top, 180);
    EXPECT_EQ(r.left, 10) << "the place is kept";
}

TEST(SkinPictures, LoadWithTheirSizesOrNameTheFile) {
    for (const char* name : {"Azure", "Ember"}) {
        SkinLayout layout;
        ASSERT_FALSE(ReadSkinLayout(SkinFile(name, L"define.ini"), layout));
        win32::unique_hbitmap picture;
        ASSERT_FALSE(LoadSkinBitmap(SkinFile(name, L"skin.bmp"), picture));
        BITMAP info{};
        ASSERT_NE(::GetObjectW(picture.get(), sizeof info, &info), 0);
        EXPECT_EQ(info.bmWidth, layout.ScanWidth());
        EXPECT_EQ(info.bmHeight, layout.ScanHeight());
        ASSERT_FALSE(LoadSkinBitmap(SkinFile(name, L"player.bmp"), picture));
        ::GetObjectW(picture.get(), sizeof info, &info);
        EXPECT_EQ(info.bmWidth, 96);
        EXPECT_EQ(info.bmHeight, 68);
        for (int size : {16, 0}) {
            win32::unique_hicon icon;
            ASSERT_FALSE(LoadSkinIcon(SkinFile(name, L"task.ico"), size, icon));
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
    win32::unique_hbitmap picture;
    auto failure = LoadSkinBitmap(missing, picture);
    ASSERT_TRUE(failure);
    EXPECT_NE(failure->Message().find(missing), std::wstring::npos);
    EXPECT_FALSE(picture);
    win32::unique_hicon icon;
    // A bitmap is no icon.
    failure = LoadSkinIcon(SkinFile("Azure", L"skin.bmp"), 16, icon);
    ASSERT_TRUE(failure);
    EXPECT_FALSE(icon);
}

}  // namespace
}  // namespace tessel::player
