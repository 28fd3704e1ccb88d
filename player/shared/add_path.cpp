#include "player/shared/add_path.h"

#include "common/flag_scope.h"
#include "player/shared/long_paths.h"

namespace tessel::player {
namespace {

// Far deeper than any real tree; a guard for folders that cannot be identified (a
// loop through them would otherwise only end with the stack).
constexpr std::size_t kMaxDepth = 256;

struct Walk {
    MenuFormControls& menu;
    FolderSource& fs;
    // Every folder is walked once, by the first way that reaches it. A link to a
    // folder that cannot be identified is walked all the same, but only so deep.
    FolderScope scope;
    const KeepWalking& keepWalking;
    std::size_t depth = 0;
    bool full = false;
    bool ended = false;

    void Add(const std::wstring& item) {
        if (!menu.LstM3u.AddItem(item)) full = true;
    }

    // `viaLink`: a subfolder reached through a link (the dropped path itself is the
    // scope's own).
    void Call(const std::wstring& item, bool viaLink = false) {
        if (full || ended || menu.LstM3u.ListCount() > kDropQueueLimit) return;
        switch (fs.Kind(item)) {
            case PathKind::File:
                Add(item);
                break;
            case PathKind::Folder: {
                if (fs.Attributes(item) == kSkippedFolderAttributes) return;
                if (depth >= kMaxDepth) break;
                if (depth > 0 && !scope.Admit(item, viaLink)) break;
                if (keepWalking && !keepWalking()) {
                    ended = true;
                    break;
                }
                std::vector<std::wstring> files;
                std::vector<SubFolder> subfolders;
                fs.List(item, files, subfolders);
                for (auto& file : files) {
                    if (full) break;
                    Add(file);
                }
                ++depth;
                for (const auto& sub : subfolders) {
                    if (full || ended) break;
                    Call(sub.path, sub.viaLink);
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

// The list box does not redraw while it lives.
class ListBatch {
public:
    explicit ListBatch(const ListBox& list) : list_(list) { list_.BeginBatch(); }
    ~ListBatch() { list_.EndBatch(); }
    ListBatch(const ListBatch&) = delete;
    ListBatch& operator=(const ListBatch&) = delete;

private:
    const ListBox& list_;
};

}  // namespace

bool AddPathToList(const std::wstring& path, MenuFormControls& menu, FolderSource& fs,
                   const KeepWalking& keepWalking) {
    LongPathFolders folders(fs);
    Walk walk{menu, folders, FolderScope(folders, path, true), keepWalking};
    walk.Call(path);
    return !walk.ended;
}

bool AddPathsToList(const std::vector<std::wstring>& paths, MenuFormControls& menu, FolderSource& fs,
                    const KeepWalking& keepWalking) {
    const ListBatch batch(menu.LstM3u);
    for (const auto& path : paths) {
        if (!AddPathToList(path, menu, fs, keepWalking)) return false;
    }
    return true;
}

void DropWalks::Add(const std::vector<std::wstring>& paths, MenuFormControls& menu, FolderSource& fs,
                    const KeepWalking& keepWalking) {
    waiting_.insert(waiting_.end(), paths.begin(), paths.end());
    // The walk going on takes them when it is through with what it has.
    if (walking_) return;
    const FlagScope walking(walking_);
    const ListBatch batch(menu.LstM3u);
    while (!waiting_.empty()) {
        const std::wstring path = std::move(waiting_.front());
        waiting_.pop_front();
        if (!AddPathToList(path, menu, fs, keepWalking)) waiting_.clear();
    }
}

}  // namespace tessel::player
