#include "common/textfile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>

#include "common/fileio.h"
#include "tests/support/temp_dir.h"

namespace tessel {
namespace {

using Lines = std::vector<std::wstring>;

// A reader over bytes in memory, handed out `piece` bytes at a time. (Lines beyond a
// length limit are the text-line fuzz target's seeds against its plain reference.)
TextLineReader ReaderOver(const std::string& bytes, std::size_t piece, TextEncoding encoding = TextEncoding::Cp932,
                          TextLineReader::BadLines bad = TextLineReader::BadLines::Replace) {
    auto at = std::make_shared<std::size_t>(0);
    return TextLineReader(
        [&bytes, at](char* buffer, std::size_t capacity, std::size_t& got, std::wstring&) {
            got = std::min(capacity, bytes.size() - *at);
            std::copy_n(bytes.data() + *at, got, buffer);
            *at += got;
            return true;
        },
        TextLineReader::kNoLineLimit, piece, encoding, bad);
}

Lines ReadAll(TextLineReader& reader, std::size_t batch = TextLineReader::kNoLineLimit) {
    Lines lines;
    while (reader.ReadSome(batch, lines) == TextLineReader::Status::More) {
    }
    return lines;
}

struct Case {
    std::string bytes;
    Lines lines;
};

// Each text decoded whole, and read wherever a piece of it ends (pieces of one byte cut
// every CR LF and every character in two; a line may span many pieces).
void ExpectLinesWhereverAPieceEnds(const std::vector<Case>& cases, TextEncoding encoding) {
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(DecodeTextLines(c.bytes, encoding), c.lines);
        for (std::size_t piece : {1u, 2u, 3u, 4u, 64u}) {
            for (std::size_t batch : {1u, 100u}) {
                TextLineReader reader = ReaderOver(c.bytes, piece, encoding);
                EXPECT_EQ(ReadAll(reader, batch), c.lines) << piece << " bytes a piece, " << batch << " lines a batch";
                EXPECT_EQ(reader.SkippedLines(), 0u);
            }
        }
    }
}

TEST(TextLines, LineEndRulesHoldWhereverAPieceEnds) {
    ExpectLinesWhereverAPieceEnds(
        {
            {"", {}},
            {"a", {L"a"}},
            {"a\r\n", {L"a"}},                 // no empty line after the final line end
            {"a\r\nb", {L"a", L"b"}},          // a last line without line end is a line
            {"\r\n\r\n", {L"", L""}},
            {"a\nb\n", {L"a", L"b"}},          // lone LF ends a line too
            {"a\rb\r\n", {L"a\rb"}},           // lone CR is part of the line
            {" x \r\n\ty\t", {L" x ", L"\ty\t"}},  // nothing trimmed
            {"C:\\\x89\xB9\x8A\x79\r\n", {L"C:\\音楽"}},  // code page 932
            {"a\r\n\r\nbc\rd\r\r\n\nlong line of text\r\nlast\r",
             {L"a", L"", L"bc\rd\r", L"", L"long line of text", L"last\r"}},
        },
        TextEncoding::Cp932);
}

// UTF-8 text: the same line rule; a mark at the very start is skipped, wherever the
// pieces cut it, and only there; bytes that only begin a mark are text.
TEST(TextLines, Utf8MarkAndLinesHoldWhereverAPieceEnds) {
    ExpectLinesWhereverAPieceEnds(
        {
            {"\xEF\xBB\xBF", {}},
            {"\xEF\xBB\xBF\r\n", {L""}},
            {"\xEF\xBB\xBF" "caf\xC3\xA9\r\n\xED\x95\x9C\rx\n\xF0\x9F\x8E\xB5", {L"caf\u00E9", L"\uD55C\rx", L"\U0001F3B5"}},
            {"caf\xC3\xA9\r\n", {L"caf\u00E9"}},                         // no mark
            {"\xEF\xBB\xBF\xEF\xBB\xBF" "a", {L"\uFEFF" L"a"}},         // a second one is text
            {"a\r\n\xEF\xBB\xBF" "b", {L"a", L"\uFEFF" L"b"}},          // so is one further on
            {"\xEF\xBB", {L"\uFFFD"}},                                   // the start of a mark only
            {"\xEF\xBB\r\nz", {L"\uFFFD", L"z"}},
            {"\xEFx\r\n", {L"\uFFFDx"}},
            {"\xEF\xBB\xBE", {L"\uFEFE"}},
        },
        TextEncoding::Utf8);
    // Code page 932 knows no mark: its bytes are the first line's.
    const std::string marked = "\xEF\xBB\xBF" "a\r\n";
    EXPECT_EQ(DecodeTextLines(marked), Lines{DecodeCp932("\xEF\xBB\xBF" "a")});
    EXPECT_NE(DecodeTextLines(marked)[0], L"a");
}

TEST(TextLineReader, Utf8LinesThatDoNotDecodeCanBeSkipped) {
    const std::string bytes = "\xEF\xBB\xBF" "ok\r\nx\xFF\r\n\xC3\r\n\xEF\xBF\xBD\r\n\xC3\xA9";
    TextLineReader kept = ReaderOver(bytes, 2, TextEncoding::Utf8);
    EXPECT_EQ(ReadAll(kept), (Lines{L"ok", L"x\uFFFD", L"\uFFFD", L"\uFFFD", L"\u00E9"}));
    EXPECT_EQ(kept.SkippedLines(), 0u);
    // A written U+FFFD is text like any other.
    TextLineReader skipping = ReaderOver(bytes, 2, TextEncoding::Utf8, TextLineReader::BadLines::Skip);
    EXPECT_EQ(ReadAll(skipping), (Lines{L"ok", L"\uFFFD", L"\u00E9"}));
    EXPECT_EQ(skipping.SkippedLines(), 2u);
}

TEST(TextLineReader, HandsOutAtMostTheLinesAskedFor) {
    const std::string bytes = "1\r\n2\r\n3";
    TextLineReader reader = ReaderOver(bytes, 4);
    Lines lines;
    EXPECT_EQ(reader.ReadSome(2, lines), TextLineReader::Status::More);
    EXPECT_EQ(lines, (Lines{L"1", L"2"}));
    EXPECT_EQ(reader.ReadSome(0, lines), TextLineReader::Status::More);
    EXPECT_EQ(lines.size(), 2u);
    // The last line, without a line end, comes with the news that nothing follows.
    EXPECT_EQ(reader.ReadSome(1, lines), TextLineReader::Status::End);
    EXPECT_EQ(lines, (Lines{L"1", L"2", L"3"}));
    EXPECT_EQ(reader.ReadSome(1, lines), TextLineReader::Status::End);
    EXPECT_EQ(lines.size(), 3u);
    const std::string empty;
    TextLineReader none = ReaderOver(empty, 4);
    EXPECT_EQ(none.ReadSome(5, lines), TextLineReader::Status::End);
    EXPECT_EQ(lines.size(), 3u);
}

TEST(TextLineReader, AFailingReadEndsWithItsReason) {
    int calls = 0;
    TextLineReader reader(
        [&](char* buffer, std::size_t, std::size_t& got, std::wstring& error) {
            if (++calls == 1) {
                std::copy_n("a\r\nb", 4, buffer);
                got = 4;
                return true;
            }
            error = L"device gone";
            return false;
        },
        TextLineReader::kNoLineLimit, 16);
    Lines lines;
    EXPECT_EQ(reader.ReadSome(10, lines), TextLineReader::Status::Failed);
    EXPECT_EQ(lines, (Lines{L"a"}));  // what was read before stays; the cut line does not
    EXPECT_EQ(reader.Error(), L"device gone");
    EXPECT_EQ(reader.ReadSome(10, lines), TextLineReader::Status::Failed);
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace tessel
