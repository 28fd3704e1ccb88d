// What the window tests share: a real Form1 created in this process with its own
// program folder, a message pump with a time limit, and a thread that answers the
// modal boxes (message boxes and file dialogs) the commands open, so that no test can
// hang on one.
#pragma once

#include <windows.h>
#include <commctrl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <deque>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "editor/ui/Form1.h"
#include "editor/ui/metrics.h"
#include "tests/common/temp_dir.h"

namespace listwright::testing {

// Runs pending messages until `done` is true or `ms` milliseconds have passed.
inline bool PumpUntil(const std::function<bool()>& done, int ms = 3000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    for (;;) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        if (done && done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        Sleep(5);
    }
}
inline void Pump(int ms = 50) { PumpUntil({}, ms); }

inline std::wstring ClassOf(HWND hwnd) {
    wchar_t name[128] = {};
    GetClassNameW(hwnd, name, 128);
    return name;
}

inline std::wstring TextOf(HWND hwnd) {
    wchar_t text[2048] = {};
    GetWindowTextW(hwnd, text, 2048);
    return text;
}

// Answers the modal boxes of this process from a second thread. Each rule is used
// once, in order; a box that no rule expects is cancelled after a while and recorded,
// so the test fails instead of hanging.
class BoxAnswerer {
public:
    struct Rule {
        std::wstring title;
        int answer = IDOK;
        std::optional<std::wstring> fileName;  // for file dialogs: the name to enter
    };
    struct Seen {
        std::wstring title;
        std::wstring text;
        bool expected;
        std::wstring nameField;  // file dialogs: the file name it started with
    };

    BoxAnswerer() : thread_([this] { Run(); }) {}
    ~BoxAnswerer() {
        stop_ = true;
        thread_.join();
    }
    void Expect(std::wstring title, int answer, std::optional<std::wstring> fileName = std::nullopt) {
        std::lock_guard<std::mutex> lock(mutex_);
        rules_.push_back(Rule{std::move(title), answer, std::move(fileName)});
    }
    std::vector<Seen> TakeSeen() {
        std::lock_guard<std::mutex> lock(mutex_);
        std::vector<Seen> seen = std::move(seen_);
        seen_.clear();
        return seen;
    }
    bool AllUsed() {
        std::lock_guard<std::mutex> lock(mutex_);
        return rules_.empty();
    }

private:
    static BOOL CALLBACK Collect(HWND hwnd, LPARAM param) {
        DWORD pid = 0;
        GetWindowThreadProcessId(hwnd, &pid);
        if (pid == GetCurrentProcessId() && IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770") {
            reinterpret_cast<std::vector<HWND>*>(param)->push_back(hwnd);
        }
        return TRUE;
    }
    static BOOL CALLBACK CollectText(HWND child, LPARAM param) {
        if (ClassOf(child) == L"Static") {
            const std::wstring t = TextOf(child);
            if (!t.empty()) *reinterpret_cast<std::wstring*>(param) += t;
        }
        return TRUE;
    }
    static BOOL CALLBACK FindNameEdit(HWND child, LPARAM param) {
        // The file-name field: the edit inside the name combo box (cmb13) or edt1.
        const int id = GetDlgCtrlID(child);
        HWND parent = GetParent(child);
        const int parentId = parent ? GetDlgCtrlID(parent) : 0;
        if (ClassOf(child) == L"Edit" && (id == 0x480 || parentId == 0x47c)) {
            *reinterpret_cast<HWND*>(param) = child;
            return FALSE;
        }
        return TRUE;
    }

