// Second starts of tesselplay.exe handing their files to the running player, in real
// processes: many at once, in order, and what a start says when the player it waits
// for goes away.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "player/panel/MenuForm.h"
#include "player/shared/texts.h"
#include "player/startup/Initialize.h"
#include "player/windows/PlayerForm.h"
#include "tests/support/box_answerer.h"
#include "tests/support/player_folder.h"
#include "tests/support/player_process_test.h"
#include "tests/support/temp_dir.h"
#include "tests/support/win32.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;
using player::kInstanceMutexName;
using player::kPlayerFormClass;

class HandOverProcessTest : public PlayerProcessFixture {
protected:
    HandOverProcessTest() : PlayerProcessFixture("handover") {}

    // A second start that has come as far as the hand-over: its body window, renamed.
    // (Read without a message: a start waiting for its turn need not answer one.)
    static bool AtHandOver(const Process& p) {
        for (HWND window : WindowsOfProcess(p.Id())) {
            wchar_t text[32] = {};
            ::GetWindowTextW(window, text, 32);
            if (ClassOf(window) == kPlayerFormClass && std::wstring(text) == player::texts::kMultiActiveCaption)
                return true;
        }
        return false;
    }
    // A place at the head of the second starts' queue, held by this test.
    struct HeldTurn {
        win32::unique_kernel_handle page{::CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                                              sizeof(player::HandOverQueue),
                                                              player::HandOverQueueName(kInstanceMutexName).c_str())};
        player::HandOverQueue* queue = page ? static_cast<player::HandOverQueue*>(::MapViewOfFile(
                                                  page.get(), FILE_MAP_WRITE, 0, 0, sizeof(player::HandOverQueue)))
                                            : nullptr;
        LONG ticket = queue ? ::InterlockedIncrement(&queue->next) - 1 : -1;
        bool Held() const { return queue && queue->serving == ticket; }
        void Release() {
            queue->holder[ticket % player::kQueueSlots] = 0;
            ::InterlockedIncrement(&queue->serving);
        }
        ~HeldTurn() {
            if (queue) ::UnmapViewOfFile(queue);
        }
    };
};

// Forty second starts at once, all kept waiting (behind a turn this test holds) until
// every one of them is queued, far longer than a start used to wait: the
// running player then takes each file exactly once and every start ends with code 0.
TEST_F(HandOverProcessTest, FortyStartsAtOnceEachHandTheirFileOverExactlyOnce) {
    constexpr int kStarts = 40;
    std::vector<fs::path> files;
    for (int i = 0; i < kStarts; ++i) {
        files.push_back(dir / (L"burst " + std::to_wstring(i) + L".mp3"));
        fs::copy_file(MediaDir() / L"silence_185.mp3", files.back());
    }
    Process first(exe, L"");
    HWND body = WaitForPlayerBody(first);
    ASSERT_NE(body, nullptr);
    HeldTurn turn;
    ASSERT_TRUE(turn.Held());
    turn.queue->holder[turn.ticket % player::kQueueSlots] = static_cast<LONG>(::GetCurrentProcessId());

    std::vector<Process> seconds;
    seconds.reserve(kStarts);
    for (const fs::path& f : files) seconds.emplace_back(exe, Quoted(f));
    std::vector<bool> waiting(kStarts, false);
    ASSERT_TRUE(WaitUntil(
        [&] {
            for (int i = 0; i < kStarts; ++i) waiting[i] = waiting[i] || AtHandOver(seconds[i]);
            return std::all_of(waiting.begin(), waiting.end(), [](bool w) { return w; });
        },
        240s));
    Pump(12s);  // longer than any start waited for its turn before
    turn.Release();

    HWND panel = PanelControl(first, player::MenuForm::IdLblScrMediaName);
    ASSERT_NE(panel, nullptr);
    std::vector<std::wstring> shown;
    WaitUntil(
        [&] {
            const std::wstring now = WindowText(panel);
            if (now != L" " && !now.empty() && (shown.empty() || shown.back() != now)) shown.push_back(now);
            return shown.size() >= kStarts &&
                   std::none_of(seconds.begin(), seconds.end(), [](const Process& p) { return p.Running(); });
        },
        120s);
    std::map<std::wstring, int> times;
    for (const auto& s : shown) ++times[s];
    for (const fs::path& f : files) EXPECT_EQ(times[L" " + f.wstring()], 1) << Printable(f.wstring());
    EXPECT_EQ(shown.size(), static_cast<std::size_t>(kStarts));
    for (auto& s : seconds) {
        DWORD code = 99;
        EXPECT_TRUE(s.WaitExit(5s, &code));
        EXPECT_EQ(code, 0u);
    }
    EXPECT_TRUE(first.Running());
}

