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

LoadResult LoadExistingEntries(TextLineReader& reader, const ExistsFn& exists, const LoadOptions& options,
                               const BatchFn& onBatch) {
    LoadResult result;
    std::vector<std::wstring> lines, batch;
    const std::size_t batchLines = options.batchLines > 0 ? options.batchLines : 1;
    for (;;) {
        lines.clear();
        const TextLineReader::Status status = reader.ReadSome(batchLines, lines);
        if (status == TextLineReader::Status::Failed) {
            result.error = reader.Error();
            return result;
        }
        batch.clear();
        for (std::wstring& line : lines) {
            if (result.entries == options.limit) break;
            if (line.empty() || !(exists ? exists(line) : FileExistsExact(line))) continue;
            batch.push_back(std::move(line));
            ++result.entries;
        }
        if (onBatch && !onBatch(batch)) {
            result.ok = true;
            result.stopped = true;
            return result;
        }
        if (status == TextLineReader::Status::End || result.entries == options.limit) break;
    }
    result.ok = true;
    return result;
}

LoadResult LoadExistingEntries(const std::filesystem::path& path, const ExistsFn& exists,
                               const LoadOptions& options, const BatchFn& onBatch) {
    LoadResult result;
    std::optional<TextLineReader> reader = TextLineReader::OpenFile(path, result.error, kMaxEntryBytes);
    if (!reader) return result;
    return LoadExistingEntries(*reader, exists, options, onBatch);
}

}  // namespace tessel::listfile
