#include "editor/core/extsettings.h"

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

std::vector<std::wstring> PatternsFromLines(const std::vector<std::wstring>& lines) {
    std::vector<std::wstring> patterns;
    for (const std::wstring& line : lines) {
        if (!line.empty()) patterns.push_back(line);
    }
    return patterns;
}

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
    const tessel::TextReadResult read = tessel::ReadTextFileLines(iniPath);
    if (!read.ok) {
        result.status = ExtIniRead::Status::Failed;
        result.error = read.error;
        return result;
    }
    result.status = ExtIniRead::Status::Ok;
    result.patterns = PatternsFromLines(read.lines);
    return result;
}

ExtIniWrite WriteExtIni(const fs::path& iniPath, const std::vector<std::wstring>& patterns) {
    const tessel::TextWriteResult written = tessel::WriteTextFileLines(iniPath, patterns);
    return ExtIniWrite{written.ok, written.error};
}

}  // namespace listwright
