#include "editor/listfile/listfile.h"

#include <gtest/gtest.h>

#include <tuple>

#include "common/fileio.h"
#include "tests/support/temp_dir.h"

namespace tessel::listfile {
namespace {

using tessel::test::TempDir;
using Entries = std::vector<std::wstring>;

// Any bytes read line by line as the line rule says (a byte-order mark stays in the
// first entry), and characters the code page cannot hold written as '?' and counted:
// the list file fuzz target's properties, from its seeds.
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
    ASSERT_TRUE(WriteListFile(dir / "list.m3u8", lines).ok);
    // The player's load without an existence test of its own asks the file system.
    Entries kept;
    const LoadResult loaded = LoadExistingEntries(dir / "list.m3u8", {}, {}, [&](Entries& batch) {
        kept.insert(kept.end(), batch.begin(), batch.end());
        return true;
    });
    ASSERT_TRUE(loaded.ok);
#ifdef _WIN32
    // Windows opens "a.mp3 " as a.mp3; the entry stays as written.
    EXPECT_EQ(kept, (Entries{base + L"b.wav", base + L"a.mp3 ", base + L"a.mp3", base + L"b.wav"}));
#else
    EXPECT_EQ(kept, (Entries{base + L"b.wav", base + L"a.mp3", base + L"b.wav"}));
#endif
    EXPECT_EQ(loaded.entries, kept.size());
}

// The player's load with an existence test that accepts every name it is asked about
// and remembers what it was asked.
struct Load {
    Entries asked;
    std::vector<Entries> batches;
    LoadResult result;
    Load(const std::filesystem::path& path, LoadOptions options, std::size_t stopAfter = 1000) {
        result = LoadExistingEntries(
            path,
            [this](const std::wstring& name) {
                asked.push_back(name);
                return name.find(L"missing") == std::wstring::npos;
            },
            options,
            [this, stopAfter](Entries& batch) {
                batches.push_back(batch);
                return batches.size() < stopAfter;
            });
    }
    Entries All() const {
        Entries all;
        for (const Entries& b : batches) all.insert(all.end(), b.begin(), b.end());
        return all;
    }
};

TEST(ListFileLoad, ThePlayerSeesTheLinesTheEditorSees) {
    // One line reader for both programs: a lone CR stays in its line (also at the very
    // end of the file), CR LF and a lone LF end a line.
    TempDir dir;
    const char* images[] = {"a\r\nb\r", "a\rb\r\nc", "a\r\r\n\r", "x\ny\r\n", "\r", "only"};
    for (const char* image : images) {
        SCOPED_TRACE(image);
        const auto path = dir.Write("l.m3u", image);
        Entries editor;
        for (const std::wstring& e : ReadListFile(path).entries) {
            if (!e.empty()) editor.push_back(e);  // the player passes over empty lines
        }
        LoadOptions options;
        options.batchLines = 1;
        const Load player(path, options);
        ASSERT_TRUE(player.result.ok);
        EXPECT_EQ(player.All(), editor);
    }
}

TEST(ListFileLoad, BatchesLimitAndStop) {
    TempDir dir;
    // Seven lines: two empty ones (never asked about), one missing file.
    const auto path = dir.Write("l.m3u", "a\r\n\r\nb\r\nmissing\r\n\r\nc\r\nd\r\n");
    LoadOptions options;
    options.batchLines = 3;
    Load all(path, options);
    ASSERT_TRUE(all.result.ok);
    EXPECT_FALSE(all.result.stopped);
    EXPECT_EQ(all.result.entries, 4u);
    EXPECT_EQ(all.batches, (std::vector<Entries>{{L"a", L"b"}, {L"c"}, {L"d"}}));
    EXPECT_EQ(all.asked, (Entries{L"a", L"b", L"missing", L"c", L"d"}));

    // The limit stops the read at the entry that reaches it: nothing after it is tested.
    options.limit = 2;
    Load limited(path, options);
    EXPECT_EQ(limited.All(), (Entries{L"a", L"b"}));
    EXPECT_EQ(limited.asked, (Entries{L"a", L"b"}));
    EXPECT_EQ(limited.batches.size(), 1u);
    options.limit = 3;
    EXPECT_EQ(Load(path, options).All(), (Entries{L"a", L"b", L"c"}));

    // The receiver can stop the load after any batch.
    options.limit = LoadOptions{}.limit;
    Load stopped(path, options, 1);
    EXPECT_TRUE(stopped.result.ok);
    EXPECT_TRUE(stopped.result.stopped);
    EXPECT_EQ(stopped.All(), (Entries{L"a", L"b"}));

    // A file that cannot be opened.
    Load missing(dir / "none.m3u", options);
    EXPECT_FALSE(missing.result.ok);
    EXPECT_FALSE(missing.result.error.empty());
    EXPECT_TRUE(missing.batches.empty());
}

// Lines longer than a path can be (in the file's encoding) are skipped unread.
TEST(ListFileLoad, LinesTooLongForAPathAreSkippedUnread) {
    TempDir dir;
    // (A UTF-8 file's mark is no part of its first line.)
    for (const auto& [name, mark, most] : {std::tuple{"l.m3u", "", kMaxEntryBytes},
                                           std::tuple{"l.m3u8", "\xEF\xBB\xBF", kMaxUtf8EntryBytes}}) {
        SCOPED_TRACE(name);
        const std::string longest(most, 'x');
        const auto path = dir.Write(name, mark + longest + "\r\n" + longest + "y\r\n\xC3\xA9\r\n" + longest + "yz");
        Load load(path, LoadOptions{});
        ASSERT_TRUE(load.result.ok);
        ASSERT_EQ(load.asked.size(), 2u);
        EXPECT_EQ(load.asked[0], std::wstring(most, L'x'));
    }
}

// ".m3u8" in any letter case is UTF-8; nothing else is, whatever the file holds.
TEST(ListFileUtf8, TheNameAloneSaysTheEncoding) {
    for (const char* name : {"a.m3u8", "d/A.M3U8", "x.y.M3u8"}) EXPECT_TRUE(IsUtf8ListName(name)) << name;
    for (const char* name : {"a.m3u", "a.m3u8x", "a.m3u8.txt", "m3u8", "a.m3", "a.8"}) {
        EXPECT_FALSE(IsUtf8ListName(name)) << name;
    }
    EXPECT_EQ(Utf8ListName("d/list.m3u"), std::filesystem::path("d/list.m3u8"));
    EXPECT_EQ(Utf8ListName("d/a.b.txt"), std::filesystem::path("d/a.b.m3u8"));
    EXPECT_EQ(Utf8ListName("d/none"), std::filesystem::path("d/none.m3u8"));
}

TEST(ListFileUtf8, EveryNameIsWrittenAndReadBackExactly) {
    TempDir dir;
    const Entries entries = {L"C:\\Listes\\Beyonc\u00E9 - Halo.mp3", L"\uD55C\uAD6D\uC5B4.mp3", L"\U0001F3B5 e\u0301.mp3",
                             L"", L" #\u97F3 ", L"a\rb"};
    const std::string bytes =
        "C:\\Listes\\Beyonc\xC3\xA9 - Halo.mp3\r\n\xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4.mp3\r\n"
        "\xF0\x9F\x8E\xB5 e\xCC\x81.mp3\r\n\r\n #\xE9\x9F\xB3 \r\na\rb\r\n";
    const auto upper = dir / "Caf\u00E9.M3U8";
    WriteResult w = WriteListFile(upper, entries);
    ASSERT_TRUE(w.ok);
    EXPECT_EQ(w.alteredEntries, 0u);
    EXPECT_EQ(CountAlteredEntries(entries, TextEncoding::Utf8), 0u);
    EXPECT_EQ(TempDir::ReadBytes(upper), bytes);  // no mark written
    EXPECT_EQ(ReadListFile(upper).entries, entries);
    // With a mark, and with lone LF line ends, the same entries.
    EXPECT_EQ(ReadListFile(dir.Write("m.m3u8", "\xEF\xBB\xBF" + bytes)).entries, entries);
    EXPECT_EQ(ReadListFile(dir.Write("lf.m3u8", "\xC3\xA9\n\nx")).entries, (Entries{L"\u00E9", L"", L"x"}));
    // A first entry that begins with U+FEFF gets the one mark a reader drops.
    const Entries zwnbsp = {L"\uFEFF" L"a", L"\uFEFF"};
    ASSERT_TRUE(WriteListFile(dir / "z.m3u8", zwnbsp).ok);
    EXPECT_EQ(TempDir::ReadBytes(dir / "z.m3u8"), "\xEF\xBB\xBF\xEF\xBB\xBF" "a\r\n\xEF\xBB\xBF\r\n");
    EXPECT_EQ(ReadListFile(dir / "z.m3u8").entries, zwnbsp);
    // The same entries to an .m3u file: three lose characters, which UTF-8 would keep.
    EXPECT_EQ(CountAlteredEntries(entries), 3u);
    EXPECT_EQ(CountKeptOnlyByUtf8(entries), 3u);
    EXPECT_EQ(WriteListFile(dir / "l.m3u", entries).alteredEntries, 3u);
    // An .m3u file read as ever: the mark is text of the first entry.
    const auto marked = dir.Write("marked.m3u", "\xEF\xBB\xBF" "a\r\n");
    EXPECT_EQ(ReadListFile(marked).entries, Entries{DecodeCp932("\xEF\xBB\xBF" "a")});
}

TEST(ListFileUtf8, BytesThatAreNotUtf8) {
    TempDir dir;
    const auto path = dir.Write("bad.m3u8", "a\r\nb\xC3(\r\n\xFF\r\nc\r\n");
    // The editor keeps the lines, the bad bytes as U+FFFD, and counts them as altered;
    // U+FFFD is no character code page 932 has, so UTF-8 keeps nothing more.
    const Entries read = ReadListFile(path).entries;
    EXPECT_EQ(read, (Entries{L"a", L"b\uFFFD(", L"\uFFFD", L"c"}));
    EXPECT_EQ(CountAlteredEntries(read, TextEncoding::Utf8), 2u);
    EXPECT_EQ(CountKeptOnlyByUtf8(read), 0u);
    const WriteResult w = WriteListFile(path, read);
    EXPECT_EQ(w.alteredEntries, 2u);
    EXPECT_EQ(TempDir::ReadBytes(path), "a\r\nb\xEF\xBF\xBD(\r\n\xEF\xBF\xBD\r\nc\r\n");
    // The player skips them like the names of missing files, and asks nothing about them.
    dir.Write("bad.m3u8", "a\r\nb\xC3(\r\n\xFF\r\nc\r\n");
    Load load(path, LoadOptions{});
    EXPECT_EQ(load.All(), (Entries{L"a", L"c"}));
    EXPECT_EQ(load.asked, (Entries{L"a", L"c"}));
}

}  // namespace
}  // namespace tessel::listfile
