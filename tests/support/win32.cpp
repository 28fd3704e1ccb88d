#include "tests/support/win32.h"

#include <shlobj.h>
#include <winternl.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "win32/window.h"

namespace tessel::test {

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            // As the programs' own loops do.
            if (win32::TranslateDialogKeys(msg)) continue;
            ::TranslateMessage(&msg);
            ::DispatchMessageW(&msg);
        }
        if (done && done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
}

void Pump(std::chrono::milliseconds time) { WaitUntil({}, time); }

std::wstring ClassOf(HWND window) {
    wchar_t name[128] = {};
    ::GetClassNameW(window, name, 128);
    return name;
}

std::wstring WindowText(HWND window) {
    wchar_t buffer[2048] = {};
    DWORD_PTR copied = 0;
    if (!::SendMessageTimeoutW(window, WM_GETTEXT, std::size(buffer), reinterpret_cast<LPARAM>(buffer),
                               SMTO_ABORTIFHUNG, 2000, &copied)) {
        return L"";
    }
    return buffer;
}

std::wstring WithoutLineBreaks(std::wstring_view text) {
    std::wstring out;
    for (wchar_t c : text) {
        if (c != L'\r' && c != L'\n') out += c;
    }
    return out;
}

std::wstring DialogText(HWND dialog) {
    auto read = [dialog] {
        std::wstring text;
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            if (lstrcmpiW(ClassOf(child).c_str(), L"Static") == 0) text += WithoutLineBreaks(WindowText(child));
        }
        return text;
    };
    // A box can be found by its class before its text control exists or is filled in:
    // give it a moment to become readable.
    const auto end = std::chrono::steady_clock::now() + 3s;
    std::wstring text = read();
    while (text.empty() && ::IsWindow(dialog) && std::chrono::steady_clock::now() < end) {
        ::Sleep(20);
        text = read();
    }
    return text;
}

std::vector<std::wstring> ListBoxItems(HWND list) {
    std::vector<std::wstring> items;
    DWORD_PTR count = 0;
    if (!::SendMessageTimeoutW(list, LB_GETCOUNT, 0, 0, SMTO_ABORTIFHUNG, 2000, &count)) return items;
    for (DWORD_PTR i = 0; i < count; ++i) {
        DWORD_PTR length = 0;
        ::SendMessageTimeoutW(list, LB_GETTEXTLEN, i, 0, SMTO_ABORTIFHUNG, 2000, &length);
        std::wstring text(length + 1, L'\0');
        DWORD_PTR unused = 0;
        ::SendMessageTimeoutW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(text.data()), SMTO_ABORTIFHUNG, 2000,
                              &unused);
        text.resize(length);
        items.push_back(text);
    }
    return items;
}

std::string Printable(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) {
        if (c >= 0x20 && c < 0x7F) {
            out.push_back(static_cast<char>(c));
        } else {
            char buffer[8];
            std::snprintf(buffer, sizeof buffer, "\\u%04X", static_cast<unsigned>(c));
            out += buffer;
        }
    }
    return out;
}

std::optional<std::wstring> ReadClipboard() {
    bool open = false;
    for (int i = 0; i < 50 && !(open = ::OpenClipboard(nullptr)); ++i) ::Sleep(20);
    if (!open) return std::nullopt;
    std::optional<std::wstring> text;
    if (HANDLE data = ::GetClipboardData(CF_UNICODETEXT)) {
        if (auto* p = static_cast<const wchar_t*>(::GlobalLock(data))) {
            text = p;
            ::GlobalUnlock(data);
        }
    }
    ::CloseClipboard();
    return text;
}

