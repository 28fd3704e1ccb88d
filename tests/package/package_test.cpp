// The download as a user gets it: both programs started from the folder the zip was
// unpacked into (make_zip.sh), with nothing of the build around them.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "player/panel/MenuForm.h"
#include "player/shared/texts.h"
#include "player/windows/PlayerForm.h"
#include "player/windows/SkinForm.h"
#include "tests/support/player_folder.h"
#include "tests/support/win32.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;

// The one folder the zip unpacked into.
fs::path ProgramFolder() {
    const fs::path unpacked = FromEnvironmentPath("TESSEL_TEST_UNPACKED");
    std::vector<fs::path> entries;
    for (const auto& e : fs::directory_iterator(unpacked)) entries.push_back(e.path());
    if (entries.size() != 1 || !fs::is_directory(entries.front())) return {};
    return entries.front();
}

std::string FileBytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// Width and height from a BMP file's header.
SIZE BitmapSize(const fs::path& path) {
    const std::string bytes = FileBytes(path);
    if (bytes.size() < 26) return {};
    auto i32 = [&](std::size_t at) {
        std::uint32_t v = 0;
        for (int k = 3; k >= 0; --k) v = (v << 8) | static_cast<unsigned char>(bytes[at + k]);
        return static_cast<std::int32_t>(v);
    };
    return {i32(18), std::abs(i32(22))};
}

class UnpackedDownload : public ::testing::Test {
protected:
    fs::path folder = ProgramFolder();

    void SetUp() override { ASSERT_FALSE(folder.empty()) << "the zip did not unpack into one folder"; }

    fs::path Settings() const { return folder / L"Setting" / L"init.ini"; }

    // Waits until the player's body window is shown. An error report instead (a file of
    // the download missing or unreadable) is closed and its text handed back.
    static HWND WaitForBody(const Process& p, std::wstring& report) {
        HWND body = nullptr, box = nullptr;
        WaitUntil(
            [&] {
                body = FindWindowOfProcess(p.Id(), tessel::player::kPlayerFormClass, tessel::player::texts::kPlayerFormCaption);
                box = FindWindowOfProcess(p.Id(), L"#32770", nullptr);
                return (body && ::IsWindowVisible(body)) || box || !p.Running();
            },
            30s);
        if (box) {
            report = DialogText(box);
            ::PostMessageW(box, WM_COMMAND, IDOK, 0);
            return nullptr;
        }
        return body && ::IsWindowVisible(body) ? body : nullptr;
    }
};

