#include "player/shared/skin_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "common/fileio.h"
#include "tests/support/temp_dir.h"

namespace tessel::player {
namespace {

namespace fs = std::filesystem;

TEST(SkinFolders, SubFoldersButNotTildeFoldersOrFilesAndAMissingFolderIsAnError) {
    tessel::test::TempDir parts{"parts"};
    const SkinListResult empty = ListSkins(parts.path());
    EXPECT_TRUE(empty.ok);
    EXPECT_TRUE(empty.names.empty());
    for (const wchar_t* name : {L"red", L"~work", L"blue", L"~test", L"Azure", L"a~b", L"青"})
        fs::create_directories(parts / PathFromWide(name));
    parts.Write("zeta.txt", "x");
    parts.Write("define.ini", "x");
    fs::create_directories(parts / "~test/inner");  // a skin-like folder below a hidden one is not looked at
    const SkinListResult result = ListSkins(parts.path());
    ASSERT_TRUE(result.ok) << std::string(result.error.begin(), result.error.end());
    EXPECT_EQ(result.names, (std::vector<std::wstring>{L"Azure", L"a~b", L"blue", L"red", L"青"}));

    const fs::path missing = parts / "absent";
    const SkinListResult none = ListSkins(missing);
    EXPECT_FALSE(none.ok);
    EXPECT_TRUE(none.names.empty());
    EXPECT_NE(none.error.find(WideFromPath(missing)), std::wstring::npos) << "the report names the folder";
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
