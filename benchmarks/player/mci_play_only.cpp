// The smallest program that plays a medium through MCI: the baseline the player's own
// cost is measured against. Plays the file named on its command line until closed.
#include <windows.h>
#include <mmsystem.h>

#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    std::wstring path = commandLine;
    if (path.size() >= 2 && path.front() == L'"' && path.back() == L'"') path = path.substr(1, path.size() - 2);
    HWND window = ::CreateWindowExW(0, L"STATIC", L"mci_play_only", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                                    nullptr, nullptr);
    const std::wstring open = L"open \"" + path + L"\" type mpegvideo alias m";
    if (::mciSendStringW(open.c_str(), nullptr, 0, nullptr) != 0) return 2;
    ::mciSendStringW(L"play m", nullptr, 0, nullptr);
    MSG msg;
    while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
        if (msg.message == WM_CLOSE || (msg.hwnd == window && msg.message == WM_USER)) break;
        ::DispatchMessageW(&msg);
    }
    ::mciSendStringW(L"stop m", nullptr, 0, nullptr);
    ::mciSendStringW(L"close m", nullptr, 0, nullptr);
    return 0;
}
