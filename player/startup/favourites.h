// The favourites folder is optional: the player plays without it. A folder that cannot
// be made or read leaves the favourites menu at "更新する" and is reported once, not at
// every rebuild of the menu (each skin change rebuilds it).
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "common/folders.h"

namespace tessel::player {

struct FavouritesFolder {
    bool usable = false;
    // The names of its files (no folder part), in the order the folder lists them.
    std::vector<std::wstring> names;
    // When it is not usable: what failed and the system's reason, if any.
    std::wstring problem;
    std::wstring reason;
};

// Makes a folder; nothing on success, else the system's reason.
using MakeFolder = std::function<std::optional<std::wstring>(const std::wstring& folder)>;

// Reads the favourites folder, making it first when it is missing.
FavouritesFolder ReadFavouritesFolder(FolderSource& folders, const std::wstring& folder, const MakeFolder& make);

// Whether to tell the user that the favourites cannot be used: the first time only.
class FavouritesNotice {
public:
    bool ShouldSay(const FavouritesFolder& read) {
        if (read.usable || said_) return false;
        said_ = true;
        return true;
    }

private:
    bool said_ = false;
};

}  // namespace tessel::player
