#include "common/fileio.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>
#include <vector>

#include "tests/support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <csignal>
#include <sys/resource.h>
#endif

namespace tessel {
namespace {

using test::TempDir;

TEST(AtomicReplace, AbandonedWriteKeepsOldFileAndLeavesNoTemporary) {
    TempDir dir;
    const auto target = dir.Write("list.m3u", "old content\r\n");
    std::wstring error;
    const bool ok = AtomicReplaceFile(
        target,
        [](const WriteChunk& write) {
            write("half of the new ");
            return false;  // the producer fails midway
        },
        error);
    EXPECT_FALSE(ok);
    EXPECT_FALSE(error.empty());
    EXPECT_EQ(TempDir::ReadBytes(target), "old content\r\n");
    EXPECT_EQ(dir.EntryCount(), 1u);
}

TEST(AtomicReplace, ImpossibleTargetsFailCleanly) {
    TempDir dir;
    std::filesystem::create_directory(dir / "sub");
    std::wstring error;
    // The target is a folder: cannot be replaced by a file.
    EXPECT_FALSE(AtomicReplaceFile(dir / "sub", "x", error));
    EXPECT_TRUE(std::filesystem::is_directory(dir / "sub"));
    EXPECT_EQ(dir.EntryCount(), 1u);
    // The folder of the target does not exist: the error names it, not our temporary.
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
    namespace fs = std::filesystem;
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
}

TEST(FileExistsExact, RelativeNamesUseTheCurrentFolder) {
    TempDir dir;
    dir.Write("here.wav", "x");
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const bool bare = FileExistsExact(L"here.wav");
    const bool dotted = FileExistsExact(L"./here.wav");
    const bool missing = FileExistsExact(L"there.wav");
#ifdef _WIN32
    // As Windows opens them: a trailing space dropped, ".." out of the folder, devices
    // are no files.
    const bool spaced = FileExistsExact(L"here.wav ");
    const bool up = FileExistsExact(L"..\\here.wav");
    const bool device = FileExistsExact(L"NUL") || FileExistsExact(L"CON");
    const bool deviceInFolder = FileExistsExact(WideFromPath(dir.path() / "NUL"));
    EXPECT_TRUE(spaced);
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

}  // namespace
}  // namespace tessel

#ifdef _WIN32
#include <windows.h>

namespace tessel {
namespace {

// A file made through the \\?\ form, which takes a name as it stands.
void MakeVerbatim(const std::wstring& path) {
    HANDLE h = CreateFileW((L"\\\\?\\" + path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
    CloseHandle(h);
}

TEST(FileExistsExact, NamesResolveAsWindowsOpensThem) {
    // The media device opens "plain.mp3 " as plain.mp3: so does the existence test.
    test::TempDir dir;
    const std::wstring base = WideFromPath(dir.path() / "");
    dir.Write("plain.mp3", "x");
    std::filesystem::create_directory(dir / "sub");
    EXPECT_TRUE(FileExistsExact(base + L"plain.mp3"));
    EXPECT_TRUE(FileExistsExact(base + L"plain.mp3 "));
    EXPECT_TRUE(FileExistsExact(base + L"plain.mp3."));
    EXPECT_TRUE(FileExistsExact(base + L"plain.mp3 . "));
    EXPECT_TRUE(FileExistsExact(base + L".\\plain.mp3"));
    EXPECT_TRUE(FileExistsExact(base + L"sub\\..\\plain.mp3"));
    EXPECT_TRUE(FileExistsExact(base + L"sub\\..\\plain.mp3 "));
    std::wstring forward = base + L"plain.mp3";
    for (wchar_t& c : forward) {
        if (c == L'\\') c = L'/';
    }
    EXPECT_TRUE(FileExistsExact(forward));
    EXPECT_FALSE(FileExistsExact(base + L" plain.mp3"));  // leading spaces stay
    EXPECT_FALSE(FileExistsExact(base + L"plain.mp"));
    EXPECT_FALSE(FileExistsExact(base + L"sub"));
    EXPECT_FALSE(FileExistsExact(base + L"sub."));
    EXPECT_FALSE(FileExistsExact(base + L"sub\\"));
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
    std::wstring forward = file;
    for (wchar_t& c : forward) {
        if (c == L'\\') c = L'/';
    }
    EXPECT_TRUE(FileExistsExact(forward));
    EXPECT_FALSE(FileExistsExact(folder + L"\\other.mp3"));
    EXPECT_FALSE(FileExistsExact(folder));
    // Removed through the same form, as TempDir cannot reach so deep.
    DeleteFileW((L"\\\\?\\" + file).c_str());
    while (folder.size() > WideFromPath(dir.path()).size()) {
        RemoveDirectoryW((L"\\\\?\\" + folder).c_str());
        folder.resize(folder.rfind(L'\\'));
    }
}

}  // namespace
}  // namespace tessel
#endif
