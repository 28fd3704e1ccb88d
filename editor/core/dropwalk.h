// Collecting the files of a drop: the dropped files first, then the files of the
// dropped folders level by level (breadth first), with two folder queues that take
// turns. Filtering the result by the extension patterns.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

namespace listwright {

// Identifies a folder however it was reached: volume serial and file index on
// Windows, device and inode on POSIX.
struct FolderId {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FolderId&) const = default;
};

// The file system as the walk needs it.
class FolderSource {
public:
    enum class Kind { Missing, File, Folder };
    struct SubFolder {
        std::wstring path;
        // True if the folder was reached through a link (symbolic link, junction):
        // only such folders can lead back up the tree.
        bool viaLink = false;
    };
    virtual ~FolderSource() = default;
    virtual Kind Classify(const std::wstring& path) = 0;
    // Appends the full paths of the folder's files to `files` and its direct subfolders
    // to `subfolders`, in the order the file system lists them. False (and nothing
    // appended) if the folder cannot be read.
    virtual bool List(const std::wstring& folder, std::vector<std::wstring>& files,
                      std::vector<SubFolder>& subfolders) = 0;
    virtual std::optional<FolderId> Identify(const std::wstring& folder) = 0;

protected:
    // The end of a List that read the whole folder: what it found, appended.
    static bool Found(std::vector<std::wstring>& files, std::vector<SubFolder>& subfolders,
                      std::vector<std::wstring>& foundFiles, std::vector<SubFolder>& foundFolders) {
        files.insert(files.end(), std::make_move_iterator(foundFiles.begin()),
                     std::make_move_iterator(foundFiles.end()));
        subfolders.insert(subfolders.end(), std::make_move_iterator(foundFolders.begin()),
                          std::make_move_iterator(foundFolders.end()));
        return true;
    }
};

// The real file system of the platform this is built for.
FolderSource& SystemFolders();

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
