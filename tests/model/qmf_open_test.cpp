// Opening documents: a file built byte by byte, the header and version
// checks with their messages, the page directory from the size array, and
// documents written and read back.
#include "tests/model/qmf_kit.h"
#include "tests/support/kit_dialog.h"
#include "model/lay_layers.h"
#include "model/pg_numbers.h"

using namespace qmftest;
using qmtest::BoxRecorder;
using qmtest::TempDir;

namespace {

TEST(QmfOpen, SampleBuiltByteByByte)
{
    TempDir dir;
    std::string path = dir.file("sample.qm");
    Builder file;
    file.bytes(header()).packet(withoutLength(formHead(1))).bytes(wsbPacket());
    size_t pageAt = file.size();
    file.bytes(pageRecord(3)).bytes(layerState());
    file.bytes(boxRecord(OBT_RECTANGLE, 100, 200, 1100, 700));
    file.bytes(boxRecord(OBT_RECTANGLE, 2000, 2000, 2600, 3000));
    file.bytes(boxRecord(OBT_ELLIPSE, 500, 4000, 1500, 4800));
    ASSERT_TRUE(qmtest::writeFile(path, file.b));

    obtest::LiveCount live;
    {
        BoxRecorder boxes;
        MemHandle page = 0;
        MemHandle form = qmfOpenDocument(nullptr, path.c_str(), 0, &page);
        ASSERT_NE(0u, form) << boxes.texts();
        EXPECT_EQ(0u, boxes.count()) << boxes.texts();
        EXPECT_EQ(1, fmGetPageCount(form));
        EXPECT_EQ(-1, fmGetCurrentPage(form));
        char stored[MAX_PATH];
        fmGetFilePath(form, stored, sizeof stored);
        EXPECT_EQ(path, stored);
        EXPECT_EQ(3, fmGetUnit(form));
        EXPECT_EQ(4, fmGetGridDivisions(form));

        PageDirEntry e;
        ASSERT_TRUE(pgDirGetEntry(fmGetDirectory(form), 0, &e));
        EXPECT_EQ(pageAt, e.offset);
        EXPECT_EQ(page, e.pages);
        ASSERT_TRUE(pgIsValid(page));
        {
            PgLock p(page);
            EXPECT_EQ(3, p.data()->objectCount);
            EXPECT_EQ(1, p.data()->orientation);
            EXPECT_EQ(1u, p.data()->layers.countInUse);
            EXPECT_EQ(1u, p.data()->layers.current);
            EXPECT_EQ(1u, p.data()->layers.countEdit);
            EXPECT_EQ(0u, p.data()->layers.countHidden);
        }

        std::vector<MemHandle> objects = obtest::listOf(pgGetFirstObject(page));
        ASSERT_EQ(3u, objects.size());
        const RECT boxes3[3] = {{100, 200, 1100, 700}, {2000, 2000, 2600, 3000}, {500, 4000, 1500, 4800}};
        const int16_t types[3] = {OBT_RECTANGLE, OBT_RECTANGLE, OBT_ELLIPSE};
        for (int i = 0; i < 3; ++i) {
            MemHandle want = obtest::make(types[i], boxes3[i].left, boxes3[i].top,
                                          boxes3[i].right, boxes3[i].bottom);
            obSetHeadField(want, OBH_LAYER, std::vector<uint32_t>{1}.data());
            obSetHeadField(want, OBH_PEN_WIDTH, std::vector<uint32_t>{20}.data());
            uint32_t colours[3] = {0, 0xFFFFFF, 0xFFFFFF};
            obSetHeadField(want, OBH_COLOURS, colours);
            EXPECT_EQ(unlinkedBytes(want), unlinkedBytes(objects[(size_t)i])) << "object " << i;
            utFreeHandle(want);
            // The list links are rebuilt; nothing else is linked.
            EXPECT_EQ(i ? objects[(size_t)i - 1] : 0u, obGetPrev(objects[(size_t)i]));
            EXPECT_EQ(i < 2 ? objects[(size_t)i + 1] : 0u, obGetNext(objects[(size_t)i]));
            EXPECT_EQ(0u, obGetParent(objects[(size_t)i]));
            EXPECT_EQ(0u, obGetFirstMember(objects[(size_t)i]));
            EXPECT_EQ(0u, obGetAttached(objects[(size_t)i]));
            EXPECT_EQ(0u, obGetExtraData(objects[(size_t)i]));
        }
        fmFree(form);
    }
    EXPECT_EQ(0, live.leaked());
    EXPECT_TRUE(qmtest::fileIsClosed(path));
}

// A minimal one-page document with the given logo, version text and WSB
// form.
Bytes oneEmptyPage(const char *logo, const char *version, bool oldWsb)
{
    Builder file;
    file.bytes(header(logo, version)).packet(withoutLength(formHead(1)));
    Bytes wsb = wsbPacket();
    if (oldWsb)
        file.u32(16).bytes(Bytes(wsb.begin() + 4, wsb.end()));
    else
        file.bytes(wsbPacket());
    file.bytes(pageRecord(0)).bytes(layerState());
    return file.b;
}

TEST(QmfOpen, HeaderAndVersionChecks)
{
    TempDir dir;
    std::string path = dir.file("h.qm");
    Bytes unterminated = oneEmptyPage("Vellum", "3.0", false);
    memcpy(&unterminated[0], "VellumXY", 8);   // the logo fills its field
    Bytes unterminatedVersion = oneEmptyPage("Vellum", "3.0", false);
    Bytes fullHeader = header();
    memcpy(&unterminatedVersion[8], "3.000000", 8);
    struct Case {
        const char *what;
        Bytes bytes;
        bool opens;
        const char *messages;
    } cases[] = {
        {"current", oneEmptyPage("Vellum", "3.0", false), true, ""},
        {"Verda logo", oneEmptyPage("verda", "3.0", false), true, ""},
        {"Tavix logo", oneEmptyPage("Tavix", "3.0", false), false,
         "Not a Quillmark file | Read file failed."},
        {"wrong logo", oneEmptyPage("Quill", "3.0", false), false,
         "Not a Quillmark file | Read file failed."},
        {"logo without terminator", unterminated, false, "Not a Quillmark file | Read file failed."},
        {"version filling its field", unterminatedVersion, true, ""},
        {"old unsupported", oneEmptyPage("Vellum", "2.00", false), false,
         "The selected file was not supported."},
        {"newer", oneEmptyPage("Vellum", "3.5", false), false,
         "The selected file was created by a newer version of Quillmark."},
        {"2.10 with the old view settings", oneEmptyPage("Vellum", "2.10", true), true, ""},
        {"2.20 with the packet", oneEmptyPage("Vellum", "2.20", false), true, ""},
        {"empty", Bytes(), false, "No data in file"},
        {"short header", Bytes(fullHeader.begin(), fullHeader.begin() + 30), false,
         "Reading file header failed | Read file failed."},
    };
    for (const Case &c : cases) {
        ASSERT_TRUE(qmtest::writeFile(path, c.bytes));
        obtest::LiveCount live;
        {
            BoxRecorder boxes;
            MemHandle page = 0;
            MemHandle form = qmfOpenDocument(nullptr, path.c_str(), 0, &page);
            EXPECT_EQ(c.opens, form != 0) << c.what;
            EXPECT_EQ(c.opens, page != 0) << c.what;
            EXPECT_EQ(c.messages, boxes.texts()) << c.what;
            if (form) {
                EXPECT_EQ(3, fmGetUnit(form)) << c.what;
            }
            fmFree(form);
        }
        EXPECT_EQ(0, live.leaked()) << c.what;
        EXPECT_TRUE(qmtest::fileIsClosed(path)) << c.what;
    }
}

TEST(QmfOpen, VersionNumbers)
{
    const struct { const char *text; int number; } cases[] = {
        {"3.0", 300}, {"2.1", 210}, {"2.10", 210}, {"2.095", 210}, {"2.00", 200},
        {"3.5", 350}, {"", 0}, {"abc", 0}, {"3", 300},
    };
    for (const auto &c : cases)
        EXPECT_EQ(c.number, qmfVersionNumber(c.text)) << c.text;
}

TEST(QmfOpen, PageCountOverShorterSizeArrayIsRefused)
{
    TempDir dir;
    std::string path = dir.file("three.qm");
    Builder file;
    file.bytes(header()).packet(withoutLength(formHead(3))).bytes(wsbPacket());
    Bytes page = pageRecord(0);
    Bytes layers = layerState();
    uint32_t pageSize = (uint32_t)(page.size() + layers.size());
    file.u32(12).u32(pageSize).u32(pageSize);   // sizes of 2 pages
    for (int i = 0; i < 2; ++i)
        file.bytes(page).bytes(layers);
    ASSERT_TRUE(qmtest::writeFile(path, file.b));
    obtest::LiveCount live;
    {
        BoxRecorder boxes;
        MemHandle pageOut = 7;
        EXPECT_EQ(0u, qmfOpenDocument(nullptr, path.c_str(), 0, &pageOut));
        EXPECT_EQ(0u, pageOut);
        EXPECT_NE(std::string::npos, boxes.texts().find("nPages != npages in CreatePGDList"))
            << boxes.texts();
    }
    EXPECT_EQ(0, live.leaked());
    EXPECT_TRUE(qmtest::fileIsClosed(path));
}

// Every object of a page list in walk order as bytes with links zeroed.
std::vector<Bytes> treeBytes(MemHandle first)
{
    std::vector<Bytes> out;
    for (MemHandle h : obtest::listOf(first)) {
        std::vector<MemHandle> tree;
        obCollectTree(h, OB_WALK_ALL, tree);
        for (MemHandle t : tree) {
            out.push_back(unlinkedBytes(t));
            MemHandle extra = obGetExtraData(t);
            if (extra) {
                MemLock<uint8_t> p(extra);
                out.push_back(Bytes(p.get(), p.get() + utGetPacketLength(extra)));
            }
        }
    }
    return out;
}

TEST(QmfOpen, WrittenDocumentsReadBackPageByPage)
{
    TempDir dir;
    std::string path = dir.file("rich.qm");
    obtest::LiveCount live;
    {
        BoxRecorder boxes;
        MemHandle form = richDocument(3);
        Bytes file = documentBytes(form, path);
        ASSERT_GT(file.size(), 40u);
        for (int n = 0; n < 3; ++n) {
            MemHandle page = 0;
            MemHandle read = qmfOpenDocument(nullptr, path.c_str(), n, &page);
            ASSERT_NE(0u, read) << boxes.texts();
            EXPECT_EQ(3, fmGetPageCount(read));
            MemHandle original = pgDirGetPages(fmGetDirectory(form), n);
            EXPECT_EQ(treeBytes(pgGetFirstObject(original)), treeBytes(pgGetFirstObject(page)));
            EXPECT_EQ(pgtest::textOf(pgGetNameCopy(original)), pgtest::textOf(pgGetNameCopy(page)));
            EXPECT_EQ("page text", pgtest::textOf(pgGetText80000(page)));
            // The group's members are linked to it again.
            std::vector<MemHandle> objects = obtest::listOf(pgGetFirstObject(page));
            ASSERT_EQ(4u, objects.size());
            EXPECT_EQ(OBT_GROUP, obGetType(objects[1]));
            std::vector<MemHandle> members = obtest::membersOf(objects[1]);
            ASSERT_EQ(2u, members.size());
            for (MemHandle m : members)
                EXPECT_EQ(objects[1], obGetParent(m));
            EXPECT_EQ("Quarterly report", pgtest::textOf(fmGetTextAttr(read, FM_TAG_TEXT2000000)));
            MemHandle base = fmGetBasePage(read);
            ASSERT_NE(0u, base);
            EXPECT_EQ("Logo", obtest::nameOf(pgGetFirstObject(base)));
            // The other pages stay in the file.
            for (int k = 0; k < 3; ++k)
                EXPECT_EQ(k == n ? page : 0u, pgDirGetPages(fmGetDirectory(read), k));
            // And are read from it by their entries.
            int other = (n + 1) % 3;
            MemHandle later = qmfReadPageAt(path.c_str(), fmGetDirectory(read), other);
            ASSERT_NE(0u, later);
            EXPECT_EQ(treeBytes(pgGetFirstObject(pgDirGetPages(fmGetDirectory(form), other))),
                      treeBytes(pgGetFirstObject(later)));
            pgFreeList(later);
            fmFree(read);
        }
        EXPECT_EQ(0u, boxes.count()) << boxes.texts();
        fmFree(form);
    }
    EXPECT_EQ(0, live.leaked());
}

TEST(QmfOpen, PageNumbersFromNames)
{
    EXPECT_EQ(0, qmfPageNumberFromName("1. Cover"));
    EXPECT_EQ(11, qmfPageNumberFromName("12. Index"));
    EXPECT_EQ(-1, qmfPageNumberFromName("Cover"));
    EXPECT_EQ(-1, qmfPageNumberFromName(".5"));
    EXPECT_EQ(-1, qmfPageNumberFromName("a. b"));
}

TEST(QmfOpen, KindCodes)
{
    BoxRecorder boxes;
    EXPECT_EQ(1, qmfKindCode("form", FALSE));
    EXPECT_EQ(10, qmfKindCode("EXXRC031199", FALSE));
    EXPECT_EQ(11, qmfKindCode("FORMDB", FALSE));
    EXPECT_EQ(0, qmfKindCode("PALETTE", TRUE));
    EXPECT_EQ("Unrecognized file type ", boxes.texts());
    TempDir dir;
    std::string path = dir.file("k.qm");
    ASSERT_TRUE(qmtest::writeFile(path, oneEmptyPage("Vellum", "3.0", false)));
    EXPECT_EQ(1, qmfGetFileKind(path.c_str(), FALSE));
    ASSERT_TRUE(qmtest::writeFile(path, oneEmptyPage("Verda", "3.0", false)));
    EXPECT_EQ(0, qmfGetFileKind(path.c_str(), FALSE));
    ASSERT_TRUE(qmtest::writeFile(path, header("Vellum", "3.0", "OLB")));
    EXPECT_TRUE(qmfIsLibraryFile(path.c_str()));
}

}  // namespace

