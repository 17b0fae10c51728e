// The setup record and the settings file "~qmsetup": defaults, accessors,
// writing and reading back, damaged files, the background brush and the
// frame's state at close.
#include "tests/support/kit.h"
#include "support/ut_bytes.h"
#include "app/setup_file.h"
#include "model/setup_record.h"
#include "app/settings_pending.h"
#include "app/app_frame_bars.h"
#include "support/win_place.h"
#include "support/app_frame_globals.h"
#include "model/pg_record.h"
#include "model/qmf_header.h"
#include "support/ut_mem.h"
#include "support/ff_file.h"
#include <string.h>
#include <set>
#include <string>
#include <vector>

using qmtest::BoxRecorder;
using qmtest::TempDir;

namespace {

typedef std::vector<uint8_t> Bytes;

const char kWarning[] = "Quillmark Draw Warning";
const char kError[] = "Quillmark Draw Error";

// File offsets of the packets a default file holds.
const size_t kFormAt = 40;
const size_t kPageAt = kFormAt + 80;
// The default page is written as its file record: the 58 head bytes, seven
// u16 presence flags and the 376-byte file form of its page data.
const size_t kPageFileSize = 58 + 14 + 376;
const size_t kSetupAt = kPageAt + kPageFileSize;

uint32_t u32At(const Bytes &b, size_t at) { return utGetAt<uint32_t>(b.data(), at); }
void putU32At(Bytes &b, size_t at, uint32_t v) { utPutAt(b.data(), at, v); }

Bytes handleBytes(MemHandle h, uint32_t n)
{
    MemLock<uint8_t> p(h);
    return p ? Bytes(p.get(), p.get() + n) : Bytes();
}

std::string take(MemHandle h)
{
    MemLock<char> p(h);
    std::string s = p ? std::string(p.get()) : "<none>";
    utFreeHandle(h);
    return s;
}

// A top-level window of a class of its own (registered once).
HWND makeWindow(const char *className, WNDPROC proc, int x, int y, int w, int h)
{
    WNDCLASSA wc = {};
    wc.lpfnWndProc = proc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = className;
    RegisterClassA(&wc);
    return CreateWindowA(className, "frame", WS_OVERLAPPEDWINDOW, x, y, w, h, nullptr, nullptr,
                         wc.hInstance, nullptr);
}

class SetupFile : public ::testing::Test {
protected:
    void SetUp() override
    {
        setFreeSetupRecords();
        setResetSetupFileWarning();
        path = dir.file("~qmsetup");
    }
    void TearDown() override
    {
        setFreeSetupRecords();
        setResetSetupFileWarning();
    }
    // Writes the current records, frees them and returns the file's bytes.
    Bytes writeAndFree()
    {
        EXPECT_TRUE(setWriteSetupFile(nullptr, path.c_str()));
        setFreeSetupRecords();
        return qmtest::readFile(path);
    }
    Bytes setupBytes()
    {
        MemHandle r = setGetSetupRecord();
        return handleBytes(r, utGetPacketLength(r));
    }
    TempDir dir;
    std::string path;
};

TEST_F(SetupFile, WithoutAFileTheDefaultsAreMadeSilently)
{
    BoxRecorder boxes;
    EXPECT_FALSE(setReadSetupFile(path.c_str()));
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    EXPECT_EQ(0u, boxes.count());

    Bytes rec = setupBytes();
    ASSERT_EQ(162u, rec.size());
    EXPECT_EQ(162u, u32At(rec, 0));
    EXPECT_EQ(0, setGetZoomCode());
    EXPECT_EQ(-1, setGetZoomPercent());
    EXPECT_EQ(2, setGetScrollStyle());
    EXPECT_EQ(0x0822, setGetOptionBits());
    EXPECT_FALSE(setGetStayInDrawMode());
    EXPECT_EQ(SETUP_OPT_HIGHLIGHT_A, setGetHighlightStyle());
    EXPECT_TRUE(setGetOptionBit1());
    EXPECT_TRUE(setGetOptionBit5());
    EXPECT_TRUE(setGetShowWelcome());
    EXPECT_TRUE(setGetMoveGuides());
    EXPECT_TRUE(setGetDrawGuides());
    EXPECT_FALSE(setGetShowMemberMarks());
    EXPECT_EQ(0xFFFF, setGetBackgroundKind());
    EXPECT_EQ(0xFFFFD4u, setGetWorkspaceBkColor());
    EXPECT_EQ(RGB(0xD4 * 2 / 3, 0xFF * 2 / 3, 0xFF * 2 / 3), setGetWorkspaceFrameColor());
    EXPECT_EQ(0xFFFF, setGetFrameBarBits());
    EXPECT_EQ(0xFF0000u, setGetEditorColor());
    EXPECT_EQ(2u, setGetFlagBits());
    EXPECT_EQ(0xFFFFFFu, u32At(rec, 70));
    int x, y, w, h;
    setGetFrameRect(&x, &y, &w, &h);   // a zero rectangle: the default size
    EXPECT_EQ((int)0x80000000, w);
    EXPECT_EQ((int)0x80000000, h);

    SetupFontSpec font;
    setGetTextFont(&font);
    EXPECT_STREQ("Arial", font.face);
    EXPECT_EQ(12, font.pointSize);
    setGetPresentationFont(&font);
    EXPECT_EQ(24, font.pointSize);
    LOGFONTA lf;
    ASSERT_TRUE(setGetDefaultFont(&lf));
    EXPECT_EQ(-240, lf.lfHeight);
    EXPECT_STREQ("Arial", lf.lfFaceName);

    uint8_t head[80];
    setGetFormDefaults(head);
    EXPECT_EQ(80u, u32At(Bytes(head, head + 80), 0));
    EXPECT_EQ(1002, head[4] | head[5] << 8);
    EXPECT_EQ(0x2000, head[14] | head[15] << 8);
    EXPECT_EQ(22, head[18]);
    EXPECT_EQ(1, head[20]);
    EXPECT_EQ(16, head[22]);
    EXPECT_EQ(3, head[24]);
    EXPECT_EQ(2u, u32At(Bytes(head, head + 80), 26));

    MemHandle page = setGetDefaultPage();
    ASSERT_TRUE(pgIsValid(page));
    Bytes pageBytes = handleBytes(page, 494);
    EXPECT_EQ(494u, u32At(pageBytes, 0));
    EXPECT_EQ(12240u, u32At(pageBytes, 16));
    EXPECT_EQ(20, pageBytes[28]);
    EXPECT_EQ(0xFFFFFFu, u32At(pageBytes, 40));   // the background word
    EXPECT_EQ(1, setGetPageProp59());
}

TEST_F(SetupFile, WithoutARecordEveryAccessorHasItsAnswer)
{
    EXPECT_EQ(0u, setGetSetupRecord());
    EXPECT_EQ(100, setGetZoomCode());
    EXPECT_EQ(100, setGetZoomPercent());
    EXPECT_EQ(2, setGetScrollStyle());   // a style the views know, not 100
    EXPECT_EQ(0, setGetOptionBits());
    EXPECT_FALSE(setGetMoveGuides());
    EXPECT_FALSE(setGetShowWelcome());
    EXPECT_EQ(0, setGetBackgroundKind());
    EXPECT_EQ(0xFFFFD4u, setGetCustomBkColor());
    EXPECT_EQ(0xFFFFFFu, setGetWorkspaceBkColor());
    EXPECT_EQ(-1, setGetFrameBarBits());
    EXPECT_EQ(0, setGetDockLayout());
    int x = 5, y = 5, w = 0, h = 0;
    setGetFrameRect(&x, &y, &w, &h);
    EXPECT_EQ(0, x);
    EXPECT_EQ(0, y);
    EXPECT_EQ((int)0x80000000, w);
    EXPECT_EQ((int)0x80000000, h);
    uint8_t setting = 9;
    uint32_t values[3] = {1, 2, 3};
    setGetPageDefaults(&setting, values);
    EXPECT_EQ(0, setting);
    EXPECT_EQ(0u, values[0]);
    EXPECT_EQ(0xFFFFFFu, values[2]);
    EXPECT_EQ(1, setGetPageProp59());
    LOGFONTA lf;
    EXPECT_FALSE(setGetDefaultFont(&lf));
    EXPECT_EQ(0u, setGetNewDocText());
    EXPECT_FALSE(setPutNewDocText("ignored"));
    COLORREF colours[16];
    EXPECT_FALSE(setGetCustomColors(colours));
    EXPECT_EQ(0xFFFFFFu, colours[15]);
    setPutZoomCode(-4);   // nothing to change
    EXPECT_EQ(100, setGetZoomCode());
    EXPECT_EQ(0, setOpenStartDocument());
}

TEST_F(SetupFile, OptionBitsWithTheirSenses)
{
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    setPutOptionBits(0xFFFF, FALSE);
    EXPECT_TRUE(setGetMoveGuides());      // bit 9 clear: cross-hair on
    EXPECT_TRUE(setGetShowWelcome());     // bit 6 clear: welcome shown
    setPutMoveGuides(FALSE);
    setPutShowWelcome(FALSE);
    EXPECT_EQ(0x0240, setGetOptionBits());
    setPutHighlightStyle(SETUP_OPT_HIGHLIGHT_B);
    EXPECT_EQ(SETUP_OPT_HIGHLIGHT_B, setGetHighlightStyle());
    EXPECT_FALSE(setGetOptionBit1());
    setPutHighlightStyle(SETUP_OPT_HIGHLIGHT_A);
    EXPECT_EQ(SETUP_OPT_HIGHLIGHT_A, setGetHighlightStyle());
    setPutHighlightStyle(0);
    EXPECT_EQ(0, setGetHighlightStyle());

    struct Bit {
        void (*put)(BOOL);
        BOOL (*get)();
        uint16_t mask;
    } bits[] = {{setPutStayInDrawMode, setGetStayInDrawMode, 0x1},
                {setPutHighlightHidden, setGetHighlightHidden, 0x4},
                {setPutApplyMasterAuthor, setGetApplyMasterAuthor, 0x10},
                {setPutOptionBit5, setGetOptionBit5, 0x20},
                {setPutShowMemberMarks, setGetShowMemberMarks, 0x80},
                {setPutDropAsImageFrame, setGetDropAsImageFrame, 0x100},
                {setPutDrawGuides, setGetDrawGuides, 0x800}};
    for (const Bit &b : bits) {
        setPutOptionBits(0xFFFF, FALSE);
        b.put(TRUE);
        EXPECT_EQ(b.mask, setGetOptionBits()) << b.mask;
        EXPECT_TRUE(b.get());
        b.put(FALSE);
        EXPECT_FALSE(b.get());
    }
    EXPECT_FALSE(setHasDefaultText());
}

TEST_F(SetupFile, WriteThenReadKeepsEveryRecordAndBlock)
{
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    setPutZoomCode(-4);
    setPutZoomPercent(50);
    setPutScrollStyle(0);
    setPutStayInDrawMode(TRUE);
    setPutBackgroundKind(3);
    setPutCustomBkColor(0x123456);
    setPutFrameBarBits(0x0107);
    setPutDockLayout(0x55);
    RECT frame = {40, 30, 840, 630};
    setPutFrameRect(&frame);
    setPutFontDialogBits(9);
    uint32_t values[3] = {0x11, 0x22, 0x33};
    setPutPageDefaults(1, values);
    ASSERT_TRUE(setPutNewDocText("Master author text"));
    COLORREF colours[16];
    for (int i = 0; i < 16; ++i)
        colours[i] = RGB(i, 2 * i, 3 * i);
    ASSERT_TRUE(setPutCustomColors(colours));
    SetupFontSpec font = {};
    font.pointSize = 14;
    strcpy(font.face, "Times New Roman");
    ASSERT_TRUE(setPutTextFont(&font));
    font.pointSize = 30;
    ASSERT_TRUE(setPutPresentationFont(&font));
    setPutPageProp59(TRUE);
    uint8_t head[80];
    setGetFormDefaults(head);
    head[18] = 0x33;
    head[21] = 2;
    setPutFormDefaults(head);
    setPutStartDocument("D:\\docs\\start.qm");
    Bytes before = setupBytes();
    Bytes pageBefore = handleBytes(setGetDefaultPage(), 494);

    Bytes file = writeAndFree();
    ASSERT_GE(file.size(), 40u);
    FileHeader header;
    memcpy(&header, file.data(), sizeof(header));
    EXPECT_STREQ("Vellum", header.logo);
    EXPECT_STREQ("4.0", header.version);
    EXPECT_STREQ("QMSETUP", header.kind);
    EXPECT_EQ(0u, header.zero);
    EXPECT_EQ(80u, u32At(file, kFormAt));
    EXPECT_EQ(kPageFileSize, u32At(file, kPageAt));
    EXPECT_EQ(1000, file[kPageAt + 4] | file[kPageAt + 5] << 8);

    BoxRecorder boxes;
    ASSERT_TRUE(setReadSetupFile(path.c_str()));
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    Bytes after = setupBytes();
    ASSERT_EQ(before.size(), after.size());
    EXPECT_EQ(u32At(before, 0), u32At(after, 0));
    EXPECT_TRUE(std::equal(before.begin(), before.begin() + 78, after.begin()));
    EXPECT_TRUE(std::equal(before.begin() + 82, before.end(), after.begin() + 82));
    {
        // Everything but the layer state, which the file record does not
        // carry and every new page makes anew.
        Bytes pageAfter = handleBytes(setGetDefaultPage(), 494);
        const size_t layersAt = 86 + 46, layersEnd = layersAt + 20;
        for (size_t i = 0; i < 494; ++i) {
            if (i < layersAt || i >= layersEnd) {
                EXPECT_EQ(pageBefore[i], pageAfter[i]) << "page byte " << i;
            }
        }
    }

    EXPECT_EQ(-4, setGetZoomCode());
    EXPECT_EQ(50, setGetZoomPercent());
    EXPECT_EQ(0, setGetScrollStyle());
    EXPECT_TRUE(setGetStayInDrawMode());
    EXPECT_EQ(3, setGetBackgroundKind());
    EXPECT_EQ(0x123456u, setGetCustomBkColor());
    EXPECT_EQ(0x0107, setGetFrameBarBits());
    EXPECT_EQ(0x55, setGetDockLayout());
    int x, y, w, h;
    setGetFrameRect(&x, &y, &w, &h);
    EXPECT_EQ(40, x);
    EXPECT_EQ(30, y);
    EXPECT_EQ(800, w);
    EXPECT_EQ(600, h);
    EXPECT_EQ(9, setGetFontDialogBits());
    uint8_t setting;
    uint32_t got[3];
    setGetPageDefaults(&setting, got);
    EXPECT_EQ(1, setting);
    EXPECT_EQ(0x22u, got[1]);
    EXPECT_EQ(0xFFFFFFu, got[2]);   // always answered white
    EXPECT_EQ("Master author text", take(setGetNewDocText()));
    COLORREF back[16];
    ASSERT_TRUE(setGetCustomColors(back));
    EXPECT_EQ(0, memcmp(colours, back, sizeof(back)));
    setGetTextFont(&font);
    EXPECT_STREQ("Times New Roman", font.face);
    EXPECT_EQ(14, font.pointSize);
    LOGFONTA lf;
    setGetTextLogFont(&lf);
    EXPECT_EQ(-280, lf.lfHeight);
    setGetPresentationFont(&font);
    EXPECT_EQ(30, font.pointSize);
    EXPECT_EQ(2, setGetPageProp59());
    uint8_t headBack[80];
    setGetFormDefaults(headBack);
    EXPECT_EQ(0x33, headBack[18]);
    EXPECT_EQ(2, headBack[21]);
    EXPECT_EQ("D:\\docs\\start.qm", take(setGetStartDocument()));

    // Emptying a block removes it and shrinks the record.
    uint32_t length = u32At(setupBytes(), 0);
    ASSERT_TRUE(setPutNewDocText(""));
    EXPECT_EQ(0u, setGetNewDocText());
    EXPECT_EQ(length - 6 - 19, u32At(setupBytes(), 0));
    ASSERT_TRUE(setPutCustomColors(nullptr));
    EXPECT_FALSE(setGetCustomColors(back));
}

TEST_F(SetupFile, OlderVersionTurnsFontSmoothingOnAndOtherVersionsStopSilently)
{
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    setPutFlagBits(0xFFFFFFFF, FALSE);
    setPutZoomCode(-5);
    Bytes file = writeAndFree();

    Bytes older = file;
    memcpy(&older[8], "3.0", 4);
    ASSERT_TRUE(qmtest::writeFile(path, older));
    EXPECT_TRUE(setReadSetupFile(path.c_str()));
    EXPECT_EQ(SETUP_FLAG_SMOOTH_FONTS, setGetFlagBits());
    EXPECT_EQ(-5, setGetZoomCode());
    setFreeSetupRecords();

    Bytes newer = file;
    memcpy(&newer[8], "5.0", 4);
    ASSERT_TRUE(qmtest::writeFile(path, newer));
    BoxRecorder boxes;
    EXPECT_FALSE(setReadSetupFile(path.c_str()));
    EXPECT_EQ(0u, boxes.count());
    EXPECT_EQ(0u, setGetSetupRecord());
    EXPECT_TRUE(setLoadSetupFile(path.c_str()));
    EXPECT_EQ(0, setGetZoomCode());   // the default
}

TEST_F(SetupFile, HeaderFaultsAreReportedAndDefaultsUsed)
{
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    Bytes file = writeAndFree();
    struct Case {
        const char *what;
        size_t at;
        const char *bytes;
        const char *message;
    } cases[] = {
        {"logo", 0, "Other", "Not a Quillmark file"},
        {"kind", 16, "FORM", "Incorrect file type"},
    };
    for (const Case &c : cases) {
        Bytes damaged = file;
        memcpy(&damaged[c.at], c.bytes, strlen(c.bytes) + 1);
        ASSERT_TRUE(qmtest::writeFile(path, damaged));
        BoxRecorder boxes;
        EXPECT_TRUE(setLoadSetupFile(path.c_str())) << c.what;
        ASSERT_EQ(1u, boxes.count()) << c.what;
        EXPECT_EQ(kError, boxes.last().caption);
        EXPECT_EQ(c.message, boxes.last().text);
        EXPECT_EQ(0, setGetZoomCode());
        EXPECT_TRUE(qmtest::fileIsClosed(path));
        setFreeSetupRecords();
    }
    // A header that the older logo "Verda" opens is read.
    Bytes verda = file;
    memcpy(&verda[0], "Verda", 6);
    ASSERT_TRUE(qmtest::writeFile(path, verda));
    EXPECT_TRUE(setReadSetupFile(path.c_str()));
}

TEST_F(SetupFile, ADamagedPacketFallsBackToDefaultsAndTheRestIsStillRead)
{
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    setPutZoomCode(-3);
    setPutPageProp59(TRUE);
    Bytes file = writeAndFree();

    // The form head claims 4 attribute bytes it does not hold: dropped,
    // and the default page and setup record after it still come in.
    Bytes badForm = file;
    badForm[kFormAt + 48] = 4;
    ASSERT_TRUE(qmtest::writeFile(path, badForm));
    {
        BoxRecorder boxes;
        EXPECT_FALSE(setReadSetupFile(path.c_str()));
        EXPECT_EQ(0u, boxes.count());
    }
    EXPECT_EQ(0u, setGetFormDefaultsRecord());
    EXPECT_EQ(2, setGetPageProp59());
    EXPECT_EQ(-3, setGetZoomCode());
    setFreeSetupRecords();

    // A page record of the wrong type: the default page is made afresh.
    Bytes badPage = file;
    badPage[kPageAt + 4] = 7;
    ASSERT_TRUE(qmtest::writeFile(path, badPage));
    EXPECT_TRUE(setLoadSetupFile(path.c_str()));
    EXPECT_EQ(1, setGetPageProp59());
    EXPECT_EQ(-3, setGetZoomCode());
    setFreeSetupRecords();

    // A setup packet shorter than the record, or whose blocks disagree
    // with its length, is not taken as the record.
    for (uint32_t length : {100u, 162u + 8u}) {
        Bytes badSetup(file.begin(), file.begin() + kSetupAt);
        Bytes rec(file.begin() + kSetupAt, file.end());
        rec.resize(length, 0);
        putU32At(rec, 0, length);
        badSetup.insert(badSetup.end(), rec.begin(), rec.end());
        ASSERT_TRUE(qmtest::writeFile(path, badSetup));
        EXPECT_TRUE(setReadSetupFile(path.c_str())) << length;
        EXPECT_EQ(0u, setGetSetupRecord()) << length;
        EXPECT_TRUE(setLoadSetupFile(path.c_str()));
        EXPECT_EQ(0, setGetZoomCode());
        setFreeSetupRecords();
    }
}

TEST_F(SetupFile, TruncationAtEveryOffsetNeverCrashesLeaksOrHolds)
{
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    setPutNewDocText("author");
    setPutStartDocument("D:\\s.qm");
    Bytes file = writeAndFree();
    std::set<std::string> allowed = {"Reading file header failed", "Unexpected end of file",
                                     "Read error"};
    long baseline = qmtest::liveHandles();
    for (size_t n = 0; n < file.size(); ++n) {
        ASSERT_TRUE(qmtest::writeFile(path, Bytes(file.begin(), file.begin() + n)));
        BoxRecorder boxes;
        EXPECT_TRUE(setLoadSetupFile(path.c_str())) << n;
        for (const qmtest::BoxRecord &b : boxes.boxes()) {
            if (!allowed.count(b.text)) {
                EXPECT_EQ(0u, b.text.find("Read packet error")) << n << ": " << b.text;
            }
        }
        EXPECT_TRUE(qmtest::fileIsClosed(path)) << n;
        setFreeSetupRecords();
        EXPECT_EQ(baseline, qmtest::liveHandles()) << n;
    }
}

TEST_F(SetupFile, StartDocumentPacketIsTerminatedWithinItself)
{
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    setPutStartDocument("D:\\s.qm");
    Bytes file = writeAndFree();
    ASSERT_EQ(0, file.back());
    file.back() = 'X';   // the path's terminator gone
    ASSERT_TRUE(qmtest::writeFile(path, file));
    EXPECT_TRUE(setReadSetupFile(path.c_str()));
    EXPECT_EQ("D:\\s.qmX", take(setGetStartDocument()));

    // Without a start document none is written and none is read.
    setPutStartDocument("");
    file = writeAndFree();
    EXPECT_TRUE(setReadSetupFile(path.c_str()));
    EXPECT_EQ(0u, setGetStartDocument());
    EXPECT_EQ(kSetupAt + 162, file.size());
}

TEST_F(SetupFile, HandlesStoredInTheFileAreNeverFollowed)
{
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    setPutPageProp59(TRUE);
    Bytes pageMemory = handleBytes(setGetDefaultPage(), 494);
    Bytes file = writeAndFree();

    // What is written carries presence flags, never the handles of this
    // run: the default page has no links, so every flag is 0.
    for (size_t off = 58; off < 72; ++off)
        EXPECT_EQ(0, file[kPageAt + off]) << off;

    // Presence flags set by a damaged or foreign writer are not followed.
    Bytes flagged = file;
    for (size_t off = 58; off < 72; off += 2)
        flagged[kPageAt + off] = 1;
    ASSERT_TRUE(qmtest::writeFile(path, flagged));
    {
        BoxRecorder boxes;
        ASSERT_TRUE(setReadSetupFile(path.c_str()));
        EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    }
    Bytes page = handleBytes(setGetDefaultPage(), 494);
    for (size_t off = 58; off < 86; ++off)
        EXPECT_EQ(0, page[off]) << off;
    EXPECT_EQ(2, setGetPageProp59());
    setFreeSetupRecords();

    // An earlier writer stored the page's memory block whole, its seven
    // links and page-data handles (layer sets, first object, side and
    // palette blocks) with it: the page is taken, the handles are not.
    Bytes older(file.begin(), file.begin() + kPageAt);
    Bytes poked = pageMemory;
    for (size_t off = 58; off < 86; off += 4)
        putU32At(poked, off, 0x1234 + (uint32_t)off);
    for (size_t off : {46u, 50u, 54u, 384u, 388u, 392u})
        putU32At(poked, 86 + off, 0x777);
    older.insert(older.end(), poked.begin(), poked.end());
    older.insert(older.end(), file.begin() + kSetupAt, file.end());
    for (size_t off = 50; off < 78; off += 4)
        putU32At(older, kFormAt + off, 0x999);
    ASSERT_TRUE(qmtest::writeFile(path, older));
    ASSERT_TRUE(setReadSetupFile(path.c_str()));
    page = handleBytes(setGetDefaultPage(), 494);
    for (size_t off = 58; off < 86; ++off)
        EXPECT_EQ(0, page[off]) << off;
    for (size_t off : {46u, 50u, 54u, 384u, 388u, 392u})
        EXPECT_EQ(0u, u32At(page, 86 + off)) << off;
    EXPECT_EQ(2, setGetPageProp59());
    Bytes form = handleBytes(setGetFormDefaultsRecord(), 80);
    for (size_t off = 50; off < 78; ++off)
        EXPECT_EQ(0, form[off]) << off;
    EXPECT_NE(0u, setGetSetupRecord());

    // Written again, it is the file record once more.
    Bytes again = writeAndFree();
    EXPECT_EQ(file, again);
}

TEST_F(SetupFile, AFailedWriteKeepsThePreviousFileAndWarnsOnce)
{
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    setPutZoomCode(-2);
    ASSERT_TRUE(setWriteSetupFile(nullptr, path.c_str()));
    Bytes good = qmtest::readFile(path);

    std::string missing = dir.path() + "\\no folder\\~qmsetup";
    BoxRecorder boxes;
    EXPECT_FALSE(setWriteSetupFile(nullptr, missing.c_str()));
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ(kWarning, boxes.last().caption);
    EXPECT_EQ("Can not save to\r\n  " + missing, boxes.last().text);
    EXPECT_FALSE(setWriteSetupFile(nullptr, missing.c_str()));
    EXPECT_EQ(1u, boxes.count());   // once

    setResetSetupFileWarning();
    setPutZoomCode(-6);
    ASSERT_TRUE(SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_READONLY));
    EXPECT_FALSE(setWriteSetupFile(nullptr, path.c_str()));
    EXPECT_EQ(2u, boxes.count());
    SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
    EXPECT_EQ(good, qmtest::readFile(path));
    // No temporary file is left beside it.
    WIN32_FIND_DATAA fd;
    HANDLE find = FindFirstFileA((dir.path() + "\\~*.tmp").c_str(), &fd);
    EXPECT_EQ(INVALID_HANDLE_VALUE, find);
    if (find != INVALID_HANDLE_VALUE)
        FindClose(find);
}

