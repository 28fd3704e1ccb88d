#include "editor/listfile/listfile.h"

#include <gtest/gtest.h>

#include "common/fileio.h"
#include "tests/common/temp_dir.h"

namespace tessel::listfile {
namespace {

using tessel::testing::TempDir;
using Entries = std::vector<std::wstring>;

TEST(ListFileRead, EveryLineIsAnEntryVerbatim) {
    TempDir dir;
    const auto withEnd = dir.Write("a.m3u", "one\r\n\r\n  two  \r\n#comment\r\n");
    const auto withoutEnd = dir.Write("b.m3u", "one\r\n\r\n  two  \r\n#comment");
    ReadResult a = ReadListFile(withEnd);
    ReadResult b = ReadListFile(withoutEnd);
    ASSERT_TRUE(a.ok);
    ASSERT_TRUE(b.ok);
    EXPECT_EQ(a.entries, (Entries{L"one", L"", L"  two  ", L"#comment"}));
    EXPECT_EQ(a.entries, b.entries);
    EXPECT_TRUE(ReadListFile(dir.Write("empty.m3u", "")).entries.empty());
    EXPECT_FALSE(ReadListFile(dir / "missing.m3u").ok);
}

TEST(ListFileRead, UnicodeFilesAreNotRecognised) {
    TempDir dir;
    // A UTF-8 byte-order mark is read as code page 932 bytes: it stays in the first entry.
    ReadResult r = ReadListFile(dir.Write("bom.m3u", "\xEF\xBB\xBF" "a.mp3\r\n"));
    ASSERT_TRUE(r.ok);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_NE(r.entries[0], L"a.mp3");
    EXPECT_EQ(r.entries[0].substr(r.entries[0].size() - 5), L"a.mp3");
    // UTF-16 with its NULs reads as some text, without failing.
    const std::string utf16("\xFF\xFE" "a\0.\0m\0p\0" "3\0\r\0\n\0", 16);
    r = ReadListFile(dir.Write("utf16.m3u", utf16));
    EXPECT_TRUE(r.ok);
}

TEST(ListFileWrite, FormatAndRoundTrip) {
    TempDir dir;
    const auto path = dir / "out.m3u";
    WriteResult w = WriteListFile(path, {});
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(std::filesystem::file_size(path), 0u);  // empty list: zero bytes

    const Entries entries = {L"C:\\曲\\a.mp3", L"", L"trailing  ", L"#not a comment"};
    w = WriteListFile(path, entries);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.alteredEntries, 0u);
    EXPECT_EQ(TempDir::ReadBytes(path), "C:\\\x8B\xC8\\a.mp3\r\n\r\ntrailing  \r\n#not a comment\r\n");
    EXPECT_EQ(ReadListFile(path).entries, entries);

    // A file whose last line had no line end gets one when saved again.
    const auto bare = dir.Write("bare.m3u", "x\r\ny");
    WriteListFile(bare, ReadListFile(bare).entries);
    EXPECT_EQ(TempDir::ReadBytes(bare), "x\r\ny\r\n");
}

TEST(ListFileWrite, CountsEntriesThatCodePage932CannotHold) {
    const Entries entries = {L"C:\\ok.mp3", L"C:\\café.mp3", L"C:\\αβγ Ω.mp3"};
    EXPECT_EQ(CountAlteredEntries(entries), 1u);  // Greek is in code page 932, é is not
    TempDir dir;
    WriteResult w = WriteListFile(dir / "x.m3u", entries);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.alteredEntries, 1u);
    EXPECT_EQ(ReadListFile(dir / "x.m3u").entries[1], L"C:\\caf?.mp3");
}

TEST(ListFileSize, ConfirmationThresholdIsOnePointOneMillionBytes) {
    TempDir dir;
    const auto exact = dir.Write("exact.m3u", std::string(1100000, 'a'));
    const auto over = dir.Write("over.m3u", std::string(1100001, 'a'));
    EXPECT_FALSE(NeedsSizeConfirmation(*FileSizeOf(exact)));
    EXPECT_TRUE(NeedsSizeConfirmation(*FileSizeOf(over)));
    EXPECT_FALSE(NeedsSizeConfirmation(1048577));  // not 1 MiB
}

TEST(ListFilePlayerFilter, KeepsOnlyLinesNamingExistingFiles) {
    TempDir dir;
    dir.Write("a.mp3", "x");
    dir.Write("b.wav", "x");
    std::filesystem::create_directory(dir / "folder.mp3");
    const std::wstring base = (dir.path() / "").wstring();
    const Entries lines = {
        base + L"b.wav", L"", L"#" + base + L"a.mp3", base + L"missing.mp3",
        base + L"folder.mp3", base + L"a.mp3 ", base + L"a.mp3", base + L"b.wav",
    };
    EXPECT_EQ(FilterExistingFiles(lines), (Entries{base + L"b.wav", base + L"a.mp3", base + L"b.wav"}));
}

}  // namespace
}  // namespace tessel::listfile
