#include "editor/core/dropwalk.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "common/fileio.h"
#include "tests/common/temp_dir.h"

namespace listwright {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::wstring>;
using tessel::testing::TempDir;

std::wstring W(const fs::path& p) { return p.wstring(); }

struct Walk {
    Texts files;
    WalkResult result;
    int pumps = 0;
};

Walk Collect(const Texts& dropped, std::function<bool()> pump = {}) {
    Walk w;
    FolderQueue a, b;
    w.result = CollectDroppedFiles(dropped, w.files, a, b, SystemFolders(), [&] {
        ++w.pumps;
        return pump ? pump() : true;
    });
    EXPECT_TRUE(a.empty());
    EXPECT_TRUE(b.empty());
    return w;
}

void Touch(const fs::path& p) {
    fs::create_directories(p.parent_path());
    std::ofstream(p) << "x";
}

std::size_t IndexOf(const Texts& files, const fs::path& p) {
    return static_cast<std::size_t>(std::find(files.begin(), files.end(), W(p)) - files.begin());
}

TEST(DropWalk, DroppedFilesFirstThenFolderLevelByLevel) {
    TempDir dir;
    const fs::path folder = dir / "folder";
    Touch(folder / "a.mp3");
    Touch(folder / "sub" / "b.mp3");
    Touch(dir / "c.mp3");
    for (const Texts& dropped : {Texts{W(dir / "c.mp3"), W(folder)}, Texts{W(folder), W(dir / "c.mp3")}}) {
        const Walk w = Collect(dropped);
        EXPECT_EQ(w.files, (Texts{W(dir / "c.mp3"), W(folder / "a.mp3"), W(folder / "sub" / "b.mp3")}));
    }
}

TEST(DropWalk, TemporariesOfSavesAreNotCollected) {
    // A list saved into a music folder leaves a temporary there while it is written
    // (or for good, if the save was killed): it is never a medium.
    TempDir dir;
    const fs::path folder = dir / "folder";
    Touch(folder / "a.mp3");
    Touch(folder / tessel::PathFromWide(tessel::TemporaryFileName(L"all.m3u", 1234, 0)));
    Touch(folder / "sub" / tessel::PathFromWide(tessel::TemporaryFileName(L"b.m3u", 99, 7)));
    Touch(folder / "~all.m3u.1234-0.tmp");  // somebody else's: an ordinary file
    Walk w = Collect({W(folder)});
    std::sort(w.files.begin(), w.files.end());
    EXPECT_EQ(w.files, (Texts{W(folder / "a.mp3"), W(folder / "~all.m3u.1234-0.tmp")}));
}

TEST(DropWalk, EveryFileOfALevelBeforeAnyFileOfTheNext) {
    TempDir dir;
    // Names chosen so that a depth-first or name-ordered walk would interleave levels.
    Touch(dir / "a" / "a1.mp3");
    Touch(dir / "a" / "deep" / "a2.mp3");
    Touch(dir / "a" / "deep" / "deeper" / "a3.mp3");
    Touch(dir / "z" / "z1.mp3");
    Touch(dir / "z" / "zz" / "z2.mp3");
    Touch(dir / "z" / "zz" / "zzz" / "z3.mp3");
    const Walk w = Collect({W(dir / "a"), W(dir / "z")});
    ASSERT_EQ(w.files.size(), 6u);
    const auto level = [&](const fs::path& a, const fs::path& z) {
        return std::make_pair(std::max(IndexOf(w.files, dir / "a" / a), IndexOf(w.files, dir / "z" / z)),
                              std::min(IndexOf(w.files, dir / "a" / a), IndexOf(w.files, dir / "z" / z)));
    };
    const auto l1 = level("a1.mp3", "z1.mp3");
    const auto l2 = level(fs::path("deep") / "a2.mp3", fs::path("zz") / "z2.mp3");
    const auto l3 = level(fs::path("deep") / "deeper" / "a3.mp3", fs::path("zz") / "zzz" / "z3.mp3");
    EXPECT_LT(l1.first, l2.second);
    EXPECT_LT(l2.first, l3.second);
    // Within a level, the dropped folders keep their drop order.
    EXPECT_LT(IndexOf(w.files, dir / "a" / "a1.mp3"), IndexOf(w.files, dir / "z" / "z1.mp3"));
    // Messages run once before each level that has folders, and the levels are counted.
    EXPECT_EQ(w.result.levels, 3);
    EXPECT_EQ(w.pumps, 3);
}

TEST(DropWalk, DuplicatesAreKept) {
    TempDir dir;
    Touch(dir / "f" / "a.mp3");
    const Walk w = Collect({W(dir / "f" / "a.mp3"), W(dir / "f" / "a.mp3"), W(dir / "f"), W(dir / "f"),
                            W(dir / "missing.mp3")});
    EXPECT_EQ(w.files, Texts(4, W(dir / "f" / "a.mp3")));
}

TEST(DropWalk, EmptyFolderAndNothingDroppedAddNothing) {
    TempDir dir;
    fs::create_directories(dir / "empty");
    EXPECT_TRUE(Collect({W(dir / "empty")}).files.empty());
    const Walk none = Collect({});
    EXPECT_TRUE(none.files.empty());
    EXPECT_EQ(none.pumps, 0);
}

TEST(DropWalk, LinksBackUpTheTreeAreNotFollowedOthersAre) {
#ifdef _WIN32
    GTEST_SKIP() << "links are made from the Linux side for the window test";
#endif
    TempDir dir;
    const fs::path root = dir / "root";
    Touch(root / "r.mp3");
    Touch(root / "sub" / "s.mp3");
    fs::create_directory_symlink(root, root / "sub" / "up");   // back to the dropped folder
    fs::create_directory_symlink(root / "sub", root / "sub" / "self");
    Touch(dir / "outside" / "o.mp3");
    fs::create_directory_symlink(dir / "outside", root / "sub" / "side");  // no loop
    const Walk w = Collect({W(root)});
    Texts sorted = w.files;
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, (Texts{W(root / "r.mp3"), W(root / "sub" / "s.mp3"), W(root / "sub" / "side" / "o.mp3")}));

