// AddPathToList over real folder trees on this machine's file system.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

#include "player/windows/add_path.h"

namespace tessel::player {
namespace {

namespace fs = std::filesystem;

// The POSIX file system: folders identified by st_dev and st_ino; attribute values
// come from a table the test fills (POSIX has no system or hidden flag).
class PosixDropFileSystem : public DropFileSystem {
public:
    std::map<std::wstring, std::uint32_t> attributes;
    int listed = 0;

    PathKind Kind(const std::wstring& path) override {
        std::error_code ec;
        const auto status = fs::status(fs::path(path), ec);  // links followed
        if (ec) return PathKind::None;
        if (fs::is_directory(status)) return PathKind::Folder;
        if (fs::exists(status)) return PathKind::File;
        return PathKind::None;
    }
    std::uint32_t FolderAttributes(const std::wstring& path) override {
        auto it = attributes.find(path);
        return it == attributes.end() ? 16u : it->second;
    }
    std::optional<FolderKey> Identify(const std::wstring& path) override {
        struct stat st {};
        if (::stat(fs::path(path).c_str(), &st) != 0) return std::nullopt;
        return FolderKey{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    }
    void List(const std::wstring& folder, std::vector<std::wstring>& files,
              std::vector<std::wstring>& subfolders) override {
        ++listed;
        std::error_code ec;
        for (const auto& entry : fs::directory_iterator(fs::path(folder), ec)) {
            std::error_code kind;
            (entry.is_directory(kind) ? subfolders : files).push_back(entry.path().wstring());
        }
        // A fixed order makes the expectations readable; the walk keeps whatever
        // order it is given.
        std::sort(files.begin(), files.end());
        std::sort(subfolders.begin(), subfolders.end());
    }
};

class AddPathTest : public ::testing::Test {
protected:
    fs::path root;
    PosixDropFileSystem files;
    MenuFormControls menu;

