// Saving beside what earlier saves left behind (a fresh temporary name, stale
// temporaries swept, live ones kept) and saving through symbolic links.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <set>
#include <string>

#include "common/fileio.h"
#include "tests/support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#include <tlhelp32.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tessel {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

// A process that has ended (and whose id nobody else has taken yet).
std::uint64_t EndedProcessId() {
#ifdef _WIN32
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    wchar_t command[] = L"cmd.exe /c exit 0";
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr, nullptr, &startup,
                        &info))
        return 0;
    WaitForSingleObject(info.hProcess, 30000);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return info.dwProcessId;
#else
    const pid_t child = ::fork();
    if (child == 0) ::_exit(0);
    int status = 0;
    ::waitpid(child, &status, 0);
    return static_cast<std::uint64_t>(child);
#endif
}

// Another process that runs now.
std::uint64_t RunningOtherProcessId() {
#ifdef _WIN32
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry{};
    entry.dwSize = sizeof entry;
    std::uint64_t found = 0;
    for (BOOL more = Process32FirstW(snapshot, &entry); more && found == 0; more = Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID != 0 && entry.th32ProcessID != GetCurrentProcessId()) found = entry.th32ProcessID;
    }
    CloseHandle(snapshot);
    return found;
#else
    return static_cast<std::uint64_t>(::getppid());
#endif
}

std::set<std::wstring> Names(const fs::path& folder) {
    std::set<std::wstring> names;
    for (const auto& e : fs::directory_iterator(folder)) names.insert(WideFromPath(e.path().filename()));
    return names;
}

TEST(TemporaryNames, OursAndNothingElse) {
    EXPECT_EQ(TemporaryFileName(L"init.ini", 4242, 7), L"~init.ini.4242-7.tessel.tmp");
    const auto parsed = ParseTemporaryFileName(L"~list.1-2.m3u.4242-7.tessel.tmp");
    ASSERT_TRUE(parsed);
    EXPECT_EQ(parsed->targetPart, L"list.1-2.m3u");
    EXPECT_EQ(parsed->processId, 4242u);
    EXPECT_EQ(parsed->number, 7u);
    // Every number the writer can put in a name reads back.
    const auto largest = ParseTemporaryFileName(TemporaryFileName(L"x", UINT64_MAX, UINT64_MAX));
    ASSERT_TRUE(largest);
    EXPECT_EQ(largest->processId, UINT64_MAX);
    EXPECT_EQ(largest->number, UINT64_MAX);
    EXPECT_TRUE(IsTemporaryFileName(L"~a.0-0.tessel.tmp"));

    for (const wchar_t* other : {L"~init.ini.4242-7.tmp", L"init.ini.4242-7.tessel.tmp", L"~.4242-7.tessel.tmp",
                                 L"~init.ini.4242-.tessel.tmp", L"~init.ini.-7.tessel.tmp",
                                 L"~init.ini4242-7.tessel.tmp", L"~init.ini.42x2-7.tessel.tmp",
                                 L"~init.ini.4242-7.tessel.tmp.bak", L"~init.ini.4242_7.tessel.tmp",
                                 L"~x.18446744073709551616-0.tessel.tmp", L"~x.0-18446744073709551616.tessel.tmp",
                                 L".tessel.tmp", L"", L"~init.ini.4242-7.tessel.tm"}) {
        EXPECT_FALSE(IsTemporaryFileName(other)) << std::string(other, other + std::wcslen(other));
    }

    // Long names are cut, never inside a surrogate pair.
    EXPECT_EQ(ParseTemporaryFileName(TemporaryFileName(std::wstring(100, L'n'), 1, 2))->targetPart,
              std::wstring(kTemporaryNameChars, L'n'));
    const std::wstring pairAtTheCut = std::wstring(kTemporaryNameChars - 1, L'n') + std::wstring{wchar_t(0xD83C), wchar_t(0xDFB5)} + L".m3u";  // U+1F3B5 in UTF-16
    EXPECT_EQ(ParseTemporaryFileName(TemporaryFileName(pairAtTheCut, 1, 2))->targetPart,
              std::wstring(kTemporaryNameChars - 1, L'n'));
    const std::wstring exact(kTemporaryNameChars, L'e');
    EXPECT_EQ(ParseTemporaryFileName(TemporaryFileName(exact, 1, 2))->targetPart, exact);
}

