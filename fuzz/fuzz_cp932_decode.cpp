// Code page 932 decoding of any bytes: it never fails, every byte is accounted for,
// and writing the text back gives the bytes back wherever the code page has one form
// for the character.
#include "common/cp932.h"
#include "fuzz/fuzz_support.h"

namespace {

using tessel::DecodeCp932;
using tessel::EncodeCp932;

bool IsLead(unsigned char b) { return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC); }
bool IsTrail(unsigned char b) { return b >= 0x40 && b <= 0xFC && b != 0x7F; }

// The characters with two forms in code page 932 (NEC's row 13 and IBM's extension
// both hold some; NEC's selection of the IBM characters repeats all of them): the
// writer takes the canonical one, so only units with these lead bytes may come back
// different.
bool MayHaveAnotherForm(unsigned char lead) { return lead == 0x87 || lead == 0xED || lead == 0xEE || lead == 0xFA; }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::wstring text = DecodeCp932(bytes);

    // Unit by unit: a byte on its own, or a lead and trail byte together. A unit that
    // is no mapped character gives one U+FFFD per byte.
    std::vector<std::string> units;
    for (std::size_t i = 0; i < bytes.size();) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        const std::size_t n = IsLead(b) && i + 1 < bytes.size() && IsTrail(static_cast<unsigned char>(bytes[i + 1])) ? 2 : 1;
        units.push_back(bytes.substr(i, n));
        i += n;
    }
    std::size_t at = 0;
    bool canonical = true;
    for (const std::string& unit : units) {
        const auto first = static_cast<unsigned char>(unit[0]);
        // Decoding knows no context: each unit decodes alone as it does in the text.
        const std::wstring alone = DecodeCp932(unit);
        FUZZ_CHECK(alone.size() == 1 || alone == std::wstring(unit.size(), L'\xFFFD'));
        FUZZ_CHECK(text.compare(at, alone.size(), alone) == 0);
        at += alone.size();
        // ASCII is itself; CR and LF are never part of another character.
        if (first < 0x80) FUZZ_CHECK(alone == std::wstring(1, static_cast<wchar_t>(first)));
        if (alone == L"\r" || alone == L"\n") FUZZ_CHECK(unit.size() == 1);
        if (alone[0] == 0xFFFD) continue;
        // A character that was read can be written: to the same bytes, or to the one
        // other form of a character with two.
        const tessel::EncodedText back = EncodeCp932(alone);
        FUZZ_CHECK(back.replaced == 0);
        if (back.bytes != unit) {
            FUZZ_CHECK(unit.size() == 2 && MayHaveAnotherForm(first));
            FUZZ_CHECK(DecodeCp932(back.bytes) == alone);
            canonical = false;
        }
    }
    FUZZ_CHECK(at == text.size());

    // Written back: the same text, and the canonical bytes are a fixed point.
    const tessel::EncodedText written = EncodeCp932(text);
    FUZZ_CHECK(DecodeCp932(written.bytes) == tessel::fuzz::AsWrittenAndRead(text));
    FUZZ_CHECK(EncodeCp932(DecodeCp932(written.bytes)).bytes == written.bytes);
    std::size_t bad = 0;
    for (wchar_t c : text) bad += c == 0xFFFD;
    FUZZ_CHECK(written.replaced == bad);
    if (bad == 0 && canonical) FUZZ_CHECK(written.bytes == bytes);
    return 0;
}