void WriteClipboard(const std::wstring& text) {
    if (!::OpenClipboard(nullptr)) throw std::runtime_error("the clipboard cannot be opened");
    ::EmptyClipboard();
    HGLOBAL h = ::GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(::GlobalLock(h), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    ::GlobalUnlock(h);
    ::SetClipboardData(CF_UNICODETEXT, h);
    ::CloseClipboard();
}

ClipboardHolder::ClipboardHolder(std::chrono::milliseconds hold) {
    std::atomic<bool> ready{false};
    thread_ = std::thread([this, hold, &ready] {
        HWND owner = ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
        opened_ = ::OpenClipboard(owner) != FALSE;
        ready = true;
        std::this_thread::sleep_for(hold);
        if (opened_) ::CloseClipboard();
        ::DestroyWindow(owner);
    });
    while (!ready) ::Sleep(1);
}

ClipboardHolder::~ClipboardHolder() { thread_.join(); }

HDROP MakeDrop(const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const auto& p : paths) list += p + L'\0';
    list += L'\0';
    HGLOBAL block = ::GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(::GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    ::GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

void SendDrop(HWND window, const std::vector<std::wstring>& paths) {
    ::SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0);
}

std::filesystem::path WinePath(std::string_view path) {
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    ::MultiByteToWideChar(CP_UTF8, 0, path.data(), static_cast<int>(path.size()), wide.data(), n);
    if (wide.empty() || wide[0] != L'/') return wide;
    for (auto& c : wide) {
        if (c == L'/') c = L'\\';
    }
    return L"Z:" + wide;
}

std::filesystem::path FromEnvironmentPath(const char* variable) {
    const char* value = std::getenv(variable);
    if (!value || !*value) throw std::runtime_error(std::string(variable) + " is not set");
    return WinePath(value);
}

std::filesystem::path MediaDir() { return FromEnvironmentPath("TESSEL_TEST_MEDIA"); }
std::filesystem::path DistDir() { return FromEnvironmentPath("TESSEL_TEST_DIST"); }

bool Process::Start(const std::filesystem::path& exe, const std::wstring& arguments,
                    const std::filesystem::path& startFolder) {
    std::wstring line = L"\"" + exe.wstring() + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    const std::wstring folder = (startFolder.empty() ? exe.parent_path() : startFolder).wstring();
    if (!::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                          &info_)) {
        info_ = PROCESS_INFORMATION{};
        return false;
    }
    return true;
}

bool Process::Running() const {
    return info_.hProcess && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

bool Process::WaitExit(std::chrono::milliseconds limit, DWORD* code) const {
    if (!info_.hProcess) return false;
    if (::WaitForSingleObject(info_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) return false;
    if (code) ::GetExitCodeProcess(info_.hProcess, code);
    return true;
}

DWORD Process::Stop(DWORD waitMs) {
    if (!info_.hProcess) return ~0u;
    if (Running()) {
        // A close request first, so that a program ends as a user would end it; one
        // without a window of its own still reads its thread's queue.
        for (HWND window : WindowsOfProcess(info_.dwProcessId)) ::PostMessageW(window, WM_CLOSE, 0, 0);
        ::PostThreadMessageW(info_.dwThreadId, WM_CLOSE, 0, 0);
        if (::WaitForSingleObject(info_.hProcess, waitMs) != WAIT_OBJECT_0) {
            ::TerminateProcess(info_.hProcess, ~0u);
            ::WaitForSingleObject(info_.hProcess, 5000);
        }
    }
    DWORD code = ~0u;
    ::GetExitCodeProcess(info_.hProcess, &code);
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
    info_ = PROCESS_INFORMATION{};
    return code;
}

std::vector<HWND> WindowsOfProcess(DWORD processId) {
    struct Search {
        DWORD pid;
        std::vector<HWND> found;
    } search{processId, {}};
    ::EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hwnd, &pid);
            if (pid == s->pid) s->found.push_back(hwnd);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindWindowOfProcess(DWORD processId, const wchar_t* windowClass, const wchar_t* title) {
    for (HWND window : WindowsOfProcess(processId)) {
        if (windowClass && lstrcmpiW(ClassOf(window).c_str(), windowClass) != 0) continue;
        if (title && WindowText(window) != title) continue;
        return window;
    }
    return nullptr;
}

bool RunningUnderWine() {
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

std::optional<std::map<int, std::int64_t>> GdiObjectsByType(HANDLE process) {
    if (const DWORD n = ::GetGuiResources(process, GR_GDIOBJECTS); n > 0)
        return std::map<int, std::int64_t>{{0, static_cast<std::int64_t>(n)}};
    // One entry of the table, and where the 64-bit PEB names the table.
    struct Entry {
        std::uint64_t object;
        std::uint32_t owner;
        std::uint16_t unique;
        std::uint8_t type;
        std::uint8_t flags;
        std::uint64_t userPointer;
    };
    static_assert(sizeof(Entry) == 24);
    static_assert(sizeof(void*) == 8, "the PEB offset below is that of 64-bit processes");
    constexpr std::size_t kPebGdiTableOffset = 0xF8, kEntries = 0x10000;
    using QueryFn = NTSTATUS(NTAPI*)(HANDLE, ULONG, PVOID, ULONG, PULONG);
    static const auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION basic{};
    ULONG length = 0;
    std::uint64_t table = 0;
    SIZE_T got = 0;
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, &length) != 0 ||
        !::ReadProcessMemory(process, reinterpret_cast<const char*>(basic.PebBaseAddress) + kPebGdiTableOffset,
                             &table, sizeof table, &got) ||
        table == 0) {
        return std::nullopt;
    }
    static std::vector<Entry> entries(kEntries);
    if (!::ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(),
                             entries.size() * sizeof(Entry), &got)) {
        return std::nullopt;
    }
    std::map<int, std::int64_t> byType;
    for (std::size_t i = 0; i < got / sizeof(Entry); ++i) {
        if (entries[i].type != 0) ++byType[entries[i].type];
    }
    return byType;
}

