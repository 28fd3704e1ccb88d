#include <gtest/gtest.h>

#include <cstring>

#include "tests/editor/window_harness.h"

namespace listwright::testing {
namespace {

using Texts = std::vector<std::wstring>;

std::optional<std::wstring> ReadClipboard() {
    if (!OpenClipboard(nullptr)) return std::nullopt;
    std::optional<std::wstring> text;
    if (HANDLE h = GetClipboardData(CF_UNICODETEXT)) {
        text = static_cast<const wchar_t*>(GlobalLock(h));
        GlobalUnlock(h);
    }
    CloseClipboard();
    return text;
}

void WriteClipboard(const std::wstring& text) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL h = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
    std::memcpy(GlobalLock(h), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
    GlobalUnlock(h);
    SetClipboardData(CF_UNICODETEXT, h);
    CloseClipboard();
}

// Another program keeping the clipboard open for a while, from its own thread and window.
class ClipboardHolder {
public:
    explicit ClipboardHolder(DWORD ms) {
        thread_ = std::thread([this, ms] {
            HWND owner = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
            opened_ = OpenClipboard(owner) != FALSE;
            ready_ = true;
            Sleep(ms);
            if (opened_) CloseClipboard();
            DestroyWindow(owner);
        });
        while (!ready_) Sleep(1);
    }
    ~ClipboardHolder() { thread_.join(); }
    bool Opened() const { return opened_; }

private:
    std::atomic<bool> ready_{false};
    std::atomic<bool> opened_{false};
    std::thread thread_;
};

using Clipboard = EditorWindow;

TEST_F(Clipboard, CopyAndCutPutTheSelectedEntriesOnTheSystemClipboard) {
    form->Editor().MainList().Append({L"a", L"x", L"b", L"\u65E5\u672C"});
    UserSelect({0, 2, 3});
    Command(kCopyFromList);
    EXPECT_EQ(ReadClipboard(), L"a\r\nb\r\n\u65E5\u672C\r\n");

    WriteClipboard(L"kept");
    UserSelect({});
    Command(kCopyFromList);
    EXPECT_EQ(ReadClipboard(), L"kept");

    UserSelect({1, 3});
    Command(kCutFromList);
    EXPECT_EQ(ReadClipboard(), L"x\r\n\u65E5\u672C\r\n");
    EXPECT_EQ(ListBoxTexts(), (Texts{L"a", L"b"}));
}

TEST_F(Clipboard, PasteAtTheEndAndAtTheSelection) {
    form->Editor().MainList().Append({L"A", L"B", L"C"});
    UserSelect({1});
    WriteClipboard(L"X\r\n\r\nY\r\n");
    Command(kPasteToPoint);
    EXPECT_EQ(ListBoxTexts(), (Texts{L"A", L"X", L"Y", L"B", L"C"}));
    EXPECT_EQ(ListBoxSelection(), (std::vector<bool>{false, false, false, true, false}));

    WriteClipboard(L"p\nq\n");
    Command(kPasteToList);
    EXPECT_EQ(ListBoxTexts().back(), L"p\nq\n");
    EXPECT_EQ(ListBoxTexts().size(), 6u);

    // Two selected: paste at the selection does nothing.
    UserSelect({0, 1});
    Command(kPasteToPoint);
    EXPECT_EQ(ListBoxTexts().size(), 6u);
}

TEST_F(Clipboard, AnImageWithoutTextPastesNothing) {
    form->Editor().MainList().Append({L"A"});
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, bitmap);
    CloseClipboard();
    Command(kPasteToList);
    UserSelect({0});
    Command(kPasteToPoint);
    EXPECT_EQ(ListBoxTexts(), Texts{L"A"});
}

TEST_F(Clipboard, AClipboardHeldBrieflyIsWaitedFor) {
    form->Editor().MainList().Append({L"a"});
    UserSelect({0});
    {
        ClipboardHolder holder(150);
        ASSERT_TRUE(holder.Opened());
        Command(kCopyFromList);
    }
    EXPECT_EQ(ReadClipboard(), L"a\r\n");
    EXPECT_TRUE(boxes.TakeSeen().empty());
}

TEST_F(Clipboard, AClipboardHeldLongIsGivenUpWithAMessageAndCutKeepsTheEntries) {
    form->Editor().MainList().Append({L"a", L"b"});
    UserSelect({0});
    boxes.Expect(L"エラー", IDOK);
    const ULONGLONG start = GetTickCount64();
    {
        ClipboardHolder holder(4000);
        ASSERT_TRUE(holder.Opened());
        Command(kCutFromList);
        // Given up after the short wait, not when the other program let go.
        EXPECT_LT(GetTickCount64() - start, 3500u);
    }
    EXPECT_EQ(ListBoxTexts(), (Texts{L"a", L"b"}));
    const auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find(L"クリップボードを使用できませんでした"), std::wstring::npos);
}

}  // namespace
}  // namespace listwright::testing
