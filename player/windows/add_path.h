// Dropped files and folders into the play queue: AddPathToList, depth first, the files
// of a folder before its subfolders. No platform headers: the file system is a small
// interface, real on each platform (drop_fs_win32.h; the native tests use POSIX).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "player/shared/llvariable.h"

namespace tessel::player {

// A queue holding more items than this takes no more drops. Tested once per call, so
// one large folder may go beyond it; the queue's own capacity (ListBox::kMaxItems)
// is the hard end.
inline constexpr std::size_t kDropQueueLimit = 15000;
// Directory + system + hidden, exactly: the system's own folders at a drive's root.
inline constexpr std::uint32_t kSkippedFolderAttributes = 22;

enum class PathKind { None, File, Folder };

// What identifies a folder whatever path leads to it: the volume's serial number and
// the folder's file index (st_dev and st_ino on POSIX).
struct FolderKey {
    std::uint64_t volume = 0, index = 0;
    friend bool operator==(const FolderKey&, const FolderKey&) = default;
};

class DropFileSystem {
public:
    virtual ~DropFileSystem() = default;
    // A link to a folder counts as a folder.
    virtual PathKind Kind(const std::wstring& path) = 0;
    // The folder's attribute value (directory 16, system 4, hidden 2, archive 32, ...).
    virtual std::uint32_t FolderAttributes(const std::wstring& path) = 0;
    // The folder a path leads to, links followed; nothing if it cannot be opened.
    virtual std::optional<FolderKey> Identify(const std::wstring& path) = 0;
    // Full paths of the folder's files and of its subfolders, each in listing order.
    virtual void List(const std::wstring& folder, std::vector<std::wstring>& files,
                      std::vector<std::wstring>& subfolders) = 0;
};

// Appends `path` to LstM3u: a file as one item, a folder as all its files followed by
// the trees of its subfolders. A folder whose attribute value is exactly 22 is skipped
// with its contents. Within one call every folder is walked once, by the first way
// the depth-first walk reaches it: a link to a folder already entered (one on the way
// down, or one walked before) is not followed, so every walk ends and lists each
// folder at most once. A folder dropped twice is walked each time. Stops when the queue
// is full. Refreshes LblListCount at the end of every call that got past the limit
// test.
void AddPathToList(const std::wstring& path, MenuFormControls& menu, DropFileSystem& fs);

// AddPathToList for each dropped path in the order given, as one batch: a list box
// redrawing after each of thousands of items would freeze the window for minutes.
// Both drop targets (the skin window and the panel's list) add through this.
void AddPathsToList(const std::vector<std::wstring>& paths, MenuFormControls& menu, DropFileSystem& fs);

}  // namespace tessel::player