void TypeKey(UINT key, bool shift) {
    BYTE state[256] = {};
    ::GetKeyboardState(state);
    const BYTE shiftBefore = state[VK_SHIFT];
    if (shift) state[VK_SHIFT] = 0x80;
    ::SetKeyboardState(state);
    HWND focus = ::GetFocus();
    const bool system = key == VK_F10;
    // The release only once the press is done: a press may open a menu whose own
    // loop would otherwise take the release.
    ::PostMessageW(focus, system ? WM_SYSKEYDOWN : WM_KEYDOWN, key, 1);
    Pump(0ms);
    ::PostMessageW(::GetFocus(), system ? WM_SYSKEYUP : WM_KEYUP, key, 0xC0000001);
    Pump(0ms);
    ::GetKeyboardState(state);
    state[VK_SHIFT] = shiftBefore;
    ::SetKeyboardState(state);
}

PopupWatcher::PopupWatcher(HWND owner)
    : thread_([this, owner] {
          for (int i = 0; i < 150 && items_ < 0; ++i) {
              ::Sleep(20);
              HWND popup = ::FindWindowW(L"#32768", nullptr);
              if (popup && ::IsWindowVisible(popup)) {
                  RECT r{};
                  ::GetWindowRect(popup, &r);
                  originX_ = r.left;
                  originY_ = r.top;
                  HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(popup, MN_GETHMENU, 0, 0));
                  first_ = menu ? ::GetMenuItemID(menu, 0) : 0;
                  items_ = menu ? ::GetMenuItemCount(menu) : 0;
              }
          }
          ::PostMessageW(owner, WM_CANCELMODE, 0, 0);
      }) {}

PopupWatcher::~PopupWatcher() {
    if (thread_.joinable()) thread_.join();
}

int PopupWatcher::Items() {
    if (thread_.joinable()) thread_.join();
    return items_;
}

HighContrastColours::HighContrastColours() {
    for (int i = 0; i < 2; ++i) old_[i] = ::GetSysColor(kElements[i]);
    const COLORREF colours[] = {kFace, kWindow};
    ::SetSysColors(2, kElements, colours);
    Pump(0ms);
}

HighContrastColours::~HighContrastColours() {
    ::SetSysColors(2, kElements, old_);
    Pump(0ms);
}

COLORREF ClientPixel(HWND window, int x, int y) {
    ::UpdateWindow(window);
    ::RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    POINT at{x, y};
    ::ClientToScreen(window, &at);
    HDC screen = ::GetDC(nullptr);
    const COLORREF pixel = ::GetPixel(screen, at.x, at.y);
    ::ReleaseDC(nullptr, screen);
    return pixel;
}

}  // namespace tessel::test
