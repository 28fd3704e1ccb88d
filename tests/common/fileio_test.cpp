#include "common/fileio.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "tests/common/temp_dir.h"

#ifndef _WIN32
#include <csignal>
#include <sys/resource.h>
#endif

namespace tessel {
namespace {

using testing::TempDir;

TEST(AtomicReplace, CreatesAndReplaces) {
    TempDir dir;
    const auto target = dir / "init.ini";
    std::wstring error;
    ASSERT_TRUE(AtomicReplaceFile(target, "first\r\n", error));
    EXPECT_EQ(TempDir::ReadBytes(target), "first\r\n");
    ASSERT_TRUE(AtomicReplaceFile(target, "second, longer content\r\n", error));
    EXPECT_EQ(TempDir::ReadBytes(target), "second, longer content\r\n");
    ASSERT_TRUE(AtomicReplaceFile(target, "", error));
    EXPECT_EQ(std::filesystem::file_size(target), 0u);
    EXPECT_EQ(dir.EntryCount(), 1u);  // no temporary left beside it
}

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
    // The folder of the target does not exist.
    error.clear();
    EXPECT_FALSE(AtomicReplaceFile(dir / "nofolder" / "x.ini", "x", error));
    EXPECT_FALSE(error.empty());
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

TEST(FileExistsExact, NamesMustMatchExactly) {
    TempDir dir;
    dir.Write("song.mp3", "x");
    std::filesystem::create_directory(dir / "folder");
    const std::wstring base = (dir.path() / "").wstring();
    EXPECT_TRUE(FileExistsExact(base + L"song.mp3"));
    EXPECT_FALSE(FileExistsExact(base + L"song.mp3 "));   // Windows would strip the space
    EXPECT_FALSE(FileExistsExact(base + L"song.mp3."));   // ... or the dot
    EXPECT_FALSE(FileExistsExact(base + L"missing.mp3"));
    EXPECT_FALSE(FileExistsExact(base + L"folder"));
    EXPECT_FALSE(FileExistsExact(L""));
    std::wstring withNul = base + L"song.mp3";
    withNul.insert(withNul.size() - 4, 1, L'\0');
    EXPECT_FALSE(FileExistsExact(withNul));
}

TEST(FileExistsExact, RelativeNamesUseTheCurrentFolder) {
    TempDir dir;
    dir.Write("here.wav", "x");
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    const bool bare = FileExistsExact(L"here.wav");
    const bool dotted = FileExistsExact(L"./here.wav");
    const bool missing = FileExistsExact(L"there.wav");
    std::filesystem::current_path(saved);
    EXPECT_TRUE(bare);
    EXPECT_TRUE(dotted);
    EXPECT_FALSE(missing);
}

TEST(FileExistsExact, CandidateRule) {
    EXPECT_TRUE(IsExactPathCandidate(L"C:\\a\\b.mp3"));
    EXPECT_TRUE(IsExactPathCandidate(L"..\\up\\.\\b.mp3"));
    EXPECT_TRUE(IsExactPathCandidate(L"\\\\server\\share\\x.mp3"));
    EXPECT_FALSE(IsExactPathCandidate(L"C:\\dir.\\b.mp3"));
    EXPECT_FALSE(IsExactPathCandidate(L"C:\\dir \\b.mp3"));
    EXPECT_FALSE(IsExactPathCandidate(L"b.mp3 "));
    EXPECT_FALSE(IsExactPathCandidate(L""));
}

TEST(FileSizeOf, ReportsBytesOfFilesOnly) {
    TempDir dir;
    dir.Write("a.bin", std::string(1234, 'a'));
    EXPECT_EQ(FileSizeOf(dir / "a.bin"), std::optional<std::uint64_t>(1234));
    EXPECT_EQ(FileSizeOf(dir / "none"), std::nullopt);
    EXPECT_EQ(FileSizeOf(dir.path()), std::nullopt);
}

}  // namespace
}  // namespace tessel

namespace tessel {
namespace {

TEST(WidePaths, JapaneseNamesRoundTrip) {
    const std::wstring name = L"音楽 フォルダ\\曲 01.mp3";
    EXPECT_EQ(WideFromPath(PathFromWide(name)), name);
    testing::TempDir dir;
    const auto file = dir / PathFromWide(L"曲 ♪.wav");
    { std::ofstream(file) << "x"; }
    EXPECT_TRUE(FileExistsExact(WideFromPath(file)));
}

}  // namespace
}  // namespace tessel

#ifdef _WIN32
#include <windows.h>

namespace tessel {
namespace {

TEST(FileExistsExact, AbsoluteNamesAreTakenVerbatim) {
    // A file whose name really ends in a space can only be made through the \\?\ form;
    // an absolute entry naming it finds it, and "x.mp3" (without the space) does not
    // find it, nor does the name with a space find "x.mp3".
    testing::TempDir dir;
    const std::wstring base = WideFromPath(dir.path() / "");
    const std::wstring spaced = base + L"spaced.mp3 ";
    HANDLE h = CreateFileW((L"\\\\?\\" + spaced).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE) << GetLastError();
    CloseHandle(h);
    dir.Write("plain.mp3", "x");
    EXPECT_TRUE(FileExistsExact(spaced));
    EXPECT_FALSE(FileExistsExact(base + L"spaced.mp3"));
    EXPECT_FALSE(FileExistsExact(base + L"plain.mp3 "));
    EXPECT_FALSE(FileExistsExact(base + L"plain.mp3."));
    EXPECT_TRUE(FileExistsExact(base + L"plain.mp3"));
    // Parts that only normal path handling resolves still work.
    EXPECT_TRUE(FileExistsExact(base + L".\\plain.mp3"));
    std::wstring forward = base + L"plain.mp3";
    for (wchar_t& c : forward) {
        if (c == L'\\') c = L'/';
    }
    EXPECT_TRUE(FileExistsExact(forward));
    DeleteFileW((L"\\\\?\\" + spaced).c_str());
}

}  // namespace
}  // namespace tessel
#endif
