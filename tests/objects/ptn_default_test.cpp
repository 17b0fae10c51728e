// The pattern library's name held by the program and the default pattern
// new pages take from the library: the library's first pattern when it is
// a whole 8 x 8 pattern, else the blank one.
#include "tests/objects/fill_kit.h"
#include "objects/ptn_dialog.h"
#include "library/ptn_library.h"
#include "model/pg_record.h"
#include "model/qmf_header.h"
#include "support/ff_file.h"

using namespace filltest;

namespace {

// A library holding one packet of the given words and rows.
void writeLibrary(const std::string &path, uint32_t length, uint16_t width, int16_t height,
                  uint8_t seed)
{
    HANDLE f = ffCreate(path.c_str(), FALSE);
    ASSERT_NE(INVALID_HANDLE_VALUE, f);
    qmfWriteHeader(f, kPtnLibraryKind);
    uint16_t count = 1;
    ffWrite(f, &count, 2);
    uint8_t data[20 + 8] = {};
    memcpy(data, &width, 2);
    memcpy(data + 2, &height, 2);
    for (int i = 0; i < 16; ++i)
        data[4 + i] = (uint8_t)(seed + i);
    uint32_t n = std::min<uint32_t>(length - 4, sizeof data);
    MemHandle packet = utMakePacket(data, n);
    ffWritePacket(f, packet);
    utFreeHandle(packet);
    ffClose(f);
}

class PtnDefault : public FillTest {
protected:
    void TearDown() override
    {
        ptnFreeLibraryName();
        FillTest::TearDown();
    }
    qmtest::TempDir dir;
    std::string path = dir.file("qmptn.tvl");
};

PatternFill blank()
{
    PatternFill p;
    filDefaultPattern(&p);
    return p;
}

TEST_F(PtnDefault, TheLibrarysFirstPatternWhenItIsAWhole8By8Pattern)
{
    struct Case {
        const char *what;
        uint32_t length;
        uint16_t width;
        int16_t height;
        bool taken;
    } cases[] = {
        {"8 x 8", 24, 8, 8, true},
        {"16 wide", 24, 16, 8, false},
        {"4 high", 24, 8, 4, false},
        {"a longer packet", 28, 8, 8, false},
        {"a short packet", 12, 8, 8, false},
    };
    for (const Case &c : cases) {
        writeLibrary(path, c.length, c.width, c.height, 0x30);
        ptnSetLibraryName(utHandleFromString(path.c_str()));
        PatternFill p;
        memset(&p, 0x77, sizeof p);
        ptnDefaultFromLibrary(&p);
        if (c.taken) {
            EXPECT_EQ(24u, p.size) << c.what;
            EXPECT_EQ(0x30, p.rows[0]) << c.what;
            EXPECT_EQ(0x3F, p.rows[15]) << c.what;
        } else {
            PatternFill b = blank();
            EXPECT_EQ(0, memcmp(&p, &b, sizeof p)) << c.what;
        }
    }
}

TEST_F(PtnDefault, NewPagesTakeTheDefaultPattern)
{
    writeLibrary(path, 24, 8, 8, 0x10);
    for (bool named : {false, true}) {
        if (named)
            ptnSetLibraryName(utHandleFromString(path.c_str()));
        uint8_t record[PG_RECORD_SIZE];
        pgInitRecord(record);
        PatternFill p;
        memcpy(&p, record + PG_HEAD_SIZE + offsetof(PageData, defaultPattern), sizeof p);
        EXPECT_EQ(named ? 0x10 : 0xFF, p.rows[0]);
        EXPECT_EQ(named ? 0x1F : 0xFF, p.rows[15]);
        EXPECT_EQ(8, p.height);
    }
}

TEST_F(PtnDefault, TheLibraryNameIsHeldUntilFreed)
{
    char name[MAX_PATH];
    EXPECT_FALSE(ptnGetLibraryName(name, sizeof name));
    EXPECT_STREQ("", name);
    PatternFill p;
    ptnDefaultFromLibrary(&p);
    PatternFill b = blank();
    EXPECT_EQ(0, memcmp(&p, &b, sizeof p)) << "no library: blank";
    ptnSetLibraryName(0);
    EXPECT_TRUE(ptnGetLibraryName(name, sizeof name));
    EXPECT_STREQ("qmptn.tvl", name) << "the bare name";
    ptnSetLibraryName(utHandleFromString("C:\\apps\\qm\\qmptn.tvl"));   // the old name is freed
    char shortName[8];
    EXPECT_TRUE(ptnGetLibraryName(shortName, sizeof shortName));
    EXPECT_STREQ("C:\\apps", shortName) << "cut to the buffer";
    ptnFreeLibraryName();
    EXPECT_FALSE(ptnGetLibraryName(name, sizeof name));
    ptnFreeLibraryName();
}

}  // namespace
