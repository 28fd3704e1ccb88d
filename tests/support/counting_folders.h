// The real file system under the drop walks, as the native tests of both programs see
// it: listings counted and in name order (readable expectations; the walks keep
// whatever order they are given), attribute values set by the test (POSIX has no
// system or hidden flag), files listed without being made, and identification that
// can be made to fail.
#pragma once

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "common/folders.h"

namespace tessel::test {

class CountingFolders : public FolderSource {
public:
    int listed = 0;
    bool identifyFails = false;
    std::map<std::wstring, std::uint32_t> attributes;
    std::map<std::wstring, std::vector<std::wstring>> extraFiles;  // thousands take seconds to make

    PathKind Kind(const std::wstring& path) override { return SystemFolders().Kind(path); }
    std::uint32_t Attributes(const std::wstring& path) override {
        const auto it = attributes.find(path);
        return it == attributes.end() ? SystemFolders().Attributes(path) : it->second;
    }
    std::optional<FolderId> Identify(const std::wstring& folder) override {
        if (identifyFails) return std::nullopt;
        return SystemFolders().Identify(folder);
    }
    bool List(const std::wstring& folder, std::vector<std::wstring>& files, std::vector<SubFolder>& subfolders) override {
        ++listed;
        std::vector<std::wstring> found;
        std::vector<SubFolder> below;
        if (!SystemFolders().List(folder, found, below)) return false;
        if (const auto extra = extraFiles.find(folder); extra != extraFiles.end())
            found.insert(found.end(), extra->second.begin(), extra->second.end());
        std::sort(found.begin(), found.end());
        std::sort(below.begin(), below.end(), [](const SubFolder& a, const SubFolder& b) { return a.path < b.path; });
        return Found(files, subfolders, std::move(found), std::move(below));
    }
};

}  // namespace tessel::test