TEST_F(UnpackedDownload, PlayerShowsItsSkinsAndSavesItsSettingsOnExit) {
    // The first-run file places the skin window elsewhere.
    const auto firstRun = ReadLines(Settings());
    ASSERT_EQ(firstRun.size(), 14u);
    ASSERT_NE(firstRun[1], L"210");
    Process player(folder / L"tesselplay.exe", L"");
    ASSERT_TRUE(player.Started());
    std::wstring report;
    HWND body = WaitForBody(player, report);
    ASSERT_NE(body, nullptr) << Printable(report);

    // The skin window wears the default skin of the unpacked folder.
    HWND skin = FindWindowOfProcess(player.Id(), tessel::player::kSkinFormClass, nullptr);
    ASSERT_NE(skin, nullptr);
    // Shown right after the body window.
    EXPECT_TRUE(WaitUntil([&] { return ::IsWindowVisible(skin) != FALSE; }, 2s));
    RECT r{};
    ASSERT_TRUE(::GetWindowRect(skin, &r));
    const SIZE azure = BitmapSize(folder / L"parts" / L"Azure" / L"skin.bmp");
    EXPECT_EQ(r.right - r.left, azure.cx);
    EXPECT_EQ(r.bottom - r.top, azure.cy);
    // Both shipped skins are offered, and nothing else.
    HWND panel = FindWindowOfProcess(player.Id(), tessel::player::kMenuFormClass, nullptr);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(ListBoxItems(::GetDlgItem(panel, tessel::player::MenuForm::IdLstSkinFile)),
              (std::vector<std::wstring>{L"Azure", L"Ember"}));

    // Moved, then closed the way its close button closes it: the settings file is
    // written with the new place.
    ASSERT_TRUE(::SetWindowPos(skin, nullptr, 210, 95, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    ::Sleep(200);
    ::PostMessageW(body, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(player.WaitExit(10s, &code));
    EXPECT_EQ(code, 0u);
    const auto lines = ReadLines(Settings());
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[0], L"Azure");
    EXPECT_EQ(lines[1], L"210");
    EXPECT_EQ(lines[2], L"95");
    EXPECT_EQ(std::vector<std::wstring>(lines.begin() + 3, lines.end()),
              std::vector<std::wstring>(firstRun.begin() + 3, firstRun.end()));
}

// The editor is where the player looks for it: its own panel button starts it.
TEST_F(UnpackedDownload, EditorStartsFromThePlayerAndKeepsItsPatterns) {
    const fs::path patterns = folder / L"exec" / L"m3usetting" / L"ext.ini";
    const std::string shipped = FileBytes(patterns);
    ASSERT_NE(shipped.find("*.mp3\r\n"), std::string::npos);

    Process player(folder / L"tesselplay.exe", L"");
    std::wstring report;
    HWND body = WaitForBody(player, report);
    ASSERT_NE(body, nullptr) << Printable(report);
    HWND panel = FindWindowOfProcess(player.Id(), tessel::player::kMenuFormClass, nullptr);
    ASSERT_NE(panel, nullptr);
    ::PostMessageW(panel, WM_COMMAND, MAKEWPARAM(tessel::player::MenuForm::IdCmdExecEdit, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(panel, tessel::player::MenuForm::IdCmdExecEdit)));

    // The editor's first window: its main window, or a box that stands before it.
    struct Search {
        DWORD player;
        HWND found = nullptr;
    } search{player.Id()};
    HWND editor = nullptr, box = nullptr;
    DWORD pid = 0;
    WaitUntil(
        [&] {
            search.found = nullptr;
            ::EnumWindows(
                [](HWND hwnd, LPARAM lp) -> BOOL {
                    auto* s = reinterpret_cast<Search*>(lp);
                    DWORD owner = 0;
                    ::GetWindowThreadProcessId(hwnd, &owner);
                    if (owner == ::GetCurrentProcessId() || owner == s->player) return TRUE;
                    wchar_t cls[64] = {};
                    ::GetClassNameW(hwnd, cls, 64);
                    if (lstrcmpiW(cls, L"ListwrightForm1") != 0 && lstrcmpiW(cls, L"#32770") != 0) return TRUE;
                    s->found = hwnd;
                    return FALSE;
                },
                reinterpret_cast<LPARAM>(&search));
            if (!search.found) return false;
            ::GetWindowThreadProcessId(search.found, &pid);
            editor = FindWindowOfProcess(pid, L"ListwrightForm1", nullptr);
            box = FindWindowOfProcess(pid, L"#32770", nullptr);
            return box || (editor && ::IsWindowVisible(editor));
        },
        15s);
    ASSERT_NE(pid, 0u) << "the editor did not start";
    // From here on the editor ends with this test whatever happens.
    struct Ender {
        HANDLE process;
        ~Ender() {
            if (!process) return;
            if (::WaitForSingleObject(process, 0) == WAIT_TIMEOUT) ::TerminateProcess(process, 99);
            ::CloseHandle(process);
        }
    } ender{::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid)};
    ASSERT_NE(ender.process, nullptr);
    // A box would say that its pattern folder is missing.
    ASSERT_EQ(box, nullptr) << Printable(DialogText(box));
    ASSERT_NE(editor, nullptr);
    EXPECT_TRUE(::IsWindowVisible(editor));
    EXPECT_EQ(WindowText(editor), L"Quillow");
    // Started from the unpacked folder, not found somewhere else.
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    ASSERT_TRUE(::QueryFullProcessImageNameW(ender.process, 0, image, &size));
    EXPECT_TRUE(fs::equivalent(image, folder / L"exec" / L"listwright.exe")) << Printable(image);

    ::PostMessageW(editor, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_EQ(::WaitForSingleObject(ender.process, 10000), WAIT_OBJECT_0) << "the editor did not close";
    ::GetExitCodeProcess(ender.process, &code);
    EXPECT_EQ(code, 0u);
    // It read its patterns from beside itself and wrote them back at exit.
    EXPECT_EQ(FileBytes(patterns), shipped);

    ::PostMessageW(body, WM_CLOSE, 0, 0);
    EXPECT_TRUE(player.WaitExit(10s));
}

}  // namespace
}  // namespace tessel::test
