// The transport commands, the key map, the display sizes and the marquee, on a fake
// device and fake video windows.
#include "player/playback/transport.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "player/playback/polling.h"
#include "player/shared/texts.h"
#include "tests/support/fake_device.h"

namespace tessel::player {
namespace {

using tessel::test::FakeDevice;

TEST(KeyMap, VolumeStepsOfTenWithExactEnds) {
    struct Case {
        int key, from, to;
    };
    const Case cases[] = {
        {kKeyUp, 245, 255}, {kKeyUp, 240, 250}, {kKeyUp, 241, 255}, {kKeyUp, 255, 255}, {kKeyUp, 0, 10},
        {kKeyDown, 14, 0},  {kKeyDown, 15, 5},  {kKeyDown, 0, 0},   {kKeyDown, 255, 245},
        {kKeySpace, 100, 100}, {65, 100, 100},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(VolumeLevelAfterKey(c.key, c.from), c.to) << "key " << c.key << " from " << c.from;
    }
}

// The keys over a queue of two media (the media keys: media_key_process_test).
class Keys : public ::testing::Test {
protected:
    FakeDevice device;
    MenuFormControls menu;
    PlayerFormControls body;
    LLVariable vars;
    PlaybackEngine engine{device, menu, body, vars, Services()};

    PlayerServices Services() {
        device.lengths = {{L"a.mp3", 3500}, {L"b.mp3", 3500}};
        menu.LstM3u.AddItem(L"a.mp3");
        menu.LstM3u.AddItem(L"b.mp3");
        PlayerServices services;
        services.fileExists = [this](const std::wstring& p) { return device.lengths.count(p) > 0; };
        return services;
    }
    void Key(int key) { HandleKey(key, engine, device, body.ScrVolume); }
};

// Up and Down move the volume bar through its change handler; Return plays the next
// entry; other keys do nothing. (Space and BackSpace on the real device: the in-process
// player's playback test.)
TEST_F(Keys, VolumeKeysMoveTheBarReturnPlaysTheNextEntryOtherKeysNothing) {
    std::vector<int> seen;
    body.ScrVolume.onChange = [&] { seen.push_back(body.ScrVolume.Value()); };
    body.ScrVolume.SetValue(245);
    Key(kKeyUp);
    Key(kKeyUp);  // already at the end: no change
    Key(kKeyDown);
    EXPECT_EQ(seen, (std::vector<int>{245, 255, 245}));
    EXPECT_TRUE(device.commands.empty());
    Key(kKeyReturn);
    EXPECT_EQ(device.Playing(), L"a.mp3");
    Key(kKeyReturn);
    EXPECT_EQ(device.Playing(), L"b.mp3");
    EXPECT_EQ(menu.LstM3u.ListCount(), 0u);
    const std::size_t sent = device.commands.size();
    Key(9);
    Key(27);
    EXPECT_EQ(device.commands.size(), sent);
}

// Video windows as a test sees them: a set of live handles and what was done to them.
class FakeVideoWindows : public VideoWindows {
public:
    std::set<WindowId> live;
    ScreenRect rect{10, 20, 338, 287};
    std::vector<std::wstring> calls;

