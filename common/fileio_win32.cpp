// Win32 half of the file services.
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <string>

#include "common/fileio.h"
#include "common/system_message.h"
#include "win32/handle.h"

namespace tessel {

std::wstring SystemMessage(std::uint32_t code) {
    wchar_t* text = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, code, 0, reinterpret_cast<wchar_t*>(&text), 0, nullptr);
    std::wstring message;
    if (n > 0 && text != nullptr) {
        message.assign(text, n);
        while (!message.empty() && (message.back() == L'\n' || message.back() == L'\r' || message.back() == L' '))
            message.pop_back();
    }
    if (text != nullptr) LocalFree(text);
    return message;
}

namespace {

std::wstring Describe(const std::filesystem::path& path, DWORD code) {
    std::wstring message = SystemMessage(code);
    if (message.empty()) message = L"error " + std::to_wstring(code);
    return path.wstring() + L": " + message;
}

class Handle {
public:
    explicit Handle(HANDLE h) : h_(h) {}
    ~Handle() { Close(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    bool Valid() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    bool Close() {
        if (!Valid()) return true;
        const BOOL ok = CloseHandle(h_);
        h_ = INVALID_HANDLE_VALUE;
        return ok != FALSE;
    }

private:
    HANDLE h_;
};

}  // namespace

std::filesystem::path PathFromWide(std::wstring_view name) { return std::filesystem::path(std::wstring(name)); }
std::wstring WideFromPath(const std::filesystem::path& path) { return path.wstring(); }

bool ReadWholeFile(const std::filesystem::path& path, std::string& out, std::wstring& error) {
    out.clear();
    Handle file(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
    if (!file.Valid()) {
        error = Describe(path, GetLastError());
        return false;
    }
    LARGE_INTEGER size{};
    if (GetFileSizeEx(file.Get(), &size) && size.QuadPart > 0) {
        out.reserve(static_cast<std::size_t>(size.QuadPart));
    }
    char buffer[1 << 16];
    for (;;) {
        DWORD got = 0;
        if (!ReadFile(file.Get(), buffer, sizeof buffer, &got, nullptr)) {
            error = Describe(path, GetLastError());
            out.clear();
            return false;
        }
        if (got == 0) break;
        out.append(buffer, got);
    }
    return true;
}

FileReader::~FileReader() {
    if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
}

bool FileReader::Open(const std::filesystem::path& path, std::wstring& error) {
    // Others may go on reading, writing or replacing the file meanwhile, as with any
    // viewer of a text file.
    HANDLE h = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                           nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = Describe(path, GetLastError());
        return false;
    }
    if (handle_ != -1) CloseHandle(reinterpret_cast<HANDLE>(handle_));
    handle_ = reinterpret_cast<std::intptr_t>(h);
    path_ = path;
    return true;
}

bool FileReader::Read(char* buffer, std::size_t capacity, std::size_t& got, std::wstring& error) {
    got = 0;
    if (handle_ == -1) {
        error = Describe(path_, ERROR_INVALID_HANDLE);
        return false;
    }
    const DWORD piece = capacity > (1u << 30) ? (1u << 30) : static_cast<DWORD>(capacity);
    DWORD n = 0;
    if (!ReadFile(reinterpret_cast<HANDLE>(handle_), buffer, piece, &n, nullptr)) {
        error = Describe(path_, GetLastError());
        return false;
    }
    got = n;
    return true;
}

std::optional<std::uint64_t> FileSizeOf(const std::filesystem::path& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return std::nullopt;
    return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

std::wstring FullPathName(std::wstring_view name) {
    if (name.empty() || name.find(L'\0') != std::wstring_view::npos) return {};
    const std::wstring text(name);
    std::wstring full(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD n = GetFullPathNameW(text.c_str(), static_cast<DWORD>(full.size()), full.data(), nullptr);
        if (n == 0) return {};
        if (n < full.size()) {
            full.resize(n);
            return full;
        }
        full.assign(n, L'\0');
    }
    return {};
}

bool FileExistsExact(std::wstring_view name) {
    // Normalised as every Win32 call that opens a file normalises it, so that the
    // answer is the media device's; then the \\?\ form where the length needs it
    // (GetFullPathNameW itself takes long names).
    const std::wstring full = FullPathName(name);
    if (full.empty()) return false;
    if (full.rfind(L"\\\\.\\", 0) == 0) return false;  // a device, not a file
    const DWORD attributes = GetFileAttributesW(ExtendedLengthPath(full).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

namespace fileio_platform {

std::uint64_t CurrentProcessId() { return GetCurrentProcessId(); }

bool ProcessIsRunning(std::uint64_t processId) {
    if (processId == 0 || processId > 0xFFFFFFFFu) return false;  // no process has it
    const win32::unique_kernel_handle process(OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(processId)));
    if (!process) {
        // No such process; any other refusal (access denied) means it exists.
        return GetLastError() != ERROR_INVALID_PARAMETER;
    }
    return WaitForSingleObject(process.get(), 0) == WAIT_TIMEOUT;
}

}  // namespace fileio_platform

namespace {

// The file a path leads to: a symbolic link (and, under Wine, a link of the host's
// file system, which shows as a plain file) is followed to the file it names. The path
// as given when it names no file (a link to nothing is replaced like a missing file).
std::filesystem::path FinalPath(const std::filesystem::path& path) {
    Handle file(CreateFileW(path.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (!file.Valid()) return path;
    std::wstring resolved(MAX_PATH, L'\0');
    for (int attempt = 0; attempt < 2; ++attempt) {
        const DWORD n = GetFinalPathNameByHandleW(file.Get(), resolved.data(), static_cast<DWORD>(resolved.size()),
                                                  FILE_NAME_NORMALIZED | VOLUME_NAME_DOS);
        if (n == 0) return path;
        if (n < resolved.size()) {
            resolved.resize(n);
            // The \\?\ form only where the length needs it.
            if (resolved.size() < MAX_PATH + 4) return OrdinaryPath(resolved);
            return resolved;
        }
        resolved.assign(n, L'\0');
    }
    return path;
}

// Whether a failed open or move of `path` failed because another program holds the
// file. A move over a target that is open without delete sharing says only "access
// denied", which a file we may not replace says too: a probe for delete access, which
// the holder's sharing refuses with a sharing violation, tells the two apart.
bool HeldElsewhere(const std::filesystem::path& path, DWORD code) {
    if (code == ERROR_SHARING_VIOLATION || code == ERROR_LOCK_VIOLATION) return true;
    if (code != ERROR_ACCESS_DENIED) return false;
    Handle probe(CreateFileW(path.c_str(), DELETE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, 0, nullptr));
    if (probe.Valid()) return false;
    const DWORD probed = GetLastError();
    return probed == ERROR_SHARING_VIOLATION || probed == ERROR_LOCK_VIOLATION;
}

}  // namespace

bool AtomicReplaceFile(const std::filesystem::path& requested, const ContentProducer& produce,
                       std::wstring& error) {
    // Moving the new file over a symbolic link would replace the link with a plain file
    // and leave the file it names unchanged: the file the link leads to is replaced.
    const std::filesystem::path target = FinalPath(requested);
    const std::filesystem::path folder = target.parent_path();
    const std::wstring targetName = target.filename().wstring();

    // Checked here: under some systems the final move ignores the attribute.
    const DWORD attributes = GetFileAttributesW(target.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY) &&
        (attributes & FILE_ATTRIBUTE_READONLY)) {
        error = target.wstring() + L": " + kReadOnlyReason;
        return false;
    }
    constexpr DWORD kKept = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE |
                            FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;

    // A temporary left by a killed save of an earlier process with the same id may have
    // the name we would choose: take the next number then.
    static std::atomic<std::uint64_t> counter{0};
    constexpr int kNameAttempts = 10000;
    std::filesystem::path temp;
    HANDLE created = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < kNameAttempts && created == INVALID_HANDLE_VALUE; ++attempt) {
        temp = folder / TemporaryFileName(targetName, GetCurrentProcessId(), counter++);
        fileio_detail::BeginWriting(temp);  // before it exists, so that no sweep takes it
        created = CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (created == INVALID_HANDLE_VALUE) {
            const DWORD err = GetLastError();
            fileio_detail::EndWriting(temp);
            if (err != ERROR_FILE_EXISTS && err != ERROR_ALREADY_EXISTS) {
                // The temporary is ours, not the user's: the folder is what failed.
                error = err == ERROR_ACCESS_DENIED ? folder.wstring() + L": " + kFolderNotWritableReason
                                                   : Describe(folder, err);
                return false;
            }
        }
    }
    if (created == INVALID_HANDLE_VALUE) {
        error = Describe(folder, ERROR_FILE_EXISTS);
        return false;
    }
    Handle file(created);
    DWORD failure = ERROR_SUCCESS;
    const WriteChunk write = [&](std::string_view chunk) {
        while (!chunk.empty() && failure == ERROR_SUCCESS) {
            const DWORD piece = chunk.size() > (1u << 30) ? (1u << 30) : static_cast<DWORD>(chunk.size());
            DWORD written = 0;
            if (!WriteFile(file.Get(), chunk.data(), piece, &written, nullptr)) {
                failure = GetLastError();
                return false;
            }
            chunk.remove_prefix(written);
        }
        return failure == ERROR_SUCCESS;
    };
    bool ok = produce(write) && failure == ERROR_SUCCESS;
    if (ok && !FlushFileBuffers(file.Get())) {
        failure = GetLastError();
        ok = false;
    }
    if (!file.Close() && ok) {
        failure = GetLastError();
        ok = false;
    }
    if (ok && attributes != INVALID_FILE_ATTRIBUTES && (attributes & kKept) &&
        !SetFileAttributesW(temp.c_str(), attributes & kKept)) {
        failure = GetLastError();
        ok = false;
    }
    bool held = false;
    if (ok) {
        const StepOutcome moved = RetryWhileHeld(
            [&] {
                if (MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
                    return StepOutcome::Done;
                failure = GetLastError();
                return HeldElsewhere(target, failure) ? StepOutcome::Held : StepOutcome::Failed;
            },
            [](int ms) { Sleep(static_cast<DWORD>(ms)); });
        ok = moved == StepOutcome::Done;
        held = moved == StepOutcome::Held;
    }
    if (!ok) {
        DeleteFileW(temp.c_str());
        error = held ? target.wstring() + L": " + kHeldReason
                     : Describe(target, failure != ERROR_SUCCESS ? failure : ERROR_CANCELLED);
    }
    fileio_detail::EndWriting(temp);
    if (ok) fileio_detail::SweepStaleTemporaries(folder);
    return ok;
}

}  // namespace tessel
