// The system's own words for an error code of the platform (GetLastError on Windows),
// without the line break the system ends them with; empty when it has none. Only the
// Windows half defines it (common/fileio_win32.cpp): the native build has no use for it.
#pragma once

#include <cstdint>
#include <string>

namespace tessel {

std::wstring SystemMessage(std::uint32_t code);

}  // namespace tessel
