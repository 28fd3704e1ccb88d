// Atomic replacement of files (also beside what earlier saves left behind and through
// symbolic links), and the existence test of media files.
#include "common/fileio.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <filesystem>
#include <iterator>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#include <tlhelp32.h>
#else
#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace tessel {
namespace {

using test::TempDir;
namespace fs = std::filesystem;

// A producer that fails midway, a folder as the target, and a target whose folder does
// not exist: each fails, keeps what was there and leaves no temporary.
TEST(AtomicReplace, FailuresKeepTheOldFileAndLeaveNoTemporary) {
    TempDir dir;
    const auto target = dir.Write("list.m3u", "old content\r\n");
    std::wstring error;
    EXPECT_FALSE(AtomicReplaceFile(
        target,
        [](const WriteChunk& write) {
            write("half of the new ");
            return false;
        },
        error));
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(TempDir::ReadBytes(target), "old content\r\n");
    std::filesystem::create_directory(dir / "sub");
    EXPECT_FALSE(AtomicReplaceFile(dir / "sub", "x", error));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "sub"));
    EXPECT_EQ(dir.EntryCount(), 2u);
    // The error names the missing folder, not our temporary.
    error.clear();
    EXPECT_FALSE(AtomicReplaceFile(dir / "nofolder" / "x.ini", "x", error));
    EXPECT_NE(error.find(L"nofolder"), std::wstring::npos);
    EXPECT_EQ(error.find(L".tmp"), std::wstring::npos) << error.size();
}

// A step stopped by another program's hold is tried again, and only then: the waits
// follow kHeldRetryWaitsMs, about a second in all, and after the last one it gives up.
TEST(AtomicReplace, HeldStepsAreTriedAgainForAboutASecond) {
    constexpr std::size_t kTries = std::size(kHeldRetryWaitsMs) + 1;
    using O = StepOutcome;
    struct Case {
        std::vector<O> outcomes;
        O result;
        std::size_t tries;
    };
    std::vector<O> lastTryDone(kTries - 1, O::Held);
    lastTryDone.push_back(O::Done);
    std::vector<O> heldThroughout(kTries, O::Held);
    heldThroughout.push_back(O::Done);  // never reached
    const Case cases[] = {{{O::Done}, O::Done, 1},
                          {{O::Failed, O::Done}, O::Failed, 1},
                          {{O::Held, O::Failed, O::Done}, O::Failed, 2},
                          {lastTryDone, O::Done, kTries},
                          {heldThroughout, O::Held, kTries}};
    for (const Case& c : cases) {
        std::size_t tries = 0;
        std::vector<int> waits;
        const O result = RetryWhileHeld([&] { return c.outcomes.at(tries++); },
                                        [&](int ms) { waits.push_back(ms); });
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(tries, c.tries);
        ASSERT_EQ(waits.size(), c.tries - 1);
        for (std::size_t i = 0; i < waits.size(); ++i) EXPECT_EQ(waits[i], kHeldRetryWaitsMs[i]);
    }
    int total = 0;
    for (const int ms : kHeldRetryWaitsMs) total += ms;
    EXPECT_GE(total, 500);
    EXPECT_LE(total, 1500);
}