    bool IsVideoWindow(WindowId window) const override { return live.count(window) > 0; }
    bool Rect(WindowId window, ScreenRect& r) const override {
        if (!IsVideoWindow(window)) return false;
        r = rect;
        return true;
    }
    void Resize(WindowId window, int left, int top, int width, int height) override {
        calls.push_back(L"resize " + std::to_wstring(window) + L" " + std::to_wstring(left) + L"," +
                        std::to_wstring(top) + L" " + std::to_wstring(width) + L"x" + std::to_wstring(height));
    }
    void Show(WindowId window, DisplayAction action) override {
        calls.push_back(L"show " + std::to_wstring(window) + L" " + std::to_wstring(static_cast<int>(action)));
    }
    void MakeTopmost(WindowId window) override { calls.push_back(L"topmost " + std::to_wstring(window)); }
};

TEST(DisplaySize, SizesGoToTheLastTrackedPlaceOfOurVideoWindowOnly) {
    MenuFormControls menu;
    for (const wchar_t* caption : texts::kDisplaySizes) menu.CmbDispSize.AddItem(caption);
    LLVariable vars;
    vars.VideoWindowHandle = 7;
    vars.VideoWindowRect = {150, 60, 478, 327};
    FakeVideoWindows windows;
    windows.live = {7};

    ApplyDisplaySize(menu.CmbDispSize, vars, windows);  // nothing selected
    EXPECT_TRUE(windows.calls.empty());
    EXPECT_EQ(DisplaySizeFor(-1).action, DisplayAction::None);
    EXPECT_EQ(DisplaySizeFor(kDisplaySizeCount).action, DisplayAction::None);
    menu.CmbDispSize.SetListIndex(3);
    ApplyDisplaySize(menu.CmbDispSize, vars, windows);
    menu.CmbDispSize.SetListIndex(8);
    ApplyDisplaySize(menu.CmbDispSize, vars, windows);
    menu.CmbDispSize.SetListIndex(0);
    ApplyDisplaySize(menu.CmbDispSize, vars, windows);
    EXPECT_EQ(windows.calls, (std::vector<std::wstring>{L"resize 7 150,60 640x480", L"show 7 5", L"show 7 1"}));
    // A handle that no longer names our video window (destroyed; the number may be
    // somebody else's now), or none, is left alone.
    windows.calls.clear();
    windows.live = {8};
    ApplyDisplaySize(menu.CmbDispSize, vars, windows);
    vars.VideoWindowHandle = 0;
    ApplyDisplaySize(menu.CmbDispSize, vars, windows);
    EXPECT_TRUE(windows.calls.empty());
}

TEST(Marquee, MovesTheFirstCharacterToTheEnd) {
    EXPECT_EQ(MarqueeStep(L"a"), L"a");
    EXPECT_EQ(MarqueeStep(L""), L"");
    EXPECT_EQ(MarqueeStep(L"     曲.mp3 "), L"    曲.mp3  ");
    // A character beyond the BMP moves whole.
    EXPECT_EQ(MarqueeStep(L"\U0001F3B5x"), L"x\U0001F3B5");
}

// The main timer over the keys' queue.
class MainTimerTest : public Keys {
protected:
    FakeVideoWindows windows;
    std::wstring caption = L"PlayerForm";
    std::vector<std::wstring> captions;
    std::optional<std::int32_t> level;
    MainTimerServices services;

    void SetUp() override {
        services.videoWindows = &windows;
        services.readVolumeLevel = [this] { return level; };
        services.caption = [this] { return caption; };
        services.setCaption = [this](const std::wstring& c) {
            caption = c;
            captions.push_back(c);
        };
    }
    void Tick() { OnMainTimer(engine, device, body, vars, services); }
};

TEST_F(MainTimerTest, TracksTheVideoWindowOnlyWhilePlaying) {
    device.lengths[L"v.mp4"] = 4000;
    engine.PlayFile(L"v.mp4");
    vars.VideoWindowHandle = 5;
    windows.live = {5};
    device.position = 1000;
    Tick();
    EXPECT_EQ(vars.VideoWindowRect.left, 10);
    EXPECT_EQ(vars.VideoWindowRect.bottom, 287);
    // Stopped, or at its end: the place stays frozen.
    windows.rect = {300, 300, 628, 567};
    device.position = 4000;
    Tick();
    device.position = 2000;
    device.mode = MediaDevice::kModeStopped;
    Tick();
    EXPECT_EQ(vars.VideoWindowRect.left, 10);
    device.mode = MediaDevice::kModePlaying;
    Tick();
    EXPECT_EQ(vars.VideoWindowRect.left, 300);
    // The window went away: its handle is forgotten, the place kept.
    windows.live.clear();
    Tick();
    EXPECT_EQ(vars.VideoWindowHandle, 0u);
    EXPECT_EQ(vars.VideoWindowRect.left, 300);
}

// Each tick steps the marquee, reads the volume back unless the user is changing it,
// and takes a handed-over file.
TEST_F(MainTimerTest, MarqueeVolumeAndHandOver) {
    body.LblTitle.SetCaption(L"ab");
    body.ScrVolume.SetValue(100);
    level = 200;
    Tick();
    EXPECT_EQ(body.LblTitle.Caption(), L"ba");
    EXPECT_EQ(body.ScrVolume.Value(), 200);
    EXPECT_TRUE(captions.empty());
    level = 50;
    vars.VolumeActive = true;
    Tick();
    EXPECT_EQ(body.ScrVolume.Value(), 200);
    vars.VolumeActive = false;
    level.reset();  // channels apart, silence, unreadable: the bar keeps its place
    Tick();
    EXPECT_EQ(body.ScrVolume.Value(), 200);
    // A path that does not exist falls back to the queue; the caption is restored.
    caption = L"\"missing.mp3\"";
    Tick();
    EXPECT_EQ(caption, L"PlayerForm");
    EXPECT_EQ(device.FileName(), L"a.mp3");
    EXPECT_EQ(menu.LblMediaName.Caption(), L"a.mp3");
}

}  // namespace
}  // namespace tessel::player