namespace {

TEST(QmfPages, NamesNumbersAndRectanglesOfAFile)
{
    TempDir dir;
    std::string path = dir.file("names.qm");
    obtest::LiveCount live;
    {
        BoxRecorder boxes;
        MemHandle form = richDocument(3);
        documentBytes(form, path);
        fmFree(form);

        int count = 0;
        EXPECT_EQ("1. Page 1\x1b" "2. Page 2\x1b" "3. Page 3\x1b",
                  pgtest::textOf(pgReadFilePageNames(nullptr, path.c_str(), &count, TRUE)));
        EXPECT_EQ(3, count);
        EXPECT_EQ("Page 1\x1bPage 2\x1bPage 3\x1b",
                  pgtest::textOf(pgReadFilePageNames(nullptr, path.c_str(), nullptr, FALSE)));
        EXPECT_EQ(1, qmfFindPageByName(nullptr, dir.path().c_str(), "names.qm", "  page 2 "));
        EXPECT_EQ(-1, qmfFindPageByName(nullptr, dir.path().c_str(), "names.qm", "Page 9"));

        MemHandle page = 0;
        MemHandle linked = qmfOpenLinkedPage(nullptr, dir.path().c_str(), "names.qm", 2, &page);
        ASSERT_NE(0u, linked);
        EXPECT_EQ("Page 3", pgtest::textOf(pgGetNameCopy(page)));
        MemHandle rects = qmfReadRCArray(nullptr, path.c_str(), fmGetDirectory(linked), 3);
        ASSERT_EQ(48u, utHandleSize(rects));
        {
            MemLock<RECT> r(rects);
            RECT want;
            obGetRect(page, &want);
            EXPECT_TRUE(EqualRect(&want, &r[2]));
        }
        utFreeHandle(rects);
        fmFree(linked);

        HWND list = CreateWindowA("LISTBOX", "", 0, 0, 0, 100, 100, nullptr, (HMENU)0, nullptr, nullptr);
        HWND parent = CreateWindowA("STATIC", "", 0, 0, 0, 100, 100, nullptr, nullptr, nullptr, nullptr);
        SetParent(list, parent);
        SetWindowLongPtrA(list, GWLP_ID, 77);
        EXPECT_EQ(3, pgListPageNumbers(parent, 77, path.c_str()));
        char item[16];
        SendMessageA(list, LB_GETTEXT, 2, (LPARAM)item);
        EXPECT_STREQ("3", item);
        EXPECT_EQ(3, pgListFilePageNames(parent, 77, path.c_str()));
        SendMessageA(list, LB_GETTEXT, 0, (LPARAM)item);
        EXPECT_STREQ("Page 1", item);
        DestroyWindow(parent);
        EXPECT_EQ(0u, boxes.count()) << boxes.texts();

        // A protected document's page names are not given without its password.
        form = fmSetPassword(richDocument(1), "secret");
        EXPECT_EQ(1, fmCheckPassword(form, "SECRET"));
        EXPECT_EQ(0, fmCheckPassword(form, "other"));
        documentBytes(form, path, TRUE);
        fmFree(form);
        qmtest::DialogDriver refuse({[](HWND d) { qmtest::sendCommand(d, IDCANCEL); }});
        EXPECT_EQ(0u, pgReadFilePageNames(nullptr, path.c_str(), &count, TRUE));
        EXPECT_EQ(1u, refuse.ran());
    }
    EXPECT_EQ(0, live.leaked());
}

TEST(QmfPages, ScrambledDocumentReadsBackTheSame)
{
    TempDir dir;
    obtest::LiveCount live;
    {
        BoxRecorder boxes;
        MemHandle form = richDocument(1);
        Bytes plain = documentBytes(form, dir.file("plain.qm"));
        Bytes scrambled = documentBytes(form, dir.file("scrambled.qm"), TRUE);
        EXPECT_EQ(plain.size(), scrambled.size());
        EXPECT_NE(plain, scrambled);
        // The 3D text goes out as type 39 with bit 15 set.
        Bytes tag = {0x27, 0x80};
        EXPECT_NE(scrambled.end(), std::search(scrambled.begin(), scrambled.end(), tag.begin(), tag.end()));
        MemHandle p1 = 0, p2 = 0;
        MemHandle a = qmfOpenDocument(nullptr, dir.file("plain.qm").c_str(), 0, &p1);
        MemHandle b = qmfOpenDocument(nullptr, dir.file("scrambled.qm").c_str(), 0, &p2);
        ASSERT_TRUE(a && b) << boxes.texts();
        EXPECT_EQ(treeBytes(pgGetFirstObject(p1)), treeBytes(pgGetFirstObject(p2)));
        fmFree(a);
        fmFree(b);
        fmFree(form);
        EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    }
    EXPECT_EQ(0, live.leaked());
}

}  // namespace

