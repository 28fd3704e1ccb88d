// The folder trees whose links lead round in a circle (tests/make-link-loops.sh, the
// script the drop tests under Wine use too), made once per test program in a
// temporary folder. POSIX only: links are made with ln -s.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <initializer_list>
#include <stdexcept>
#include <string>
#include <vector>

#include "tests/support/temp_dir.h"

namespace tessel::test {

inline const std::filesystem::path& LinkLoops() {
    static const TempDir dir("link-loops");
    static const std::filesystem::path loops = [] {
        const std::filesystem::path out = dir / "loops";
        const std::string command = "sh '" TESSEL_SOURCE_DIR "/tests/make-link-loops.sh' '" + out.string() + "'";
        if (std::system(command.c_str()) != 0) throw std::runtime_error("make-link-loops.sh failed");
        return out;
    }();
    return loops;
}

// Paths below the trees, given relative to them.
inline std::vector<std::wstring> LoopPaths(std::initializer_list<const char*> relative) {
    std::vector<std::wstring> out;
    for (const char* r : relative) out.push_back((LinkLoops() / r).wstring());
    return out;
}

}  // namespace tessel::test
