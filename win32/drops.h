// What a drop of files brings: the paths of a WM_DROPFILES.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <vector>

namespace tessel::win32 {

// The paths of the drop, in the order given. The drop is not finished here (the
// receiver calls DragFinish).
std::vector<std::wstring> DroppedPaths(HDROP drop);

}  // namespace tessel::win32
