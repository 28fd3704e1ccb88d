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

// MAX_PATH: a path in the ordinary form must be shorter than this, counting what a
// call appends to it (a folder's listing appends "\*"). The Win32 file calls refuse a
// longer one (unless the system allows long paths to every program) but take it in
// the \\?\ form.
inline constexpr std::size_t kMaxPlainPath = 260;

// The \\?\ form (\\?\UNC\server\share\... for a UNC path, "/" made "\") of an absolute
// path whose length plus `appended` reaches kMaxPlainPath; any other path as it is
// (a relative path has no \\?\ form).
std::wstring ExtendedLengthPath(const std::wstring& path, std::size_t appended = 0);
// The ordinary form of a path given in the \\?\ form; any other path as it is.
std::wstring OrdinaryPath(const std::wstring& path);

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

// The name as an absolute path, resolved the way opening the file would resolve it (on
// Windows against the current folder, "." and ".." parts and trailing dots and spaces
// of the last part dealt with); empty for an empty name or one holding NUL.
std::wstring FullPathName(std::wstring_view name);

// True if the text names an existing file (not a folder) the way the media device and
// every other program will open it. On Windows that is the normal Win32 name rules: a
// relative name resolves against the process's current folder, "/" separates like
// "\\", "." and ".." parts resolve, and trailing dots and spaces of the last part are
// dropped ("song.mp3 " opens "song.mp3"); paths longer than MAX_PATH work too. An
// empty name, a name holding NUL, a folder and a device ("NUL", "CON") name no file.
// The native build asks the system it runs on, which takes a name as written.
bool FileExistsExact(std::wstring_view name);

// Receives the bytes of a file being written; returns false if a write failed.
using WriteChunk = std::function<bool(std::string_view chunk)>;
// Produces the content through `write`; returns false to abandon the file.
using ContentProducer = std::function<bool(const WriteChunk& write)>;

// Replaces `target` atomically: the content goes to a temporary file in the same
// folder, is flushed to disk and then takes the target's place in one step. Afterwards
// the target is either the old file or the new one, never a mix; on any failure
// (including the producer giving up) the old file stays, the temporary is removed and
// false is returned with a description in `error`.
//
// A target that is a symbolic link keeps its link: the file it leads to is replaced.
// (A hard link cannot be kept: the new file is a new file, and other names of the old
// one go on naming the old content.)
//
// After a successful replace, stale temporaries of earlier saves beside the target are
// removed (see IsStaleTemporary).
//
// A read-only target is not replaced (Windows would refuse the final step anyway, but
// not every system does, and then the file would silently lose its protection): the
// error names the file and kReadOnlyReason. On POSIX "read-only" is a file its owner
// may not write. Every other replace keeps the target's attributes (hidden, system,
// archive; on POSIX its permission bits).
//
// A target another program holds open (a virus scanner, a sync client, a backup tool)
// cannot be replaced while it does; such holds are mostly brief, so the last step is
// tried again for about a second (see RetryWhileHeld) before the replace gives up with
// kHeldReason. A folder that takes no new file is named itself, with
// kFolderNotWritableReason: our temporary file is nothing the user knows of.
inline constexpr const wchar_t* kReadOnlyReason = L"読み取り専用のファイルです。";
inline constexpr const wchar_t* kHeldReason = L"ほかのプログラムがこのファイルを使用中のため、書き込めません。";
inline constexpr const wchar_t* kFolderNotWritableReason = L"このフォルダにはファイルを作成できません。";
bool AtomicReplaceFile(const std::filesystem::path& target, const ContentProducer& produce,
                       std::wstring& error);
bool AtomicReplaceFile(const std::filesystem::path& target, std::string_view content,
                       std::wstring& error);

// One try of a step that another program's hold on a file can stop.
enum class StepOutcome { Done, Held, Failed };
// The waits between the tries of a held step, in milliseconds: about a second in all.
inline constexpr int kHeldRetryWaitsMs[] = {100, 150, 250, 500};
// Runs `step` until it is done or fails for another reason than a hold; while the file
// is held it waits the next of kHeldRetryWaitsMs (through `wait`) and tries again, and
// after the last wait it gives up. Returns the outcome of the last try.
StepOutcome RetryWhileHeld(const std::function<StepOutcome()>& step, const std::function<void(int ms)>& wait);

// The temporary files of AtomicReplaceFile are named "~NAME.PID-N.tessel.tmp": NAME is
// the target's file name (at most its first kTemporaryNameChars characters), PID the id
// of the writing process and N a number that makes the name new in its folder.
inline constexpr std::size_t kTemporaryNameChars = 64;
struct TemporaryName {
    std::wstring targetPart;
    std::uint64_t processId = 0;
    std::uint64_t number = 0;
};
std::wstring TemporaryFileName(std::wstring_view targetName, std::uint64_t processId, std::uint64_t number);
std::optional<TemporaryName> ParseTemporaryFileName(std::wstring_view fileName);
// True if a file of this name (no folder) is one of our temporaries. Whoever lists a
// folder for the user leaves these out: they are never a list, a favourite or a medium.
bool IsTemporaryFileName(std::wstring_view fileName);

// Whether a temporary of ours is stale, that is, nobody is writing it any more: its
// process has ended, or it is this process, which is not writing it now. (A process id
// that has been reused by a running process keeps its leftover until that process ends;
// the next save after that removes it.) Windows adds its own guard: a temporary still
// open for writing cannot be deleted, whoever holds it.
bool IsStaleTemporary(const std::filesystem::path& folder, std::wstring_view fileName);

namespace fileio_platform {
// The platform halves of the rule above.
std::uint64_t CurrentProcessId();
bool ProcessIsRunning(std::uint64_t processId);
}  // namespace fileio_platform

namespace fileio_detail {
// Shared by the platform halves of AtomicReplaceFile.
// Remembers which temporaries this process is writing now.
void BeginWriting(const std::filesystem::path& temporary);
void EndWriting(const std::filesystem::path& temporary);
// Removes the stale temporaries of ours in the folder; failures are ignored.
void SweepStaleTemporaries(const std::filesystem::path& folder);
}  // namespace fileio_detail

}  // namespace tessel
