#include "editor/core/dropwalk.h"

#include <utility>

#include "common/wildcard.h"

namespace listwright {
namespace {

// Reads every folder of `from` (one level): files to `filesList`, subfolders to `to`.
void ReadLevel(const FolderQueue& from, FolderQueue& to, std::vector<std::wstring>& filesList,
               FolderSource& folders, std::vector<tessel::FolderScope>& scopes) {
    std::vector<SubFolder> subfolders;
    for (const QueuedFolder& folder : from) {
        subfolders.clear();
        if (!folders.List(folder.path, filesList, subfolders)) continue;
        for (SubFolder& sub : subfolders) {
            if (!scopes[folder.scope].Admit(sub.path, sub.viaLink)) continue;
            to.push_back(QueuedFolder{std::move(sub.path), folder.scope});
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
    std::vector<tessel::FolderScope> scopes;

    for (const std::wstring& item : dropped) {
        switch (folders.Kind(item)) {
        case PathKind::Folder:
            opeListPrim.push_back(QueuedFolder{item, scopes.size()});
            scopes.emplace_back(folders, item);
            break;
        case PathKind::File:
            filesList.push_back(item);
            break;
        case PathKind::Missing:
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
        ReadLevel(*a, *b, filesList, folders, scopes);
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
