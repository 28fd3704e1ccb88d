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
// Lines of a list file read between two chances for the windows to paint and answer.
inline constexpr std::size_t kLoadBatchLines = 512;
// Queue entries PlayNext tries in one go, and the time after which it stops early,
// before the windows get their turn: a dropped folder of covers and texts can queue
// thousands of files that will not play, and each is a failed open.
inline constexpr std::size_t kSkipSliceEntries = 32;
inline constexpr int kSkipSliceMs = 40;

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
    // Has ContinuePlayNext called once the windows have had their turn (after pending
    // input and painting). Without it PlayNext tries entries until one plays.
    std::function<void()> continueLater;
    // Told whether a medium is open once PlayNext or PlayFile has ended: true when one
    // plays, false when the device was closed for the idle display.
    std::function<void(bool open)> mediumOpen;
    // Called between the batches of a list load (a list of 50 MB takes many seconds):
    // lets the windows paint and answer. False stops the load (the program is ending).
    std::function<bool()> keepResponsive;
};

class PlaybackEngine {
public:
    PlaybackEngine(MediaDevice& mmc, MenuFormControls& menu, PlayerFormControls& body,
                   LLVariable& vars, PlayerServices services);

    // Takes the next (or a random) queue entry and plays it; shows the idle request
    // when there is nothing left to play. Entries that do not play are tried a slice
    // at a time (kSkipSliceEntries, kSkipSliceMs); after a slice the search goes on
    // through continueLater, so the windows answer during a long run of them. A new
    // PlayNext or PlayFile takes the place of a search that is still going on.
    void PlayNext();
    // The next slice of a search that PlayNext began; nothing when none goes on.
    void ContinuePlayNext();
    bool Searching() const { return searching_; }
    // Plays one file at once without touching the queue; falls back to PlayNext.
    void PlayFile(const std::wstring& path);

    // Appends the lines of a list file that name existing files to the queue. The file
    // is read in pieces (its size costs time, not memory) and the entries go into the
    // queue a batch at a time, so the count rises as they arrive, and between batches
    // keepResponsive lets the windows live. Returns false, with nothing changed and
    // `opened` not run, when the file cannot be opened; else `opened` runs before the
    // first entry arrives. While a load runs, a second one (from an event it let run)
    // does nothing.
    bool LoadListFile(const std::wstring& path, const std::function<void()>& opened = {});
    // What a load found: whether the file opened (LoadListFile's result), whether it
    // was read to its end, and how many of its lines could name a file at all
    // (neither empty nor comments), found or not.
    struct LoadOutcome {
        bool opened = false;
        bool read = false;
        std::size_t named = 0;
    };
    LoadOutcome LoadListFileCounting(const std::wstring& path, const std::function<void()>& opened = {});
    // Appends entries to the queue in one batch (the list box does not redraw per
    // item; a full queue drops the rest) and updates LblListCount.
    void AppendToQueue(std::vector<std::wstring> entries);
    void RefreshNameLabels();

    // True while PlayNext, PlayFile or a list load runs (they let pending events run
    // on the way); periodic handlers stay out meanwhile.
    bool Busy() const { return busy_ > 0 || loading_; }

    static int WholeSeconds(std::int32_t ms);
    static std::wstring FileNamePart(const std::wstring& path);
    static std::wstring TrayTipFor(const std::wstring& fileName);

private:
    class BusyScope;
    void Search();
    bool OpenAndPlay(const std::wstring& path);
    void ShowNowPlaying(const std::wstring& path);
    void ShowIdle();

    MediaDevice& mmc_;
    MenuFormControls& menu_;
    PlayerFormControls& body_;
    LLVariable& vars_;
    PlayerServices services_;
    int busy_ = 0;
    bool loading_ = false;
    // A search for an entry that plays goes on (its next slice is asked for), and
    // whether it has refilled the queue from the list file already: one refill per
    // search, or a list whose every entry exists but will not play would be read again
    // and again for ever.
    bool searching_ = false;
    bool refilled_ = false;
};

}  // namespace tessel::player
