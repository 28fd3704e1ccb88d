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

// Every shape of link loop, made from the Linux side (tests/make-link-loops.sh), dropped
// on the list: each walk ends and brings every file once, by its own path where the
// level-by-level walk reaches it so before a link does. The order within a level is
// the file system's, so the entries are compared as sets.
TEST_F(Drops, EveryShapeOfLinkLoopEndsWithEachFileOnce) {
    const char* where = std::getenv("TESSEL_EDITOR_LINK_LOOPS");
    if (!where || !*where) GTEST_SKIP() << "no link loops prepared";
    const fs::path loops = where;
    ASSERT_TRUE(fs::exists(loops / "self" / "sub" / "self" / "b.mp3"));
    auto drop = [&](const fs::path& folder) {
        form->Editor().MainList().Clear();
        Drop({W(folder)});
        Texts got = ListBoxTexts();
        std::sort(got.begin(), got.end());
        return got;
    };
    auto paths = [&](std::initializer_list<const wchar_t*> relative) {
        Texts out;
        for (const wchar_t* r : relative) out.push_back(W(loops / r));
        std::sort(out.begin(), out.end());
        return out;
    };
    EXPECT_EQ(drop(loops / "self"), paths({L"self\\a.mp3", L"self\\sub\\b.mp3"}));
    EXPECT_EQ(drop(loops / "parent"),
              paths({L"parent\\a.mp3", L"parent\\mid\\m.mp3", L"parent\\mid\\sub\\b.mp3"}));
    EXPECT_EQ(drop(loops / "dropped"), paths({L"dropped\\a.mp3", L"dropped\\mid\\sub\\b.mp3"}));
    EXPECT_EQ(drop(loops / "mutual"), paths({L"mutual\\x\\x.mp3", L"mutual\\y\\y.mp3"}));
    EXPECT_EQ(drop(loops / "chain" / "start"),
              paths({L"chain\\start\\s.mp3", L"chain\\start\\next\\h1.mp3",
                     L"chain\\start\\next\\next\\h2.mp3", L"chain\\start\\next\\next\\next\\h3.mp3"}));
    EXPECT_TRUE(drop(loops / "chain" / "c1").empty());
    EXPECT_EQ(drop(loops / "away" / "top"), paths({L"away\\top\\t.mp3", L"away\\top\\out\\p.mp3"}));
    // Twelve levels of folders linking to each other: 4,096 ways down, one file, by
    // its own path.
    std::wstring deep = L"levels";
    for (int i = 0; i < 12; ++i) deep += L"\\a\\next";
    deep += L"\\deep.mp3";
    EXPECT_EQ(drop(loops / "levels"), Texts{W(loops / deep)});
}

}  // namespace
}  // namespace listwright::testing
