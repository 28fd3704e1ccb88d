// The body window and the skin window of the program in this process, under Wine:
// shapes read back from the real windows, placement and dragging, drops, seeking, the
// volume bar over the real device volume, the buttons and what the body window paints.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "player/skin/skin_layout.h"
#include "player/playback/volume_device_win32.h"
#include "player/shared/on_screen_win32.h"
#include "player/shared/texts.h"
#include "player/shared/long_paths.h"
#include "tests/support/accessible.h"
#include "tests/support/in_process_player.h"
#include "win32/handle.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;
using player::MenuForm;
using player::PlayerForm;

LPARAM Point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class WindowsTest : public InProcessPlayer {
protected:
    void SetUp() override { UseShippedSkins(); }
    player::PlayerApp& Start(const std::wstring& skin = L"Azure") {
        folder.settings->at(0) = skin;
        return InProcessPlayer::Start();
    }
    fs::path Part(const std::wstring& skin, const wchar_t* file) const { return dir / L"parts" / skin / file; }
};

TEST_F(WindowsTest, DraggingMovesBothWindowsAClickOrAFixedPositionDoesNot) {
    Start();
    HWND skin = app->Skin().Handle();
    const RECT s0 = Rect(skin), p0 = Rect(app->Body().Handle());
    // Grab at (40, 30), release with the pointer 70 right and 25 up of the grab point.
    ::SendMessageW(skin, WM_LBUTTONDOWN, MK_LBUTTON, Point(40, 30));
    ASSERT_TRUE(::SetCursorPos(s0.left + 40 + 70, s0.top + 30 - 25));
    POINT cursor{};
    ::GetCursorPos(&cursor);
    ::SendMessageW(skin, WM_LBUTTONUP, 0, Point(40 + 70, 30 - 25));
    const RECT s1 = Rect(skin), p1 = Rect(app->Body().Handle());
    EXPECT_EQ(s1.left, cursor.x - 40);
    EXPECT_EQ(s1.top, cursor.y - 30);
    EXPECT_EQ(p1.left - p0.left, s1.left - s0.left);
    EXPECT_EQ(p1.top - p0.top, s1.top - s0.top);
    EXPECT_NE(s1.left, s0.left);

    // A click without movement: the pointer elsewhere does not matter.
    ::SendMessageW(skin, WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 10));
    ::SetCursorPos(5, 5);
    ::SendMessageW(skin, WM_LBUTTONUP, 0, Point(10, 10));
    EXPECT_EQ(Rect(skin).left, s1.left);
    EXPECT_EQ(Rect(skin).top, s1.top);

    app->PanelControls().ChkBreak.SetValue(1);
    ::SendMessageW(skin, WM_LBUTTONDOWN, MK_LBUTTON, Point(10, 10));
    ::SetCursorPos(400, 400);
    ::SendMessageW(skin, WM_LBUTTONUP, 0, Point(60, 70));
    EXPECT_EQ(Rect(skin).left, s1.left);
    EXPECT_EQ(Rect(app->Body().Handle()).left, p1.left);

    // The new place is what the settings file will keep.
    app->PanelControls().ChkBreak.SetValue(0);
    EXPECT_EQ(app->Skin().LeftTwips(), s1.left * app->Factors().x);
}