TEST(AtomicReplace, TakesAFreshNameWhenALeftoverHasTheOneItWouldChoose) {
    TempDir dir;
    const auto target = dir / "init.ini";
    // The temporary exists while the content is written: that shows the number in use.
    std::optional<TemporaryName> seen;
    std::wstring error;
    ASSERT_TRUE(AtomicReplaceFile(
        target,
        [&](const WriteChunk& write) {
            for (const std::wstring& name : Names(dir.path())) {
                if (auto t = ParseTemporaryFileName(name)) seen = t;
            }
            return write("first");
        },
        error));
    ASSERT_TRUE(seen);
    const std::uint64_t self = fileio_platform::CurrentProcessId();
    EXPECT_EQ(seen->processId, self);
    EXPECT_EQ(seen->targetPart, L"init.ini");
    // A killed earlier process that had our id left the names we would take next.
    for (std::uint64_t k = 1; k <= 50; ++k) dir.Write(PathFromWide(TemporaryFileName(L"init.ini", self, seen->number + k)), "stale");
    ASSERT_TRUE(AtomicReplaceFile(target, "second", error)) << std::string(error.begin(), error.end());
    EXPECT_EQ(TempDir::ReadBytes(target), "second");
    // They are ours and nobody writes them: the successful save removed them.
    EXPECT_EQ(Names(dir.path()), (std::set<std::wstring>{L"init.ini"}));
}

TEST(AtomicReplace, StaleTemporariesGoLiveOnesAndOthersStay) {
    TempDir dir;
    const std::uint64_t ended = EndedProcessId();
    const std::uint64_t running = RunningOtherProcessId();
    const std::uint64_t self = fileio_platform::CurrentProcessId();
    ASSERT_NE(ended, 0u);
    ASSERT_NE(running, 0u);
    const std::wstring stale[] = {
        TemporaryFileName(L"list.m3u", ended, 0),
        TemporaryFileName(L"other.ini", ended, 5),    // another file's, in the same folder
        TemporaryFileName(L"list.m3u", self, 999999), // this process's, written by nobody now
    };
    const std::wstring writing = TemporaryFileName(L"list.m3u", self, 1000000);
    const std::set<std::wstring> kept = {
        L"list.m3u",
        TemporaryFileName(L"list.m3u", running, 0),  // another process may be writing it
        writing,                                     // this process is writing it
        L"~list.m3u.1-0.tmp",                        // not ours
        L"list.m3u.bak",
        TemporaryFileName(L"folder", ended, 1),      // a folder, whatever its name
        L"sub",
    };
    for (const std::wstring& name : stale) dir.Write(PathFromWide(name), "left over");
    for (const std::wstring& name : kept) {
        if (name == TemporaryFileName(L"folder", ended, 1) || name == L"sub") {
            fs::create_directory(dir / PathFromWide(name));
        } else {
            dir.Write(PathFromWide(name), "x");
        }
    }
    const std::wstring deeper = TemporaryFileName(L"list.m3u", ended, 3);
    dir.Write(fs::path("sub") / PathFromWide(deeper), "only beside the target");
    fileio_detail::BeginWriting(dir / PathFromWide(writing));

    // A failed save sweeps nothing.
    std::wstring error;
    EXPECT_FALSE(AtomicReplaceFile(dir / "list.m3u", [](const WriteChunk&) { return false; }, error));
    EXPECT_EQ(Names(dir.path()).size(), kept.size() + std::size(stale));

    ASSERT_TRUE(AtomicReplaceFile(dir / "list.m3u", "new", error));
    fileio_detail::EndWriting(dir / PathFromWide(writing));
    EXPECT_EQ(Names(dir.path()), kept);
    EXPECT_TRUE(fs::exists(dir / "sub" / PathFromWide(deeper)));
    EXPECT_EQ(TempDir::ReadBytes(dir / "list.m3u"), "new");
}

