// Record library files: creation, storing in place and by rewriting,
// replacing by name, deletion and compaction, older layouts and versions,
// refused and damaged files, and write failures that leave the library as
// it was.
#include "tests/support/kit.h"
#include "tests/model/ob_kit.h"
#include "commands/obj_block.h"
#include "library/olb_file.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/qmf_header.h"
#include "support/ff_file.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

using qmtest::BoxRecorder;
using qmtest::TempDir;
typedef std::vector<uint8_t> Bytes;

Bytes bytesOf(MemHandle h)
{
    uint32_t n = utGetPacketLength(h);
    MemLock<uint8_t> p(h);
    return p ? Bytes(p.get(), p.get() + n) : Bytes();
}

// A record packet of n bytes whose contents follow the seed.
MemHandle recordOf(uint32_t n, uint8_t seed)
{
    Bytes data(n - 4);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = (uint8_t)(seed + i * 7);
    return utMakePacket(data.data(), (uint32_t)data.size());
}

OlbIndexHead headOfFile(const Bytes &file, uint32_t indexAt)
{
    OlbIndexHead h;
    memcpy(&h, file.data() + indexAt, sizeof h);
    return h;
}

class Olb : public ::testing::Test {
protected:
    TempDir dir;
    std::string path = dir.file("objects.olb");
    MemHandle env = 0;
    long before = 0;
    MemHandle index_ = 0;

    void SetUp() override
    {
        ffSetDiskFreeOverride(0xFFFFFFFFFFFFFFFFull);
        env = olbCreateEnv(nullptr, OLB_ENV_FLAGS, 0, kOlbKindObjects,
                           "Quillmark Object Lib (*.olb)\0*.olb\0", "olb", path.c_str());
        ASSERT_NE(0u, env);
        before = qmtest::liveHandles();
    }
    void TearDown() override
    {
        ffSetWriteFault(FF_FAULT_NONE, 0);
        ffSetDiskFreeOverride(0xFFFFFFFFFFFFFFFFull);
        EXPECT_EQ(before, qmtest::liveHandles()) << "memory blocks left";
        EXPECT_TRUE(qmtest::fileIsClosed(path));
        olbFreeEnv(env);
    }

    // The index packet read back; the test frees it.
    MemHandle index() { return olbReadIndex(nullptr, env); }
    OlbIndexHead head()
    {
        OlbIndexHead h = {};
        EXPECT_TRUE(olbReadHead(nullptr, env, &h));
        return h;
    }
    bool store(uint32_t n, uint8_t seed, const char *name)
    {
        MemHandle r = recordOf(n, seed);
        bool ok = olbStoreObject(nullptr, env, r, name);
        utFreeHandle(r);
        return ok;
    }
    Bytes load(const char *name)
    {
        MemHandle r = olbLoadObject(nullptr, env, name);
        Bytes b = bytesOf(r);
        utFreeHandle(r);
        return b;
    }
};

TEST_F(Olb, ANewLibraryIsHeaderIdentityAndAnEmptyIndex)
{
    ASSERT_TRUE(olbCreateFile(nullptr, env, path.c_str()));
    Bytes file = qmtest::readFile(path);
    ASSERT_EQ(112u, file.size());
    FileHeader fh;
    memcpy(&fh, file.data(), sizeof fh);
    EXPECT_STREQ("OLB", fh.kind);
    EXPECT_STREQ("2.0", fh.version);
    EXPECT_EQ(4u, utGetAt<uint32_t>(file.data(), 40));   // the empty identity packet
    OlbIndexHead h = headOfFile(file, 44);
    EXPECT_EQ(68u, h.length);
    EXPECT_EQ(332, h.tag);
    EXPECT_EQ(0u, h.slots);
    EXPECT_EQ(0u, h.live);
    EXPECT_NE(0u, h.created);
    EXPECT_EQ(44u, olbIndexOffset(env));

    // The first store rewrites it with 65 slots, one used.
    ASSERT_TRUE(store(100, 1, "first"));
    h = head();
    EXPECT_EQ(65u, h.slots);
    EXPECT_EQ(1u, h.live);
    EXPECT_EQ(100u, h.largest);
    MemHandle expected = recordOf(100, 1);
    EXPECT_EQ(bytesOf(expected), load("FIRST"));
    utFreeHandle(expected);
}

