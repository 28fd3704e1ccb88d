#include "editor/ui/Form1.h"

#include <commctrl.h>
#include <shellapi.h>

#include <string>
#include <vector>

#include "editor/core/extsettings.h"
#include "editor/ui/Form2.h"
#include "editor/ui/Form3.h"
#include "editor/ui/metrics.h"
#include "editor/ui/texts.h"
#include "win32/clipboard.h"
#include "win32/drops.h"
#include "win32/error_text.h"
#include "win32/menus.h"

namespace listwright {
namespace {

using namespace texts::form1;

using tessel::win32::MenuEntry;

// The last part of a path: what follows its last backslash or slash.
std::wstring NameOnly(const std::wstring& path) {
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

// ---- the window class and its menus ---------------------------------------------------
const wchar_t kClassName[] = L"ListwrightForm1";
const MenuEntry kFileItems[] = {
    {kCreateNewFile, L"新規作成"},
    {kEditExistFile, L"開く"},
    {},
    {kOverwriteFile, L"上書き保存"},
    {kNameFileSave, L"名前を付けて保存"},
    {},
    {kTheEndApp, L"終了"},
};
const MenuEntry kEditItems[] = {
    {kCutFromList, L"切り取り"},
    {kCopyFromList, L"コピー"},
    {kDeleteFromList, L"削除"},
    {kClearList, L"全て削除"},
    {},
    {kPasteToList, L"最後尾に貼り付け"},
    {kPasteToPoint, L"選択位置に貼り付け"},
    {},
    {kListAllChoice, L"全て選択"},
    {kWildCardList, L"含まれる文字列から選択"},
    {kReverseChoiceList, L"選択を反転"},
    {kNoChoiceList, L"全ての選択を解除"},
    {},
    {kExpFiles, L"リストファイルを展開"},
    {kEnumNameSeq, L"名前順に並べ替える"},
    {kNoExistsDelete, L"存在しないファイルをリストから削除"},
    {kExtSetting, L"登録する拡張子の設定"},
    {kAddingList, L"リストファイルから追加"},
};

constexpr UINT kDialogGone = WM_APP + 1;

std::wstring WithPath(const wchar_t* text, const std::wstring& path, const std::wstring& detail) {
    std::wstring message = text;
    if (!path.empty()) message += L"\r\n" + path;
    if (!detail.empty()) message += L"\r\n" + detail;
    return message;
}

}  // namespace

Form1::Form1(Options options) : options_(std::move(options)) {}

Form1::~Form1() {
    form2_.reset();
    form3_.reset();
    mainListView_.Unbind();
}

bool Form1::Create(int showCommand) {
    INITCOMMONCONTROLSEX icc{sizeof icc, ICC_BAR_CLASSES | ICC_STANDARD_CLASSES};
    InitCommonControlsEx(&icc);

    tessel::win32::unique_hmenu edit = tessel::win32::BuildPopupMenu(kEditItems);
    menuEdit_ = edit.get();
    const MenuEntry bar[] = {
        {0, kMenuFile, tessel::win32::BuildPopupMenu(kFileItems).release()},
        {0, kMenuEdit, edit.release()},
    };
    tessel::win32::unique_hmenu menuBar = tessel::win32::BuildMenuBar(bar);

    // The client area is 7,215 by 6,450 twips when first shown.
    // The system places the window, so its monitor is known only once it exists: it
    // starts at the system DPI and is sized again for the DPI the system gave it.
    const DWORD style = WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN;
    const SIZE size = DesignWindowSize(7215, 6450, style, 0, true, tessel::win32::SystemDpi());
    try {
        RegisterWindowClass(kClassName, 0, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1),
                            LoadIconW(nullptr, IDI_APPLICATION));
        CreateWindowOf(kClassName, kCaption, style, 0, CW_USEDEFAULT, CW_USEDEFAULT, size.cx, size.cy, nullptr,
                       menuBar.get());
    } catch (const tessel::win32::WideError& e) {
        tessel::win32::DebugReport(e.Text());
        return false;
    }
    menuBar_ = menuBar.release();  // the window's now
    clipboard_.SetOwner(Handle());
    const DesignScale scale(FitWindowToDesign(Handle(), 7215, 6450));

