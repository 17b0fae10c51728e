#include "tests/fuzz/fuzz_kit.h"
#include "tests/table/tb_fixture.h"
#include "model/ob_types.h"
#include "model/ob_transform.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "support/ut_mem.h"
#include "model/pg_render.h"
#include "objects/mf_emf.h"
#include "objects/mf_pict.h"
#include "objects/sh_brush.h"
#include "text/tx_label.h"
#include "tools/ep_factory.h"
#include "views/prn_print.h"
#include "support/dm_map.h"
#include <ntgdi.h>
#include <stdio.h>
#include <algorithm>

namespace fuzzkit {

namespace {

// Where the seed objects lie: an eighth of an inch from the page's corner,
// so that the 400 percent view shows them.
const RECT kSeedBox = {180, 180, 2340, 1980};

LOGFONTA seedFont()
{
    LOGFONTA lf = {};
    lf.lfHeight = -200;
    lf.lfWeight = 400;
    strcpy(lf.lfFaceName, "Arial");
    return lf;
}

// Polylines get five points; their H/V form turns at right angles.
bool isPointKind(int16_t t)
{
    return t == OBT_POLYLINE || t == OBT_POLYGON || t == OBT_POLYHV || t == OBT_BEZIER ||
           t == OBT_CLOSED_CURVE || t == OBT_CUBE;
}

MemHandle byFactory(int16_t type)
{
    MemHandle page = pgNewRecord(0);
    EpPageDefaults d;
    epPageDefaultsFrom(page, nullptr, &d);
    d.head.penWidth = 15;
    d.head.penColour = 0;
    d.head.fillColour = 0xFF0000;
    d.head.backColour = 0xFFFFFF;
    LOGFONTA lf = seedFont();
    memcpy(d.font, &lf, sizeof lf);
    MemHandle h;
    if (isPointKind(type)) {
        POINT pts[5] = {{180, 180}, {1260, 180}, {1260, 1260}, {2340, 1260}, {2340, 1980}};
        h = epCreateObjectFrom(&d, 0, type, pts, 5);
    } else {
        POINT pts[2] = {{kSeedBox.left, kSeedBox.top}, {kSeedBox.right, kSeedBox.bottom}};
        h = epCreateObjectFrom(&d, 0, type, pts, 2);
    }
    pgFreeList(page);
    return h;
}

MemHandle boxObject()
{
    MemHandle h = obNewRecord(kObHeadSize + 64 + 10);
    ObLock r(h);
    r->type = OBT_BOX;
    r->scaleX = r->scaleY = kObScaleOne;
    r->fillColour = RGB(255, 0, 0);
    r->penWidth = 15;
    obRecSetRect(r.get(), &kSeedBox);
    uint32_t fixed = 64;
    int16_t tail = 10;
    memcpy(obRecData(r.get()), &fixed, 4);
    memcpy(obRecData(r.get()) + 62, &tail, 2);
    return h;
}

MemHandle brushLine()
{
    // Two strokes of four Bezier points, a swelling built-in profile and an
    // inline one of three samples.
    Bytes data(kBrsHeadSize, 0);
    for (uint32_t kind : {3u, kBrsInlineProfile}) {
        uint32_t samples = kind == kBrsInlineProfile ? 3 : 0;
        uint32_t profileBytes = 20 * samples;
        Bytes s(kBrsStrokeHead + profileBytes + 4 * 8, 0);
        utPutAt<uint32_t>(s.data(), BRS_SIZE, (uint32_t)s.size());
        utPutAt<uint32_t>(s.data(), BRS_FLAGS, 1);
        utPutAt<uint32_t>(s.data(), BRS_CENTRE_COLOUR, RGB(255, 0, 0));
        utPutAt<int32_t>(s.data(), BRS_WIDTH, 60);
        utPutAt<uint32_t>(s.data(), BRS_KIND, kind);
        utPutAt<uint32_t>(s.data(), BRS_SAMPLES, samples);
        utPutAt<uint32_t>(s.data(), BRS_PROFILE_BYTES, profileBytes);
        utPutAt<uint32_t>(s.data(), BRS_POINTS, 4);
        for (uint32_t i = 0; i < samples; ++i) {
            ShStrokeProfileEntry e{i / 2.0, 0.5 + i / 4.0, 0};
            memcpy(s.data() + kBrsStrokeHead + 20 * i, &e, 20);
        }
        const int32_t pts[8] = {-900, -600, -300, 600, 300, -600, 900, 600};
        memcpy(s.data() + kBrsStrokeHead + profileBytes, pts, sizeof pts);
        data.insert(data.end(), s.begin(), s.end());
    }
    utPutAt<uint32_t>(data.data(), 0, (uint32_t)data.size());
    utPutAt<int32_t>(data.data(), 4, 2);
    utPutAt<int32_t>(data.data(), 8, -1);
    MemHandle h = obNewRecord(kObHeadSize + (uint32_t)data.size());
    ObLock r(h);
    r->type = OBT_BRUSH_LINE;
    r->scaleX = r->scaleY = kObScaleOne;
    obRecSetRect(r.get(), &kSeedBox);
    memcpy(obRecData(r.get()), data.data(), data.size());
    return h;
}

// A metafile of a few records: a pen, a rectangle, a line and a text.
void drawSample(HDC dc)
{
    HPEN pen = CreatePen(PS_SOLID, 3, RGB(0, 0, 255));
    HGDIOBJ old = SelectObject(dc, pen);
    Rectangle(dc, 10, 10, 300, 200);
    MoveToEx(dc, 0, 0, nullptr);
    LineTo(dc, 320, 220);
    TextOutA(dc, 20, 40, "Metafile", 8);
    SelectObject(dc, old);
    DeleteObject(pen);
}

MemHandle enhancedMetafile()
{
    RECT frame = {0, 0, 8000, 6000};   // hundredths of a millimetre
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, &frame, nullptr);
    drawSample(dc);
    HENHMETAFILE emf = CloseEnhMetaFile(dc);
    MemHandle h = mfEmfFromHandle(emf);
    DeleteEnhMetaFile(emf);
    obSetRect(h, &kSeedBox);
    mfEmfSetBox(h, &kSeedBox);
    return h;
}

MemHandle windowsMetafile()
{
    HDC dc = CreateMetaFileA(nullptr);
    SetWindowExtEx(dc, 320, 220, nullptr);
    drawSample(dc);
    METAFILEPICT mfp = {MM_ANISOTROPIC, 5000, 4000, CloseMetaFile(dc)};
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, sizeof mfp);
    memcpy(GlobalLock(g), &mfp, sizeof mfp);
    GlobalUnlock(g);
    MemHandle h = mfPictFromClipboard(g);
    DeleteMetaFile(mfp.hMF);
    GlobalFree(g);
    obSetRect(h, &kSeedBox);
    return h;
}

