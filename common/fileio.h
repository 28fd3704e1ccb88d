// The few file-system services portable code needs. The Windows half is the real one
// (Win32 file calls); the POSIX half serves the native test build.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tessel {

// Paths from the programs' UTF-16 text and back. Windows takes them as they are; the
// native build stores file names as UTF-8 whatever the process locale says.
std::filesystem::path PathFromWide(std::wstring_view name);
std::wstring WideFromPath(const std::filesystem::path& path);

// Reads the whole file. On failure returns false and describes why in `error`.
bool ReadWholeFile(const std::filesystem::path& path, std::string& out, std::wstring& error);

// A file opened for reading a piece at a time.
class FileReader {
public:
    FileReader() = default;
    ~FileReader();
    FileReader(const FileReader&) = delete;
    FileReader& operator=(const FileReader&) = delete;

    // Opens an existing file (not a folder); false with the reason in `error`.
    bool Open(const std::filesystem::path& path, std::wstring& error);
    // Reads up to `capacity` bytes; `got` is 0 at the end. False with the reason in
    // `error` when reading fails.
    bool Read(char* buffer, std::size_t capacity, std::size_t& got, std::wstring& error);

private:
    std::intptr_t handle_ = -1;  // the platform's handle; -1 when closed
    std::filesystem::path path_;
};

// Size in bytes of an existing regular file, nothing if it is missing or a folder.
std::optional<std::uint64_t> FileSizeOf(const std::filesystem::path& path);

// True if the text names an existing file (not a folder) exactly as written.
// Windows quietly drops a trailing dot or space of a path component and would find a
// different file; such a name, a name holding NUL and an empty name name no file here.
// Relative names resolve against the process's current folder.
bool FileExistsExact(std::wstring_view name);
// The platform-neutral half of the rule above, exposed for tests.
bool IsExactPathCandidate(std::wstring_view name);

// Receives the bytes of a file being written; returns false if a write failed.
using WriteChunk = std::function<bool(std::string_view chunk)>;
// Produces the content through `write`; returns false to abandon the file.
using ContentProducer = std::function<bool(const WriteChunk& write)>;

// Replaces `target` atomically: the content goes to a temporary file in the same
// folder, is flushed to disk and then takes the target's place in one step. Afterwards
// the target is either the old file or the new one, never a mix; on any failure
// (including the producer giving up) the old file stays, the temporary is removed and
// false is returned with a description in `error`.
bool AtomicReplaceFile(const std::filesystem::path& target, const ContentProducer& produce,
                       std::wstring& error);
bool AtomicReplaceFile(const std::filesystem::path& target, std::string_view content,
                       std::wstring& error);

}  // namespace tessel
