// listwright: the list editor. Starts with an empty list and ends when its window closes.
#include <windows.h>

#include <filesystem>

#include "editor/ui/Form1.h"
#include "win32/error_text.h"

namespace {

std::filesystem::path ProgramFolder() {
    const std::wstring program = tessel::win32::ProgramPath();
    if (program.empty()) return std::filesystem::current_path();
    return std::filesystem::path(program).parent_path();
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
    // An empty card reader or disc drive in a list must not raise the system's "no disk"
    // box at every existence test: the call fails, and the list says what is missing.
    SetErrorMode(GetErrorMode() | SEM_FAILCRITICALERRORS);
    listwright::Form1 form(listwright::Form1::Options{ProgramFolder(), true});
    if (!form.Create(showCommand)) return 1;
    MSG msg;
    BOOL got;
    while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0) {
        if (got == -1) break;
        if (!form.PreTranslate(msg)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
    }
    return static_cast<int>(msg.wParam);
}
