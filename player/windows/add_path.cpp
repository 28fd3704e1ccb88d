#include "player/windows/add_path.h"

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
    std::size_t depth = 0;
    bool full = false;

    void Add(const std::wstring& item) {
        if (!menu.LstM3u.AddItem(item)) full = true;
    }

    // `viaLink`: a subfolder reached through a link (the dropped path itself is the
    // scope's own).
    void Call(const std::wstring& item, bool viaLink = false) {
        if (full || menu.LstM3u.ListCount() > kDropQueueLimit) return;
        switch (fs.Kind(item)) {
            case PathKind::File:
                Add(item);
                break;
            case PathKind::Folder: {
                if (fs.Attributes(item) == kSkippedFolderAttributes) return;
                if (depth >= kMaxDepth) break;
                if (depth > 0 && !scope.Admit(item, viaLink)) break;
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

}  // namespace

void AddPathToList(const std::wstring& path, MenuFormControls& menu, FolderSource& fs) {
    Walk walk{menu, fs, FolderScope(fs, path, true)};
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
