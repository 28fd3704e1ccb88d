#include "tests/player/core/win_support.h"

#include <shlobj.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <cwchar>
#include <cstdlib>
#include <fstream>
#include <stdexcept>
#include <thread>

#include "common/textfile.h"
#include "tests/player/skin/pixel_region_reference.h"

namespace tessel::player::test {

std::filesystem::path FromEnvironmentPath(const char* variable) {
    const char* value = std::getenv(variable);
    if (!value || !*value) throw std::runtime_error(std::string(variable) + " is not set");
    std::string text = value;
    std::wstring wide(text.begin(), text.end());
    if (!wide.empty() && wide[0] == L'/') {
        for (auto& c : wide) {
            if (c == L'/') c = L'\\';
        }
        wide = L"Z:" + wide;
    }
    return std::filesystem::path(wide);
}

std::filesystem::path MediaDir() { return FromEnvironmentPath("TESSEL_TEST_MEDIA"); }
std::filesystem::path DistDir() { return FromEnvironmentPath("TESSEL_TEST_DIST"); }

TempDir::TempDir(const std::wstring& tag) {
    // Wine hands out small process ids again soon, so the time keeps the names of
    // separate runs apart; a folder left by a crashed run is never reused.
    static int counter = 0;
    wchar_t name[96] = {};
    swprintf(name, 96, L"_%lu_%llu_%d", static_cast<unsigned long>(::GetCurrentProcessId()),
             static_cast<unsigned long long>(::GetTickCount64()), ++counter);
    path_ = std::filesystem::temp_directory_path() / (L"tp_" + tag + name);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir() {
    std::error_code ignored;
    // An open dialog may have made the folder the current one, which keeps it from
    // being removed.
    const std::wstring current = std::filesystem::current_path(ignored).wstring();
    if (!ignored && current.compare(0, path_.native().size(), path_.native()) == 0) {
        std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
    }
    std::filesystem::remove_all(path_, ignored);
}

void WriteIconFile(const std::filesystem::path& path) {
    // ICONDIR, one ICONDIRENTRY, then a 32-bit DIB (double height) and its AND mask.
    constexpr int kSize = 16;
    std::vector<std::uint8_t> bytes;
    auto u16 = [&](unsigned v) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    auto u32 = [&](unsigned v) {
        u16(v & 0xFFFF);
        u16(v >> 16);
    };
    const unsigned pixels = kSize * kSize * 4, mask = kSize * 4, image = 40 + pixels + mask;
    u16(0), u16(1), u16(1);
    bytes.push_back(kSize), bytes.push_back(kSize), bytes.push_back(0), bytes.push_back(0);
    u16(1), u16(32), u32(image), u32(6 + 16);
    u32(40), u32(kSize), u32(kSize * 2), u16(1), u16(32), u32(0), u32(pixels), u32(0), u32(0), u32(0), u32(0);
    for (int y = 0; y < kSize; ++y) {
        for (int x = 0; x < kSize; ++x) {
            bytes.push_back(static_cast<std::uint8_t>(160 + x * 5));  // blue
            bytes.push_back(static_cast<std::uint8_t>(90 + y * 6));   // green
            bytes.push_back(40);                                      // red
            bytes.push_back(255);
        }
    }
    bytes.insert(bytes.end(), mask, 0);
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteSilentWav(const std::filesystem::path& path, unsigned milliseconds) {
    const unsigned rate = 8000, samples = rate / 1000 * milliseconds;
    std::vector<std::uint8_t> bytes;
    auto tag = [&](const char* t) { bytes.insert(bytes.end(), t, t + 4); };
    auto u32 = [&](unsigned v) {
        for (int i = 0; i < 4; ++i) bytes.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&](unsigned v) {
        bytes.push_back(static_cast<std::uint8_t>(v));
        bytes.push_back(static_cast<std::uint8_t>(v >> 8));
    };
    tag("RIFF"), u32(36 + samples), tag("WAVE");
    tag("fmt "), u32(16), u16(1), u16(1), u32(rate), u32(rate), u16(1), u16(8);
    tag("data"), u32(samples);
    bytes.insert(bytes.end(), samples, 0x80);  // 8-bit PCM silence is the midpoint
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

void WriteLines(const std::filesystem::path& path, const std::vector<std::wstring>& lines) {
    const auto encoded = EncodeTextLines(lines);
    std::ofstream out(path, std::ios::binary);
    out.write(encoded.bytes.data(), static_cast<std::streamsize>(encoded.bytes.size()));
}

std::vector<std::wstring> ReadLines(const std::filesystem::path& path) {
    auto read = ReadTextFileLines(path);
    return read.ok ? read.lines : std::vector<std::wstring>{};
}

std::vector<std::wstring> DefaultSettings() {
    return {L"Azure", L"300", L"300", L"0", L"0", L"0", L"0", L"255", L"255", L"", L"-1", L"0", L"0", L"0"};
}

namespace {

// A 24-bit bitmap file of one colour.
void WriteSolidBitmap(const std::filesystem::path& path, int width, int height, std::uint8_t r, std::uint8_t g,
                      std::uint8_t b) {
    const std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height),
                                            (std::uint32_t(r) << 16) | (std::uint32_t(g) << 8) | b);
    tessel::test::WriteBmp24(path.wstring(), width, height, pixels.data());
}

}  // namespace

void MakeProgramFolder(const std::filesystem::path& folder, const std::vector<std::wstring>* settings) {
    std::filesystem::create_directories(folder / L"Setting");
    std::filesystem::create_directories(folder / L"parts" / L"Azure");
    std::filesystem::create_directories(folder / L"fav");
    // A plain rectangular skin: the body window right against the skin window's
    // lower-left corner.
    const auto skin = folder / L"parts" / L"Azure";
    WriteIconFile(skin / L"task.ico");
    WriteLines(skin / L"define.ini", {L"320,120", L"255,0,255", L"255,0,255", L"255,255,255", L"0,0"});
    WriteSolidBitmap(skin / L"skin.bmp", 320, 120, 40, 80, 140);
    WriteSolidBitmap(skin / L"s_mask.bmp", 320, 120, 0, 0, 0);
    WriteSolidBitmap(skin / L"player.bmp", 96, 68, 30, 60, 110);
    WriteSolidBitmap(skin / L"p_mask.bmp", 96, 83, 0, 0, 0);
    if (settings) WriteLines(folder / L"Setting" / L"init.ini", *settings);
}

bool WaitUntil(const std::function<bool()>& done, std::chrono::milliseconds limit, bool pumpMessages) {
    const auto end = std::chrono::steady_clock::now() + limit;
    for (;;) {
        if (done()) return true;
        if (std::chrono::steady_clock::now() >= end) return false;
        if (pumpMessages) {
            MSG msg;
            while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
                ::TranslateMessage(&msg);
                ::DispatchMessageW(&msg);
            }
            ::MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
    }
}

Process::Process(const std::filesystem::path& exe, const std::wstring& arguments) {
    std::wstring line = L"\"" + exe.wstring() + L"\"";
    if (!arguments.empty()) line += L" " + arguments;
    STARTUPINFOW si{};
    si.cb = sizeof si;
    std::wstring folder = exe.parent_path().wstring();
    if (!::CreateProcessW(exe.c_str(), line.data(), nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &si,
                          &info_)) {
        info_ = PROCESS_INFORMATION{};
    }
}

Process::Process(Process&& other) noexcept : info_(other.info_) { other.info_ = PROCESS_INFORMATION{}; }

Process::~Process() {
    if (!info_.hProcess) return;
    if (Running()) {
        ::TerminateProcess(info_.hProcess, 99);
        ::WaitForSingleObject(info_.hProcess, 5000);
    }
    ::CloseHandle(info_.hThread);
    ::CloseHandle(info_.hProcess);
}

bool Process::WaitExit(std::chrono::milliseconds limit, DWORD* code) {
    if (!info_.hProcess) return false;
    if (::WaitForSingleObject(info_.hProcess, static_cast<DWORD>(limit.count())) != WAIT_OBJECT_0) return false;
    if (code) ::GetExitCodeProcess(info_.hProcess, code);
    return true;
}

bool Process::Running() const {
    return info_.hProcess && ::WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT;
}

HWND FindWindowOfProcess(DWORD processId, const wchar_t* windowClass, const wchar_t* title) {
    struct Search {
        DWORD pid;
        const wchar_t* cls;
        const wchar_t* title;
        HWND found;
    } search{processId, windowClass, title, nullptr};
    ::EnumWindows(
        [](HWND hwnd, LPARAM lp) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lp);
            DWORD pid = 0;
            ::GetWindowThreadProcessId(hwnd, &pid);
            if (pid != s->pid) return TRUE;
            wchar_t cls[256] = {};
            ::GetClassNameW(hwnd, cls, 256);
            if (s->cls && lstrcmpiW(cls, s->cls) != 0) return TRUE;
            if (s->title && WindowText(hwnd) != s->title) return TRUE;
            s->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
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

std::wstring DialogText(HWND dialog) {
    auto read = [dialog] {
        std::wstring text;
        for (HWND child = ::GetWindow(dialog, GW_CHILD); child; child = ::GetWindow(child, GW_HWNDNEXT)) {
            wchar_t cls[64] = {};
            ::GetClassNameW(child, cls, 64);
            if (lstrcmpiW(cls, L"Static") == 0) text += WindowText(child) + L"\n";
        }
        return text;
    };
    // A box can be found by its class before its text control exists or is filled in:
    // give it a moment to become readable.
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(3);
    std::wstring text = read();
    while (text.find_first_not_of(L'\n') == std::wstring::npos && ::IsWindow(dialog) &&
           std::chrono::steady_clock::now() < end) {
        ::Sleep(20);
        text = read();
    }
    return text;
}

void SendDrop(HWND window, const std::vector<std::wstring>& paths) {
    std::wstring list;
    for (const auto& p : paths) list += p + L'\0';
    list += L'\0';
    HGLOBAL block = ::GlobalAlloc(GHND, sizeof(DROPFILES) + list.size() * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(::GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), list.data(), list.size() * sizeof(wchar_t));
    ::GlobalUnlock(block);
    ::SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(block), 0);
}

HWND WaitForDialog(const wchar_t* title, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (HWND box = ::FindWindowW(L"#32770", title)) return box;
        ::Sleep(20);
    }
    return nullptr;
}

void EnterFileName(HWND dialog, const std::wstring& name) {
    ::Sleep(200);  // let the dialog finish building its controls
    // The name field: the combo box cmb13 of the explorer-style dialog, or edt1.
    HWND field = ::GetDlgItem(dialog, 0x47C);
    if (!field) field = ::GetDlgItem(dialog, 0x480);
    ::SendMessageW(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(name.c_str()));
    ::PostMessageW(dialog, WM_COMMAND, IDOK, 0);
}

}  // namespace tessel::player::test
