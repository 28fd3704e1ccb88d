// AddPathToList over real folder trees on this machine's file system.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "player/shared/add_path.h"
#include "player/shared/long_paths.h"
#include "tests/support/counting_folders.h"
#include "tests/support/link_loops.h"

namespace tessel::player {
namespace {

namespace fs = std::filesystem;

class AddPathTest : public ::testing::Test {
protected:
    tessel::test::TempDir root{"addpath"};
    test::CountingFolders files;
    MenuFormControls menu;

    std::wstring Touch(const fs::path& relative) { return root.Write(relative, "x").wstring(); }
    std::wstring Path(const fs::path& relative) const { return (root / relative).wstring(); }
    std::vector<std::wstring> Queue() const { return menu.LstM3u.Items(); }
    void Fill(std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) menu.LstM3u.AddItem(L"q" + std::to_wstring(i));
    }
};

TEST_F(AddPathTest, FilesOfAFolderComeBeforeItsSubfoldersDepthFirst) {
    for (const char* name : {"top/b.txt", "top/a.mp3", "top/sub1/c.mp3", "top/sub1/deep/d.wav", "top/sub1/e.mp3",
                             "top/sub2/f.mp3"})
        Touch(name);
    AddPathToList(Path("top"), menu, files);
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{Path("top/a.mp3"), Path("top/b.txt"), Path("top/sub1/c.mp3"),
                                                  Path("top/sub1/e.mp3"), Path("top/sub1/deep/d.wav"),
                                                  Path("top/sub2/f.mp3")}));
    EXPECT_EQ(menu.LblListCount.Caption(), L"6");
    // One file is queued itself; a vanished path adds nothing.
    AddPathToList(Touch("one.mp3"), menu, files);
    AddPathToList(Path("gone.mp3"), menu, files);
    EXPECT_EQ(Queue().size(), 7u);
    EXPECT_EQ(Queue().back(), Path("one.mp3"));
    EXPECT_EQ(menu.LblListCount.Caption(), L"7");
}

TEST_F(AddPathTest, OnlyTheExactSystemHiddenFolderValueIsSkipped) {
    for (const char* name : {"sys/a.mp3", "hidden/b.mp3", "archived/c.mp3"}) Touch(name);
    files.attributes[Path("sys")] = 22;       // directory + system + hidden
    files.attributes[Path("hidden")] = 18;    // directory + hidden
    files.attributes[Path("archived")] = 54;  // directory + system + hidden + archive
    menu.LblListCount.SetCaption(L"before");
    AddPathToList(Path("sys"), menu, files);
    EXPECT_TRUE(Queue().empty());
    EXPECT_EQ(menu.LblListCount.Caption(), L"before");  // not even the count is refreshed
    AddPathToList(Path("hidden"), menu, files);
    AddPathToList(Path("archived"), menu, files);
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{Path("hidden/b.mp3"), Path("archived/c.mp3")}));
}

// The 15,000 limit is tested once per call: at it a call still walks, and one folder
// can pass it, up to the queue's capacity, where the walk stops; above it nothing is
// added and not even the count is refreshed.
TEST_F(AddPathTest, TheLimitIsTestedOncePerCallAndTheQueueNeverGoesBeyondItsCapacity) {
    Fill(kDropQueueLimit);
    Touch("wide/zsub/late.mp3");
    for (int i = 0; i < 17800; ++i) files.extraFiles[Path("wide")].push_back(Path("wide/w" + std::to_string(10000 + i)));
    AddPathToList(Path("wide"), menu, files);
    EXPECT_EQ(menu.LstM3u.ListCount(), ListBox::kMaxItems);
    EXPECT_EQ(menu.LstM3u.List(ListBox::kMaxItems - 1), Path("wide/w27766"));
    EXPECT_EQ(menu.LblListCount.Caption(), std::to_wstring(ListBox::kMaxItems));
    EXPECT_EQ(files.listed, 1);  // the subfolder not even listed
    menu.LstM3u.Clear();
    Fill(kDropQueueLimit + 1);
    menu.LblListCount.SetCaption(L"kept");
    AddPathToList(Path("wide/zsub"), menu, files);
    EXPECT_EQ(menu.LstM3u.ListCount(), kDropQueueLimit + 1);
    EXPECT_EQ(menu.LblListCount.Caption(), L"kept");
}

