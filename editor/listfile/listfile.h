// List files: the playlists both programs share. Plain code page 932 text, one entry
// per line, every entry followed by CR LF, no header, nothing else. The editor is the
// only writer; the player only reads.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace tessel::listfile {

// Files larger than this many bytes are read only after the user confirms
// (1.1 million, not 1 MiB; a file of exactly this size needs no question).
inline constexpr std::uint64_t kConfirmThresholdBytes = 1100000;
inline bool NeedsSizeConfirmation(std::uint64_t sizeBytes) {
    return sizeBytes > kConfirmThresholdBytes;
}

struct ReadResult {
    bool ok = false;
    std::vector<std::wstring> entries;
    std::wstring error;
};

// The editor's reader: every line is an entry, verbatim, empty lines included.
ReadResult ReadListFile(const std::filesystem::path& path);

struct WriteResult {
    bool ok = false;
    std::size_t alteredEntries = 0;  // entries 932 could not hold exactly ('?' written)
    std::wstring error;
};

// How many entries would be altered by writing them in code page 932; lets the editor
// warn before it saves.
std::size_t CountAlteredEntries(const std::vector<std::wstring>& entries);

// The editor's writer: each entry and CR LF; an empty list is a zero-byte file.
// The file is replaced atomically.
WriteResult WriteListFile(const std::filesystem::path& path,
                          const std::vector<std::wstring>& entries);

// The player's filter: the lines that name an existing file, unchanged and in order.
// `exists` defaults to FileExistsExact.
using ExistsFn = std::function<bool(const std::wstring&)>;
std::vector<std::wstring> FilterExistingFiles(const std::vector<std::wstring>& lines,
                                              const ExistsFn& exists = {});

}  // namespace tessel::listfile
