// tesselplay.exe started with a broken skin: a message box that names the file and the
// problem, then a clean end (exit code 1, no crash) with the settings file untouched.
#include <gtest/gtest.h>

#include <windows.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "tests/player/core/win_support.h"

namespace tessel::player::test {
namespace {

using namespace std::chrono_literals;
namespace fs = std::filesystem;

std::string Bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const std::string& bytes) { std::ofstream(path, std::ios::binary) << bytes; }

struct BrokenSkin {
    const char* name;
    std::function<void(const fs::path& skin)> breakIt;
    const wchar_t* namedFile;  // the file the report must name
};

TEST(BrokenSkin, StartReportsTheFileAndEndsWithoutSaving) {
    const std::vector<BrokenSkin> cases = {
        {"skin folder missing", [](const fs::path& skin) { fs::remove_all(skin); }, L"Azure\\"},
        {"define.ini missing", [](const fs::path& skin) { fs::remove(skin / L"define.ini"); }, L"define.ini"},
        {"four lines",
         [](const fs::path& skin) { WriteLines(skin / L"define.ini", {L"320,120", L"255,0,255", L"255,0,255", L"0,0,0"}); },
         L"define.ini"},
        {"missing field",
         [](const fs::path& skin) {
             WriteLines(skin / L"define.ini", {L"320,120", L"255,0", L"255,0,255", L"0,0,0", L"0,0"});
         },
         L"define.ini"},
        {"not a number",
         [](const fs::path& skin) {
             WriteLines(skin / L"define.ini", {L"320,120", L"255,0,255", L"255,0,255", L"0,0,0", L"abc,0"});
         },
         L"define.ini"},
        {"mask not a bitmap", [](const fs::path& skin) { WriteBytes(skin / L"s_mask.bmp", "not a picture"); },
         L"s_mask.bmp"},
        {"picture not a bitmap", [](const fs::path& skin) { WriteBytes(skin / L"player.bmp", "BM garbage"); },
         L"player.bmp"},
        {"absurd dimensions",
         [](const fs::path& skin) {
             // A valid header claiming 200,000 x 200,000 pixels of 24 bits.
             std::string bmp = Bytes(skin / L"p_mask.bmp");
             auto put = [&](int at, std::uint32_t v) {
                 for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((v >> (8 * i)) & 0xFF);
             };
             put(18, 200000);
             put(22, 200000);
             WriteBytes(skin / L"p_mask.bmp", bmp);
         },
         L"p_mask.bmp"},
        // Files that make the system's own loaders read past their end.
        {"mask cut after 100 bytes",
         [](const fs::path& skin) { WriteBytes(skin / L"s_mask.bmp", Bytes(skin / L"s_mask.bmp").substr(0, 100)); },
         L"s_mask.bmp"},
        {"picture cut to 60 per cent",
         [](const fs::path& skin) {
             const std::string bmp = Bytes(skin / L"skin.bmp");
             WriteBytes(skin / L"skin.bmp", bmp.substr(0, bmp.size() * 6 / 10));
         },
         L"skin.bmp"},
        {"sides within the limit, data far short",
         [](const fs::path& skin) {
             std::string bmp = Bytes(skin / L"s_mask.bmp");
             for (int at : {18, 22})
                 for (int i = 0; i < 4; ++i) bmp[at + i] = static_cast<char>((8000u >> (8 * i)) & 0xFF);
             WriteBytes(skin / L"s_mask.bmp", bmp);
         },
         L"s_mask.bmp"},
        {"icon directory pointing past the end",
         [](const fs::path& skin) {
             const std::string ico = Bytes(skin / L"task.ico");
             WriteBytes(skin / L"task.ico", ico.substr(0, ico.size() / 2));
         },
         L"task.ico"},
        {"numbers of 400 digits",
         [](const fs::path& skin) {
             const std::wstring huge(400, L'9');
             WriteLines(skin / L"define.ini", {huge + L"," + huge, L"255,0,255", L"255,0,255", L"0,0,0", L"0,0"});
         },
         L"define.ini"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir(L"broken");
        auto settings = DefaultSettings();
        MakeProgramFolder(dir.path(), &settings);
        fs::copy(DistDir() / L"parts", dir.path() / L"parts",
                 fs::copy_options::recursive | fs::copy_options::overwrite_existing);
        fs::copy_file(DistDir() / L"tesselplay.exe", dir.path() / L"tesselplay.exe");
        c.breakIt(dir.path() / L"parts" / L"Azure");
        const fs::path ini = dir.path() / L"Setting" / L"init.ini";
        const std::string before = Bytes(ini);

        Process player(dir.path() / L"tesselplay.exe", L"");
        ASSERT_TRUE(player.started());
        HWND box = nullptr;
        WaitUntil([&] { return (box = FindWindowOfProcess(player.id(), L"#32770", nullptr)) != nullptr; }, 15s);
        ASSERT_NE(box, nullptr) << "no message box";
        const std::wstring text = DialogText(box);
        ::PostMessageW(box, WM_COMMAND, IDOK, 0);
        DWORD code = 0;
        ASSERT_TRUE(player.WaitExit(10s, &code));
        EXPECT_NE(text.find(c.namedFile), std::wstring::npos) << Printable(text);
        // The error text of code 0 ("the operation succeeded") is no reason.
        EXPECT_EQ(text.find(L"成功"), std::wstring::npos) << Printable(text);
        EXPECT_EQ(code, 1u);
        EXPECT_EQ(Bytes(ini), before);
    }
}

// A settings file of binary garbage: a message that names the file and its line, the
// file left as it was, a clean end.
TEST(BrokenSettings, GarbageIsReportedWithItsLineAndKept) {
    TempDir dir(L"garbage");
    MakeProgramFolder(dir.path(), nullptr);
    fs::copy(DistDir() / L"parts", dir.path() / L"parts",
             fs::copy_options::recursive | fs::copy_options::overwrite_existing);
    fs::copy_file(DistDir() / L"tesselplay.exe", dir.path() / L"tesselplay.exe");
    std::string garbage;
    for (int i = 0; i < 4096; ++i) garbage.push_back(static_cast<char>((i * 7919 + 13) & 0xFF));
    const fs::path ini = dir.path() / L"Setting" / L"init.ini";
    WriteBytes(ini, garbage);
    Process player(dir.path() / L"tesselplay.exe", L"");
    ASSERT_TRUE(player.started());
    HWND box = nullptr;
    WaitUntil([&] { return (box = FindWindowOfProcess(player.id(), L"#32770", nullptr)) != nullptr; }, 15s);
    ASSERT_NE(box, nullptr) << "no message box";
    const std::wstring text = DialogText(box);
    ::PostMessageW(box, WM_COMMAND, IDOK, 0);
    DWORD code = 0;
    ASSERT_TRUE(player.WaitExit(10s, &code));
    EXPECT_NE(text.find(L"init.ini"), std::wstring::npos) << Printable(text);
    EXPECT_NE(text.find(L"行: "), std::wstring::npos) << Printable(text);
    EXPECT_EQ(code, 1u);
    EXPECT_EQ(Bytes(ini), garbage);
}

}  // namespace
}  // namespace tessel::player::test
