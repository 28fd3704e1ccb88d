// The file system as the walks through dropped folders see it, one port for both
// programs: what a path is, a folder's attribute value, which folder a path leads to,
// and what a folder holds. Real on each platform (folders_win32.cpp, and
// folders_posix.cpp for the native tests and tools); tests wrap it to count listings
// or to give folders attribute values POSIX has no word for.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace tessel {

enum class PathKind { Missing, File, Folder };

// Identifies a folder however it was reached: volume serial and file index on
// Windows, device and inode on POSIX.
struct FolderId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FolderId&) const = default;
};

struct FolderIdHash {
    std::size_t operator()(const FolderId& id) const noexcept {
        return std::hash<std::uint64_t>{}(id.index * 0x9E3779B97F4A7C15ull ^ id.volume);
    }
};

struct SubFolder {
    std::wstring path;
    // True if the folder was reached through a link (symbolic link, junction): only
    // such folders can lead back up the tree.
    bool viaLink = false;
};

class FolderSource {
public:
    virtual ~FolderSource() = default;
    // A link is what it leads to.
    virtual PathKind Kind(const std::wstring& path) = 0;
    // The attribute value (directory 16, hidden 2, system 4, archive 32, ...); 0 when it
    // cannot be read. POSIX knows only "directory".
    virtual std::uint32_t Attributes(const std::wstring& path) = 0;
    // The folder a path leads to, links followed; nothing if it cannot be opened.
    virtual std::optional<FolderId> Identify(const std::wstring& folder) = 0;
    // Appends the full paths of the folder's files (without the temporaries of saves,
    // which are never media) and of its direct subfolders, in the order the file
    // system lists them. False, with nothing appended, if the folder cannot be read.
    virtual bool List(const std::wstring& folder, std::vector<std::wstring>& files,
                      std::vector<SubFolder>& subfolders) = 0;

protected:
    // The end of a List that read the whole folder: what it found, appended.
    static bool Found(std::vector<std::wstring>& files, std::vector<SubFolder>& subfolders,
                      std::vector<std::wstring>&& foundFiles, std::vector<SubFolder>&& foundFolders) {
        files.insert(files.end(), std::make_move_iterator(foundFiles.begin()),
                     std::make_move_iterator(foundFiles.end()));
        subfolders.insert(subfolders.end(), std::make_move_iterator(foundFolders.begin()),
                          std::make_move_iterator(foundFolders.end()));
        return true;
    }
};

// The real file system of the platform this is built for.
FolderSource& SystemFolders();

}  // namespace tessel
