// The baseline of the long run: opens, plays and closes many media one after another
// through MCI with the DirectShow device, as the player does, and nothing else. What
// this program gains in handles and memory over the run is what the platform's media
// stack costs; the player is judged against it.
//
//   mci_many_only.exe "FOLDER" COUNT
// plays FOLDER\track_0001.mp3 to FOLDER\track_<COUNT>.mp3. Like the player it looks at
// the device once a second and moves on when the medium has ended. Its window title
// tells the benchmark where it is: "wait N" after the N-th medium was opened and
// started, for N = 1 and every multiple of 100 (it goes on, titled "playing", when the
// benchmark posts kContinue), and "done" when every medium was played and closed.
#include <windows.h>
#include <mmsystem.h>
#include <shellapi.h>

#include <cstdio>
#include <cwchar>
#include <string>

namespace {

constexpr UINT kContinue = WM_APP + 1;
constexpr UINT_PTR kTimerId = 1;

std::wstring g_folder;
int g_count = 0;
int g_next = 1;  // the medium to open next
bool g_open = false;
bool g_waiting = false;
HWND g_window = nullptr;

bool Send(const std::wstring& command, std::wstring* answer = nullptr) {
    wchar_t buffer[128] = {};
    const MCIERROR error = ::mciSendStringW(command.c_str(), buffer, 128, nullptr);
    if (answer) *answer = buffer;
    return error == 0;
}

void CloseMedium() {
    if (!g_open) return;
    Send(L"stop m");
    Send(L"close m");
    g_open = false;
}

// Opens the next medium and starts it; a medium that does not open is skipped, as the
// player skips it.
void OpenNext() {
    while (!g_open && g_next <= g_count) {
        wchar_t name[32];
        std::swprintf(name, 32, L"track_%04d.mp3", g_next);
        const int number = g_next++;
        if (!Send(L"open \"" + g_folder + L"\\" + name + L"\" type mpegvideo alias m")) continue;
        g_open = true;
        std::wstring length;
        Send(L"set m time format milliseconds");
        Send(L"status m length", &length);
        Send(L"play m from 0");
        if (number == 1 || number % 100 == 0) {
            g_waiting = true;
            ::SetWindowTextW(g_window, (L"wait " + std::to_wstring(number)).c_str());
        }
    }
    if (!g_open && g_next > g_count) ::SetWindowTextW(g_window, L"done");
}

void Tick() {
    if (g_waiting) return;
    if (g_open) {
        std::wstring mode, position, length;
        Send(L"status m mode", &mode);
        Send(L"status m position", &position);
        Send(L"status m length", &length);
        if (mode != L"stopped" && position != length) return;
        CloseMedium();
    }
    OpenNext();
}

LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_TIMER:
            Tick();
            return 0;
        case kContinue:
            if (g_waiting) ::SetWindowTextW(hwnd, L"playing");
            g_waiting = false;
            return 0;
        case WM_CLOSE:
            ::DestroyWindow(hwnd);
            return 0;
        case WM_DESTROY:
            ::KillTimer(hwnd, kTimerId);
            // An open device at the end of the process crashes it under Wine.
            CloseMedium();
            ::PostQuitMessage(0);
            return 0;
        default:
            return ::DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    int argc = 0;
    wchar_t** argv = ::CommandLineToArgvW(::GetCommandLineW(), &argc);
    if (!argv || argc != 3) return 2;
    g_folder = argv[1];
    g_count = _wtoi(argv[2]);
    ::LocalFree(argv);

    WNDCLASSW wc{};
    wc.lpfnWndProc = WindowProc;
    wc.hInstance = instance;
    wc.lpszClassName = L"TesselBareMci";
    if (!::RegisterClassW(&wc)) return 3;
    g_window = ::CreateWindowExW(0, wc.lpszClassName, L"start", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, instance,
                                 nullptr);
    if (!g_window) return 3;
    ::SetTimer(g_window, kTimerId, 1000, nullptr);
    OpenNext();
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) ::DispatchMessageW(&msg);
    return 0;
}