    // The same folder dropped twice is walked twice: the guard is per dropped folder.
    EXPECT_EQ(Collect({W(root), W(root)}).files.size(), 6u);
    // A link dropped itself is walked like its target.
    EXPECT_EQ(Collect({W(root / "sub" / "up")}).files.size(), 3u);
}

TEST(DropWalk, StoppingInTheMiddleLeavesNothing) {
    TempDir dir;
    Touch(dir / "a" / "1.mp3");
    Touch(dir / "a" / "b" / "2.mp3");
    int calls = 0;
    const Walk w = Collect({W(dir / "x.mp3"), W(dir / "a")}, [&] { return ++calls < 2; });
    EXPECT_TRUE(w.result.aborted);
    EXPECT_TRUE(w.files.empty());
}

TEST(DropFilter, FirstMatchingPatternAddsOnceCaseMatters) {
    const Texts paths{L"/m/a.mp3", L"/m/SONG.MP3", L"/m/b.wav", L"/m/c.txt", L"/m/a.mp3"};
    EXPECT_EQ(FilterByPatterns(paths, {L"*.mp3"}), (Texts{L"/m/a.mp3", L"/m/a.mp3"}));
    EXPECT_EQ(FilterByPatterns(paths, {L"*.MP3", L"*.mp3", L"*.wav", L"*"}), paths);
    EXPECT_EQ(FilterByPatterns(paths, {L"*.mp3", L"*.w??"}), (Texts{L"/m/a.mp3", L"/m/b.wav", L"/m/a.mp3"}));
    EXPECT_TRUE(FilterByPatterns(paths, {}).empty());
    EXPECT_TRUE(FilterByPatterns(paths, {L" *.mp3"}).empty());  // a leading space matches no path
    // Plain endings and full patterns agree.
    const Texts odd{L"mp3", L".mp3", L"a.mp3x", L"a.mp", L"", L"*.mp3", L"x]!.mp3"};
    EXPECT_EQ(FilterByPatterns(odd, {L"*.mp3"}), (Texts{L".mp3", L"*.mp3", L"x]!.mp3"}));
    EXPECT_EQ(FilterByPatterns(odd, {L"*"}), odd);
    EXPECT_EQ(FilterByPatterns(odd, {L"*[*].mp3"}), Texts{L"*.mp3"});
    EXPECT_EQ(FilterByPatterns(odd, {L"*]!.mp3"}), Texts{L"x]!.mp3"});
}

}  // namespace
}  // namespace listwright
