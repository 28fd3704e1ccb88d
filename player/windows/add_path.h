// Dropped files and folders into the play queue: AddPathToList, depth first, the files
// of a folder before its subfolders. No platform headers: the file system is the
// port both programs walk dropped folders through (common/folders.h).
#pragma once

#include <cstddef>
#include <cstdint>
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

// Appends `path` to LstM3u: a file as one item, a folder as all its files followed by
// the trees of its subfolders. A folder whose attribute value is exactly 22 is skipped
// with its contents. Within one call every folder is walked once, by the first way
// the depth-first walk reaches it: a link to a folder already entered (one on the way
// down, or one walked before) is not followed, so every walk ends and lists each
// folder at most once. A folder dropped twice is walked each time. Stops when the queue
// is full. Refreshes LblListCount at the end of every call that got past the limit
// test.
void AddPathToList(const std::wstring& path, MenuFormControls& menu, FolderSource& fs);

// AddPathToList for each dropped path in the order given, as one batch: a list box
// redrawing after each of thousands of items would freeze the window for minutes.
// Both drop targets (the skin window and the panel's list) add through this.
void AddPathsToList(const std::vector<std::wstring>& paths, MenuFormControls& menu, FolderSource& fs);

}  // namespace tessel::player
