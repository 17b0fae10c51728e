// The print command and the print loop: one printer document per job, each
// page printed through application banding (or as tiles when it is larger
// than the paper), optionally as a grid of labels, two pages to a sheet in
// pair mode, with a question after every page in pause mode and the pages
// of an attached document appended.
#include "views/prn_print.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_tools.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/pg_render.h"
#include "model/qmf_pages.h"
#include "model/qmf_read.h"
#include "support/dm_map.h"
#include "support/dm_printer.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "text/tx_measure.h"
#include <stdio.h>
#include <string.h>
#include <string>

namespace {

int sysStartDoc(HDC dc, const DOCINFOA *info) { return StartDocA(dc, info); }
int sysStartPage(HDC dc) { return StartPage(dc); }
int sysEndPage(HDC dc) { return EndPage(dc); }
int sysEndDoc(HDC dc) { return EndDoc(dc); }
int sysAbortDoc(HDC dc) { return AbortDoc(dc); }
int sysSetAbortProc(HDC dc, ABORTPROC proc) { return SetAbortProc(dc, proc); }
int sysNextBand(HDC dc, RECT *band) { return Escape(dc, NEXTBAND, 0, nullptr, band); }

const PrnPrintCalls kSystemCalls = {sysStartDoc,  sysStartPage,    sysEndPage, sysEndDoc,
                                    sysAbortDoc, sysSetAbortProc, sysNextBand};
const PrnPrintCalls *g_calls = &kSystemCalls;

BOOL g_printing = FALSE;
BOOL g_repaintPending = FALSE;

const char kUntitled[] = "Untitled";

// A page of the document: the one in memory, else read from where its
// directory entry keeps it (loaded is then set: the caller drops it again).
MemHandle fetchPage(HWND ws, MemHandle form, int index, bool *loaded)
{
    *loaded = false;
    MemHandle page = pvGetPage(ws, index);
    if (!page && form) {
        page = pgDirEnsureLoaded(ws, fmGetDirectory(form), index);
        *loaded = page != 0;
    }
    return page;
}

// The page's label specification when it carries one.
bool pageLabelSpec(MemHandle page, LabelSpec *spec)
{
    PgLock lock(page);
    if (!lock)
        return false;
    int length = 0;
    const uint8_t *data = lock.findAttr(PGA_LABEL_LAYOUT, &length);
    if (!data || length < (int)sizeof(LabelSpec))
        return false;
    memcpy(spec, data, sizeof(LabelSpec));
    return true;
}

int pagePaperCode(MemHandle page)
{
    PgLock lock(page);
    return lock ? lock.data()->paperCode : 0;
}

int32_t twipsToDev(int32_t twips, int32_t dpi) { return MulDiv(twips, dpi, 1440); }

// Renders the page into the current band once for every cell of the grid.
struct Grid {
    int columns = 1, rows = 1;
    int32_t stepX = 0, stepY = 0;
    int32_t originX = 0, originY = 0;
};

// Renders the page with the scroll at (x, y) into the band (device pixels).
void renderAt(HWND ws, HDC dc, MemHandle form, MemHandle page, int pageIndex, int32_t x,
              int32_t y, const RECT &band)
{
    dmSetScrollPos(x, y);
    dmSetMapping(dc);
    RECT clip = band;
    DPtoLP(dc, (POINT *)&clip, 2);
    pgRender(ws, dc, form, page, pageIndex + 1, &clip, TRUE, FALSE, TRUE, FALSE, TRUE);
}

bool bandEmpty(const RECT &r) { return r.right <= r.left || r.bottom <= r.top; }

}  // namespace

const PrnPrintCalls *prnSystemPrintCalls() { return &kSystemCalls; }

const PrnPrintCalls *prnSetPrintCalls(const PrnPrintCalls *calls)
{
    const PrnPrintCalls *was = g_calls;
    g_calls = calls ? calls : &kSystemCalls;
    return was;
}

const PrnPrintCalls *prnGetPrintCalls() { return g_calls; }