// Every shape in which folder links lead round in a circle (see make-link-loops.sh).
// Each walk ends, listing every folder once and its files once, under the first way
// the depth-first walk reached it; each drop is a walk of its own, so the shapes that
// share folders find them again.
TEST_F(AddPathTest, EveryShapeOfLinkLoopEndsListingEachFolderOnce) {
    using tessel::test::LoopPaths;
    struct Shape {
        const char* dropped;
        std::vector<std::wstring> queue;
        int listed;
    };
    std::string levels = "levels";
    for (int i = 0; i < 12; ++i) levels += "/a/next";
    levels += "/deep.mp3";
    const Shape shapes[] = {
        {"self", LoopPaths({"self/a.mp3", "self/sub/b.mp3"}), 2},
        {"parent", LoopPaths({"parent/a.mp3", "parent/mid/m.mp3", "parent/mid/sub/b.mp3"}), 3},
        {"dropped", LoopPaths({"dropped/a.mp3", "dropped/mid/sub/b.mp3"}), 3},
        // The link itself, dropped, is a walk of the folder it leads to.
        {"dropped/mid/sub/home", LoopPaths({"dropped/mid/sub/home/a.mp3", "dropped/mid/sub/home/mid/sub/b.mp3"}), 3},
        // x first; its link reaches y, which the real y then does not repeat.
        {"mutual", LoopPaths({"mutual/x/x.mp3", "mutual/x/toy/y.mp3"}), 3},
        {"mutual/y", LoopPaths({"mutual/y/y.mp3", "mutual/y/tox/x.mp3"}), 2},
        {"chain/start", LoopPaths({"chain/start/s.mp3", "chain/start/next/h1.mp3", "chain/start/next/next/h2.mp3",
                                   "chain/start/next/next/next/h3.mp3"}), 4},
        // Links that lead to links and end in a circle name no folder at all.
        {"chain/c1", {}, 0},
        {"away/top", LoopPaths({"away/top/t.mp3", "away/top/out/p.mp3"}), 2},
        // Folders linking to each other on every level: the ways through the tree double
        // with each level, the folders do not (per level its folder, a and b).
        {"levels", LoopPaths({levels.c_str()}), 3 * 12 + 1},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(shape.dropped);
        menu.LstM3u.Clear();
        menu.LblListCount.SetCaption(L"");
        files.listed = 0;
        AddPathToList((tessel::test::LinkLoops() / shape.dropped).wstring(), menu, files);
        EXPECT_EQ(Queue(), shape.queue);
        EXPECT_EQ(files.listed, shape.listed);
        EXPECT_EQ(menu.LblListCount.Caption(), std::to_wstring(shape.queue.size()));
    }
}

TEST_F(AddPathTest, AWalkGoesNoDeeperThan256Folders) {
    // The guard for loops through folders that cannot be identified (this system's
    // links end after 40 steps on their own, so a real tree stands in for them).
    fs::path level = "top";
    for (int i = 0; i < 300; ++i) {
        Touch(level / "f.mp3");
        level /= "d";
    }
    AddPathToList(Path("top"), menu, files);
    ASSERT_EQ(menu.LstM3u.ListCount(), 256u);
    EXPECT_EQ(Queue().back().size(), Path("top/f.mp3").size() + 255 * std::wstring(L"/d").size());
}

// Between two folders the walk asks whether to go on; a "no" (Esc) ends it there,
// with the paths dropped after it and those that joined it meanwhile.
TEST_F(AddPathTest, AWalkEndsBetweenTwoFoldersWhenToldSo) {
    for (const char* name : {"top/a.mp3", "top/sub1/b.mp3", "top/sub2/c.mp3", "later/d.mp3", "joined/e.mp3"})
        Touch(name);
    int asked = 0;
    EXPECT_FALSE(AddPathsToList({Path("top"), Path("later")}, menu, files, [&] { return ++asked < 2; }));
    EXPECT_EQ(Queue(), std::vector<std::wstring>{Path("top/a.mp3")});
    EXPECT_EQ(files.listed, 1);
    EXPECT_EQ(menu.LblListCount.Caption(), L"1");

    // A drop while a walk lets the windows answer joins it, after what it has.
    menu.LstM3u.Clear();
    DropWalks drops;
    asked = 0;
    const KeepWalking dropAgain = [&] {
        if (++asked == 1) drops.Add({Path("joined")}, menu, files, dropAgain);
        EXPECT_TRUE(drops.Walking());
        return true;
    };
    drops.Add({Path("top/sub1"), Path("top/sub2")}, menu, files, dropAgain);
    EXPECT_FALSE(drops.Walking());
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{Path("top/sub1/b.mp3"), Path("top/sub2/c.mp3"),
                                                  Path("joined/e.mp3")}));
    // Ended: what waited is not walked, and the next drop walks afresh.
    menu.LstM3u.Clear();
    asked = 0;
    const KeepWalking dropThenEnd = [&] {
        if (++asked == 1) drops.Add({Path("joined")}, menu, files, dropThenEnd);
        return asked < 2;
    };
    drops.Add({Path("top/sub1"), Path("top/sub2")}, menu, files, dropThenEnd);
    EXPECT_EQ(Queue(), std::vector<std::wstring>{Path("top/sub1/b.mp3")});
    drops.Add({Path("later")}, menu, files, [] { return true; });
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{Path("top/sub1/b.mp3"), Path("later/d.mp3")}));
}

