// The editor's main window: the list MainList, the status bar SBar showing the current
// file, the menus "ファイル" and "編集" (also the list's right-click menu), and the two
// dialogs Form2 and Form3. Menu items and events are forwarded to ListEditor; this
// class shows what it asks and tells.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <filesystem>
#include <memory>

#include "editor/core/listeditor.h"
#include "editor/ui/ListBoxView.h"
#include "win32/child_hook.h"
#include "win32/dialogs.h"
#include "win32/dpi.h"
#include "win32/window.h"

namespace listwright {

class Form2;
class Form3;

// Control and menu identifiers of Form1 (the tests drive the window with them).
enum Form1Id : UINT {
    kMainListId = 100,
    kSBarId = 101,
    kCreateNewFile = 1001,
    kEditExistFile,
    kOverwriteFile,
    kNameFileSave,
    kTheEndApp,
    kCutFromList = 1101,
    kCopyFromList,
    kDeleteFromList,
    kClearList,
    kPasteToList,
    kPasteToPoint,
    kListAllChoice,
    kWildCardList,
    kReverseChoiceList,
    kNoChoiceList,
    kExpFiles,
    kEnumNameSeq,
    kNoExistsDelete,
    kExtSetting,
    kAddingList,
};

// The system clipboard as the editor's commands see it.
class SystemClipboard final : public ClipboardPort {
public:
    void SetOwner(HWND owner) { owner_ = owner; }
    Status SetText(const std::wstring& text) override;
    Status GetText(std::wstring& text) override;

private:
    HWND owner_ = nullptr;
};

class Form1 final : public tessel::win32::ScaledWindow, public EditorHost {
public:
    struct Options {
        // The folder whose m3usetting\ext.ini holds the patterns: the program's own.
        std::filesystem::path programFolder;
        // The program ends its message loop when the window goes; a test does not.
        bool quitOnClose = true;
    };
    explicit Form1(Options options);
    ~Form1() override;

    // False (reported for a debugger) when the window cannot be made.
    bool Create(int showCommand);

    ListEditor& Editor() { return editor_; }
    HWND MainList() const { return mainList_; }
    HWND SBar() const { return sbar_; }
    // The open dialog window (Form2 or Form3), or nothing.
    HWND DialogWindow() const;
    // Gives the open dialog its keyboard navigation; true if the message was used.
    bool PreTranslate(MSG& msg);

    // EditorHost
    std::optional<std::wstring> ShowOpenDialog() override;
    std::optional<std::wstring> ShowSaveDialog() override;
    bool Ask(Question question, std::size_t count) override;
    SaveChoice AskSaveChanges() override;
    AlteredChoice AskAlteredOrUtf8(std::size_t count, const std::wstring& path, const std::wstring& utf8Path) override;
    void Tell(Notice notice, const std::wstring& subject, const std::wstring& detail,
              std::size_t count) override;
    ClipboardPort& Clipboard() override { return clipboard_; }
    FolderSource& Folders() override { return SystemFolders(); }
    bool LetMessagesRun() override;

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    std::optional<LRESULT> MainList_Message(UINT message, WPARAM wParam);
    std::optional<std::wstring> ShowFileDialog(bool save, const wchar_t* title, const wchar_t* filter);

    void Form_Load();
    void Form_Resize();
    void Form_Unload();
    // False when the user keeps a changed list: the session may not end yet.
    bool Form_QueryEndSession();
    void Form_EndSession();
    // The list may be let go (unchanged, saved or given up by the user).
    bool ConfirmDiscard();
    // The window a modal box or file dialog belongs to: the open dialog, if any, so
    // that the main window stays disabled while it is open.
    HWND ModalOwner() const;
    void MainList_OLEDragDrop(HDROP drop);
    void MainList_PopupMenu(LPARAM screenPoint);
    void Menu_Click(UINT id);
    void WildCardList_Click();
    void ExtSetting_Click();
    // Disables this window and places a dialog 1,000 twips right of and below it.
    POINT DialogPlace();
    void DialogClosing();

    Options options_;
    ListEditor editor_{*this};
    ListBoxView mainListView_;
    SystemClipboard clipboard_;
    // One object for the whole run, so its file-name field keeps the last name chosen
    // in either dialog.
    tessel::win32::CommonDialog cdialog_;
    HWND mainList_ = nullptr;
    // The list's drops arrive through a procedure in front of its own.
    tessel::win32::ChildHook mainListHook_;
    HWND sbar_ = nullptr;
    HMENU menuBar_ = nullptr;  // owned by the window
    HMENU menuEdit_ = nullptr;  // in the menu bar
    std::unique_ptr<Form2> form2_;
    std::unique_ptr<Form3> form3_;
    bool closeRequested_ = false;
    bool sessionEnded_ = false;
    // The controls at the display scale of the window's monitor.
};

}  // namespace listwright
