// The list file reader and writer on real files, for both kinds of list. Whatever a
// file holds, the reader takes it line by line as the line rule says (an ".m3u8" file
// as UTF-8 after an optional mark, an ".m3u" file as code page 932 with any mark as
// text); what the writer writes reads back as the same entries (in code page 932 the
// characters it cannot hold as '?'; in UTF-8 every entry exactly), each altered entry
// counted; and an empty list is a zero-byte file.
#include "common/fileio.h"
#include "common/utf8.h"
#include "editor/listfile/listfile.h"
#include "fuzz/fuzz_support.h"

namespace lf = tessel::listfile;
using tessel::TextEncoding;

namespace {

// The plain reading of a UTF-8 list: a leading mark dropped, then the line rule.
std::vector<std::wstring> ReferenceUtf8Lines(std::string_view bytes) {
    if (bytes.substr(0, tessel::kUtf8Bom.size()) == tessel::kUtf8Bom) bytes.remove_prefix(tessel::kUtf8Bom.size());
    std::size_t skipped = 0;
    std::vector<std::wstring> lines;
    for (const std::string& line : tessel::fuzz::ReferenceLines(bytes, std::string::npos, skipped)) {
        lines.push_back(tessel::DecodeUtf8(line));
    }
    return lines;
}

void Check(std::string_view bytes, const char* extension) {
    const std::filesystem::path folder = tessel::fuzz::ScratchFolder();
    const auto named = [&](const char* stem) { return folder / (std::string(stem) + extension); };
    const TextEncoding encoding = lf::ListEncodingOf(named("list"));
    const bool utf8 = encoding == TextEncoding::Utf8;

    // Any bytes as a list file.
    std::wstring error;
    FUZZ_CHECK(tessel::AtomicReplaceFile(named("raw"), bytes, error));
    const lf::ReadResult raw = lf::ReadListFile(named("raw"));
    FUZZ_CHECK(raw.ok);
    FUZZ_CHECK(raw.entries == (utf8 ? ReferenceUtf8Lines(bytes) : tessel::DecodeTextLines(bytes)));

    // Entries made from the bytes, saved and opened again.
    std::vector<std::wstring> entries = tessel::fuzz::LinesFrom(bytes, encoding);
    if (!entries.empty() && entries.back().empty()) entries.pop_back();
    const lf::WriteResult written = lf::WriteListFile(named("list"), entries);
    FUZZ_CHECK(written.ok);
    FUZZ_CHECK(written.alteredEntries == lf::CountAlteredEntries(entries, encoding));
    const lf::ReadResult read = lf::ReadListFile(named("list"));
    FUZZ_CHECK(read.ok);
    FUZZ_CHECK(read.entries.size() == entries.size());
    std::size_t altered = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (utf8) {
            // Every character comes back; U+FFFD (bytes that were not UTF-8) counts.
            FUZZ_CHECK(read.entries[i] == entries[i]);
            altered += entries[i].find(tessel::kBadByteChar) != std::wstring::npos;
        } else {
            FUZZ_CHECK(read.entries[i] == tessel::fuzz::AsWrittenAndRead(entries[i]));
            altered += read.entries[i] != entries[i];
        }
    }
    FUZZ_CHECK(altered == written.alteredEntries);
    const std::optional<std::uint64_t> length = tessel::FileSizeOf(named("list"));
    FUZZ_CHECK(length.has_value());
    FUZZ_CHECK((*length == 0) == entries.empty());

    // Saved again from what was read: the same file.
    const lf::WriteResult again = lf::WriteListFile(named("again"), read.entries);
    FUZZ_CHECK(again.ok && again.alteredEntries == (utf8 ? altered : 0));
    std::string first, second;
    FUZZ_CHECK(tessel::ReadWholeFile(named("list"), first, error));
    FUZZ_CHECK(tessel::ReadWholeFile(named("again"), second, error));
    FUZZ_CHECK(first == second);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    Check(bytes, ".m3u");
    Check(bytes, ".M3u8");
    return 0;
}