TEST_F(SetupFile, FrameStateIsStoredAtCloseAndTheRecordsFreed)
{
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    HWND frame = makeWindow("qm_test_plain_frame", DefWindowProcA, 100, 120, 600, 400);
    ASSERT_TRUE(frame);
    setGetWorkspaceBkBrush();
    setPutStartDocument("D:\\later.qm");
    EXPECT_TRUE(appSaveFrameSettings(frame, path.c_str()));
    DestroyWindow(frame);
    EXPECT_EQ(0u, setGetSetupRecord());
    EXPECT_EQ(0u, setGetDefaultPage());
    EXPECT_EQ(0u, setGetFormDefaultsRecord());
    EXPECT_EQ(0u, setGetStartDocument());

    Bytes file = qmtest::readFile(path);
    ASSERT_GT(file.size(), kSetupAt + 162);
    EXPECT_EQ(SETUP_PACKET_START_DOC, u32At(file, kSetupAt + 78));
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    int x, y, w, h;
    setGetFrameRect(&x, &y, &w, &h);
    EXPECT_EQ(100, x);
    EXPECT_EQ(120, y);
    EXPECT_EQ(600, w);
    EXPECT_EQ(400, h);
    EXPECT_FALSE(setGetFrameMaximized());
    EXPECT_EQ("D:\\later.qm", take(setGetStartDocument()));
}