#ifndef _WIN32
TEST(AtomicReplace, SymbolicLinksKeepLeadingToTheSavedContent) {
    TempDir dir;
    fs::create_directory(dir / "real");
    dir.Write("real/list.m3u", "old");
    fs::create_symlink("real/list.m3u", dir / "link.m3u");
    fs::create_symlink(dir / "link.m3u", dir / "chain.m3u");  // a link to a link
    fs::create_symlink("real/new.m3u", dir / "dangling.m3u");
    std::wstring error;

    ASSERT_TRUE(AtomicReplaceFile(dir / "link.m3u", "first", error));
    EXPECT_TRUE(fs::is_symlink(dir / "link.m3u"));
    EXPECT_EQ(TempDir::ReadBytes(dir / "real/list.m3u"), "first");

    ASSERT_TRUE(AtomicReplaceFile(dir / "chain.m3u", "second", error));
    EXPECT_TRUE(fs::is_symlink(dir / "chain.m3u"));
    EXPECT_TRUE(fs::is_symlink(dir / "link.m3u"));
    EXPECT_EQ(TempDir::ReadBytes(dir / "real/list.m3u"), "second");

    // A link to a file that is not there yet: the file is made where the link leads.
    ASSERT_TRUE(AtomicReplaceFile(dir / "dangling.m3u", "third", error));
    EXPECT_TRUE(fs::is_symlink(dir / "dangling.m3u"));
    EXPECT_EQ(TempDir::ReadBytes(dir / "real/new.m3u"), "third");
    EXPECT_EQ(Names(dir / "real"), (std::set<std::wstring>{L"list.m3u", L"new.m3u"}));

    // Links that lead round in a circle name no file: the save fails, nothing changes.
    fs::create_symlink("loop2.m3u", dir / "loop1.m3u");
    fs::create_symlink("loop1.m3u", dir / "loop2.m3u");
    error.clear();
    EXPECT_FALSE(AtomicReplaceFile(dir / "loop1.m3u", "lost", error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_symlink(dir / "loop1.m3u"));
    EXPECT_EQ(Names(dir.path()), (std::set<std::wstring>{L"real", L"link.m3u", L"chain.m3u", L"dangling.m3u",
                                                         L"loop1.m3u", L"loop2.m3u"}));

    // A hard link cannot survive a replace: its other name keeps the old content.
    fs::create_hard_link(dir / "real/list.m3u", dir / "hard.m3u");
    ASSERT_TRUE(AtomicReplaceFile(dir / "real/list.m3u", "fourth", error));
    EXPECT_EQ(TempDir::ReadBytes(dir / "hard.m3u"), "second");
}
#else
// Links made on the host before the run (Wine shows a host link to a file as a plain
// file, and moving a file over it would replace the link).
TEST(AtomicReplace, HostLinksKeepLeadingToTheSavedContent) {
    const char* folder = std::getenv("TESSEL_TEST_LINKS");
    if (folder == nullptr || *folder == '\0') GTEST_SKIP() << "TESSEL_TEST_LINKS names no folder of links";
    std::wstring wide(folder, folder + std::strlen(folder));
    if (wide.front() == L'/') {
        for (wchar_t& c : wide) {
            if (c == L'/') c = L'\\';
        }
        wide = L"Z:" + wide;
    }
    const fs::path dir(wide);
    ASSERT_EQ(TempDir::ReadBytes(dir / "real" / "list.m3u"), "old");
    std::wstring error;
    ASSERT_TRUE(AtomicReplaceFile(dir / "link.m3u", "first", error));
    EXPECT_EQ(TempDir::ReadBytes(dir / "real" / "list.m3u"), "first");
    EXPECT_EQ(TempDir::ReadBytes(dir / "link.m3u"), "first");
    ASSERT_TRUE(AtomicReplaceFile(dir / "chain.m3u", "second", error));
    EXPECT_EQ(TempDir::ReadBytes(dir / "real" / "list.m3u"), "second");
    EXPECT_EQ(Names(dir / "real"), (std::set<std::wstring>{L"list.m3u"}));
    EXPECT_EQ(Names(dir), (std::set<std::wstring>{L"real", L"link.m3u", L"chain.m3u"}));
}
#endif

}  // namespace
}  // namespace tessel
