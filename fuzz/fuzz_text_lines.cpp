// The text-line reader every text file goes through: whatever the bytes, wherever the
// pieces of the file end and however many lines are asked for at a time, it gives the
// lines of the plain rule; and lines written and read again come back the same.
#include "common/cp932.h"
#include "common/textfile.h"
#include "fuzz/fuzz_support.h"

using tessel::TextLineReader;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tessel::fuzz::Input in(data, size);
    const std::size_t piece = 1 + in.Byte() % 32;
    const std::size_t batch = in.Byte() % 8;  // 0: everything in one call
    const std::uint8_t limit = in.Byte();
    const std::size_t maxLineBytes = limit >= 64 ? TextLineReader::kNoLineLimit : limit;
    const std::string_view bytes = in.Rest();

    std::size_t expectedSkips = 0;
    const std::vector<std::string> expected = tessel::fuzz::ReferenceLines(bytes, maxLineBytes, expectedSkips);

    TextLineReader reader = tessel::fuzz::ReaderOver(bytes, piece, maxLineBytes);
    std::vector<std::wstring> lines;
    for (int calls = 0;; ++calls) {
        const std::size_t before = lines.size();
        const TextLineReader::Status status = reader.ReadSome(batch == 0 ? TextLineReader::kNoLineLimit : batch, lines);
        FUZZ_CHECK(status != TextLineReader::Status::Failed);
        if (batch != 0) FUZZ_CHECK(lines.size() - before <= batch);
        if (status == TextLineReader::Status::End) break;
        FUZZ_CHECK(calls <= static_cast<int>(bytes.size()) + 2);  // every call gets on
    }
    FUZZ_CHECK(reader.SkippedLines() == expectedSkips);
    FUZZ_CHECK(lines.size() == expected.size());
    for (std::size_t i = 0; i < lines.size(); ++i) FUZZ_CHECK(lines[i] == tessel::DecodeCp932(expected[i]));

    // The whole image read at once is the same.
    if (maxLineBytes == TextLineReader::kNoLineLimit) FUZZ_CHECK(tessel::DecodeTextLines(bytes) == lines);

    // Written and read again: the same lines (a bad byte read as U+FFFD is written as '?').
    const tessel::EncodedLines written = tessel::EncodeTextLines(lines);
    const std::vector<std::wstring> again = tessel::DecodeTextLines(written.bytes);
    FUZZ_CHECK(again.size() == lines.size());
    std::size_t altered = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        FUZZ_CHECK(again[i] == tessel::fuzz::AsWrittenAndRead(lines[i]));
        altered += again[i] != lines[i];
    }
    FUZZ_CHECK(written.alteredLines == altered);
    FUZZ_CHECK(tessel::EncodeTextLines(again).bytes == written.bytes);
    return 0;
}
