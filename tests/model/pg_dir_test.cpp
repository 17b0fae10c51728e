// The page directory: insertion and deletion, finding pages by name,
// directories for pages read from files, page file sizes and new
// documents.
#include "tests/model/pg_kit.h"
#include "model/pg_swap.h"
#include "model/qmf_sizes.h"
#include "model/lay_layers.h"
#include "support/ff_file.h"
#include "support/ut_path.h"
#include "support/win_datawin.h"
#include <string.h>

using obtest::LiveCount;
using pgtest::Workspace;
using pgtest::addObject;
using pgtest::docWithPages;
using pgtest::newPage;
using pgtest::pageNames;
typedef std::vector<std::string> Names;

namespace {

TEST(PageDirectory, InsertBeforeAfterOrAtTheEnd)
{
    struct Case {
        int n;
        BOOL after;
        int index;
        Names order;
    } cases[] = {
        {0, FALSE, 0, {"new", "a", "b", "c"}},
        {1, FALSE, 1, {"a", "new", "b", "c"}},
        {1, TRUE, 2, {"a", "b", "new", "c"}},
        {2, TRUE, 3, {"a", "b", "c", "new"}},    // after the last entry
        {-1, FALSE, 3, {"a", "b", "c", "new"}},
        {-1, TRUE, 3, {"a", "b", "c", "new"}},
        {3, FALSE, 3, {"a", "b", "c", "new"}},   // at the page count
        {9, TRUE, 3, {"a", "b", "c", "new"}},
    };
    for (const Case &c : cases) {
        MemHandle form = docWithPages({"a", "b", "c"});
        EXPECT_EQ(c.index, pageTableInsert(form, newPage("new"), c.n, c.after))
            << c.n << (c.after ? " after" : " before");
        EXPECT_EQ(c.order, pageNames(form)) << c.n << (c.after ? " after" : " before");
        EXPECT_EQ(4, fmGetPageCount(form));
        PageDirEntry entry;
        ASSERT_TRUE(pgDirGetEntry(fmGetDirectory(form), c.index, &entry));
        EXPECT_EQ(PG_HELD_IN_MEMORY, entry.state);
        EXPECT_EQ(0u, entry.offset);
        EXPECT_EQ(pgCalcFileSize(entry.pages), entry.size);
        fmFree(form);
    }
    // Nothing to insert, or nowhere to insert it.
    MemHandle page = newPage();
    EXPECT_EQ(-1, pgDirAppend(0, page));
    MemHandle form = fmNew();
    EXPECT_EQ(-1, pgDirAppend(form, 0));
    EXPECT_EQ(0, pgDirAppend(form, page));
    EXPECT_EQ(1, pgDirAppend(form, newPage()));
    fmFree(form);
}

TEST(PageDirectory, DeletingAPageMovesTheLaterOnesDown)
{
    struct Case {
        int n;
        int deleted;
        Names left;
    } cases[] = {
        {2, 1, {"a", "b"}},           // the last page: the others untouched
        {0, 1, {"b", "c"}},
        {1, 1, {"a", "c"}},
        {3, 0, {"a", "b", "c"}},
        {-1, 0, {"a", "b", "c"}},
    };
    for (const Case &c : cases) {
        MemHandle form = docWithPages({"a", "b", "c"});
        fmSetCurrentPage(form, -1);
        Workspace ws(form);
        LiveCount live;
        MemHandle gone = pgDirGetPages(fmGetDirectory(form), c.n);
        EXPECT_EQ(c.deleted, pgDirDelete(ws, c.n)) << c.n;
        EXPECT_EQ(c.left, pageNames(form)) << c.n;
        EXPECT_EQ((int)c.left.size(), fmGetPageCount(form));
        EXPECT_EQ(c.deleted != 0, gone && !utIsLiveHandle(gone));
        EXPECT_LE(live.leaked(), 0);
        fmFree(form);
    }
    EXPECT_EQ(0, pgDirDelete(nullptr, 0));
}

TEST(PageDirectory, DeletingTheCurrentPageLetsTheWorkspaceReleaseIt)
{
    MemHandle form = docWithPages({"a", "b", "c"});
    fmSetCurrentPage(form, 1);
    Workspace ws(form);
    MemHandle current = pvGetCurrentPage(ws);
    ASSERT_TRUE(current);
    EXPECT_EQ(1, pgDirDelete(ws, 1));
    EXPECT_FALSE(utIsLiveHandle(current));
    EXPECT_EQ((Names{"a", "c"}), pageNames(form));
    fmFree(form);
}

TEST(PageDirectory, DeletingAPageRemovesItsTemporaryFile)
{
    char folder[UT_PATH_SIZE], path[UT_PATH_SIZE];
    utGetTempPath(folder);
    ASSERT_TRUE(GetTempFileNameA(folder, "~qm", 0, path));
    const std::string file = path;
    MemHandle form = docWithPages({"a", "b"});
    fmSetCurrentPage(form, 0);
    {
        PageDirEntry *e = fmLockDirectory(form);
        e[1].state = PG_HELD_IN_TEMP_FILE;
        utStrCopyN(e[1].tempName, utStripFolder(path), sizeof(e[1].tempName));
        fmUnlockDirectory(form);
    }
    Workspace ws(form);
    EXPECT_EQ(1, pgDirDelete(ws, 1));
    EXPECT_FALSE(ffExists(file.c_str()));
    fmFree(form);
}

TEST(PageDirectory, FindingAPageByName)
{
    MemHandle form = docWithPages({"Cover", "Index", "cover"});
    Workspace ws(form);
    EXPECT_EQ(0, pgDirFind(ws, "COVER"));
    EXPECT_EQ(1, pgDirFind(ws, "index"));
    EXPECT_EQ(-1, pgDirFind(ws, "Back"));
    EXPECT_EQ(-1, pgDirFind(nullptr, "Cover"));

    // A page held only in a file that cannot be read ends the search.
    MemHandle first = pgDirGetPages(fmGetDirectory(form), 0);
    pgDirClearPages(form, 0);
    {
        PageDirEntry *e = fmLockDirectory(form);
        e[0].state = PG_HELD_IN_DOCUMENT;
        fmUnlockDirectory(form);
    }
    {
        qmtest::BoxRecorder boxes;
        EXPECT_EQ(-1, pgDirFind(ws, "Index"));
        EXPECT_EQ("Read error", boxes.texts());
        EXPECT_EQ(0u, pgDirEnsureLoaded(ws, fmGetDirectory(form), 0));
    }
    pgDirSetPages(fmGetDirectory(form), first, 0);
    EXPECT_EQ(first, pgDirEnsureLoaded(ws, fmGetDirectory(form), 0));
    EXPECT_EQ(1, pgDirFind(ws, "Index"));
    fmFree(form);
}

TEST(PageDirectory, EntryAccessorsStayInsideTheDirectory)
{
    MemHandle form = docWithPages({"a", "b"});
    MemHandle dir = fmGetDirectory(form);
    EXPECT_EQ(-1, pgDirGetOffset(dir, -1));
    EXPECT_EQ(-1, pgDirGetOffset(dir, pgDirCapacity(dir)));
    EXPECT_EQ(0, pgDirGetOffset(dir, 1));
    EXPECT_EQ(0u, pgDirGetPagesChecked(dir, 2, 2));
    EXPECT_EQ(0u, pgDirGetPagesChecked(dir, 1, 1));
    EXPECT_NE(0u, pgDirGetPagesChecked(dir, 2, 1));
    EXPECT_FALSE(pgDirSetPages(dir, 0, 40));
    EXPECT_EQ(pgDirSumSizes(dir, 1) * 2, pgDirSumSizes(dir, 2));
    EXPECT_EQ(pgDirSumSizes(dir, 2), pgDirSumSizes(dir, 99));
    // A page count larger than the directory holds is cut to it.
    {
        FmLock r(form);
        r->pages = 30;
    }
    int count = 0;
    fmLockDirectory(form, &count);
    fmUnlockDirectory(form);
    EXPECT_EQ(pgDirCapacity(dir), count);
    fmFree(form);
}

TEST(PageDirectory, ResettingStatesKeepsPagesThatAreOnlyInFiles)
{
    MemHandle form = docWithPages({"a", "b"});
    MemHandle second = pgDirGetPages(fmGetDirectory(form), 1);
    pgDirClearPages(form, 1);
    {
        PageDirEntry *e = fmLockDirectory(form);
        e[0].state = PG_HELD_IN_DOCUMENT;
        e[0].offset = 500;
        e[1].state = PG_HELD_IN_DOCUMENT;
        e[1].offset = 900;
        fmUnlockDirectory(form);
    }
    fmResetDirectoryStates(form);
    PageDirEntry entry;
    pgDirGetEntry(fmGetDirectory(form), 0, &entry);
    EXPECT_EQ(PG_HELD_IN_MEMORY, entry.state);
    EXPECT_EQ(0u, entry.offset);
    pgDirGetEntry(fmGetDirectory(form), 1, &entry);
    EXPECT_EQ(PG_HELD_IN_DOCUMENT, entry.state);
    EXPECT_EQ(900u, entry.offset);
    pgFreeList(second);
    fmFree(form);
}

TEST(PageDirectory, DirectoryOfPagesReadFromAFile)
{
    MemHandle sizes = obtest::packet(16);
    {
        MemLock<uint32_t> w(sizes);
        w[1] = 100;
        w[2] = 250;
        w[3] = 40;
    }
    MemHandle dir = CreatePGDList(1000, sizes, 3);
    ASSERT_TRUE(dir);
    const uint32_t offsets[3] = {1016, 1116, 1366}, lengths[3] = {100, 250, 40};
    for (int i = 0; i < 3; ++i) {
        PageDirEntry entry;
        ASSERT_TRUE(pgDirGetEntry(dir, i, &entry));
        EXPECT_EQ(PG_HELD_IN_DOCUMENT, entry.state);
        EXPECT_EQ(offsets[i], entry.offset);
        EXPECT_EQ(lengths[i], entry.size);
        EXPECT_EQ(0u, entry.pages);
    }
    utFreeHandle(dir);

    {
        qmtest::BoxRecorder boxes;
        EXPECT_EQ(0u, CreatePGDList(1000, sizes, 2));
        EXPECT_EQ("nPages != npages in CreatePGDList", boxes.texts());
    }
    dir = CreatePGDList(77, 0, 1);
    PageDirEntry entry;
    ASSERT_TRUE(pgDirGetEntry(dir, 0, &entry));
    EXPECT_EQ(77u, entry.offset);
    EXPECT_EQ(0u, entry.size);
    EXPECT_EQ(PG_HELD_IN_DOCUMENT, entry.state);
    utFreeHandle(dir);
    EXPECT_EQ(0u, CreatePGDList(77, 0, 2));
    EXPECT_EQ(0u, CreatePGDList(77, 0, 0));
    utFreeHandle(sizes);
}

TEST(PageDirectory, PageFileSizeCountsRecordExtrasAndObjects)
{
    MemHandle page = newPage();
    addObject(page, nullptr);
    MemHandle named = addObject(page, "box");
    MemHandle extra = obtest::packet(24);
    obSetExtraData(named, extra);
    MemHandle palette = obtest::packet(30);
    {
        PgLock p(page);
        p.data()->paletteBlock = palette;
        p.data()->extrasFlags = 0x100;   // a side block announced that is not there
    }
    // Page record 494 - 46; layer state 6 + 4 + 2 + 2 + 2 (one layer in use
    // and editable); the palette; two rectangles of 86 - 14 bytes, the
    // second with its 4-byte name and extra data.
    uint32_t extras = 16 + 30;
    uint32_t objects = (72 + 8) + (72 + 8 + 4 + 24);   // each rectangle has 8 bytes of its own data
    EXPECT_EQ(448 + extras + objects, pgCalcFileSize(page));
    PgLock p(page);
    EXPECT_EQ(extras, p.data()->extrasBytes);
    EXPECT_EQ(extras + objects, p.data()->bodyBytes);
    EXPECT_EQ(2u | 64u, p.data()->extrasFlags);
    pgFreeList(page);
}

TEST(PageDirectory, SizesOfTheWorkspacesPagesAreRecorded)
{
    MemHandle form = docWithPages({"a", "b"});
    Workspace ws(form);
    MemHandle page = pgDirGetPages(fmGetDirectory(form), 1);
    uint32_t before = pgDirSumSizes(fmGetDirectory(form), 2);
    addObject(page, "new");
    EXPECT_EQ(pgCalcFileSize(page), pgDirUpdateSize(ws, 1));
    EXPECT_EQ(before + 72 + 8 + 4, pgDirSumSizes(fmGetDirectory(form), 2));   // a named rectangle
    EXPECT_EQ(0u, pgDirUpdateSize(ws, 2));
    pgDropEntryPages(ws, 1);
    EXPECT_FALSE(utIsLiveHandle(page));
    EXPECT_EQ(0u, pgDirUpdateSize(ws, 1));
    fmFree(form);
}

TEST(PageDirectory, DumpShowsTheEntryInTheDataViewer)
{
    MemHandle form = docWithPages({"a", "b"});
    {
        PageDirEntry *e = fmLockDirectory(form);
        strcpy(e[1].tempName, "~qm12.tmp");
        fmUnlockDirectory(form);
    }
    Workspace ws(form);
    pgDirDump(ws, 1);
    char text[128];
    winDataWindowGetText(text, sizeof(text));
    EXPECT_STREQ("Page Number = 1, Temp File Name = ~qm12.tmp", text);
    winCloseDataWindow();
    EXPECT_FALSE(winDataWindowAppend("more"));
    fmFree(form);
}

TEST(PageDirectory, NewDocumentHasOnePageAndNoCurrentPage)
{
    MemHandle form = pgNewDocument(TRUE);
    ASSERT_TRUE(form);
    EXPECT_EQ(1, fmGetPageCount(form));
    EXPECT_EQ(-1, fmGetCurrentPage(form));
    MemHandle page = pgDirGetPages(fmGetDirectory(form), 0);
    EXPECT_TRUE(pgIsValid(page));
    EXPECT_EQ(12240, obGetWidth(page));
    EXPECT_EQ(15840, obGetHeight(page));
    fmFree(form);
}

}  // namespace
