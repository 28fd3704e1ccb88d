// The play queue engine (module Player): takes entries off the queue LstM3u, opens and
// plays them through the media device and shows what plays. Also the list loading
// (LoadListFile) and the name read-outs (RefreshNameLabels) it refills and refreshes
// through. No window code: the services below are the platform's part.
#pragma once

#include <functional>
#include <optional>
#include <vector>
#include <string>

#include "player/playback/mmc/media_device.h"
#include "player/shared/llvariable.h"

namespace tessel::player {

inline constexpr const wchar_t* kIdleTitle = L"        リストファイルを選択してください     ";
inline constexpr const wchar_t* kVideoClassDirectShow = L"MCIQTZ_Window";
inline constexpr const wchar_t* kVideoClassAvi = L"AVIWnd32";
inline constexpr std::size_t kTrayTipWidth = 64;

struct PlayerServices {
    // Does a file (not a folder) exist at exactly this text? Default: FileExistsExact.
    std::function<bool(const std::wstring&)> fileExists;
    // A window of this class and title, 0 if none.
    std::function<WindowId(const std::wstring& windowClass, const std::wstring& title)> findWindow;
    // Puts a window above all non-topmost ones without moving or activating it.
    std::function<void(WindowId)> makeTopmost;
    // Sizes or shows the video window after the display-size choice.
    std::function<void()> applyDisplaySize;
    // New tip text of the notification-area icon (kTrayTipWidth characters).
    std::function<void(const std::wstring&)> setTrayTip;
    // Stops the two name-scrolling timers.
    std::function<void()> stopNameScrolling;
    // Lets pending window events run once.
    std::function<void()> pumpEvents;
    // A number drawn uniformly from [0, 1). Default: a clock-seeded generator.
    std::function<double()> random;
};

class PlaybackEngine {
public:
    PlaybackEngine(MediaDevice& mmc, MenuFormControls& menu, PlayerFormControls& body,
                   LLVariable& vars, PlayerServices services);

    // Takes the next (or a random) queue entry and plays it; shows the idle request
    // when there is nothing left to play.
    void PlayNext();
    // Plays one file at once without touching the queue; falls back to PlayNext.
    void PlayFile(const std::wstring& path);

    // Appends the lines of a list file that name existing files to the queue.
    void LoadListFile(const std::wstring& path);
    // The lines of a list file that name existing files, at most `limit` of them, in
    // file order; nothing when the file is missing or cannot be read. The file is read
    // in pieces, so its size costs time but not memory; a line too long to be a path
    // is skipped unread.
    std::optional<std::vector<std::wstring>> ReadListFileEntries(const std::wstring& path,
                                                                 std::size_t limit) const;
    // Appends entries to the queue in one batch (the list box does not redraw per
    // item; a full queue drops the rest) and updates LblListCount.
    void AppendToQueue(std::vector<std::wstring> entries);
    void RefreshNameLabels();

    // True while PlayNext or PlayFile runs (they let pending events run on the way);
    // periodic handlers stay out meanwhile.
    bool Busy() const { return busy_ > 0; }

    static int WholeSeconds(std::int32_t ms);
    static std::wstring FileNamePart(const std::wstring& path);
    static std::wstring TrayTipFor(const std::wstring& fileName);

private:
    class BusyScope;
    bool OpenAndPlay(const std::wstring& path);
    void ShowNowPlaying(const std::wstring& path);
    void ShowIdle();

    MediaDevice& mmc_;
    MenuFormControls& menu_;
    PlayerFormControls& body_;
    LLVariable& vars_;
    PlayerServices services_;
    int busy_ = 0;
};

}  // namespace tessel::player
