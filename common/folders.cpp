#include "common/folders.h"

#include "common/fileio.h"

namespace tessel {

void FolderSource::Listing::Add(std::wstring path, const std::wstring& name, bool folder, bool viaLink) {
    if (folder) {
        folders.push_back(SubFolder{std::move(path), viaLink});
    } else if (!IsTemporaryFileName(name)) {
        files.push_back(std::move(path));
    }
}

bool FolderScope::Admit(const std::wstring& path, bool viaLink) {
    if (!viaLink && !linked_) {
        pending_.push_back(path);
        return true;
    }
    linked_ = true;
    for (const std::wstring& earlier : pending_) {
        if (const std::optional<FolderId> id = folders_.Identify(earlier)) entered_.insert(*id);
    }
    pending_.clear();
    const std::optional<FolderId> id = folders_.Identify(path);
    // A link that cannot be identified cannot be proven new: left out unless asked for.
    // A folder of its own that cannot be identified was reached by its own path.
    if (!id) return !viaLink || walkUnidentifiedLinks_;
    return entered_.insert(*id).second;
}

}  // namespace tessel
