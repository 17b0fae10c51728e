// The pattern library file: its first pattern read back from files made by
// the program's own header and packet writers, and every kind of damage
// (missing, empty, foreign, truncated at every offset, wrong counts and
// lengths) refused without a stray message, a leak or an open file.
#include "tests/support/kit.h"
#include "library/ptn_library.h"
#include "model/qmf_header.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include <string.h>

using qmtest::BoxRecorder;
using qmtest::TempDir;

namespace {

typedef std::vector<uint8_t> Bytes;

// A pattern packet: length 24, width 8, height 8, rows of the seed.
Bytes patternPacket(uint8_t seed)
{
    Bytes p(24);
    uint32_t length = 24;
    uint16_t side = 8;
    memcpy(p.data(), &length, 4);
    memcpy(p.data() + 4, &side, 2);
    memcpy(p.data() + 6, &side, 2);
    for (int i = 0; i < 16; ++i)
        p[8 + (size_t)i] = (uint8_t)(seed + i);
    return p;
}

// The library file as the program writes it: the header, the count, then
// one packet per pattern; its bytes are returned.
Bytes writeLibrary(const std::string &path, const char *kind, uint16_t count,
                   const std::vector<Bytes> &patterns)
{
    HANDLE f = ffCreate(path.c_str(), FALSE);
    EXPECT_NE(INVALID_HANDLE_VALUE, f);
    EXPECT_EQ(40u, qmfWriteHeader(f, kind));
    EXPECT_EQ(2u, ffWrite(f, &count, 2));
    for (const Bytes &p : patterns) {
        MemHandle packet = utMakePacket(p.data() + 4, (uint32_t)p.size() - 4);
        EXPECT_EQ(p.size(), ffWritePacket(f, packet));
        utFreeHandle(packet);
    }
    ffClose(f);
    return qmtest::readFile(path);
}

Bytes bytesOf(MemHandle h)
{
    MemLock<uint8_t> p(h);
    return Bytes(p.get(), p.get() + utHandleSize(h));
}

class PtnLibrary : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("qmptn.tvl");
};

TEST_F(PtnLibrary, TheFirstPatternOfALibrary)
{
    writeLibrary(path, "PTNLIB", 3, {patternPacket(1), patternPacket(40), patternPacket(80)});
    long before = qmtest::liveHandles();
    MemHandle first = ptnReadFirst(path.c_str());
    ASSERT_NE(0u, first);
    ASSERT_GE(utHandleSize(first), 24u);
    Bytes got = bytesOf(first);
    got.resize(24);
    EXPECT_EQ(patternPacket(1), got);
    utFreeHandle(first);
    EXPECT_EQ(before, qmtest::liveHandles());
    EXPECT_TRUE(qmtest::fileIsClosed(path));
}

TEST_F(PtnLibrary, NothingAndNoMessageForMissingEmptyOrUnnamedFiles)
{
    BoxRecorder boxes;
    EXPECT_EQ(0u, ptnReadFirst(dir.file("none.tvl").c_str()));
    EXPECT_EQ(0u, ptnReadFirst(nullptr));
    EXPECT_EQ(0u, ptnReadFirst(""));
    ASSERT_TRUE(qmtest::writeFile(path, std::string()));
    EXPECT_EQ(0u, ptnReadFirst(path.c_str()));
    EXPECT_TRUE(qmtest::fileIsClosed(path));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
}

TEST_F(PtnLibrary, ForeignFilesAreReported)
{
    struct Case {
        const char *what;
        const char *kind;
        void (*damage)(Bytes &);
        const char *message;
    } cases[] = {
        {"a palette", "PALETTE", nullptr, "Incorrect file type"},
        {"another logo", "PTNLIB", [](Bytes &b) { b[0] = 'X'; }, "Not a Quillmark file"},
    };
    for (const Case &c : cases) {
        Bytes bytes = writeLibrary(path, c.kind, 1, {patternPacket(1)});
        if (c.damage) {
            c.damage(bytes);
            ASSERT_TRUE(qmtest::writeFile(path, bytes));
        }
        BoxRecorder boxes;
        EXPECT_EQ(0u, ptnReadFirst(path.c_str())) << c.what;
        ASSERT_EQ(1u, boxes.count()) << c.what;
        EXPECT_EQ("Quillmark Draw Error", boxes.last().caption);
        EXPECT_EQ(c.message, boxes.last().text) << c.what;
        EXPECT_TRUE(qmtest::fileIsClosed(path));
    }
}

