#include "common/textfile.h"

#include <gtest/gtest.h>

#include "common/fileio.h"
#include "tests/common/temp_dir.h"

namespace tessel {
namespace {

using Lines = std::vector<std::wstring>;

TEST(TextLines, LineEndRules) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {L"a"}},
        {"a\r\n", {L"a"}},                 // no empty line after the final line end
        {"a\r\nb", {L"a", L"b"}},          // a last line without line end is a line
        {"a\r\n\r\nb\r\n", {L"a", L"", L"b"}},
        {"\r\n", {L""}},
        {"\r\n\r\n", {L"", L""}},
        {"a\nb\n", {L"a", L"b"}},          // lone LF ends a line too
        {"a\rb\r\n", {L"a\rb"}},           // lone CR is part of the line
        {"a\r\r\n", {L"a\r"}},
        {" x \r\n\ty\t", {L" x ", L"\ty\t"}},  // nothing trimmed
    };
    for (const Case& c : cases) {
        EXPECT_EQ(DecodeTextLines(c.bytes), c.lines) << "bytes: " << c.bytes;
    }
}

TEST(TextLines, EncodingEndsEveryLineWithCrLf) {
    EXPECT_EQ(EncodeTextLines({}).bytes, "");
    EXPECT_EQ(EncodeTextLines({L""}).bytes, "\r\n");
    EXPECT_EQ(EncodeTextLines({L"a", L"", L"b"}).bytes, "a\r\n\r\nb\r\n");
    EncodedLines e = EncodeTextLines({L"ok", L"é and ü", L"fine", L"ñ"});
    EXPECT_EQ(e.bytes, "ok\r\n? and ?\r\nfine\r\n?\r\n");
    EXPECT_EQ(e.replacedChars, 3u);
    EXPECT_EQ(e.alteredLines, 2u);
}

TEST(TextFiles, WriteThenReadKeepsJapaneseAndLoneCr) {
    testing::TempDir dir;
    const Lines lines = {L"C:\\音楽\\アルバム\\01 曲.mp3", L"", L"  spaced  ", L"cr\rinside"};
    const auto path = dir / PathFromWide(L"リスト.m3u");
    TextWriteResult w = WriteTextFileLines(path, lines);
    ASSERT_TRUE(w.ok) << std::string(w.error.begin(), w.error.end());
    EXPECT_EQ(w.replacedChars, 0u);
    const std::string raw = testing::TempDir::ReadBytes(path);
    EXPECT_EQ(raw.substr(raw.size() - 2), "\r\n");
    EXPECT_EQ(raw.find('\xEF'), std::string::npos);  // no byte-order mark
    TextReadResult r = ReadTextFileLines(path);
    ASSERT_TRUE(r.ok);
    EXPECT_EQ(r.lines, lines);
}

TEST(TextFiles, ReadingAMissingFileOrAFolderFails) {
    testing::TempDir dir;
    TextReadResult r = ReadTextFileLines(dir / "missing.txt");
    EXPECT_FALSE(r.ok);
    EXPECT_FALSE(r.error.empty());
    r = ReadTextFileLines(dir.path());
    EXPECT_FALSE(r.ok);
}

}  // namespace
}  // namespace tessel
