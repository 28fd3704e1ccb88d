#include "player/shared/long_paths.h"

#include <utility>

namespace tessel::player {
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

bool LongPathFolders::List(const std::wstring& folder, std::vector<std::wstring>& files,
                           std::vector<SubFolder>& subfolders) {
    std::vector<std::wstring> found;
    std::vector<SubFolder> below;
    if (!system_.List(ExtendedLengthPath(folder, 2), found, below)) return false;
    for (std::wstring& file : found) file = OrdinaryPath(file);
    for (SubFolder& sub : below) sub.path = OrdinaryPath(sub.path);
    return Found(files, subfolders, std::move(found), std::move(below));
}

}  // namespace tessel::player
