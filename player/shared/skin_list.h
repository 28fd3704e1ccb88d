// The skins offered to the user: the sub-folders of the program's `parts` folder.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace tessel::player {

struct SkinListResult {
    bool ok = false;
    std::vector<std::wstring> names;  // in the order the skin list shows them
    std::wstring error;               // why the folder could not be listed (ok == false)
};

// Names of the sub-folders of `partsFolder` that do not match the pattern "~*" (a
// folder whose name begins with "~" is a work or test folder, never offered). Files are
// not skins. The names come in the order of the control panel's sorted list box:
// alphabetical without regard to case, names that differ only in case in code order.
// A missing or unreadable folder is an error (the caller reports it); an empty one
// gives an empty list.
SkinListResult ListSkins(const std::filesystem::path& partsFolder);

// The skin list's order, exposed for tests: true if `a` comes before `b`.
bool SkinNameLess(const std::wstring& a, const std::wstring& b);

}  // namespace tessel::player
