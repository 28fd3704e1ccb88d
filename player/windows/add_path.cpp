#include "player/windows/add_path.h"

#include <algorithm>

namespace tessel::player {
namespace {

// Far deeper than any real tree; a guard for folders that cannot be identified (a
// loop through them would otherwise only end with the stack).
constexpr std::size_t kMaxDepth = 256;

struct Walk {
    MenuFormControls& menu;
    DropFileSystem& fs;
    std::vector<FolderKey> path;  // the folders from the dropped item down to here
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
                if (fs.FolderAttributes(item) == kSkippedFolderAttributes) return;
                const std::optional<FolderKey> key = fs.Identify(item);
                if (key && std::find(path.begin(), path.end(), *key) != path.end()) break;  // a loop
                if (path.size() >= kMaxDepth) break;
                std::vector<std::wstring> files, subfolders;
                fs.List(item, files, subfolders);
                for (auto& file : files) {
                    if (full) break;
                    Add(file);
                }
                // A folder that cannot be identified stands for itself only.
                path.push_back(key.value_or(FolderKey{~0ull, path.size()}));
                for (const auto& sub : subfolders) {
                    if (full) break;
                    Call(sub);
                }
                path.pop_back();
                break;
            }
            case PathKind::None:
                break;
        }
        menu.LblListCount.SetCaption(std::to_wstring(menu.LstM3u.ListCount()));
    }
};

}  // namespace

void AddPathToList(const std::wstring& path, MenuFormControls& menu, DropFileSystem& fs) {
    Walk walk{menu, fs, {}, false};
    walk.Call(path);
}

void AddPathsToList(const std::vector<std::wstring>& paths, MenuFormControls& menu, DropFileSystem& fs) {
    struct Batch {
        const ListBox& list;
        explicit Batch(const ListBox& l) : list(l) { list.BeginBatch(); }
        ~Batch() { list.EndBatch(); }
    } batch(menu.LstM3u);
    for (const auto& path : paths) AddPathToList(path, menu, fs);
}

}  // namespace tessel::player
