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

}  // namespace
