// Printing: the print job record, the print loop (banded pages, tiles,
// labels, pairs, pauses, an attached document), the print and fax
// dialogs, the Select Pages dialog and the abort dialog.
//
// The loop reaches the printer's document functions through a table
// (PrnPrintCalls) so that tests can record a job and render its bands into
// a bitmap of their own.
#pragma once
#include "support/qmwin.h"
#include "model/lbl_spec.h"

struct PrintJob;
typedef int (*PrnPageLabelProc)(HWND ws, int page, LabelSpec *spec, LabelLayout *layout);
typedef int (*PrnChoosePagesProc)(HWND ws, MemHandle *pages, int16_t *count);
#include "forms/lbl_listing.h"
// Stage 2 before a band's render, 3 after; 0 stops.
typedef int (*PrnBandProc)(HWND ws, int stage, int, int);

enum : int16_t {
    PRN_RANGE_NONE = 0, PRN_RANGE_CURRENT = 1, PRN_RANGE_ALL = 2, PRN_RANGE_FROM_TO = 3,
    PRN_RANGE_SELECTED = 4,
};
enum : uint16_t {
    PRN_OPT_PAIRS = 1, PRN_OPT_LABELS = 2, PRN_OPT_PAUSE = 4, PRN_OPT_EXTRA = 8,
};
enum : uint32_t { PRN_OUT_FILE = 32 };

struct PrintJob {
    uint32_t workspace;        // HWND
    uint32_t fax;
    int16_t pageCount;
    uint16_t currentPage;
    int16_t rangeKind;         // PRN_RANGE_*
    uint16_t options;          // PRN_OPT_*
    uint32_t owner;            // HWND
    uint32_t output;           // PRN_OUT_FILE
    int16_t first, last;
    uint16_t copies;
    LabelLayout labels;
    uint32_t selected;         // MemHandle: ascending i32 page indexes
    int16_t selectedCount;
    PrnPageLabelProc pageLabelProc;
    PrnChoosePagesProc choosePagesProc;
    PrnLabelFileProc labelFileProc;
    PrnBandProc bandProc;
    uint32_t attached;         // MemHandle: path
    uint32_t batch;
    int32_t jobIndex, jobCount;
    uint32_t lastJob;
    uint32_t abortDialog;      // HWND
    uint32_t aborted;
    uint32_t hideAbortDialog;
};

// The printer document functions the loop calls.
struct PrnPrintCalls {
    int (*startDoc)(HDC dc, const DOCINFOA *info);
    int (*startPage)(HDC dc);
    int (*endPage)(HDC dc);
    int (*endDoc)(HDC dc);
    int (*abortDoc)(HDC dc);
    int (*setAbortProc)(HDC dc, ABORTPROC proc);
    int (*nextBand)(HDC dc, RECT *band);   // Escape NEXTBAND
};
const PrnPrintCalls *prnSystemPrintCalls();
// Installs a table (null: the system's); returns the one that was in use.
const PrnPrintCalls *prnSetPrintCalls(const PrnPrintCalls *calls);
const PrnPrintCalls *prnGetPrintCalls();

// ---- commands ---------------------------------------------------------------------------
// 106 / 1201 (and fax through faxCmdFax): asks first for an empty one-page
// document. Nonzero when printed.
int prnCmdPrint(HWND ws, BOOL fax, BOOL noDialog);
int prnPrintWithDialog(HWND ws, BOOL fax, BOOL noDialog, int copies);
void prnInitJob(PrintJob *job, HWND ws, BOOL fax, int pageCount, int currentPage,
                PrnPageLabelProc pageLabel, PrnChoosePagesProc choosePages,
                PrnLabelFileProc labelFile);
INT_PTR prnRunPrintDialog(HWND ws, PrintJob *job, BOOL fax);
int prnPrintJob(HWND ws, PrintJob *job);
int prnPrintDocument(HWND ws, const char *docName, PrintJob *job);
// The paint of a workspace while it prints: a repaint is noted as due.
void prnPaintWhilePrinting(HWND ws);
// Set while a job runs (the auto-save tick then does nothing).
BOOL prnIsPrinting();

// ---- pages --------------------------------------------------------------------------------
int prnPrintPageBanded(HWND ws, HDC dc, MemHandle form, MemHandle page, int pageIndex,
                       POINT offset, const LabelLayout *labels, PrnBandProc bandProc,
                       BOOL *aborted, int variant);
int prnNeedsTiling(HDC dc, MemHandle page, int32_t *width, int32_t *height);
int prnPrintPageTiled(HWND ws, HDC dc, MemHandle form, MemHandle page, int pageIndex,
                      BOOL *aborted);
int prnPrintAttachedFile(HWND ws, HWND abortDlg, BOOL *aborted, void *dcInfo, BOOL fax,
                         const char *path, int copies);

// ---- callbacks ------------------------------------------------------------------------------
int prnLabelLayoutOfPage(HWND ws, int page, LabelSpec *spec, LabelLayout *layout);
int prnChoosePages(HWND ws, MemHandle *pages, int16_t *count);
int prnLabelSpecFile(HWND owner, uint16_t *options);

// ---- dialogs ----------------------------------------------------------------------------------
INT_PTR prnPrintDialog(HWND ws, PrintJob *job);
// The dialog's own answer (1 OK, 0 Cancel) goes to *answer when given.
MemHandle prnSelectPagesDialog(HWND owner, const char *caption, MemHandle names, int count,
                               MemHandle *selection, int16_t *selectionCount,
                               INT_PTR *answer = nullptr);
HWND prnOpenAbortDialog(HWND owner, HDC dc, BOOL create, BOOL multiJob);
HWND prnCloseAbortDialog(HWND owner, HDC dc);
void prnSetAbortTitle(HWND dlg, const char *name, BOOL fax);
void prnSetAbortJobTitle(HWND dlg, const char *name, BOOL fax, int jobIndex, int jobCount);
void prnSetAbortText(HWND dlg, const char *text);
BOOL prnIsAborted();
// The open abort dialog, or none.
HWND prnGetAbortDialog();
BOOL CALLBACK prnAbortProc(HDC dc, int code);
INT_PTR CALLBACK prnAbortDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam);

// Tests: the module's state back to the start.
void prnResetPrintModule();
void prnResetDialogModule();
