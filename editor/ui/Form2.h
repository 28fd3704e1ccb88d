// The pattern dialog "ワイルドカード検索": Text1 (starting "*"), "実行" and "キャンセル".
// Enter and Esc trigger neither button.
#pragma once

#include <functional>
#include <string>

#include "editor/ui/dialog_window.h"

namespace listwright {

enum Form2Id : int { kForm2Text1 = 201, kForm2Command1, kForm2Command2 };

class Form2 final : public DialogWindow {
public:
    struct Handlers {
        std::function<void(const std::wstring& pattern)> run;  // "実行"
        std::function<void()> closing;                         // any way of closing
    };
    // False (reported for a debugger) when the window cannot be made.
    bool Create(HWND owner, POINT topLeft, Handlers handlers);
    HWND Text1() const { return text1_; }

private:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    void Command1_Click();
    void Form_Unload();

    Handlers handlers_;
    HWND text1_ = nullptr;
    bool unloading_ = false;
    // The controls at the display scale of the window's monitor.
};

}  // namespace listwright
