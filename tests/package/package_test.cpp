// The download as a user gets it: both programs started from the folder the zip was
// unpacked into (make_zip.sh), with nothing of the build around them.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "player/panel/MenuForm.h"
#include "player/windows/SkinForm.h"
#include "tests/support/box_answerer.h"
#include "tests/support/unexpected_boxes.h"
#include "tests/support/player_folder.h"
#include "tests/support/temp_dir.h"
#include "tests/support/win32.h"

namespace tessel::test {
namespace {

namespace fs = std::filesystem;
using player::MenuForm;

class UnpackedDownload : public ::testing::Test {
protected:
    fs::path folder;
    Process program;
    std::unique_ptr<BoxAnswerer> boxes;

    void SetUp() override {
        // The one folder the zip unpacked into.
        for (const auto& e : fs::directory_iterator(FromEnvironmentPath("TESSEL_TEST_UNPACKED"))) {
            ASSERT_TRUE(folder.empty() && e.is_directory()) << "the zip did not unpack into one folder";
            folder = e.path();
        }
    }
    fs::path Settings() const { return folder / L"Setting" / L"init.ini"; }
    // The player started from the download, its body window shown. An error report
    // instead (a file of the download missing or unreadable) fails with its text.
    HWND StartPlayer() {
        program.Start(folder / L"tesselplay.exe", L"");
        boxes = std::make_unique<BoxAnswerer>(program.Id());
        HWND body = WaitForPlayerBody(program);
        ExpectNoUnexpectedBoxes(*boxes);
        return body;
    }
};

TEST_F(UnpackedDownload, PlayerShowsItsSkinsAndSavesItsSettingsOnExit) {
    // The first-run file places the skin window elsewhere.
    const auto firstRun = ReadLines(Settings());
    ASSERT_EQ(firstRun.size(), 14u);
    ASSERT_NE(firstRun[1], L"210");
    HWND body = StartPlayer();
    ASSERT_NE(body, nullptr);
    // Both shipped skins are offered, and nothing else.
    EXPECT_EQ(ListBoxItems(PanelControl(program, MenuForm::IdLstSkinFile)),
              (std::vector<std::wstring>{L"Azure", L"Ember"}));

    // Moved, then closed the way its close button closes it: the settings file is
    // written with the new place.
    HWND skin = FindWindowOfProcess(program.Id(), player::kSkinFormClass);
    ASSERT_TRUE(::SetWindowPos(skin, nullptr, 210, 95, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE));
    Pump(200ms);
    ::PostMessageW(body, WM_CLOSE, 0, 0);
    DWORD code = 99;
    ASSERT_TRUE(program.WaitExit(10s, &code));
    EXPECT_EQ(code, 0u);
    auto expected = firstRun;
    expected[1] = L"210";
    expected[2] = L"95";
    EXPECT_EQ(ReadLines(Settings()), expected);
}

// The editor is where the player looks for it: its own panel button starts it, and
// it reads its patterns from beside itself and writes them back at exit.
TEST_F(UnpackedDownload, EditorStartsFromThePlayerAndKeepsItsPatterns) {
    const fs::path patterns = folder / L"exec" / L"m3usetting" / L"ext.ini";
    const std::string shipped = TempDir::ReadBytes(patterns);
    ASSERT_NE(shipped.find("*.mp3\r\n"), std::string::npos);
    HWND body = StartPlayer();
    ASSERT_NE(body, nullptr);
    HWND button = PanelControl(program, MenuForm::IdCmdExecEdit);
    ::PostMessageW(::GetParent(button), WM_COMMAND, MAKEWPARAM(MenuForm::IdCmdExecEdit, BN_CLICKED),
                   reinterpret_cast<LPARAM>(button));

    HWND editor = nullptr;
    ASSERT_TRUE(WaitUntil([&] { return (editor = ::FindWindowW(L"ListwrightForm1", nullptr)) != nullptr; }, 15s))
        << "the editor did not start";
    DWORD pid = 0;
    ::GetWindowThreadProcessId(editor, &pid);
    // A box would say that its pattern folder is missing.
    BoxAnswerer editorBoxes(pid);
    HANDLE process = ::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    ASSERT_NE(process, nullptr);
    EXPECT_EQ(WindowText(editor), L"Quillow");
    // Started from the unpacked folder, not found somewhere else.
    wchar_t image[MAX_PATH] = {};
    DWORD size = MAX_PATH;
    EXPECT_TRUE(::QueryFullProcessImageNameW(process, 0, image, &size));
    EXPECT_TRUE(fs::equivalent(image, folder / L"exec" / L"listwright.exe")) << Printable(image);

    ::PostMessageW(editor, WM_CLOSE, 0, 0);
    DWORD code = 99;
    if (::WaitForSingleObject(process, 10000) != WAIT_OBJECT_0) {
        ::TerminateProcess(process, 99);
        ADD_FAILURE() << "the editor did not close";
    }
    ::GetExitCodeProcess(process, &code);
    ::CloseHandle(process);
    EXPECT_EQ(code, 0u);
    EXPECT_EQ(TempDir::ReadBytes(patterns), shipped);
    ExpectNoUnexpectedBoxes(editorBoxes);
}

}  // namespace
}  // namespace tessel::test