// Places from init.ini that no monitor shows now (one was unplugged), and windows that
// a change of the displays leaves off every screen: each comes into the nearest work
// area, the body window with the skin window; a place on the screen stays as stored.
TEST_F(WindowsTest, WindowsOffEveryScreenComeIntoTheNearestWorkArea) {
    folder.settings->at(1) = L"-3000";
    folder.settings->at(2) = L"5000";
    folder.settings->at(10) = L"1";  // "320-240" at lines 12 and 13
    folder.settings->at(11) = L"-4000";
    folder.settings->at(12) = L"9000";
    Start();
    const std::vector<player::ScreenRect> areas = player::MonitorWorkAreas();
    ASSERT_EQ(areas.size(), 1u);
    const player::ScreenRect a = areas[0];
    HWND skin = app->Skin().Handle(), body = app->Body().Handle(), panel = app->Panel().Handle();
    RECT s = Rect(skin), p = Rect(body);
    EXPECT_EQ(s.left, a.left);
    EXPECT_EQ(s.bottom, a.bottom);
    const POINT bodyOffset{p.left - s.left, p.top - s.top};
    app->PlayFile(Media(L"clip.mp4"));
    HWND video = reinterpret_cast<HWND>(app->Vars().VideoWindowHandle);
    ASSERT_NE(video, nullptr);
    EXPECT_EQ(Rect(video).right, a.right);
    EXPECT_EQ(Rect(video).top, a.top);

    // The displays change: everything beyond them comes back, what still shows stays.
    ::SetWindowPos(skin, nullptr, a.right + 700, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(panel, nullptr, 100, a.top - 2000, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SetWindowPos(video, nullptr, a.left - 10, a.top - 20, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageW(skin, WM_DISPLAYCHANGE, 32, MAKELPARAM(a.right, a.bottom));
    s = Rect(skin);
    p = Rect(body);
    EXPECT_EQ(s.right, a.right);
    EXPECT_EQ(s.top, 200);
    EXPECT_EQ(p.left - s.left, bodyOffset.x);
    EXPECT_EQ(p.top - s.top, bodyOffset.y);
    EXPECT_EQ(Rect(panel).left, 100);
    EXPECT_EQ(Rect(panel).top, a.top);
    EXPECT_EQ(Rect(video).left, a.left - 10);
    // Only the body window off the screen (the skin window one pixel on it, beyond the
    // left edge): both move by what the body window lacks.
    app->Skin().SetLeftTwips((a.left - (s.right - s.left) + 1) * app->Factors().x);
    ASSERT_LT(Rect(body).right, a.left);
    ::SendMessageW(skin, WM_DISPLAYCHANGE, 32, MAKELPARAM(a.right, a.bottom));
    EXPECT_EQ(Rect(body).left, a.left);
    EXPECT_EQ(Rect(body).left - Rect(skin).left, bodyOffset.x);
    app->Device()->Command(MediaCommand::Close);
}

TEST_F(WindowsTest, DropsPlayOneFileQueueEverythingElseAndWalkFoldersOfAnyDepth) {
    Start();
    HWND skin = app->Skin().Handle();
    const std::wstring tone = Media(L"tone_440.mp3"), chord = Media(L"chord_c.mp3");
    auto& queue = app->PanelControls().LstM3u;
    queue.AddItem(L"C:\\queued.mp3");
    app->PanelControls().LblListCount.SetCaption(L"1");

    SendDrop(skin, {tone});
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
    EXPECT_EQ(app->PanelControls().LblMediaName.Caption(), tone);
    EXPECT_EQ(queue.ListCount(), 1u);
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"1");
    app->Device()->Command(MediaCommand::Close);

    SendDrop(skin, {tone, chord});
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModeNotOpen);
    EXPECT_EQ(ListBoxItems(app->Panel().Child(MenuForm::IdLstM3u)),
              (std::vector<std::wstring>{L"C:\\queued.mp3", tone, chord}));
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"3");

    // A folder linking back to its parent (tests/make-link-loops.sh): the Win32 file
    // system tells the walk which folder a link leads to (every loop shape of both
    // programs' walks: add_path_test, dropwalk_test), so the walk ends with every file
    // once. One item that is a folder is queued, not played.
    const fs::path loops = FromEnvironmentPath("TESSEL_TEST_LINK_LOOPS");
    queue.Clear();
    SendDrop(skin, {(loops / L"parent").wstring()});
    EXPECT_EQ(queue.Items(), (std::vector<std::wstring>{(loops / L"parent\\a.mp3").wstring(),
                                                        (loops / L"parent\\mid\\m.mp3").wstring(),
                                                        (loops / L"parent\\mid\\sub\\b.mp3").wstring()}));
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModeNotOpen);

    // A walk lets the windows answer between folders, and Esc ends it there: pressed
    // before the walk came to its first folder, nothing is added.
    queue.Clear();
    for (const char* file : {"top/a.mp3", "top/sub1/b.mp3", "top/sub2/c.mp3"}) dir.Write(file, "x");
    const std::wstring top = (dir / L"top").wstring();
    ::PostMessageW(skin, WM_KEYDOWN, VK_ESCAPE, 0);
    SendDrop(skin, {top, tone});
    EXPECT_EQ(queue.ListCount(), 0u);
    // A click on the panel's menu waiting meanwhile is answered during the walk.
    const bool shown = app->Panel().PanelVisible();
    ::PostMessageW(app->Panel().Handle(), WM_COMMAND, MAKEWPARAM(MenuForm::IdMenuShowSetting, 0), 0);
    SendDrop(skin, {top});
    EXPECT_NE(app->Panel().PanelVisible(), shown);
    EXPECT_EQ(queue.ListCount(), 3u);

    // Under Wine the ordinary form of a long path works too; on Windows without long
    // paths allowed only the \\?\ form does (add_path_test has the rule).
    queue.Clear();
    std::wstring folder = (dir / L"deep").wstring();
    std::vector<std::wstring> expected;
    for (int level = 0; folder.size() < 2 * MAX_PATH; ++level) {
        ASSERT_TRUE(::CreateDirectoryW(tessel::ExtendedLengthPath(folder).c_str(), nullptr)) << level;
        const std::wstring file = folder + L"\\曲 " + std::to_wstring(level) + L".mp3";
        HANDLE h = ::CreateFileW(tessel::ExtendedLengthPath(file).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(h, INVALID_HANDLE_VALUE) << level;
        ::CloseHandle(h);
        expected.push_back(file);
        folder += L"\\" + std::wstring(60, static_cast<wchar_t>(L'a' + level));
    }
    ASSERT_GT(expected.back().size(), static_cast<std::size_t>(MAX_PATH));
    SendDrop(skin, {(dir / L"deep").wstring()});
    EXPECT_EQ(queue.Items(), expected);
    queue.Clear();
    SendDrop(skin, {expected.back().substr(0, expected.back().rfind(L'\\')), expected.back()});
    EXPECT_EQ(queue.Items(), (std::vector<std::wstring>{expected.back(), expected.back()}));
}

