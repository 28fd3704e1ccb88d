#include "player/startup/favourites.h"

#include <filesystem>

#include "player/shared/texts.h"

namespace tessel::player {

FavouritesFolder ReadFavouritesFolder(FolderSource& folders, const std::wstring& folder, const MakeFolder& make) {
    FavouritesFolder read;
    if (folders.Kind(folder) != PathKind::Folder) {
        // Missing, or a file of that name in the way: making it says why not.
        if (auto failure = make(folder)) {
            read.problem = texts::kFavFolderFailed;
            read.reason = std::move(*failure);
            return read;
        }
    }
    std::vector<std::wstring> files;
    std::vector<SubFolder> subfolders;
    if (!folders.List(folder, files, subfolders)) {
        // Not a silently empty menu: the user's favourites are there but out of reach.
        read.problem = texts::kFavFolderUnreadable;
        return read;
    }
    read.usable = true;
    read.names.reserve(files.size());
    for (const std::wstring& file : files) read.names.push_back(std::filesystem::path(file).filename().wstring());
    return read;
}

}  // namespace tessel::player