MemHandle label()
{
    LOGFONTA lf = seedFont();
    MemHandle h = txNewLabel(0, &lf, 0, 0x0101, 0);
    h = txSetLabelText(h, "A label of two lines of text");
    obSetRect(h, &kSeedBox);
    return txFitLabelHeight(h);
}

MemHandle makeKind(int16_t type)
{
    switch (type) {
    case OBT_TABLE:
    case OBT_REPORT: {
        MemHandle h = qmtest::makeTable(3, 4, kSeedBox);
        if (h && type == OBT_REPORT)
            ObLock(h)->type = OBT_REPORT;
        return h;
    }
    case OBT_BOX: return boxObject();
    case OBT_BRUSH_LINE: return brushLine();
    case OBT_ENHANCED_MF: return enhancedMetafile();
    case OBT_METAPICT: return windowsMetafile();
    case OBT_LABEL: return label();
    default: return byFactory(type);
    }
}

// The kinds that own other records, and the page.
bool isOwner(int16_t t) { return t == OBT_PAGE || t == OBT_GROUP || t == OBT_CHAIN; }

// The band calls of a print into a metafile DC: one band of a letter sheet.
int g_bands = 0;
int noDoc(HDC, const DOCINFOA *) { return 1; }
int noPage(HDC) { return 1; }
int noAbort(HDC, ABORTPROC) { return 1; }
int oneBand(HDC, RECT *band)
{
    if (g_bands++ == 0)
        SetRect(band, 0, 0, 816, 1056);
    else
        SetRectEmpty(band);
    return 1;
}
const PrnPrintCalls kMetafileCalls = {noDoc, noPage, noPage, noPage, noPage, noAbort, oneBand};

