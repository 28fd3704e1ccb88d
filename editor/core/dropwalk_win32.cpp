// The Windows file system for the walk: FindFirstFileExW for the listing, folders
// identified by volume serial number and file index.
#include <windows.h>

#include <iterator>

#include "common/fileio.h"
#include "editor/core/dropwalk.h"

namespace listwright {
namespace {

std::wstring Join(const std::wstring& folder, const wchar_t* name) {
    std::wstring path = folder;
    if (!path.empty() && path.back() != L'\\' && path.back() != L'/') path += L'\\';
    path += name;
    return path;
}

bool IsDotEntry(const wchar_t* name) {
    return name[0] == L'.' && (name[1] == L'\0' || (name[1] == L'.' && name[2] == L'\0'));
}

class Win32Folders final : public FolderSource {
public:
    Kind Classify(const std::wstring& path) override {
        const DWORD attributes = GetFileAttributesW(path.c_str());
        if (attributes == INVALID_FILE_ATTRIBUTES) return Kind::Missing;
        return (attributes & FILE_ATTRIBUTE_DIRECTORY) ? Kind::Folder : Kind::File;
    }

    bool List(const std::wstring& folder, std::vector<std::wstring>& files,
              std::vector<SubFolder>& subfolders) override {
        WIN32_FIND_DATAW data{};
        const std::wstring pattern = Join(folder, L"*");
        HANDLE find = FindFirstFileExW(pattern.c_str(), FindExInfoBasic, &data, FindExSearchNameMatch,
                                       nullptr, FIND_FIRST_EX_LARGE_FETCH);
        if (find == INVALID_HANDLE_VALUE) {
            // An empty folder still lists "." and ".."; failing here means unreadable.
            return false;
        }
        std::vector<std::wstring> foundFiles;
        std::vector<SubFolder> foundFolders;
        do {
            if (IsDotEntry(data.cFileName)) continue;
            if (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                const bool link = (data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0;
                foundFolders.push_back(SubFolder{Join(folder, data.cFileName), link});
            } else if (!tessel::IsTemporaryFileName(data.cFileName)) {
                foundFiles.push_back(Join(folder, data.cFileName));
            }
        } while (FindNextFileW(find, &data));
        const DWORD error = GetLastError();
        FindClose(find);
        if (error != ERROR_NO_MORE_FILES) return false;
        return Found(files, subfolders, foundFiles, foundFolders);
    }

    std::optional<FolderId> Identify(const std::wstring& folder) override {
        HANDLE h = CreateFileW(folder.c_str(), FILE_READ_ATTRIBUTES,
                               FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                               OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (h == INVALID_HANDLE_VALUE) return std::nullopt;
        BY_HANDLE_FILE_INFORMATION info{};
        const BOOL ok = GetFileInformationByHandle(h, &info);
        CloseHandle(h);
        if (!ok) return std::nullopt;
        return FolderId{info.dwVolumeSerialNumber,
                        (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow};
    }
};

}  // namespace

FolderSource& SystemFolders() {
    static Win32Folders folders;
    return folders;
}

}  // namespace listwright
