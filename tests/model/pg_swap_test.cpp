// Temporary page files: swapping pages out and reading them back, their
// names, their deletion with the document, and failed swaps that keep the
// page in memory.
#include "tests/model/qmf_kit.h"
#include "model/pg_swap.h"
#include "model/qmf_save.h"
#include "support/ut_path.h"

using namespace qmftest;
using qmtest::BoxRecorder;
using qmtest::TempDir;

namespace {

std::string nameOf(const PageDirEntry &e)
{
    return std::string(e.tempName, strnlen(e.tempName, sizeof e.tempName));
}

std::string tempPath(const PageDirEntry &e)
{
    char path[UT_PATH_SIZE];
    utTempFilePath(path, nameOf(e).c_str());
    return path;
}

PageDirEntry entryOf(MemHandle form, int n)
{
    PageDirEntry e;
    pgDirGetEntry(fmGetDirectory(form), n, &e);
    return e;
}

struct FaultGuard {
    ~FaultGuard()
    {
        ffSetWriteFault(FF_FAULT_NONE, 0);
        ffSetDiskFreeOverride(~0ull);
    }
};

// A document of three pages with a few objects each, page 0 current.
class Swap : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = richDocument(3);
        fmSetCurrentPage(form, 0);
        ws = new pgtest::Workspace(form);
        for (int i = 0; i < 3; ++i)
            saved.push_back(objectRecords(pgDirGetPages(fmGetDirectory(form), i)));
    }
    void TearDown() override
    {
        delete ws;
        fmFree(form);
    }
    MemHandle page(int n) { return pgDirGetPages(fmGetDirectory(form), n); }
    MemHandle form = 0;
    pgtest::Workspace *ws = nullptr;
    std::vector<Records> saved;
    FaultGuard guard;
};

TEST_F(Swap, APageSwappedOutTwiceKeepsItsTemporaryName)
{
    ASSERT_EQ(1, pgSwapOutEntry(*ws, page(1), 1));
    PageDirEntry first = entryOf(form, 1);
    EXPECT_EQ(PG_HELD_IN_TEMP_FILE, first.state);
    EXPECT_EQ(0u, nameOf(first).find("~qm")) << nameOf(first);
    EXPECT_TRUE(ffExists(tempPath(first).c_str()));
    EXPECT_EQ(page(1), first.pages);   // the caller drops the page

    pgtest::addObject(page(1), "More", 10, 10, 20, 20);
    ASSERT_EQ(1, pgSwapOutEntry(*ws, page(1), 1));
    PageDirEntry second = entryOf(form, 1);
    EXPECT_EQ(nameOf(first), nameOf(second));
    EXPECT_GT(second.size, first.size);
    EXPECT_EQ((uint32_t)qmtest::readFile(tempPath(second)).size(), second.offset + second.size);

    // Read back from there: the page as it was written.
    Records now = objectRecords(page(1));
    pgDropEntryPages(*ws, 1);
    MemHandle back = pgDirEnsureLoaded(*ws, fmGetDirectory(form), 1);
    ASSERT_TRUE(back);
    EXPECT_EQ(now, objectRecords(back));
}

TEST_F(Swap, TheTemporaryFileOpensAsAOnePageDocument)
{
    ASSERT_EQ(1, pgSwapOutEntry(*ws, page(2), 2));
    std::string path = tempPath(entryOf(form, 2));
    BoxRecorder boxes;
    MemHandle read = 0;
    MemHandle temp = qmfOpenDocument(nullptr, path.c_str(), 0, &read);
    ASSERT_TRUE(temp) << boxes.texts();
    EXPECT_EQ(1, fmGetPageCount(temp));
    EXPECT_EQ(0u, fmGetBasePage(temp));
    EXPECT_EQ(entryOf(form, 2).offset, entryOf(temp, 0).offset);
    EXPECT_EQ(saved[2], objectRecords(read));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    fmFree(temp);
    // Freeing that form deletes nothing: its page is in its own file.
    EXPECT_TRUE(ffExists(path.c_str()));
}