    void Run() {
        std::set<HWND> handled;
        std::map<HWND, int> unexpectedAge;
        while (!stop_) {
            Sleep(20);
            std::vector<HWND> boxes;
            EnumWindows(&BoxAnswerer::Collect, reinterpret_cast<LPARAM>(&boxes));
            for (HWND box : boxes) {
                if (handled.count(box)) continue;
                std::wstring text;
                EnumChildWindows(box, &BoxAnswerer::CollectText, reinterpret_cast<LPARAM>(&text));
                const std::wstring title = TextOf(box);
                std::optional<Rule> rule;
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    if (!rules_.empty() && rules_.front().title == title) {
                        rule = rules_.front();
                        rules_.pop_front();
                    }
                }
                if (!rule) {
                    // Give a box we do not expect a moment (its rule may come late), then
                    // cancel it.
                    if (++unexpectedAge[box] < 150) continue;
                    handled.insert(box);
                    Record(title, text, false);
                    PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                    PostMessageW(box, WM_CLOSE, 0, 0);
                    continue;
                }
                handled.insert(box);
                std::wstring nameField;
                if (rule->fileName) {
                    HWND edit = nullptr;
                    for (int tries = 0; tries < 100 && !edit; ++tries) {
                        EnumChildWindows(box, &BoxAnswerer::FindNameEdit, reinterpret_cast<LPARAM>(&edit));
                        if (!edit) Sleep(20);
                    }
                    if (edit) {
                        nameField = TextOf(edit);
                        SendMessageW(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(rule->fileName->c_str()));
                    }
                }
                Record(title, text, true, nameField);
                PostMessageW(box, WM_COMMAND, MAKEWPARAM(rule->answer, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(box, rule->answer)));
            }
        }
    }
    void Record(const std::wstring& title, const std::wstring& text, bool expected,
                const std::wstring& nameField = {}) {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(Seen{title, text, expected, nameField});
    }

    std::mutex mutex_;
    std::deque<Rule> rules_;
    std::vector<Seen> seen_;
    std::atomic<bool> stop_{false};
    std::thread thread_;
};

// A real Form1 over a fresh program folder holding m3usetting\ext.ini.
struct EditorWindow : ::testing::Test {
    tessel::testing::TempDir dir;
    std::unique_ptr<Form1> form;
    BoxAnswerer boxes;

    virtual std::string ExtIni() const { return "*.mp3\r\n*.wav\r\n"; }

    void SetUp() override {
        std::filesystem::create_directory(dir / "m3usetting");
        dir.Write("m3usetting/ext.ini", ExtIni());
        form = std::make_unique<Form1>(Form1::Options{dir.path(), false});
        ASSERT_TRUE(form->Create(SW_SHOWNOACTIVATE));
        Pump();
    }
    void TearDown() override {
        if (form && form->Handle()) {
            SendMessageW(form->Handle(), WM_CLOSE, 0, 0);
            Pump();
        }
        form.reset();
        for (const auto& seen : boxes.TakeSeen()) {
            EXPECT_TRUE(seen.expected) << "unexpected box: " << std::string(seen.title.begin(), seen.title.end());
        }
    }

    HWND Handle() const { return form->Handle(); }
    HWND List() const { return form->MainList(); }
    void Command(UINT id) { SendMessageW(Handle(), WM_COMMAND, MAKEWPARAM(id, 0), 0); }

    std::vector<std::wstring> ListBoxTexts() const {
        std::vector<std::wstring> texts;
        const LRESULT n = SendMessageW(List(), LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) {
            const LRESULT len = SendMessageW(List(), LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
            std::wstring t(static_cast<std::size_t>(len) + 1, L'\0');
            SendMessageW(List(), LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(t.data()));
            t.resize(static_cast<std::size_t>(len));
            texts.push_back(t);
        }
        return texts;
    }
    std::vector<bool> ListBoxSelection() const {
        std::vector<bool> flags;
        const LRESULT n = SendMessageW(List(), LB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < n; ++i) flags.push_back(SendMessageW(List(), LB_GETSEL, static_cast<WPARAM>(i), 0) > 0);
        return flags;
    }
    // Selects as the user would: in the list box itself.
    void UserSelect(const std::vector<int>& positions) {
        SendMessageW(List(), LB_SETSEL, FALSE, -1);
        for (int p : positions) SendMessageW(List(), LB_SETSEL, TRUE, p);
    }
    std::wstring StatusText() const {
        // The simple-mode text reads back as part 0.
        wchar_t text[1024] = {};
        SendMessageW(form->SBar(), SB_GETTEXTW, 0, reinterpret_cast<LPARAM>(text));
        return text;
    }
};

// Message text without its line breaks (the box may keep or drop the CR).
inline std::wstring Flat(std::wstring text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c != L'\r' && c != L'\n') out += c;
    }
    return out;
}

inline std::string Narrow(const std::wstring& w) {
    std::string s;
    for (wchar_t c : w) s += c < 128 ? static_cast<char>(c) : '?';
    return s;
}

}  // namespace listwright::testing
