#include "player/windows/drop_fs_win32.h"

#include <windows.h>

#include "common/fileio.h"

namespace tessel::player {

PathKind Win32DropFileSystem::Kind(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::None;
    return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
}

std::uint32_t Win32DropFileSystem::FolderAttributes(const std::wstring& path) {
    const DWORD attributes = ::GetFileAttributesW(path.c_str());
    return attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes;
}

std::optional<FolderKey> Win32DropFileSystem::Identify(const std::wstring& path) {
    // Opened without FILE_FLAG_OPEN_REPARSE_POINT: a junction or symbolic link is
    // followed, so the key is that of the folder it leads to.
    HANDLE folder = ::CreateFileW(path.c_str(), FILE_READ_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (folder == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info{};
    const BOOL ok = ::GetFileInformationByHandle(folder, &info);
    ::CloseHandle(folder);
    if (!ok) return std::nullopt;
    return FolderKey{info.dwVolumeSerialNumber,
                     (std::uint64_t(info.nFileIndexHigh) << 32) | std::uint64_t(info.nFileIndexLow)};
}

void Win32DropFileSystem::List(const std::wstring& folder, std::vector<std::wstring>& files,
                               std::vector<std::wstring>& subfolders) {
    std::wstring base = folder;
    if (!base.empty() && base.back() != L'\\' && base.back() != L'/') base += L'\\';
    WIN32_FIND_DATAW found{};
    HANDLE search = ::FindFirstFileExW((base + L"*").c_str(), FindExInfoBasic, &found, FindExSearchNameMatch,
                                       nullptr, FIND_FIRST_EX_LARGE_FETCH);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        const std::wstring name = found.cFileName;
        if (name == L"." || name == L"..") continue;
        const bool folder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        if (!folder && IsTemporaryFileName(name)) continue;  // a save in progress or a leftover of one
        (folder ? subfolders : files).push_back(base + name);
    } while (::FindNextFileW(search, &found));
    ::FindClose(search);
}

}  // namespace tessel::player
