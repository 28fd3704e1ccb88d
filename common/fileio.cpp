#include "common/fileio.h"

namespace tessel {

bool IsExactPathCandidate(std::wstring_view name) {
    if (name.empty()) return false;
    if (name.find(L'\0') != std::wstring_view::npos) return false;
    // Every component must survive Windows' path normalisation unchanged: a trailing
    // dot or space is silently dropped there ("song.mp3 " opens "song.mp3").
    std::size_t start = 0;
    while (start <= name.size()) {
        std::size_t end = name.find_first_of(L"\\/", start);
        if (end == std::wstring_view::npos) end = name.size();
        const std::wstring_view part = name.substr(start, end - start);
        const bool dotsOnly = part == L"." || part == L"..";
        if (!part.empty() && !dotsOnly && (part.back() == L'.' || part.back() == L' ')) return false;
        start = end + 1;
    }
    return true;
}

bool AtomicReplaceFile(const std::filesystem::path& target, std::string_view content,
                       std::wstring& error) {
    return AtomicReplaceFile(
        target,
        [content](const WriteChunk& write) {
            // Large contents go in pieces so a failing write shows up early.
            constexpr std::size_t kPiece = 1 << 20;
            for (std::size_t at = 0; at < content.size(); at += kPiece) {
                if (!write(content.substr(at, kPiece))) return false;
            }
            return true;
        },
        error);
}

}  // namespace tessel