    void SetUp() override {
        root = fs::temp_directory_path() /
               ("tp_addpath_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(root);
        fs::create_directories(root);
    }
    void TearDown() override { fs::remove_all(root); }

    std::wstring Touch(const fs::path& relative) {
        const fs::path p = root / relative;
        fs::create_directories(p.parent_path());
        std::ofstream(p) << "x";
        return p.wstring();
    }
    std::wstring Path(const fs::path& relative) const { return (root / relative).wstring(); }
    std::vector<std::wstring> Queue() const { return menu.LstM3u.Items(); }
    void Fill(std::size_t n) {
        for (std::size_t i = 0; i < n; ++i) menu.LstM3u.AddItem(L"q" + std::to_wstring(i));
    }
};

TEST_F(AddPathTest, FilesOfAFolderComeBeforeItsSubfoldersDepthFirst) {
    Touch("top/b.txt");
    Touch("top/a.mp3");
    Touch("top/sub1/c.mp3");
    Touch("top/sub1/deep/d.wav");
    Touch("top/sub1/e.mp3");
    Touch("top/sub2/f.mp3");
    AddPathToList(Path("top"), menu, files);
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{Path("top/a.mp3"), Path("top/b.txt"), Path("top/sub1/c.mp3"),
                                                  Path("top/sub1/e.mp3"), Path("top/sub1/deep/d.wav"),
                                                  Path("top/sub2/f.mp3")}));
    EXPECT_EQ(menu.LblListCount.Caption(), L"6");
}

TEST_F(AddPathTest, OneFileAndVanishedPaths) {
    const std::wstring file = Touch("one.mp3");
    AddPathToList(file, menu, files);
    AddPathToList(Path("gone.mp3"), menu, files);
    EXPECT_EQ(Queue(), std::vector<std::wstring>{file});
    EXPECT_EQ(menu.LblListCount.Caption(), L"1");
}

TEST_F(AddPathTest, OnlyTheExactSystemHiddenFolderValueIsSkipped) {
    Touch("sys/a.mp3");
    Touch("hidden/b.mp3");
    Touch("archived/c.mp3");
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

TEST_F(AddPathTest, TheFifteenThousandLimitIsTestedOncePerCall) {
    for (int i = 0; i < 100; ++i) Touch("many/f" + std::to_string(1000 + i));
    Fill(15000);
    AddPathToList(Path("many"), menu, files);  // 15,000 is not above the limit
    EXPECT_EQ(menu.LstM3u.ListCount(), 15100u);
    menu.LblListCount.SetCaption(L"kept");
    AddPathToList(Path("many/f1000"), menu, files);
    EXPECT_EQ(menu.LstM3u.ListCount(), 15100u);
    EXPECT_EQ(menu.LblListCount.Caption(), L"kept");
}

TEST_F(AddPathTest, TheQueueNeverGoesBeyondItsCapacity) {
    // At the limit a call still walks, and one folder can pass the capacity.
    Fill(kDropQueueLimit);
    fs::create_directories(root / "wide" / "zsub");
    for (int i = 0; i < 17800; ++i) std::ofstream(root / "wide" / ("w" + std::to_string(10000 + i))) << "";
    std::ofstream(root / "wide" / "zsub" / "late.mp3") << "";
    AddPathToList(Path("wide"), menu, files);
    EXPECT_EQ(menu.LstM3u.ListCount(), ListBox::kMaxItems);
    EXPECT_EQ(menu.LstM3u.List(ListBox::kMaxItems - 1), Path("wide/w27766"));
    EXPECT_EQ(menu.LblListCount.Caption(), std::to_wstring(ListBox::kMaxItems));
    // Once full, the walk stops: the subfolder is not even listed.
    EXPECT_EQ(files.listed, 1);
}

TEST_F(AddPathTest, ALinkBackToAFolderOnThePathIsNotFollowed) {
    Touch("loop/a.mp3");
    Touch("loop/inner/b.mp3");
    fs::create_directory_symlink(root / "loop", root / "loop" / "inner" / "back");
    // A link sideways to a folder that is not on the path is followed.
    Touch("other/o.mp3");
    fs::create_directory_symlink(root / "other", root / "loop" / "inner" / "side");
    AddPathToList(Path("loop"), menu, files);
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{Path("loop/a.mp3"), Path("loop/inner/b.mp3"),
                                                  Path("loop/inner/side/o.mp3")}));
}

TEST_F(AddPathTest, AFolderIsWalkedOncePerDropByTheFirstWayThatReachesIt) {
    Touch("shared/s.mp3");
    fs::create_directories(root / "two");
    fs::create_directory_symlink(root / "shared", root / "two" / "l1");
    fs::create_directory_symlink(root / "shared", root / "two" / "l2");
    AddPathToList(Path("two"), menu, files);
    // Dropped again, the folder is walked again: each drop is a walk of its own.
    AddPathToList(Path("shared"), menu, files);
    AddPathToList(Path("shared"), menu, files);
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{Path("two/l1/s.mp3"), Path("shared/s.mp3"), Path("shared/s.mp3")}));
}

// The shapes in which folder links lead round in a circle. Each walk ends, and every
// folder's files come once, under the first way the depth-first walk reached it.
class AddPathLoopTest : public AddPathTest {
protected:
    void Link(const fs::path& target, const fs::path& link) {
        fs::create_directories((root / link).parent_path());
        fs::create_directory_symlink(root / target, root / link);
    }
    std::vector<std::wstring> Paths(std::initializer_list<const char*> relative) const {
        std::vector<std::wstring> out;
        for (const char* r : relative) out.push_back(Path(r));
        return out;
    }
};

TEST_F(AddPathLoopTest, ALinkToItself) {
    Touch("top/a.mp3");
    Touch("top/sub/b.mp3");
    Link("top/sub", "top/sub/self");
    AddPathToList(Path("top"), menu, files);
    EXPECT_EQ(Queue(), Paths({"top/a.mp3", "top/sub/b.mp3"}));
    EXPECT_EQ(files.listed, 2);
}

TEST_F(AddPathLoopTest, ALinkToItsParent) {
    Touch("top/a.mp3");
    Touch("top/mid/m.mp3");
    Touch("top/mid/sub/b.mp3");
    Link("top/mid", "top/mid/sub/up");
    AddPathToList(Path("top"), menu, files);
    EXPECT_EQ(Queue(), Paths({"top/a.mp3", "top/mid/m.mp3", "top/mid/sub/b.mp3"}));
    EXPECT_EQ(files.listed, 3);
}

