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
#include <unordered_set>
#include <utility>
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
    // What a List collects while it reads a folder: handed over only once the whole
    // folder was read, so that a folder that fails midway appends nothing.
    struct Listing {
        std::vector<std::wstring> files;
        std::vector<SubFolder> folders;

        // An entry of the folder: a subfolder, or a file unless it is a save's temporary.
        void Add(std::wstring path, const std::wstring& name, bool folder, bool viaLink);
        bool HandOver(std::vector<std::wstring>& toFiles, std::vector<SubFolder>& toFolders) {
            return Found(toFiles, toFolders, std::move(files), std::move(folders));
        }
    };

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

// The folders entered from one dropped folder, for a walk that enters every folder
// once: links can reach a folder by many ways (two folders linking to each other on
// each of n levels make 2^n ways down), and a link back up the tree is one such second
// way. Folders are identified only once a link has shown up: until then every folder
// was reached by its own path and cannot have been entered before.
class FolderScope {
public:
    // `walkUnidentifiedLinks`: whether a link to a folder that cannot be identified
    // is walked all the same (the walk then needs a depth limit of its own).
    FolderScope(FolderSource& folders, std::wstring dropped, bool walkUnidentifiedLinks = false)
        : folders_(folders), walkUnidentifiedLinks_(walkUnidentifiedLinks) {
        pending_.push_back(std::move(dropped));
    }
    // True if the subfolder is new to this walk (and now counts as entered).
    bool Admit(const std::wstring& path, bool viaLink);

private:
    FolderSource& folders_;
    bool walkUnidentifiedLinks_;
    std::vector<std::wstring> pending_;  // entered, not identified yet
    std::unordered_set<FolderId, FolderIdHash> entered_;
    bool linked_ = false;
};

}  // namespace tessel
