#include "editor/listfile/listfile.h"

#include "common/cp932.h"
#include "common/fileio.h"
#include "common/textfile.h"

namespace tessel::listfile {

namespace {

bool HasExtension(const std::filesystem::path& path, std::wstring_view want) {
    const std::wstring ext = WideFromPath(path.extension());
    if (ext.size() != want.size()) return false;
    for (std::size_t i = 0; i < ext.size(); ++i) {
        const wchar_t c = ext[i] >= L'A' && ext[i] <= L'Z' ? static_cast<wchar_t>(ext[i] - L'A' + L'a') : ext[i];
        if (c != want[i]) return false;
    }
    return true;
}

}  // namespace

bool IsUtf8ListName(const std::filesystem::path& path) { return HasExtension(path, kUtf8Extension); }

bool IsListFileName(const std::filesystem::path& path) {
    return HasExtension(path, L".m3u") || HasExtension(path, kUtf8Extension);
}

TextEncoding ListEncodingOf(const std::filesystem::path& path) {
    return IsUtf8ListName(path) ? TextEncoding::Utf8 : TextEncoding::Cp932;
}

std::filesystem::path Utf8ListName(const std::filesystem::path& path) {
    std::filesystem::path named = path;
    return named.replace_extension(kUtf8Extension);
}

ReadResult ReadListFile(const std::filesystem::path& path) {
    ReadResult result;
    TextReadResult text = ReadTextFileLines(path, ListEncodingOf(path));
    result.ok = text.ok;
    result.entries = std::move(text.lines);
    result.error = std::move(text.error);
    return result;
}

std::size_t CountAlteredEntries(const std::vector<std::wstring>& entries, TextEncoding encoding) {
    std::size_t altered = 0;
    for (const std::wstring& entry : entries) {
        bool changed = false;
        EncodeTextLine(entry, encoding, changed);
        if (changed) ++altered;
    }
    return altered;
}

std::size_t CountKeptOnlyByUtf8(const std::vector<std::wstring>& entries) {
    std::size_t kept = 0;
    for (const std::wstring& entry : entries) {
        bool inCp932 = false, inUtf8 = false;
        EncodeTextLine(entry, TextEncoding::Cp932, inCp932);
        if (inCp932) EncodeTextLine(entry, TextEncoding::Utf8, inUtf8);
        if (inCp932 && !inUtf8) ++kept;
    }
    return kept;
}

WriteResult WriteListFile(const std::filesystem::path& path,
                          const std::vector<std::wstring>& entries) {
    WriteResult result;
    TextWriteResult text = WriteTextFileLines(path, entries, ListEncodingOf(path));
    result.ok = text.ok;
    result.alteredEntries = text.alteredLines;
    result.error = std::move(text.error);
    return result;
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

std::optional<TextLineReader> OpenListForPlaying(const std::filesystem::path& path, std::wstring& error) {
    const TextEncoding encoding = ListEncodingOf(path);
    const std::size_t maxEntryBytes = encoding == TextEncoding::Utf8 ? kMaxUtf8EntryBytes : kMaxEntryBytes;
    return TextLineReader::OpenFile(path, error, maxEntryBytes, encoding, TextLineReader::BadLines::Skip);
}

LoadResult LoadExistingEntries(const std::filesystem::path& path, const ExistsFn& exists,
                               const LoadOptions& options, const BatchFn& onBatch) {
    LoadResult result;
    std::optional<TextLineReader> reader = OpenListForPlaying(path, result.error);
    if (!reader) return result;
    return LoadExistingEntries(*reader, exists, options, onBatch);
}

}  // namespace tessel::listfile
