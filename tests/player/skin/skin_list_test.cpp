#include "player/skin/skin_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "common/fileio.h"

namespace tessel::player {
namespace {

namespace fs = std::filesystem;

class SkinFolders : public ::testing::Test {
protected:
    void SetUp() override {
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        parts_ = fs::temp_directory_path() / ("tessel-parts-" + std::to_string(stamp));
        fs::create_directories(parts_);
    }
    void TearDown() override {
        std::error_code ec;
        fs::remove_all(parts_, ec);
    }
    void Folder(const std::wstring& name) { fs::create_directories(parts_ / PathFromWide(name)); }
    void File(const std::wstring& name) { std::ofstream(parts_ / PathFromWide(name)) << "x"; }
    fs::path parts_;
};

TEST_F(SkinFolders, OffersSubFoldersButNotTildeFoldersOrFiles) {
    for (const wchar_t* name : {L"red", L"~work", L"blue", L"~test", L"Azure", L"a~b", L"青"}) Folder(name);
    File(L"zeta.txt");
    File(L"define.ini");
    Folder(L"~test/inner");  // a skin-like folder below a hidden one is not looked at
    const SkinListResult result = ListSkins(parts_);
    ASSERT_TRUE(result.ok) << std::string(result.error.begin(), result.error.end());
    EXPECT_EQ(result.names, (std::vector<std::wstring>{L"Azure", L"a~b", L"blue", L"red", L"青"}));
}

TEST_F(SkinFolders, EmptyFolderGivesNoSkinsAndMissingFolderIsAnError) {
    const SkinListResult empty = ListSkins(parts_);
    EXPECT_TRUE(empty.ok);
    EXPECT_TRUE(empty.names.empty());

    const fs::path missing = parts_ / "absent";
    const SkinListResult result = ListSkins(missing);
    EXPECT_FALSE(result.ok);
    EXPECT_TRUE(result.names.empty());
    EXPECT_NE(result.error.find(WideFromPath(missing)), std::wstring::npos) << "the report names the folder";
}

TEST(SkinNameOrder, AlphabeticalWithoutRegardToCase) {
    std::vector<std::wstring> names{L"ember", L"Azure", L"azure", L"B", L"a", L"Ａｂ", L"ａａ", L"10", L"9"};
    std::sort(names.begin(), names.end(), SkinNameLess);
    // Names equal but for case keep one fixed order (upper case first, by code).
    EXPECT_EQ(names, (std::vector<std::wstring>{L"10", L"9", L"a", L"Azure", L"azure", L"B", L"ember", L"ａａ",
                                                L"Ａｂ"}));
    EXPECT_FALSE(SkinNameLess(L"same", L"same"));
}

}  // namespace
}  // namespace tessel::player
