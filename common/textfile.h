// Reading and writing the system's text files (list files, init.ini, define.ini,
// ext.ini): code page 932, lines ended by CR LF. One module does it for everybody.
//
// Line rule when reading, the same for every file: CR LF ends a line and so does a
// lone LF (files made by other tools); the line end never belongs to the line. A lone
// CR is an ordinary character of its line, so a file read and written again keeps it.
// A last line without a line end is still a line; a file that ends with a line end has
// no empty line after it; an empty file has no lines.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessel {

// Reads text by the rule above from bytes that arrive in pieces (a file read a block at
// a time) and hands out its lines a few at a time, decoded. A file's size then costs
// time but not memory, and the caller can do other work between batches. Every reader
// of the system's text files goes through this class, so there is one line rule.
class TextLineReader {
public:
    // Fills up to `capacity` bytes of `buffer` with the next bytes and sets `got` (0 at
    // the end); returns false on a read failure, described in `error`.
    using ByteSource =
        std::function<bool(char* buffer, std::size_t capacity, std::size_t& got, std::wstring& error)>;
    static constexpr std::size_t kNoLineLimit = std::numeric_limits<std::size_t>::max();
    enum class Status {
        More,    // lines may follow: call again
        End,     // every line has been handed out
        Failed,  // reading failed; Error() says why
    };

    // A line longer than `maxLineBytes` bytes (its line end not counted) is skipped
    // without being kept or decoded; SkippedLines() counts such lines.
    explicit TextLineReader(ByteSource source, std::size_t maxLineBytes = kNoLineLimit,
                            std::size_t pieceBytes = 1 << 16);
    // A reader of a file; nothing (with `error` set) if the file cannot be opened.
    static std::optional<TextLineReader> OpenFile(const std::filesystem::path& path, std::wstring& error,
                                                  std::size_t maxLineBytes = kNoLineLimit);

    // Appends at most `maxLines` further lines to `out`.
    Status ReadSome(std::size_t maxLines, std::vector<std::wstring>& out);
    std::size_t SkippedLines() const { return skipped_; }
    const std::wstring& Error() const { return error_; }

private:
    void Deliver(std::string_view content, std::vector<std::wstring>& out);

    ByteSource source_;
    std::size_t maxLineBytes_;
    std::vector<char> piece_;
    std::size_t at_ = 0, filled_ = 0;  // unread bytes of the current piece: [at_, filled_)
    std::string partial_;              // the start of a line that began in an earlier piece
    bool lineStarted_ = false;         // some byte of the current line has been read
    bool overlong_ = false;            // the current line is beyond the limit
    bool sourceDone_ = false;
    bool failed_ = false;
    std::size_t skipped_ = 0;
    std::wstring error_;
};

// Decodes a whole file image into lines.
std::vector<std::wstring> DecodeTextLines(std::string_view bytes);

struct EncodedLines {
    std::string bytes;          // every line followed by CR LF
    std::size_t alteredLines = 0;  // lines that had at least one character replaced
};
EncodedLines EncodeTextLines(const std::vector<std::wstring>& lines);

struct TextReadResult {
    bool ok = false;
    std::vector<std::wstring> lines;
    std::wstring error;  // the platform's description when !ok
};
TextReadResult ReadTextFileLines(const std::filesystem::path& path);

struct TextWriteResult {
    bool ok = false;
    std::size_t alteredLines = 0;
    std::wstring error;
};
// Writes the lines atomically (the file is the old one or the new one, never a mix).
TextWriteResult WriteTextFileLines(const std::filesystem::path& path,
                                   const std::vector<std::wstring>& lines);

}  // namespace tessel