    mainList_ = tessel::win32::CreateChild(Handle(), L"LISTBOX", L"",
                                           WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | WS_TABSTOP | LBS_NOTIFY |
                                               LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | LBS_HASSTRINGS,
                                           RECT{}, kMainListId, UiFont(scale.Dpi()), WS_EX_CLIENTEDGE);
    sbar_ = tessel::win32::CreateChild(Handle(), STATUSCLASSNAMEW, L"", WS_VISIBLE, RECT{}, kSBarId,
                                       UiFont(scale.Dpi()));
    if (!mainList_ || !sbar_) return false;
    SendMessageW(sbar_, SB_SIMPLE, TRUE, 0);
    SendMessageW(sbar_, SB_SETMINHEIGHT, static_cast<WPARAM>(scale.Pixels(270)), 0);
    mainListHook_.Attach(mainList_, [this](HWND, UINT message, WPARAM wParam, LPARAM) {
        return MainList_Message(message, wParam);
    });
    // Only the list accepts dropped files; the rest of the window does not.
    DragAcceptFiles(mainList_, TRUE);

    mainListView_.Bind(editor_.MainList(), mainList_);
    editor_.SBar().OnChange([this](const std::wstring& text) {
        SendMessageW(sbar_, SB_SETTEXTW, SB_SIMPLEID, reinterpret_cast<LPARAM>(text.c_str()));
    });