// Run-time skin changes back and forth: every picture, mask, region, device context
// and icon of one skin is gone when the next is on, and no window is left over.
TEST_F(WindowsTest, SkinChangesLeaveNoGdiObjectsOrWindowsBehind) {
    Start();
    auto windows = [] {
        int n = 0;
        const WNDENUMPROC count = [](HWND, LPARAM at) -> BOOL { return ++*reinterpret_cast<int*>(at) > 0; };
        ::EnumThreadWindows(::GetCurrentThreadId(), count, reinterpret_cast<LPARAM>(&n));
        return n;
    };
    auto change = [&](int i) {
        app->Vars().SkinName = i % 2 ? L"Ember" : L"Azure";
        const player::SkinChange result = app->ChangeSkin();
        Pump(0ms);
        return result.applied;
    };
    // One change each way first: what the system sets up once is not ours to count.
    ASSERT_TRUE(change(1));
    ASSERT_TRUE(change(2));
    const auto before = GdiObjectsByType();
    ASSERT_TRUE(before) << "no way to count GDI objects here";
    const int windowsBefore = windows();
    for (int i = 3; i <= 22; ++i) ASSERT_TRUE(change(i));
    EXPECT_EQ(GdiObjectsByType(), before);
    EXPECT_EQ(windows(), windowsBefore);
}

