// The Windows file system for the drop walks: FindFirstFileExW for the listing,
// folders identified by volume serial number and file index.
#include <windows.h>

#include <utility>

#include "common/fileio.h"
#include "common/folders.h"
#include "win32/handle.h"

namespace tessel {
namespace {

std::wstring Join(const std::wstring& folder, const wchar_t* name) {
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
    return path + name;
}

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

class Win32Folders final : public FolderSource {
public:
    PathKind Kind(const std::wstring& path) override {
        // Whatever exists has at least one attribute (a plain file FILE_ATTRIBUTE_NORMAL).
        const std::uint32_t attributes = Attributes(path);
        if (attributes == 0) return PathKind::Missing;
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? PathKind::Folder : PathKind::File;
    }

    std::uint32_t Attributes(const std::wstring& path) override {
        const DWORD attributes = ::GetFileAttributesW(path.c_str());
        return attributes == INVALID_FILE_ATTRIBUTES ? 0 : attributes;
    }

    std::optional<FolderId> Identify(const std::wstring& folder) override {
        // Opened without FILE_FLAG_OPEN_REPARSE_POINT: a junction or symbolic link is
        // followed, so the key is that of the folder it leads to.
        const win32::unique_kernel_handle h(::CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                                                          FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                                          nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
        if (!h) return std::nullopt;
        BY_HANDLE_FILE_INFORMATION info{};
        if (!::GetFileInformationByHandle(h.get(), &info)) return std::nullopt;
        return FolderId{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    }

    bool List(const std::wstring& folder, std::vector<std::wstring>& files,
              std::vector<SubFolder>& subfolders) override {
        WIN32_FIND_DATAW data{};
        const win32::unique_find_handle find(::FindFirstFileExW(Join(folder, L"*").c_str(), FindExInfoBasic, &data,
                                                                FindExSearchNameMatch, nullptr,
                                                                FIND_FIRST_EX_LARGE_FETCH));
        // An empty folder still lists "." and "..": failing here means unreadable.
        if (!find) return false;
        Listing found;
        do {
            if (IsDotEntry(data.cFileName)) continue;
            found.Add(Join(folder, data.cFileName), data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                      (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0);
        } while (::FindNextFileW(find.get(), &data));
        return ::GetLastError() == ERROR_NO_MORE_FILES && found.HandOver(files, subfolders);
    }
};

}  // namespace

FolderSource& SystemFolders() {
    static Win32Folders folders;
    return folders;
}

}  // namespace tessel
