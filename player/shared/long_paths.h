// Paths of MAX_PATH characters or more in the walks through dropped folders. The Win32
// file calls refuse such a path in its ordinary form (unless the system allows long
// paths to every program), but take it in the \\?\ form; the rest of the player (the
// existence test, the media device, the list files) uses the ordinary form. So the
// walk asks the file system in the \\?\ form where the length needs it and gives the
// paths it finds back in the ordinary form. No platform headers: the rule is text.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "common/fileio.h"
#include "common/folders.h"

namespace tessel::player {

// A file-system port that passes every path in the form its length needs and gives
// the paths it lists back in the ordinary form.
class LongPathFolders final : public FolderSource {
public:
    explicit LongPathFolders(FolderSource& system) : system_(system) {}
    PathKind Kind(const std::wstring& path) override { return system_.Kind(ExtendedLengthPath(path)); }
    std::uint32_t Attributes(const std::wstring& path) override {
        return system_.Attributes(ExtendedLengthPath(path));
    }
    std::optional<FolderId> Identify(const std::wstring& folder) override {
        return system_.Identify(ExtendedLengthPath(folder));
    }
    bool List(const std::wstring& folder, std::vector<std::wstring>& files,
              std::vector<SubFolder>& subfolders) override;

private:
    FolderSource& system_;
};

}  // namespace tessel::player
