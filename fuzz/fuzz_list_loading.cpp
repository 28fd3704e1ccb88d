// The player's streamed list loading: the file read in pieces, its lines handed over in
// batches. Whatever the bytes, the piece and batch sizes, the limit and where the
// receiver says stop, the entries are exactly the lines of the plain rule that are not
// empty, not too long and name an existing file, in file order, up to the limit.
#include <algorithm>

#include "editor/listfile/listfile.h"
#include "fuzz/fuzz_support.h"

namespace lf = tessel::listfile;

namespace {

// Which names "exist": a rule of the text alone, so the reference can ask it too.
bool Exists(const std::wstring& name) {
    unsigned sum = 0;
    for (wchar_t c : name) sum += static_cast<unsigned>(c);
    return sum % 3 != 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    tessel::fuzz::Input in(data, size);
    const std::size_t piece = 1 + in.Byte() % 64;
    lf::LoadOptions options;
    options.batchLines = 1 + in.Byte() % 16;
    const std::uint8_t limit = in.Byte();
    if (limit < 200) options.limit = limit % 40;
    const std::size_t maxLineBytes = in.Byte() % 80;
    const std::size_t stopAfter = in.Byte() % 8;  // 0: never stop
    const std::string_view bytes = in.Rest();

    std::size_t skipped = 0;
    std::vector<std::wstring> expected;
    for (const std::string& line : tessel::fuzz::ReferenceLines(bytes, maxLineBytes, skipped)) {
        const std::wstring entry = tessel::DecodeCp932(line);
        if (!entry.empty() && Exists(entry)) expected.push_back(entry);
    }
    if (expected.size() > options.limit) expected.resize(options.limit);

    tessel::TextLineReader reader = tessel::fuzz::ReaderOver(bytes, piece, maxLineBytes);
    std::vector<std::wstring> got;
    std::vector<std::wstring> asked;
    std::size_t batches = 0;
    const lf::LoadResult result = lf::LoadExistingEntries(
        reader,
        [&](const std::wstring& name) {
            FUZZ_CHECK(!name.empty());
            FUZZ_CHECK(name.size() <= maxLineBytes);
            asked.push_back(name);
            return Exists(name);
        },
        options,
        [&](std::vector<std::wstring>& batch) {
            FUZZ_CHECK(batch.size() <= options.batchLines);
            got.insert(got.end(), batch.begin(), batch.end());
            ++batches;
            return stopAfter == 0 || batches < stopAfter;
        });
    FUZZ_CHECK(result.ok);
    FUZZ_CHECK(result.entries == got.size());
    if (result.stopped) {
        FUZZ_CHECK(batches == stopAfter);
        FUZZ_CHECK(got.size() <= expected.size());
        FUZZ_CHECK(std::equal(got.begin(), got.end(), expected.begin()));
    } else {
        FUZZ_CHECK(got == expected);
    }
    // Every name asked about that exists was delivered: none is tested beyond the limit.
    std::size_t existing = 0;
    for (const std::wstring& name : asked) existing += Exists(name);
    FUZZ_CHECK(existing == got.size());
    return 0;
}