TEST_F(PtnLibrary, ATruncatedFileGivesItsFirstPatternOnlyWhenThatIsWhole)
{
    Bytes whole = writeLibrary(path, "PTNLIB", 2, {patternPacket(1), patternPacket(40)});
    ASSERT_EQ(40u + 2 + 24 + 24, whole.size());
    for (size_t cut = 1; cut < whole.size(); ++cut) {
        ASSERT_TRUE(qmtest::writeFile(path, Bytes(whole.begin(), whole.begin() + (long)cut)));
        long before = qmtest::liveHandles();
        BoxRecorder boxes;
        MemHandle first = ptnReadFirst(path.c_str());
        EXPECT_EQ(cut >= 40 + 2 + 24, first != 0) << "cut at " << cut;
        if (cut < 40) {
            ASSERT_EQ(1u, boxes.count()) << "cut at " << cut;
            EXPECT_EQ("Reading file header failed", boxes.last().text);
        } else {
            EXPECT_EQ(0u, boxes.count()) << "cut at " << cut << ": " << boxes.texts();
        }
        utFreeHandle(first);
        EXPECT_EQ(before, qmtest::liveHandles()) << "cut at " << cut;
        EXPECT_TRUE(qmtest::fileIsClosed(path)) << "cut at " << cut;
    }
}

TEST_F(PtnLibrary, WrongCountsAndPacketLengthsAreRefused)
{
    struct Case {
        const char *what;
        uint16_t count;
        uint32_t length;   // the first packet's length word
        bool read;
    } cases[] = {
        {"a count of 0", 0, 24, false},
        {"a length past the file", 1, 0x7FFFFFFF, false},
        {"a length of 4 GB", 1, 0xFFFFFFFF, false},
        {"a length shorter than its own word", 1, 2, false},
        {"a length of 0", 1, 0, false},
        {"a packet of 12 bytes, the rest unread", 1, 12, true},
    };
    for (const Case &c : cases) {
        Bytes bytes = writeLibrary(path, "PTNLIB", c.count, {patternPacket(1)});
        memcpy(bytes.data() + 42, &c.length, 4);   // the first packet's length word
        ASSERT_TRUE(qmtest::writeFile(path, bytes));
        long before = qmtest::liveHandles();
        BoxRecorder boxes;
        MemHandle first = ptnReadFirst(path.c_str());
        EXPECT_EQ(c.read, first != 0) << c.what;
        if (first) {
            EXPECT_EQ(c.length, utGetPacketLength(first)) << c.what;
        }
        utFreeHandle(first);
        EXPECT_EQ(0u, boxes.count()) << c.what << ": " << boxes.texts();
        EXPECT_EQ(before, qmtest::liveHandles()) << c.what;
        EXPECT_TRUE(qmtest::fileIsClosed(path)) << c.what;
    }
}

// ---- the pattern table ----------------------------------------------------------------

class PtnTable : public PtnLibrary {
protected:
    void TearDown() override { ptnFreeTable(nullptr, FALSE); }
};

