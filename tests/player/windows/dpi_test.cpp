// The display scale, under Wine at the DPI of the prefix the test runs in (96, and 192
// for 200 %): the skins at their whole-number scale (sizes, shapes against the masks
// grown pixel by pixel, offsets, pictures in whole blocks, the place init.ini gives in
// screen pixels), the panel and the editor at the display scale, and a move to a
// monitor of another scale.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "player/shared/body_parts.h"
#include "player/skin/skin_layout.h"
#include "player/skin/skin_scale.h"
#include "tests/support/accessible.h"
#include "tests/support/in_process_player.h"
#include "tests/support/pixel_region.h"
#include "win32/handle.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;
using player::MenuForm;
using player::PlayerApp;
using player::SkinScaleForDpi;

// The DPI the prefix was made with: the Wine runner's setting, which reaches the
// program with the rest of the environment.
int PrefixDpi() {
    const char* value = std::getenv("TESSEL_WINE_DPI");
    return value ? std::atoi(value) : 96;
}

// The pixels of a bitmap, 0x00RRGGBB, top row first.
std::vector<std::uint32_t> Pixels(HBITMAP bitmap, int& width, int& height) {
    BITMAP info{};
    ::GetObjectW(bitmap, sizeof info, &info);
    width = info.bmWidth;
    height = info.bmHeight;
    BITMAPINFO request{};
    request.bmiHeader = {sizeof request.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<std::uint32_t> pixels(std::size_t(width) * std::size_t(height));
    win32::WindowDcGuard screen(nullptr);
    ::GetDIBits(screen.get(), bitmap, 0, UINT(height), pixels.data(), &request, DIB_RGB_COLORS);
    for (auto& p : pixels) p &= 0xFFFFFF;
    return pixels;
}

class DpiTest : public InProcessPlayer {
protected:
    const int dpi = PrefixDpi();
    const int k = SkinScaleForDpi(dpi);

    void SetUp() override { UseShippedSkins(); }
    PlayerApp& Start(const std::wstring& skin) {
        folder.settings->at(0) = skin;
        return InProcessPlayer::Start();
    }
    fs::path Part(const std::wstring& skin, const wchar_t* file) const { return home / L"parts" / skin / file; }

    // Sizes, shapes (each mask with its own key colour) and places of both skinned
    // windows at skin scale `scale`, the skin window's top-left at `at`; both topmost,
    // the read-outs in the skin's text colour.
    void ExpectSkinAt(const std::wstring& skin, int scale, POINT at) {
        player::SkinLayout layout;
        ASSERT_FALSE(player::ReadSkinLayout(Part(skin, L"define.ini"), layout));
        const RECT s = Rect(app->Skin().Handle());
        EXPECT_EQ(s.left, at.x);
        EXPECT_EQ(s.top, at.y);
        EXPECT_EQ(s.right - s.left, layout.ScanWidth() * scale);
        EXPECT_EQ(s.bottom - s.top, layout.ScanHeight() * scale);
        const RECT p = Rect(app->Body().Handle());
        EXPECT_EQ(p.right - p.left, 96 * scale);
        EXPECT_EQ(p.bottom - p.top, 83 * scale);
        EXPECT_EQ(p.left, s.left - 96 * scale + layout.playerOffsetX * scale);
        EXPECT_EQ(p.top, s.bottom - 83 * scale + layout.playerOffsetY * scale);
        for (HWND w : {app->Skin().Handle(), app->Body().Handle()})
            EXPECT_TRUE(::GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_TOPMOST);
        const player::RgbColour& t = layout.textColour;
        EXPECT_EQ(app->Body().TextColour(), RGB(t.red, t.green, t.blue));
        // The time bar of the body window's design (150 twips high) at the scale.
        const RECT bar = Rect(app->Body().ScrTimeWindow());
        EXPECT_EQ(bar.bottom - bar.top, 10 * scale);
        EXPECT_EQ(bar.right - bar.left, 96 * scale);

        const struct {
            HWND window;
            const wchar_t* mask;
            int width, height;
            player::RgbColour key;
        } shapes[] = {{app->Skin().Handle(), L"s_mask.bmp", layout.ScanWidth(), layout.ScanHeight(), layout.skinKey},
                      {app->Body().Handle(), L"p_mask.bmp", 96, 83, layout.playerKey}};
        for (const auto& c : shapes) {
            win32::unique_hrgn actual(::CreateRectRgn(0, 0, 0, 0));
            ASSERT_EQ(::GetWindowRgn(c.window, actual.get()), COMPLEXREGION) << Printable(c.mask);
            win32::unique_hrgn mask(PixelByPixelRegion(Part(skin, c.mask).wstring(), c.width, c.height,
                                                       RGB(c.key.red, c.key.green, c.key.blue)));
            ASSERT_TRUE(mask);
            win32::unique_hrgn expected(ScaledRegion(mask.get(), scale));
            ASSERT_TRUE(expected);
            EXPECT_TRUE(SameRegion(actual.get(), expected.get())) << Printable(c.mask);
        }
    }

    // The skin window's picture as it paints it: every skin pixel a scale x scale block
    // of exactly its colour (nothing smoothed, so the edges stay sharp).
    void ExpectPictureInBlocks(const std::wstring& skin, int scale) {
        win32::unique_hbitmap source(static_cast<HBITMAP>(::LoadImageW(
            nullptr, Part(skin, L"skin.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
        ASSERT_TRUE(source);
        int sw = 0, sh = 0;
        const std::vector<std::uint32_t> original = Pixels(source.get(), sw, sh);
        const SIZE size = app->Skin().SizePixels();
        win32::WindowDcGuard screen(nullptr);
        win32::unique_hbitmap canvas(::CreateCompatibleBitmap(screen.get(), size.cx, size.cy));
        {
            win32::unique_memory_dc dc(::CreateCompatibleDC(screen.get()));
            win32::SelectObjectGuard select(dc.get(), canvas.get());
            app->Skin().PaintContent(dc.get());
        }
        int w = 0, h = 0;
        const std::vector<std::uint32_t> painted = Pixels(canvas.get(), w, h);
        int wrong = 0;
        for (int y = 0; y < std::min(h, sh * scale); ++y)
            for (int x = 0; x < std::min(w, sw * scale); ++x)
                if (painted[std::size_t(y) * w + x] != original[std::size_t(y / scale) * sw + x / scale]) ++wrong;
        EXPECT_EQ(wrong, 0) << Printable(skin);
    }
};

TEST_F(DpiTest, BothSkinsAtTheWholeNumberScaleWhereInitIniPutsThem) {
    for (const std::wstring skin : {L"Azure", L"Ember"}) {
        SCOPED_TRACE(Printable(skin));
        Start(skin);
        EXPECT_EQ(app->SkinScale(), k);
        ExpectSkinAt(skin, k, POINT{200, 150});
        ExpectPictureInBlocks(skin, k);
        // The place is kept in screen pixels, as the file defines it.
        app->Shutdown();
        const auto lines = ReadLines(SettingsFile());
        ASSERT_EQ(lines.size(), 14u);
        EXPECT_EQ(lines[1], L"200");
        EXPECT_EQ(lines[2], L"150");
        Stop();
    }
}

// The system suggests where the window goes at the new scale, on the monitor of that
// scale: the skin goes there (one move, one change of scale).
TEST_F(DpiTest, AMonitorOfAnotherScaleDrawsTheSkinAgainWhereTheSystemSuggests) {
    Start(L"Ember");
    const int other = k == 1 ? 192 : 96;
    const int otherK = SkinScaleForDpi(other);
    auto suggestion = [&](int dx, int dy, int toK) {
        const RECT now = Rect(app->Skin().Handle());
        const int fromK = app->SkinScale();
        return RECT{now.left + dx, now.top + dy, now.left + dx + (now.right - now.left) * toK / fromK,
                    now.top + dy + (now.bottom - now.top) * toK / fromK};
    };
    RECT suggested = suggestion(37, 21, otherK);
    ::SendMessageW(app->Skin().Handle(), WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(app->SkinScale(), otherK);
    ExpectSkinAt(L"Ember", otherK, POINT{237, 171});
    ExpectPictureInBlocks(L"Ember", otherK);
    // 125 % draws what 100 % draws, 175 % what 200 % draws: nothing changes.
    const int same = other == 192 ? 168 : 120;
    suggested = suggestion(50, 50, otherK);
    ::SendMessageW(app->Skin().Handle(), WM_DPICHANGED, MAKEWPARAM(same, same), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(app->SkinScale(), otherK);
    ExpectSkinAt(L"Ember", otherK, POINT{237, 171});
    suggested = suggestion(-37, -21, k);
    ::SendMessageW(app->Skin().Handle(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    ExpectSkinAt(L"Ember", k, POINT{200, 150});
    app->Shutdown();
    EXPECT_EQ(ReadLines(SettingsFile()).at(2), L"150");
}

// A screen reader reads the painted parts from either skinned window (the skin window
// has the focus, the body window shows them): in reading order, each with the role, the
// tool tip's name and its place on the screen at the skin scale; the bars' places are
// those of the real bars, the title's only what the window shows of it.
TEST_F(DpiTest, BothSkinnedWindowsExposeTheBodyWindowsPartsAtTheScale) {
    win32::ComApartment com;
    Start(L"Ember");
    // Names and places come from the parts' table (body_parts_test); here that both
    // windows give them at the skin scale, on the screen, with the system's roles.
    const LONG roles[] = {ROLE_SYSTEM_PUSHBUTTON, ROLE_SYSTEM_SLIDER, ROLE_SYSTEM_STATICTEXT};
    const TwipsPerPixel factors{15.0 / k, 15.0 / k};
    const RECT body = Rect(app->Body().Handle());
    for (HWND window : {app->Skin().Handle(), app->Body().Handle()}) {
        SCOPED_TRACE(window == app->Skin().Handle() ? "skin window" : "body window");
        win32::ComRef<IAccessible> object = AccessibleOf(window);
        ASSERT_TRUE(object);
        VARIANT role;
        ::VariantInit(&role);
        ASSERT_EQ(object->get_accRole(Child(CHILDID_SELF), &role), S_OK);
        EXPECT_EQ(role.lVal, ROLE_SYSTEM_CLIENT);
        const std::vector<AccChild> children = AccChildren(object.get());
        ASSERT_EQ(children.size(), player::kBodyPartCount);
        for (std::size_t i = 0; i < children.size(); ++i) {
            const AccChild& c = children[i];
            const player::BodyPartDesign& d = player::BodyParts()[i];
            const player::ScreenRect e = player::VisiblePartPixels(d.part, factors, 96 * k, 83 * k);
            EXPECT_EQ(c.role, roles[static_cast<int>(d.role)]) << i;
            EXPECT_EQ(c.name, d.name) << i;
            EXPECT_EQ(c.rect.left, body.left + e.left) << i;
            EXPECT_EQ(c.rect.top, body.top + e.top) << i;
            EXPECT_EQ(c.rect.right, body.left + e.right) << i;
            EXPECT_EQ(c.rect.bottom, body.top + e.bottom) << i;
        }
        const RECT volume = Rect(app->Body().ScrVolumeWindow());
        EXPECT_EQ(children.back().rect.top, volume.top);
        EXPECT_EQ(children.back().rect.bottom, volume.bottom);
        // A point on the screen finds the part there, the right edge the next one.
        VARIANT hit;
        ::VariantInit(&hit);
        ASSERT_EQ(object->accHitTest(body.left + 71 * k + k - 1, body.top + 20 * k, &hit), S_OK);
        EXPECT_EQ(hit.lVal, 8);  // 再生します
        ::VariantInit(&hit);
        ASSERT_EQ(object->accHitTest(body.left + 72 * k, body.top + 20 * k, &hit), S_OK);
        EXPECT_EQ(hit.lVal, 9);
    }
    app->Shutdown();
}

// The control panel and the editor are no skins: they follow the display scale
// themselves, the panel's design of 6510 x 5520 twips being 434 x 368 pixels at 100 %.
TEST_F(DpiTest, ThePanelAndTheEditorFollowTheDisplayScaleAndThePanelAMoveToAnotherMonitor) {
    Start(L"Azure");
    HWND panel = app->Panel().Handle();
    RECT client{};
    ::GetClientRect(panel, &client);
    EXPECT_EQ(client.right, 434 * dpi / 96);
    EXPECT_EQ(client.bottom, 368 * dpi / 96);
    HWND list = app->Panel().Child(MenuForm::IdLstM3u);
    const RECT before = Rect(list);
    LOGFONTW font{};
    ASSERT_TRUE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)), sizeof font, &font));
    EXPECT_EQ(font.lfHeight, -12 * dpi / 96);

    const int other = dpi == 96 ? 192 : 96;
    RECT window = Rect(panel);
    RECT suggested{window.left, window.top, window.left + (window.right - window.left) * other / dpi,
                   window.top + (window.bottom - window.top) * other / dpi};
    ::SendMessageW(panel, WM_DPICHANGED, MAKEWPARAM(other, other), reinterpret_cast<LPARAM>(&suggested));
    window = Rect(panel);
    EXPECT_EQ(window.right - window.left, suggested.right - suggested.left);
    const RECT after = Rect(list);
    EXPECT_EQ(after.right - after.left, (before.right - before.left) * other / dpi);
    EXPECT_EQ(after.bottom - after.top, (before.bottom - before.top) * other / dpi);
    ASSERT_TRUE(::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(list, WM_GETFONT, 0, 0)), sizeof font, &font));
    EXPECT_EQ(font.lfHeight, -12 * other / 96);
    app->Shutdown();

    // The editor as a user starts it: its design of 7215 x 6450 twips is a client area
    // of 481 x 430 pixels at 100 %.
    fs::create_directories(home / L"exec" / L"m3usetting");
    fs::copy_file(DistDir() / L"exec" / L"listwright.exe", home / L"exec" / L"listwright.exe");
    fs::copy_file(DistDir() / L"exec" / L"m3usetting" / L"ext.ini", home / L"exec" / L"m3usetting" / L"ext.ini");
    Process editor(home / L"exec" / L"listwright.exe", L"");
    ASSERT_TRUE(editor.Started());
    HWND form = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (form = FindWindowOfProcess(editor.Id(), nullptr, L"Quillow")) != nullptr; },
                          20s));
    ::GetClientRect(form, &client);
    EXPECT_EQ(client.right, 481 * dpi / 96);
    EXPECT_EQ(client.bottom, 430 * dpi / 96);
    ::PostMessageW(form, WM_CLOSE, 0, 0);
    EXPECT_TRUE(editor.WaitExit(10s));
}

}  // namespace
}  // namespace tessel::test
