// Failures of the Win32 layer as text a user can read, in one style for both programs:
// "operation (code): the system's own words", UTF-16 from the system's message to the
// report, Japanese included.
//
// A failure that ends what the caller is doing (a window that cannot be made) is thrown
// as WideError; one that only costs a convenience (a menu, a child control) is written
// where a debugger sees it (DebugReport) and the program goes on.
#pragma once

#include <windows.h>

#include <stdexcept>
#include <string>

namespace tessel::win32 {

// "operation (code): words"; "operation (code)" when the system has no words for it.
std::wstring ErrorText(const wchar_t* operation, DWORD code);
// ErrorText for GetLastError().
std::wstring LastErrorText(const wchar_t* operation);

// A failure whose description a user will read. what() holds only the ASCII part of
// the text (for a debugger); Text() is the whole of it.
class WideError : public std::runtime_error {
public:
    explicit WideError(std::wstring text);
    const std::wstring& Text() const noexcept { return text_; }

private:
    std::wstring text_;
};

// The text of whatever an exception is: WideError's own, another's what() read as
// UTF-8 (our own narrow messages are UTF-8; a byte is never a character of its own).
std::wstring DescribeException(const std::exception& e);

// The full path of this program's file; empty if the system cannot say.
std::wstring ProgramPath();

// One line for a debugger (OutputDebugString), with the program's name in front.
void DebugReport(const std::wstring& text);

// Runs `work`; an exception it throws is reported as "`who` failed: ..." and swallowed
// (false), so that it never unwinds through the window manager.
template <class Work>
bool ReportFailure(const wchar_t* who, Work&& work) {
    try {
        work();
        return true;
    } catch (const std::exception& e) {
        DebugReport(std::wstring(who) + L" failed: " + DescribeException(e));
    } catch (...) {
        DebugReport(std::wstring(who) + L" failed");
    }
    return false;
}

}  // namespace tessel::win32
