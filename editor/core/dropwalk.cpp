#include "editor/core/dropwalk.h"

#include <utility>

#include "common/wildcard.h"

namespace listwright {
namespace {

// The folders of one walk as a tree: each knows its parent, so a link can be checked
// against the folders on its way down without keeping whole paths per queue entry.
class WalkTree {
public:
    explicit WalkTree(FolderSource& folders) : folders_(folders) {}

    std::size_t Add(std::wstring path, std::size_t parent) {
        nodes_.push_back(Node{std::move(path), parent, std::nullopt, false});
        return nodes_.size() - 1;
    }

    // True if `linkPath` names the same folder as `from` or one of its ancestors.
    bool LeadsBack(const std::wstring& linkPath, std::size_t from) {
        const std::optional<FolderId> id = folders_.Identify(linkPath);
        // A link that cannot be identified cannot be proven safe: leave it out.
        if (!id) return true;
        for (std::size_t n = from;; n = nodes_[n].parent) {
            const std::optional<FolderId>& known = IdOf(n);
            if (known && *known == *id) return true;
            if (nodes_[n].parent == kRoot) return false;
        }
    }

    static constexpr std::size_t kRoot = static_cast<std::size_t>(-1);

private:
    struct Node {
        std::wstring path;
        std::size_t parent;
        std::optional<FolderId> id;
        bool looked;
    };
    // Folders are identified only when a link has to be compared with them.
    const std::optional<FolderId>& IdOf(std::size_t n) {
        Node& node = nodes_[n];
        if (!node.looked) {
            node.id = folders_.Identify(node.path);
            node.looked = true;
        }
        return node.id;
    }

    FolderSource& folders_;
    std::vector<Node> nodes_;
};

// Reads every folder of `from` (one level): files to `filesList`, subfolders to `to`.
void ReadLevel(const FolderQueue& from, FolderQueue& to, std::vector<std::wstring>& filesList,
               FolderSource& folders, WalkTree& tree) {
    std::vector<FolderSource::SubFolder> subfolders;
    for (const QueuedFolder& folder : from) {
        subfolders.clear();
        if (!folders.List(folder.path, filesList, subfolders)) continue;
        for (FolderSource::SubFolder& sub : subfolders) {
            if (sub.viaLink && tree.LeadsBack(sub.path, folder.node)) continue;
            const std::size_t node = tree.Add(sub.path, folder.node);
            to.push_back(QueuedFolder{std::move(sub.path), node});
        }
    }
}

}  // namespace

WalkResult CollectDroppedFiles(const std::vector<std::wstring>& dropped,
                               std::vector<std::wstring>& filesList, FolderQueue& opeListPrim,
                               FolderQueue& opeListSec, FolderSource& folders,
                               const std::function<bool()>& letMessagesRun) {
    WalkResult result;
    filesList.clear();
    opeListPrim.clear();
    opeListSec.clear();
    WalkTree tree(folders);

    for (const std::wstring& item : dropped) {
        switch (folders.Classify(item)) {
        case FolderSource::Kind::Folder:
            opeListPrim.push_back(QueuedFolder{item, tree.Add(item, WalkTree::kRoot)});
            break;
        case FolderSource::Kind::File:
            filesList.push_back(item);
            break;
        case FolderSource::Kind::Missing:
            break;
        }
    }

    // Queue A holds the dropped folders and every second level after them, queue B the
    // levels in between.
    FolderQueue* a = &opeListPrim;
    FolderQueue* b = &opeListSec;
    while (!a->empty()) {
        if (letMessagesRun && !letMessagesRun()) {
            result.aborted = true;
            filesList.clear();
            break;
        }
        ++result.levels;
        b->clear();
        ReadLevel(*a, *b, filesList, folders, tree);
        a->clear();
        std::swap(a, b);
    }
    opeListPrim.clear();
    opeListSec.clear();
    return result;
}

namespace {

// Most extension patterns are an asterisk and a plain ending ("*.mp3"); such a pattern
// matches exactly the texts that end with that ending, which is a cheap comparison.
class DropPattern {
public:
    explicit DropPattern(const std::wstring& pattern) : wildcard_(pattern) {
        if (pattern.size() >= 1 && pattern[0] == L'*' &&
            pattern.find_first_of(L"*?#[", 1) == std::wstring::npos) {
            suffix_ = pattern.substr(1);
            plainSuffix_ = true;
        }
    }
    bool Matches(const std::wstring& text) const {
        if (plainSuffix_) {
            return text.size() >= suffix_.size() &&
                   text.compare(text.size() - suffix_.size(), suffix_.size(), suffix_) == 0;
        }
        return wildcard_.Matches(text);
    }

private:
    tessel::WildcardPattern wildcard_;
    std::wstring suffix_;
    bool plainSuffix_ = false;
};

}  // namespace

std::vector<std::wstring> FilterByPatterns(const std::vector<std::wstring>& paths,
                                           const std::vector<std::wstring>& patterns) {
    std::vector<DropPattern> compiled;
    compiled.reserve(patterns.size());
    for (const std::wstring& p : patterns) compiled.emplace_back(p);
    std::vector<std::wstring> kept;
    if (compiled.empty()) return kept;
    for (const std::wstring& path : paths) {
        for (const DropPattern& pattern : compiled) {
            if (pattern.Matches(path)) {
                kept.push_back(path);
                break;
            }
        }
    }
    return kept;
}

}  // namespace listwright
