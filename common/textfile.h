// Reading and writing the system's text files (list files, init.ini, define.ini,
// ext.ini): code page 932, lines ended by CR LF. One module does it for everybody.
// List files named ".m3u8" are UTF-8 instead (TextEncoding::Utf8), with the same lines.
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

#include "common/cp932.h"

namespace tessel {

enum class TextEncoding {
    Cp932,  // no byte-order mark recognised: its bytes belong to the first line
    Utf8,   // a byte-order mark at the start is skipped on reading; none is written, but
            // for a first line that begins with U+FEFF (which would otherwise be lost)
};

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

    // What becomes of a line whose bytes do not decode.
    enum class BadLines {
        Replace,  // kept, each bad part read as U+FFFD
        Skip,     // left out and counted in SkippedLines() (UTF-8 only: such a line
                  // can name no file, and U+FFFD might name a real one)
    };

    // A line longer than `maxLineBytes` bytes (its line end not counted) is skipped
    // without being kept or decoded; SkippedLines() counts such lines.
    explicit TextLineReader(ByteSource source, std::size_t maxLineBytes = kNoLineLimit,
                            std::size_t pieceBytes = 1 << 16, TextEncoding encoding = TextEncoding::Cp932,
                            BadLines badLines = BadLines::Replace);
    // A reader of a file; nothing (with `error` set) if the file cannot be opened.
    static std::optional<TextLineReader> OpenFile(const std::filesystem::path& path, std::wstring& error,
                                                  std::size_t maxLineBytes = kNoLineLimit,
                                                  TextEncoding encoding = TextEncoding::Cp932,
                                                  BadLines badLines = BadLines::Replace);

    // Appends at most `maxLines` further lines to `out`.
    Status ReadSome(std::size_t maxLines, std::vector<std::wstring>& out);
    std::size_t SkippedLines() const { return skipped_; }
    const std::wstring& Error() const { return error_; }

private:
    void Deliver(std::string_view content, std::vector<std::wstring>& out);
    // Takes the start of a UTF-8 text from the piece: false while more bytes are needed.
    bool TakeByteOrderMark(std::size_t collectLimit);

    ByteSource source_;
    std::size_t maxLineBytes_;
    TextEncoding encoding_;
    BadLines badLines_;
    std::size_t bomSeen_ = 0;     // bytes of a UTF-8 mark matched so far at the start
    bool atStart_ = true;         // nothing of the first line taken yet
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
std::vector<std::wstring> DecodeTextLines(std::string_view bytes, TextEncoding encoding = TextEncoding::Cp932);

// The bytes of one line (without its line end) and whether it must count as altered:
// in code page 932 when some character became '?'; in UTF-8 when an unpaired surrogate
// became U+FFFD or the line holds U+FFFD, which stands for bytes that could not be
// read and so cannot be written back as they were.
EncodedText EncodeTextLine(std::wstring_view line, TextEncoding encoding, bool& altered);

struct EncodedLines {
    std::string bytes;          // every line followed by CR LF
    std::size_t alteredLines = 0;  // lines that had at least one character replaced
};
EncodedLines EncodeTextLines(const std::vector<std::wstring>& lines, TextEncoding encoding = TextEncoding::Cp932);

struct TextReadResult {
    bool ok = false;
    std::vector<std::wstring> lines;
    std::wstring error;  // the platform's description when !ok
};
TextReadResult ReadTextFileLines(const std::filesystem::path& path, TextEncoding encoding = TextEncoding::Cp932);

struct TextWriteResult {
    bool ok = false;
    std::size_t alteredLines = 0;
    std::wstring error;
};
// Writes the lines atomically (the file is the old one or the new one, never a mix).
TextWriteResult WriteTextFileLines(const std::filesystem::path& path, const std::vector<std::wstring>& lines,
                                   TextEncoding encoding = TextEncoding::Cp932);

}  // namespace tessel
