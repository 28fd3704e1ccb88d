#include "tests/support/box_answerer.h"

#include <map>
#include <set>
#include <utility>

#include "tests/support/win32.h"

namespace tessel::test {
namespace {

// The file-name field of an open or save dialog: the edit inside the name combo box
// (cmb13) of the explorer-style dialog, or edt1.
HWND NameField(HWND dialog) {
    HWND found = nullptr;
    ::EnumChildWindows(
        dialog,
        [](HWND child, LPARAM param) -> BOOL {
            HWND parent = ::GetParent(child);
            const int parentId = parent ? ::GetDlgCtrlID(parent) : 0;
            if (ClassOf(child) == L"Edit" && (::GetDlgCtrlID(child) == 0x480 || parentId == 0x47c)) {
                *reinterpret_cast<HWND*>(param) = child;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

}  // namespace

BoxAnswerer::BoxAnswerer(DWORD processId) : processId_(processId), thread_([this] { Run(); }) {}

BoxAnswerer::~BoxAnswerer() {
    stop_ = true;
    thread_.join();
}

void BoxAnswerer::Expect(std::wstring title, int button, std::optional<std::wstring> fileName,
                         std::function<void(HWND)> inspect) {
    std::lock_guard<std::mutex> lock(mutex_);
    rules_.push_back(Rule{std::move(title), button, std::move(fileName), std::move(inspect)});
}

std::vector<BoxAnswerer::Seen> BoxAnswerer::TakeSeen() {
    std::lock_guard<std::mutex> lock(mutex_);
    return std::exchange(seen_, {});
}

bool BoxAnswerer::AllUsed() {
    std::lock_guard<std::mutex> lock(mutex_);
    return rules_.empty();
}

bool BoxAnswerer::WaitSeen(std::size_t count, std::chrono::milliseconds limit) {
    return WaitUntil(
        [&] {
            std::lock_guard<std::mutex> lock(mutex_);
            return seen_.size() >= count;
        },
        limit);
}

void BoxAnswerer::Run() {
    std::set<HWND> handled;
    std::map<HWND, int> unexpectedAge;
    struct Search {
        DWORD pid;
        std::vector<HWND> boxes;
    };
    while (!stop_) {
        ::Sleep(20);
        Search search{processId_, {}};
        ::EnumWindows(
            [](HWND hwnd, LPARAM param) -> BOOL {
                auto* s = reinterpret_cast<Search*>(param);
                DWORD pid = 0;
                ::GetWindowThreadProcessId(hwnd, &pid);
                if (pid == s->pid && ::IsWindowVisible(hwnd) && ClassOf(hwnd) == L"#32770") s->boxes.push_back(hwnd);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        std::erase_if(handled, [](HWND h) { return !::IsWindow(h); });
        for (HWND box : search.boxes) {
            if (handled.count(box)) continue;
            // A box without a title is one on its way (a file dialog being built).
            const std::wstring title = WindowText(box);
            if (title.empty()) continue;
            std::optional<Rule> rule;
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (!rules_.empty() && (rules_.front().title.empty() || rules_.front().title == title)) {
                    rule = std::move(rules_.front());
                    rules_.pop_front();
                }
            }
            if (rule) {
                handled.insert(box);
                Answer(box, title, *rule);
            } else if (++unexpectedAge[box] >= 150) {
                // Given a moment (its rule may come late), then cancelled.
                handled.insert(box);
                const std::wstring text = DialogText(box);
                {
                    std::lock_guard<std::mutex> lock(mutex_);
                    seen_.push_back(Seen{title, text, false, {}});
                }
                ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
                ::PostMessageW(box, WM_CLOSE, 0, 0);
            }
        }
    }
}

void BoxAnswerer::Answer(HWND box, const std::wstring& title, const Rule& rule) {
    Seen seen{title, {}, true, {}};
    HWND field = nullptr;
    if (rule.fileName || rule.inspect) {
        // A file dialog builds its controls after it shows.
        for (int tries = 0; tries < 100 && !(field = NameField(box)) && rule.fileName; ++tries) ::Sleep(20);
    }
    if (rule.inspect) rule.inspect(box);
    if (rule.fileName && field) {
        seen.nameField = WindowText(field);
        ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(rule.fileName->c_str()));
    }
    if (!rule.fileName) seen.text = DialogText(box);
    {
        std::lock_guard<std::mutex> lock(mutex_);
        seen_.push_back(std::move(seen));
    }
    ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(rule.button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, rule.button)));
}

}  // namespace tessel::test
