// Proves the Wine runner gives the programs what they rely on: a display with real
// windows, the Japanese code page, the screen scale the skins are drawn for, and files
// that Win32 and the portable code see alike.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "common/cp932.h"
#include "common/twips.h"

namespace {

LRESULT CALLBACK TestWndProc(HWND hwnd, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(7);
        return 0;
    }
    return DefWindowProcW(hwnd, msg, wp, lp);
}

TEST(Win32Runner, JapaneseCodePageAndScale) {
    EXPECT_EQ(GetACP(), 932u);
    const tessel::TwipsPerPixel tpp = tessel::ScreenTwipsPerPixel();
    EXPECT_DOUBLE_EQ(tpp.x, 15.0);
    EXPECT_DOUBLE_EQ(tpp.y, 15.0);
}

TEST(Win32Runner, ManifestAsksForCommonControls6AndPerMonitorDpiAwareness) {
    // Wine treats every process as DPI-aware whatever the manifest says, so the
    // manifest itself is checked: what Windows reads from it.
    HRSRC res = FindResourceW(nullptr, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(res, nullptr);
    HGLOBAL loaded = LoadResource(nullptr, res);
    ASSERT_NE(loaded, nullptr);
    const std::string text(static_cast<const char*>(LockResource(loaded)), SizeofResource(nullptr, res));
    EXPECT_NE(text.find("Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    // Per monitor v2 first, v1 after it for Windows 10 before 1703, and Windows 8.1's form.
    EXPECT_NE(text.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(text.find(">true/pm</dpiAware>"), std::string::npos);
}

TEST(Win32Runner, RealWindowShowsAndReadsBackItsTitle) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = TestWndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = L"TesselRunnerProbe";
    ASSERT_NE(RegisterClassExW(&wc), 0) << GetLastError();

    const wchar_t* title = L"設定 - TesselPlayer";
    HWND hwnd = CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW, 40, 40, 320, 200, nullptr,
                                nullptr, instance, nullptr);
    ASSERT_NE(hwnd, nullptr) << GetLastError();
    ShowWindow(hwnd, SW_SHOW);
    UpdateWindow(hwnd);
    EXPECT_TRUE(IsWindowVisible(hwnd));

    wchar_t buffer[64] = {};
    GetWindowTextW(hwnd, buffer, 64);
    EXPECT_STREQ(buffer, title);
    EXPECT_EQ(FindWindowW(wc.lpszClassName, title), hwnd);

    // The ANSI view of the title is code page 932, the same bytes our encoder writes.
    char ansi[64] = {};
    GetWindowTextA(hwnd, ansi, 64);
    EXPECT_EQ(std::string(ansi), tessel::EncodeCp932(title).bytes);

    RECT client{};
    GetClientRect(hwnd, &client);
    EXPECT_GT(client.right, 0);

    // A posted close goes through the message loop and ends it.
    PostMessageW(hwnd, WM_CLOSE, 0, 0);
    MSG msg{};
    int quitCode = -1;
    const ULONGLONG deadline = GetTickCount64() + 10000;
    while (GetTickCount64() < deadline) {
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                quitCode = static_cast<int>(msg.wParam);
                break;
            }
            DispatchMessageW(&msg);
        } else {
            Sleep(5);
        }
    }
    EXPECT_EQ(quitCode, 7);
    EXPECT_FALSE(IsWindow(hwnd));
    UnregisterClassW(wc.lpszClassName, instance);
}

}  // namespace
