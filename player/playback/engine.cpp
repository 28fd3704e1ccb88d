#include "player/playback/engine.h"

#include <chrono>
#include <algorithm>
#include <cmath>
#include <iterator>
#include <string_view>
#include <cstdint>
#include <random>

#include "common/fileio.h"
#include "common/cp932.h"
#include "common/flag_scope.h"
#include "common/textfile.h"
#include "editor/listfile/listfile.h"

namespace tessel::player {

class PlaybackEngine::BusyScope {
public:
    explicit BusyScope(int& counter) : counter_(counter) { ++counter_; }
    ~BusyScope() { --counter_; }
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;

private:
    int& counter_;
};

namespace {

double ClockSeededRandom() {
    static std::mt19937_64 generator = [] {
        std::random_device device;
        const auto ticks = static_cast<std::uint64_t>(
            std::chrono::high_resolution_clock::now().time_since_epoch().count());
        std::seed_seq seq{static_cast<std::uint32_t>(ticks), static_cast<std::uint32_t>(ticks >> 32),
                          device(), device()};
        return std::mt19937_64(seq);
    }();
    return std::uniform_real_distribution<double>(0.0, 1.0)(generator);
}

}  // namespace

PlaybackEngine::PlaybackEngine(MediaDevice& mmc, MenuFormControls& menu, PlayerFormControls& body,
                               LLVariable& vars, PlayerServices services)
    : mmc_(mmc), menu_(menu), body_(body), vars_(vars), services_(std::move(services)) {
    if (!services_.fileExists) {
        services_.fileExists = [](const std::wstring& p) { return FileExistsExact(p); };
    }
    if (!services_.random) services_.random = ClockSeededRandom;
}

int PlaybackEngine::WholeSeconds(std::int32_t ms) {
    // Rounded down, also for the (never expected) negative reading.
    return static_cast<int>(std::floor(static_cast<double>(ms) / 1000.0));
}

std::wstring PlaybackEngine::FileNamePart(const std::wstring& path) {
    const auto cut = path.find_last_of(L"\\/");
    return cut == std::wstring::npos ? path : path.substr(cut + 1);
}

std::wstring PlaybackEngine::TrayTipFor(const std::wstring& fileName) {
    std::wstring tip = fileName.substr(0, kTrayTipWidth);
    tip.resize(kTrayTipWidth, L' ');
    return tip;
}

void PlaybackEngine::PlayNext() {
    // Asked again by an event a list load lets run: the load's own caller plays next.
    if (loading_) return;
    searching_ = true;
    refilled_ = false;
    Search();
}

void PlaybackEngine::ContinuePlayNext() {
    if (!searching_) return;
    // Come while a list load lets events run: the search goes on after it.
    if (Busy()) {
        if (services_.continueLater) services_.continueLater();
        return;
    }
    Search();
}

void PlaybackEngine::Search() {
    BusyScope busy(busy_);
    ListBox& queue = menu_.LstM3u;
    const auto began = std::chrono::steady_clock::now();
    std::size_t tried = 0;
    for (;;) {
        if (services_.continueLater &&
            (tried >= kSkipSliceEntries ||
             (tried > 0 && std::chrono::steady_clock::now() - began >= std::chrono::milliseconds(kSkipSliceMs)))) {
            services_.continueLater();
            return;
        }
        if (queue.ListCount() == 0) {
            if (menu_.ChkEndless.Value() != 1 || refilled_) {
                searching_ = false;
                ShowIdle();
                return;
            }
            refilled_ = true;
            queue.Clear();
            const LoadOutcome load = LoadListFileCounting(menu_.LblM3uName.Caption());
            if (queue.ListCount() == 0) {
                // Only a list that was read whole and names nothing is forgotten. One
                // that cannot be read now, or whose every entry is missing, is most
                // likely on a drive that is not there yet (a network drive not yet
                // reconnected, a stick pulled out): the name stays for a later try and
                // for the settings file. Idle closes the device, so nothing retries
                // by itself.
                if (load.read && load.named == 0) menu_.LblM3uName.SetCaption(L"");
                searching_ = false;
                ShowIdle();
                return;
            }
        }
        std::size_t index = 0;
        if (menu_.ChkRandom.Value() == 1) {
            const std::size_t n = queue.ListCount();
            double r = services_.random();
            if (!(r >= 0.0 && r < 1.0)) r = 0.0;
            index = static_cast<std::size_t>(std::floor(static_cast<double>(n) * r));
            if (index >= n) index = n - 1;
        }
        const std::wstring path = queue.List(index);
        queue.RemoveItem(index);
        ++tried;
        if (!services_.fileExists(path)) continue;
        if (!OpenAndPlay(path)) continue;
        searching_ = false;
        ShowNowPlaying(path);
        return;
    }
}

void PlaybackEngine::PlayFile(const std::wstring& path) {
    if (loading_) return;
    // A list handed over (command line, second start) replaces the queue as if chosen,
    // and plays from its start.
    if (listfile::IsListFileName(PathFromWide(path)) && LoadListFile(path, [&] {
            menu_.LblM3uName.SetCaption(path);
            menu_.LstM3u.Clear();
        })) {
        RefreshNameLabels();
        BusyScope busy(busy_);
        PlayNext();
        return;
    }
    BusyScope busy(busy_);
    // The file takes the place of a search still going on.
    searching_ = false;
    if (services_.fileExists(path) && OpenAndPlay(path)) {
        ShowNowPlaying(path);
        return;
    }
    PlayNext();
}

bool PlaybackEngine::OpenAndPlay(const std::wstring& path) {
    if (mmc_.Mode() != MediaDevice::kModeStopped) mmc_.Command(MediaCommand::Stop);
    if (mmc_.Mode() != MediaDevice::kModeNotOpen) mmc_.Command(MediaCommand::Close);
    mmc_.SetNotify(false);
    mmc_.SetWait(true);
    mmc_.SetUpdateInterval(1000);
    mmc_.SetFileName(path);
    mmc_.Command(MediaCommand::Open);
    mmc_.Command(MediaCommand::Play);
    return mmc_.Length() != 0;
}

void PlaybackEngine::ShowNowPlaying(const std::wstring& path) {
    const std::wstring name = FileNamePart(path);
    menu_.LblMediaName.SetCaption(path);
    body_.LblTitle.SetCaption(std::wstring(5, L' ') + name + std::wstring(14, L' '));
    const int lengthSeconds = WholeSeconds(mmc_.Length());
    body_.LblTTime.SetCaption(std::to_wstring(lengthSeconds));
    body_.LblNTime.SetCaption(std::to_wstring(WholeSeconds(mmc_.Position())));
    // The bar's range is 16-bit: a medium of more than 32767 s gets a bar that ends
    // there; the read-outs still show the true times.
    body_.ScrTime.SetMax(std::clamp(lengthSeconds, 0, 32767));
    body_.ScrTime.SetValue(0);
    if (services_.setTrayTip) services_.setTrayTip(TrayTipFor(name));

    vars_.VideoWindowHandle = 0;
    if (services_.findWindow) {
        vars_.VideoWindowHandle = services_.findWindow(kVideoClassMediaFoundation, mmc_.FileName());
        if (vars_.VideoWindowHandle == 0) {
            vars_.VideoWindowHandle = services_.findWindow(kVideoClassDirectShow, mmc_.FileName());
        }
        if (vars_.VideoWindowHandle == 0) {
            vars_.VideoWindowHandle = services_.findWindow(kVideoClassAvi, name);
        }
    }
    if (vars_.VideoWindowHandle != 0 && services_.applyDisplaySize) services_.applyDisplaySize();
    if (vars_.VideoWindowHandle != 0 && services_.makeTopmost) services_.makeTopmost(vars_.VideoWindowHandle);

    RefreshNameLabels();
    menu_.LblListCount.SetCaption(std::to_wstring(menu_.LstM3u.ListCount()));
    if (services_.mediumOpen) services_.mediumOpen(true);
}

void PlaybackEngine::ShowIdle() {
    mmc_.Command(MediaCommand::Stop);
    mmc_.Command(MediaCommand::Close);
    menu_.LblMediaName.SetCaption(L"");
    body_.LblNTime.SetCaption(L"0");
    body_.LblTTime.SetCaption(L"0");
    body_.LblTitle.SetCaption(kIdleTitle);
    // Entries skipped on the way are gone from the queue; the count says so.
    menu_.LblListCount.SetCaption(std::to_wstring(menu_.LstM3u.ListCount()));
    if (services_.mediumOpen) services_.mediumOpen(false);
}

bool PlaybackEngine::LoadListFile(const std::wstring& path, const std::function<void()>& opened) {
    return LoadListFileCounting(path, opened).opened;
}

PlaybackEngine::LoadOutcome PlaybackEngine::LoadListFileCounting(const std::wstring& path,
                                                                 const std::function<void()>& opened) {
    LoadOutcome outcome;
    if (loading_ || path.empty() || !services_.fileExists(path)) return outcome;
    std::wstring error;
    std::optional<TextLineReader> reader = listfile::OpenListForPlaying(PathFromWide(path), error);
    if (!reader) return outcome;
    outcome.opened = true;
    const FlagScope scope(loading_);
    if (opened) opened();
    listfile::LoadOptions options;
    options.limit = ListBox::kMaxItems - std::min(ListBox::kMaxItems, menu_.LstM3u.ListCount());
    // Small enough that even lines naming missing files (each test can cost
    // milliseconds under Wine) leave the windows answering several times a second.
    options.batchLines = kLoadBatchLines;
    // Every line offered to the existence test could have named a file (empty lines
    // never are); comment lines of extended lists are not counted.
    const auto exists = [this, &outcome](const std::wstring& line) {
        if (line[0] != L'#') ++outcome.named;
        return services_.fileExists(line);
    };
    const listfile::LoadResult result =
        listfile::LoadExistingEntries(*reader, exists, options, [this](std::vector<std::wstring>& batch) {
            if (!batch.empty()) AppendToQueue(std::move(batch));
            return !services_.keepResponsive || services_.keepResponsive();
        });
    outcome.read = result.ok && !result.stopped;
    // Also when nothing was found: the count says what the queue holds now.
    menu_.LblListCount.SetCaption(std::to_wstring(menu_.LstM3u.ListCount()));
    return outcome;
}

void PlaybackEngine::AppendToQueue(std::vector<std::wstring> entries) {
    menu_.LstM3u.BeginBatch();
    for (std::wstring& entry : entries) {
        // A full queue takes no more; the rest of the file is dropped.
        if (!menu_.LstM3u.AddItem(std::move(entry))) break;
    }
    menu_.LstM3u.EndBatch();
    menu_.LblListCount.SetCaption(std::to_wstring(menu_.LstM3u.ListCount()));
}

void PlaybackEngine::RefreshNameLabels() {
    if (services_.stopNameScrolling) services_.stopNameScrolling();
    if (services_.pumpEvents) services_.pumpEvents();
    menu_.LblScrLstName.SetCaption(L" " + menu_.LblM3uName.Caption());
    menu_.LblScrMediaName.SetCaption(L" " + menu_.LblMediaName.Caption());
}

}  // namespace tessel::player
