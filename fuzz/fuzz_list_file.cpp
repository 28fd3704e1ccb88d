// The list file reader and writer on real files: whatever a file holds, the reader
// takes it line by line as the line rule says; what the writer writes reads back as the
// same entries (characters code page 932 cannot hold as '?', each altered entry
// counted); and an empty list is a zero-byte file.
#include "common/fileio.h"
#include "editor/listfile/listfile.h"
#include "fuzz/fuzz_support.h"

namespace lf = tessel::listfile;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path folder = tessel::fuzz::ScratchFolder();

    // Any bytes as a list file.
    std::wstring error;
    FUZZ_CHECK(tessel::AtomicReplaceFile(folder / "raw.m3u", bytes, error));
    const lf::ReadResult raw = lf::ReadListFile(folder / "raw.m3u");
    FUZZ_CHECK(raw.ok);
    FUZZ_CHECK(raw.entries == tessel::DecodeTextLines(bytes));

    // Entries made from the bytes, saved and opened again.
    std::vector<std::wstring> entries = tessel::fuzz::LinesFrom(bytes);
    if (!entries.empty() && entries.back().empty()) entries.pop_back();
    const lf::WriteResult written = lf::WriteListFile(folder / "list.m3u", entries);
    FUZZ_CHECK(written.ok);
    FUZZ_CHECK(written.alteredEntries == lf::CountAlteredEntries(entries));
    const lf::ReadResult read = lf::ReadListFile(folder / "list.m3u");
    FUZZ_CHECK(read.ok);
    FUZZ_CHECK(read.entries.size() == entries.size());
    std::size_t altered = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        FUZZ_CHECK(read.entries[i] == tessel::fuzz::AsWrittenAndRead(entries[i]));
        altered += read.entries[i] != entries[i];
    }
    FUZZ_CHECK(altered == written.alteredEntries);
    const std::optional<std::uint64_t> length = tessel::FileSizeOf(folder / "list.m3u");
    FUZZ_CHECK(length.has_value());
    FUZZ_CHECK((*length == 0) == entries.empty());

    // Saved again from what was read: the same file.
    const lf::WriteResult again = lf::WriteListFile(folder / "again.m3u", read.entries);
    FUZZ_CHECK(again.ok && again.alteredEntries == 0);
    std::string first, second;
    FUZZ_CHECK(tessel::ReadWholeFile(folder / "list.m3u", first, error));
    FUZZ_CHECK(tessel::ReadWholeFile(folder / "again.m3u", second, error));
    FUZZ_CHECK(first == second);
    return 0;
}