TEST_F(Swap, FreeingTheFormOrDeletingThePageDeletesTheTemporaryFiles)
{
    ASSERT_EQ(1, pgSwapOutEntry(*ws, page(1), 1));
    ASSERT_EQ(1, pgSwapOutEntry(*ws, page(2), 2));
    std::string one = tempPath(entryOf(form, 1)), two = tempPath(entryOf(form, 2));
    EXPECT_EQ(1, pgDirDelete(*ws, 1));
    EXPECT_FALSE(ffExists(one.c_str()));
    EXPECT_TRUE(ffExists(two.c_str()));
    delete ws;
    ws = nullptr;
    fmFree(form);
    form = 0;
    EXPECT_FALSE(ffExists(two.c_str()));
    ws = new pgtest::Workspace(0);
}

// A page holding an object without a file form is never written short of
// it to its temporary file: it stays in memory whole.
TEST_F(Swap, APageWithAnObjectWithoutAFileFormStaysInMemory)
{
    MemHandle odd = obtest::make(OBT_TEXT, 0, 0, 500, 500, 12);
    pgAppendObject(page(1), odd);
    const PageDirEntry before = entryOf(form, 1);
    {
        BoxRecorder boxes;
        EXPECT_EQ(0, pgSwapOutEntry(*ws, page(1), 1));
    }
    PageDirEntry after = entryOf(form, 1);
    EXPECT_EQ(before.state, after.state);
    EXPECT_EQ(page(1), after.pages);
    EXPECT_EQ(odd, obGetListTail(pgGetFirstObject(page(1))));
}

TEST_F(Swap, AFailedSwapOutKeepsThePageInMemory)
{
    struct Case {
        FfWriteFault kind;
        uint64_t after;
    } cases[] = {{FF_FAULT_SHORT, 0}, {FF_FAULT_SHORT, 30}, {FF_FAULT_SHORT, 200},
                 {FF_FAULT_DISK_FULL, 100}, {FF_FAULT_DISK_FULL, 1000}};
    // A fresh entry: left as it was, no file left behind.
    BoxRecorder boxes;   // a short header shows its own message
    for (const Case &c : cases) {
        PageDirEntry before = entryOf(form, 1);
        ffSetWriteFault(c.kind, c.after);
        EXPECT_EQ(0, pgSwapOutEntry(*ws, page(1), 1)) << c.after;
        ffSetWriteFault(FF_FAULT_NONE, 0);
        PageDirEntry after = entryOf(form, 1);
        EXPECT_EQ(0, memcmp(&before, &after, sizeof before)) << c.after;
        EXPECT_TRUE(utIsLiveHandle(page(1)));
        EXPECT_EQ(saved[1], objectRecords(page(1)));
    }
    // An entry whose file is overwritten: that copy is gone, so the entry
    // says the page is in memory only, and the broken file is removed.
    ASSERT_EQ(1, pgSwapOutEntry(*ws, page(1), 1));
    std::string path = tempPath(entryOf(form, 1));
    ffSetWriteFault(FF_FAULT_SHORT, 150);
    EXPECT_EQ(0, pgSwapOutEntry(*ws, page(1), 1));
    ffSetWriteFault(FF_FAULT_NONE, 0);
    PageDirEntry e = entryOf(form, 1);
    EXPECT_EQ(PG_HELD_IN_MEMORY, e.state);
    EXPECT_EQ("", nameOf(e));
    EXPECT_EQ(page(1), e.pages);
    EXPECT_FALSE(ffExists(path.c_str()));

    // The current page: on failure its entry is reset to memory only.
    fmSetCurrentPage(form, 0);
    ffSetWriteFault(FF_FAULT_DISK_FULL, 500);
    EXPECT_EQ(0, pgSwapOutCurrent(*ws));
    ffSetWriteFault(FF_FAULT_NONE, 0);
    e = entryOf(form, 0);
    EXPECT_EQ(PG_HELD_IN_MEMORY, e.state);
    EXPECT_EQ("", nameOf(e));
    EXPECT_TRUE(utIsLiveHandle(e.pages));
    EXPECT_EQ(1, pgSwapOutCurrent(*ws));
    EXPECT_EQ(PG_HELD_IN_TEMP_FILE, entryOf(form, 0).state);

    // Appending a page whose swap-out fails keeps it in its entry.
    MemHandle extra = pgtest::newPage("Extra");
    ffSetWriteFault(FF_FAULT_DISK_FULL, 10);
    int n = pgDirAppendSwapped(*ws, extra);
    ffSetWriteFault(FF_FAULT_NONE, 0);
    ASSERT_EQ(3, n);
    EXPECT_EQ(extra, entryOf(form, 3).pages);
    EXPECT_EQ(PG_HELD_IN_MEMORY, entryOf(form, 3).state);
}

