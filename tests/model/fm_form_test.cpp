// The form record: a new form's defaults, its fields and attributes, the
// generated-name counters, the document options, the password, the
// printer names and the release of everything a form owns.
#include "tests/model/pg_kit.h"
#include "tests/support/kit_printer.h"
#include "model/pg_swap.h"
#include "model/setup_record.h"
#include "support/ff_file.h"
#include "support/ut_path.h"
#include <string.h>

using obtest::LiveCount;
using pgtest::Workspace;
using pgtest::addObject;
using pgtest::newPage;
using pgtest::textOf;

namespace {

void setCounterWord(MemHandle form, int slot, uint16_t value)
{
    FmLock r(form);
    uint8_t *c = r.findAttr(FM_TAG_NAME_COUNTERS);
    ASSERT_NE(nullptr, c);
    memcpy(c + 2 * slot, &value, 2);
}

const FmNameKind kKinds[] = {FM_NAME_FIELD, FM_NAME_BUTTON, FM_NAME_CHECKBOX,
                             FM_NAME_GROUPBOX, FM_NAME_TABLE, FM_NAME_RADIO,
                             FM_NAME_COUNTER, FM_NAME_REPORT_TABLE, FM_NAME_IMAGE_FILE};

// A form with one page (current) holding objects of the given names,
// shown in the workspace.
MemHandle docWithObjects(const std::vector<const char *> &names)
{
    MemHandle form = fmNew();
    MemHandle page = newPage();
    for (const char *n : names)
        addObject(page, n);
    pgDirAppend(form, page);
    fmSetCurrentPage(form, 0);
    return form;
}

TEST(FormRecord, NewFormTakesTheDefaults)
{
    MemHandle form = fmNew();
    ASSERT_TRUE(form);
    {
        FmLock r(form);
        EXPECT_EQ(1002, r->type);
        EXPECT_EQ(0, r->pages);
        EXPECT_EQ(0u, r->directory);
        EXPECT_EQ(16, r->gridDivisions);
        EXPECT_EQ(0x40000000u, r->attrs.tagMask);   // the counters; no printer here
        EXPECT_EQ(kFmHeadSize + 6 + kFmNameCountersSize, r->length);
    }
    EXPECT_EQ(0x2040, fmGetOptions(form));
    EXPECT_EQ(0, fmNeedsSaveOptionPrompt(form));
    EXPECT_TRUE(fmIsLengthConsistent(form));
    for (FmNameKind kind : kKinds)
        EXPECT_EQ(0, fmGetNameCounter(form, kind));
    int length = 0;
    const uint8_t *c = fmFindAttr(form, FM_TAG_NAME_COUNTERS, &length);
    ASSERT_NE(nullptr, c);
    EXPECT_EQ(kFmNameCountersSize, length);
    EXPECT_EQ(315, c[4] | c[5] << 8);
    EXPECT_EQ(9999, c[6] | c[7] << 8);
    fmUnlock(form);
    EXPECT_EQ("<null>", textOf(fmGetTextAttr(form, FM_TAG_TEXT2)));
    fmFree(form);
}

TEST(FormRecord, NewFormGetsTheGlobalDefaultTextWhenTheSettingsAskForIt)
{
    setAdoptSetupRecord(setNewSetupRecord());
    ASSERT_TRUE(setPutNewDocText("Ada Lovelace"));
    MemHandle plain = fmNew();
    EXPECT_EQ("<null>", textOf(fmGetTextAttr(plain, FM_TAG_TEXT2)));
    setPutApplyMasterAuthor(TRUE);
    MemHandle form = fmNew();
    EXPECT_EQ("Ada Lovelace", textOf(fmGetTextAttr(form, FM_TAG_TEXT2)));
    EXPECT_TRUE(fmIsLengthConsistent(form));
    fmFree(plain);
    fmFree(form);
    setFreeSetupRecords();
}

TEST(FormRecord, PrinterNamesFollowTheCurrentPrinter)
{
    qmtest::FakePrinter printer;
    ASSERT_TRUE(dmStartDefaultPrinter(nullptr));
    MemHandle form = fmNew();
    int length = 0;
    const uint8_t *names = fmFindAttr(form, FM_TAG_PRINTER_NAMES, &length);
    ASSERT_NE(nullptr, names);
    uint32_t own = 0;
    memcpy(&own, names, 4);
    EXPECT_EQ((uint32_t)length, own);   // stored with the packet's own length
    fmUnlock(form);
    EXPECT_EQ(1, fmSamePrinter(form));

    printer.device = "Another Printer";
    ASSERT_TRUE(dmStartDefaultPrinter(nullptr));
    EXPECT_EQ(0, fmSamePrinter(form));
    form = fmStorePrinterNames(form);
    EXPECT_EQ(1, fmSamePrinter(form));

    dmEndPrinter();
    EXPECT_EQ(0, fmSamePrinter(form));
    MemHandle before = form;
    EXPECT_EQ(before, fmStorePrinterNames(form));   // nothing to store
    fmFree(form);
}

// ---- fields ---------------------------------------------------------------------

TEST(FormRecord, OptionAndStyleBits)
{
    MemHandle form = fmNew();
    fmSetSaveOptionDue(form, TRUE);
    EXPECT_EQ(1, fmNeedsSaveOptionPrompt(form));
    fmSetSaveOptionDue(form, FALSE);
    EXPECT_EQ(0, fmNeedsSaveOptionPrompt(form));
    EXPECT_EQ(1, fmIsInRecentList(form));
    fmToggleRecentList(form);
    EXPECT_EQ(0, fmIsInRecentList(form));
    fmSetOptions(form, 0xFFFF);
    fmClearOptions(form);
    EXPECT_EQ(0x8000, fmGetOptions(form));
    EXPECT_EQ(1, fmSetViewWord(form, 7));
    EXPECT_EQ(0, fmSetViewWord(form, 7));
    fmSetStyle4(form, TRUE);
    fmSetStyleSaved(form);
    EXPECT_EQ(0x8004, fmGetStyle(form));
    fmSetCurrentPage(form, -1);
    EXPECT_EQ(-1, fmGetCurrentPage(form));

    // No form: every getter answers 0, the recent-list test 1.
    EXPECT_EQ(1, fmIsInRecentList(0));
    EXPECT_EQ(0, fmNeedsSaveOptionPrompt(0));
    EXPECT_EQ(0, fmGetPageCount(0));
    EXPECT_EQ(0u, fmGetViewWord(0));
    EXPECT_EQ(0, fmSetViewWord(0, 1));
    fmFree(form);
}

TEST(FormRecord, BasePageSetsAndClearsResourceBitZero)
{
    MemHandle form = fmNew();
    pgFreeList(newPage());   // the layer module's own sets come to life once
    LiveCount live;
    MemHandle base = newPage();
    addObject(base, "logo");
    fmSetBasePage(form, base);
    EXPECT_EQ(base, fmGetBasePage(form));
    EXPECT_EQ(FM_RES_BASE_PAGE, FmLock(form)->resources & FM_RES_BASE_PAGE);
    fmSetBasePage(form, 0);
    EXPECT_EQ(0u, FmLock(form)->resources & FM_RES_BASE_PAGE);
    fmSetBasePage(form, base);
    fmDropBasePage(form);
    EXPECT_EQ(0u, fmGetBasePage(form));
    EXPECT_EQ(0u, FmLock(form)->resources & FM_RES_BASE_PAGE);
    EXPECT_EQ(0, live.leaked());   // the page with its object and layer sets
    fmFree(form);
}

TEST(FormRecord, FilePathIsCutToItsBuffer)
{
    MemHandle form = fmNew();
    char path[8];
    EXPECT_EQ(0, fmGetFilePath(form, path, sizeof(path)));
    EXPECT_FALSE(fmHasFilePath(form));
    ASSERT_TRUE(fmSetFilePath(form, "C:\\docs\\letter.qm"));
    EXPECT_EQ(1, fmGetFilePath(form, path, sizeof(path)));
    EXPECT_STREQ("C:\\docs", path);
    EXPECT_TRUE(fmHasFilePath(form));
    fmSetFilePath(form, "");
    EXPECT_FALSE(fmHasFilePath(form));
    fmFree(form);
}

// ---- attributes -----------------------------------------------------------------

TEST(FormAttributes, TextsAreStoredWithTheirTerminatorAndAnEmptyTextRemoves)
{
    MemHandle form = fmNew();
    for (uint32_t tag : {FM_TAG_TEXT2, FM_TAG_TEXT2000000, FM_TAG_TEXT4000000,
                         FM_TAG_TEXT10000000}) {
        EXPECT_EQ("<null>", textOf(fmGetTextAttr(form, tag)));
        form = fmSetTextAttr(form, tag, "Quarterly report");
        int length = 0;
        ASSERT_NE(nullptr, fmFindAttr(form, tag, &length));
        fmUnlock(form);
        EXPECT_EQ(17, length);
        EXPECT_EQ("Quarterly report", textOf(fmGetTextAttr(form, tag)));
        EXPECT_EQ(tag == FM_TAG_TEXT4000000, fmHasText4000000(form) != FALSE);
        form = fmSetTextAttr(form, tag, "");
        EXPECT_EQ("<null>", textOf(fmGetTextAttr(form, tag)));
        EXPECT_EQ(0u, FmLock(form)->attrs.tagMask & tag);
    }
    EXPECT_FALSE(fmHasText4000000(form));
    EXPECT_TRUE(fmIsLengthConsistent(form));
    fmFree(form);
}

TEST(FormAttributes, MirroredPagesFollowTheFacingPagesMode)
{
    struct Case {
        uint16_t mode;
        int16_t first;
        int page;
        int mirrored;
    } cases[] = {
        {1, 1, 0, 1}, {1, 1, 1, 0}, {1, 1, 2, 1}, {2, 0, 1, 1}, {2, 0, 4, 0},
        {2, 5, 2, 1}, {0, 0, 1, 0}, {3, 0, 1, 0}, {3, 1, 0, 0},
    };
    for (const Case &c : cases) {
        MemHandle form = fmNew();
        MemHandle record = utAllocHandle(0, 12);
        {
            MemLock<uint8_t> p(record);
            uint32_t length = 12;
            memcpy(p.get(), &length, 4);
            memcpy(p.get() + 6, &c.mode, 2);
            memcpy(p.get() + 8, &c.first, 2);
        }
        form = fmSetFacingPages(form, record);
        EXPECT_EQ(c.mirrored, fmIsMirroredPage(form, c.page))
            << "mode " << c.mode << " first " << c.first << " page " << c.page;
        form = fmSetFacingPages(form, 0);
        EXPECT_EQ(0, fmIsMirroredPage(form, c.page));
        utFreeHandle(record);
        fmFree(form);
    }
}

TEST(FormAttributes, LengthPrefixedBlocksAreTakenOnlyWhenTheirLengthFits)
{
    MemHandle form = fmNew();
    MemHandle options = obtest::packet(12);
    {
        MemLock<uint32_t> w(options);
        w[2] = 3;
    }
    form = fmSetSpecialOptions(form, options);
    EXPECT_EQ(1, fmGetSpecialFlag0(form));
    EXPECT_EQ(1, fmGetSpecialFlag1(form));
    uint32_t stored = FmLock(form)->length;

    // A length beyond its own block is refused and the form left alone.
    {
        MemLock<uint32_t> w(options);
        w[0] = 400;
    }
    MemHandle before = form;
    EXPECT_EQ(before, fmSetSpecialOptions(form, options));
    EXPECT_EQ(stored, FmLock(form)->length);
    EXPECT_EQ(before, fmSetBlock(form, options));
    EXPECT_EQ(0u, fmGetBlock(form));

    MemHandle block = obtest::packet(8);
    form = fmSetBlock(form, block);
    MemHandle copy = fmGetBlock(form);
    EXPECT_EQ(8u, utGetPacketLength(copy));
    utFreeHandle(copy);
    form = fmSetSpecialOptions(form, 0);
    EXPECT_EQ(0, fmGetSpecialFlag0(form));
    EXPECT_TRUE(fmIsLengthConsistent(form));
    utFreeHandle(options);
    utFreeHandle(block);
    fmFree(form);
}

// ---- document options -------------------------------------------------------------

TEST(DocOptions, FlagGettersWithAndWithoutTheRecord)
{
    struct Case {
        uint16_t bit;
        int absent;      // no document options
        int defaults;    // the default record (flags B 0x8000)
    } cases[] = {
        {DO_B_2, 1, 1},    {DO_B_4, 0, 0},   {DO_B_20, 0, 0},   {DO_B_100, 0, 0},
        {DO_B_200, 1, 1},  {DO_B_400, 0, 0}, {DO_B_800, 0, 0},  {DO_B_4000, 1, 1},
        {DO_B_8000, 1, 1},
    };
    MemHandle form = fmNew();
    for (const Case &c : cases)
        EXPECT_EQ(c.absent, doGetFlagB(form, c.bit)) << std::hex << c.bit;
    DocOptions options;
    docOptionsDefaults(&options);
    form = fmSetAttr(form, FM_TAG_DOC_OPTIONS, &options, sizeof(options));
    for (const Case &c : cases)
        EXPECT_EQ(c.defaults, doGetFlagB(form, c.bit)) << std::hex << c.bit;
    // Every setter makes its getter answer what it was given; for 0x200
    // that stores the inverse.
    for (const Case &c : cases)
        for (BOOL value : {TRUE, FALSE}) {
            form = doSetFlagB(form, c.bit, value);
            EXPECT_EQ(value, doGetFlagB(form, c.bit)) << std::hex << c.bit;
        }
    form = doSetFlagB(form, DO_B_200, FALSE);
    ASSERT_EQ(1, fmGetDocOptions(form, &options));
    EXPECT_EQ(DO_B_200, options.flagsB & DO_B_200);
    fmFree(form);
}

TEST(DocOptions, OnlyTheSettersOf400And800CreateTheRecord)
{
    MemHandle form = fmNew();
    DocOptions options;
    form = doSetFlagB(form, DO_B_4, TRUE);
    form = doSetFlagB(form, DO_B_400, FALSE);
    form = doSetFlagsA(form, 0x4);
    EXPECT_EQ(0, fmGetDocOptions(form, &options));
    EXPECT_EQ(0u, fmDupDocOptions(form));

    form = doSetFlagB(form, DO_B_800, TRUE);
    ASSERT_EQ(1, fmGetDocOptions(form, &options));
    EXPECT_EQ(72u, options.length);
    EXPECT_EQ(331, options.kind);
    EXPECT_EQ(0x80000000u, options.flagsA);
    EXPECT_EQ(0x8800, options.flagsB);

    EXPECT_EQ(0, doAnyFlagsA(form));
    form = doSetFlagsA(form, 0x10);
    EXPECT_EQ(0, doAnyFlagsA(form));
    form = doSetFlagsA(form, 0x20);
    EXPECT_EQ(1, doAnyFlagsA(form));
    EXPECT_EQ(0x20u, doGetFlagsA(form));
    EXPECT_TRUE(fmIsLengthConsistent(form));
    fmFree(form);
}

TEST(DocOptions, AChangedCopyWithItsOwnAttributesIsStoredBack)
{
    MemHandle form = doSetFlagB(fmNew(), DO_B_400, TRUE);
    MemHandle copy = fmDupDocOptions(form);
    ASSERT_TRUE(copy);
    copy = doSetText(copy, DO_TAG_TEXT4, "DSN=orders");
    copy = doSetText(copy, DO_TAG_TEXT10000000, "notes");
    form = fmSetDocOptions(form, copy);
    utFreeHandle(copy);

    copy = fmDupDocOptions(form);
    EXPECT_EQ("DSN=orders", textOf(doGetText(copy, DO_TAG_TEXT4)));
    EXPECT_EQ("notes", textOf(doGetText(copy, DO_TAG_TEXT10000000)));
    EXPECT_EQ("<null>", textOf(doGetText(copy, DO_TAG_TEXT16)));
    copy = doSetText(copy, DO_TAG_TEXT4, "");
    EXPECT_EQ("<null>", textOf(doGetText(copy, DO_TAG_TEXT4)));
    utFreeHandle(copy);
    EXPECT_EQ(1, doGetFlagB(form, DO_B_400));
    EXPECT_TRUE(fmIsLengthConsistent(form));
    form = fmSetDocOptions(form, 0);
    DocOptions options;
    EXPECT_EQ(0, fmGetDocOptions(form, &options));
    fmFree(form);
}

// ---- password -----------------------------------------------------------------------

TEST(Password, ScrambledInTheRecordAndReadBackIntoABoundedBuffer)
{
    MemHandle form = fmNew();
    char buffer[kFmPasswordMax + 2];
    const char canary = 0x5A;

    struct Case {
        std::string text;
        std::string expected;
    } cases[] = {
        {"Secret", "Secret"},
        {"XY", "XY"},                            // its first stored byte is a zero
        {"abc", "abc"},                          // an odd last byte stays as it is
        {std::string(70, 'p'), std::string(64, 'p')},
    };
    for (const Case &c : cases) {
        form = fmSetPassword(form, c.text.c_str());
        int length = 0;
        const uint8_t *stored = fmFindAttr(form, FM_TAG_PASSWORD, &length);
        ASSERT_NE(nullptr, stored);
        EXPECT_EQ((int)c.expected.size() + 1, length);
        EXPECT_NE(0, memcmp(stored, c.expected.data(), c.expected.size() & ~1u));
        EXPECT_EQ(0, stored[length - 1]);
        fmUnlock(form);
        buffer[kFmPasswordMax + 1] = canary;
        EXPECT_EQ((int)c.expected.size(), fmGetPassword(form, buffer));
        EXPECT_EQ(c.expected, buffer);
        EXPECT_EQ(canary, buffer[kFmPasswordMax + 1]);
    }

    // A longer password that came from elsewhere fills the buffer and no
    // more.
    std::vector<uint8_t> foreign(100, 'q');
    form = fmSetAttr(form, FM_TAG_PASSWORD, foreign.data(), (int)foreign.size());
    buffer[kFmPasswordMax + 1] = canary;
    EXPECT_EQ(kFmPasswordMax, fmGetPassword(form, buffer));
    EXPECT_EQ(kFmPasswordMax, (int)strlen(buffer));
    EXPECT_EQ(canary, buffer[kFmPasswordMax + 1]);

    form = fmSetPassword(form, "");
    EXPECT_EQ(0, fmGetPassword(form, buffer));
    EXPECT_STREQ("", buffer);
    EXPECT_EQ(0u, FmLock(form)->attrs.tagMask & FM_TAG_PASSWORD);
    fmFree(form);
}

// ---- name counters ----------------------------------------------------------------

TEST(NameCounters, EachCounterWrapsToOneInItsOwnSlot)
{
    const char *expected[] = {"F001", "Button001", "CheckBox001", "GroupBox001", "Table001",
                              "RadioBtn001", "Counter001", "rptb001", "Imgf001"};
    for (size_t k = 0; k < sizeof(kKinds) / sizeof(kKinds[0]); ++k) {
        MemHandle form = fmNew();
        setCounterWord(form, kKinds[k], 9999);
        char name[32];
        EXPECT_EQ(1, fmNextName(nullptr, &form, kKinds[k], name));
        EXPECT_STREQ(expected[k], name);
        for (FmNameKind other : kKinds)
            EXPECT_EQ(other == kKinds[k] ? 1 : 0, fmGetNameCounter(form, other))
                << expected[k] << " slot " << other;
        fmFree(form);
    }
}

TEST(NameCounters, NamedWrappersUseTheirOwnFormats)
{
    MemHandle form = fmNew();
    char name[32];
    int (*next[])(HWND, MemHandle *, char *) = {
        fmNextFieldName, fmNextButtonName, fmNextCheckBoxName, fmNextGroupBoxName,
        fmNextTableName, fmNextRadioButtonName, fmNextCounterName, fmNextReportTableName,
        fmNextImageFileName};
    const char *expected[] = {"F001", "Button001", "CheckBox001", "GroupBox001", "Table001",
                              "RadioBtn001", "Counter001", "rptb001", "Imgf001"};
    for (size_t i = 0; i < 9; ++i) {
        EXPECT_EQ(1, next[i](nullptr, &form, name));
        EXPECT_STREQ(expected[i], name);
    }
    fmFree(form);
}

TEST(NameCounters, NamesOnTheCurrentPageAreSkippedIgnoringCase)
{
    MemHandle form = docWithObjects({"F001", "button001", "Table002", nullptr});
    Workspace ws(form);
    char name[32];
    EXPECT_EQ(1, fmNextFieldName(ws, &form, name));
    EXPECT_STREQ("F002", name);
    EXPECT_EQ(1, fmNextButtonName(ws, &form, name));
    EXPECT_STREQ("Button002", name);
    EXPECT_EQ(1, fmNextTableName(ws, &form, name));
    EXPECT_STREQ("Table001", name);
    EXPECT_EQ(1, fmNextTableName(ws, &form, name));
    EXPECT_STREQ("Table003", name);
    fmFree(form);
}

TEST(NameCounters, WithEveryNameTakenNoNameAfterOneFullCycle)
{
    MemHandle form = docWithObjects({"F001", "F002", "F003"});
    Workspace ws(form);
    setCounterWord(form, 3, 3);   // limit 3
    setCounterWord(form, FM_NAME_FIELD, 2);
    char name[32] = "junk";
    EXPECT_EQ(0, fmNextFieldName(ws, &form, name));
    EXPECT_STREQ("", name);
    EXPECT_EQ(2, fmGetNameCounter(form, FM_NAME_FIELD));
    fmFree(form);
}

TEST(NameCounters, ALimitAboveTheFourDigitsGivesUnpaddedNames)
{
    MemHandle form = fmNew();
    setCounterWord(form, 3, 10001);
    setCounterWord(form, FM_NAME_IMAGE_FILE, 9998);
    char name[32];
    const char *expected[] = {"Imgf9999", "Imgf10000", "Imgf10001", "Imgf001"};
    for (const char *e : expected) {
        EXPECT_EQ(1, fmNextImageFileName(nullptr, &form, name));
        EXPECT_STREQ(e, name);
    }
    fmFree(form);
}

TEST(NameCounters, MissingCountersAreAddedAndTheMovedFormGivenToTheWorkspace)
{
    MemHandle form = docWithObjects({"Counter001"});
    form = fmSetAttr(form, FM_TAG_NAME_COUNTERS, nullptr, 0);
    ASSERT_EQ(-1, fmGetNameCounter(form, FM_NAME_COUNTER));
    {
        // A block without room to spare, as a form read from a file has.
        MemHandle roomy = form;
        {
            MemLock<uint8_t> p(roomy);
            form = utHandleFromBytes(p.get(), FmLock(roomy)->length);
        }
        utFreeHandle(roomy);
    }
    Workspace ws(form);
    MemHandle old = form;
    char name[32];
    EXPECT_EQ(1, fmNextCounterName(ws, &form, name));
    EXPECT_STREQ("Counter002", name);
    EXPECT_NE(old, form);   // the allocator moves every grown block here
    EXPECT_FALSE(utIsLiveHandle(old));
    EXPECT_EQ(form, ws.document());
    fmFree(form);
}

TEST(NameCounters, ResetAndStepBack)
{
    MemHandle form = fmNew();
    setCounterWord(form, FM_NAME_FIELD, 40000);
    setCounterWord(form, FM_NAME_TABLE, 40000);
    fmUndoFieldName(form);   // negative as a signed word: kept
    fmUndoTableName(form);
    EXPECT_EQ(40000, fmGetNameCounter(form, FM_NAME_FIELD));
    EXPECT_EQ(39999, fmGetNameCounter(form, FM_NAME_TABLE));
    fmResetReportTableCounter(form);
    fmUndoReportTableName(form);
    fmUndoReportTableName(form);
    EXPECT_EQ(0, fmGetNameCounter(form, FM_NAME_REPORT_TABLE));
    fmResetImageFileCounter(form);
    fmResetFieldCounter(form);
    fmResetTableCounter(form);
    fmUndoImageFileName(form);
    EXPECT_EQ(0, fmGetNameCounter(form, FM_NAME_IMAGE_FILE));
    EXPECT_EQ(1, fmGetNameCounter(form, FM_NAME_FIELD));
    EXPECT_EQ(1, fmGetNameCounter(form, FM_NAME_TABLE));
    fmFree(form);
}

// ---- release and dump ----------------------------------------------------------------

TEST(FormRecord, FreeReleasesEverythingAndDeletesTemporaryPageFiles)
{
    pgFreeList(newPage());   // the layer module's own sets come to life once
    char folder[UT_PATH_SIZE], swapped[UT_PATH_SIZE], inDocument[UT_PATH_SIZE];
    utGetTempPath(folder);
    ASSERT_TRUE(GetTempFileNameA(folder, "~qm", 0, swapped));
    ASSERT_TRUE(GetTempFileNameA(folder, "~qm", 0, inDocument));
    const std::string swappedPath = swapped, inDocumentPath = inDocument;

    LiveCount live;
    MemHandle form = pgtest::docWithPages({"one", "two", "three"});
    addObject(pgDirGetPages(fmGetDirectory(form), 0), "a");
    MemHandle base = newPage();
    addObject(base, "b");
    fmSetBasePage(form, base);
    fmSetFilePath(form, "C:\\x.qm");
    {
        FmLock r(form);
        r->blocks[0] = obtest::packet(16);
        r->block4 = obtest::packet(8);
    }
    {
        int count = 0;
        PageDirEntry *e = fmLockDirectory(form, &count);
        ASSERT_EQ(3, count);
        MemHandle second = e[1].pages;
        e[1].pages = 0;
        e[1].state = PG_HELD_IN_TEMP_FILE;
        utStrCopyN(e[1].tempName, utStripFolder(swapped), sizeof(e[1].tempName));
        e[2].state = PG_HELD_IN_DOCUMENT;
        utStrCopyN(e[2].tempName, utStripFolder(inDocument), sizeof(e[2].tempName));
        fmUnlockDirectory(form);
        pgFreeList(second);
    }
    fmFree(form);
    EXPECT_EQ(0, live.leaked());
    EXPECT_FALSE(ffExists(swappedPath.c_str()));
    EXPECT_TRUE(ffExists(inDocumentPath.c_str()));   // the document's own file is never deleted
    ffDelete(inDocumentPath.c_str());
    ffDelete(swappedPath.c_str());
    fmFree(0);
}

TEST(FormRecord, DumpTextNamesTheFields)
{
    MemHandle form = fmNew();
    {
        FmLock r(form);
        r->updateTime = 1234;
        r->pages = 3;
        r->style = 4;
        r->resources = 0x11;
        r->resourceCount = 2;
    }
    EXPECT_EQ("Form Struct: Length = 128, Type = 1002, Update Time = 1234,\r\n"
              "Form Option = 2040, Number Of Pages = 3, Style = 4, \r\n"
              "Resources = 11, Number of Resources = 2 \r\n"
              "Commands  = 40000000, Number of Commands  = 1 \r\n",
              textOf(fmDumpText(form)));
    {
        FmLock r(form);
        r->pages = 0;
    }
    fmFree(form);
    EXPECT_EQ(0u, fmDumpText(0));
}

}  // namespace