TEST_F(Olb, ObjectsComeBackAndStoresAppendInPlaceUntilTheSlotsRunOut)
{
    ASSERT_TRUE(olbCreateFile(nullptr, env, path.c_str()));
    std::vector<Bytes> blocks;
    for (int i = 0; i < 20; ++i) {
        MemHandle object;
        if (i == 7) {
            object = obNewGroup(OBT_GROUP, obtest::make(OBT_RECTANGLE, 0, 0, 100, 100),
                                obtest::make(OBT_ELLIPSE, 200, 0, 300, 100),
                                obtest::make(OBT_RECTANGLE, 400, 0, 500, 100), (MemHandle)0);
        } else {
            object = obtest::make(i % 2 ? OBT_ELLIPSE : OBT_RECTANGLE, i * 10, 0, i * 10 + 500, 300);
        }
        MemHandle block = objPackTree(object);
        ASSERT_NE(0u, block);
        blocks.push_back(bytesOf(block));
        char name[16];
        snprintf(name, sizeof name, "Object %d", i);
        ASSERT_TRUE(olbStoreObject(nullptr, env, block, name)) << i;
        utFreeHandle(block);
        obFreeTree(object);
    }
    EXPECT_EQ(20, olbLiveCount(nullptr, env));
    for (int i = 0; i < 20; ++i) {
        char name[16];
        snprintf(name, sizeof name, "OBJECT %d", i);
        MemHandle got = olbLoadObject(nullptr, env, name);
        ASSERT_NE(0u, got) << name;
        EXPECT_EQ(blocks[(size_t)i], bytesOf(got)) << name;
        if (i == 7) {
            MemHandle tree = objUnpackTree(got);
            ASSERT_NE(0u, tree);
            EXPECT_EQ(3u, obtest::membersOf(tree).size());
            obFreeTree(tree);
        }
        utFreeHandle(got);
    }

    // The first store made 65 slots; every later one appended in place: the
    // file grows by the record only and the index keeps its place and size.
    OlbIndexHead h = head();
    EXPECT_EQ(65u, h.slots);
    for (int i = 20; i < 65; ++i) {
        uint32_t size = ffGetFileSizeByName(path.c_str());
        char name[16];
        snprintf(name, sizeof name, "more %d", i);
        ASSERT_TRUE(store(40, (uint8_t)i, name));
        EXPECT_EQ(size + 40, ffGetFileSizeByName(path.c_str())) << i;
        EXPECT_EQ(65u, head().slots) << i;
    }
    // The 66th record finds no free slot: the file is rewritten with 64 more.
    ASSERT_TRUE(store(40, 99, "sixty-sixth"));
    h = head();
    EXPECT_EQ(66u, h.live);
    EXPECT_EQ(130u, h.slots);
    EXPECT_EQ(blocks[7], load("object 7"));
}

