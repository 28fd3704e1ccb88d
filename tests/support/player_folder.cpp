#include "tests/support/player_folder.h"

#include <cstdint>
#include <fstream>

#include "common/textfile.h"
#include "player/panel/MenuForm.h"
#include "player/shared/texts.h"
#include "player/windows/PlayerForm.h"
#include "tests/support/win32.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;

void Put(std::string& out, std::uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<char>((value >> (8 * i)) & 0xFF));
}

bool WriteBytes(const fs::path& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary);
    return static_cast<bool>(out.write(bytes.data(), static_cast<std::streamsize>(bytes.size())));
}

void WriteSolidBitmap(const fs::path& path, int width, int height, std::uint32_t colour) {
    const std::vector<std::uint32_t> pixels(static_cast<std::size_t>(width) * static_cast<std::size_t>(height), colour);
    WriteBmp24(path, width, height, pixels.data());
}

}  // namespace

std::vector<std::wstring> DefaultSettings() {
    return {L"Azure", L"300", L"300", L"0", L"0", L"0", L"0", L"255", L"255", L"", L"-1", L"0", L"0", L"0"};
}

void WriteLines(const fs::path& path, const std::vector<std::wstring>& lines) {
    WriteBytes(path, EncodeTextLines(lines).bytes);
}

std::vector<std::wstring> ReadLines(const fs::path& path) {
    auto read = ReadTextFileLines(path);
    return read.ok ? read.lines : std::vector<std::wstring>{};
}

bool WriteBmp24(const fs::path& path, int width, int height, const std::uint32_t* pixels) {
    const std::uint32_t stride = (static_cast<std::uint32_t>(width) * 3 + 3) & ~3u;
    std::string bytes = "BM";
    Put(bytes, 54 + stride * static_cast<std::uint32_t>(height), 4), Put(bytes, 0, 4), Put(bytes, 54, 4);
    Put(bytes, 40, 4), Put(bytes, static_cast<std::uint32_t>(width), 4), Put(bytes, static_cast<std::uint32_t>(height), 4);
    Put(bytes, 1, 2), Put(bytes, 24, 2);
    bytes.append(24, '\0');
    for (int y = height - 1; y >= 0; --y) {
        const std::size_t rowStart = bytes.size();
        for (int x = 0; x < width; ++x) Put(bytes, pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x)], 3);
        bytes.resize(rowStart + stride, '\0');
    }
    return WriteBytes(path, bytes);
}

bool WriteCheckerboardBmp(const fs::path& path, int width, int height) {
    const auto w = static_cast<std::size_t>(width);
    std::vector<std::uint32_t> pixels(w * static_cast<std::size_t>(height), 0xFF00FF);
    for (int y = 0; y < height; ++y)
        for (int x = y % 2; x < width; x += 2) pixels[static_cast<std::size_t>(y) * w + static_cast<std::size_t>(x)] = 0;
    return WriteBmp24(path, width, height, pixels.data());
}

HWND WaitForPlayerBody(const Process& program) {
    HWND body = nullptr;
    WaitUntil(
        [&] {
            body = FindWindowOfProcess(program.Id(), player::kPlayerFormClass, player::texts::kPlayerFormCaption);
            return (body && ::IsWindowVisible(body)) || !program.Running();
        },
        30s);
    return body && ::IsWindowVisible(body) ? body : nullptr;
}

HWND PanelControl(const Process& program, int id) {
    HWND panel = FindWindowOfProcess(program.Id(), player::kMenuFormClass);
    return panel ? ::GetDlgItem(panel, id) : nullptr;
}

void MakeProgramFolder(const fs::path& folder, const ProgramFolderOptions& options) {
    const fs::path dist = options.dist.empty() ? DistDir() : options.dist;
    fs::create_directories(folder / L"Setting");
    fs::create_directories(folder / L"fav");
    const auto skin = folder / L"parts" / L"Azure";
    fs::create_directories(skin);
    if (options.shippedSkins) {
        fs::copy(dist / L"parts", folder / L"parts", fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    } else {
        // A plain rectangular skin: the body window right against the skin window's
        // lower-left corner.
        // Removed first: the runtime's copy over an existing file fails under Wine.
        fs::remove(skin / L"task.ico");
        fs::copy_file(dist / L"parts" / L"Azure" / L"task.ico", skin / L"task.ico");
        WriteLines(skin / L"define.ini", {L"320,120", L"255,0,255", L"255,0,255", L"255,255,255", L"0,0"});
        WriteSolidBitmap(skin / L"skin.bmp", 320, 120, 0x28508C);
        WriteSolidBitmap(skin / L"s_mask.bmp", 320, 120, 0);
        WriteSolidBitmap(skin / L"player.bmp", 96, 68, 0x1E3C6E);
        WriteSolidBitmap(skin / L"p_mask.bmp", 96, 83, 0);
    }
    if (options.program)
        fs::copy_file(dist / L"tesselplay.exe", folder / L"tesselplay.exe", fs::copy_options::overwrite_existing);
    if (options.settings) WriteLines(folder / L"Setting" / L"init.ini", *options.settings);
}

}  // namespace tessel::test