TEST_F(Swap, NotEnoughRoomInTheTemporaryFolder)
{
    BoxRecorder boxes;
    ffSetDiskFreeOverride(100);
    PageDirEntry before = entryOf(form, 1);
    EXPECT_EQ(0, pgSwapOutEntry(*ws, page(1), 1));
    char folder[UT_PATH_SIZE];
    utGetTempPath(folder);
    EXPECT_EQ(std::string("Not enough space in ") + folder[0] +
                  " drive for writing temporary file",
              boxes.texts());
    PageDirEntry after = entryOf(form, 1);
    EXPECT_EQ(0, memcmp(&before, &after, sizeof before));
}

TEST_F(Swap, AppendedPagesGoStraightToTheirFiles)
{
    MemHandle extra = pgtest::newPage("Extra");
    pgtest::addObject(extra, "x", 0, 0, 10, 10);
    Records want = objectRecords(extra);
    obtest::LiveCount live;
    int n = pgDirAppendSwapped(*ws, extra);
    ASSERT_EQ(3, n);
    PageDirEntry e = entryOf(form, 3);
    EXPECT_EQ(0u, e.pages);
    EXPECT_EQ(PG_HELD_IN_TEMP_FILE, e.state);
    EXPECT_FALSE(utIsLiveHandle(extra));
    MemHandle back = pgReadEntryPages(*ws, &e);
    ASSERT_TRUE(back);
    EXPECT_EQ(want, objectRecords(back));
    MemHandle record = pgReadEntryRecord(*ws, &e);
    ASSERT_TRUE(record);
    char name[32];
    EXPECT_STREQ("Extra", pgCopyName(record, name, sizeof name) ? name : "");
    EXPECT_EQ(0u, pgGetFirstObject(record));
    pgFreeList(record);
    pgFreeList(back);

    // A copy of an entry: its own file, and both can be read.
    MemHandle copy = pgDirSwapOutPage(*ws, 3);
    ASSERT_TRUE(copy);
    PageDirEntry c;
    {
        MemLock<PageDirEntry> p(copy);
        c = p[0];
    }
    utFreeHandle(copy);
    EXPECT_NE(nameOf(e), nameOf(c));
    int m = pgDirAppendEntry(*ws, &c);
    ASSERT_EQ(4, m);
    MemHandle fromCopy = pgDirEnsureLoaded(*ws, fmGetDirectory(form), 4);
    ASSERT_TRUE(fromCopy);
    EXPECT_EQ(want, objectRecords(fromCopy));
    // A page in memory gets a file of its own; its entry keeps the page.
    MemHandle own = pgDirSwapOutPage(*ws, 1);
    ASSERT_TRUE(own);
    {
        MemLock<PageDirEntry> p(own);
        EXPECT_EQ(PG_HELD_IN_TEMP_FILE, p->state);
        EXPECT_EQ(0u, p->pages);
        MemHandle back = pgReadEntryPages(*ws, p.get());
        EXPECT_EQ(saved[1], objectRecords(back));
        pgFreeList(back);
        pgDeleteEntryFile(p.get());
    }
    utFreeHandle(own);
    EXPECT_TRUE(utIsLiveHandle(page(1)));
}