TEST_F(Olb, StoringUnderANameReplacesItAndDeletedSlotsPileUpUntilARewrite)
{
    ASSERT_TRUE(olbCreateFile(nullptr, env, path.c_str()));
    ASSERT_TRUE(store(50, 1, "keep"));
    ASSERT_TRUE(store(50, 2, "twice"));
    ASSERT_TRUE(store(60, 3, "Twice"));
    EXPECT_EQ(2, olbLiveCount(nullptr, env));
    MemHandle third = recordOf(60, 3);
    EXPECT_EQ(bytesOf(third), load("twice"));
    utFreeHandle(third);
    {
        // The old slot is deleted with its name cleared.
        index_ = index();
        MemLock<> p(index_);
        const OlbIndexEntry *e = reinterpret_cast<const OlbIndexEntry *>(p.get() + 68);
        EXPECT_EQ(1, e[1].deleted);
        EXPECT_STREQ("", e[1].name);
        EXPECT_EQ(2, olbCountLive(e, 65));
    }
    utFreeHandle(index_);
    // 30 more replacements make 31 deleted slots; the next replacement
    // deletes the 32nd and rewrites, and the file shrinks.
    for (int i = 0; i < 30; ++i)
        ASSERT_TRUE(store(500, (uint8_t)i, "twice"));
    uint32_t grown = ffGetFileSizeByName(path.c_str());
    ASSERT_TRUE(store(500, 77, "twice"));
    EXPECT_LT(ffGetFileSizeByName(path.c_str()), grown);
    OlbIndexHead h = head();
    EXPECT_EQ(2u, h.live);
    EXPECT_EQ(66u, h.slots);
    MemHandle last = recordOf(500, 77);
    EXPECT_EQ(bytesOf(last), load("twice"));
    utFreeHandle(last);

    // A long name with blanks around keeps its first 31 characters.
    ASSERT_TRUE(store(20, 5, "  \r\nA name of forty characters, give or take \r\n"));
    EXPECT_FALSE(load("A name of forty characters, giv").empty());
    EXPECT_TRUE(load("A name of forty characters, give").empty());
}

