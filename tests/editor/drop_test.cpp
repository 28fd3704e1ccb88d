#include <gtest/gtest.h>

#include <shlobj.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>

#include "tests/editor/window_harness.h"

namespace listwright::testing {
namespace {

using Texts = std::vector<std::wstring>;
namespace fs = std::filesystem;

// A drop as the shell delivers it: a DROPFILES block with wide paths, owned by the
// receiver (DragFinish frees it).
HDROP MakeDrop(const Texts& paths) {
    std::size_t chars = 1;
    for (const auto& p : paths) chars += p.size() + 1;
    HGLOBAL block = GlobalAlloc(GHND, sizeof(DROPFILES) + chars * sizeof(wchar_t));
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    header->fWide = TRUE;
    auto* out = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(header) + sizeof(DROPFILES));
    for (const auto& p : paths) {
        std::memcpy(out, p.c_str(), (p.size() + 1) * sizeof(wchar_t));
        out += p.size() + 1;
    }
    *out = L'\0';
    GlobalUnlock(block);
    return static_cast<HDROP>(block);
}

void Touch(const fs::path& p) {
    fs::create_directories(p.parent_path());
    std::ofstream(p) << "x";
}

struct Drops : EditorWindow {
    std::wstring W(const fs::path& p) const { return p.wstring(); }
    void Drop(const Texts& paths) { SendMessageW(List(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(paths)), 0); }
};

TEST_F(Drops, DroppedFilesThenFolderLevelsFilteredAndAppendedUnselected) {
    Touch(dir / "folder" / "a.mp3");
    Touch(dir / "folder" / "sub" / "b.mp3");
    Touch(dir / "folder" / "SONG.MP3");
    Touch(dir / "folder" / "notes.txt");
    Touch(dir / "c.mp3");
    form->Editor().MainList().Append({L"first", L"middle", L"last"});
    UserSelect({1});
    Drop({W(dir / "c.mp3"), W(dir / "folder")});
    EXPECT_EQ(ListBoxTexts(), (Texts{L"first", L"middle", L"last", W(dir / "c.mp3"), W(dir / "folder" / "a.mp3"),
                                     W(dir / "folder" / "sub" / "b.mp3")}));
    EXPECT_EQ(ListBoxSelection(), (std::vector<bool>{false, true, false, false, false, false}));
    EXPECT_EQ(StatusText(), L"");

    // Twice the same file: twice in the list.
    Drop({W(dir / "c.mp3"), W(dir / "c.mp3")});
    EXPECT_EQ(ListBoxTexts().size(), 8u);
}

TEST_F(Drops, ASecondDropDuringTheWalkRunsAfterItWithoutMixing) {
    Touch(dir / "one" / "1.mp3");
    Touch(dir / "one" / "deeper" / "2.mp3");
    Touch(dir / "two.mp3");
    // The second drop is waiting in the queue and arrives while the first walk lets
    // messages run.
    PostMessageW(List(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({W(dir / "two.mp3")})), 0);
    Drop({W(dir / "one")});
    EXPECT_EQ(ListBoxTexts(), (Texts{W(dir / "one" / "1.mp3"), W(dir / "one" / "deeper" / "2.mp3"), W(dir / "two.mp3")}));
}

TEST_F(Drops, ClosingDuringTheWalkEndsCleanlyAndWritesExtIni) {
    Touch(dir / "one" / "1.mp3");
    dir.Write("m3usetting/ext.ini", "*.wav\r\n*.mp3\r\n");
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
    Drop({W(dir / "one")});
    Pump();
    EXPECT_EQ(form->Handle(), nullptr);
    EXPECT_EQ(tessel::testing::TempDir::ReadBytes(dir / "m3usetting" / "ext.ini"), "*.mp3\r\n*.wav\r\n");
}

// A tree with links back up made from the Linux side (see the test's set-up step):
// root\r.mp3, root\sub\s.mp3, root\sub\up -> root, root\sub\self -> root\sub,
// root\sub\side -> outside (outside\o.mp3).
TEST_F(Drops, LinksBackUpTheTreeAreNotFollowed) {
    const char* tree = std::getenv("TESSEL_EDITOR_LINK_TREE");
    if (!tree || !*tree) GTEST_SKIP() << "no link tree prepared";
    const fs::path root = fs::path(tree) / "root";
    ASSERT_TRUE(fs::exists(root / "sub" / "up" / "r.mp3"));
    Drop({W(root)});
    Texts got = ListBoxTexts();
    std::sort(got.begin(), got.end());
    EXPECT_EQ(got, (Texts{W(root / "r.mp3"), W(root / "sub" / "s.mp3"), W(root / "sub" / "side" / "o.mp3")}));
    // The same folder dropped twice is walked twice.
    form->Editor().MainList().Clear();
    Drop({W(root), W(root)});
    EXPECT_EQ(ListBoxTexts().size(), 6u);
}

}  // namespace
}  // namespace listwright::testing
