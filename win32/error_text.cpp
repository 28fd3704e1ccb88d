#include "win32/error_text.h"

#include "common/system_message.h"
#include "common/utf8.h"

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
}  // namespace

WideError::WideError(std::wstring text) : std::runtime_error(AsciiPart(text)), text_(std::move(text)) {}

std::wstring DescribeException(const std::exception& e) {
    if (const auto* wide = dynamic_cast<const WideError*>(&e)) return wide->Text();
    // The text of a standard exception is UTF-8; invalid bytes become U+FFFD.
    return DecodeUtf8(e.what());
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
