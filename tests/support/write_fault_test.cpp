// The write accounting of the file layer and its simulated failures: a
// short write, a full disk and the free space reported.
#include "tests/support/kit.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include <string.h>
#include <string>

using qmtest::TempDir;

namespace {

struct FaultGuard {
    ~FaultGuard()
    {
        ffSetWriteFault(FF_FAULT_NONE, 0);
        ffSetDiskFreeOverride(~0ull);
    }
};

TEST(WriteFaults, AShortWriteIsCountedAndLaterWritesAreWhole)
{
    TempDir dir;
    FaultGuard guard;
    std::string path = dir.file("short.bin");
    HANDLE f = ffCreate(path.c_str(), FALSE);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    uint32_t before = ffWriteShortfalls();
    ffSetWriteFault(FF_FAULT_SHORT, 5);
    EXPECT_EQ(3u, ffWrite(f, "abc", 3));
    EXPECT_EQ(before, ffWriteShortfalls());
    EXPECT_EQ(2u, ffWrite(f, "defgh", 5));   // crosses the limit: cut short
    EXPECT_EQ(before + 1, ffWriteShortfalls());
    EXPECT_EQ(3u, ffWrite(f, "xyz", 3));     // whole again
    EXPECT_EQ(before + 1, ffWriteShortfalls());
    ffClose(f);
    std::vector<uint8_t> bytes = qmtest::readFile(path);
    EXPECT_EQ("abcdexyz", std::string(bytes.begin(), bytes.end()));
}

TEST(WriteFaults, AFullDiskFailsEveryWriteFromTheLimitOn)
{
    TempDir dir;
    FaultGuard guard;
    std::string path = dir.file("full.bin");
    HANDLE f = ffCreate(path.c_str(), FALSE);
    uint32_t before = ffWriteShortfalls();
    ffSetWriteFault(FF_FAULT_DISK_FULL, 4);
    EXPECT_EQ(4u, ffWrite(f, "0123456789", 10));
    EXPECT_EQ(0u, ffWrite(f, "more", 4));
    EXPECT_EQ((DWORD)ERROR_DISK_FULL, GetLastError());
    MemHandle packet = utMakePacket("data", 4);
    EXPECT_EQ(0u, ffWritePacket(f, packet));
    utFreeHandle(packet);
    EXPECT_EQ(before + 3, ffWriteShortfalls());
    ffSetWriteFault(FF_FAULT_NONE, 0);
    EXPECT_EQ(2u, ffWrite(f, "ok", 2));
    ffClose(f);
    std::vector<uint8_t> bytes = qmtest::readFile(path);
    EXPECT_EQ("0123ok", std::string(bytes.begin(), bytes.end()));

    // Copies stop at the first short write.
    std::string src = dir.file("src.bin");
    ASSERT_TRUE(qmtest::writeFile(src, std::string(2000, 'q')));
    HANDLE in = ffOpenRead(src.c_str(), nullptr, FALSE);
    HANDLE out = ffCreate(dir.file("copy.bin").c_str(), FALSE);
    ffSetWriteFault(FF_FAULT_DISK_FULL, 700);
    EXPECT_EQ(700u, ffCopyBytes(out, in, 2000));
    ffClose(in);
    ffClose(out);
}

TEST(WriteFaults, SimulatedFreeSpace)
{
    FaultGuard guard;
    ffSetDiskFreeOverride(12345);
    EXPECT_EQ(12345u, ffGetDiskFree("C:\\x.qm"));
    EXPECT_EQ(12345u, ffGetDiskFree("\\\\server\\share\\x.qm"));
    ffSetDiskFreeOverride(5ull << 32);
    EXPECT_EQ(0xFFFFFFFFu, ffGetDiskFree("C:\\x.qm"));
    ffSetDiskFreeOverride(~0ull);
    EXPECT_NE(12345u, ffGetDiskFree("C:\\x.qm"));
}

// The files of a folder, by name.
std::vector<std::string> filesIn(const TempDir &dir)
{
    std::vector<std::string> out;
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((dir.path() + "\\*").c_str(), &fd);
    if (find != INVALID_HANDLE_VALUE) {
        do
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                out.push_back(fd.cFileName);
        while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    return out;
}

// A file replaced whole: a failing write at any byte, or a replacement
// given up, leaves the old file and nothing else; a whole one replaces it.
TEST(WriteFaults, AReplacedFileIsTheOldOrTheNewOneWhole)
{
    TempDir dir;
    FaultGuard guard;
    const std::string path = dir.file("kept.bin");
    ASSERT_TRUE(qmtest::writeFile(path, std::string("the old contents")));
    const std::string fresh(300, 'n');
    for (FfWriteFault kind : {FF_FAULT_SHORT, FF_FAULT_DISK_FULL}) {
        for (uint64_t at = 0; at < fresh.size(); at += 7) {
            ffSetWriteFault(kind, at);
            EXPECT_FALSE(ffReplaceFileBytes(path.c_str(), fresh.data(), (uint32_t)fresh.size()))
                << at;
            ffSetWriteFault(FF_FAULT_NONE, 0);
            std::vector<uint8_t> now = qmtest::readFile(path);
            EXPECT_EQ("the old contents", std::string(now.begin(), now.end())) << at;
            EXPECT_EQ(std::vector<std::string>{"kept.bin"}, filesIn(dir)) << at;
        }
    }
    // Given up by its writer: the temporary file beside the target goes.
    char temp[260];
    HANDLE h = ffCreateReplacement(path.c_str(), temp);
    ASSERT_NE(INVALID_HANDLE_VALUE, h);
    EXPECT_EQ(0, strncmp(temp, dir.path().c_str(), dir.path().size())) << temp;
    EXPECT_EQ(5u, ffWrite(h, "abcde", 5));
    EXPECT_FALSE(ffCommitReplacement(h, temp, path.c_str(), FALSE));
    EXPECT_FALSE(ffExists(temp));
    EXPECT_EQ(16u, qmtest::readFile(path).size());
    // Whole: the new contents under the name, nothing left beside it; also
    // for a name that did not exist.
    EXPECT_TRUE(ffReplaceFileBytes(path.c_str(), fresh.data(), (uint32_t)fresh.size()));
    EXPECT_EQ(fresh.size(), qmtest::readFile(path).size());
    EXPECT_TRUE(ffReplaceFileBytes(dir.file("new.bin").c_str(), "x", 1));
    EXPECT_EQ(2u, filesIn(dir).size());
    // A folder that does not exist: nothing made.
    EXPECT_EQ(INVALID_HANDLE_VALUE,
              ffCreateReplacement(dir.file("none\\x.bin").c_str(), temp));
    EXPECT_FALSE(ffReplaceFileBytes(dir.file("none\\x.bin").c_str(), "x", 1));
}

}  // namespace