TEST_F(PtnTable, ShortFilesLoadWhatTheyHoldOneListItemEach)
{
    Bytes whole = writeLibrary(path, "PTNLIB", 5, {patternPacket(1), patternPacket(40)});
    long before = qmtest::liveHandles();
    HWND list = CreateWindowA("LISTBOX", "", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(ptnLoadTable(list, path.c_str()));
    EXPECT_EQ(2, ptnCount());
    EXPECT_EQ(2, SendMessageA(list, LB_GETCOUNT, 0, 0));
    DestroyWindow(list);
    EXPECT_EQ(patternPacket(40), bytesOf(ptnGetPattern(1)));
    EXPECT_EQ(0u, ptnGetPattern(2));
    EXPECT_EQ(0u, ptnGetPattern(-1));
    ptnFreeTable(nullptr, FALSE);
    EXPECT_EQ(before, qmtest::liveHandles());
    EXPECT_TRUE(qmtest::fileIsClosed(path));

    // A count of 0 loads an empty table; a missing file too, silently.
    writeLibrary(path, "PTNLIB", 0, {});
    BoxRecorder boxes;
    ASSERT_TRUE(ptnLoadTable(nullptr, path.c_str()));
    EXPECT_EQ(0, ptnCount());
    ASSERT_TRUE(ptnLoadTable(nullptr, dir.file("none.tvl").c_str()));
    EXPECT_EQ(0, ptnCount());
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
}

TEST_F(PtnTable, PacketsThatAreNotEightByEightPatternsAreSkipped)
{
    Bytes odd = patternPacket(9);
    odd[4] = 16;   // width 16
    Bytes bytes = writeLibrary(path, "PTNLIB", 3, {patternPacket(1), odd, patternPacket(2)});
    // A fourth packet of 12 bytes, announced by a count of 4.
    uint16_t four = 4;
    memcpy(bytes.data() + 40, &four, 2);
    Bytes shortPacket = {12, 0, 0, 0, 8, 0, 8, 0, 1, 2, 3, 4};
    bytes.insert(bytes.end(), shortPacket.begin(), shortPacket.end());
    ASSERT_TRUE(qmtest::writeFile(path, bytes));
    ASSERT_TRUE(ptnLoadTable(nullptr, path.c_str()));
    ASSERT_EQ(2, ptnCount());
    EXPECT_EQ(patternPacket(2), bytesOf(ptnGetPattern(1)));
    // Reading again appends and answers the count the file announces.
    EXPECT_EQ(4, ptnReadLibrary(path.c_str()));
    EXPECT_EQ(4, ptnCount());
}

TEST_F(PtnTable, EditingAndSavingTheTable)
{
    ASSERT_TRUE(ptnLoadTable(nullptr, path.c_str()));
    // An empty table saves as the header and a count of 0.
    ASSERT_TRUE(ptnWriteLibrary(path.c_str()));
    EXPECT_EQ(42u, qmtest::readFile(path).size());

    auto packet = [](uint8_t seed) {
        Bytes p = patternPacket(seed);
        return utMakePacket(p.data() + 4, 20);
    };
    EXPECT_EQ(0, ptnAppend(packet(1)));
    EXPECT_EQ(1, ptnAppend(packet(2)));
    EXPECT_EQ(2, ptnAppend(packet(3)));
    EXPECT_TRUE(ptnReplace(1, packet(20)));
    MemHandle spare = packet(30);
    EXPECT_FALSE(ptnReplace(3, spare));
    utFreeHandle(spare);
    EXPECT_TRUE(ptnDelete(0));
    EXPECT_FALSE(ptnDelete(5));
    ptnFreeTable(path.c_str(), TRUE);
    EXPECT_EQ(0, ptnCount());

    ASSERT_TRUE(ptnLoadTable(nullptr, path.c_str()));
    ASSERT_EQ(2, ptnCount());
    EXPECT_EQ(patternPacket(20), bytesOf(ptnGetPattern(0)));
    EXPECT_EQ(patternPacket(3), bytesOf(ptnGetPattern(1)));
    EXPECT_EQ(40u + 2 + 48, qmtest::readFile(path).size());

    // A failed write leaves the old library as it was.
    Bytes old = qmtest::readFile(path);
    for (uint64_t at : {0ull, 41ull, 60ull, 89ull}) {
        BoxRecorder boxes;
        ffSetWriteFault(FF_FAULT_DISK_FULL, at);
        EXPECT_FALSE(ptnWriteLibrary(path.c_str())) << at;
        ffSetWriteFault(FF_FAULT_NONE, 0);
        EXPECT_EQ(old, qmtest::readFile(path)) << at;
    }

    // Deleting down to nothing: the last deletion answers false.
    EXPECT_TRUE(ptnDelete(1));
    EXPECT_FALSE(ptnDelete(0));
    EXPECT_EQ(0, ptnCount());
    EXPECT_EQ(0u, ptnGetPattern(0));
}

}  // namespace
