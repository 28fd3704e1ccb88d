// The extension patterns file m3usetting\ext.ini beside the editor program: one
// pattern per line, code page 932, CR LF. Read once at start, written once at exit.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace listwright {

std::filesystem::path ExtIniPath(const std::filesystem::path& programFolder);

// Lines of ext.ini that code page 932 does not give back byte for byte once decoded
// (bytes of another code page, say, which read as U+FFFD): their bytes as read, by the
// pattern they decode to, so that writing the patterns back keeps them instead of
// writing '?', itself a wildcard.
using KeptLineBytes = std::multimap<std::wstring, std::string>;

struct ExtIniRead {
    enum class Status {
        Ok,             // read
        CreatedEmpty,   // the file was missing and has been created empty
        FolderMissing,  // there is no m3usetting folder
        Failed,         // the file exists but cannot be read, or cannot be created
    };
    Status status = Status::Failed;
    std::vector<std::wstring> patterns;  // every non-empty line, verbatim, in file order
    KeptLineBytes kept;
    std::wstring error;
};
ExtIniRead ReadExtIni(const std::filesystem::path& iniPath);

// True when ext.ini (code page 932) holds the pattern exactly. A character it cannot
// hold would come back as '?', itself a wildcard: "*Café*" would return as "*Caf?*"
// and match more than the user asked for.
bool PatternFitsExtIni(std::wstring_view pattern);

struct ExtIniWrite {
    bool ok = false;
    std::wstring error;
};
// Replaces the file atomically with the patterns, in the order given. A pattern found
// in `kept` is written as the bytes kept for it (each kept line once).
ExtIniWrite WriteExtIni(const std::filesystem::path& iniPath, const std::vector<std::wstring>& patterns,
                        const KeptLineBytes& kept = {});

}  // namespace listwright