    AttachScaler();
    Form_Load();
    ShowWindow(Handle(), showCommand);
    Form_Resize();
    return true;
}

void Form1::Form_Load() {
    editor_.LoadExtensions(ExtIniPath(options_.programFolder));
}

void Form1::Form_Resize() {
    if (!mainList_ || !sbar_) return;
    SendMessageW(sbar_, WM_SIZE, 0, 0);
    RECT client{}, bar{};
    GetClientRect(Handle(), &client);
    GetWindowRect(sbar_, &bar);
    const int width = client.right - client.left;
    const int height = (client.bottom - client.top) - (bar.bottom - bar.top);
    // A height that would be negative (a minimised or tiny window) is left as it was;
    // the position and width are still set.
    RECT current{};
    GetWindowRect(mainList_, &current);
    const int keptHeight = current.bottom - current.top;
    SetWindowPos(mainList_, nullptr, 0, 0, width < 0 ? 0 : width, height < 0 ? keptHeight : height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

void Form1::Form_Unload() {
    // Ending in the middle of a drop walk: the walk stops at its next level and the
    // exit runs once it has unwound.
    if (editor_.Walking()) {
        closeRequested_ = true;
        return;
    }
    // After the end of the session the user has already answered for the list.
    if (!sessionEnded_ && !ConfirmDiscard()) return;
    // An open extension dialog hands its edits back as it goes, before they are saved.
    if (form2_ && form2_->Handle()) DestroyWindow(form2_->Handle());
    if (form3_ && form3_->Handle()) DestroyWindow(form3_->Handle());
    if (!sessionEnded_) editor_.SaveExtensions();
    DestroyWindow(Handle());
}

bool Form1::ConfirmDiscard() {
    // A box or dialog re-enables its owner when it closes; the main window stays
    // disabled while one of its own dialogs is open.
    const bool enabled = IsWindowEnabled(Handle()) != FALSE;
    const bool answer = editor_.ConfirmDiscard();
    if (!enabled && DialogWindow()) EnableWindow(Handle(), FALSE);
    return answer;
}

bool Form1::Form_QueryEndSession() {
    if (sessionEnded_ || !editor_.Modified()) return true;
    // Windows shows the reason beside the editor while the question waits; the answer
    // to the query then says whether the session may end.
    const bool reasoned = ShutdownBlockReasonCreate(Handle(), kUnsavedBlockReason) != FALSE;
    const bool mayEnd = ConfirmDiscard();
    if (reasoned) ShutdownBlockReasonDestroy(Handle());
    return mayEnd;
}

void Form1::Form_EndSession() {
    // Windows ends the process soon after this returns, without a close: the exit
    // steps that keep something run now, once, and without waiting for a drop walk to
    // unwind (it stops at its next level). No message box may wait for an answer.
    if (sessionEnded_) return;
    sessionEnded_ = true;
    closeRequested_ = true;
    if (form2_ && form2_->Handle()) DestroyWindow(form2_->Handle());
    if (form3_ && form3_->Handle()) DestroyWindow(form3_->Handle());
    editor_.SaveExtensions();
}

HWND Form1::ModalOwner() const {
    HWND dialog = DialogWindow();
    return dialog ? dialog : Handle();
}

HWND Form1::DialogWindow() const {
    if (form2_ && form2_->Handle()) return form2_->Handle();
    if (form3_ && form3_->Handle()) return form3_->Handle();
    return nullptr;
}

bool Form1::PreTranslate(MSG& msg) {
    HWND dialog = DialogWindow();
    return dialog && IsDialogMessageW(dialog, &msg);
}

// ---- drops and the right-click menu --------------------------------------------------

std::optional<LRESULT> Form1::MainList_Message(UINT message, WPARAM wParam) {
    if (message == WM_DROPFILES) {
        MainList_OLEDragDrop(reinterpret_cast<HDROP>(wParam));
        return 0;
    }
    if (message == WM_NCDESTROY) mainList_ = nullptr;
    switch (tessel::win32::ContextMenuKey(message, wParam, GetKeyState(VK_SHIFT) < 0)) {
    case tessel::win32::MenuKey::Open: MainList_PopupMenu(-1); return 0;
    case tessel::win32::MenuKey::Swallow: return 0;
    case tessel::win32::MenuKey::None: break;
    }
    return std::nullopt;
}

void Form1::MainList_OLEDragDrop(HDROP drop) {
    std::vector<std::wstring> paths = tessel::win32::DroppedPaths(drop);
    DragFinish(drop);
    if (paths.empty() || closeRequested_) return;
    editor_.DropFiles(std::move(paths));
    if (closeRequested_ && !editor_.Walking()) {
        closeRequested_ = false;
        Form_Unload();
    }
}

void Form1::MainList_PopupMenu(LPARAM screenPoint) {
    // From the keyboard the menu hangs under the entry it acts on, not at the mouse.
    if (tessel::win32::ContextMenuFromKeyboard(screenPoint)) {
        tessel::win32::ShowPopupMenu(menuEdit_, Handle(), tessel::win32::ListEntryMenuPoint(mainList_));
        return;
    }
    tessel::win32::ShowPopupMenu(menuEdit_, Handle(), screenPoint);
}

bool Form1::LetMessagesRun() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            // Not ours to swallow: the message loop that ends the program needs it.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (!PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return !closeRequested_ && Handle() != nullptr;
}

// ---- dialogs -------------------------------------------------------------------------

POINT Form1::DialogPlace() {
    EnableWindow(Handle(), FALSE);
    RECT r{};
    GetWindowRect(Handle(), &r);
    // At the scale of the monitor the main window is on now.
    const DesignScale scale(tessel::win32::WindowDpi(Handle()));
    return POINT{r.left + scale.Pixels(1000), r.top + scale.Pixels(1000)};
}

void Form1::DialogClosing() {
    EnableWindow(Handle(), TRUE);
    SetActiveWindow(Handle());
    // The dialog object is freed after its window has gone, outside its own handlers.
    PostMessageW(Handle(), kDialogGone, 0, 0);
}

void Form1::WildCardList_Click() {
    if (DialogWindow()) return;  // one dialog at a time
    form2_ = std::make_unique<Form2>();
    Form2::Handlers handlers;
    handlers.run = [this](const std::wstring& pattern) { editor_.SelectMatching(pattern); };
    handlers.closing = [this] { DialogClosing(); };
    if (!form2_->Create(Handle(), DialogPlace(), std::move(handlers))) {
        EnableWindow(Handle(), TRUE);
        form2_.reset();
    }
}

void Form1::ExtSetting_Click() {
    if (DialogWindow()) return;
    form3_ = std::make_unique<Form3>();
    Form3::Handlers handlers;
    handlers.closing = [this](const std::vector<std::wstring>& patterns) {
        editor_.ReplaceExtensions(patterns);
        DialogClosing();
    };
    if (!form3_->Create(Handle(), DialogPlace(), editor_.ExtList().Items(), std::move(handlers))) {
        EnableWindow(Handle(), TRUE);
        form3_.reset();
    }
}

// ---- menu commands -------------------------------------------------------------------

void Form1::Menu_Click(UINT id) {
    // The list box holds what the user selected with the mouse and keys.
    mainListView_.PullSelection();
    switch (id) {
    case kTheEndApp: Form_Unload(); return;
    case kWildCardList: WildCardList_Click(); return;
    case kExtSetting: ExtSetting_Click(); return;
    default: break;
    }
    // Every other command is the editor's own.
    static constexpr struct {
        UINT id;
        void (ListEditor::*run)();
    } kEditorCommands[] = {
        {kCreateNewFile, &ListEditor::CreateNewFile},   {kEditExistFile, &ListEditor::EditExistFile},
        {kOverwriteFile, &ListEditor::OverwriteFile},   {kNameFileSave, &ListEditor::NameFileSave},
        {kCutFromList, &ListEditor::CutFromList},       {kCopyFromList, &ListEditor::CopyFromList},
        {kDeleteFromList, &ListEditor::DeleteFromList}, {kClearList, &ListEditor::ClearList},
        {kPasteToList, &ListEditor::PasteToList},       {kPasteToPoint, &ListEditor::PasteToPoint},
        {kListAllChoice, &ListEditor::ListAllChoice},   {kReverseChoiceList, &ListEditor::ReverseChoiceList},
        {kNoChoiceList, &ListEditor::NoChoiceList},     {kExpFiles, &ListEditor::ExpFiles},
        {kEnumNameSeq, &ListEditor::EnumNameSeq},       {kNoExistsDelete, &ListEditor::NoExistsDelete},
        {kAddingList, &ListEditor::AddingList},
    };
    for (const auto& command : kEditorCommands) {
        if (command.id == id) {
            (editor_.*command.run)();
            return;
        }
    }
}

LRESULT Form1::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        if (LOWORD(wParam) == kMainListId) {
            if (HIWORD(wParam) == LBN_SELCHANGE) mainListView_.PullSelection();
            return 0;
        }
        if (HIWORD(wParam) == 0 && lParam == 0) Menu_Click(LOWORD(wParam));
        return 0;
    case WM_CONTEXTMENU:
        if (reinterpret_cast<HWND>(wParam) == mainList_) MainList_PopupMenu(lParam);
        return 0;
    case WM_SIZE:
        Form_Resize();
        return 0;
    case WM_SETFOCUS:
        // The list is the window's only control: whenever the window gets the focus
        // (its start, the end of a dialog, a box or a file dialog), the list has it.
        if (mainList_) SetFocus(mainList_);
        return 0;
    case WM_CLOSE:
        Form_Unload();
        return 0;
    case WM_QUERYENDSESSION:
        return Form_QueryEndSession() ? TRUE : FALSE;
    case WM_ENDSESSION:
        if (wParam) Form_EndSession();
        return 0;
    case kDialogGone:
        if (form2_ && !form2_->Handle()) form2_.reset();
        if (form3_ && !form3_->Handle()) form3_.reset();
        return 0;
    case WM_DESTROY:
        mainListView_.Unbind();
        if (options_.quitOnClose) PostQuitMessage(0);
        return 0;
    default:
        return ScaledWindow::HandleMessage(message, wParam, lParam);
    }
}

