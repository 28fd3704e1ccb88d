// Code page 932 (Shift_JIS as Windows defines it) <-> UTF-16/UTF-32 text.
//
// Every text file of both programs is stored in code page 932. Windows converts with
// MultiByteToWideChar/WideCharToMultiByte, the Linux test build with iconv; both go
// through the rules below so that they give the same result for every input:
//
//  * Decoding: a byte that is not part of a well-formed, mapped character decodes to
//    U+FFFD, one per bad byte. A lead byte whose next byte is no trail byte is bad on
//    its own and the next byte starts afresh (so CR, LF and ASCII survive a stray lead).
//    The single bytes 0x80, 0xA0 and 0xFD-0xFF are bad.
//  * Encoding: a character that has no exact code page 932 form (no "best fit" such as
//    U+00A5 -> 0x5C), a character outside the BMP and an unpaired surrogate are
//    written as '?' and counted in `replaced`.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tessel {

inline constexpr wchar_t kBadByteChar = 0xFFFD;
inline constexpr char kReplacementByte = '?';

std::wstring DecodeCp932(std::string_view bytes);

struct EncodedText {
    std::string bytes;
    std::size_t replaced = 0;  // characters written as '?' because 932 cannot hold them
};

EncodedText EncodeCp932(std::wstring_view text);

namespace cp932_platform {
// The platform halves. Each converts a run exactly or reports failure, never a
// partial or substituted result.
// Appends the decoded run to `out`; false if some unit of the run is unmapped.
bool DecodeRun(std::string_view bytes, std::wstring& out);
// Appends the encoded run (BMP characters only) to `out`; false if some character
// has no exact form.
bool EncodeRun(std::wstring_view text, std::string& out);
}  // namespace cp932_platform

}  // namespace tessel
