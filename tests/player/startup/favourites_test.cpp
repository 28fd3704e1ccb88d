#include "player/startup/favourites.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "common/fileio.h"
#include "player/shared/texts.h"
#include "tests/support/temp_dir.h"

namespace tessel::player {
namespace {

namespace fs = std::filesystem;

// The real file system, except a folder that cannot be read (which no test can make on
// demand where it runs with every right).
class Unreadable final : public FolderSource {
public:
    PathKind Kind(const std::wstring& path) override { return SystemFolders().Kind(path); }
    std::uint32_t Attributes(const std::wstring& path) override { return SystemFolders().Attributes(path); }
    std::optional<FolderId> Identify(const std::wstring& folder) override { return SystemFolders().Identify(folder); }
    bool List(const std::wstring&, std::vector<std::wstring>&, std::vector<SubFolder>&) override { return false; }
};

struct Maker {
    std::optional<std::wstring> failure;
    int calls = 0;
    MakeFolder Make() {
        return [this](const std::wstring& folder) {
            ++calls;
            if (!failure) fs::create_directory(PathFromWide(folder));
            return failure;
        };
    }
};

// Missing: made, usable and empty. There: its files' names, without folders, and not
// made again. Made in vain (a file "fav" in the way) or unreadable: not usable, with
// what failed; and the user hears of it the first time only.
TEST(Favourites, AnOptionalFolderThatFailsIsReportedOnceAndNothingElse) {
    test::TempDir dir;
    const std::wstring fav = WideFromPath(dir / "fav");
    Maker maker;
    FavouritesNotice notice;
    FavouritesFolder read = ReadFavouritesFolder(SystemFolders(), fav, maker.Make());
    EXPECT_TRUE(read.usable);
    EXPECT_TRUE(read.names.empty());
    EXPECT_EQ(maker.calls, 1);
    EXPECT_FALSE(notice.ShouldSay(read));

    dir.Write("fav/a.m3u", "");
    fs::create_directory(dir / "fav" / "sub");
    read = ReadFavouritesFolder(SystemFolders(), fav, maker.Make());
    EXPECT_EQ(read.names, std::vector<std::wstring>{L"a.m3u"});
    EXPECT_EQ(maker.calls, 1);

    Unreadable unreadable;
    read = ReadFavouritesFolder(unreadable, fav, maker.Make());
    EXPECT_FALSE(read.usable);
    EXPECT_EQ(read.problem, texts::kFavFolderUnreadable);
    EXPECT_TRUE(notice.ShouldSay(read));
    EXPECT_FALSE(notice.ShouldSay(read));

    fs::remove_all(dir / "fav");
    dir.Write("fav", "");
    maker.failure = L"in the way";
    read = ReadFavouritesFolder(SystemFolders(), fav, maker.Make());
    EXPECT_FALSE(read.usable);
    EXPECT_EQ(read.problem, texts::kFavFolderFailed);
    EXPECT_EQ(read.reason, L"in the way");
    EXPECT_EQ(maker.calls, 2);
    EXPECT_FALSE(notice.ShouldSay(read));
    FavouritesNotice fresh;
    EXPECT_TRUE(fresh.ShouldSay(read));
}

}  // namespace
}  // namespace tessel::player
