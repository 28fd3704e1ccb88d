// The POSIX file system for the walk (native test build): std::filesystem, folders
// identified by device and inode.
#include <sys/stat.h>

#include <filesystem>
#include <system_error>

#include <iterator>

#include "common/fileio.h"
#include "editor/core/dropwalk.h"

namespace listwright {
namespace {

namespace fs = std::filesystem;

class PosixFolders final : public FolderSource {
public:
    Kind Classify(const std::wstring& path) override {
        std::error_code ec;
        const fs::file_status st = fs::status(fs::path(path), ec);
        if (ec || !fs::exists(st)) return Kind::Missing;
        return fs::is_directory(st) ? Kind::Folder : Kind::File;
    }

    bool List(const std::wstring& folder, std::vector<std::wstring>& files,
              std::vector<SubFolder>& subfolders) override {
        std::error_code ec;
        fs::directory_iterator it(fs::path(folder), ec);
        if (ec) return false;
        std::vector<std::wstring> foundFiles;
        std::vector<SubFolder> foundFolders;
        for (const fs::directory_iterator end; it != end; it.increment(ec)) {
            if (ec) return false;
            const fs::directory_entry& entry = *it;
            std::error_code kindError;
            if (entry.is_directory(kindError)) {
                foundFolders.push_back(SubFolder{entry.path().wstring(), entry.is_symlink(kindError)});
            } else if (!tessel::IsTemporaryFileName(entry.path().filename().wstring())) {
                foundFiles.push_back(entry.path().wstring());
            }
        }
        if (ec) return false;
        return Found(files, subfolders, foundFiles, foundFolders);
    }

    std::optional<FolderId> Identify(const std::wstring& folder) override {
        struct stat st {};
        if (::stat(fs::path(folder).c_str(), &st) != 0) return std::nullopt;
        return FolderId{static_cast<std::uint64_t>(st.st_dev), static_cast<std::uint64_t>(st.st_ino)};
    }
};

}  // namespace

FolderSource& SystemFolders() {
    static PosixFolders folders;
    return folders;
}

}  // namespace listwright
