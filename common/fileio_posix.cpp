// POSIX half of the file services (the native test build).
#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdint>
#include <cerrno>
#include <cstring>
#include <string>

#include "common/fileio.h"
#include "common/utf8.h"

namespace tessel {
namespace {

std::wstring Describe(const char* what, const std::filesystem::path& path, int err) {
    std::string text = std::string(what) + " " + path.string() + ": " + std::strerror(err);
    return std::wstring(text.begin(), text.end());
}

}  // namespace

std::filesystem::path PathFromWide(std::wstring_view name) {
    // A character that has no UTF-8 form (a lone surrogate) becomes U+FFFD.
    return std::filesystem::path(EncodeUtf8(name).bytes);
}

std::wstring WideFromPath(const std::filesystem::path& path) {
    // UTF-8 to code points; a malformed byte becomes U+FFFD and decoding goes on.
    const std::string& s = path.native();
    std::wstring out;
    out.reserve(s.size());
    std::size_t i = 0;
    while (i < s.size()) {
        const auto b = static_cast<unsigned char>(s[i]);
        std::size_t extra = 0;
        char32_t c = b;
        bool bad = false;
        if (b >= 0x80) {
            if ((b & 0xE0) == 0xC0) {
                extra = 1, c = b & 0x1F;
            } else if ((b & 0xF0) == 0xE0) {
                extra = 2, c = b & 0x0F;
            } else if ((b & 0xF8) == 0xF0) {
                extra = 3, c = b & 0x07;
            } else {
                bad = true;
            }
        }
        if (i + extra >= s.size()) bad = true;
        for (std::size_t k = 1; !bad && k <= extra; ++k) {
            const auto n = static_cast<unsigned char>(s[i + k]);
            if ((n & 0xC0) != 0x80) bad = true;
            c = (c << 6) | (n & 0x3F);
        }
        if (bad) {
            out.push_back(static_cast<wchar_t>(0xFFFD));
            ++i;
        } else {
            out.push_back(static_cast<wchar_t>(c));
            i += extra + 1;
        }
    }
    return out;
}

namespace {

// A file opened for reading, or -1 with the reason (a folder opens, but is no file).
int OpenForReading(const std::filesystem::path& path, std::wstring& error) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = Describe("cannot open", path, errno);
        return -1;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        error = Describe("cannot read", path, EISDIR);
        return -1;
    }
    return fd;
}

}  // namespace

bool ReadWholeFile(const std::filesystem::path& path, std::string& out, std::wstring& error) {
    out.clear();
    const int fd = OpenForReading(path, error);
    if (fd < 0) return false;
    char buffer[1 << 16];
    for (;;) {
        const ssize_t n = ::read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = Describe("cannot read", path, errno);
            ::close(fd);
            out.clear();
            return false;
        }
        if (n == 0) break;
        out.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return true;
}

FileReader::~FileReader() {
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
}

bool FileReader::Open(const std::filesystem::path& path, std::wstring& error) {
    const int fd = OpenForReading(path, error);
    if (fd < 0) return false;
    if (handle_ >= 0) ::close(static_cast<int>(handle_));
    handle_ = fd;
    path_ = path;
    return true;
}

bool FileReader::Read(char* buffer, std::size_t capacity, std::size_t& got, std::wstring& error) {
    got = 0;
    if (handle_ < 0) {
        error = Describe("cannot read", path_, EBADF);
        return false;
    }
    for (;;) {
        const ssize_t n = ::read(static_cast<int>(handle_), buffer, capacity);
        if (n >= 0) {
            got = static_cast<std::size_t>(n);
            return true;
        }
        if (errno != EINTR) {
            error = Describe("cannot read", path_, errno);
            return false;
        }
    }
}

std::optional<std::uint64_t> FileSizeOf(const std::filesystem::path& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    return static_cast<std::uint64_t>(st.st_size);
}

std::wstring FullPathName(std::wstring_view name) {
    if (name.empty() || name.find(L'\0') != std::wstring_view::npos) return {};
    std::error_code error;
    const std::filesystem::path full = std::filesystem::absolute(PathFromWide(name), error);
    return error ? std::wstring() : WideFromPath(full.lexically_normal());
}

