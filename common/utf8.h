// UTF-8 <-> the platform's wide text (UTF-16 on Windows, UTF-32 elsewhere), for the
// list files that must hold names code page 932 cannot (".m3u8").
//
//  * Decoding: a well-formed sequence gives its character (two UTF-16 units outside the
//    BMP). Bytes that are not well-formed decode to U+FFFD, one for each maximal part
//    of a sequence that could have begun a well-formed one (the Unicode Standard's
//    recommended practice): an overlong form, an encoded surrogate, a value beyond
//    U+10FFFF, a stray continuation byte or a sequence cut short. CR and LF are never
//    swallowed by a broken sequence, since they are never continuation bytes.
//  * Encoding: every Unicode scalar value is written exactly. An unpaired surrogate
//    (or, with 32-bit wide text, a value that is no scalar value) is written as U+FFFD
//    and counted in `replaced`.
#pragma once

#include <string>
#include <string_view>

#include "common/cp932.h"

namespace tessel {

// The byte-order mark some programs put before UTF-8 text.
inline constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// `invalid`, if given, is set when some bytes were not well-formed.
std::wstring DecodeUtf8(std::string_view bytes, bool* invalid = nullptr);

EncodedText EncodeUtf8(std::wstring_view text);

}  // namespace tessel
