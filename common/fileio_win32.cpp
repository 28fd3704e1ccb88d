// Win32 half of the file services.
#include <windows.h>

#include <atomic>
#include <string>

#include "common/fileio.h"

namespace tessel {
namespace {

std::wstring SystemMessage(DWORD code) {
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
    if (message.empty()) message = L"error " + std::to_wstring(code);
    return message;
}

std::wstring Describe(const std::filesystem::path& path, DWORD code) {
    return path.wstring() + L": " + SystemMessage(code);
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

// Absolute paths longer than MAX_PATH need the \\?\ form; ordinary ones keep theirs.
std::wstring LongPathForm(std::wstring_view name) {
    std::wstring s(name);
    if (s.size() < MAX_PATH) return s;
    for (wchar_t& c : s) {
        if (c == L'/') c = L'\\';
    }
    if (s.size() > 2 && s[1] == L':' && s[2] == L'\\') return L"\\\\?\\" + s;
    if (s.rfind(L"\\\\", 0) == 0 && s.rfind(L"\\\\?\\", 0) != 0) return L"\\\\?\\UNC\\" + s.substr(2);
    return s;
}

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

namespace {

// A plain absolute path ("C:\..." or "\\server\share\..." with backslashes only and no
// "." or ".." parts) can be tested through the \\?\ form, which takes the text as it
// stands: "song.mp3 " then finds only a file whose name really ends in a space.
std::optional<std::wstring> VerbatimForm(std::wstring_view name) {
    if (name.find(L'/') != std::wstring_view::npos) return std::nullopt;
    std::wstring_view rest;
    std::wstring prefix;
    if (name.size() > 3 && name[1] == L':' && name[2] == L'\\' &&
        ((name[0] >= L'A' && name[0] <= L'Z') || (name[0] >= L'a' && name[0] <= L'z'))) {
        prefix = L"\\\\?\\";
        rest = name.substr(3);
    } else if (name.size() > 2 && name[0] == L'\\' && name[1] == L'\\' && name[2] != L'?' && name[2] != L'.') {
        prefix = L"\\\\?\\UNC\\";
        rest = name.substr(2);
    } else {
        return std::nullopt;
    }
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find(L'\\', start);
        if (end == std::wstring_view::npos) end = rest.size();
        const std::wstring_view part = rest.substr(start, end - start);
        if (part.empty() || part == L"." || part == L"..") return std::nullopt;
        start = end + 1;
    }
    return prefix + std::wstring(prefix.size() == 4 ? name : name.substr(2));
}

}  // namespace

bool FileExistsExact(std::wstring_view name) {
    if (name.empty() || name.find(L'\0') != std::wstring_view::npos) return false;
    std::wstring probe;
    if (std::optional<std::wstring> verbatim = VerbatimForm(name)) {
        probe = std::move(*verbatim);
    } else if (IsExactPathCandidate(name)) {
        probe = LongPathForm(name);
    } else {
        return false;  // relative, with a part Windows would trim: it would name another file
    }
    const DWORD attributes = GetFileAttributesW(probe.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool AtomicReplaceFile(const std::filesystem::path& target, const ContentProducer& produce,
                       std::wstring& error) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path temp =
        target.parent_path() / (L"~" + target.filename().wstring() + L"." + std::to_wstring(GetCurrentProcessId()) +
                                L"-" + std::to_wstring(counter++) + L".tmp");
    Handle file(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Valid()) {
        error = Describe(temp, GetLastError());
        return false;
    }
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
    if (ok && !MoveFileExW(temp.c_str(), target.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        failure = GetLastError();
        ok = false;
    }
    if (!ok) {
        DeleteFileW(temp.c_str());
        error = Describe(target, failure != ERROR_SUCCESS ? failure : ERROR_CANCELLED);
    }
    return ok;
}

}  // namespace tessel
