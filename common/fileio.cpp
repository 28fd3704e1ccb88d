#include "common/fileio.h"

#include <algorithm>
#include <mutex>
#include <set>
#include <system_error>
#include <vector>

namespace tessel {

namespace {

constexpr std::wstring_view kExtended = L"\\\\?\\";
constexpr std::wstring_view kExtendedUnc = L"\\\\?\\UNC\\";

bool IsSeparator(wchar_t c) { return c == L'\\' || c == L'/'; }

}  // namespace

std::wstring ExtendedLengthPath(const std::wstring& path, std::size_t appended) {
    if (path.size() + appended < kMaxPlainPath) return path;
    const bool drive = path.size() > 2 && path[1] == L':' && IsSeparator(path[2]);
    const bool unc = path.size() > 2 && IsSeparator(path[0]) && IsSeparator(path[1]) && path[2] != L'?' &&
                     path[2] != L'.';
    if (!drive && !unc) return path;
    // The \\?\ form is taken as it stands: only "\" separates in it.
    std::wstring text = path;
    for (wchar_t& c : text) {
        if (c == L'/') c = L'\\';
    }
    return drive ? std::wstring(kExtended) + text : std::wstring(kExtendedUnc) + text.substr(2);
}

std::wstring OrdinaryPath(const std::wstring& path) {
    if (path.compare(0, kExtendedUnc.size(), kExtendedUnc) == 0) return L"\\\\" + path.substr(kExtendedUnc.size());
    if (path.compare(0, kExtended.size(), kExtended) == 0) return path.substr(kExtended.size());
    return path;
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

StepOutcome RetryWhileHeld(const std::function<StepOutcome()>& step, const std::function<void(int ms)>& wait) {
    StepOutcome outcome = step();
    for (const int ms : kHeldRetryWaitsMs) {
        if (outcome != StepOutcome::Held) break;
        wait(ms);
        outcome = step();
    }
    return outcome;
}

namespace {

constexpr std::wstring_view kTemporarySuffix = L".tessel.tmp";

// Takes the decimal number at the end of `text` off it: at least one digit, and no
// more than a 64-bit number holds.
std::optional<std::uint64_t> TakeTrailingNumber(std::wstring_view& text) {
    std::size_t digits = 0;
    while (digits < text.size() && text[text.size() - 1 - digits] >= L'0' && text[text.size() - 1 - digits] <= L'9')
        ++digits;
    if (digits == 0) return std::nullopt;
    std::uint64_t value = 0;
    for (wchar_t c : text.substr(text.size() - digits)) {
        const auto digit = static_cast<std::uint64_t>(c - L'0');
        if (value > (UINT64_MAX - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    text.remove_suffix(digits);
    return value;
}

std::mutex& WritingMutex() {
    static std::mutex m;
    return m;
}
std::set<std::filesystem::path>& Writing() {
    static std::set<std::filesystem::path> paths;
    return paths;
}

}  // namespace

std::wstring TemporaryFileName(std::wstring_view targetName, std::uint64_t processId, std::uint64_t number) {
    std::size_t keep = std::min(targetName.size(), kTemporaryNameChars);
    // Never half a surrogate pair.
    if (keep > 0 && keep < targetName.size() && targetName[keep - 1] >= 0xD800 && targetName[keep - 1] <= 0xDBFF)
        --keep;
    std::wstring name = L"~";
    name += targetName.substr(0, keep);
    name += L"." + std::to_wstring(processId) + L"-" + std::to_wstring(number);
    name += kTemporarySuffix;
    return name;
}

std::optional<TemporaryName> ParseTemporaryFileName(std::wstring_view fileName) {
    if (fileName.size() <= kTemporarySuffix.size() ||
        fileName.substr(fileName.size() - kTemporarySuffix.size()) != kTemporarySuffix)
        return std::nullopt;
    std::wstring_view rest = fileName.substr(0, fileName.size() - kTemporarySuffix.size());
    const std::optional<std::uint64_t> number = TakeTrailingNumber(rest);
    if (!number || rest.empty() || rest.back() != L'-') return std::nullopt;
    rest.remove_suffix(1);
    const std::optional<std::uint64_t> processId = TakeTrailingNumber(rest);
    if (!processId || rest.empty() || rest.back() != L'.') return std::nullopt;
    rest.remove_suffix(1);
    if (rest.size() < 2 || rest.front() != L'~') return std::nullopt;
    TemporaryName parsed;
    parsed.targetPart = std::wstring(rest.substr(1));
    parsed.processId = *processId;
    parsed.number = *number;
    return parsed;
}

bool IsTemporaryFileName(std::wstring_view fileName) { return ParseTemporaryFileName(fileName).has_value(); }

bool IsStaleTemporary(const std::filesystem::path& folder, std::wstring_view fileName) {
    const std::optional<TemporaryName> parsed = ParseTemporaryFileName(fileName);
    if (!parsed) return false;  // not ours: never touched
    if (parsed->processId == fileio_platform::CurrentProcessId()) {
        std::lock_guard lock(WritingMutex());
        return Writing().count(folder / PathFromWide(fileName)) == 0;
    }
    return !fileio_platform::ProcessIsRunning(parsed->processId);
}

namespace fileio_detail {

void BeginWriting(const std::filesystem::path& temporary) {
    std::lock_guard lock(WritingMutex());
    Writing().insert(temporary);
}

void EndWriting(const std::filesystem::path& temporary) {
    std::lock_guard lock(WritingMutex());
    Writing().erase(temporary);
}

void SweepStaleTemporaries(const std::filesystem::path& folder) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder.empty() ? std::filesystem::path(".") : folder, ec);
    if (ec) return;
    std::vector<std::filesystem::path> stale;
    for (const std::filesystem::directory_iterator end; it != end; it.increment(ec)) {
        if (ec) return;
        std::error_code kindError;
        if (it->is_symlink(kindError) || !it->is_regular_file(kindError)) continue;
        if (IsStaleTemporary(folder, WideFromPath(it->path().filename()))) stale.push_back(it->path());
    }
    for (const std::filesystem::path& p : stale) {
        std::error_code ignored;
        std::filesystem::remove(p, ignored);  // one still open elsewhere stays (Windows)
    }
}

}  // namespace fileio_detail

}  // namespace tessel
