// The editor's clipboard commands on the system clipboard (the waiting rule itself is
// the Win32 layer's, tested there).
#include <gtest/gtest.h>

#include "tests/editor/window_harness.h"

namespace listwright::testing {
namespace {

using Clipboard = EditorWindow;

TEST_F(Clipboard, CopyCutAndPasteThroughTheSystemClipboard) {
    Entries().Append({L"a", L"x", L"b", L"\u65E5\u672C"});
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

    Entries().Append({L"C"});
    UserSelect({1});
    WriteClipboard(L"X\r\n\r\nY\r\n");
    Command(kPasteToPoint);
    EXPECT_EQ(ListBoxTexts(), (Texts{L"a", L"X", L"Y", L"b", L"C"}));
    EXPECT_EQ(ListBoxSelection(), (std::vector<bool>{false, false, false, true, false}));

    WriteClipboard(L"p\nq\n");
    Command(kPasteToList);
    EXPECT_EQ(ListBoxTexts().back(), L"p\nq\n");
    EXPECT_EQ(ListBoxTexts().size(), 6u);

    // An image and no text pastes nothing.
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 4, 4);
    ReleaseDC(nullptr, screen);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_BITMAP, bitmap);
    CloseClipboard();
    Command(kPasteToList);
    Command(kPasteToPoint);
    EXPECT_EQ(ListBoxTexts().size(), 6u);
}

TEST_F(Clipboard, AClipboardHeldLongIsGivenUpWithAMessageAndCutKeepsTheEntries) {
    Entries().Append({L"a", L"b"});
    UserSelect({0});
    boxes.Expect(L"エラー", IDOK);
    {
        ClipboardHolder holder(1500ms);
        ASSERT_TRUE(holder.Holds());
        Command(kCutFromList);
    }
    EXPECT_EQ(ListBoxTexts(), (Texts{L"a", L"b"}));
    const auto seen = boxes.TakeSeen();
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_NE(seen[0].text.find(L"クリップボードを使用できませんでした"), std::wstring::npos);
}

}  // namespace
}  // namespace listwright::testing