TEST(LongPathsTest, TheExtendedFormOnlyWhereTheLengthNeedsIt) {
    const std::wstring folder = L"C:\\" + std::wstring(256, L'f');  // 259 characters
    EXPECT_EQ(ExtendedLengthPath(folder), folder);
    EXPECT_EQ(ExtendedLengthPath(folder + L"g"), L"\\\\?\\" + folder + L"g");
    // A folder's listing appends "\*": 258 characters are too many for it, 257 are not.
    EXPECT_EQ(ExtendedLengthPath(folder.substr(0, 258), 2), L"\\\\?\\" + folder.substr(0, 258));
    EXPECT_EQ(ExtendedLengthPath(folder.substr(0, 257), 2), folder.substr(0, 257));
    const std::wstring unc = L"\\\\server\\share/" + std::wstring(250, L'u');
    EXPECT_EQ(ExtendedLengthPath(unc), L"\\\\?\\UNC\\server\\share\\" + std::wstring(250, L'u'));
    // Relative, or in the extended or device form already: as they are.
    for (const std::wstring& as_is : {std::wstring(300, L'r'), L"\\\\?\\" + folder + L"g",
                                      L"\\\\.\\" + folder + L"g"})
        EXPECT_EQ(ExtendedLengthPath(as_is), as_is);
    EXPECT_EQ(OrdinaryPath(ExtendedLengthPath(folder + L"g")), folder + L"g");
    EXPECT_EQ(OrdinaryPath(ExtendedLengthPath(unc)), L"\\\\server\\share\\" + std::wstring(250, L'u'));
    EXPECT_EQ(OrdinaryPath(folder), folder);
}

// The Win32 file calls without long paths allowed: an ordinary path of MAX_PATH
// characters or more (with what the call appends) is refused, the \\?\ form is not.
class ShortPathsOnly final : public FolderSource {
public:
    std::map<std::wstring, std::vector<std::wstring>> folders;  // folder: its names
    std::vector<std::wstring> asked;

    PathKind Kind(const std::wstring& path) override {
        const std::optional<std::wstring> p = Reach(path, 0);
        if (!p) return PathKind::Missing;
        if (folders.count(*p)) return PathKind::Folder;
        const auto cut = p->rfind(L'\\');
        const auto parent = folders.find(p->substr(0, cut));
        if (parent == folders.end()) return PathKind::Missing;
        for (const auto& name : parent->second)
            if (name == p->substr(cut + 1)) return PathKind::File;
        return PathKind::Missing;
    }
    std::uint32_t Attributes(const std::wstring& path) override { return Kind(path) == PathKind::Folder ? 16 : 32; }
    std::optional<FolderId> Identify(const std::wstring&) override { return std::nullopt; }
    bool List(const std::wstring& folder, std::vector<std::wstring>& files, std::vector<SubFolder>& subfolders) override {
        const std::optional<std::wstring> p = Reach(folder, 2);
        if (!p || !folders.count(*p)) return false;
        std::vector<std::wstring> found;
        std::vector<SubFolder> below;
        for (const auto& name : folders[*p]) {
            // Named as the folder was given, as FindFirstFile's callers join them.
            if (folders.count(*p + L"\\" + name)) below.push_back({folder + L"\\" + name});
            else found.push_back(folder + L"\\" + name);
        }
        return Found(files, subfolders, std::move(found), std::move(below));
    }

private:
    std::optional<std::wstring> Reach(const std::wstring& path, std::size_t appended) {
        asked.push_back(path);
        if (path.rfind(L"\\\\?\\", 0) == 0) return path.substr(4);
        if (path.size() + appended >= 260) return std::nullopt;
        return path;
    }
};

TEST(LongPathsTest, AWalkGoesOnBeyondMaxPathAndQueuesOrdinaryPaths) {
    ShortPathsOnly fs;
    const std::wstring top = L"C:\\music", name(100, L'n');
    const std::wstring l1 = top + L"\\" + name, l2 = l1 + L"\\" + name, l3 = l2 + L"\\" + name;  // 110, 211, 312
    fs.folders[top] = {L"a.mp3", name};
    fs.folders[l1] = {L"b.mp3", name};
    fs.folders[l2] = {L"c.mp3", name};
    fs.folders[l3] = {L"d.mp3"};
    MenuFormControls menu;
    AddPathToList(top, menu, fs);
    EXPECT_EQ(menu.LstM3u.Items(), (std::vector<std::wstring>{top + L"\\a.mp3", l1 + L"\\b.mp3", l2 + L"\\c.mp3",
                                                              l3 + L"\\d.mp3"}));
    // Dropped itself, a long folder is walked too, and a long file is queued.
    menu.LstM3u.Clear();
    AddPathsToList({l3, l3 + L"\\d.mp3"}, menu, fs);
    EXPECT_EQ(menu.LstM3u.Items(), (std::vector<std::wstring>{l3 + L"\\d.mp3", l3 + L"\\d.mp3"}));
    // Short paths were asked in their own form.
    EXPECT_NE(std::find(fs.asked.begin(), fs.asked.end(), l1), fs.asked.end());
}

}  // namespace
}  // namespace tessel::player