#ifdef _WIN32
// Another program holds the target with no sharing at all, as a scanner does: a hold let
// go within the retries does not fail the save; one that lasts is reported as such, the
// old content kept and no temporary left.
TEST(AtomicReplace, TargetHeldByAnotherProgram) {
    TempDir dir;
    const auto target = dir.Write("init.ini", "old\r\n");
    const auto hold = [&] {
        return ::CreateFileW(target.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    HANDLE held = hold();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::thread release([held] {
        ::Sleep(300);
        ::CloseHandle(held);
    });
    std::wstring error;
    EXPECT_TRUE(AtomicReplaceFile(target, "new\r\n", error)) << error.size();
    release.join();
    EXPECT_EQ(TempDir::ReadBytes(target), "new\r\n");

    held = hold();
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(AtomicReplaceFile(target, "newer\r\n", error));
    ::CloseHandle(held);
    EXPECT_NE(error.find(L"init.ini"), std::wstring::npos);
    EXPECT_NE(error.find(kHeldReason), std::wstring::npos);
    EXPECT_EQ(TempDir::ReadBytes(target), "new\r\n");
    EXPECT_EQ(dir.EntryCount(), 1u);
}
#endif

// A read-only target stays as it was, and the reason says why; a writable one keeps
// its attributes (permission bits here, hidden and archive under Windows).
TEST(AtomicReplace, ReadOnlyTargetsAreRefusedAndAttributesKept) {
    TempDir dir;
    const auto target = dir.Write("init.ini", "old\r\n");
    fs::permissions(target, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    std::wstring error;
    EXPECT_FALSE(AtomicReplaceFile(target, "new\r\n", error));
    EXPECT_NE(error.find(L"init.ini"), std::wstring::npos);
    EXPECT_NE(error.find(kReadOnlyReason), std::wstring::npos);
    EXPECT_EQ(TempDir::ReadBytes(target), "old\r\n");
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::owner_write, fs::perms::none);
    EXPECT_EQ(dir.EntryCount(), 1u);

    fs::permissions(target, fs::perms::owner_write, fs::perm_options::add);
#ifdef _WIN32
    ASSERT_TRUE(::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE));
#else
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read,
                    fs::perm_options::replace);
#endif
    const fs::perms before = fs::status(target).permissions();
    ASSERT_TRUE(AtomicReplaceFile(target, "new\r\n", error)) << error.size();
    EXPECT_EQ(TempDir::ReadBytes(target), "new\r\n");
    EXPECT_EQ(fs::status(target).permissions(), before);
#ifdef _WIN32
    EXPECT_EQ(::GetFileAttributesW(target.c_str()), DWORD{FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_ARCHIVE});
    ::SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
#endif
}

#ifndef _WIN32
TEST(AtomicReplace, FailingWriteOnAFullDiskKeepsOldFile) {
    // A file-size limit makes the kernel refuse the write part-way (EFBIG), as a full
    // disk would.
    TempDir dir;
    const std::string old(100, 'o');
    const auto target = dir.Write("big.m3u", old);
    struct rlimit saved {};
    ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
    auto previous = std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limited = saved;
    limited.rlim_cur = 4096;
    ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
    std::wstring error;
    const bool ok = AtomicReplaceFile(target, std::string(64 * 1024, 'n'), error);
    setrlimit(RLIMIT_FSIZE, &saved);
    std::signal(SIGXFSZ, previous);
    EXPECT_FALSE(ok);
    EXPECT_NE(error.find(L"cannot write"), std::wstring::npos);
    EXPECT_EQ(TempDir::ReadBytes(target), old);
    EXPECT_EQ(dir.EntryCount(), 1u);
}
#endif

// Files only, by a full name or one relative to the current folder.
TEST(FileExistsExact, FilesOnlyAndTheirSizes) {
    TempDir dir;
    dir.Write("song.mp3", "x");
    std::filesystem::create_directory(dir / "folder");
    const std::wstring base = WideFromPath(dir.path() / "");
    EXPECT_TRUE(FileExistsExact(base + L"song.mp3"));
    EXPECT_FALSE(FileExistsExact(base + L"missing.mp3"));
    EXPECT_FALSE(FileExistsExact(base + L"folder"));
    EXPECT_FALSE(FileExistsExact(base + L"folder/"));
    EXPECT_FALSE(FileExistsExact(L""));
    std::wstring withNul = base + L"song.mp3";
    withNul.insert(withNul.size() - 4, 1, L'\0');
    EXPECT_FALSE(FileExistsExact(withNul));
    // The size is that of files only, too.
    EXPECT_EQ(FileSizeOf(dir / "song.mp3"), std::optional<std::uint64_t>(1));
    EXPECT_EQ(FileSizeOf(dir / "missing.mp3"), std::nullopt);
    EXPECT_EQ(FileSizeOf(dir / "folder"), std::nullopt);

    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const bool bare = FileExistsExact(L"song.mp3"), dotted = FileExistsExact(L"./song.mp3");
    const bool missing = FileExistsExact(L"missing.mp3");
#ifdef _WIN32
    // As Windows opens them: ".." out of the folder, devices are no files.
    const bool up = FileExistsExact(L"..\\song.mp3");
    const bool device = FileExistsExact(L"NUL") || FileExistsExact(L"CON");
    const bool deviceInFolder = FileExistsExact(WideFromPath(dir.path() / "NUL"));
    EXPECT_FALSE(up || device || deviceInFolder);
#endif
    std::filesystem::current_path(saved);
    EXPECT_TRUE(bare);
    EXPECT_TRUE(dotted);
    EXPECT_FALSE(missing);
}

