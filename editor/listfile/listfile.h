// List files: the playlists both programs share. Plain text, one entry per line, every
// entry followed by CR LF, no header, nothing else. The editor is the only writer; the
// player only reads. The name says the encoding and nothing else does (no looking at
// the contents): a name ending in ".m3u8", in any letter case, is UTF-8 and holds every
// name; any other is code page 932, as lists have always been.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

#include "common/textfile.h"

namespace tessel::listfile {

// Files larger than this many bytes are read only after the user confirms
// (1.1 million, not 1 MiB; a file of exactly this size needs no question).
inline constexpr std::uint64_t kConfirmThresholdBytes = 1100000;
inline bool NeedsSizeConfirmation(std::uint64_t sizeBytes) {
    return sizeBytes > kConfirmThresholdBytes;
}

inline constexpr wchar_t kUtf8Extension[] = L".m3u8";
bool IsUtf8ListName(const std::filesystem::path& path);
// ".m3u" or ".m3u8" in any letter case: a file the player takes for a list when it is
// handed one to play.
bool IsListFileName(const std::filesystem::path& path);
TextEncoding ListEncodingOf(const std::filesystem::path& path);
// The name a list keeps every name under: the same with its extension (if any)
// replaced by ".m3u8".
std::filesystem::path Utf8ListName(const std::filesystem::path& path);

struct ReadResult {
    bool ok = false;
    std::vector<std::wstring> entries;
    std::wstring error;
};

// The editor's reader: every line is an entry, verbatim, empty lines included; bytes of
// a ".m3u8" file that are not UTF-8 read as U+FFFD.
ReadResult ReadListFile(const std::filesystem::path& path);

struct WriteResult {
    bool ok = false;
    std::size_t alteredEntries = 0;  // entries 932 could not hold exactly ('?' written)
    std::wstring error;
};

// How many entries would be altered by writing them in `encoding` (see EncodeTextLine);
// lets the editor warn before it saves.
std::size_t CountAlteredEntries(const std::vector<std::wstring>& entries,
                                TextEncoding encoding = TextEncoding::Cp932);
// How many entries code page 932 would alter but UTF-8 keeps exactly: what saving as
// ".m3u8" instead would save.
std::size_t CountKeptOnlyByUtf8(const std::vector<std::wstring>& entries);

// The editor's writer: each entry and CR LF, in the encoding the name says (no mark);
// an empty list is a zero-byte file. The file is replaced atomically.
WriteResult WriteListFile(const std::filesystem::path& path,
                          const std::vector<std::wstring>& entries);

// Whether a list line names an existing file; the loads below default to
// FileExistsExact.
using ExistsFn = std::function<bool(const std::wstring&)>;

// No longer line can name a file: a path has at most 32,767 UTF-16 units, each at most
// two bytes in code page 932 and three in UTF-8 (a four-byte sequence is two units).
inline constexpr std::size_t kMaxEntryBytes = 2 * 32767;
inline constexpr std::size_t kMaxUtf8EntryBytes = 3 * 32767;

// The player's reader of a list file: the encoding its name says, lines longer than
// that encoding's limit above skipped unread, and in UTF-8 a line that does not decode
// skipped like the name of a missing file. Nothing (with `error` set) if it cannot be
// opened.
std::optional<TextLineReader> OpenListForPlaying(const std::filesystem::path& path, std::wstring& error);

// The player's loading of a list file. The file is read in pieces by the same line
// reader as the editor's, so both see the same lines; a line that names an existing
// file is an entry, and empty lines, overlong or undecodable lines (as above) and
// everything else are passed over. The entries arrive in file order, in batches:
// after every `batchLines` lines read, `onBatch` gets the entries found among them (it
// may get none) and can let windows paint, show progress or say stop.
struct LoadOptions {
    std::size_t limit = std::numeric_limits<std::size_t>::max();  // stop after this many entries
    std::size_t batchLines = 4096;
};
// Takes the batch's entries (it may move them away); false stops the load.
using BatchFn = std::function<bool(std::vector<std::wstring>& entries)>;
struct LoadResult {
    bool ok = false;       // false: the file could not be opened or read
    bool stopped = false;  // onBatch said stop
    std::size_t entries = 0;
    std::wstring error;
};
LoadResult LoadExistingEntries(const std::filesystem::path& path, const ExistsFn& exists,
                               const LoadOptions& options, const BatchFn& onBatch);
// The same over a reader that is already open (any byte source).
LoadResult LoadExistingEntries(TextLineReader& reader, const ExistsFn& exists, const LoadOptions& options,
                               const BatchFn& onBatch);

}  // namespace tessel::listfile
