#include "common/textfile.h"

#include "common/cp932.h"
#include "common/fileio.h"

namespace tessel {

std::vector<std::string_view> SplitLineBytes(std::string_view bytes) {
    // LF and CR are single-byte characters in code page 932 (trail bytes start at 0x40),
    // so splitting the bytes before decoding never cuts a character.
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t lf = bytes.find('\n', start);
        if (lf == std::string_view::npos) {
            lines.push_back(bytes.substr(start));
            break;
        }
        std::size_t end = lf;
        if (end > start && bytes[end - 1] == '\r') --end;
        lines.push_back(bytes.substr(start, end - start));
        start = lf + 1;
    }
    return lines;
}

std::vector<std::wstring> DecodeTextLines(std::string_view bytes) {
    std::vector<std::wstring> lines;
    for (std::string_view line : SplitLineBytes(bytes)) lines.push_back(DecodeCp932(line));
    return lines;
}

EncodedLines EncodeTextLines(const std::vector<std::wstring>& lines) {
    EncodedLines result;
    for (const std::wstring& line : lines) {
        EncodedText e = EncodeCp932(line);
        result.bytes += e.bytes;
        result.bytes += "\r\n";
        result.replacedChars += e.replaced;
        if (e.replaced > 0) ++result.alteredLines;
    }
    return result;
}

TextReadResult ReadTextFileLines(const std::filesystem::path& path) {
    TextReadResult result;
    std::string bytes;
    if (!ReadWholeFile(path, bytes, result.error)) return result;
    result.lines = DecodeTextLines(bytes);
    result.ok = true;
    return result;
}

TextWriteResult WriteTextFileLines(const std::filesystem::path& path,
                                   const std::vector<std::wstring>& lines) {
    TextWriteResult result;
    EncodedLines encoded = EncodeTextLines(lines);
    result.replacedChars = encoded.replacedChars;
    result.alteredLines = encoded.alteredLines;
    result.ok = AtomicReplaceFile(path, encoded.bytes, result.error);
    return result;
}

}  // namespace tessel