// The status event moves the time bar; only the user's moves of the focused bar seek.
// The bar keeps the focus after a click: the next medium's range and value, set by
// the program, must not seek it (a shorter medium would be sent to its end).
TEST_F(WindowsTest, TheTimeBarSeeksOnlyWhenTheUserMovesItFocused) {
    Start();
    app->PlayFile(Media(L"silence_185.mp3"));
    ASSERT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
    player::ScrollBar& bar = app->BodyControls().ScrTime;
    ASSERT_GE(bar.Max(), 180);
    bar.SetValue(120);  // as the status event moves it
    EXPECT_LT(app->Device()->Position(), 20000);
    ::SetFocus(app->Body().ScrTimeWindow());
    ASSERT_EQ(app->Vars().TimeBarFocused, true);
    bar.SetValueByUser(60);  // as the bar's scroll messages do
    EXPECT_EQ(app->Device()->From(), 60000);
    WaitUntil([&] { return app->Device()->Position() >= 60000; }, 3s);
    EXPECT_GE(app->Device()->Position(), 60000);
    EXPECT_LT(app->Device()->Position(), 65000);
    // Focus elsewhere: the flag drops and changes no longer seek.
    ::SetFocus(app->Skin().Handle());
    EXPECT_EQ(app->Vars().TimeBarFocused, false);
    bar.SetValueByUser(170);
    EXPECT_LT(app->Device()->Position(), 70000);

    ::SetFocus(app->Body().ScrTimeWindow());
    bar.SetValueByUser(120);
    ASSERT_EQ(app->Device()->From(), 120000);
    const std::wstring shorter = Media(L"tone_660.wav");  // 3.5 s
    app->PlayFile(shorter);
    EXPECT_EQ(bar.Max(), 3);
    EXPECT_EQ(bar.Value(), 0);
    EXPECT_EQ(app->Device()->From(), 120000) << "the program set a start point of its own";
    EXPECT_LT(app->Device()->Position(), 1500);
    // It plays on: still the current medium a second later, not skipped at its end.
    Pump(1200ms);
    EXPECT_EQ(app->PanelControls().LblMediaName.Caption(), shorter);
    EXPECT_GE(app->Device()->Position(), 500);
    EXPECT_LT(app->Device()->Position(), 3000);
}

TEST_F(WindowsTest, TheVolumeBarWritesAndReadsTheRealDeviceVolume) {
    // The real session volume of this process; the program takes it over (under Wine
    // two objects of one process do not share it).
    volume = player::OpenSystemVolume().device;
    if (!volume->Read()) GTEST_SKIP() << "no device volume here";
    ASSERT_TRUE(volume->Write(0x0A0A0A0Au));
    Start();
    player::VolumeDevice* device = &app->Volume();
    player::ScrollBar& bar = app->BodyControls().ScrVolume;
    EXPECT_EQ(bar.Value(), 10);
    EXPECT_EQ(::GetScrollPos(app->Body().ScrVolumeWindow(), SB_CTL), 10);
    // Not active: a change of the bar writes nothing.
    bar.SetValue(200);
    EXPECT_EQ(device->Read(), 0x0A0A0A0Au);
    // Focused by the user: the level reaches the device (its encoding is tested natively).
    ::SetFocus(app->Body().ScrVolumeWindow());
    ASSERT_EQ(app->Vars().VolumeActive, true);
    for (int level : {128, 0}) {
        bar.SetValue(level);
        EXPECT_EQ(device->Read(), static_cast<std::uint32_t>(level) * 0x01010101u) << level;
    }
    // A key held on the skin window makes the volume keys reach the device too.
    ::SetFocus(app->Skin().Handle());
    EXPECT_EQ(app->Vars().VolumeActive, false);
    bar.SetValue(100);  // inactive again: not written
    ::SendMessageW(app->Skin().Handle(), WM_KEYDOWN, VK_UP, 0);
    EXPECT_EQ(app->Vars().VolumeActive, true);
    EXPECT_EQ(bar.Value(), 110);
    EXPECT_EQ(device->Read(), 110u * 0x01010101u);
    ::SendMessageW(app->Skin().Handle(), WM_KEYUP, VK_UP, 0);
    EXPECT_EQ(app->Vars().VolumeActive, false);
    device->Write(0xFFFFFFFFu);

    // A key pressed on the skin window and released in another window (Alt+Tab) never
    // reaches the skin window's KeyUp: leaving the window ends the volume change.
    ::SetFocus(app->Skin().Handle());
    ::SendMessageW(app->Skin().Handle(), WM_KEYDOWN, VK_SPACE, 0);
    ASSERT_EQ(app->Vars().VolumeActive, true);
    app->Panel().SetPanelVisible(true);
    ::SetFocus(app->Panel().Handle());
    EXPECT_EQ(app->Vars().VolumeActive, false);
    // From the skin window straight to the volume bar: the bar's own change is on.
    ::SetFocus(app->Skin().Handle());
    ::SendMessageW(app->Skin().Handle(), WM_KEYDOWN, VK_SPACE, 0);
    ::SetFocus(app->Body().ScrVolumeWindow());
    EXPECT_EQ(app->Vars().VolumeActive, true);
}

