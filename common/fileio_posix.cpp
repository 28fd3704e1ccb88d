// POSIX half of the file services (the native test build).
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include "common/fileio.h"

namespace tessel {
namespace {

std::wstring Describe(const char* what, const std::filesystem::path& path, int err) {
    std::string text = std::string(what) + " " + path.string() + ": " + std::strerror(err);
    return std::wstring(text.begin(), text.end());
}

}  // namespace

std::filesystem::path PathFromWide(std::wstring_view name) {
    std::string utf8;
    utf8.reserve(name.size());
    for (wchar_t wc : name) {
        auto c = static_cast<char32_t>(wc);
        if (c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF)) c = 0xFFFD;
        if (c < 0x80) {
            utf8.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            utf8.push_back(static_cast<char>(0xC0 | (c >> 6)));
            utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            utf8.push_back(static_cast<char>(0xE0 | (c >> 12)));
            utf8.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            utf8.push_back(static_cast<char>(0xF0 | (c >> 18)));
            utf8.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            utf8.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return std::filesystem::path(utf8);
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

bool ReadWholeFile(const std::filesystem::path& path, std::string& out, std::wstring& error) {
    out.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = Describe("cannot open", path, errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        error = Describe("cannot read", path, EISDIR);
        return false;
    }
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
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        error = Describe("cannot open", path, errno);
        return false;
    }
    struct stat st {};
    if (::fstat(fd, &st) == 0 && S_ISDIR(st.st_mode)) {
        ::close(fd);
        error = Describe("cannot read", path, EISDIR);
        return false;
    }
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

bool FileExistsExact(std::wstring_view name) {
    if (!IsExactPathCandidate(name)) return false;
    struct stat st {};
    return ::stat(PathFromWide(name).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

bool AtomicReplaceFile(const std::filesystem::path& target, const ContentProducer& produce,
                       std::wstring& error) {
    static std::atomic<unsigned> counter{0};
    const std::filesystem::path temp =
        target.parent_path() / ("." + target.filename().string() + ".tmp" + std::to_string(::getpid()) +
                                "-" + std::to_string(counter++));
    const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        error = Describe("cannot create", temp, errno);
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
    return ok;
}

}  // namespace tessel