void drawPage(qmtest::Dib &dib, MemHandle form, MemHandle page, int zoom)
{
    dib.fill(RGB(255, 255, 255));
    dmSetZoomDC(dib.dc(), zoom);
    dmSetMapping(dib.dc());
    pgRender(nullptr, dib.dc(), form, page, 1, nullptr, FALSE, TRUE, TRUE, FALSE, FALSE);
}

void printPage(MemHandle form, MemHandle page)
{
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    const PrnPrintCalls *was = prnSetPrintCalls(&kMetafileCalls);
    g_bands = 0;
    BOOL aborted = FALSE;
    prnPrintPageBanded(nullptr, dc, form, page, 0, POINT{0, 0}, nullptr, nullptr, &aborted, 0);
    prnSetPrintCalls(was);
    DeleteEnhMetaFile(CloseEnhMetaFile(dc));
}

bool saveAs(MemHandle form, const std::string &path)
{
    HANDLE f = ffCreate(path.c_str(), FALSE);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    bool ok = qmfWriteHeader(f, "FORM") == 40 && qmfWriteForm(f, form) != 0;
    MemHandle dir = fmGetDirectory(form);
    for (int i = 0; ok && i < fmGetPageCount(form); ++i)
        ok = qmfWritePageEx(f, pgDirGetPages(dir, i), FALSE) != 0;
    ffClose(f);
    return ok;
}

// The operations on objects besides drawing: outline, vertices, bounds,
// then a turn, a rescale to three times the box and mirrors.
void workObjects(qmtest::Dib &dib, MemHandle page)
{
    dmSetZoomDC(dib.dc(), 400);
    dmSetMapping(dib.dc());
    for (MemHandle h = pgGetFirstObject(page); h; h = obGetNext(h)) {
        RECT r;
        objGetVertexBounds(h, &r);
        obCalcUpdateRect(dib.dc(), h, &r);
        {
            ObLock rec(h);
            if (rec)
                objOutlineExt(dib.dc(), rec.get());
        }
        int16_t n = 0;
        utFreeHandle(obGetOutline(h, &n));
    }
    for (MemHandle h = pgGetFirstObject(page); h;) {
        MemHandle next = obGetNext(h);
        RECT box;
        obGetRect(h, &box);
        POINT centre = {(box.left + box.right) / 2, (box.top + box.bottom) / 2};
        objFlipRotate(h, centre, 450);
        obFlipHorizontal(h, centre.x);
        obFlipVertical(h, centre.y);
        RECT target = {box.left, box.top, box.left + 3 * (box.right - box.left),
                       box.top + 3 * (box.bottom - box.top)};
        // A turned box may come back as a new polygon record: its
        // neighbours are relinked, the page's first object is ours to set.
        MemHandle g = obFitToRect(h, &target);
        if (g && g != h && pgGetFirstObject(page) == h)
            pgSetFirstObject(page, g);
        h = next;
    }
}

}  // namespace

size_t recordOf(const Bytes &doc, int16_t type)
{
    // The object's packet comes after the header, the form and the page
    // record: a place holding the type under a length that fits and a name
    // length a record may have, the one that ends the file first.
    auto holds = [&](size_t at) {
        uint32_t length = qmftest::getU32(doc, at);
        return (int16_t)qmftest::getU16(doc, at + 4) == type && length >= 72 &&
               length <= doc.size() - at && doc[at + 7] <= kObMaxNameBytes;
    };
    for (size_t at = 40; at + 72 <= doc.size(); ++at)
        if (holds(at) && at + qmftest::getU32(doc, at) == doc.size())
            return at;
    for (size_t at = doc.size() >= 72 ? doc.size() - 72 : 0; at >= 40; --at)
        if (holds(at))
            return at;
    return 0;
}

Bytes documentOf(MemHandle object, const std::string &path)
{
    MemHandle form = fmNew();
    MemHandle page = pgNewRecord(0);
    pgAppendObject(page, object);
    pgDirAppend(form, page);
    Bytes b = saveAs(form, path) ? qmtest::readFile(path) : Bytes();
    fmFree(form);
    return b;
}

