#include "editor/ui/Form2.h"

#include "editor/ui/metrics.h"
#include "editor/ui/texts.h"

namespace listwright {
namespace {

using namespace texts::form2;

using tessel::win32::CreateChild;

const wchar_t kClassName[] = L"ListwrightForm2";

}  // namespace

bool Form2::Create(HWND owner, POINT topLeft, Handlers handlers) {
    handlers_ = std::move(handlers);
    if (!CreateDialogWindow(kClassName, kCaption, owner, topLeft, 4785, 825)) return false;
    text1_ = CreateChild(Handle(), L"EDIT", kInitialPattern, WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                         Place(105, 300, 3420, 270), kForm2Text1, Font(), WS_EX_CLIENTEDGE);
    CreateChild(Handle(), L"BUTTON", kRun, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, Place(3615, 75, 1140, 300),
                kForm2Command1, Font());
    CreateChild(Handle(), L"BUTTON", kCancel, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                Place(3600, 435, 1140, 300), kForm2Command2, Font());
    AttachScaler();
    ShowWindow(Handle(), SW_SHOW);
    SetFocus(text1_);
    return true;
}

void Form2::Command1_Click() {
    if (handlers_.run) handlers_.run(tessel::win32::WindowText(text1_));
    Form_Unload();
}

void Form2::Form_Unload() {
    if (unloading_) return;
    unloading_ = true;
    // The owner is enabled before this window goes, so that activation returns to it.
    if (handlers_.closing) handlers_.closing();
    DestroyWindow(Handle());
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
        return ScaledWindow::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace listwright
