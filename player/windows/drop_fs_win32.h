// The real file system behind AddPathToList on Windows.
#pragma once

#include <string>
#include <vector>

#include "player/windows/add_path.h"

namespace tessel::player {

class Win32DropFileSystem final : public DropFileSystem {
public:
    PathKind Kind(const std::wstring& path) override;
    std::uint32_t FolderAttributes(const std::wstring& path) override;
    std::optional<FolderKey> Identify(const std::wstring& path) override;
    void List(const std::wstring& folder, std::vector<std::wstring>& files,
              std::vector<std::wstring>& subfolders) override;
};

}  // namespace tessel::player