TEST_F(SetupFile, FrameRectangleIsKeptOnTheScreen)
{
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    RECT work;
    winGetWorkArea(&work);
    struct Case {
        RECT stored;
        int x, y, w, h;
    } cases[] = {
        {{work.right + 50, 10, work.right + 450, 310}, (int)work.right - 400, 10, 400, 300},
        {{10, work.bottom + 5, 210, work.bottom + 105}, 10, (int)work.bottom - 100, 200, 100},
        {{-30, -20, 170, 80}, 0, 0, 200, 100},
        {{10, 10, 10, 300}, 10, 10, (int)0x80000000, 290},
        {{10, 10, 300, 5}, 10, 10, 290, (int)0x80000000},
    };
    for (const Case &c : cases) {
        setPutFrameRect(&c.stored);
        int x, y, w, h;
        setGetFrameRect(&x, &y, &w, &h);
        EXPECT_EQ(c.x, x);
        EXPECT_EQ(c.y, y);
        EXPECT_EQ(c.w, w);
        EXPECT_EQ(c.h, h);
    }
}

TEST_F(SetupFile, BackgroundBrushFollowsTheKind)
{
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    setPutBackgroundKind(0);
    HBRUSH white = setGetWorkspaceBkBrush();
    EXPECT_EQ(GetStockObject(WHITE_BRUSH), white);
    setPutBackgroundKind(0);   // the same kind: nothing rebuilt
    EXPECT_EQ(white, setGetWorkspaceBkBrush());

    struct Case {
        int kind;
        COLORREF colour, second;
    } colours[] = {{0, 0xFFFFFF, 0x808080}, {1, 0xC0C0C0, 0x808080}, {2, 0x808080, 0},
                   {3, 0xFF0000, 0},        {4, 0, 0x808080},        {5, 0xFFFFFF, 0x808080},
                   {9, 0xFFFFFF, 0x808080}};
    for (const Case &c : colours) {
        setPutBackgroundKind(c.kind);
        EXPECT_EQ(c.colour, setGetWorkspaceBkColor()) << c.kind;
        EXPECT_EQ(c.second, setGetWorkspaceFrameColor()) << c.kind;
    }
    setPutBackgroundKind(5);
    EXPECT_EQ((HBRUSH)(INT_PTR)(COLOR_WINDOW + 1), setGetWorkspaceBkBrush());
    setPutBackgroundKind(2);
    EXPECT_EQ(GetStockObject(GRAY_BRUSH), setGetWorkspaceBkBrush());

    setPutCustomBkColor(0x00A0B0);
    setPutBackgroundKind(SETUP_BK_CUSTOM);
    HBRUSH solid = setGetWorkspaceBkBrush();
    LOGBRUSH lb;
    ASSERT_EQ((int)sizeof(lb), GetObjectA(solid, sizeof(lb), &lb));
    EXPECT_EQ(0x00A0B0u, lb.lbColor);
    // A new custom colour makes a new brush and deletes the old one.
    setPutCustomBkColor(0x102030);
    HBRUSH recoloured = setGetWorkspaceBkBrush();
    ASSERT_EQ((int)sizeof(lb), GetObjectA(recoloured, sizeof(lb), &lb));
    EXPECT_EQ(0x102030u, lb.lbColor);
    EXPECT_EQ(0u, GetObjectType(solid));
    setReleaseBkBrush();
    EXPECT_EQ(0u, GetObjectType(recoloured));
    setPutBackgroundKind(0);
    setGetWorkspaceBkBrush();
    setReleaseBkBrush();   // a stock brush stays alive
    EXPECT_EQ((DWORD)OBJ_BRUSH, GetObjectType(GetStockObject(WHITE_BRUSH)));
}

