#include "editor/ui/Form2.h"

namespace listwright {
namespace {

const wchar_t kClassName[] = L"ListwrightForm2";
const wchar_t kCaption[] = L"ワイルドカード検索";
const wchar_t kRun[] = L"実行";
const wchar_t kCancel[] = L"キャンセル";
const wchar_t kInitialPattern[] = L"*";

}  // namespace

bool Form2::Create(HWND owner, POINT topLeft, Handlers handlers) {
    handlers_ = std::move(handlers);
    if (!RegisterClassOnce(kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT r{0, 0, TwipsX(4785), TwipsY(825)};
    AdjustWindowRectEx(&r, style, FALSE, 0);
    if (!CreateAs(kClassName, kCaption, style, 0, topLeft.x, topLeft.y, r.right - r.left, r.bottom - r.top,
                  owner, nullptr)) {
        return false;
    }
    text1_ = CreateChild(L"EDIT", kInitialPattern, WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, TwipsX(105),
                         TwipsY(300), TwipsX(3420), TwipsY(270), Hwnd(), kForm2Text1);
    CreateChild(L"BUTTON", kRun, WS_TABSTOP | BS_PUSHBUTTON, 0, TwipsX(3615), TwipsY(75), TwipsX(1140),
                TwipsY(300), Hwnd(), kForm2Command1);
    CreateChild(L"BUTTON", kCancel, WS_TABSTOP | BS_PUSHBUTTON, 0, TwipsX(3600), TwipsY(435), TwipsX(1140),
                TwipsY(300), Hwnd(), kForm2Command2);
    ShowWindow(Hwnd(), SW_SHOW);
    SetFocus(text1_);
    return true;
}

void Form2::Command1_Click() {
    if (handlers_.run) handlers_.run(WindowText(text1_));
    Form_Unload();
}

void Form2::Form_Unload() {
    if (unloading_) return;
    unloading_ = true;
    // The owner is enabled before this window goes, so that activation returns to it.
    if (handlers_.closing) handlers_.closing();
    DestroyWindow(Hwnd());
}

LRESULT Form2::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        // IDOK and IDCANCEL (Enter and Esc) are not ours: neither button is default.
        if (HIWORD(wParam) == BN_CLICKED) {
            if (LOWORD(wParam) == kForm2Command1) Command1_Click();
            if (LOWORD(wParam) == kForm2Command2) Form_Unload();
        }
        return 0;
    case WM_CLOSE:
        Form_Unload();
        return 0;
    case WM_DESTROY:
        if (!unloading_) {
            unloading_ = true;
            if (handlers_.closing) handlers_.closing();
        }
        return 0;
    default:
        return Window::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace listwright