TEST_F(Swap, PagesHeldInTheDocumentFileAndMissingFiles)
{
    TempDir dir;
    std::string path = dir.file("doc.qm");
    ASSERT_EQ(1, qmfSaveDocument(nullptr, path.c_str(), form, FALSE, FALSE));
    MemHandle doc = qmfOpenDocument(nullptr, path.c_str(), -1, nullptr);
    ASSERT_TRUE(doc);
    {
    pgtest::Workspace other(doc);
    PageDirEntry e = entryOf(doc, 2);
    EXPECT_EQ(PG_HELD_IN_DOCUMENT, e.state);
    MemHandle read = pgReadEntryPages(other, &e);
    ASSERT_TRUE(read);
    EXPECT_EQ(saved[2], objectRecords(read));
    pgFreeList(read);
    // The document file is never opened for writing through an entry.
    EXPECT_EQ(INVALID_HANDLE_VALUE, pgOpenEntryFile(other, &e, TRUE));
    EXPECT_EQ(0, pgEntryFileMissing(other, &e));
    // An entry without any file counts as present.
    PageDirEntry none = {};
    EXPECT_EQ(0, pgEntryFileMissing(other, &none));

    }
    // Freeing a document never deletes its own file.
    fmFree(doc);
    EXPECT_TRUE(ffExists(path.c_str()));

    // A missing or truncated temporary file: "Read error" and no page.
    ASSERT_EQ(1, pgSwapOutEntry(*ws, page(1), 1));
    PageDirEntry t = entryOf(form, 1);
    Bytes bytes = qmtest::readFile(tempPath(t));
    bytes.resize(bytes.size() - 20);
    ASSERT_TRUE(qmtest::writeFile(tempPath(t), bytes));
    {
        BoxRecorder boxes;
        EXPECT_EQ(0u, pgReadEntryPages(*ws, &t));
        EXPECT_NE(std::string::npos, boxes.texts().find("Read error")) << boxes.texts();
    }
    ASSERT_TRUE(DeleteFileA(tempPath(t).c_str()));
    EXPECT_EQ(1, pgEntryFileMissing(*ws, &t));
    {
        BoxRecorder boxes;
        EXPECT_EQ(0u, pgReadEntryPages(*ws, &t));
        EXPECT_EQ("Read error", boxes.texts());
    }
}

TEST(SwapNames, TemporaryNamesAndTheMinimalForm)
{
    char name[UT_PATH_SIZE], again[UT_PATH_SIZE], path[UT_PATH_SIZE];
    ASSERT_EQ(1, pgMakeTempPageName(name));
    ASSERT_EQ(1, pgMakeTempPageName(again));
    EXPECT_STRNE(name, again);
    EXPECT_LT(strlen(name), sizeof(PageDirEntry::tempName));
    EXPECT_EQ(nullptr, strchr(name, '\\'));
    utTempFilePath(path, name);
    EXPECT_TRUE(ffExists(path));   // the name is held until written
    DeleteFileA(path);
    utTempFilePath(path, again);
    DeleteFileA(path);
    ASSERT_EQ(1, utNewTempFilePath(path));
    char folder[UT_PATH_SIZE];
    utGetTempPath(folder);
    EXPECT_EQ(0, strncmp(path, folder, strlen(folder)));
    DeleteFileA(path);

    MemHandle form = fmNew();
    {
        FmLock f(form);
        f->type = 7;
        f->spare = 9;
    }
    MemHandle temp = fmMakeTempForm(form);
    ASSERT_EQ(80u, utHandleSize(temp));
    {
        FmLock t(temp);
        EXPECT_EQ(80u, t->length);
        EXPECT_EQ(7, t->type);
        EXPECT_EQ(9, t->spare);
        EXPECT_EQ(1, t->pages);
        EXPECT_NE(0u, t->updateTime);
        EXPECT_EQ(0u, t->directory);
        EXPECT_EQ(0u, t->attrs.count);
    }
    utFreeHandle(temp);
    fmFree(form);
}

}  // namespace