// ---- what the commands ask and tell --------------------------------------------------

std::optional<std::wstring> Form1::ShowOpenDialog() { return ShowFileDialog(false, kOpenTitle, kOpenFilter); }

std::optional<std::wstring> Form1::ShowSaveDialog() { return ShowFileDialog(true, kSaveTitle, kSaveFilter); }

std::optional<std::wstring> Form1::ShowFileDialog(bool save, const wchar_t* title, const wchar_t* filter) {
    // Read-only box hidden; no extension added, no overwrite question of the dialog's
    // own (the editor asks itself), the chosen file need not exist; and the process's
    // current folder stays where it was, since relative entries resolve against it.
    cdialog_.Flags = OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    cdialog_.DialogTitle = title;
    cdialog_.Filter = filter;
    if (!(save ? cdialog_.ShowSave(ModalOwner()) : cdialog_.ShowOpen(ModalOwner()))) return std::nullopt;
    return cdialog_.FileName;
}

bool Form1::Ask(Question question, std::size_t count) {
    switch (question) {
    case Question::SizeOver:
        return MessageBoxW(ModalOwner(), kSizeOver, kQuestionTitle, MB_OKCANCEL) == IDOK;
    case Question::Overwrite:
        return MessageBoxW(ModalOwner(), kOverwrite, kQuestionTitle, MB_YESNO) == IDYES;
    case Question::AlteredEntries: {
        const std::wstring text = kAlteredBefore + std::to_wstring(count) + kAlteredAfter;
        return MessageBoxW(ModalOwner(), text.c_str(), kQuestionTitle, MB_OKCANCEL) == IDOK;
    }
    case Question::UnreadableEntries: {
        const std::wstring text = kUnreadableBefore + std::to_wstring(count) + kUnreadableAfter;
        return MessageBoxW(ModalOwner(), text.c_str(), kQuestionTitle, MB_OKCANCEL) == IDOK;
    }
    }
    return false;
}