TEST_F(Olb, DeletingAndCompacting)
{
    ASSERT_TRUE(olbCreateFile(nullptr, env, path.c_str()));
    ASSERT_TRUE(store(50, 1, "one"));
    ASSERT_TRUE(store(50, 2, "two"));
    BoxRecorder boxes;
    EXPECT_EQ(0, olbDeleteObject(nullptr, env, "ONE"));
    EXPECT_EQ(1, olbLiveCount(nullptr, env));
    EXPECT_TRUE(load("one").empty());
    // An absent name is a failure, not a success.
    EXPECT_EQ(-2, olbDeleteObject(nullptr, env, "one"));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    // Compacting drops the deleted record's bytes.
    uint32_t size = ffGetFileSizeByName(path.c_str());
    ASSERT_TRUE(olbStoreObject(nullptr, env, 0, nullptr));
    EXPECT_EQ(size - 50, ffGetFileSizeByName(path.c_str()));
    EXPECT_FALSE(load("two").empty());
    // Deleting the only record leaves no live entry; the list is reset.
    EXPECT_EQ(0, olbDeleteObject(nullptr, env, "two"));
    EXPECT_EQ(0, olbLiveCount(nullptr, env));
    HWND list = CreateWindowA("LISTBOX", "", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    SendMessageA(list, LB_ADDSTRING, 0, (LPARAM) "stale");
    EXPECT_EQ(-2, olbFillListFromEnv(nullptr, env, list));
    EXPECT_EQ(0, SendMessageA(list, LB_GETCOUNT, 0, 0));
    DestroyWindow(list);
}

TEST_F(Olb, EntryOperationsAndListBoxes)
{
    ASSERT_TRUE(olbCreateFile(nullptr, env, path.c_str()));
    for (const char *name : {"a", "b", "c"})
        ASSERT_TRUE(store(30, 1, name));
    MemHandle idx = index();
    {
        MemLock<> p(idx);
        OlbIndexEntry *e = reinterpret_cast<OlbIndexEntry *>(p.get() + 68);
        EXPECT_TRUE(olbMoveEntry(p.get(), 0, 2));   // b c a
        EXPECT_EQ(0, olbFindEntry(p.get(), "B"));
        EXPECT_EQ(2, olbFindEntry(p.get(), "a"));
        EXPECT_EQ(-1, olbFindEntry(p.get(), ""));
        EXPECT_TRUE(olbDeleteEntry(p.get(), 1));
        EXPECT_TRUE(olbDeleteEntry(p.get(), 1));   // already deleted: nothing changes
        EXPECT_EQ(2u, utGetAt<uint32_t>(p.get(), 32));
        EXPECT_FALSE(olbDeleteEntry(p.get(), 65));
        EXPECT_EQ(2, olbNthLive(e, 65, 1));
        EXPECT_EQ(-1, olbNthLive(e, 65, 2));
        EXPECT_EQ(2, olbNextLive(e, 65, 0));
        EXPECT_TRUE(olbUndeleteEntry(p.get(), 1));
        EXPECT_EQ(3u, utGetAt<uint32_t>(p.get(), 32));
    }
    HWND list = CreateWindowA("LISTBOX", "", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
    EXPECT_EQ(3, olbFillListFromIndex(list, idx));
    char text[32];
    SendMessageA(list, LB_GETTEXT, 2, (LPARAM)text);
    EXPECT_STREQ("a", text);
    SendMessageA(list, LB_SETCURSEL, 1, 0);
    utFreeHandle(idx);
    EXPECT_EQ(-3, olbFillListFromIndex(list, 0));
    MemHandle picked = olbLoadSelectedObject(nullptr, env, list);
    EXPECT_NE(0u, picked);
    utFreeHandle(picked);
    DestroyWindow(list);
}

TEST_F(Olb, UniqueNamesWrapAfterTheLastCounter)
{
    ASSERT_TRUE(olbCreateFile(nullptr, env, path.c_str()));
    ASSERT_TRUE(store(30, 1, "NM000001"));
    MemHandle idx = index();
    {
        MemLock<> p(idx);
        utPutAt<uint32_t>(p.get(), 48, 999999);
        char name[32];
        // NM000001 is taken: the next free one after the wrap is NM000002.
        EXPECT_TRUE(olbMakeUniqueName(p.get(), name, sizeof name));
        EXPECT_STREQ("NM000002", name);
        EXPECT_EQ(2u, utGetAt<uint32_t>(p.get(), 48));
    }
    utFreeHandle(idx);
}

// A library in the older layouts: version "1.0" (no identity packet) and
// an index whose counts are in the 16-bit fields.
TEST_F(Olb, OlderLayoutsAndVersionsAreReadAndConverted)
{
    HANDLE f = ffCreate(path.c_str(), FALSE);
    ASSERT_EQ(40u, qmfWriteHeaderEx(f, "OLB", "1.0"));
    uint32_t indexLength = 68 + 48 * 3;
    Bytes idx(indexLength, 0);
    utPutAt<uint32_t>(idx.data(), 0, indexLength);
    utPutAt<uint16_t>(idx.data(), 4, 332);
    utPutAt<int16_t>(idx.data(), 44, 3);
    utPutAt<int16_t>(idx.data(), 46, 3);
    MemHandle records[3];
    uint32_t at = 40 + indexLength;
    for (int i = 0; i < 3; ++i) {
        records[i] = recordOf(20 + 4 * (uint32_t)i, (uint8_t)i);
        uint8_t *e = idx.data() + 68 + 48 * i;
        snprintf((char *)e, 32, "old%d", i);
        utPutAt<int32_t>(e, 32, (int32_t)at);
        at += utGetPacketLength(records[i]);
    }
    ASSERT_EQ(indexLength, ffWrite(f, idx.data(), indexLength));
    for (MemHandle r : records)
        ffWritePacket(f, r);
    ffClose(f);

    OlbIndexHead h = head();
    EXPECT_EQ(3u, h.slots);
    EXPECT_EQ(3u, h.live);
    EXPECT_EQ(0, h.oldSlots);
    EXPECT_EQ(bytesOf(records[1]), load("OLD1"));

    // Deleting writes the index: the file is first rewritten as "2.0" and
    // the deletion is carried over to the new index.
    EXPECT_EQ(0, olbDeleteObject(nullptr, env, "old0"));
    Bytes file = qmtest::readFile(path);
    FileHeader fh;
    memcpy(&fh, file.data(), sizeof fh);
    EXPECT_STREQ("2.0", fh.version);
    EXPECT_EQ(2, olbLiveCount(nullptr, env));
    EXPECT_TRUE(load("old0").empty());
    EXPECT_EQ(bytesOf(records[2]), load("old2"));
    for (MemHandle r : records)
        utFreeHandle(r);
}

TEST_F(Olb, ForeignFilesFullDisksAndWriteFaults)
{
    // A file of another kind.
    HANDLE f = ffCreate(path.c_str(), FALSE);
    qmfWriteHeaderEx(f, "PALETTE", "2.0");
    ffClose(f);
    {
        BoxRecorder boxes;
        EXPECT_FALSE(olbOpenLibrary(nullptr, &env, path.c_str()));
        ASSERT_EQ(2u, boxes.count()) << boxes.texts();
        EXPECT_EQ("Error reading (olb): " + path, boxes.boxes()[0].text);
        EXPECT_EQ("Incorrect file type.  Please re-select.", boxes.boxes()[1].text);
    }
    ffDelete(path.c_str());
    // A name with no file yet passes the kind check; the file check then says no.
    EXPECT_FALSE(olbOpenLibrary(nullptr, &env, path.c_str()));
    ASSERT_TRUE(olbCreateFile(nullptr, env, path.c_str()));
    ASSERT_TRUE(olbOpenLibrary(nullptr, &env, path.c_str()));
    EXPECT_TRUE(olbIsLibraryFile(path.c_str()));
    ASSERT_TRUE(store(100, 1, "one"));
    ASSERT_TRUE(store(100, 2, "two"));

    // Too little free space: the message and nothing written.
    Bytes good = qmtest::readFile(path);
    ffSetDiskFreeOverride(good.size() + 100);
    {
        BoxRecorder boxes;
        EXPECT_FALSE(store(100, 3, "three"));
        ASSERT_EQ(1u, boxes.count());
        EXPECT_EQ("Not enough disk space for save.", boxes.last().text);
    }
    ffSetDiskFreeOverride(0xFFFFFFFFFFFFFFFFull);
    EXPECT_EQ(good, qmtest::readFile(path));

    // A write fault at any byte of an append in place or a rewrite leaves
    // the library exactly as it was.
    struct Step {
        const char *what;
        bool compact;
    } steps[] = {{"append", false}, {"rewrite", true}};
    for (const Step &s : steps) {
        // Overwriting the index of an append in place cannot meet a full
        // disk (no byte is added there), so that road is tried with short writes.
        for (FfWriteFault kind : {FF_FAULT_SHORT, FF_FAULT_DISK_FULL}) {
            if (!s.compact && kind == FF_FAULT_DISK_FULL)
                continue;
            uint32_t total = s.compact ? (uint32_t)good.size() : 100 + 68 + 48 * 65;
            for (uint32_t at = 0; at < total; at += s.compact ? 97 : 53) {
                BoxRecorder boxes;
                ffSetWriteFault(kind, at);
                bool ok = s.compact ? olbStoreObject(nullptr, env, 0, nullptr) != FALSE
                                    : store(100, 9, "nine");
                ffSetWriteFault(FF_FAULT_NONE, 0);
                ASSERT_FALSE(ok) << s.what << " at " << at;
                ASSERT_EQ(good, qmtest::readFile(path)) << s.what << " fault at " << at;
                ASSERT_GE(boxes.count(), 1u) << s.what << " at " << at;
            }
        }
    }
    // No temporary file was left beside the library.
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA(dir.file("~*").c_str(), &found);
    EXPECT_EQ(INVALID_HANDLE_VALUE, find);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
}

// Damaged indexes are refused without a crash, a leak or an open file.
TEST_F(Olb, DamagedIndexesAreRefused)
{
    ASSERT_TRUE(olbCreateFile(nullptr, env, path.c_str()));
    ASSERT_TRUE(store(100, 1, "one"));
    ASSERT_TRUE(store(100, 2, "two"));
    Bytes good = qmtest::readFile(path);
    const size_t idx = 44;   // header 40, empty identity packet 4
    struct Case {
        const char *what;
        void (*damage)(Bytes &);
    } cases[] = {
        {"slot count against the packet length", [](Bytes &b) { utPutAt<uint32_t>(b.data(), idx + 28, 66); }},
        {"slot count overflowing", [](Bytes &b) { utPutAt<uint32_t>(b.data(), idx + 28, 0x05555555); }},
        {"live count above the slots", [](Bytes &b) { utPutAt<uint32_t>(b.data(), idx + 32, 66); }},
        {"an offset past the end", [](Bytes &b) { utPutAt<int32_t>(b.data(), idx + 68 + 32, 0x7FFFFFF0); }},
        {"a name without its NUL", [](Bytes &b) { memset(b.data() + idx + 68, 'x', 32); }},
        {"an index length past the file", [](Bytes &b) { utPutAt<uint32_t>(b.data(), idx, 0x7FFFFFFF); }},
        {"an index shorter than its head", [](Bytes &b) { utPutAt<uint32_t>(b.data(), idx, 20); }},
    };
    for (const Case &c : cases) {
        Bytes bad = good;
        c.damage(bad);
        ASSERT_TRUE(qmtest::writeFile(path, bad));
        BoxRecorder boxes;
        EXPECT_EQ(0u, index()) << c.what;
        EXPECT_EQ(0u, olbLoadObject(nullptr, env, "one")) << c.what;
        EXPECT_FALSE(store(10, 1, "x")) << c.what;
        EXPECT_GE(boxes.count(), 1u) << c.what;
        EXPECT_EQ(bad, qmtest::readFile(path)) << c.what;
        EXPECT_TRUE(qmtest::fileIsClosed(path)) << c.what;
    }
    // A record cut short is not loaded; the index still reads.
    Bytes cut(good.begin(), good.end() - 10);
    ASSERT_TRUE(qmtest::writeFile(path, cut));
    {
        BoxRecorder boxes;
        EXPECT_EQ(0u, olbLoadObject(nullptr, env, "two"));
        MemHandle one = olbLoadObject(nullptr, env, "one");
        EXPECT_NE(0u, one);
        utFreeHandle(one);
    }
    // Truncation at every offset: never a crash, a leak or an open file.
    for (size_t n = 0; n < good.size(); n += 3) {
        ASSERT_TRUE(qmtest::writeFile(path, Bytes(good.begin(), good.begin() + (long)n)));
        BoxRecorder boxes;
        MemHandle got = olbLoadObject(nullptr, env, "two");
        utFreeHandle(got);
        ASSERT_TRUE(qmtest::fileIsClosed(path)) << n;
    }
}

TEST_F(Olb, EnvironmentsAndExtensions)
{
    char name[MAX_PATH];
    EXPECT_TRUE(olbGetFileName(env, name, sizeof name));
    EXPECT_EQ(path, name);
    MemHandle copy = olbDupEnv(env);
    ASSERT_NE(0u, copy);
    EXPECT_NE(olbGetIdBlock(env), olbGetIdBlock(copy));
    copy = olbSetFileName(copy, "C:\\a much longer name for the library file.olb");
    olbGetFileName(copy, name, sizeof name);
    EXPECT_STREQ("C:\\a much longer name for the library file.olb", name);
    char kind[12], version[8];
    EXPECT_TRUE(olbGetKindVersion(copy, kind, version));
    EXPECT_STREQ("OLB", kind);
    EXPECT_STREQ("2.0", version);
    EXPECT_TRUE(olbIsWritable(copy));
    olbMarkReadOnly(copy);
    EXPECT_FALSE(olbIsWritable(copy));
    olbClearIdBlock(copy);
    EXPECT_EQ(0u, olbGetIdBlock(copy));
    EXPECT_EQ(40u, olbIndexOffset(copy));
    olbFreeEnv(copy);
    for (const char *yes : {"*.olb", ".OLB", "olb"})
        EXPECT_TRUE(olbIsLibExt(yes)) << yes;
    for (const char *no : {"**.olb", "*.olbx", "fav", ""})
        EXPECT_FALSE(olbIsLibExt(no)) << no;
}

}  // namespace
