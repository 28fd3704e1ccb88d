#include "player/shared/long_paths.h"

#include <utility>

namespace tessel::player {
bool LongPathFolders::List(const std::wstring& folder, std::vector<std::wstring>& files,
                           std::vector<SubFolder>& subfolders) {
    std::vector<std::wstring> found;
    std::vector<SubFolder> below;
    if (!system_.List(ExtendedLengthPath(folder, 2), found, below)) return false;
    for (std::wstring& file : found) file = OrdinaryPath(file);
    for (SubFolder& sub : below) sub.path = OrdinaryPath(sub.path);
    return Found(files, subfolders, std::move(found), std::move(below));
}

}  // namespace tessel::player
