// Program folders of the player for the tests under Wine: the settings file, a plain
// skin of our own or the shipped ones, and the program itself for tests that start it
// as a process.
#pragma once

#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

namespace tessel::test {

// The settings lines of a first run.
std::vector<std::wstring> DefaultSettings();

// A file of lines, each followed by CR LF, in code page 932; and its lines read back
// (none when it cannot be read).
void WriteLines(const std::filesystem::path& path, const std::vector<std::wstring>& lines);
std::vector<std::wstring> ReadLines(const std::filesystem::path& path);

// A 24-bit bottom-up bitmap file of these pixels (0x00RRGGBB, top row first).
bool WriteBmp24(const std::filesystem::path& path, int width, int height, const std::uint32_t* pixels);
// A mask of one-pixel squares, black on magenta (black at the top left): the most
// rectangles a mask of its size can give a shape.
bool WriteCheckerboardBmp(const std::filesystem::path& path, int width, int height);

struct ProgramFolderOptions {
    // Setting\init.ini with these lines; none: no file.
    std::optional<std::vector<std::wstring>> settings = DefaultSettings();
    // The build's skins in parts\; otherwise one plain rectangular skin "Azure" (with the
    // shipped icon).
    bool shippedSkins = false;
    // tesselplay.exe of the build beside them.
    bool program = false;
    // The assembled program folder the skins and the program come from; empty: DistDir()
    // (the benchmarks are built knowing where it is, the tests are told when they run).
    std::filesystem::path dist{};
};

// Setting\, parts\ and fav\ in `folder`.
void MakeProgramFolder(const std::filesystem::path& folder, const ProgramFolderOptions& options = {});

class Process;
// The body window of a player process once its start-up has shown it (its last step);
// null if the process ended or nothing showed within half a minute.
HWND WaitForPlayerBody(const Process& program);
// A control of a player process's panel (the settings window) by its id; null while
// the process shows no panel.
HWND PanelControl(const Process& program, int id);

}  // namespace tessel::test