namespace {

// A multiple selection saved with the page comes back as its members.
TEST(QmfOpen, ChainsBecomeTheirMembers)
{
    TempDir dir;
    std::string path = dir.file("chain.qm");
    obtest::LiveCount live;
    {
        BoxRecorder boxes;
        MemHandle form = fmNew();
        MemHandle page = pgtest::newPage();
        MemHandle a = obSetName(obtest::make(OBT_RECTANGLE), "a");
        MemHandle b = obSetName(obtest::make(OBT_ELLIPSE), "b");
        pgAppendObjects(page, obNewGroup(OBT_CHAIN, a, b, (MemHandle)0));
        pgtest::addObject(page, "c");
        pgDirAppend(form, page);
        documentBytes(form, path);
        fmFree(form);
        MemHandle read = 0;
        form = qmfOpenDocument(nullptr, path.c_str(), 0, &read);
        ASSERT_NE(0u, form) << boxes.texts();
        std::vector<std::string> names;
        for (MemHandle h : obtest::listOf(pgGetFirstObject(read))) {
            names.push_back(obtest::nameOf(h));
            EXPECT_EQ(0u, obGetParent(h));
            EXPECT_EQ(0u, obGetNextMember(h));
        }
        EXPECT_EQ((std::vector<std::string>{"a", "b", "c"}), names);
        {
            PgLock p(read);
            EXPECT_EQ(3, p.data()->objectCount);
        }
        fmFree(form);
    }
    EXPECT_EQ(0, live.leaked());
}

}  // namespace

