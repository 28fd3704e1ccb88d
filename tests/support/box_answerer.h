// Answers the dialog boxes (message boxes and file dialogs) of a process, this one by
// default, from a thread of its own, so that a command that opens a modal box can be
// sent and a test never hangs on one.
//
// Each expected box is answered in order, by its title (an empty title takes any box)
// with its button; for a file dialog a file name is typed first. A box that no rule
// expects is cancelled after a few seconds and recorded as unexpected.
#pragma once

#include <windows.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

namespace tessel::test {

class BoxAnswerer {
public:
    struct Seen {
        std::wstring title;
        std::wstring text;       // the box's static texts, without line breaks
        bool expected = false;
        std::wstring nameField;  // file dialogs: the file name it showed at first
    };

    explicit BoxAnswerer(DWORD processId = ::GetCurrentProcessId());
    ~BoxAnswerer();
    BoxAnswerer(const BoxAnswerer&) = delete;
    BoxAnswerer& operator=(const BoxAnswerer&) = delete;

    // `inspect` runs on the box (from the answering thread) before it is answered.
    void Expect(std::wstring title, int button, std::optional<std::wstring> fileName = std::nullopt,
                std::function<void(HWND)> inspect = {});
    // The boxes seen since the last call, in the order they came.
    std::vector<Seen> TakeSeen();
    // True once every expected box was answered.
    bool AllUsed();
    // Runs this thread's messages until `count` boxes were seen (not yet taken).
    bool WaitSeen(std::size_t count, std::chrono::milliseconds limit);

private:
    struct Rule {
        std::wstring title;
        int button;
        std::optional<std::wstring> fileName;
        std::function<void(HWND)> inspect;
    };
    void Run();
    void Answer(HWND box, const std::wstring& title, const Rule& rule);

    DWORD processId_;
    std::mutex mutex_;
    std::deque<Rule> rules_;
    std::vector<Seen> seen_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

}  // namespace tessel::test
