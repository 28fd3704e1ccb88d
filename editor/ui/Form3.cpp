#include "editor/ui/Form3.h"

#include <algorithm>

#include "editor/core/extsettings.h"
#include "editor/core/listfunc.h"

namespace listwright {
namespace {

const wchar_t kClassName[] = L"ListwrightForm3";
const wchar_t kCaption[] = L"登録する拡張子";
const wchar_t kRegister[] = L"新規登録";
const wchar_t kClose[] = L"×";
const wchar_t kMenuEdit[] = L"編集";
const wchar_t kErrorTitle[] = L"エラー";
const wchar_t kPatternUnstorable[] =
    L"この拡張子には設定ファイルに保存できない文字が含まれているため、登録できません。";
const MenuItem kEditItems[] = {
    {kForm3MenuDelete, L"削除"},
    {0, L"-"},
    {kForm3OnEnd, L"終了"},
};

}  // namespace

Form3::~Form3() { extListView_.Unbind(); }

bool Form3::Create(HWND owner, POINT topLeft, const std::vector<std::wstring>& patterns, Handlers handlers) {
    handlers_ = std::move(handlers);
    if (!RegisterClassOnce(kClassName, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1))) return false;
    HMENU bar = CreateMenu();
    menuEdit_ = BuildPopup(kEditItems, std::size(kEditItems));
    AppendMenuW(bar, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(menuEdit_), kMenuEdit);

    const DWORD style = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;
    RECT r{0, 0, TwipsX(4260), TwipsY(1710)};
    AdjustWindowRectEx(&r, style, TRUE, 0);
    if (!CreateAs(kClassName, kCaption, style, 0, topLeft.x, topLeft.y, r.right - r.left, r.bottom - r.top,
                  owner, bar)) {
        DestroyMenu(bar);
        return false;
    }
    extListBox_ = CreateChild(L"LISTBOX", L"", WS_TABSTOP | WS_VSCROLL | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT,
                              WS_EX_CLIENTEDGE, TwipsX(105), TwipsY(105), TwipsX(2370), TwipsY(1500), Hwnd(),
                              kForm3ExtList);
    CreateChild(L"BUTTON", kRegister, WS_TABSTOP | BS_PUSHBUTTON, 0, TwipsX(2625), TwipsY(1185), TwipsX(1485),
                TwipsY(405), Hwnd(), kForm3Command1);
    text1_ = CreateChild(L"EDIT", L"", WS_TABSTOP | ES_AUTOHSCROLL, WS_EX_CLIENTEDGE, TwipsX(2610), TwipsY(825),
                         TwipsX(1470), TwipsY(270), Hwnd(), kForm3Text1);
    CreateChild(L"BUTTON", kClose, WS_TABSTOP | BS_PUSHBUTTON, 0, TwipsX(3915), TwipsY(60), TwipsX(270),
                TwipsY(255), Hwnd(), kForm3Command2);

    // The list box holds at most 32,767 entries; patterns beyond them are kept aside
    // and handed back with the rest, so opening the dialog loses none of them.
    const std::size_t shown = std::min(patterns.size(), EntryList::kMaxEntries);
    extList_.Append(std::vector<std::wstring>(patterns.begin(), patterns.begin() + static_cast<std::ptrdiff_t>(shown)));
    notShown_.assign(patterns.begin() + static_cast<std::ptrdiff_t>(shown), patterns.end());
    extListView_.Bind(extList_, extListBox_);
    ShowWindow(Hwnd(), SW_SHOW);
    SetFocus(extListBox_);
    return true;
}

void Form3::Command1_Click() {
    // Registered as typed: no trimming, no test for duplicates or validity; only a
    // pattern that ext.ini cannot keep is refused, and stays in the box to be mended.
    const std::wstring text = WindowText(text1_);
    if (text.empty()) return;
    if (!PatternFitsExtIni(text)) {
        MessageBoxW(Hwnd(), kPatternUnstorable, kErrorTitle, MB_OK);
        return;
    }
    extList_.Append({text});
}

void Form3::MenuDelete_Click() {
    extListView_.PullSelection();
    DeleteSelected(extList_);
}

void Form3::ExtList_PopupMenu(LPARAM screenPoint) {
    POINT pt{static_cast<short>(LOWORD(screenPoint)), static_cast<short>(HIWORD(screenPoint))};
    if (screenPoint == -1) GetCursorPos(&pt);
    TrackPopupMenu(menuEdit_, TPM_LEFTALIGN | TPM_RIGHTBUTTON, pt.x, pt.y, 0, Hwnd(), nullptr);
}

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
    if (HandBack()) DestroyWindow(Hwnd());
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
        return Window::HandleMessage(message, wParam, lParam);
    }
}

}  // namespace listwright
