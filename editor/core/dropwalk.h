// Collecting the files of a drop: the dropped files first, then the files of the
// dropped folders level by level (breadth first), with two folder queues that take
// turns. Filtering the result by the extension patterns.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "common/folders.h"

namespace listwright {

using tessel::FolderId;
using tessel::FolderSource;
using tessel::PathKind;
using tessel::SubFolder;
using tessel::SystemFolders;

// One folder waiting in a queue: its path and the dropped folder (numbered in drop
// order among the dropped folders) whose walk reached it.
struct QueuedFolder {
    std::wstring path;
    std::size_t scope = 0;
};
using FolderQueue = std::vector<QueuedFolder>;

struct WalkResult {
    int levels = 0;        // number of the last level reached
    bool aborted = false;  // `letMessagesRun` asked to stop (the program is ending)
};

// `letMessagesRun` runs once before each level; returning false abandons the walk
// (with `filesList` emptied). A folder that cannot be read adds nothing. Each dropped
// folder is a walk of its own, in which every folder is read once, by the first way
// that reaches it: a link to a folder already entered (one on the way down, or one
// reached before) is not followed, so every walk ends and reads each folder at most
// once.
WalkResult CollectDroppedFiles(const std::vector<std::wstring>& dropped,
                               std::vector<std::wstring>& filesList, FolderQueue& opeListPrim,
                               FolderQueue& opeListSec, FolderSource& folders,
                               const std::function<bool()>& letMessagesRun);

// The paths that match one of the patterns (case-sensitive), in their order.
std::vector<std::wstring> FilterByPatterns(const std::vector<std::wstring>& paths,
                                           const std::vector<std::wstring>& patterns);

}  // namespace listwright
