// Drops on the editor's list, delivered as the shell delivers them. The walk's rules
// are tested natively (dropwalk_test); here the window's part and the Win32 file
// system under it.
#include <gtest/gtest.h>

#include "tests/editor/window_harness.h"

namespace listwright::testing {
namespace {

namespace fs = std::filesystem;

struct Drops : EditorWindow {
    void Drop(const Texts& paths) { SendDrop(List(), paths); }
    void Touch(const char* name) { dir.Write(name, "x"); }
    std::wstring W(const char* name) const { return (dir / name).make_preferred().wstring(); }
};

TEST_F(Drops, DroppedFilesThenFolderLevelsFilteredAppendedUnselectedAndInTurn) {
    for (const char* name : {"folder/a.mp3", "folder/sub/b.mp3", "folder/SONG.MP3", "folder/notes.txt", "c.mp3"})
        Touch(name);
    Entries().Append({L"first", L"middle", L"last"});
    UserSelect({1});
    Drop({W("c.mp3"), W("folder")});
    EXPECT_EQ(ListBoxTexts(), (Texts{L"first", L"middle", L"last", W("c.mp3"), W("folder/a.mp3"), W("folder/sub/b.mp3")}));
    EXPECT_EQ(ListBoxSelection(), (std::vector<bool>{false, true, false, false, false, false}));
    EXPECT_EQ(StatusText(), L"");

    // A second drop waiting in the queue arrives while the first walk lets messages
    // run: it is walked after it, without mixing.
    Entries().Clear();
    for (const char* name : {"one/1.mp3", "one/deeper/2.mp3", "two.mp3"}) Touch(name);
    PostMessageW(List(), WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop({W("two.mp3")})), 0);
    Drop({W("one")});
    EXPECT_EQ(ListBoxTexts(), (Texts{W("one/1.mp3"), W("one/deeper/2.mp3"), W("two.mp3")}));
}

TEST_F(Drops, ClosingDuringTheWalkEndsCleanlyAndWritesExtIni) {
    Touch("one/1.mp3");
    dir.Write("m3usetting/ext.ini", "*.wav\r\n*.mp3\r\n");
    PostMessageW(Handle(), WM_CLOSE, 0, 0);
    Drop({W("one")});
    Pump();
    EXPECT_EQ(form->Handle(), nullptr);
    EXPECT_EQ(ExtIniBytes(), "*.mp3\r\n*.wav\r\n");
}

}  // namespace
}  // namespace listwright::testing
