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
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tessel {

// Splits raw file bytes into lines by the rule above (bytes, not yet decoded).
std::vector<std::string_view> SplitLineBytes(std::string_view bytes);
// Splits and decodes a whole file image.
std::vector<std::wstring> DecodeTextLines(std::string_view bytes);

struct EncodedLines {
    std::string bytes;          // every line followed by CR LF
    std::size_t replacedChars = 0;
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
    std::size_t replacedChars = 0;
    std::size_t alteredLines = 0;
    std::wstring error;
};
// Writes the lines atomically (the file is the old one or the new one, never a mix).
TextWriteResult WriteTextFileLines(const std::filesystem::path& path,
                                   const std::vector<std::wstring>& lines);

}  // namespace tessel
