// Stands in for the list editor in a test's program folder: writes the error mode it
// started with (the one its parent passed on) as a decimal number to error_mode.txt
// beside itself.
#include <windows.h>

#include <cstdio>
#include <string>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    const UINT mode = ::GetErrorMode();
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring file(path, length);
    file = file.substr(0, file.find_last_of(L"\\/") + 1) + L"error_mode.txt";
    if (FILE* out = _wfopen(file.c_str(), L"w")) {
        std::fprintf(out, "%u", mode);
        std::fclose(out);
    }
    return 0;
}
