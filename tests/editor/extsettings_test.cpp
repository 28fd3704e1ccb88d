#include "editor/core/extsettings.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "tests/support/temp_dir.h"
#include "tests/editor/fake_host.h"

namespace listwright {
namespace {

namespace fs = std::filesystem;
using Texts = std::vector<std::wstring>;
using tessel::test::TempDir;
using testing::FakeHost;

// An editor over a program folder with its settings folder and no ext.ini yet.
struct ExtIni : ::testing::Test {
    TempDir dir;
    FakeHost host;
    ListEditor editor{host};
    const fs::path ini = ExtIniPath(dir.path());
    void SetUp() override { fs::create_directory(dir / "m3usetting"); }
};

TEST_F(ExtIni, AMissingFileIsMadeEmptyReadTakesNonEmptyLinesVerbatimWriteIsSorted) {
    EXPECT_EQ(ini, dir / "m3usetting" / "ext.ini");
    editor.LoadExtensions(ini);
    ASSERT_TRUE(fs::exists(ini));
    EXPECT_EQ(fs::file_size(ini), 0u);
    EXPECT_EQ(editor.ExtList().Count(), 0u);
    EXPECT_TRUE(editor.SaveExtensions());
    EXPECT_EQ(fs::file_size(ini), 0u);
    dir.Write("m3usetting/ext.ini", "*.wav\r\n\r\n *.mp3\r\n*.AVI\r\n*.mp3\r\n\r\n*.avi\r\n*.mp3");
    editor.LoadExtensions(ini);
    EXPECT_TRUE(host.told.empty());
    EXPECT_EQ(editor.ExtList().Items(),
              (Texts{L" *.mp3", L"*.AVI", L"*.avi", L"*.mp3", L"*.mp3", L"*.wav"}));
    ASSERT_TRUE(editor.SaveExtensions());
    EXPECT_EQ(TempDir::ReadBytes(ini), " *.mp3\r\n*.AVI\r\n*.avi\r\n*.mp3\r\n*.mp3\r\n*.wav\r\n");

    // Patterns set in the dialog replace the old ones and are written sorted.
    editor.ReplaceExtensions({L"*.ogg", L"*.flac", L"*.ogg"});
    ASSERT_TRUE(editor.SaveExtensions());
    EXPECT_EQ(TempDir::ReadBytes(ini), "*.flac\r\n*.ogg\r\n*.ogg\r\n");
}

// Bytes code page 932 does not decode read as U+FFFD; written as '?' they would become
// a wildcard. Such lines go back as they were read, as long as the pattern stays.
TEST_F(ExtIni, LinesThatDoNotDecodeAreWrittenBackAsTheirBytes) {
    dir.Write("m3usetting/ext.ini", "*.mp3\r\n*\x80.ogg\r\n\xfd\xfe\n*\x80.ogg\r\n*.\x82\xa0");
    editor.LoadExtensions(ini);
    ASSERT_EQ(editor.ExtList().Count(), 5u);
    ASSERT_TRUE(editor.SaveExtensions());
    std::string bytes = TempDir::ReadBytes(ini);
    EXPECT_EQ(bytes.size(), 33u);
    for (const char* line : {"*.mp3\r\n", "\xfd\xfe\r\n", "*.\x82\xa0\r\n"}) EXPECT_NE(bytes.find(line), std::string::npos) << line;
    EXPECT_NE(bytes.find("*\x80.ogg\r\n"), bytes.rfind("*\x80.ogg\r\n"));
    EXPECT_EQ(bytes.find('?'), std::string::npos);

    // Through the dialog: kept; one of the two deleted: the other stays.
    std::vector<std::wstring> patterns = editor.ExtList().Items();
    patterns.erase(std::find(patterns.begin(), patterns.end(), L"*\uFFFD.ogg"));
    editor.ReplaceExtensions(patterns);
    ASSERT_TRUE(editor.SaveExtensions());
    bytes = TempDir::ReadBytes(ini);
    EXPECT_EQ(bytes.size(), 25u);
    EXPECT_NE(bytes.find("*\x80.ogg\r\n"), std::string::npos);
    EXPECT_EQ(bytes.find('?'), std::string::npos);
}

TEST_F(ExtIni, AnUnreadableFileIsNotOverwrittenUnlessThePatternsWereSetAgain) {
    // A folder where the file should be: it exists but cannot be read as a file.
    fs::create_directory(ini);
    editor.LoadExtensions(ini);
    ASSERT_EQ(host.told.size(), 1u);
    EXPECT_EQ(host.told[0].notice, EditorHost::Notice::ExtReadFailed);
    EXPECT_TRUE(editor.SaveExtensions());  // nothing to save: the patterns are unknown
    // The dialog closed without a change hands back the same (empty) list: no decision.
    editor.ReplaceExtensions({});
    EXPECT_TRUE(editor.SaveExtensions());
    EXPECT_EQ(host.told.size(), 1u);
    editor.ReplaceExtensions({L"*.mp3"});
    EXPECT_FALSE(editor.SaveExtensions());  // now it tries, and says that it failed
    EXPECT_EQ(host.told.back().notice, EditorHost::Notice::ExtWriteFailed);
}

}  // namespace
}  // namespace listwright
