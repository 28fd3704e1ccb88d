// Code page 932 encoding of any text: what it cannot hold exactly becomes '?' and is
// counted, everything else reads back as it was, and nothing written reads as a bad
// byte.
#include "common/cp932.h"
#include "fuzz/fuzz_support.h"

namespace {

using tessel::DecodeCp932;
using tessel::EncodeCp932;

#if WCHAR_MAX > 0xFFFF
constexpr bool kWideIsUtf16 = false;
#else
constexpr bool kWideIsUtf16 = true;
#endif

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The text: 16-bit units, and now and then (a marker byte 0xF8) a character beyond
    // the BMP as this platform stores it.
    tessel::fuzz::Input in(data, size);
    std::wstring text;
    while (!in.Empty()) {
        const std::uint8_t marker = in.Byte();
        if (marker == 0xF8) {
            const std::uint32_t c = 0x10000 + in.Number(3) % 0x100000;
            if (kWideIsUtf16) {
                text.push_back(static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10)));
                text.push_back(static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF)));
            } else {
                text.push_back(static_cast<wchar_t>(c));
            }
        } else {
            text.push_back(static_cast<wchar_t>((marker << 8) | in.Byte()));
        }
    }

    const tessel::EncodedText written = EncodeCp932(text);
    const std::wstring read = DecodeCp932(written.bytes);
    FUZZ_CHECK(read.find(static_cast<wchar_t>(0xFFFD)) == std::wstring::npos);

    // Character by character (a surrogate pair is one character, an unpaired
    // surrogate one too): each reads back as itself or as a counted '?'.
    std::size_t at = 0, replaced = 0;
    std::string concatenated;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        if (kWideIsUtf16 && text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] <= 0xDFFF)
            n = 2;
        const std::wstring character = text.substr(i, n);
        const tessel::EncodedText alone = EncodeCp932(character);
        concatenated += alone.bytes;
        FUZZ_CHECK(at < read.size());
        if (alone.replaced == 1) {
            FUZZ_CHECK(alone.bytes == "?");
            FUZZ_CHECK(read[at] == L'?');
            ++replaced;
        } else {
            FUZZ_CHECK(alone.replaced == 0);
            FUZZ_CHECK(alone.bytes.size() == 1 || alone.bytes.size() == 2);
            FUZZ_CHECK(n == 1 && read[at] == character[0]);
        }
        ++at;
        i += n;
    }
    FUZZ_CHECK(at == read.size());
    FUZZ_CHECK(replaced == written.replaced);
    // Encoding knows no context: the whole is its characters one after another.
    FUZZ_CHECK(concatenated == written.bytes);
    return 0;
}
