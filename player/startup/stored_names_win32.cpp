#include "player/startup/stored_names_win32.h"

#include <windows.h>

#include "player/skin/skin_paths.h"
#include "player/startup/settings.h"

namespace tessel::player {
namespace {

std::optional<std::wstring> ShortPath(const std::wstring& path) {
    const DWORD needed = ::GetShortPathNameW(path.c_str(), nullptr, 0);
    if (needed == 0) return std::nullopt;
    std::wstring shortPath(needed, L'\0');
    const DWORD got = ::GetShortPathNameW(path.c_str(), shortPath.data(), needed);
    if (got == 0 || got >= needed) return std::nullopt;
    shortPath.resize(got);
    return shortPath;
}

}  // namespace

std::optional<std::wstring> StorableListPath(const std::wstring& path) {
    if (FitsSettingsFile(path)) return path;
    std::optional<std::wstring> shortPath = ShortPath(path);
    if (shortPath && FitsSettingsFile(*shortPath)) return shortPath;
    return std::nullopt;
}

std::optional<std::wstring> StorableSkinName(const std::wstring& programFolder, const std::wstring& name) {
    if (FitsSettingsFile(name)) return name;
    const std::optional<std::wstring> shortPath = ShortPath(JoinProgramPath(programFolder, L"parts\\" + name));
    if (!shortPath) return std::nullopt;
    // Only the folder's own part: the skin paths are built from the program folder.
    const std::size_t cut = shortPath->find_last_of(L"\\/");
    std::wstring shortName = cut == std::wstring::npos ? *shortPath : shortPath->substr(cut + 1);
    if (shortName.empty() || !FitsSettingsFile(shortName)) return std::nullopt;
    return shortName;
}

}  // namespace tessel::player
