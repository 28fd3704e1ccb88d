// listwright: the list editor. Starts with an empty list and ends when its window closes.
#include <windows.h>

#include <filesystem>
#include <vector>

#include "editor/ui/Form1.h"

namespace {

std::filesystem::path ProgramFolder() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD got = GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (got == 0) return std::filesystem::current_path();
        if (got < buffer.size()) return std::filesystem::path(std::wstring(buffer.data(), got)).parent_path();
        buffer.resize(buffer.size() * 2);
    }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int showCommand) {
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