// The mouse as Windows delivers a double click: down, up, double-click, up.
TEST_F(WindowsTest, TheBodyWindowsButtonsAndADoubleClickOnThem) {
    Start();
    HWND body = app->Body().Handle();
    auto doubleClick = [&](PlayerForm::Part part) {
        const RECT r = app->Body().PartRect(part);
        const LPARAM at = Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        for (UINT message : {WM_LBUTTONDOWN, WM_LBUTTONUP, WM_LBUTTONDBLCLK, WM_LBUTTONUP})
            ::SendMessageW(body, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, at);
    };
    boxes.Expect(player::window_texts::kVersionTitle, IDOK);
    app->Body().Click(PlayerForm::PartCmdInfo);  // returns once the box is closed
    const auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find(player::window_texts::kVersionText), std::wstring::npos) << Printable(seen[0].text);
    // The panel toggles, twice back to where it was; a double click on the skin window
    // does the same, one on the command button is two clicks.
    EXPECT_FALSE(app->Panel().PanelVisible());
    app->Body().Click(PlayerForm::PartCmdPopup);
    EXPECT_TRUE(app->Panel().PanelVisible());
    ::SendMessageW(app->Skin().Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(20, 20));
    EXPECT_FALSE(app->Panel().PanelVisible());
    doubleClick(PlayerForm::PartCmdPopup);
    EXPECT_FALSE(app->Panel().PanelVisible());
    // An image button takes a double click as one click: one step on, one pause.
    for (const wchar_t* name : {L"silence_185.mp3", L"chord_c.mp3", L"tone_660.wav"})
        app->PanelControls().LstM3u.AddItem(Media(name));
    doubleClick(PlayerForm::PartImgNext);
    EXPECT_EQ(app->PanelControls().LblMediaName.Caption(), Media(L"silence_185.mp3"));
    EXPECT_EQ(app->PanelControls().LstM3u.ListCount(), 2u);
    doubleClick(PlayerForm::PartImgStop);
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePaused);
    app->Body().Click(PlayerForm::PartImgStop);
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
    app->Device()->SetFrom(90000);
    app->Device()->Command(MediaCommand::Play);
    app->Body().Click(PlayerForm::PartImgPrev);
    EXPECT_LT(app->Device()->Position(), 5000);
    app->Device()->Command(MediaCommand::Close);
    app->Body().Click(PlayerForm::PartCmdMinimum);
    EXPECT_EQ(app->PanelControls().ChkHide.Value(), 1);
    EXPECT_FALSE(::IsWindowVisible(app->Skin().Handle()));
    EXPECT_FALSE(::IsWindowVisible(body));
}