bool FileExistsExact(std::wstring_view name) {
    if (name.empty() || name.find(L'\0') != std::wstring_view::npos) return false;
    struct stat st {};
    return ::stat(PathFromWide(name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

namespace fileio_platform {

std::uint64_t CurrentProcessId() { return static_cast<std::uint64_t>(::getpid()); }

bool ProcessIsRunning(std::uint64_t processId) {
    if (processId == 0 || processId > static_cast<std::uint64_t>(INT32_MAX)) return false;  // no process has it
    // Signal 0 only asks whether the process exists; EPERM means it does, as someone else's.
    return ::kill(static_cast<pid_t>(processId), 0) == 0 || errno == EPERM;
}

}  // namespace fileio_platform

namespace {

// The file a path names once symbolic links at its end are followed (a link to a link
// too). A missing file or a link to a missing file is named as it is: the save then
// creates it.
bool FollowLinks(const std::filesystem::path& path, std::filesystem::path& out, std::wstring& error) {
    constexpr int kMaxLinks = 40;  // as the kernel allows when it follows links itself
    out = path;
    for (int hops = 0; hops < kMaxLinks; ++hops) {
        struct stat st {};
        if (::lstat(out.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return true;
        std::error_code ec;
        const std::filesystem::path next = std::filesystem::read_symlink(out, ec);
        if (ec) {
            error = Describe("cannot follow the link", out, ec.value());
            return false;
        }
        out = next.is_absolute() ? next : out.parent_path() / next;
    }
    error = Describe("cannot follow the link", path, ELOOP);
    return false;
}

}  // namespace

bool AtomicReplaceFile(const std::filesystem::path& requested, const ContentProducer& produce,
                       std::wstring& error) {
    // Renaming over a symbolic link would replace the link with a plain file and leave
    // the file it names unchanged: the file the link leads to is replaced instead.
    std::filesystem::path target;
    if (!FollowLinks(requested, target, error)) return false;
    const std::filesystem::path folder = target.parent_path();
    const std::wstring targetName = WideFromPath(target.filename());

    // rename() asks nothing of the target itself: a file its owner may not write is
    // refused here (the check is the owner's bit, whoever runs us, root included).
    struct stat old {};
    const bool existed = ::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    if (existed && !(old.st_mode & S_IWUSR)) {
        error = WideFromPath(target) + L": " + kReadOnlyReason;
        return false;
    }

    // A temporary left by a killed save of an earlier process with the same id may have
    // the name we would choose: take the next number then.
    static std::atomic<std::uint64_t> counter{0};
    constexpr int kNameAttempts = 10000;
    std::filesystem::path temp;
    int fd = -1;
    for (int attempt = 0; attempt < kNameAttempts && fd < 0; ++attempt) {
        temp = folder / PathFromWide(TemporaryFileName(targetName, fileio_platform::CurrentProcessId(), counter++));
        fileio_detail::BeginWriting(temp);  // before it exists, so that no sweep takes it
        fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
        if (fd < 0) {
            const int err = errno;
            fileio_detail::EndWriting(temp);
            if (err != EEXIST) {
                // The temporary is ours, not the user's: the folder is what failed.
                error = err == EACCES || err == EPERM || err == EROFS
                            ? WideFromPath(folder) + L": " + kFolderNotWritableReason
                            : Describe("cannot create a file in", folder, err);
                return false;
            }
        }
    }
    if (fd < 0) {
        error = Describe("cannot create a file in", folder, EEXIST);
        return false;
    }
    int failure = 0;
    const char* failedStep = "cannot write";
    const WriteChunk write = [&](std::string_view chunk) {
        while (!chunk.empty() && failure == 0) {
            const ssize_t n = ::write(fd, chunk.data(), chunk.size());
            if (n < 0) {
                if (errno == EINTR) continue;
                failure = errno;
                return false;
            }
            chunk.remove_prefix(static_cast<std::size_t>(n));
        }
        return failure == 0;
    };
    bool ok = produce(write) && failure == 0;
    if (ok && existed && ::fchmod(fd, old.st_mode & 07777) != 0) {
        failure = errno;
        failedStep = "cannot keep the permissions of";
        ok = false;
    }
    if (ok && ::fsync(fd) != 0) {
        failure = errno;
        failedStep = "cannot flush";
        ok = false;
    }
    if (::close(fd) != 0 && ok) {
        failure = errno;
        failedStep = "cannot close";
        ok = false;
    }
    if (ok && ::rename(temp.c_str(), target.c_str()) != 0) {
        failure = errno;
        failedStep = "cannot replace";
        ok = false;
    }
    if (!ok) {
        ::unlink(temp.c_str());
        error = failure != 0 ? Describe(failedStep, target, failure)
                             : Describe("writing abandoned for", target, ECANCELED);
    }
    fileio_detail::EndWriting(temp);
    if (ok) fileio_detail::SweepStaleTemporaries(folder);
    return ok;
}

}  // namespace tessel