EditorHost::AlteredChoice Form1::AskAlteredOrUtf8(std::size_t count, const std::wstring& path,
                                                  const std::wstring& utf8Path) {
    // The names only: the folder is the same and would make the box very wide.
    const std::wstring text = kAlteredBefore + std::to_wstring(count) + kAlteredOfferAfter +
                              NameOnly(utf8Path) + kAlteredOfferUtf8 + NameOnly(path) +
                              kAlteredOfferEnd;
    switch (MessageBoxW(ModalOwner(), text.c_str(), kQuestionTitle, MB_YESNOCANCEL)) {
    case IDYES: return AlteredChoice::SaveAsUtf8;
    case IDNO: return AlteredChoice::Replace;
    default: return AlteredChoice::Cancel;
    }
}

EditorHost::SaveChoice Form1::AskSaveChanges() {
    switch (MessageBoxW(ModalOwner(), kSaveChanges, kQuestionTitle, MB_YESNOCANCEL)) {
    case IDYES: return SaveChoice::Save;
    case IDNO: return SaveChoice::Discard;
    default: return SaveChoice::Cancel;
    }
}

void Form1::Tell(Notice notice, const std::wstring& subject, const std::wstring& detail, std::size_t count) {
    if (sessionEnded_) return;  // nobody is left to read it, and the box would hold up the end
    std::wstring text;
    const wchar_t* title = kErrorTitle;
    switch (notice) {
    case Notice::ReadFailed: text = WithPath(kReadFailed, subject, detail); break;
    case Notice::WriteFailed: text = WithPath(kWriteFailed, subject, detail); break;
    case Notice::LeftOut:
        text = kLeftOutBefore + std::to_wstring(count) + kLeftOutAfter;
        title = kInfoTitle;
        break;
    case Notice::ClipboardBusy: text = kClipboardBusy; break;
    case Notice::ExtFolderMissing: text = WithPath(kExtFolderMissing, subject, detail); break;
    case Notice::ExtReadFailed: text = WithPath(kExtReadFailed, subject, detail); break;
    case Notice::ExtWriteFailed: text = WithPath(kExtWriteFailed, subject, detail); break;
    }
    MessageBoxW(ModalOwner(), text.c_str(), title, MB_OK);
}

}  // namespace listwright

namespace listwright {

ClipboardPort::Status SystemClipboard::SetText(const std::wstring& text) {
    return tessel::win32::PutClipboardText(owner_, text) ? Status::Ok : Status::Busy;
}

ClipboardPort::Status SystemClipboard::GetText(std::wstring& text) {
    switch (tessel::win32::GetClipboardText(owner_, text)) {
    case tessel::win32::ClipboardRead::Text: return Status::Ok;
    case tessel::win32::ClipboardRead::NoText: return Status::NoText;
    case tessel::win32::ClipboardRead::Busy: break;
    }
    return Status::Busy;
}

}  // namespace listwright