// What a person sees: the picture and the read-outs in the skin's text colour, the
// times against the right edge of their boxes, the title running under the edge.
TEST_F(WindowsTest, TheBodyWindowPaintsItsPictureAndReadOuts) {
    Start(L"Ember");
    app->BodyControls().LblNTime.SetCaption(L"7");
    app->BodyControls().LblTitle.SetCaption(L"WWWWWWWWWWWWWWWWWWWWWWWWWWWWWW");
    win32::WindowDcGuard screen(nullptr);
    win32::unique_memory_dc memory(::CreateCompatibleDC(screen.get()));
    win32::unique_hbitmap bitmap(::CreateCompatibleBitmap(screen.get(), 96, 83));
    HDC dc = memory.get();
    win32::SelectObjectGuard into(dc, bitmap.get());
    app->Body().PaintContent(dc);
    const COLORREF text = app->Body().TextColour();
    auto columnsOf = [&](RECT r) {
        int first = -1, last = -1;
        for (int x = r.left; x < std::min<LONG>(r.right, 96); ++x)
            for (int y = r.top; y < r.bottom; ++y)
                if (::GetPixel(dc, x, y) == text) {
                    if (first < 0) first = x;
                    last = x;
                }
        return std::pair{first, last};
    };
    const auto [nowFirst, nowLast] = columnsOf(app->Body().PartRect(PlayerForm::PartLblNTime));
    ASSERT_GE(nowFirst, 0) << "no text in the skin's colour";
    EXPECT_GE(nowLast, 48 - 4);  // right-aligned in its 48-pixel box
    EXPECT_GE(nowFirst, 30);
    EXPECT_GE(columnsOf(app->Body().PartRect(PlayerForm::PartLblTitle)).second, 93);  // text at the right edge
    // The picture behind: a pixel of player.bmp shows at its place (row 15 down).
    win32::unique_hbitmap picture(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, Part(L"Ember", L"player.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    win32::unique_memory_dc pictureDc(::CreateCompatibleDC(screen.get()));
    win32::SelectObjectGuard show(pictureDc.get(), picture.get());
    EXPECT_EQ(::GetPixel(dc, 50, 15 + 60), ::GetPixel(pictureDc.get(), 50, 60));
}

// What a screen reader does with the parts: "press" a picture as a click would, read
// the bars' positions and the read-outs' texts, see which bar has the focus. An object
// it still holds after the player ended answers that it is cut off.
TEST_F(WindowsTest, AScreenReaderPressesThePicturesAndReadsTheValues) {
    win32::ComApartment com;
    Start();
    for (const wchar_t* name : {L"tone_440.mp3", L"chord_c.mp3"}) app->PanelControls().LstM3u.AddItem(Media(name));
    win32::ComRef<IAccessible> skin = AccessibleOf(app->Skin().Handle());
    ASSERT_TRUE(skin);
    constexpr LONG kPlay = 8, kStop = 7, kScrTime = 12, kTitle = 13, kScrVolume = 14;
    EXPECT_EQ(AccText(skin.get(), kPlay, &IAccessible::get_accDefaultAction), L"押す");
    ASSERT_EQ(skin->accDoDefaultAction(Child(kPlay)), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return app->Device()->FileName() == Media(L"tone_440.mp3"); }, 5s));
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
    ASSERT_EQ(skin->accDoDefaultAction(Child(kStop)), S_OK);
    ASSERT_TRUE(WaitUntil([&] { return app->Device()->Mode() == MediaDevice::kModePaused; }, 5s));

    // Which part announces what is tested natively (body_parts_test).
    app->BodyControls().LblTitle.SetCaption(L"曲の名前");
    app->BodyControls().ScrVolume.SetValue(200);
    EXPECT_EQ(AccText(skin.get(), kTitle, &IAccessible::get_accValue), L"曲の名前");
    EXPECT_EQ(AccText(skin.get(), kScrVolume, &IAccessible::get_accValue), L"200");
    // Bars and read-outs have no action; ids beyond the parts are refused.
    HRESULT hr = S_OK;
    EXPECT_EQ(AccText(skin.get(), kScrTime, &IAccessible::get_accDefaultAction, &hr), L"");
    EXPECT_EQ(hr, DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(skin->accDoDefaultAction(Child(kTitle)), DISP_E_MEMBERNOTFOUND);
    EXPECT_EQ(skin->accDoDefaultAction(Child(15)), E_INVALIDARG);
    AccText(skin.get(), 15, &IAccessible::get_accName, &hr);
    EXPECT_EQ(hr, E_INVALIDARG);

    ::SetFocus(app->Body().ScrVolumeWindow());
    std::vector<AccChild> children = AccChildren(skin.get());
    ASSERT_EQ(children.size(), 14u);
    EXPECT_TRUE(children[kScrVolume - 1].state & STATE_SYSTEM_FOCUSED);
    EXPECT_FALSE(children[kScrTime - 1].state & STATE_SYSTEM_FOCUSED);
    VARIANT focus;
    ::VariantInit(&focus);
    ASSERT_EQ(skin->get_accFocus(&focus), S_OK);
    EXPECT_EQ(focus.lVal, kScrVolume);
    app->Body().Click(PlayerForm::PartCmdMinimum);
    children = AccChildren(skin.get());
    EXPECT_TRUE(children[kPlay - 1].state & STATE_SYSTEM_INVISIBLE);

    Stop();
    long count = 0;
    EXPECT_EQ(skin->get_accChildCount(&count), RPC_E_DISCONNECTED);
    EXPECT_EQ(skin->accDoDefaultAction(Child(kPlay)), RPC_E_DISCONNECTED);
}

}  // namespace
}  // namespace tessel::test
