// The POSIX file system for the drop walks: std::filesystem, folders identified by
// device and inode.
#include <sys/stat.h>

#include <filesystem>
#include <system_error>
#include <utility>

#include "common/fileio.h"
#include "common/folders.h"

namespace tessel {
namespace {

namespace fs = std::filesystem;

class PosixFolders final : public FolderSource {
public:
    PathKind Kind(const std::wstring& path) override {
        std::error_code ec;
        const fs::file_status st = fs::status(fs::path(path), ec);
        if (ec || !fs::exists(st)) return PathKind::Missing;
        return fs::is_directory(st) ? PathKind::Folder : PathKind::File;
    }

    std::uint32_t Attributes(const std::wstring& path) override { return Kind(path) == PathKind::Folder ? 16u : 0u; }

    std::optional<FolderId> Identify(const std::wstring& folder) override {
        struct stat st {};
        if (::stat(fs::path(folder).c_str(), &st) != 0) return std::nullopt;
        return FolderId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    }

    bool List(const std::wstring& folder, std::vector<std::wstring>& files,
              std::vector<SubFolder>& subfolders) override {
        std::error_code ec;
        fs::directory_iterator it(fs::path(folder), ec);
        if (ec) return false;
        Listing found;
        for (const fs::directory_iterator end; it != end; it.increment(ec)) {
            if (ec) return false;
            const fs::directory_entry& entry = *it;
            std::error_code kindError;
            const bool isFolder = entry.is_directory(kindError);
            found.Add(entry.path().wstring(), entry.path().filename().wstring(), isFolder,
                      isFolder && entry.is_symlink(kindError));
        }
        return !ec && found.HandOver(files, subfolders);
    }
};

}  // namespace

FolderSource& SystemFolders() {
    static PosixFolders folders;
    return folders;
}

}  // namespace tessel