// Records the WM_COMMAND messages the settings send to the frame.
struct SentCommand {
    WPARAM id;
    std::string text;
};
std::vector<SentCommand> g_sent;

LRESULT CALLBACK recordingFrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp)
{
    if (msg == WM_COMMAND) {
        MemHandle h = (MemHandle)lp;
        g_sent.push_back({wp, take(h)});
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

TEST_F(SetupFile, StartDocumentIsSentToTheFrame)
{
    ASSERT_TRUE(setLoadSetupFile(path.c_str()));
    HWND frame = makeWindow("qm_test_setup_frame", recordingFrameProc, 0, 0, 10, 10);
    ASSERT_TRUE(frame);
    appSetFrameWindow(frame);
    g_sent.clear();
    EXPECT_EQ(0, setOpenStartDocument());
    setPutStartDocument("D:\\docs\\guide.qm");
    EXPECT_EQ(1, setOpenStartDocument());
    EXPECT_EQ(1, setOpenStartDocumentAtPage("Intro"));
    EXPECT_EQ(1, setOpenStartDocumentAtPage(""));
    appSetFrameWindow(nullptr);
    DestroyWindow(frame);
    ASSERT_EQ(3u, g_sent.size());
    EXPECT_EQ(111u, g_sent[0].id);
    EXPECT_EQ("D:\\docs\\guide.qm", g_sent[0].text);
    EXPECT_EQ(133u, g_sent[1].id);
    EXPECT_EQ("D:\\docs\\guide.qm\nIntro", g_sent[1].text);
    EXPECT_EQ(111u, g_sent[2].id);
    EXPECT_EQ(0, setOpenStartDocument());   // no frame window
}

TEST(SetupFilter, DocumentFilterHasSeparators)
{
    char buf[64];
    fcGetDocFilter(buf, sizeof(buf));
    const char expected[] = "Quillmark Files (*.qm)\0*.qm\0All(*.*)\0*.*\0";
    EXPECT_EQ(0, memcmp(expected, buf, sizeof(expected)));
    char tiny[8] = "x";
    EXPECT_STREQ("", fcGetDocFilter(tiny, sizeof(tiny)));
}

}  // namespace