namespace {

// The form's fields, blocks, view settings, attributes and the
// page-number settings' font come back from the file.
TEST(QmfOpen, FormRecordRoundTrip)
{
    TempDir dir;
    std::string path = dir.file("abcdefghijklmnopqrst.qm");   // 23 characters
    obtest::LiveCount live;
    {
        BoxRecorder boxes;
        MemHandle form = pgtest::docWithPages({"one", "two"});
        PageNumberSettings numbers = {};
        numbers.length = 80;
        numbers.placement = 2;
        numbers.horizontal = 3;
        numbers.offset = -4;
        numbers.font.lfHeight = -300;
        numbers.font.lfWeight = 700;
        numbers.font.lfUnderline = 1;
        strcpy(numbers.font.lfFaceName, "Courier New");
        form = pgSetNumberSettings(form, &numbers);
        fmSetFilePath(form, path.c_str());
        {
            FmLock f(form);
            f->viewFlags = 0x10 | 0x8 | 0x4;   // bit 4, background mode 2, switch 2
            f->viewByte1 = 7;
            f->viewByte2 = 9;
            f->gridDivisions = 12;
            f->unit = 0;   // read back as inches
            f->viewWord = 0xA5A5F00D;
            f->style = 0x8004;
            f->resourceCount = 3;
            f->resourceWord = 0x12345678;
            f->blocks[1] = obtest::packet(40);
        }
        Bytes file = documentBytes(form, path);
        // The head carries the file name's first 13 characters.
        EXPECT_EQ("abcdefghijklm", std::string((const char *)&file[40 + 10]));

        MemHandle read = qmfReadFormFile(nullptr, path.c_str());
        ASSERT_NE(0u, read) << boxes.texts();
        {
            FmLock a(form), b(read);
            EXPECT_EQ(0x10 | 0x8 | 0x4, b->viewFlags);
            EXPECT_EQ(7, b->viewByte1);
            EXPECT_EQ(9, b->viewByte2);
            EXPECT_EQ(12, b->gridDivisions);
            EXPECT_EQ(3, b->unit);
            EXPECT_EQ(0xA5A5F00Du, b->viewWord);
            EXPECT_EQ(0x8004, b->style);
            EXPECT_EQ(a->options, b->options);
            EXPECT_EQ(3, b->resourceCount);
            EXPECT_EQ(0x12345678u, b->resourceWord);
            EXPECT_EQ(2, b->pages);
            EXPECT_EQ(0xFFFF, b->currentPage);
            EXPECT_EQ(0u, b->blocks[0]);
            EXPECT_EQ(0u, b->blocks[2]);
            ASSERT_NE(0u, b->blocks[1]);
            EXPECT_EQ(0, utComparePackets(a->blocks[1], b->blocks[1]));
            EXPECT_EQ(a->attrs.count, b->attrs.count);
            EXPECT_EQ(a->attrs.tagMask, b->attrs.tagMask);
            EXPECT_EQ(a->length, b->length);
        }
        PageNumberSettings back;
        ASSERT_TRUE(pgGetNumberSettings(read, &back));
        EXPECT_EQ(0, memcmp(&numbers, &back, sizeof back));
        char stored[MAX_PATH];
        fmGetFilePath(read, stored, sizeof stored);
        EXPECT_EQ(path, stored);
        fmFree(read);
        fmFree(form);
        EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    }
    EXPECT_EQ(0, live.leaked());
}

// The page's own data: the fields kept in files come back, the text and
// field formats through their file forms.
TEST(QmfOpen, PageDataRoundTrip)
{
    obtest::LiveCount live;
    {
        MemHandle page = pgtest::newPage("Formats");
        {
            PgLock p(page);
            PageData *d = p.data();
            d->pageIndex = 4;
            d->paperCode = 9;
            d->unit = 2;
            d->twoValues[1] = -77;
            d->fourValues[3] = 1234567;
            d->gridDivisions = 8;
            d->pageColour = 0x00EEDDCC;
            d->fourWords[2] = 0xBEEF;
            d->byte44 = 0xC3;
            d->byte45 = 2;
            d->shadowStyle[5] = 0x42;
            LOGFONTA lf = {};
            lf.lfHeight = -200;
            lf.lfCharSet = 2;
            strcpy(lf.lfFaceName, "Symbol");
            memcpy(d->textFormat, &lf, sizeof lf);
            for (int at : {60, 61, 62, 63, 64, 65, 66, 67, 68, 69, 74, 75, 76, 80, 81, 84, 85})
                d->textFormat[at] = (uint8_t)(at + 1);
            memcpy(d->fieldFormat + 16, &lf, sizeof lf);
            for (int at : {0, 1, 2, 5, 11, 12, 15, 76, 79, 80, 83, 84, 85, 86, 87, 88, 91, 94, 95, 96, 99})
                d->fieldFormat[at] = (uint8_t)(at + 100);
            d->word406 = 0x0406;
        }
        std::vector<uint8_t> before;
        {
            PgLock p(page);
            before.assign(p.bytes() + p.dataOffset(), p.bytes() + p.dataOffset() + kPgDataSize);
        }
        MemHandle packet = qmfMakeFileRecord(page);
        MemHandle back = 0;
        uint16_t flags[7];
        ASSERT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags));
        ASSERT_TRUE(pgIsValid(back));
        EXPECT_EQ("Formats", pgtest::textOf(pgGetNameCopy(back)));
        {
            PgLock p(back);
            const uint8_t *after = p.bytes() + p.dataOffset();
            // Everything but the memory-only parts (layer sets, object list,
            // blocks, words 402 and 404) and the text format's bytes not in
            // files.
            for (uint32_t i = 0; i < kPgDataSize; ++i) {
                bool memoryOnly = (i >= 46 && i < 66) || (i >= 384 && i < 406);
                bool textGap = i >= 138 + 70 && i < 138 + 74;
                bool textTail = (i >= 138 + 77 && i < 138 + 80) || (i >= 138 + 82 && i < 138 + 84) ||
                                (i >= 138 + 86 && i < 260);
                bool fieldGap = i >= 260 + 92 && i < 260 + 94;
                if (memoryOnly || textGap || textTail || fieldGap)
                    continue;
                EXPECT_EQ(before[i], after[i]) << "page data byte " << i;
            }
        }
        utFreeHandle(packet);
        pgFreeList(back);
        pgFreeList(page);
    }
    EXPECT_EQ(0, live.leaked());
}

}  // namespace

