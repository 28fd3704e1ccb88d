// The Win32 layer both programs share, under Wine: the window thunk's binding, the
// handle owner, menus from tables, the hook in front of a control, the clipboard and
// error text.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "win32/child_hook.h"
#include "win32/clipboard.h"
#include "win32/error_text.h"
#include "win32/handle.h"
#include "win32/menus.h"
#include "win32/window.h"
#include "tests/support/win32.h"

namespace tessel::win32 {
namespace {

constexpr UINT kThrow = WM_APP + 1;
constexpr UINT kAnswer = WM_APP + 2;

// A form that writes down every message it gets, and what its handle was at WM_CREATE.
class Probe : public Window {
public:
    explicit Probe(std::vector<UINT>& log) : log_(log) {
        RegisterWindowClass(L"TesselLayerProbe", 0, nullptr);
        CreateWindowOf(L"TesselLayerProbe", L"probe", WS_POPUP, 0, 0, 0, 10, 10);
    }
    HWND handleAtCreate = nullptr;

protected:
    LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override {
        log_.push_back(message);
        if (message == WM_CREATE) handleAtCreate = Handle();
        if (message == kThrow) throw std::runtime_error("handler failed");
        if (message == kAnswer) return 42;
        return Window::HandleMessage(message, wParam, lParam);
    }

private:
    std::vector<UINT>& log_;
};

bool Seen(const std::vector<UINT>& log, UINT message) {
    return std::find(log.begin(), log.end(), message) != log.end();
}

// What the window's binding was when each message of the destruction arrived.
struct Arrival {
    UINT message;
    LONG_PTR binding;
};
HWND g_watched = nullptr;
std::vector<Arrival> g_arrivals;
LRESULT CALLBACK Watch(int code, WPARAM wParam, LPARAM lParam) {
    const auto* m = reinterpret_cast<const CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && m->hwnd == g_watched)
        g_arrivals.push_back({m->message, ::GetWindowLongPtrW(m->hwnd, GWLP_USERDATA)});
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

TEST(Win32Window, TheFormIsBoundFromCreationAndCutLooseBeforeItsWindowIsDestroyed) {
    std::vector<UINT> log;
    auto probe = std::make_unique<Probe>(log);
    HWND hwnd = probe->Handle();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_TRUE(Seen(log, WM_NCCREATE));
    EXPECT_EQ(probe->handleAtCreate, hwnd);

    // The object goes first: the messages of its window's destruction find no binding.
    HHOOK hook = ::SetWindowsHookExW(WH_CALLWNDPROC, &Watch, nullptr, ::GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    g_watched = hwnd;
    g_arrivals.clear();
    log.clear();
    probe.reset();
    ::UnhookWindowsHookEx(hook);
    EXPECT_FALSE(::IsWindow(hwnd));
    EXPECT_TRUE(log.empty());
    bool sawDestroy = false;
    for (const Arrival& a : g_arrivals) {
        sawDestroy = sawDestroy || a.message == WM_DESTROY;
        EXPECT_EQ(a.binding, 0) << "message " << a.message << " still reached the form";
    }
    EXPECT_TRUE(sawDestroy);
}

// A handler that throws leaves the message to the system and the window goes on; a
// window destroyed while its object lives is heard to the last message.
TEST(Win32Window, AThrowingHandlerAndAWindowDestroyedFirstLeaveTheFormWhole) {
    std::vector<UINT> log;
    Probe probe(log);
    EXPECT_EQ(::SendMessageW(probe.Handle(), kThrow, 0, 0), 0);
    EXPECT_EQ(::SendMessageW(probe.Handle(), kAnswer, 0, 0), 42);
    ::DestroyWindow(probe.Handle());
    EXPECT_TRUE(Seen(log, WM_DESTROY));
    EXPECT_EQ(log.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(probe.Handle(), nullptr);
}

TEST(Win32Window, AWindowThatCannotBeMadeIsAWideErrorInTheSystemsWords) {
    struct Orphan : Window {
        void Create() { CreateWindowOf(L"TesselNoSuchClass", L"x", WS_POPUP, 0, 0, 0, 1, 1); }
    } orphan;
    try {
        orphan.Create();
        ADD_FAILURE() << "a window of an unknown class was made";
    } catch (const WideError& e) {
        // Windows says 1407, Wine 1411.
        EXPECT_TRUE(e.Text() == ErrorText(L"CreateWindowEx", ERROR_CANNOT_FIND_WND_CLASS) ||
                    e.Text() == ErrorText(L"CreateWindowEx", ERROR_CLASS_DOES_NOT_EXIST));
    }
    EXPECT_EQ(orphan.Handle(), nullptr);
}

struct CountingTraits {
    using pointer = int;
    static int invalid() noexcept { return 0; }
    static void close(int p) noexcept { closed.push_back(p); }
    static inline std::vector<int> closed;
};

TEST(UniqueHandle, MoveLeavesTheSourceEmptyAndEveryHandleIsFreedExactlyOnce) {
    CountingTraits::closed.clear();
    {
        unique_handle<CountingTraits> a(5);
        unique_handle<CountingTraits> b(std::move(a));
        EXPECT_FALSE(a);
        EXPECT_EQ(a.get(), 0);
        EXPECT_EQ(b.get(), 5);
        unique_handle<CountingTraits> c(7);
        c = std::move(b);  // 7 goes, 5 moves on
        EXPECT_EQ(CountingTraits::closed, std::vector<int>{7});
        EXPECT_FALSE(b);
        c.reset(9);
        c.reset();
        c.reset();
        EXPECT_EQ(CountingTraits::closed, (std::vector<int>{7, 5, 9}));
        unique_handle<CountingTraits> d(11);
        EXPECT_EQ(d.release(), 11);
    }
    EXPECT_EQ(CountingTraits::closed, (std::vector<int>{7, 5, 9}));

    // The real traits: a region is deleted, a kernel handle closed, and neither of a
    // kernel handle's two "none" values counts as a handle.
    HRGN region = ::CreateRectRgn(0, 0, 4, 4);
    unique_hrgn(region).reset();
    EXPECT_EQ(::GetObjectType(region), 0u);
    HANDLE mutex = ::CreateMutexW(nullptr, FALSE, nullptr);
    unique_kernel_handle(mutex).reset();
    DWORD flags = 0;
    EXPECT_FALSE(::GetHandleInformation(mutex, &flags));
    EXPECT_FALSE(unique_kernel_handle(INVALID_HANDLE_VALUE));
    EXPECT_FALSE(unique_kernel_handle(nullptr));
}

TEST(Menus, ATableBecomesTheMenuInItsOrderAndItsSubmenusGoWithIt) {
    unique_hmenu sub = BuildPopupMenu(std::vector<MenuEntry>{{7, L"seven"}});
    HMENU inner = sub.get();
    const MenuEntry entries[] = {{1, L"one"}, {}, {0, L"more", sub.release()}, {2, L"two"}};
    unique_hmenu menu = BuildPopupMenu(entries);
    ASSERT_TRUE(menu);
    ASSERT_EQ(::GetMenuItemCount(menu.get()), 4);
    EXPECT_EQ(::GetMenuItemID(menu.get(), 0), 1u);
    EXPECT_EQ(::GetMenuState(menu.get(), 1, MF_BYPOSITION) & MF_SEPARATOR, static_cast<UINT>(MF_SEPARATOR));
    EXPECT_EQ(::GetSubMenu(menu.get(), 2), inner);
    wchar_t caption[16] = {};
    ::GetMenuStringW(menu.get(), 3, caption, 16, MF_BYPOSITION);
    EXPECT_STREQ(caption, L"two");
    menu.reset();
    EXPECT_FALSE(::IsMenu(inner));
}

TEST(ChildHook, TakesWhatItsHandlerTakesAndGivesTheControlItsOwnProcedureBack) {
    unique_hwnd list(::CreateWindowExW(0, L"LISTBOX", nullptr, WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                                       ::GetModuleHandleW(nullptr), nullptr));
    ASSERT_TRUE(list);
    const LONG_PTR own = ::GetWindowLongPtrW(list.get(), GWLP_WNDPROC);
    std::vector<UINT> seen;
    ChildHook hook;
    auto handler = [&](HWND, UINT message, WPARAM, LPARAM) -> std::optional<LRESULT> {
        seen.push_back(message);
        if (message == kAnswer) return 42;
        return std::nullopt;
    };
    hook.Attach(list.get(), handler);
    EXPECT_EQ(::SendMessageW(list.get(), kAnswer, 0, 0), 42);
    ::SendMessageW(list.get(), LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(L"a"));
    EXPECT_EQ(::SendMessageW(list.get(), LB_GETCOUNT, 0, 0), 1);  // passed on to the list
    hook.Detach();
    EXPECT_EQ(::GetWindowLongPtrW(list.get(), GWLP_WNDPROC), own);
    EXPECT_EQ(::SendMessageW(list.get(), kAnswer, 0, 0), 0);

    // Destroyed while hooked: the hook lets go by itself.
    hook.Attach(list.get(), handler);
    seen.clear();
    list.reset();
    EXPECT_EQ(seen.back(), static_cast<UINT>(WM_NCDESTROY));
    EXPECT_EQ(hook.Control(), nullptr);
}

// Another program holding the clipboard is waited for up to the patience, and then
// given up without touching what it holds, in both directions.
TEST(Clipboard, AShortHoldIsWaitedOutALongOneGivenUp) {
    unique_hwnd owner(::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    ASSERT_TRUE(PutClipboardText(owner.get(), L"before"));
    {
        test::ClipboardHolder holder(std::chrono::milliseconds(kClipboardPatienceMs / 3));
        ASSERT_TRUE(holder.Holds());
        EXPECT_TRUE(PutClipboardText(owner.get(), L"after"));
    }
    std::wstring text;
    EXPECT_EQ(GetClipboardText(owner.get(), text), ClipboardRead::Text);
    EXPECT_EQ(text, L"after");
    test::ClipboardHolder holder(std::chrono::milliseconds(kClipboardPatienceMs * 3));
    const ULONGLONG start = ::GetTickCount64();
    EXPECT_FALSE(PutClipboardText(owner.get(), L"lost"));
    EXPECT_EQ(GetClipboardText(owner.get(), text), ClipboardRead::Busy);
    EXPECT_LT(::GetTickCount64() - start, 2 * kClipboardPatienceMs + 1000);
}

TEST(ErrorText, OneStyleWithTheSystemsWords) {
    const std::wstring missing = ErrorText(L"CreateFile", ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(missing.rfind(L"CreateFile (2): ", 0), 0u);
    EXPECT_GT(missing.size(), std::wstring(L"CreateFile (2): ").size());
    EXPECT_EQ(ErrorText(L"X", 0x2FFFFFFF), L"X (805306367)");  // no words for it

    // Japanese text kept whole through a report: the start-up failure test of the player.
    EXPECT_STREQ(WideError(L"a開b").what(), "a?b");
}

}  // namespace
}  // namespace tessel::win32
