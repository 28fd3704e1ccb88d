#include "win32/drops.h"

namespace tessel::win32 {

std::vector<std::wstring> DroppedPaths(HDROP drop) {
    std::vector<std::wstring> paths;
    const UINT count = ::DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = ::DragQueryFileW(drop, i, nullptr, 0);
        std::wstring path(length + 1, L'\0');
        const UINT got = ::DragQueryFileW(drop, i, path.data(), length + 1);
        path.resize(got);
        paths.push_back(std::move(path));
    }
    return paths;
}

}  // namespace tessel::win32
