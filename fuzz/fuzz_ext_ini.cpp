// The editor's extension patterns m3usetting\ext.ini on real files: any file reads as
// its non-empty lines, verbatim; the patterns written at exit read back at the next
// start as the same patterns, in the same order (characters code page 932 cannot hold
// as '?'); written with the bytes kept at reading, they read back exactly as read.
#include "common/fileio.h"
#include "editor/core/extsettings.h"
#include "fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::filesystem::path folder = tessel::fuzz::ScratchFolder();
    std::error_code ec;
    std::filesystem::create_directories(folder / "m3usetting", ec);
    const std::filesystem::path ini = listwright::ExtIniPath(folder);

    std::wstring error;
    FUZZ_CHECK(tessel::AtomicReplaceFile(ini, bytes, error));
    const listwright::ExtIniRead read = listwright::ReadExtIni(ini);
    FUZZ_CHECK(read.status == listwright::ExtIniRead::Status::Ok);
    std::vector<std::wstring> expected;
    for (const std::wstring& line : tessel::DecodeTextLines(bytes)) {
        if (!line.empty()) expected.push_back(line);
    }
    FUZZ_CHECK(read.patterns == expected);

    const listwright::ExtIniWrite written = listwright::WriteExtIni(ini, read.patterns);
    FUZZ_CHECK(written.ok);
    const listwright::ExtIniRead next = listwright::ReadExtIni(ini);
    FUZZ_CHECK(next.status == listwright::ExtIniRead::Status::Ok);
    FUZZ_CHECK(next.patterns.size() == read.patterns.size());
    for (std::size_t i = 0; i < next.patterns.size(); ++i)
        FUZZ_CHECK(next.patterns[i] == tessel::fuzz::AsWrittenAndRead(read.patterns[i]));

    FUZZ_CHECK(listwright::WriteExtIni(ini, read.patterns, read.kept).ok);
    FUZZ_CHECK(listwright::ReadExtIni(ini).patterns == read.patterns);

    // A missing file in an existing folder: created empty, no patterns.
    std::filesystem::remove(ini, ec);
    const listwright::ExtIniRead created = listwright::ReadExtIni(ini);
    FUZZ_CHECK(created.status == listwright::ExtIniRead::Status::CreatedEmpty && created.patterns.empty());
    FUZZ_CHECK(tessel::FileSizeOf(ini) == std::optional<std::uint64_t>(0));
    return 0;
}