#ifndef _WIN32
TEST(FileExistsExact, ThisSystemTakesTheNameAsWritten) {
    // Here a trailing space or dot is part of a different name.
    TempDir dir;
    dir.Write("song.mp3", "x");
    dir.Write("spaced.mp3 ", "x");
    const std::wstring base = WideFromPath(dir.path() / "");
    EXPECT_FALSE(FileExistsExact(base + L"song.mp3 "));
    EXPECT_FALSE(FileExistsExact(base + L"song.mp3."));
    EXPECT_TRUE(FileExistsExact(base + L"spaced.mp3 "));
    EXPECT_FALSE(FileExistsExact(base + L"spaced.mp3"));
}
#endif

#ifdef _WIN32
// A file made through the \\?\ form, which takes a name as it stands.
void MakeVerbatim(const std::wstring& path) {
    HANDLE h = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
    CloseHandle(h);
}

std::wstring Forward(std::wstring path) {
    std::replace(path.begin(), path.end(), L'\\', L'/');
    return path;
}

TEST(FileExistsExact, NamesResolveAsWindowsOpensThem) {
    // The media device opens "plain.mp3 " as plain.mp3: so does the existence test.
    test::TempDir dir;
    const std::wstring base = WideFromPath(dir.path() / "");
    dir.Write("plain.mp3", "x");
    std::filesystem::create_directory(dir / "sub");
    for (const wchar_t* name : {L"plain.mp3", L"plain.mp3 ", L"plain.mp3.", L"plain.mp3 . ", L".\\plain.mp3",
                                L"sub\\..\\plain.mp3", L"sub\\..\\plain.mp3 "})
        EXPECT_TRUE(FileExistsExact(base + name)) << name;
    EXPECT_TRUE(FileExistsExact(Forward(base + L"plain.mp3")));
    // Leading spaces stay; folders are no files, whatever their name ends in.
    for (const wchar_t* name : {L" plain.mp3", L"plain.mp", L"sub", L"sub.", L"sub\\"})
        EXPECT_FALSE(FileExistsExact(base + name)) << name;
    // A file whose name really ends in a space cannot be opened by its name: the name
    // opens the file without the space, which is not there.
    MakeVerbatim(base + L"spaced.mp3 ");
    EXPECT_FALSE(FileExistsExact(base + L"spaced.mp3 "));
    DeleteFileW((L"\\\\?\\" + base + L"spaced.mp3 ").c_str());
}

TEST(FileExistsExact, PathsLongerThanMaxPathWork) {
    test::TempDir dir;
    std::wstring folder = WideFromPath(dir.path());
    while (folder.size() < 400) {
        folder += L"\\" + std::wstring(60, L'd');
        ASSERT_TRUE(CreateDirectoryW((L"\\\\?\\" + folder).c_str(), nullptr)) << GetLastError();
    }
    const std::wstring file = folder + L"\\長い名前.mp3";
    MakeVerbatim(file);
    ASSERT_GT(file.size(), static_cast<std::size_t>(MAX_PATH));
    EXPECT_TRUE(FileExistsExact(file));
    EXPECT_TRUE(FileExistsExact(file + L" "));
    EXPECT_TRUE(FileExistsExact(L"\\\\?\\" + file));
    EXPECT_TRUE(FileExistsExact(folder + L"\\.\\..\\" + std::wstring(60, L'd') + L"\\長い名前.mp3"));
    EXPECT_TRUE(FileExistsExact(Forward(file)));
    EXPECT_FALSE(FileExistsExact(folder + L"\\other.mp3"));
    EXPECT_FALSE(FileExistsExact(folder));
    // Removed through the same form, as TempDir cannot reach so deep.
    DeleteFileW((L"\\\\?\\" + file).c_str());
    while (folder.size() > WideFromPath(dir.path()).size()) {
        RemoveDirectoryW((L"\\\\?\\" + folder).c_str());
        folder.resize(folder.rfind(L'\\'));
    }
}

#endif

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
