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

TEST_F(AddPathTest, AFolderDroppedTwiceIsWalkedTwiceAndSiblingLinksBothCount) {
    Touch("shared/s.mp3");
    fs::create_directories(root / "two");
    fs::create_directory_symlink(root / "shared", root / "two" / "l1");
    fs::create_directory_symlink(root / "shared", root / "two" / "l2");
    AddPathToList(Path("two"), menu, files);
    AddPathToList(Path("shared"), menu, files);
    AddPathToList(Path("shared"), menu, files);
    EXPECT_EQ(Queue(), (std::vector<std::wstring>{Path("two/l1/s.mp3"), Path("two/l2/s.mp3"), Path("shared/s.mp3"),
                                                  Path("shared/s.mp3")}));
}

}  // namespace
}  // namespace tessel::player
