// The printer settings file: written and read back, damaged files refused
// without a word, failed writes leaving the previous file.
#include "tests/support/kit.h"
#include "tests/support/kit_printer.h"
#include "support/prn_setup_file.h"
#include "support/prn_blocks.h"
#include "support/ut_mem.h"
#include <string.h>

using qmtest::BoxRecorder;
using qmtest::Bytes;
using qmtest::TempDir;

namespace {

void putU32(Bytes &b, uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b.push_back((uint8_t)(v >> (8 * i)));
}

// The file as the writer lays it out: two packets (no second one for empty
// names).
Bytes fileOf(const Bytes &mode, const Bytes &names)
{
    Bytes b;
    putU32(b, (uint32_t)mode.size() + 4);
    b.insert(b.end(), mode.begin(), mode.end());
    if (!names.empty()) {
        putU32(b, (uint32_t)names.size() + 4);
        b.insert(b.end(), names.begin(), names.end());
    }
    return b;
}

int filesIn(const std::string &dir)
{
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &fd);
    int n = 0;
    if (find != INVALID_HANDLE_VALUE) {
        do {
            if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                ++n;
        } while (FindNextFileA(find, &fd));
        FindClose(find);
    }
    return n;
}

// Reads a file that must be refused: no blocks, no box, nothing left open
// or allocated.
void expectRefused(const std::string &path, const std::string &what)
{
    BoxRecorder boxes;
    long live = qmtest::liveHandles();
    HGLOBAL mode = (HGLOBAL)1, names = (HGLOBAL)1;
    EXPECT_FALSE(prnReadSetupFile(nullptr, path.c_str(), &mode, &names)) << what;
    EXPECT_EQ(nullptr, mode) << what;
    EXPECT_EQ(nullptr, names) << what;
    EXPECT_EQ(0u, boxes.count()) << what << ": " << boxes.texts();
    EXPECT_EQ(live, qmtest::liveHandles()) << what;
    EXPECT_TRUE(qmtest::fileIsClosed(path)) << what;
}

TEST(PrinterSettingsFile, WrittenBlocksReadBackWhole)
{
    TempDir dir;
    std::string file = dir.file("~Quillmark Draw_PrtLog");
    GlobalBlock mode(qmtest::makeDevMode("Laser", sizeof(DEVMODEA), 24));
    GlobalBlock names(qmtest::makeDevNames("winspool", "Laser", "LPT1:"));
    // An older file is replaced without a question.
    ASSERT_TRUE(qmtest::writeFile(file, std::string("old")));
    BoxRecorder boxes;
    ASSERT_TRUE(prnWriteSetupFile(file.c_str(), mode.get(), names.get()));
    EXPECT_EQ(0u, boxes.count());
    EXPECT_EQ(1, filesIn(dir.path()));   // no temporary file left
    EXPECT_EQ(fileOf(qmtest::globalBytes(mode.get()), qmtest::globalBytes(names.get())),
              qmtest::readFile(file));

    HGLOBAL readMode, readNames;
    ASSERT_TRUE(prnReadSetupFile(nullptr, file.c_str(), &readMode, &readNames));
    EXPECT_EQ(qmtest::globalBytes(mode.get()), qmtest::globalBytes(readMode));
    EXPECT_EQ(qmtest::globalBytes(names.get()), qmtest::globalBytes(readNames));
    GlobalFree(readMode);
    GlobalFree(readNames);
    EXPECT_TRUE(qmtest::fileIsClosed(file));
}

TEST(PrinterSettingsFile, TruncatedFilesAreRefused)
{
    TempDir dir;
    Bytes whole = fileOf(qmtest::devModeBytes("Laser"),
                         qmtest::devNamesBytes("winspool", "Laser", "LPT1:"));
    std::string file = dir.file("cut");
    for (size_t n = 0; n < whole.size(); ++n) {
        ASSERT_TRUE(qmtest::writeFile(file, Bytes(whole.begin(), whole.begin() + n)));
        expectRefused(file, "cut at " + std::to_string(n));
    }
}

