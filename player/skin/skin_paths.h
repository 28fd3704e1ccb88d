// The six files of the current skin, each the program folder, "\parts\", the skin
// name, "\" and the file name.
#pragma once

#include <string>

#include "player/shared/llvariable.h"

namespace tessel::player {

// Builds the paths from vars.SkinName. At start-up the two interaction flags are
// reset too; a run-time skin change leaves them alone.
void SetSkinPaths(const std::wstring& programFolder, LLVariable& vars, bool atStartUp);

// The program folder with a backslash and a relative path appended (one separator).
std::wstring JoinProgramPath(const std::wstring& programFolder, const std::wstring& relative);

}  // namespace tessel::player