// With a mailbox of this test's own (the instance's name held and a window of the
// player's class captioned "PlayerForm"), five starts made one after another are taken
// in the order they were made. A start whose file sits in the mailbox when the player
// goes, and one queued behind it, each say so in a box naming their file and the
// cause, and end with code 1.
TEST_F(HandOverProcessTest, FilesAreTakenInTheOrderOfTheStartsAndALostHandOverIsReported) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = ::DefWindowProcW;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = kPlayerFormClass;
    ASSERT_TRUE(::RegisterClassW(&wc) || ::GetLastError() == ERROR_CLASS_ALREADY_EXISTS);
    win32::unique_kernel_handle instance(::CreateMutexW(nullptr, FALSE, kInstanceMutexName));
    ASSERT_TRUE(instance && ::GetLastError() != ERROR_ALREADY_EXISTS);
    HWND mailbox = ::CreateWindowExW(0, kPlayerFormClass, player::texts::kPlayerFormCaption, WS_POPUP, 0, 0, 10, 10,
                                     nullptr, nullptr, wc.hInstance, nullptr);
    ASSERT_NE(mailbox, nullptr);

    std::vector<std::wstring> files;
    for (int i = 0; i < 7; ++i) files.push_back(dir.Write(L"in order " + std::to_wstring(i) + L".mp3", "x").wstring());
    std::vector<Process> seconds;
    seconds.reserve(files.size());
    for (int i = 0; i < 5; ++i) {
        seconds.emplace_back(exe, Quoted(files[i]));
        ASSERT_TRUE(WaitUntil([&] { return AtHandOver(seconds.back()); }, 30s));
        Pump(300ms);  // from there to its place in the queue
    }
    std::vector<std::wstring> taken;
    WaitUntil(
        [&] {
            const std::wstring now = WindowText(mailbox);
            if (now != player::texts::kPlayerFormCaption) {
                taken.push_back(now);
                ::SetWindowTextW(mailbox, player::texts::kPlayerFormCaption);
            }
            return taken.size() >= 5;
        },
        30s);
    EXPECT_EQ(taken, std::vector<std::wstring>(files.begin(), files.begin() + 5));
    for (auto& s : seconds) {
        DWORD code = 99;
        // (The mailbox must go on answering until the last start has seen its file taken.)
        EXPECT_TRUE(WaitUntil([&] { return !s.Running(); }, 10s) && s.WaitExit(0ms, &code));
        EXPECT_EQ(code, 0u);
    }

    // The sixth writes its file and waits for it to be taken; the seventh queues.
    seconds.emplace_back(exe, Quoted(files[5]));
    BoxAnswerer sixth(seconds.back().Id());
    sixth.Expect(player::texts::kErrorTitle, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(mailbox) == files[5]; }, 30s));
    seconds.emplace_back(exe, Quoted(files[6]));
    BoxAnswerer seventh(seconds.back().Id());
    seventh.Expect(player::texts::kErrorTitle, IDOK);
    ASSERT_TRUE(WaitUntil([&] { return AtHandOver(seconds.back()); }, 30s));
    Pump(300ms);
    ::DestroyWindow(mailbox);
    instance.reset();
    for (auto [boxes, i] : {std::pair{&sixth, 5}, std::pair{&seventh, 6}}) {
        ASSERT_TRUE(boxes->WaitSeen(1, 30s)) << i;
        const std::wstring text = boxes->TakeSeen().at(0).text;
        EXPECT_NE(text.find(files[i]), std::wstring::npos) << Printable(text);
        EXPECT_NE(text.find(player::texts::kHandOverPlayerEnded), std::wstring::npos) << Printable(text);
        DWORD code = 99;
        EXPECT_TRUE(seconds[i].WaitExit(10s, &code));
        EXPECT_EQ(code, 1u);
    }
}

}  // namespace
}  // namespace tessel::test
