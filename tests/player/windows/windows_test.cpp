// The body window and the skin window of the program in this process, under Wine:
// shapes read back from the real windows, placement and dragging, drops, seeking,
// the volume bar over the real device volume, the version box.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstring>
#include <filesystem>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "player/playback/mmc/mmc.h"
#include "player/skin/skin_layout.h"
#include "player/skin/volume_device_win32.h"
#include "player/startup/Initialize.h"
#include "player/shared/texts.h"
#include "tests/player/core/in_process_app.h"
#include "tests/player/core/win_support.h"
#include "tests/player/skin/pixel_region_reference.h"
#include "win32/handle.h"

namespace tessel::player::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

void Pump() {
    MSG msg;
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&msg);
        ::DispatchMessageW(&msg);
    }
}

LPARAM Point(int x, int y) { return MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)); }

class WindowsTest : public ::testing::Test {
protected:
    TempDir dir{L"windows"};
    std::vector<std::wstring> reports;
    std::vector<UINT> exits;
    std::wstring instance = L"TesselPlayerWindowsTest." + std::to_wstring(::GetCurrentProcessId()) + L"." +
                            std::to_wstring(++instances);
    static inline int instances = 0;

    std::unique_ptr<VolumeDevice> volume;  // handed to the next start when set

    std::unique_ptr<PlayerApp> Start(const std::wstring& skin, std::vector<std::wstring> settings = DefaultSettings()) {
        settings[0] = skin;
        settings[1] = L"200";
        settings[2] = L"150";
        MakeProgramFolder(dir.path(), &settings);
        fs::copy(DistDir() / L"parts", dir.path() / L"parts",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::create_directories(dir.path() / L"parts" / L"~work");
        StartOptions o = InProcessOptions(dir.path(), L"TesselPlayerWindowsTest", &reports);
        o.instanceName = instance;
        o.endProcess = [this](UINT code) { exits.push_back(code); };
        if (volume) o.makeVolume = [this] { return std::move(volume); };
        auto app = std::make_unique<PlayerApp>(std::move(o));
        EXPECT_TRUE(app->StartUp());
        EXPECT_TRUE(reports.empty()) << (reports.empty() ? "" : Printable(reports[0]));
        Pump();
        return app;
    }
    fs::path Part(const std::wstring& skin, const wchar_t* file) const { return dir.path() / L"parts" / skin / file; }
    static RECT Rect(HWND window) {
        RECT r{};
        ::GetWindowRect(window, &r);
        return r;
    }
};

// Both skins: the real windows' regions against the pixel-by-pixel shape of the masks,
// the sizes, the placement, the label colour and the skin list.
TEST_F(WindowsTest, SkinsShapeSizeAndPlaceBothWindows) {
    for (const std::wstring skin : {L"Azure", L"Ember"}) {
        SCOPED_TRACE(Printable(skin));
        auto app = Start(skin);
        SkinLayout layout;
        ASSERT_FALSE(ReadSkinLayout(Part(skin, L"define.ini"), layout));
        const RECT s = Rect(app->Skin().Handle());
        EXPECT_EQ(s.right - s.left, layout.ScanWidth());
        EXPECT_EQ(s.bottom - s.top, layout.ScanHeight());
        const RECT p = Rect(app->Body().Handle());
        EXPECT_EQ(p.left, s.left - 96 + layout.playerOffsetX);
        EXPECT_EQ(p.top, s.bottom - 83 + layout.playerOffsetY);
        const struct {
            HWND window;
            const wchar_t* mask;
            int width, height;
            RgbColour key;
        } cases[] = {{app->Skin().Handle(), L"s_mask.bmp", layout.ScanWidth(), layout.ScanHeight(), layout.skinKey},
                     {app->Body().Handle(), L"p_mask.bmp", 96, 83, layout.playerKey}};
        for (const auto& c : cases) {
            HRGN actual = ::CreateRectRgn(0, 0, 0, 0);
            ASSERT_EQ(::GetWindowRgn(c.window, actual), COMPLEXREGION);
            HRGN expected = tessel::test::PixelByPixelRegion(Part(skin, c.mask).wstring(), c.width, c.height,
                                                             RGB(c.key.red, c.key.green, c.key.blue));
            ASSERT_NE(expected, nullptr);
            EXPECT_TRUE(tessel::test::SameRegion(actual, expected)) << Printable(c.mask);
            ::DeleteObject(actual);
            ::DeleteObject(expected);
        }
        const RgbColour& t = layout.textColour;
        EXPECT_EQ(app->Body().TextColour(), RGB(t.red, t.green, t.blue));
        EXPECT_EQ(app->PanelControls().LstSkinFile.Items(), (std::vector<std::wstring>{L"Azure", L"Ember"}));
        // Both topmost, shown, the skin window above the body window.
        EXPECT_TRUE(::GetWindowLongW(app->Skin().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(::GetWindowLongW(app->Body().Handle(), GWL_EXSTYLE) & WS_EX_TOPMOST);
        EXPECT_TRUE(::IsWindowVisible(app->Skin().Handle()));
        app.reset();
        Pump();
    }
}

TEST_F(WindowsTest, DraggingMovesBothWindowsAClickOrAFixedPositionDoesNot) {
    auto app = Start(L"Azure");
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

    // With the position fixed no drag moves it.
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

TEST_F(WindowsTest, DropsPlayOneFileAndQueueEverythingElse) {
    auto app = Start(L"Azure");
    HWND skin = app->Skin().Handle();
    const std::wstring tone = (MediaDir() / L"tone_440.mp3").wstring();
    const std::wstring chord = (MediaDir() / L"chord_c.mp3").wstring();
    app->PanelControls().LstM3u.AddItem(L"C:\\queued.mp3");
    app->PanelControls().LblListCount.SetCaption(L"1");

    SendDrop(skin, {tone});
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
    EXPECT_EQ(app->PanelControls().LblMediaName.Caption(), tone);
    EXPECT_EQ(app->PanelControls().LstM3u.ListCount(), 1u);
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"1");
    app->Device()->Command(MediaCommand::Close);

    SendDrop(skin, {tone, chord});
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModeNotOpen);
    EXPECT_EQ(app->PanelControls().LstM3u.Items(), (std::vector<std::wstring>{L"C:\\queued.mp3", tone, chord}));
    EXPECT_EQ(app->PanelControls().LblListCount.Caption(), L"3");
    // The real list box follows.
    EXPECT_EQ(::SendMessageW(app->Panel().Child(MenuForm::IdLstM3u), LB_GETCOUNT, 0, 0), 3);

    // A folder tree: files before subfolders, depth first, no filter. One item that is
    // a folder is queued, not played.
    const fs::path tree = dir.path() / L"tree";
    fs::create_directories(tree / L"sub" / L"deeper");
    for (const auto& f : {L"a.mp3", L"sub\\c.mp3", L"sub\\deeper\\d.txt"}) WriteSilentWav(tree / f, 100);
    app->PanelControls().LstM3u.Clear();
    SendDrop(skin, {tree.wstring()});
    EXPECT_EQ(app->PanelControls().LstM3u.Items(),
              (std::vector<std::wstring>{(tree / L"a.mp3").wstring(), (tree / L"sub\\c.mp3").wstring(),
                                         (tree / L"sub\\deeper\\d.txt").wstring()}));
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModeNotOpen);
}

// A folder holding a link back to itself, made from the Linux side before the run.
TEST_F(WindowsTest, ALinkLoopInADroppedFolderEnds) {
    const fs::path loop = FromEnvironmentPath("TESSEL_TEST_LOOP");
    ASSERT_TRUE(fs::exists(loop / L"inner" / L"back"));
    auto app = Start(L"Azure");
    SendDrop(app->Skin().Handle(), {loop.wstring(), loop.wstring()});
    // Walked twice, each time without following the link back.
    const std::wstring a = (loop / L"a.mp3").wstring(), b = (loop / L"inner\\b.mp3").wstring();
    EXPECT_EQ(app->PanelControls().LstM3u.Items(), (std::vector<std::wstring>{a, b, a, b}));
}

// Every shape of link loop, made from the Linux side (tests/make-link-loops.sh), dropped
// on the skin window: each walk ends and brings every file once. The order within a
// folder is the file system's, so the entries are compared as sets.
TEST_F(WindowsTest, EveryShapeOfLinkLoopEndsWithEachFileOnce) {
    const fs::path loops = FromEnvironmentPath("TESSEL_TEST_LINK_LOOPS");
    ASSERT_TRUE(fs::exists(loops / L"self" / L"sub" / L"self" / L"b.mp3"));
    auto app = Start(L"Azure");
    auto drop = [&](const fs::path& folder) {
        app->PanelControls().LstM3u.Clear();
        SendDrop(app->Skin().Handle(), {folder.wstring()});
        std::vector<std::wstring> got = app->PanelControls().LstM3u.Items();
        std::sort(got.begin(), got.end());
        return got;
    };
    auto paths = [&](std::initializer_list<const wchar_t*> relative) {
        std::vector<std::wstring> out;
        for (const wchar_t* r : relative) out.push_back((loops / r).wstring());
        std::sort(out.begin(), out.end());
        return out;
    };
    auto names = [](const std::vector<std::wstring>& got) {
        std::vector<std::wstring> out;
        for (const auto& p : got) out.push_back(fs::path(p).filename().wstring());
        std::sort(out.begin(), out.end());
        return out;
    };
    EXPECT_EQ(drop(loops / L"self"), paths({L"self\\a.mp3", L"self\\sub\\b.mp3"}));
    EXPECT_EQ(drop(loops / L"parent"),
              paths({L"parent\\a.mp3", L"parent\\mid\\m.mp3", L"parent\\mid\\sub\\b.mp3"}));
    EXPECT_EQ(drop(loops / L"dropped"), paths({L"dropped\\a.mp3", L"dropped\\mid\\sub\\b.mp3"}));
    // Which of the two comes first decides the way to the other: each file once.
    EXPECT_EQ(names(drop(loops / L"mutual")), (std::vector<std::wstring>{L"x.mp3", L"y.mp3"}));
    EXPECT_EQ(drop(loops / L"chain" / L"start"),
              paths({L"chain\\start\\s.mp3", L"chain\\start\\next\\h1.mp3",
                     L"chain\\start\\next\\next\\h2.mp3", L"chain\\start\\next\\next\\next\\h3.mp3"}));
    EXPECT_TRUE(drop(loops / L"chain" / L"c1").empty());
    EXPECT_EQ(drop(loops / L"away" / L"top"), paths({L"away\\top\\t.mp3", L"away\\top\\out\\p.mp3"}));
    // Twelve levels of folders linking to each other: 4,096 ways down, one file.
    EXPECT_EQ(names(drop(loops / L"levels")), std::vector<std::wstring>{L"deep.mp3"});
}

// The GDI objects this process holds, by type. Windows answers GetGuiResources; Wine
// answers 0 there, but keeps the process's GDI handle table where Windows does (named
// in the PEB), and an entry in use has a non-zero type.
std::map<int, int> GdiObjectsByType() {
    if (const DWORD n = ::GetGuiResources(::GetCurrentProcess(), GR_GDIOBJECTS); n > 0) return {{0, static_cast<int>(n)}};
    struct Entry {
        std::uint64_t object;
        std::uint32_t owner;
        std::uint16_t unique;
        std::uint8_t type;
        std::uint8_t flags;
        std::uint64_t userPointer;
    };
    using QueryFn = LONG(WINAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
    const auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    struct {
        void* exitStatus;
        char* peb;
        void* rest[4];
    } basic{};
    ULONG length = 0;
    std::map<int, int> byType;
    if (!query || query(::GetCurrentProcess(), 0, &basic, sizeof basic, &length) != 0 || !basic.peb) return byType;
    const Entry* table = *reinterpret_cast<const Entry* const*>(basic.peb + 0xF8);  // GdiSharedHandleTable
    if (!table) return byType;
    for (int i = 0; i < 0x10000; ++i) {
        if (table[i].type != 0) ++byType[table[i].type];
    }
    return byType;
}

// Run-time skin changes back and forth: every picture, mask, region, device context
// and icon of one skin is gone when the next is on, and no window is left over.
TEST_F(WindowsTest, SkinChangesLeaveNoGdiObjectsOrWindowsBehind) {
    auto app = Start(L"Azure");
    auto windows = [] {
        int n = 0;
        ::EnumThreadWindows(
            ::GetCurrentThreadId(),
            [](HWND, LPARAM count) -> BOOL {
                ++*reinterpret_cast<int*>(count);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&n));
        return n;
    };
    auto change = [&](int i) {
        app->Vars().SkinName = i % 2 ? L"Ember" : L"Azure";
        const SkinChange result = app->ChangeSkin();
        Pump();
        return result.applied;
    };
    // One change each way first: what the system sets up once is not ours to count.
    ASSERT_TRUE(change(1));
    ASSERT_TRUE(change(2));
    const std::map<int, int> before = GdiObjectsByType();
    ASSERT_FALSE(before.empty()) << "no way to count GDI objects here";
    const int windowsBefore = windows();
    for (int i = 3; i <= 22; ++i) ASSERT_TRUE(change(i));
    EXPECT_EQ(GdiObjectsByType(), before);
    EXPECT_EQ(windows(), windowsBefore);
}

TEST_F(WindowsTest, TheTimeBarSeeksOnlyWhenFocused) {
    auto app = Start(L"Azure");
    app->PlayFile((MediaDir() / L"silence_185.mp3").wstring());
    ASSERT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
    ScrollBar& bar = app->BodyControls().ScrTime;
    ASSERT_GE(bar.Max(), 180);
    // Not focused (the status event moves it this way): no seek.
    bar.SetValue(120);
    EXPECT_LT(app->Device()->Position(), 20000);
    // The user focuses the bar and moves it to 60 (as the bar's scroll messages do).
    ::SetFocus(app->Body().ScrTimeWindow());
    ASSERT_EQ(app->Vars().TimeBarFocused, true);
    bar.SetValueByUser(60);
    EXPECT_EQ(app->Device()->From(), 60000);
    WaitUntil([&] { return app->Device()->Position() >= 60000; }, 3s, true);
    EXPECT_GE(app->Device()->Position(), 60000);
    EXPECT_LT(app->Device()->Position(), 65000);
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
    // Focus elsewhere: the flag drops and changes no longer seek.
    ::SetFocus(app->Skin().Handle());
    EXPECT_EQ(app->Vars().TimeBarFocused, false);
    bar.SetValueByUser(170);
    EXPECT_LT(app->Device()->Position(), 70000);
    // After the medium stopped nothing seeks.
    app->Device()->Command(MediaCommand::Stop);
    ::SetFocus(app->Body().ScrTimeWindow());
    bar.SetValueByUser(30);
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModeStopped);
    app->Device()->Command(MediaCommand::Close);
}

// The bar keeps the focus after a click. The next medium's range and value, set by
// the program, must not seek it: a shorter medium would be sent to its end and skipped.
TEST_F(WindowsTest, AFocusedTimeBarLetsTheNextShorterMediumPlayFromItsStart) {
    auto app = Start(L"Azure");
    app->PlayFile((MediaDir() / L"silence_185.mp3").wstring());
    ::SetFocus(app->Body().ScrTimeWindow());
    ASSERT_EQ(app->Vars().TimeBarFocused, true);
    app->BodyControls().ScrTime.SetValueByUser(120);
    ASSERT_EQ(app->Device()->From(), 120000);
    const std::wstring shorter = (MediaDir() / L"tone_660.wav").wstring();  // 3.5 s
    app->PlayFile(shorter);
    ASSERT_EQ(app->PanelControls().LblMediaName.Caption(), shorter);
    EXPECT_EQ(app->BodyControls().ScrTime.Max(), 3);
    EXPECT_EQ(app->BodyControls().ScrTime.Value(), 0);
    EXPECT_EQ(app->Device()->From(), 120000) << "the program set a start point of its own";
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
    EXPECT_LT(app->Device()->Position(), 1500);
    // It plays on: still the current medium a second later, not skipped at its end.
    WaitUntil([] { return false; }, 1200ms, true);
    EXPECT_EQ(app->PanelControls().LblMediaName.Caption(), shorter);
    EXPECT_GE(app->Device()->Position(), 500);
    EXPECT_LT(app->Device()->Position(), 3000);
    app->Device()->Command(MediaCommand::Stop);
    app->Device()->Command(MediaCommand::Close);
}

TEST_F(WindowsTest, TheVolumeBarWritesAndReadsTheRealDeviceVolume) {
    // The real session volume of this process; the program takes it over (under Wine
    // two objects of one process do not share it).
    volume = OpenSystemVolume().device;
    if (!volume->Read()) GTEST_SKIP() << "no device volume here";
    // The start-up reads the device into the bar.
    ASSERT_TRUE(volume->Write(0x0A0A0A0Au));
    auto app = Start(L"Azure");
    VolumeDevice* device = &app->Volume();
    ScrollBar& bar = app->BodyControls().ScrVolume;
    EXPECT_EQ(bar.Value(), 10);
    EXPECT_EQ(::GetScrollPos(app->Body().ScrVolumeWindow(), SB_CTL), 10);
    // Not active: a change of the bar writes nothing.
    bar.SetValue(200);
    EXPECT_EQ(device->Read(), 0x0A0A0A0Au);
    // Focused by the user: every level reaches the device and reads back.
    ::SetFocus(app->Body().ScrVolumeWindow());
    ASSERT_EQ(app->Vars().VolumeActive, true);
    for (int level : {128, 1, 15, 16, 255, 0}) {
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
}

// A key pressed on the skin window and released in another window (Alt+Tab) never
// reaches the skin window's KeyUp; leaving the window ends the volume change.
TEST_F(WindowsTest, LeavingTheSkinWindowWithAKeyDownEndsTheVolumeChange) {
    auto app = Start(L"Azure");
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

// Finds a message box of this process by its title, hands back its text and closes it.
class BoxCloser {
public:
    explicit BoxCloser(std::wstring title)
        : title_(std::move(title)), thread_([this] {
              const auto end = std::chrono::steady_clock::now() + 10s;
              while (std::chrono::steady_clock::now() < end) {
                  HWND box = ::FindWindowW(L"#32770", title_.c_str());
                  if (box) {
                      text_ = DialogText(box);
                      ::PostMessageW(box, WM_COMMAND, IDOK, 0);
                      found_ = true;
                      return;
                  }
                  std::this_thread::sleep_for(20ms);
              }
          }) {}
    ~BoxCloser() {
        if (thread_.joinable()) thread_.join();
    }
    bool Found() {
        thread_.join();
        return found_;
    }
    const std::wstring& Text() const { return text_; }

private:
    std::wstring title_, text_;
    std::atomic<bool> found_{false};
    std::thread thread_;
};

TEST_F(WindowsTest, CommandButtonsOfTheBodyWindow) {
    auto app = Start(L"Azure");
    {
        BoxCloser closer(window_texts::kVersionTitle);
        app->Body().Click(PlayerForm::PartCmdInfo);  // returns once the box is closed
        ASSERT_TRUE(closer.Found());
        EXPECT_NE(closer.Text().find(window_texts::kVersionText), std::wstring::npos) << Printable(closer.Text());
    }
    // The panel toggles, twice back to where it was.
    EXPECT_FALSE(app->Panel().PanelVisible());
    app->Body().Click(PlayerForm::PartCmdPopup);
    EXPECT_TRUE(app->Panel().PanelVisible());
    app->Body().Click(PlayerForm::PartCmdPopup);
    EXPECT_FALSE(app->Panel().PanelVisible());
    // A double click on the skin window does the same.
    ::SendMessageW(app->Skin().Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(20, 20));
    EXPECT_TRUE(app->Panel().PanelVisible());
    ::SendMessageW(app->Skin().Handle(), WM_LBUTTONDBLCLK, MK_LBUTTON, Point(20, 20));
    EXPECT_FALSE(app->Panel().PanelVisible());
    // Pause and back to the start act on the medium playing.
    app->PlayFile((MediaDir() / L"silence_185.mp3").wstring());
    app->Body().Click(PlayerForm::PartImgStop);
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePaused);
    app->Body().Click(PlayerForm::PartImgStop);
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePlaying);
    app->Device()->SetFrom(90000);
    app->Device()->Command(MediaCommand::Play);
    app->Body().Click(PlayerForm::PartImgPrev);
    EXPECT_LT(app->Device()->Position(), 5000);
    app->Device()->Command(MediaCommand::Close);
    // To the notification area: both skinned windows hide.
    app->Body().Click(PlayerForm::PartCmdMinimum);
    EXPECT_EQ(app->PanelControls().ChkHide.Value(), 1);
    EXPECT_FALSE(::IsWindowVisible(app->Skin().Handle()));
    EXPECT_FALSE(::IsWindowVisible(app->Body().Handle()));
}

// The mouse as Windows delivers a double click: down, up, double-click, up.
TEST_F(WindowsTest, ADoubleClickOnAnImageButtonIsOneClickOnACommandButtonTwo) {
    auto app = Start(L"Azure");
    HWND body = app->Body().Handle();
    auto doubleClick = [&](PlayerForm::Part part) {
        const RECT r = app->Body().PartRect(part);
        const LPARAM at = Point((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        ::SendMessageW(body, WM_LBUTTONDOWN, MK_LBUTTON, at);
        ::SendMessageW(body, WM_LBUTTONUP, 0, at);
        ::SendMessageW(body, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
        ::SendMessageW(body, WM_LBUTTONUP, 0, at);
    };
    const std::wstring first = (MediaDir() / L"tone_440.mp3").wstring();
    for (const wchar_t* name : {L"tone_440.mp3", L"chord_c.mp3", L"tone_660.wav"})
        app->PanelControls().LstM3u.AddItem((MediaDir() / name).wstring());
    doubleClick(PlayerForm::PartImgNext);
    EXPECT_EQ(app->PanelControls().LblMediaName.Caption(), first);
    EXPECT_EQ(app->PanelControls().LstM3u.ListCount(), 2u);
    // Pause: a double click pauses once, it does not pause and resume.
    doubleClick(PlayerForm::PartImgStop);
    EXPECT_EQ(app->Device()->Mode(), MediaDevice::kModePaused);
    // A command button takes both clicks: the panel shows and hides again.
    doubleClick(PlayerForm::PartCmdPopup);
    EXPECT_FALSE(app->Panel().PanelVisible());
    app->Device()->Command(MediaCommand::Stop);
    app->Device()->Command(MediaCommand::Close);
}

// What a person sees: the picture and the read-outs in the skin's text colour, the
// times against the right edge of their boxes, the title running under the edge.
TEST_F(WindowsTest, TheBodyWindowPaintsItsPictureAndReadOuts) {
    auto app = Start(L"Ember");
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
        struct Columns {
            int first, last;
        };
        return Columns{first, last};
    };
    const auto now = columnsOf(app->Body().PartRect(PlayerForm::PartLblNTime));
    ASSERT_GE(now.first, 0) << "no text in the skin's colour";
    EXPECT_GE(now.last, 48 - 4);  // right-aligned in its 48-pixel box
    EXPECT_GE(now.first, 30);
    const auto title = columnsOf(app->Body().PartRect(PlayerForm::PartLblTitle));
    EXPECT_GE(title.last, 93);  // still text at the window's right edge
    // The picture behind: a pixel of player.bmp shows at its place (row 15 down).
    win32::unique_hbitmap picture(static_cast<HBITMAP>(
        ::LoadImageW(nullptr, Part(L"Ember", L"player.bmp").c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    win32::unique_memory_dc pictureDc(::CreateCompatibleDC(screen.get()));
    win32::SelectObjectGuard show(pictureDc.get(), picture.get());
    EXPECT_EQ(::GetPixel(dc, 50, 15 + 60), ::GetPixel(pictureDc.get(), 50, 60));
}

}  // namespace
}  // namespace tessel::player::test
