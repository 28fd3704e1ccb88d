// The extension dialog "登録する拡張子": a working copy of the patterns (ExtList), Text1,
// "新規登録", "×", and the menu "編集" with "削除" and "終了" (also the list's
// right-click menu). Any way of closing hands the working copy back.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "editor/core/entrylist.h"
#include "editor/ui/ListBoxView.h"
#include "editor/ui/dialog_window.h"

namespace listwright {

enum Form3Id : int {
    kForm3ExtList = 301,
    kForm3Command1,
    kForm3Text1,
    kForm3Command2,
    kForm3MenuDelete = 311,
    kForm3OnEnd,
};

class Form3 final : public DialogWindow {
public:
    struct Handlers {
        std::function<void(const std::vector<std::wstring>& patterns)> closing;
    };
    // False (reported for a debugger) when the window cannot be made.
    bool Create(HWND owner, POINT topLeft, const std::vector<std::wstring>& patterns, Handlers handlers);
    ~Form3() override;
    HWND Text1() const { return text1_; }
    const EntryList& ExtList() const { return extList_; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Command1_Click();
    void MenuDelete_Click();
    void ExtList_PopupMenu(LPARAM screenPoint);
    void Form_Unload();
    // Gives the working copy back once, however the dialog closes.
    bool HandBack();

    Handlers handlers_;
    EntryList extList_;
    std::vector<std::wstring> notShown_;  // patterns beyond what the list box holds
    ListBoxView extListView_;
    HWND extListBox_ = nullptr;
    HWND text1_ = nullptr;
    HMENU menuEdit_ = nullptr;  // in the window's menu bar
    bool unloading_ = false;
    // The controls at the display scale of the window's monitor.
};

}  // namespace listwright
