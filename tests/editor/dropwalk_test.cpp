#include "editor/core/dropwalk.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <optional>

#include "common/fileio.h"
#include "tests/support/counting_folders.h"
#include "tests/support/link_loops.h"

namespace listwright {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::wstring>;
using tessel::test::TempDir;

std::wstring W(const fs::path& p) { return fs::path(p).make_preferred().wstring(); }

struct Walk {
    Texts files;
    WalkResult result;
    int pumps = 0;
};

Walk Collect(const Texts& dropped, std::function<bool()> pump = {}, FolderSource& folders = SystemFolders()) {
    Walk w;
    FolderQueue a, b;
    w.result = CollectDroppedFiles(dropped, w.files, a, b, folders, [&] {
        ++w.pumps;
        return pump ? pump() : true;
    });
    EXPECT_TRUE(a.empty());
    EXPECT_TRUE(b.empty());
    return w;
}

// The dropped files first, then every file of a level before any of the next, the
// dropped folders in their drop order within a level (names chosen so that a
// depth-first or name-ordered walk would interleave levels).
TEST(DropWalk, DroppedFilesFirstThenFolderLevelByLevelOrNothingWhenStopped) {
    TempDir dir;
    for (const char* name : {"a/a1.mp3", "a/deep/a2.mp3", "a/deep/deeper/a3.mp3", "z/z1.mp3", "z/zz/z2.mp3",
                             "z/zz/zzz/z3.mp3", "c.mp3"})
        dir.Write(name, "x");
    const Walk w = Collect({W(dir / "a"), W(dir / "z"), W(dir / "c.mp3")});
    EXPECT_EQ(w.files, (Texts{W(dir / "c.mp3"), W(dir / "a/a1.mp3"), W(dir / "z/z1.mp3"), W(dir / "a/deep/a2.mp3"),
                              W(dir / "z/zz/z2.mp3"), W(dir / "a/deep/deeper/a3.mp3"), W(dir / "z/zz/zzz/z3.mp3")}));
    // Messages run once before each level that has folders, and the levels are counted.
    EXPECT_EQ(w.result.levels, 3);
    EXPECT_EQ(w.pumps, 3);
    // Stopped in the middle, the walk leaves nothing.
    int calls = 0;
    const Walk stopped = Collect({W(dir / "c.mp3"), W(dir / "a")}, [&] { return ++calls < 2; });
    EXPECT_TRUE(stopped.result.aborted);
    EXPECT_TRUE(stopped.files.empty());
}

// A list saved into a music folder leaves a temporary there while it is written (or for
// good, if the save was killed): it is never a medium. Duplicates are kept.
TEST(DropWalk, TemporariesOfSavesAreNotCollectedDuplicatesAre) {
    TempDir dir;
    const std::wstring a = W(dir.Write("folder/a.mp3", "x"));
    dir.Write(fs::path("folder") / tessel::PathFromWide(tessel::TemporaryFileName(L"all.m3u", 1234, 0)), "x");
    dir.Write(fs::path("folder/sub") / tessel::PathFromWide(tessel::TemporaryFileName(L"b.m3u", 99, 7)), "x");
    const std::wstring other = W(dir.Write("folder/~all.m3u.1234-0.tmp", "x"));  // somebody else's
    fs::create_directories(dir / "empty");
    EXPECT_THAT(Collect({W(dir / "folder"), a, W(dir / "empty"), W(dir / "missing.mp3"), a, W(dir / "folder")}).files,
                ::testing::UnorderedElementsAre(a, a, a, a, other, other));
    const Walk none = Collect({});
    EXPECT_TRUE(none.files.empty());
    EXPECT_EQ(none.pumps, 0);
}

#ifndef _WIN32
// Every shape in which folder links lead round in a circle (see make-link-loops.sh).
// Each walk ends, and within one dropped folder every folder is listed once, its files
// coming once; the level-by-level walk reaches a folder by its own path before any
// link deeper down leads to it. The order within a level is the file system's, so the
// files are compared in any order.
TEST(DropWalkLoops, EveryShapeEndsListingEachFolderOnce) {
    using tessel::test::CountingFolders;
    using tessel::test::LoopPaths;
    struct Shape {
        Texts dropped, files;
        int listed;
    };
    std::string levels = "levels";
    for (int i = 0; i < 12; ++i) levels += "/a/next";
    levels += "/deep.mp3";
    const Shape shapes[] = {
        {LoopPaths({"self"}), LoopPaths({"self/a.mp3", "self/sub/b.mp3"}), 2},
        {LoopPaths({"parent"}), LoopPaths({"parent/a.mp3", "parent/mid/m.mp3", "parent/mid/sub/b.mp3"}), 3},
        {LoopPaths({"dropped"}), LoopPaths({"dropped/a.mp3", "dropped/mid/sub/b.mp3"}), 3},
        // Dropped with a folder inside it, each is a walk of its own; from the inner one
        // the link leads out to the top folder, and from there back in no more.
        {LoopPaths({"dropped", "dropped/mid"}),
         LoopPaths({"dropped/a.mp3", "dropped/mid/sub/b.mp3", "dropped/mid/sub/b.mp3", "dropped/mid/sub/home/a.mp3"}), 6},
        {LoopPaths({"mutual"}), LoopPaths({"mutual/x/x.mp3", "mutual/y/y.mp3"}), 3},
        {LoopPaths({"mutual/y"}), LoopPaths({"mutual/y/tox/x.mp3", "mutual/y/y.mp3"}), 2},
        {LoopPaths({"away/top"}), LoopPaths({"away/top/out/p.mp3", "away/top/t.mp3"}), 2},
        // Links that lead to links and end in a circle name nothing.
        {LoopPaths({"chain/c1"}), {}, 0},
        {LoopPaths({"levels"}), LoopPaths({levels.c_str()}), 3 * 12 + 1},
    };
    for (const Shape& shape : shapes) {
        SCOPED_TRACE(std::string(shape.dropped.back().begin(), shape.dropped.back().end()));
        CountingFolders folders;
        EXPECT_THAT(Collect(shape.dropped, {}, folders).files, ::testing::UnorderedElementsAreArray(shape.files));
        EXPECT_EQ(folders.listed, shape.listed);
    }
    // One folder per level: the order of a chain is fixed.
    CountingFolders folders;
    const Walk chain = Collect(LoopPaths({"chain/start"}), {}, folders);
    EXPECT_EQ(chain.files, LoopPaths({"chain/start/s.mp3", "chain/start/next/h1.mp3", "chain/start/next/next/h2.mp3",
                                      "chain/start/next/next/next/h3.mp3"}));
    EXPECT_EQ(chain.result.levels, 4);
    // A link that cannot be identified is left out; the folders of the tree are not.
    folders.identifyFails = true;
    EXPECT_THAT(Collect(LoopPaths({"parent"}), {}, folders).files,
                ::testing::UnorderedElementsAreArray(LoopPaths({"parent/a.mp3", "parent/mid/m.mp3", "parent/mid/sub/b.mp3"})));
}
#endif

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
