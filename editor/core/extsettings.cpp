#include "editor/core/extsettings.h"

#include <string_view>
#include <system_error>

#include "common/cp932.h"
#include "common/fileio.h"
#include "common/textfile.h"

namespace listwright {

namespace fs = std::filesystem;

fs::path ExtIniPath(const fs::path& programFolder) {
    return programFolder / L"m3usetting" / L"ext.ini";
}

bool PatternFitsExtIni(std::wstring_view pattern) { return tessel::EncodeCp932(pattern).replaced == 0; }

ExtIniRead ReadExtIni(const fs::path& iniPath) {
    ExtIniRead result;
    std::error_code ec;
    if (!fs::is_directory(iniPath.parent_path(), ec)) {
        result.status = ExtIniRead::Status::FolderMissing;
        return result;
    }
    if (!fs::exists(iniPath, ec) && !ec) {
        // A missing file in an existing folder starts an empty pattern list, and the
        // file is created so that the user finds it there.
        const tessel::TextWriteResult created = tessel::WriteTextFileLines(iniPath, {});
        result.status = created.ok ? ExtIniRead::Status::CreatedEmpty : ExtIniRead::Status::Failed;
        result.error = created.error;
        return result;
    }
    // Read as bytes, so that a line that does not survive decoding can be kept as it is.
    std::string bytes;
    if (!tessel::ReadWholeFile(iniPath, bytes, result.error)) {
        result.status = ExtIniRead::Status::Failed;
        return result;
    }
    result.status = ExtIniRead::Status::Ok;
    // The line rule of every text file: CR LF or a lone LF ends a line, a lone CR stays
    // in it, and a last line needs no line end.
    const std::string_view all(bytes);
    std::size_t start = 0;
    while (start < all.size()) {
        std::size_t end = all.find('\n', start);
        const std::size_t next = end == std::string_view::npos ? all.size() : end + 1;
        if (end == std::string_view::npos) end = all.size();
        else if (end > start && all[end - 1] == '\r') --end;
        const std::string_view line = all.substr(start, end - start);
        start = next;
        if (line.empty()) continue;
        std::wstring pattern = tessel::DecodeCp932(line);
        if (tessel::EncodeCp932(pattern).bytes != line) result.kept.emplace(pattern, std::string(line));
        result.patterns.push_back(std::move(pattern));
    }
    return result;
}

ExtIniWrite WriteExtIni(const fs::path& iniPath, const std::vector<std::wstring>& patterns,
                        const KeptLineBytes& kept) {
    std::multimap<std::wstring, std::string> unused = kept;
    std::string bytes;
    for (const std::wstring& pattern : patterns) {
        const auto found = unused.find(pattern);
        if (found != unused.end()) {
            bytes += found->second;
            unused.erase(found);
        } else {
            bytes += tessel::EncodeCp932(pattern).bytes;
        }
        bytes += "\r\n";
    }
    ExtIniWrite result;
    result.ok = tessel::AtomicReplaceFile(iniPath, bytes, result.error);
    return result;
}

}  // namespace listwright
