// A fixture for tests that start the player as a process: a program folder of its own
// with the build's program in it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string_view>

#include "tests/support/player_folder.h"
#include "tests/support/temp_dir.h"

namespace tessel::test {

class PlayerProcessFixture : public ::testing::Test {
protected:
    explicit PlayerProcessFixture(std::string_view tag) : dir(tag) {}
    void SetUp() override { MakeProgramFolder(dir.path(), {.program = true}); }

    TempDir dir;
    std::filesystem::path exe = dir / L"tesselplay.exe";
};

}  // namespace tessel::test