BOOL prnIsPrinting() { return g_printing; }

void prnPaintWhilePrinting(HWND) { g_repaintPending = TRUE; }

void prnResetPrintModule()
{
    g_calls = &kSystemCalls;
    g_printing = FALSE;
    g_repaintPending = FALSE;
    prnResetDialogModule();
}

// ---- the job ---------------------------------------------------------------------------------

void prnInitJob(PrintJob *job, HWND ws, BOOL fax, int pageCount, int currentPage,
                PrnPageLabelProc pageLabel, PrnChoosePagesProc choosePages,
                PrnLabelFileProc labelFile)
{
    memset(job, 0, sizeof(*job));
    job->workspace = qmHandleToU32(ws);
    job->fax = fax ? 1 : 0;
    job->pageCount = (int16_t)pageCount;
    job->currentPage = (uint16_t)currentPage;
    job->owner = qmHandleToU32(ws);
    job->first = 0;
    job->last = (int16_t)(pageCount - 1);
    job->copies = 1;
    job->pageLabelProc = pageLabel;
    job->choosePagesProc = choosePages;
    job->labelFileProc = labelFile;
}

INT_PTR prnRunPrintDialog(HWND ws, PrintJob *job, BOOL fax)
{
    int count = pvGetPageCount(ws);
    int current = pvGetCurrentPageIndex(ws);
    prnInitJob(job, ws, fax, count, current < 0 ? 0 : current, prnLabelLayoutOfPage,
               count >= 2 ? prnChoosePages : nullptr, prnLabelSpecFile);
    return prnPrintDialog(ws, job);
}

