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
TextLineReader ReaderOver(const std::string& bytes, std::size_t piece) {
    auto at = std::make_shared<std::size_t>(0);
    return TextLineReader(
        [&bytes, at](char* buffer, std::size_t capacity, std::size_t& got, std::wstring&) {
            got = std::min(capacity, bytes.size() - *at);
            std::copy_n(bytes.data() + *at, got, buffer);
            *at += got;
            return true;
        },
        TextLineReader::kNoLineLimit, piece);
}

Lines ReadAll(TextLineReader& reader, std::size_t batch = TextLineReader::kNoLineLimit) {
    Lines lines;
    while (reader.ReadSome(batch, lines) == TextLineReader::Status::More) {
    }
    return lines;
}

// The line-end rules, for a whole text and wherever a piece of it ends (pieces of one
// byte cut every CR LF in two; a line may span many pieces).
TEST(TextLines, LineEndRulesHoldWhereverAPieceEnds) {
    struct Case {
        std::string bytes;
        Lines lines;
    };
    const Case cases[] = {
        {"", {}},
        {"a", {L"a"}},
        {"a\r\n", {L"a"}},                 // no empty line after the final line end
        {"a\r\nb", {L"a", L"b"}},          // a last line without line end is a line
        {"\r\n\r\n", {L"", L""}},
        {"a\nb\n", {L"a", L"b"}},          // lone LF ends a line too
        {"a\rb\r\n", {L"a\rb"}},           // lone CR is part of the line
        {" x \r\n\ty\t", {L" x ", L"\ty\t"}},  // nothing trimmed
        {"C:\\\x89\xB9\x8A\x79\r\n", {L"C:\\音楽"}},  // code page 932, also cut between pieces
        {"a\r\n\r\nbc\rd\r\r\n\nlong line of text\r\nlast\r", {L"a", L"", L"bc\rd\r", L"", L"long line of text", L"last\r"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.bytes);
        EXPECT_EQ(DecodeTextLines(c.bytes), c.lines);
        for (std::size_t piece : {1u, 2u, 3u, 64u}) {
            for (std::size_t batch : {1u, 100u}) {
                TextLineReader reader = ReaderOver(c.bytes, piece);
                EXPECT_EQ(ReadAll(reader, batch), c.lines) << piece << " bytes a piece, " << batch << " lines a batch";
                EXPECT_EQ(reader.SkippedLines(), 0u);
            }
        }
    }
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