std::vector<Seed> makeSeeds(const std::string &folder, std::vector<int16_t> *missing)
{
    std::vector<Seed> seeds;
    for (int code = -32768; code <= 32767; ++code) {
        int16_t t = (int16_t)code;
        if (!obIsRegisteredType(t) || isOwner(t) || !qmfFindWriter(t))
            continue;
        qmtest::BoxRecorder boxes;
        MemHandle h = makeKind(t);
        if (h)
            ObLock(h)->layer = 1;
        Seed s{t, h ? documentOf(h, folder + "\\seed.qm") : Bytes(), 0, 0, 0};
        s.at = s.doc.empty() ? 0 : recordOf(s.doc, t);
        if (!s.at || boxes.count()) {
            if (missing)
                missing->push_back(t);
            continue;
        }
        s.length = qmftest::getU32(s.doc, s.at);
        s.dataAt = kObFileHeadSize + s.doc[s.at + 7];
        seeds.push_back(s);
    }
    return seeds;
}

std::string mutate(const Seed &seed, Bytes &doc, std::mt19937 &random,
                   const std::vector<int16_t> &kinds)
{
    static const uint32_t values[] = {0, 1, 2, 0xFF, 0x7FFF, 0x8000, 0xFFFF, 28800, 28801,
                                      100000, 1000000, 50000000, 0x7FFFFFFF, 0x80000000u,
                                      0xFFFFFFFFu, 0xFFFFFFF0u, (uint32_t)-28800, 0x10000};
    auto pick = [&](size_t n) { return n ? (size_t)(random() % n) : 0; };
    std::string what = "kind " + std::to_string(seed.kind) + ":";
    size_t base = seed.at;
    int count = 1 + (int)pick(3);
    for (int m = 0; m < count; ++m) {
        int kind = (int)pick(10);
        char text[96];
        if (kind == 0) {
            // The type word says another kind over the same data.
            int16_t other = kinds[pick(kinds.size())];
            qmftest::putU16(doc, base + 4, (uint16_t)other);
            wsprintfA(text, " type %d", other);
        } else if (kind <= 2) {
            // A field of the head: centre, size, rotation, pen width.
            static const uint32_t head[] = {8, 12, 16, 20, 24, 28};
            uint32_t at = head[pick(6)];
            uint32_t v = values[pick(sizeof values / 4)];
            if (at >= 24)
                qmftest::putU16(doc, base + at, (uint16_t)v);
            else
                qmftest::putU32(doc, base + at, v);
            wsprintfA(text, " head+%u=0x%X", at, v);
        } else if (seed.length > seed.dataAt) {
            // A field of the type data: a byte, a word or a double word set
            // to an extreme, or a bit flipped.
            // Half of them aim at the first 16 bytes, where the types keep
            // their sizes and counts.
            uint32_t span = seed.length - seed.dataAt;
            uint32_t at = seed.dataAt + (uint32_t)(pick(2) ? pick(std::min(span, 16u)) : pick(span));
            uint32_t v = values[pick(sizeof values / 4)];
            int width = kind <= 4 ? 1 : kind <= 6 ? 2 : 4;
            if (kind == 9) {
                doc[base + at] ^= (uint8_t)(1u << pick(8));
                wsprintfA(text, " flip data+%u", at - seed.dataAt);
            } else {
                at = std::min(at, seed.length - (uint32_t)width);
                if (width == 1)
                    doc[base + at] = (uint8_t)(pick(2) ? v : random());
                else if (width == 2)
                    qmftest::putU16(doc, base + at, (uint16_t)v);
                else
                    qmftest::putU32(doc, base + at, v);
                wsprintfA(text, " u%d data+%u=0x%X", 8 * width, at - seed.dataAt, v);
            }
        } else {
            wsprintfA(text, " none");
        }
        what += text;
    }
    return what;
}

Round runRound(const std::string &path, const std::string &resave)
{
    Round out;
    qmtest::BoxRecorder boxes;
    MemHandle page = 0;
    MemHandle form = qmfOpenDocument(nullptr, path.c_str(), 0, &page);
    out.opened = form != 0;
    if (form && page) {
        out.objects = obCountList(pgGetFirstObject(page));
        // One bitmap for every round: the page's corner at 400 percent.
        static qmtest::Dib &dib = *new qmtest::Dib(240, 180);
        drawPage(dib, form, page, 25);
        drawPage(dib, form, page, 400);
        printPage(form, page);
        out.saved = saveAs(form, resave);
        workObjects(dib, page);
        drawPage(dib, form, page, 400);
    }
    fmFree(form);
    dmResetModule();
    out.messages = boxes.texts();
    return out;
}

