#include "editor/ui/Form3.h"

#include <algorithm>

#include "editor/core/extsettings.h"
#include "editor/core/listfunc.h"
#include "editor/ui/metrics.h"
#include "editor/ui/texts.h"
#include "win32/menus.h"

namespace listwright {
namespace {

using namespace texts::form3;

using tessel::win32::CreateChild;
using tessel::win32::MenuEntry;

const wchar_t kClassName[] = L"ListwrightForm3";
const MenuEntry kEditItems[] = {
    {kForm3MenuDelete, L"削除"},
    {},
    {kForm3OnEnd, L"終了"},
};

}  // namespace

Form3::~Form3() { extListView_.Unbind(); }

bool Form3::Create(HWND owner, POINT topLeft, const std::vector<std::wstring>& patterns, Handlers handlers) {
    handlers_ = std::move(handlers);
    tessel::win32::unique_hmenu edit = tessel::win32::BuildPopupMenu(kEditItems);
    menuEdit_ = edit.get();
    const MenuEntry bar[] = {{0, kMenuEdit, edit.release()}};
    tessel::win32::unique_hmenu menuBar = tessel::win32::BuildMenuBar(bar);

    if (!CreateDialogWindow(kClassName, kCaption, owner, topLeft, 4260, 1710, menuBar.get())) return false;
    menuBar.release();  // the window's now
    extListBox_ = CreateChild(Handle(), L"LISTBOX", L"",
                              WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                              Place(105, 105, 2370, 1500), kForm3ExtList, Font(), WS_EX_CLIENTEDGE);
    CreateChild(Handle(), L"BUTTON", kRegister, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                Place(2625, 1185, 1485, 405), kForm3Command1, Font());
    text1_ = CreateChild(Handle(), L"EDIT", L"", WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL,
                         Place(2610, 825, 1470, 270), kForm3Text1, Font(), WS_EX_CLIENTEDGE);
    CreateChild(Handle(), L"BUTTON", kClose, WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON, Place(3915, 60, 270, 255),
                kForm3Command2, Font());

    // The list box holds at most 32,767 entries; patterns beyond them are kept aside
    // and handed back with the rest, so opening the dialog loses none of them.
    const std::size_t shown = std::min(patterns.size(), EntryList::kMaxEntries);
    extList_.Append(std::vector<std::wstring>(patterns.begin(), patterns.begin() + static_cast<std::ptrdiff_t>(shown)));
    notShown_.assign(patterns.begin() + static_cast<std::ptrdiff_t>(shown), patterns.end());
    extListView_.Bind(extList_, extListBox_);
    AttachScaler();
    ShowWindow(Handle(), SW_SHOW);
    SetFocus(extListBox_);
    return true;
}

void Form3::Command1_Click() {
    // Registered as typed: no trimming, no test for duplicates or validity; only a
    // pattern that ext.ini cannot keep is refused, and stays in the box to be mended.
    const std::wstring text = tessel::win32::WindowText(text1_);
    if (text.empty()) return;
    if (!PatternFitsExtIni(text)) {
        MessageBoxW(Handle(), kPatternUnstorable, kErrorTitle, MB_OK);
        return;
    }
    // A full list box would leave the pattern out without a word.
    if (extList_.Room() == 0) {
        MessageBoxW(Handle(), kListFull, kErrorTitle, MB_OK);
        return;
    }
    extList_.Append({text});
}

void Form3::MenuDelete_Click() {
    extListView_.PullSelection();
    DeleteSelected(extList_);
}

void Form3::ExtList_PopupMenu(LPARAM screenPoint) { tessel::win32::ShowPopupMenu(menuEdit_, Handle(), screenPoint); }

bool Form3::HandBack() {
    if (unloading_) return false;
    unloading_ = true;
    if (handlers_.closing) {
        std::vector<std::wstring> patterns = extList_.Texts();
        patterns.insert(patterns.end(), notShown_.begin(), notShown_.end());
        handlers_.closing(patterns);
    }
    return true;
}

void Form3::Form_Unload() {
    if (HandBack()) DestroyWindow(Handle());
}

LRESULT Form3::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case kForm3Command1:
            if (HIWORD(wParam) == BN_CLICKED) Command1_Click();
            return 0;
        case kForm3Command2:
            if (HIWORD(wParam) == BN_CLICKED) Form_Unload();
            return 0;
        case kForm3MenuDelete:
            if (HIWORD(wParam) == 0) MenuDelete_Click();
            return 0;
        case kForm3OnEnd:
            if (HIWORD(wParam) == 0) Form_Unload();
            return 0;
        case kForm3ExtList:
            if (HIWORD(wParam) == LBN_SELCHANGE) extListView_.PullSelection();
            return 0;
        default:
            return 0;
        }
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == extListBox_) ExtList_PopupMenu(lParam);
        return 0;
    case WM_CLOSE:
        Form_Unload();
        return 0;
    case WM_DESTROY:
        // Closed by its owner going away: the edits still go back.
        HandBack();
        extListView_.Unbind();
        return 0;
    default:
        return ScaledWindow::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace listwright