TEST_F(AddPathLoopTest, ALinkToTheDroppedFolder) {
    Touch("top/a.mp3");
    Touch("top/mid/sub/b.mp3");
    Link("top", "top/mid/sub/home");
    AddPathToList(Path("top"), menu, files);
    EXPECT_EQ(Queue(), Paths({"top/a.mp3", "top/mid/sub/b.mp3"}));
    // The link itself, dropped, is a walk of the folder it leads to.
    menu.LstM3u.Clear();
    AddPathToList(Path("top/mid/sub/home"), menu, files);
    EXPECT_EQ(Queue(), Paths({"top/mid/sub/home/a.mp3", "top/mid/sub/home/mid/sub/b.mp3"}));
}

TEST_F(AddPathLoopTest, TwoFoldersLinkingToEachOther) {
    Touch("top/x/x.mp3");
    Touch("top/y/y.mp3");
    Link("top/y", "top/x/toy");
    Link("top/x", "top/y/tox");
    AddPathToList(Path("top"), menu, files);
    // x first; its link reaches y, which the real y then does not repeat.
    EXPECT_EQ(Queue(), Paths({"top/x/x.mp3", "top/x/toy/y.mp3"}));
    EXPECT_EQ(files.listed, 3);
    // Dropped on their own, each walks the other through its link.
    menu.LstM3u.Clear();
    AddPathToList(Path("top/y"), menu, files);
    EXPECT_EQ(Queue(), Paths({"top/y/y.mp3", "top/y/tox/x.mp3"}));
}

TEST_F(AddPathLoopTest, ALinkChainEndingInALoop) {
    Touch("top/start/s.mp3");
    Touch("top/hop1/h1.mp3");
    Touch("top/hop2/h2.mp3");
    Touch("top/hop3/h3.mp3");
    Link("top/hop1", "top/start/next");
    Link("top/hop2", "top/hop1/next");
    Link("top/hop3", "top/hop2/next");
    Link("top/hop1", "top/hop3/back");
    AddPathToList(Path("top/start"), menu, files);
    EXPECT_EQ(Queue(), Paths({"top/start/s.mp3", "top/start/next/h1.mp3", "top/start/next/next/h2.mp3",
                              "top/start/next/next/next/h3.mp3"}));
    EXPECT_EQ(files.listed, 4);
    // Links that lead to links and end in a circle name no folder at all.
    Link("top/c2", "top/c1");
    Link("top/c3", "top/c2");
    Link("top/c2", "top/c3");
    ASSERT_EQ(files.Kind(Path("top/c1")), PathKind::None);
    menu.LstM3u.Clear();
    menu.LblListCount.SetCaption(L"");
    AddPathToList(Path("top/c1"), menu, files);
    EXPECT_TRUE(Queue().empty());
    EXPECT_EQ(menu.LblListCount.Caption(), L"0");
}

TEST_F(AddPathLoopTest, ALinkToAnotherPathThatLinksBack) {
    Touch("top/t.mp3");
    Touch("elsewhere/place/p.mp3");
    Link("elsewhere/place", "top/out");
    Link("top", "elsewhere/place/back");
    AddPathToList(Path("top"), menu, files);
    EXPECT_EQ(Queue(), Paths({"top/t.mp3", "top/out/p.mp3"}));
    EXPECT_EQ(files.listed, 2);
}

TEST_F(AddPathLoopTest, AWalkGoesNoDeeperThan256Folders) {
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

// Two folders linking to each other on every level of a deep tree: the ways through
// the tree double with each level, the folders do not. Walking every way would list
// some 200,000 folders here (and a few more levels would never end); the walk lists
// each folder once.
TEST_F(AddPathLoopTest, MutualLinksOnEveryLevelCostOneListingPerFolder) {
    constexpr int kLevels = 16;
    fs::path level = "top";
    std::vector<std::wstring> expected;
    for (int i = 0; i < kLevels; ++i) {
        fs::create_directories(root / level / "a");
        fs::create_directories(root / level / "b");
        Link(level / "b", level / "a" / "tob");
        Link(level / "a", level / "b" / "toa");
        level = level / "a" / "next";
    }
    expected.push_back(Touch(level / "deep.mp3"));
    AddPathToList(Path("top"), menu, files);
    EXPECT_EQ(Queue(), expected);
    // Per level its folder, a and b (through a's link), then the deepest folder.
    EXPECT_EQ(files.listed, 3 * kLevels + 1);
}

}  // namespace
}  // namespace tessel::player
