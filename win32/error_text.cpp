#include "win32/error_text.h"

#include <algorithm>

#include "common/system_message.h"

namespace tessel::win32 {

std::wstring ErrorText(const wchar_t* operation, DWORD code) {
    std::wstring text = std::wstring(operation) + L" (" + std::to_wstring(code) + L")";
    const std::wstring words = SystemMessage(code);
    if (!words.empty()) text += L": " + words;
    return text;
}

std::wstring LastErrorText(const wchar_t* operation) { return ErrorText(operation, ::GetLastError()); }

namespace {
std::string AsciiPart(const std::wstring& text) {
    std::string out;
    for (wchar_t c : text) out.push_back(c < 0x80 ? static_cast<char>(c) : '?');
    return out;
}

// UTF-8 as UTF-16; invalid bytes become U+FFFD.
std::wstring WideFromUtf8(const char* text) {
    const int size = static_cast<int>(std::char_traits<char>::length(text));
    if (size == 0) return {};
    const int n = ::MultiByteToWideChar(CP_UTF8, 0, text, size, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(std::max(n, 0)), L'\0');
    if (n > 0) ::MultiByteToWideChar(CP_UTF8, 0, text, size, wide.data(), n);
    return wide;
}
}  // namespace

WideError::WideError(std::wstring text) : std::runtime_error(AsciiPart(text)), text_(std::move(text)) {}

std::wstring DescribeException(const std::exception& e) {
    if (const auto* wide = dynamic_cast<const WideError*>(&e)) return wide->Text();
    return WideFromUtf8(e.what());
}

std::wstring ProgramPath() {
    // Paths can be longer than MAX_PATH: the buffer grows until the name fits.
    std::wstring buffer(MAX_PATH, L'\0');
    for (;;) {
        const DWORD n = ::GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (n == 0) return {};
        if (n < buffer.size()) return buffer.substr(0, n);
        buffer.resize(buffer.size() * 2);
    }
}

void DebugReport(const std::wstring& text) {
    std::wstring name = ProgramPath();
    name = name.substr(name.find_last_of(L"\\/") + 1);
    ::OutputDebugStringW((name + L": " + text + L"\n").c_str());
}

}  // namespace tessel::win32
