// Names the settings file keeps from one run to the next. The file is code page 932:
// a name holding a character that code page lacks (an accented letter, most of
// Unicode) would come back with '?' in its place and name nothing. Such a name is kept
// as the short (8.3) name Windows gives the same file or folder, which is plain ASCII,
// when the volume has one.
#pragma once

#include <optional>
#include <string>

namespace tessel::player {

// The form of a list file's path that line 10 can hold, or nothing.
std::optional<std::wstring> StorableListPath(const std::wstring& path);

// The form of the skin folder parts\<name> under the program folder that line 1 can
// hold (the folder's own name, or its short name), or nothing.
std::optional<std::wstring> StorableSkinName(const std::wstring& programFolder, const std::wstring& name);

}  // namespace tessel::player
