#include "player/windows/add_path.h"

#include <unordered_set>

namespace tessel::player {
namespace {

// Far deeper than any real tree; a guard for folders that cannot be identified (a
// loop through them would otherwise only end with the stack).
constexpr std::size_t kMaxDepth = 256;

struct Walk {
    MenuFormControls& menu;
    FolderSource& fs;
    // Every folder this walk has entered. Links can reach a folder by many ways (two
    // folders linking to each other on each of n levels make 2^n ways down); walking
    // each folder once keeps the walk in proportion to the folders, and a link back
    // to a folder on the way down is one such second way.
    std::unordered_set<FolderId, FolderIdHash> entered;
    std::size_t depth = 0;
    bool full = false;

    void Add(const std::wstring& item) {
        if (!menu.LstM3u.AddItem(item)) full = true;
    }

    void Call(const std::wstring& item) {
        if (full || menu.LstM3u.ListCount() > kDropQueueLimit) return;
        switch (fs.Kind(item)) {
            case PathKind::File:
                Add(item);
                break;
            case PathKind::Folder: {
                if (fs.Attributes(item) == kSkippedFolderAttributes) return;
                // A folder that cannot be identified is walked, but only so deep.
                if (depth >= kMaxDepth) break;
                const std::optional<FolderId> key = fs.Identify(item);
                if (key && !entered.insert(*key).second) break;
                std::vector<std::wstring> files;
                std::vector<SubFolder> subfolders;
                fs.List(item, files, subfolders);
                for (auto& file : files) {
                    if (full) break;
                    Add(file);
                }
                ++depth;
                for (const auto& sub : subfolders) {
                    if (full) break;
                    Call(sub.path);
                }
                --depth;
                break;
            }
            case PathKind::Missing:
                break;
        }
        menu.LblListCount.SetCaption(std::to_wstring(menu.LstM3u.ListCount()));
    }
};

}  // namespace

void AddPathToList(const std::wstring& path, MenuFormControls& menu, FolderSource& fs) {
    Walk walk{menu, fs, {}, 0, false};
    walk.Call(path);
}

void AddPathsToList(const std::vector<std::wstring>& paths, MenuFormControls& menu, FolderSource& fs) {
    struct Batch {
        const ListBox& list;
        explicit Batch(const ListBox& l) : list(l) { list.BeginBatch(); }
        ~Batch() { list.EndBatch(); }
    } batch(menu.LstM3u);
    for (const auto& path : paths) AddPathToList(path, menu, fs);
}

}  // namespace tessel::player
