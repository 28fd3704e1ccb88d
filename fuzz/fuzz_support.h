// What the fuzz targets share: taking values off the input, a property check that
// stops the run with a message, and the slow reference splitter of text lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "common/cp932.h"
#include "common/textfile.h"
#include "common/utf8.h"

// A broken property: libFuzzer records the input as a crash.
#define FUZZ_CHECK(condition)                                                                 \
    do {                                                                                      \
        if (!(condition)) {                                                                   \
            std::fprintf(stderr, "property failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
            std::abort();                                                                     \
        }                                                                                     \
    } while (0)

namespace tessel::fuzz {

// Takes values off the front of the input; an exhausted input gives zeros.
class Input {
public:
    Input(const std::uint8_t* data, std::size_t size) : bytes_(reinterpret_cast<const char*>(data), size) {}
    std::uint8_t Byte() {
        if (bytes_.empty()) return 0;
        const auto b = static_cast<std::uint8_t>(bytes_.front());
        bytes_.remove_prefix(1);
        return b;
    }
    std::uint32_t Number(int byteCount) {
        std::uint32_t v = 0;
        for (int i = 0; i < byteCount; ++i) v = (v << 8) | Byte();
        return v;
    }
    std::string_view Take(std::size_t n) {
        n = n < bytes_.size() ? n : bytes_.size();
        std::string_view part = bytes_.substr(0, n);
        bytes_.remove_prefix(n);
        return part;
    }
    std::string_view Rest() { return Take(bytes_.size()); }
    bool Empty() const { return bytes_.empty(); }

private:
    std::string_view bytes_;
};

// A line reader over bytes in memory, handed out `piece` bytes at a time.
inline TextLineReader ReaderOver(std::string_view bytes, std::size_t piece,
                                 std::size_t maxLineBytes = TextLineReader::kNoLineLimit) {
    std::size_t at = 0;
    return TextLineReader(
        [bytes, at](char* buffer, std::size_t capacity, std::size_t& got, std::wstring&) mutable {
            got = capacity < bytes.size() - at ? capacity : bytes.size() - at;
            for (std::size_t i = 0; i < got; ++i) buffer[i] = bytes[at + i];
            at += got;
            return true;
        },
        maxLineBytes, piece);
}

// The line rule, written out plainly: LF ends a line, a CR just before it belongs to
// the line end, any other CR to the line; the bytes after the last LF are a line if
// there are any. Lines longer than `maxLineBytes` are left out (and counted).
inline std::vector<std::string> ReferenceLines(std::string_view bytes, std::size_t maxLineBytes,
                                               std::size_t& skipped) {
    std::vector<std::string> lines;
    skipped = 0;
    std::string line;
    auto finish = [&] {
        if (line.size() > maxLineBytes) {
            ++skipped;
        } else {
            lines.push_back(line);
        }
        line.clear();
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            if (!line.empty() && line.back() == '\r') line.pop_back();
            finish();
        } else {
            line.push_back(bytes[i]);
        }
    }
    if (!bytes.empty() && bytes.back() != '\n') finish();
    return lines;
}

// What a text written in code page 932 reads back as: U+FFFD (a bad byte when it was
// read) has no code page 932 form and comes back as '?'.
inline std::wstring AsWrittenAndRead(std::wstring text) {
    for (wchar_t& c : text) {
        if (c == 0xFFFD) c = L'?';
    }
    return text;
}

}  // namespace tessel::fuzz

#include <filesystem>
#include <system_error>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace tessel::fuzz {

// A folder of this run's own for targets that go through real files: in memory where
// the system has such a file system (saves flush to disk, which would make every run
// wait for it). libFuzzer may end a run without the exit handlers, so the folders of
// runs that have ended are removed when the next run starts.
inline const std::filesystem::path& ScratchFolder() {
    static const std::filesystem::path folder = [] {
        std::error_code ec;
        std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm", ec) ? std::filesystem::path("/dev/shm")
                                                          : std::filesystem::temp_directory_path();
        const std::string prefix = "tessel-fuzz-";
        for (const auto& entry : std::filesystem::directory_iterator(base, ec)) {
            const std::string name = entry.path().filename().string();
            if (name.rfind(prefix, 0) != 0) continue;
            const long pid = std::strtol(name.c_str() + prefix.size(), nullptr, 10);
            if (pid > 0 && ::kill(static_cast<pid_t>(pid), 0) != 0 && errno == ESRCH) {
                std::error_code ignored;
                std::filesystem::remove_all(entry.path(), ignored);
            }
        }
        std::filesystem::path made = base / (prefix + std::to_string(::getpid()));
        std::filesystem::create_directories(made);
        std::atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(ScratchFolder(), ignored);
        });
        return made;
    }();
    return folder;
}

// Lines of text (no LF in them) made from any bytes, decoded as `encoding`.
inline std::vector<std::wstring> LinesFrom(std::string_view bytes, TextEncoding encoding = TextEncoding::Cp932) {
    std::vector<std::wstring> lines;
    std::size_t start = 0;
    for (;;) {
        const std::size_t lf = bytes.find('\n', start);
        const std::string_view line = bytes.substr(start, lf == std::string_view::npos ? lf : lf - start);
        lines.push_back(encoding == TextEncoding::Utf8 ? tessel::DecodeUtf8(line) : tessel::DecodeCp932(line));
        if (lf == std::string_view::npos) return lines;
        start = lf + 1;
    }
}

}  // namespace tessel::fuzz
