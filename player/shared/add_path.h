// Dropped files and folders into the play queue: AddPathToList, depth first, the files
// of a folder before its subfolders. No platform headers: the file system is the
// port both programs walk dropped folders through (common/folders.h).
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "common/folders.h"
#include "player/shared/llvariable.h"

namespace tessel::player {

// A queue holding more items than this takes no more drops. Tested once per call, so
// one large folder may go beyond it; the queue's own capacity (ListBox::kMaxItems)
// is the hard end.
inline constexpr std::size_t kDropQueueLimit = 15000;
// Directory + system + hidden, exactly: the system's own folders at a drive's root.
inline constexpr std::uint32_t kSkippedFolderAttributes = 22;

// Asked before each folder a walk lists: lets the windows answer (a folder on a
// network share that stops answering can take seconds). False ends the walk (Esc was
// pressed, or the program is closing).
using KeepWalking = std::function<bool()>;

// Appends `path` to LstM3u: a file as one item, a folder as all its files followed by
// the trees of its subfolders. A folder whose attribute value is exactly 22 is skipped
// with its contents. Within one call every folder is walked once, by the first way
// the depth-first walk reaches it: a link to a folder already entered (one on the way
// down, or one walked before) is not followed, so every walk ends and lists each
// folder at most once. A folder dropped twice is walked each time. Stops when the queue
// is full. Refreshes LblListCount at the end of every call that got past the limit
// test. Paths of MAX_PATH characters or more are walked like any other (long_paths.h)
// and queued in their ordinary form. False if `keepWalking` ended the walk.
bool AddPathToList(const std::wstring& path, MenuFormControls& menu, FolderSource& fs,
                   const KeepWalking& keepWalking = {});

// AddPathToList for each dropped path in the order given, as one batch: a list box
// redrawing after each of thousands of items would freeze the window for minutes.
// False if `keepWalking` ended the walk (the paths after it are not walked).
bool AddPathsToList(const std::vector<std::wstring>& paths, MenuFormControls& menu, FolderSource& fs,
                    const KeepWalking& keepWalking = {});

// The walks of the drops on the player's windows (both drop targets add through
// this). A drop that comes while a walk lets the windows answer joins that walk, after
// what it still has to walk; ending the walk (keepWalking false) drops those too.
class DropWalks {
public:
    void Add(const std::vector<std::wstring>& paths, MenuFormControls& menu, FolderSource& fs,
             const KeepWalking& keepWalking);
    bool Walking() const { return walking_; }

private:
    std::deque<std::wstring> waiting_;
    bool walking_ = false;
};

}  // namespace tessel::player