namespace {

// A page of 10,000 objects is read in a few large reads and parsed from
// memory: the objects come back whole, in order, with the page's count.
TEST(QmfOpen, ABigPageIsReadInWholeWindows)
{
    TempDir dir;
    std::string path = dir.file("big.qm");
    obtest::LiveCount live;
    {
        BoxRecorder boxes;
        MemHandle form = fmNew();
        MemHandle big = pgtest::newPage("Big");
        for (int i = 0; i < 10000; ++i)
            pgAppendObject(big, obtest::make(i % 2 ? OBT_ELLIPSE : OBT_RECTANGLE, i, i, i + 50,
                                             i + 40));
        pgDirAppend(form, big);
        pgDirAppend(form, pgtest::newPage("Small"));
        documentBytes(form, path);
        DWORD size = 0;
        HANDLE f = ffOpenRead(path.c_str(), &size, TRUE);
        ASSERT_NE(INVALID_HANDLE_VALUE, f);
        MemHandle read = qmfReadForm(f, 0);
        ASSERT_NE(0u, read) << boxes.texts();
        uint32_t before = ffSystemReadCount();
        MemHandle page = qmfReadEntryPage(f, size, fmGetDirectory(read), 0);
        EXPECT_LT(ffSystemReadCount() - before, 100u) << "reads of the page";
        ASSERT_NE(0u, page) << boxes.texts();
        std::vector<MemHandle> objects = obtest::listOf(pgGetFirstObject(page));
        ASSERT_EQ(10000u, objects.size());
        for (int i : {0, 1, 4999, 9999}) {
            RECT r;
            obGetRect(objects[(size_t)i], &r);
            EXPECT_EQ(i, r.left);
            EXPECT_EQ(i % 2 ? OBT_ELLIPSE : OBT_RECTANGLE, obGetType(objects[(size_t)i]));
        }
        {
            PgLock p(page);
            EXPECT_EQ(10000, p.data()->objectCount);
        }
        // The file is where the page's reading left it, and the next
        // page reads as well.
        PageDirEntry e;
        ASSERT_TRUE(pgDirGetEntry(fmGetDirectory(read), 0, &e));
        EXPECT_EQ(e.offset + e.size, ffTell(f));
        MemHandle second = qmfReadEntryPage(f, size, fmGetDirectory(read), 1);
        EXPECT_NE(0u, second);
        EXPECT_EQ("Small", pgtest::textOf(pgGetNameCopy(second)));
        pgFreeList(second);
        pgFreeList(page);
        ffClose(f);
        fmFree(read);
        fmFree(form);
        EXPECT_EQ(0u, boxes.count()) << boxes.texts();
    }
    EXPECT_EQ(0, live.leaked());
}

}  // namespace
