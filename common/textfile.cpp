#include "common/textfile.h"

#include <algorithm>
#include <cstring>

#include "common/cp932.h"
#include "common/fileio.h"
#include "common/utf8.h"

namespace tessel {

TextLineReader::TextLineReader(ByteSource source, std::size_t maxLineBytes, std::size_t pieceBytes,
                               TextEncoding encoding, BadLines badLines)
    : source_(std::move(source)),
      maxLineBytes_(maxLineBytes),
      encoding_(encoding),
      badLines_(badLines),
      atStart_(encoding == TextEncoding::Utf8),
      piece_(pieceBytes > 0 ? pieceBytes : 1) {}

std::optional<TextLineReader> TextLineReader::OpenFile(const std::filesystem::path& path, std::wstring& error,
                                                       std::size_t maxLineBytes, TextEncoding encoding,
                                                       BadLines badLines) {
    auto file = std::make_shared<FileReader>();
    if (!file->Open(path, error)) return std::nullopt;
    return TextLineReader(
        [file](char* buffer, std::size_t capacity, std::size_t& got, std::wstring& readError) {
            return file->Read(buffer, capacity, got, readError);
        },
        maxLineBytes, 1 << 16, encoding, badLines);
}

void TextLineReader::Deliver(std::string_view content, std::vector<std::wstring>& out) {
    if (overlong_ || content.size() > maxLineBytes_) {
        ++skipped_;
    } else if (encoding_ == TextEncoding::Utf8) {
        bool bad = false;
        std::wstring line = DecodeUtf8(content, &bad);
        if (bad && badLines_ == BadLines::Skip) {
            ++skipped_;
        } else {
            out.push_back(std::move(line));
        }
    } else {
        out.push_back(DecodeCp932(content));
    }
    partial_.clear();
    lineStarted_ = false;
    overlong_ = false;
}

bool TextLineReader::TakeByteOrderMark(std::size_t collectLimit) {
    while (at_ < filled_ && bomSeen_ < kUtf8Bom.size() && piece_[at_] == kUtf8Bom[bomSeen_]) {
        ++at_;
        ++bomSeen_;
    }
    if (bomSeen_ < kUtf8Bom.size()) {
        if (at_ == filled_ && !sourceDone_) return false;  // the next piece decides
        // No mark after all: the bytes that looked like one begin the first line.
        if (bomSeen_ > 0) {
            lineStarted_ = true;
            if (bomSeen_ > collectLimit) {
                overlong_ = true;
            } else {
                partial_.assign(kUtf8Bom.substr(0, bomSeen_));
            }
        }
    }
    atStart_ = false;
    return true;
}

TextLineReader::Status TextLineReader::ReadSome(std::size_t maxLines, std::vector<std::wstring>& out) {
    if (failed_) return Status::Failed;
    // While a line is collected it may hold one byte beyond the limit: the CR of its
    // CR LF, which is not part of the line.
    const std::size_t collectLimit = maxLineBytes_ == kNoLineLimit ? kNoLineLimit : maxLineBytes_ + 1;
    std::size_t lines = 0;  // lines taken by this call, skipped ones included
    while (lines < maxLines) {
        if (at_ == filled_) {
            if (sourceDone_) {
                if (atStart_) TakeByteOrderMark(collectLimit);
                // A last line without a line end is still a line; its lone CR stays.
                if (lineStarted_) Deliver(partial_, out);
                return Status::End;
            }
            std::size_t got = 0;
            if (!source_(piece_.data(), piece_.size(), got, error_)) {
                failed_ = true;
                return Status::Failed;
            }
            at_ = 0;
            filled_ = got;
            if (got == 0) sourceDone_ = true;
            continue;
        }
        if (atStart_ && (!TakeByteOrderMark(collectLimit) || at_ == filled_)) continue;
        // LF and CR are single-byte characters in code page 932 (trail bytes start at
        // 0x40) and in UTF-8 (no byte of a longer sequence is below 0x80), so splitting
        // the bytes before decoding never cuts a character.
        const std::string_view rest(piece_.data() + at_, filled_ - at_);
        const std::size_t lf = rest.find('\n');
        const std::string_view bytes = rest.substr(0, lf);
        if (!bytes.empty()) lineStarted_ = true;
        std::string_view whole;  // the line up to its LF, once complete
        if (lf != std::string_view::npos && partial_.empty() && !overlong_) {
            // The whole line lies in this piece: no copy.
            if (bytes.size() > collectLimit) overlong_ = true;
            whole = bytes;
        } else if (!overlong_) {
            if (bytes.size() > collectLimit - partial_.size()) {
                overlong_ = true;  // skipped unread from here on
                partial_.clear();
                partial_.shrink_to_fit();
            } else {
                partial_.append(bytes);
                whole = partial_;
            }
        }
        if (lf == std::string_view::npos) {
            at_ = filled_;
            continue;
        }
        at_ += lf + 1;
        if (!whole.empty() && whole.back() == '\r') whole.remove_suffix(1);  // CR LF
        Deliver(whole, out);
        ++lines;
    }
    return Status::More;
}

std::vector<std::wstring> DecodeTextLines(std::string_view bytes, TextEncoding encoding) {
    std::size_t at = 0;
    TextLineReader reader(
        [&](char* buffer, std::size_t capacity, std::size_t& got, std::wstring&) {
            got = std::min(capacity, bytes.size() - at);
            if (got > 0) std::memcpy(buffer, bytes.data() + at, got);
            at += got;
            return true;
        },
        TextLineReader::kNoLineLimit, std::min<std::size_t>(bytes.size() + 1, 1 << 16), encoding);
    std::vector<std::wstring> lines;
    reader.ReadSome(TextLineReader::kNoLineLimit, lines);
    return lines;
}

EncodedText EncodeTextLine(std::wstring_view line, TextEncoding encoding, bool& altered) {
    if (encoding == TextEncoding::Cp932) {
        EncodedText e = EncodeCp932(line);
        altered = e.replaced > 0;
        return e;
    }
    EncodedText e = EncodeUtf8(line);
    altered = e.replaced > 0 || line.find(kBadByteChar) != std::wstring_view::npos;
    return e;
}

namespace {

// No mark is written, except before a first line that itself begins with U+FEFF: a
// reader would take that character for a mark and drop it, so it gets one to drop.
std::string_view LeadingMark(const std::vector<std::wstring>& lines, TextEncoding encoding) {
    const bool needed = encoding == TextEncoding::Utf8 && !lines.empty() && !lines.front().empty() &&
                        lines.front().front() == 0xFEFF;
    return needed ? kUtf8Bom : std::string_view();
}

// The bytes of `lines`, each ended by CR LF, handed to `write` in pieces of about
// `pieceBytes` (the whole in one piece for the largest size); counts the lines that did
// not encode exactly in `altered`. False when `write` refused a piece.
bool EncodeLinesInPieces(const std::vector<std::wstring>& lines, TextEncoding encoding, std::size_t pieceBytes,
                         const WriteChunk& write, std::size_t& altered) {
    std::string piece(LeadingMark(lines, encoding));
    for (const std::wstring& line : lines) {
        bool changed = false;
        piece += EncodeTextLine(line, encoding, changed).bytes;
        piece += "\r\n";
        if (changed) ++altered;
        if (piece.size() >= pieceBytes) {
            if (!write(piece)) return false;
            piece.clear();
        }
    }
    return piece.empty() || write(piece);
}

}  // namespace

EncodedLines EncodeTextLines(const std::vector<std::wstring>& lines, TextEncoding encoding) {
    EncodedLines result;
    EncodeLinesInPieces(lines, encoding, std::string::npos,
                        [&](std::string_view piece) {
                            result.bytes += piece;
                            return true;
                        },
                        result.alteredLines);
    return result;
}

TextReadResult ReadTextFileLines(const std::filesystem::path& path, TextEncoding encoding) {
    TextReadResult result;
    std::optional<TextLineReader> reader =
        TextLineReader::OpenFile(path, result.error, TextLineReader::kNoLineLimit, encoding);
    if (!reader) return result;
    if (reader->ReadSome(TextLineReader::kNoLineLimit, result.lines) == TextLineReader::Status::Failed) {
        result.error = reader->Error();
        result.lines.clear();
        return result;
    }
    result.ok = true;
    return result;
}

TextWriteResult WriteTextFileLines(const std::filesystem::path& path, const std::vector<std::wstring>& lines,
                                   TextEncoding encoding) {
    TextWriteResult result;
    // Encoded and written a piece at a time: a long list never needs its whole byte
    // image in memory at once.
    constexpr std::size_t kPieceBytes = 1 << 16;
    result.ok = AtomicReplaceFile(
        path,
        [&](const WriteChunk& write) {
            return EncodeLinesInPieces(lines, encoding, kPieceBytes, write, result.alteredLines);
        },
        result.error);
    return result;
}

}  // namespace tessel