TEST(PrinterSettingsFile, DamagedBlocksAndLengthsAreRefused)
{
    TempDir dir;
    const Bytes mode = qmtest::devModeBytes("Laser");
    const Bytes names = qmtest::devNamesBytes("winspool", "Laser", "LPT1:");
    struct Case {
        const char *what;
        Bytes bytes;
    };
    auto withMode = [&](void (*edit)(DEVMODEA *)) {
        Bytes m = mode;
        edit(reinterpret_cast<DEVMODEA *>(m.data()));
        return fileOf(m, names);
    };
    auto withNames = [&](size_t at, uint8_t value) {
        Bytes n = names;
        n[at] = value;
        return fileOf(mode, n);
    };
    auto withLength = [&](size_t at, uint32_t length) {
        Bytes b = fileOf(mode, names);
        memcpy(b.data() + at, &length, 4);
        return b;
    };
    Case cases[] = {
        {"driver bytes claimed past the block",
         withMode([](DEVMODEA *m) { m->dmDriverExtra = 1; })},
        {"public size past the block", withMode([](DEVMODEA *m) { m->dmSize += 2; })},
        {"public size too small for the paper fields",
         withMode([](DEVMODEA *m) { m->dmSize = 40; })},
        {"device offset past the block", withNames(2, 200)},
        {"output offset inside the head", withNames(4, 3)},
        {"output without terminator", withNames(names.size() - 1, 'X')},
        {"first length below its own word", withLength(0, 3)},
        {"first length past the file", withLength(0, 0x7FFFFFF0)},
        {"second length past the file", withLength(mode.size() + 4, (uint32_t)names.size() + 5)},
        {"second length only its word", withLength(mode.size() + 4, 4)},
        {"only the DEVMODE", fileOf(mode, Bytes())},
        {"blocks in the wrong order", fileOf(names, mode)},
        {"empty", Bytes()},
    };
    std::string file = dir.file("bad");
    for (const Case &c : cases) {
        ASSERT_TRUE(qmtest::writeFile(file, c.bytes));
        expectRefused(file, c.what);
    }
    expectRefused(dir.file("missing"), "missing file");
    HGLOBAL m = (HGLOBAL)1, n = (HGLOBAL)1;
    EXPECT_FALSE(prnReadSetupFile(nullptr, "", &m, &n));
    EXPECT_EQ(nullptr, m);
    EXPECT_FALSE(prnReadSetupFile(nullptr, nullptr, &m, &n));
    EXPECT_EQ(nullptr, n);
}

TEST(PrinterSettingsFile, FailedWritesLeaveThePreviousFile)
{
    TempDir dir;
    GlobalBlock mode(qmtest::makeDevMode("Laser")), names(qmtest::makeDevNames("w", "Laser", "P"));
    Bytes badNames = qmtest::devNamesBytes("w", "Laser", "P");
    badNames[2] = 99;
    GlobalBlock damaged(qmtest::globalFromBytes(badNames));
    std::string file = dir.file("~prt");
    ASSERT_TRUE(qmtest::writeFile(file, std::string("previous")));
    BoxRecorder boxes;

    EXPECT_FALSE(prnWriteSetupFile(file.c_str(), nullptr, names.get()));
    EXPECT_FALSE(prnWriteSetupFile(file.c_str(), mode.get(), nullptr));
    EXPECT_FALSE(prnWriteSetupFile(file.c_str(), mode.get(), damaged.get()));
    EXPECT_FALSE(prnWriteSetupFile("", mode.get(), names.get()));
    EXPECT_FALSE(prnWriteSetupFile(dir.file("no folder\\~prt").c_str(), mode.get(), names.get()));
    EXPECT_FALSE(prnWriteSetupFile(dir.path().c_str(), mode.get(), names.get()));   // a folder
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_READONLY);
    EXPECT_FALSE(prnWriteSetupFile(file.c_str(), mode.get(), names.get()));
    SetFileAttributesA(file.c_str(), FILE_ATTRIBUTE_NORMAL);

    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    Bytes previous = qmtest::readFile(file);
    EXPECT_EQ("previous", std::string(previous.begin(), previous.end()));
    EXPECT_EQ(1, filesIn(dir.path()));
}

}  // namespace
