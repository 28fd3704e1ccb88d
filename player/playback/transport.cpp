#include "player/playback/transport.h"

#include <array>
#include <iterator>

#include "editor/listfile/listfile.h"
#include "player/shared/texts.h"

namespace tessel::player {

void PausePlay(MediaDevice& mmc) { mmc.Command(MediaCommand::Pause); }

void PlayFromStart(MediaDevice& mmc) {
    mmc.SetFrom(0);
    mmc.Command(MediaCommand::Play);
}

int VolumeLevelAfterKey(int keyCode, int level) {
    if (keyCode == kKeyUp) return level > 240 ? 255 : level + 10;
    if (keyCode == kKeyDown) return level < 15 ? 0 : level - 10;
    return level;
}

void HandleKey(int keyCode, PlaybackEngine& engine, MediaDevice& mmc, ScrollBar& ScrVolume) {
    switch (keyCode) {
        case kKeyBack: PlayFromStart(mmc); break;
        case kKeyReturn: engine.PlayNext(); break;
        case kKeySpace: PausePlay(mmc); break;
        case kKeyUp:
        case kKeyDown: ScrVolume.SetValue(VolumeLevelAfterKey(keyCode, ScrVolume.Value())); break;
        default: break;
    }
}

namespace {

// In the order of texts::kDisplaySizes, the captions start-up fills in.
constexpr std::array<DisplaySize, kDisplaySizeCount> kDisplaySizes{{
    {DisplayAction::Restore, 0, 0},
    {DisplayAction::Resize, 320, 240},
    {DisplayAction::Resize, 400, 300},
    {DisplayAction::Resize, 640, 480},
    {DisplayAction::Resize, 800, 600},
    {DisplayAction::Resize, 1024, 768},
    {DisplayAction::Minimize, 0, 0},
    {DisplayAction::Maximize, 0, 0},
    {DisplayAction::Hide, 0, 0},
}};
static_assert(std::size(texts::kDisplaySizes) == kDisplaySizeCount);

}  // namespace

DisplaySize DisplaySizeFor(int index) {
    if (index < 0 || index >= kDisplaySizeCount) return {};
    return kDisplaySizes[static_cast<std::size_t>(index)];
}

void ApplyDisplaySize(const ComboBox& CmbDispSize, const LLVariable& vars, VideoWindows& windows) {
    const DisplaySize size = DisplaySizeFor(CmbDispSize.ListIndex());
    const WindowId window = vars.VideoWindowHandle;
    if (size.action == DisplayAction::None || window == 0 || !windows.IsVideoWindow(window)) return;
    if (size.action == DisplayAction::Resize) {
        windows.Resize(window, vars.VideoWindowRect.left, vars.VideoWindowRect.top, size.width, size.height);
    } else {
        windows.Show(window, size.action);
    }
}

bool ChooseListFile(PlaybackEngine& engine, MenuFormControls& menu, const ListFileDialogs& dialogs) {
    const std::optional<std::wstring> chosen = dialogs.showOpen ? dialogs.showOpen() : std::nullopt;
    if (!chosen || chosen->empty()) return false;
    // A file that cannot be measured is gone or unreadable: the choice ends like a
    // cancelled dialog.
    const std::optional<std::uint64_t> size = dialogs.fileSize ? dialogs.fileSize(*chosen) : std::nullopt;
    if (!size) return false;
    if (listfile::NeedsSizeConfirmation(*size) && !(dialogs.confirmLargeFile && dialogs.confirmLargeFile())) {
        return false;
    }
    // Opened before anything changes, so a file that vanishes after the question
    // leaves the list name and the queue as they were; then the queue fills as the
    // file is read, however long that takes.
    const bool loaded = engine.LoadListFile(*chosen, [&] {
        menu.LblM3uName.SetCaption(*chosen);
        menu.LstM3u.Clear();
        menu.LblListCount.SetCaption(L"0");
    });
    if (!loaded) return false;
    engine.RefreshNameLabels();
    return true;
}

std::wstring MarqueeStep(const std::wstring& title) {
    if (title.size() <= 1) return title;
    // A character outside the BMP is two UTF-16 units; they move together.
    const std::size_t first =
        (title.size() > 2 && title[0] >= 0xD800 && title[0] <= 0xDBFF && title[1] >= 0xDC00 && title[1] <= 0xDFFF)
            ? 2 : 1;
    return title.substr(first) + title.substr(0, first);
}

}  // namespace tessel::player
