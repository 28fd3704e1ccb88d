#include "editor/listfile/listfile.h"

#include "common/cp932.h"
#include "common/fileio.h"
#include "common/textfile.h"

namespace tessel::listfile {

ReadResult ReadListFile(const std::filesystem::path& path) {
    ReadResult result;
    TextReadResult text = ReadTextFileLines(path);
    result.ok = text.ok;
    result.entries = std::move(text.lines);
    result.error = std::move(text.error);
    return result;
}

std::size_t CountAlteredEntries(const std::vector<std::wstring>& entries) {
    std::size_t altered = 0;
    for (const std::wstring& entry : entries) {
        if (EncodeCp932(entry).replaced > 0) ++altered;
    }
    return altered;
}

WriteResult WriteListFile(const std::filesystem::path& path,
                          const std::vector<std::wstring>& entries) {
    WriteResult result;
    TextWriteResult text = WriteTextFileLines(path, entries);
    result.ok = text.ok;
    result.alteredEntries = text.alteredLines;
    result.error = std::move(text.error);
    return result;
}

std::vector<std::wstring> FilterExistingFiles(const std::vector<std::wstring>& lines,
                                              const ExistsFn& exists) {
    std::vector<std::wstring> kept;
    for (const std::wstring& line : lines) {
        const bool found = exists ? exists(line) : FileExistsExact(line);
        if (found) kept.push_back(line);
    }
    return kept;
}

}  // namespace tessel::listfile