Counts countsNow() { return Counts{qmtest::liveHandles(), gdiObjects()}; }

Round runCounted(const std::string &path, const std::string &resave, Counts &base,
                 std::string *leak)
{
    leak->clear();
    Round r = runRound(path, resave);
    Counts first = countsNow();
    if (first.blocks == base.blocks && first.gdi == base.gdi)
        return r;
    runRound(path, resave);
    Counts second = countsNow();
    if (second.blocks != first.blocks)
        *leak = std::to_string(second.blocks - first.blocks) + " memory blocks";
    else if (second.gdi != first.gdi)
        *leak = std::to_string(second.gdi - first.gdi) + " GDI objects";
    base = second;
    return r;
}

long gdiObjects()
{
    // The entries in use of the process's GDI handle table, which Wine
    // keeps in memory the process can read.
    const GDI_HANDLE_ENTRY *table =
        static_cast<const GDI_HANDLE_ENTRY *>(NtCurrentTeb()->Peb->GdiSharedHandleTable);
    if (!table)
        return -1;
    long n = 0;
    for (size_t i = 0; i < GDI_MAX_HANDLE_COUNT; ++i)
        n += table[i].Type != 0;
    return n;
}

Watchdog::Watchdog(DWORD limitMs) : limit_(limitMs)
{
    InitializeCriticalSection(&lock_);
    stop_ = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    thread_ = CreateThread(nullptr, 0, run, this, 0, nullptr);
}

Watchdog::~Watchdog()
{
    SetEvent(stop_);
    WaitForSingleObject(thread_, INFINITE);
    CloseHandle(thread_);
    CloseHandle(stop_);
    if (watched_)
        CloseHandle(watched_);
    DeleteCriticalSection(&lock_);
}

namespace {

// The processor time a thread has used, in milliseconds.
ULONGLONG threadMillis(HANDLE thread)
{
    FILETIME created, ended, kernel, user;
    if (!thread || !GetThreadTimes(thread, &created, &ended, &kernel, &user))
        return 0;
    ULARGE_INTEGER k = {{kernel.dwLowDateTime, kernel.dwHighDateTime}};
    ULARGE_INTEGER u = {{user.dwLowDateTime, user.dwHighDateTime}};
    return (k.QuadPart + u.QuadPart) / 10000;
}

}  // namespace

void Watchdog::begin(const std::string &what)
{
    EnterCriticalSection(&lock_);
    what_ = what;
    if (!watched_)
        DuplicateHandle(GetCurrentProcess(), GetCurrentThread(), GetCurrentProcess(), &watched_,
                        0, FALSE, DUPLICATE_SAME_ACCESS);
    started_ = GetTickCount64();
    startedCpu_ = threadMillis(watched_);
    busy_ = true;
    LeaveCriticalSection(&lock_);
}

void Watchdog::end()
{
    EnterCriticalSection(&lock_);
    busy_ = false;
    LeaveCriticalSection(&lock_);
}

DWORD WINAPI Watchdog::run(void *self)
{
    Watchdog *w = static_cast<Watchdog *>(self);
    while (WaitForSingleObject(w->stop_, 50) == WAIT_TIMEOUT) {
        EnterCriticalSection(&w->lock_);
        // A case is over its limit by the processor time it used, so that
        // a busy machine does not fail it; the wall clock only ends a case
        // that waits without working (twenty times the limit).
        bool over = w->busy_ &&
                    (threadMillis(w->watched_) - w->startedCpu_ > w->limit_ ||
                     GetTickCount64() - w->started_ > 20ull * w->limit_);
        std::string what = w->what_;
        LeaveCriticalSection(&w->lock_);
        if (over) {
            fprintf(stderr, "\nFAILED: a case took longer than %lu ms: %s\n",
                    (unsigned long)w->limit_, what.c_str());
            fflush(stderr);
            fflush(stdout);
            TerminateProcess(GetCurrentProcess(), 3);
        }
    }
    return 0;
}

}  // namespace fuzzkit