int prnCmdPrint(HWND ws, BOOL fax, BOOL noDialog)
{
    if (pvGetPageCount(ws) == 1 && !wsPageHasObjects(ws)) {
        char text[128];
        snprintf(text, sizeof(text), "Nothing to %s. %s blank anyway?", fax ? "fax" : "print",
                 fax ? "Fax" : "Print");
        if (utMessageBox(ws, text, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
            return 0;
    }
    return prnPrintWithDialog(ws, fax, noDialog, 0);
}

int prnPrintWithDialog(HWND ws, BOOL fax, BOOL noDialog, int copies)
{
    pvCommitPage(ws);
    PrintJob job;
    if (noDialog) {
        int current = pvGetCurrentPageIndex(ws);
        prnInitJob(&job, ws, fax, pvGetPageCount(ws), current < 0 ? 0 : current, nullptr,
                   nullptr, nullptr);
        job.rangeKind = PRN_RANGE_ALL;
        if (copies > 1)
            job.copies = (uint16_t)copies;
    } else if (!prnRunPrintDialog(ws, &job, fax)) {
        utFreeHandle(job.selected);
        utFreeHandle(job.attached);
        return 0;
    }
    HWND frame = GetAncestor(ws, GA_ROOT);
    if (frame)
        UpdateWindow(frame);
    return prnPrintJob(ws, &job);
}

int prnPrintJob(HWND ws, PrintJob *caller)
{
    PrintJob job = *caller;
    int current = pvGetCurrentPageIndex(ws);
    MemHandle currentPage = pvGetCurrentPage(ws);
    g_repaintPending = FALSE;
    char path[MAX_PATH] = "";
    if (!wsGetDocPath(ws, path, sizeof(path)))
        strcpy(path, kUntitled);
    int result = 0;
    if (job.rangeKind != PRN_RANGE_NONE && job.copies > 0) {
        uint16_t mode = wsGetToolMode(ws);
        wsSetToolModeWord(ws, TM_PRINTING);
        g_printing = TRUE;
        result = prnPrintDocument(ws, path, &job);
        if (result)
            caller->abortDialog = job.abortDialog;
        caller->aborted = job.aborted;
        g_printing = FALSE;
        wsSetToolModeWord(ws, mode);
        (void)current;
        if (currentPage && pvGetCurrentPage(ws) == currentPage)
            pvShowPage(ws, currentPage);
        if (g_repaintPending)
            InvalidateRect(ws, nullptr, TRUE);
        g_repaintPending = FALSE;
    }
    caller->selected = utFreeHandle(caller->selected);
    caller->selectedCount = 0;
    caller->attached = utFreeHandle(caller->attached);
    return result;
}

// ---- the print loop -----------------------------------------------------------------------------

int prnPrintDocument(HWND ws, const char *docName, PrintJob *job)
{
    HWND frame = GetAncestor(ws, GA_ROOT);
    MemHandle form = wsGetDocument(ws);
    bool pairs = job->options & PRN_OPT_PAIRS;
    bool pause = job->options & PRN_OPT_PAUSE;
    const LabelLayout *labels = (job->options & PRN_OPT_LABELS) ? &job->labels : nullptr;
    bool range = job->rangeKind != PRN_RANGE_SELECTED;
    if (!docName || !*docName)
        docName = kUntitled;

    // The pages of the run.
    int count = 0, firstIndex = 0, lastIndex = 0;
    std::basic_string<int32_t> list;
    if (range) {
        count = job->last - job->first + 1;
        firstIndex = job->first;
        lastIndex = job->last;
    } else if (job->selected && job->selectedCount > 0) {
        uint32_t n = utHandleSize(job->selected) / 4;
        if (n > (uint32_t)job->selectedCount)
            n = (uint32_t)job->selectedCount;
        MemLock<int32_t> p(job->selected);
        if (p.get())
            list.assign(p.get(), p.get() + n);
        count = (int)list.size();
        if (count) {
            firstIndex = list.front();
            lastIndex = list.back();
        }
    }
    if (count <= 0)
        return 0;

    bool loaded = false;
    MemHandle page = fetchPage(ws, form, firstIndex, &loaded);
    if (!page)
        return 0;
    int paper = 0, orientation = 1;
    pgGetPrintPaper(page, &paper, &orientation, nullptr);
    LabelSpec spec;
    if (labels && pageLabelSpec(page, &spec) && (spec.flags & LBL_ENTIRE_SHEET))
        labels = nullptr;

    PrinterDCInfo info;
    HDC dc = dmCreatePrinterDCInfo(ws, (int16_t)paper, (uint16_t)orientation,
                                   (int16_t)job->copies, &info);
    if (!dc) {
        if (loaded && firstIndex != pvGetCurrentPageIndex(ws))
            pgDropEntryPages(ws, firstIndex);
        utErrorBoxId(ws, 940);
        return 0;
    }

    bool laterJob = job->batch && job->jobIndex >= 1;
    bool multi = job->batch && job->jobCount >= 2;
    HWND dlg = nullptr;
    if (laterJob && job->abortDialog) {
        dlg = qmU32ToHandle<HWND>(job->abortDialog);
        g_calls->setAbortProc(dc, prnAbortProc);
    } else {
        dlg = prnOpenAbortDialog(ws, dc, TRUE, multi);
    }
    if (!dlg) {
        dmDeleteDC(&dc);
        return 0;
    }
    job->abortDialog = qmHandleToU32(dlg);
    if (job->batch)
        prnSetAbortJobTitle(dlg, docName, job->fax, job->jobIndex, job->jobCount);
    else
        prnSetAbortTitle(dlg, docName, job->fax);

    if (!laterJob && frame)
        EnableWindow(frame, FALSE);
    HCURSOR oldCursor = SetCursor(LoadCursorA(nullptr, (LPCSTR)IDC_WAIT));
    BOOL pushed = dmPushState();
    dmSetScrollPos(0, 0);
    dmSetZoomDC(dc, 100);

    std::string title = std::string(utGetAppName()) + " - " + docName;
    DOCINFOA di;
    memset(&di, 0, sizeof(di));
    di.cbSize = sizeof(DOCINFOA);
    di.lpszDocName = title.c_str();
    di.lpszOutput = (job->output & PRN_OUT_FILE) ? "FILE" : nullptr;
    di.fwType = DI_APPBANDING;

    bool failed = false;
    BOOL aborted = FALSE;
    bool started = g_calls->startDoc(dc, &di) > 0;
    if (!started) {
        utErrorBox(ws, "Output cancelled or failed.");
        failed = true;
    } else {
        if (!job->hideAbortDialog)
            ShowWindow(dlg, SW_SHOWNORMAL);
        int32_t dpiX, dpiY;
        dmGetZoomedDpi(&dpiX, &dpiY);
        RECT previous = {0, 0, 0, 0};
        POINT offset = {0, 0};
        int sheet = 0;
        bool sheetOpen = false;
        for (int i = 0; i < count; ++i) {
            int index = range ? firstIndex + i : list[i];
            if (i > 0) {
                page = fetchPage(ws, form, index, &loaded);
                if (!page)
                    break;
                pgGetPrintPaper(page, &paper, &orientation, nullptr);
                dc = dmResetPrinterDC(ws, (int16_t)paper, (uint16_t)orientation,
                                      (int16_t)job->copies, &info);
            }
            RECT rect;
            pgGetPageRect(page, &rect);
            // In pair mode an odd sheet counter puts the page beside the
            // previous one on the same sheet.
            bool second = pairs && (sheet & 1);
            if (second) {
                offset.x += twipsToDev(previous.right - previous.left, dpiX);
            } else {
                offset.x = 0;
                if (g_calls->startPage(dc) < 1) {
                    utErrorBoxId(ws, 942);
                    failed = true;
                    break;
                }
                sheetOpen = true;
            }
            char text[64];
            snprintf(text, sizeof(text), "Spooling page %d...", index + 1);
            prnSetAbortText(dlg, text);

            int32_t w, h;
            int r = prnNeedsTiling(dc, page, &w, &h)
                        ? prnPrintPageTiled(ws, dc, form, page, index, &aborted)
                        : prnPrintPageBanded(ws, dc, form, page, index, offset, labels,
                                             job->bandProc, &aborted, 0);
            if (r < 1)
                failed = true;
            // The sheet ends after the second page of a pair and after the
            // last page, so that every StartPage has one EndPage.
            if (!pairs || second || i == count - 1) {
                g_calls->endPage(dc);
                sheetOpen = false;
            }
            if (!failed && !aborted && pause && index < lastIndex) {
                snprintf(text, sizeof(text), "Page %d spooled, continue?", index + 1);
                if (utMessageBox(ws, text, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
                    aborted = TRUE;
            }
            previous = rect;
            ++sheet;
            // Only a page read for printing is let go again: a page the
            // document holds in memory only must stay.
            if (loaded && index != pvGetCurrentPageIndex(ws))
                pgDropEntryPages(ws, index);
            loaded = false;
            if (aborted || failed)
                break;
        }
        if (sheetOpen)
            g_calls->endPage(dc);
        if (!aborted && !failed && job->attached) {
            char attached[MAX_PATH] = "";
            {
                MemLock<char> p(job->attached);
                if (p.get())
                    lstrcpynA(attached, p.get(), sizeof(attached));
            }
            if (*attached &&
                prnPrintAttachedFile(ws, dlg, &aborted, &info, job->fax, attached,
                                     job->copies) < 0)
                failed = true;
            dc = qmU32ToHandle<HDC>(info.dc);
        }
    }
    if (aborted)
        g_calls->abortDoc(dc);
    else if (started || failed)
        g_calls->endDoc(dc);
    if (pushed)
        dmPopState();
    if (!job->batch || job->lastJob) {
        if (frame)
            EnableWindow(frame, TRUE);
        prnCloseAbortDialog(ws, dc);
        job->abortDialog = 0;
    }
    dmDeleteDC(&dc);
    SetCursor(oldCursor);
    job->aborted = aborted ? 1 : 0;
    return !failed && !aborted ? 1 : 0;
}

int prnPrintPageBanded(HWND ws, HDC dc, MemHandle form, MemHandle page, int pageIndex,
                       POINT offset, const LabelLayout *labels, PrnBandProc bandProc,
                       BOOL *aborted, int)
{
    txSwitchRefDCForPrinting(dc, TRUE);
    bool failed = false;
    RECT band;
    if (g_calls->nextBand(dc, &band) < 1) {
        txSwitchRefDCForPrinting(dc, FALSE);
        return 0;
    }
    int32_t dpiX, dpiY;
    dmGetZoomedDpi(&dpiX, &dpiY);
    Grid g;
    if (labels) {
        g.columns = labels->columns > 0 ? labels->columns : 1;
        g.rows = labels->rows > 0 ? labels->rows : 1;
        g.stepX = twipsToDev(labels->pitchX, dpiX);
        g.stepY = twipsToDev(labels->pitchY, dpiY);
        g.originX = -twipsToDev(labels->marginX, dpiX);
        g.originY = -twipsToDev(labels->marginY, dpiY);
    }
    PageMetrics m;
    dmGetPageMetrics(dc, &m);
    // The page offset moves the page right and down on the sheet.
    g.originX += m.offsetX - offset.x;
    g.originY += m.offsetY - offset.y;
    HWND wsOwner = ws;
    while (!bandEmpty(band) && !prnIsAborted()) {
        for (int r = 0; r < g.rows && !failed; ++r) {
            bool stop = false;
            for (int c = 0; c < g.columns; ++c) {
                if (bandProc && !bandProc(wsOwner, 2, 0, 0)) {
                    failed = true;
                    break;
                }
                renderAt(ws, dc, form, page, pageIndex, g.originX - c * g.stepX,
                         g.originY - r * g.stepY, band);
                if (bandProc && !bandProc(wsOwner, 3, 0, 0)) {
                    stop = true;
                    break;
                }
            }
            if (stop)
                break;
        }
        if (g_calls->nextBand(dc, &band) < 0)
            break;
    }
    txSwitchRefDCForPrinting(dc, FALSE);
    *aborted = prnIsAborted();
    return failed ? 0 : 1;
}

int prnNeedsTiling(HDC dc, MemHandle page, int32_t *width, int32_t *height)
{
    int code = pagePaperCode(page);
    *width = *height = 0;
    if (code < 50 || (code >= 53 && code <= 58))
        return 0;
    RECT r;
    pgGetPageRect(page, &r);
    int32_t pw, ph;
    dmGetPageSizeTwips(dc, &pw, &ph);
    PageMetrics m;
    dmGetPageMetrics(dc, &m);
    pw += 2 * MulDiv(m.offsetX, 1440, m.resolutionX ? m.resolutionX : 300);
    ph += 2 * MulDiv(m.offsetY, 1440, m.resolutionY ? m.resolutionY : 300);
    *width = pw;
    *height = ph;
    return (r.right - r.left) > pw || (r.bottom - r.top) > ph;
}

int prnPrintPageTiled(HWND ws, HDC dc, MemHandle form, MemHandle page, int pageIndex,
                      BOOL *aborted)
{
    RECT margins;
    pgGetMarginRect(page, &margins);
    PageMetrics m;
    dmGetPageMetrics(dc, &m);
    if (m.printableWidthTwips <= 0 || m.printableHeightTwips <= 0)
        return 0;
    int32_t w = margins.right - margins.left, h = margins.bottom - margins.top;
    int columns = (w + m.printableWidthTwips - 1) / m.printableWidthTwips;
    int rows = (h + m.printableHeightTwips - 1) / m.printableHeightTwips;
    int32_t dpiX, dpiY;
    dmGetZoomedDpi(&dpiX, &dpiY);
    int32_t tileW = twipsToDev(m.printableWidthTwips, dpiX);
    int32_t tileH = twipsToDev(m.printableHeightTwips, dpiY);
    int32_t offX = twipsToDev(MulDiv(m.offsetX, 1440, m.resolutionX), dpiX);
    int32_t offY = twipsToDev(MulDiv(m.offsetY, 1440, m.resolutionY), dpiY);
    bool failed = false;
    bool firstTile = true;
    for (int r = 0; r < rows && !prnIsAborted(); ++r) {
        for (int c = 0; c < columns && !prnIsAborted(); ++c) {
            // Each tile is a sheet of its own: the caller opened the first
            // and closes the last.
            if (!firstTile) {
                g_calls->endPage(dc);
                if (g_calls->startPage(dc) < 1) {
                    utErrorBoxId(ws, 942);
                    *aborted = prnIsAborted();
                    return 0;
                }
            }
            firstTile = false;
            RECT band;
            if (g_calls->nextBand(dc, &band) < 1) {
                failed = true;
                continue;
            }
            while (!bandEmpty(band) && !prnIsAborted()) {
                renderAt(ws, dc, form, page, pageIndex, offX + c * tileW, offY + r * tileH,
                         band);
                if (g_calls->nextBand(dc, &band) < 0)
                    break;
            }
        }
    }
    *aborted = prnIsAborted();
    return failed ? 0 : 1;
}

// Appends the pages of a document file. 1 when printed, 0 when there was
// nothing to print, -1 on failure.
int prnPrintAttachedFile(HWND ws, HWND dlg, BOOL *aborted, void *dcInfo, BOOL fax,
                         const char *path, int copies)
{
    PrinterDCInfo *info = static_cast<PrinterDCInfo *>(dcInfo);
    if (!path || !*path)
        return 0;
    MemHandle form = qmfReadFormInfo(ws, path);
    if (!form)
        return 0;
    prnSetAbortTitle(dlg, path, fax);
    int result = 1;
    int count = fmGetPageCount(form);
    MemHandle dir = fmGetDirectory(form);
    for (int i = 0; i < count; ++i) {
        MemHandle page = qmfReadPageFromFile(ws, path, dir, i);
        if (!page) {
            char a[256] = "", b[256] = "";
            utLoadString(ws, 5207, a);
            utLoadString(ws, 5000, b);
            std::string text = std::string(a) + "\r\n" + b;
            utErrorBox(ws, text.c_str());
            result = -1;
            break;
        }
        int paper = 0, orientation = 1;
        pgGetPrintPaper(page, &paper, &orientation, nullptr);
        HDC dc = dmResetPrinterDC(ws, (int16_t)paper, (uint16_t)orientation, (int16_t)copies,
                                  info);
        if (g_calls->startPage(dc) < 1) {
            utErrorBoxId(ws, 942);
            pgFreeList(page);
            result = -1;
            break;
        }
        char text[64];
        snprintf(text, sizeof(text), "Spooling page %d...", i + 1);
        prnSetAbortText(dlg, text);
        POINT none = {0, 0};
        int r = prnPrintPageBanded(ws, dc, form, page, i, none, nullptr, nullptr, aborted, 0);
        g_calls->endPage(dc);
        pgFreeList(page);
        if (r < 1) {
            result = -1;
            break;
        }
        if (*aborted)
            break;
    }
    fmFree(form);
    return result;
}

// ---- callbacks -------------------------------------------------------------------------------------

int prnLabelLayoutOfPage(HWND ws, int index, LabelSpec *spec, LabelLayout *layout)
{
    bool loaded = false;
    MemHandle page = fetchPage(ws, wsGetDocument(ws), index, &loaded);
    if (!page)
        return 0;
    int found = pageLabelSpec(page, spec) ? 1 : 0;
    if (found)
        lblSpecToUnits(spec, layout);
    if (loaded && index != pvGetCurrentPageIndex(ws))
        pgDropEntryPages(ws, index);
    return found;
}

int prnChoosePages(HWND ws, MemHandle *pages, int16_t *count)
{
    MemHandle names = pgGetNameList(ws);
    prnSelectPagesDialog(ws, "Select Pages", names, pvGetPageCount(ws), pages, count);
    utFreeHandle(names);
    return 1;
}
