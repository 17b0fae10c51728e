// The workspace record and its accessors.
#include "views/ws_record.h"
#include "commands/ud_undo.h"
#include "views/ws_window.h"
#include "views/ws_tools.h"
#include "model/ws_document.h"
#include "views/dw_window.h"
#include "views/pv_page.h"
#include "app/app_frame_docs.h"
#include "app/fc_autosave.h"
#include "model/setup_record.h"
#include "controls/ruler.h"
#include "model/fm_form.h"
#include "support/ut_mem.h"
#include "support/win_window.h"
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>
#include "views/prn_print.h"

namespace {

bool g_tickRunning = false;


// A locked record for the guard's life; false for a window without one.
class RecLock {
public:
    explicit RecLock(HWND ws) : lock_(wsGetRecordHandle(ws)) {}
    WorkspaceRecord *operator->() const { return lock_.get(); }
    WorkspaceRecord *get() const { return lock_.get(); }
    explicit operator bool() const { return lock_.get() != nullptr; }

private:
    MemLock<WorkspaceRecord> lock_;
};

BOOL hasMapping(WorkspaceRecord *rec)
{
    ViewMapState state;
    memcpy(&state, rec->viewMapping, sizeof(state));
    return state.mapMode != 0;
}

void readMapping(WorkspaceRecord *rec, ViewMapState *out)
{
    memcpy(out, rec->viewMapping, sizeof(*out));
}

void writeMapping(WorkspaceRecord *rec, const ViewMapState &state)
{
    memcpy(rec->viewMapping, &state, sizeof(state));
}

bool isPresetCode(int code)
{
    return code == -21 || code == -20 || (code >= -7 && code <= -1) || code == 125 ||
           code == 150;
}

}  // namespace

// ---- lifetime -------------------------------------------------------------------------------

MemHandle wsGetRecordHandle(HWND ws)
{
    if (!ws || !winIsWindowOfClass(ws, wsClassName, nullptr))
        return 0;
    MemHandle h = winGetRecord(ws, WS_LONG_RECORD, sizeof(WorkspaceRecord));
    return (h && utIsLiveHandle(h)) ? h : 0;
}

void wsInitRecord(HWND ws, WorkspaceRecord *rec)
{
    rec->size = sizeof(WorkspaceRecord);
    rec->id = WS_RECORD_ID;
    rec->docWindow = qmHandleToU32(ws ? GetParent(ws) : nullptr);
    rec->scrollStyle = (uint16_t)setGetScrollStyle();
    rec->rememberedPage = -1;
    ViewMapState saved;
    dmSaveState(&saved);
    int code = setGetZoomCode();
    if (isPresetCode(code)) {
        dmSetZoom(nullptr, dmZoomPercent((int16_t)code));
    } else {
        if (code != -100 && code != -101) {
            code = -1;
            setPutZoomCode(-1);
            setPutZoomPercent(100);
        }
        dmSetZoom(nullptr, 100);
    }
    rec->zoomCode = (int16_t)code;
    ViewMapState now;
    dmSaveState(&now);
    writeMapping(rec, now);
    dmRestoreState(&saved);
}

BOOL wsCreateRecord(HWND ws)
{
    MemHandle h = utAllocHandle(0, sizeof(WorkspaceRecord));
    if (!h)
        return FALSE;
    {
        MemLock<WorkspaceRecord> rec(h);
        wsInitRecord(ws, rec.get());
    }
    SetWindowLongA(ws, WS_LONG_RECORD, (LONG)h);
    return TRUE;
}

void wsDestroyRecord(HWND ws)
{
    MemHandle h = wsGetRecordHandle(ws);
    if (!h)
        return;
    wsSendLeaveMode(ws, 1);
    wsFreeUndo(ws);   // discards the pending undo step
    wsClearModified(ws);
    pvReleaseDocument(ws);
    MemHandle owned[5] = {};
    HWND windows[2] = {};
    {
        RecLock rec(ws);
        if (!rec)
            return;
        owned[0] = rec->backupName;
        owned[1] = rec->textEditData;
        owned[2] = rec->pageRects;
        owned[3] = rec->hiddenTypes;
        owned[4] = rec->docOptions;
        windows[0] = qmU32ToHandle<HWND>(rec->outputWindow);
        windows[1] = qmU32ToHandle<HWND>(rec->thumbnailGrid);
        rec->backupName = rec->textEditData = rec->pageRects = rec->hiddenTypes = 0;
        rec->docOptions = 0;
        rec->outputWindow = rec->thumbnailGrid = 0;
    }
    for (HWND w : windows)
        if (w && IsWindow(w))
            DestroyWindow(w);
    for (MemHandle m : owned)
        utFreeHandle(m);
    wsFreeUndo(ws);
    utFreeHandle(h);
    SetWindowLongA(ws, WS_LONG_RECORD, 0);
}

WorkspaceRecord *wsLockRecord(HWND ws)
{
    MemHandle h = wsGetRecordHandle(ws);
    return h ? static_cast<WorkspaceRecord *>(utLock(h)) : nullptr;
}

void wsUnlockRecord(HWND ws)
{
    if (MemHandle h = wsGetRecordHandle(ws))
        utUnlock(h);
}

// ---- plain fields ----------------------------------------------------------------------------

#define WS_GETTER(type, name, field, none)                                                        \
    type name(HWND ws)                                                                            \
    {                                                                                             \
        RecLock rec(ws);                                                                          \
        return rec ? (type)rec->field : (type)(none);                                             \
    }
#define WS_SETTER(type, name, field)                                                              \
    void name(HWND ws, type value)                                                                \
    {                                                                                             \
        RecLock rec(ws);                                                                          \
        if (rec)                                                                                  \
            rec->field = value;                                                                   \
    }

WS_GETTER(MemHandle, wsGetCurrentObject, currentObject, 0)
WS_SETTER(MemHandle, wsSetCurrentObject, currentObject)
WS_GETTER(int16_t, wsGetCurrentType, currentType, 0)
WS_SETTER(int16_t, wsSetCurrentType, currentType)
WS_GETTER(BOOL, wsIsModified, modified != 0, FALSE)
WS_GETTER(BOOL, wsIsChangedSinceBackup, changedSinceBackup != 0, FALSE)
WS_GETTER(uint16_t, wsGetMinutesSinceBackup, minutesSinceBackup, 0)
WS_GETTER(uint32_t, wsGetTrackedValue, trackedValue, 0)
WS_GETTER(MemHandle, wsGetTrackedObject, trackedObject, 0)
WS_GETTER(uint32_t, wsGetToolValue, toolValue, 0)
WS_SETTER(uint32_t, wsSetToolValue, toolValue)
WS_GETTER(MemHandle, wsGetDocOptions, docOptions, 0)
WS_GETTER(int, wsGetRememberedPage, rememberedPage, -1)
WS_GETTER(uint16_t, wsGetViewFlags, viewFlags, 0)
WS_GETTER(BOOL, wsIsPrinting, viewFlags &WS_VIEW_PRINTING ? 1 : 0, FALSE)
WS_GETTER(MemHandle, wsGetSavedSession, textEditData, 0)
WS_GETTER(uint32_t, wsGetTableEditValue, tableEditValue, 0)
WS_SETTER(uint32_t, wsSetTableEditValue, tableEditValue)
BOOL wsIsTableEditing(HWND ws) { return ws && wsGetTableEditValue(ws) != 0; }
WS_GETTER(uint16_t, wsGetScrollStyle, scrollStyle, 0)
WS_SETTER(uint16_t, wsSetScrollStyle, scrollStyle)
WS_GETTER(int32_t, wsGetCurrentPageOffset, currentPageOffset, 0)
WS_GETTER(uint16_t, wsGetSavedMode, savedMode, 0)
WS_GETTER(uint32_t, wsGetSavedProc, savedProc, 0)
WS_SETTER(int16_t, wsSetZoomCode, zoomCode)

HWND wsGetDocWindow(HWND ws)
{
    HWND doc = nullptr;
    {
        RecLock rec(ws);
        if (rec)
            doc = qmU32ToHandle<HWND>(rec->docWindow);
    }
    return (doc && winIsWindowOfClass(doc, dwClassName, nullptr)) ? doc : nullptr;
}

HWND wsGetRulersWindow(HWND ws)
{
    RecLock rec(ws);
    return rec ? qmU32ToHandle<HWND>(rec->rulers) : nullptr;
}

void wsSetRulersWindow(HWND ws, HWND rulers)
{
    RecLock rec(ws);
    if (rec)
        rec->rulers = qmHandleToU32(rulers);
}

HWND wsGetThumbnailGrid(HWND ws)
{
    RecLock rec(ws);
    if (!rec)
        return nullptr;
    HWND grid = qmU32ToHandle<HWND>(rec->thumbnailGrid);
    if (grid && !IsWindow(grid)) {
        rec->thumbnailGrid = 0;
        grid = nullptr;
    }
    return grid;
}

void wsSetThumbnailGrid(HWND ws, HWND grid)
{
    RecLock rec(ws);
    if (rec)
        rec->thumbnailGrid = qmHandleToU32(grid);
}

HWND wsGetOutputWindow(HWND ws)
{
    RecLock rec(ws);
    return rec ? qmU32ToHandle<HWND>(rec->outputWindow) : nullptr;
}

void wsSetOutputWindow(HWND ws, HWND output)
{
    RecLock rec(ws);
    if (rec)
        rec->outputWindow = qmHandleToU32(output);
}

// ---- modified flags and backups -----------------------------------------------------------------

void wsMarkModified(HWND ws)
{
    bool first = false;
    {
        RecLock rec(ws);
        if (!rec)
            return;
        first = rec->modified == 0;
        rec->modified = 1;
        rec->changedSinceBackup = 1;
    }
    if (first && pvGetCurrentPageIndex(ws) != -2)
        dwUpdateTitle(wsGetDocWindow(ws));
}

void wsClearModified(HWND ws)
{
    bool was = false;
    MemHandle backup = 0;
    {
        RecLock rec(ws);
        if (!rec)
            return;
        was = rec->modified != 0;
        rec->modified = 0;
        rec->changedSinceBackup = 0;
        backup = rec->backupName;
        rec->backupName = 0;
    }
    // The backup of the saved (or abandoned) state is no longer wanted: its
    // entry and its file go.
    if (backup) {
        std::string name;
        {
            MemLock<char> p(backup);
            if (p)
                name.assign(p.get(), strnlen(p.get(), utHandleSize(backup)));
        }
        fcDropBackup(ws, name.c_str());
    }
    utFreeHandle(backup);
    if (was)
        dwUpdateTitle(wsGetDocWindow(ws));
}

void wsAutoSaveTick(HWND ws)
{
    // A running print job owns the document until it ends.
    if (g_tickRunning || prnIsPrinting())
        return;
    g_tickRunning = true;
    bool due = false;
    {
        RecLock rec(ws);
        if (rec) {
            ++rec->minutesSinceBackup;
            due = rec->minutesSinceBackup > fcGetAutoSaveInterval() && rec->changedSinceBackup;
        }
    }
    if (due && fcAutoSaveDocument(ws)) {
        RecLock rec(ws);
        if (rec) {
            rec->changedSinceBackup = 0;
            rec->minutesSinceBackup = 0;
        }
    }
    g_tickRunning = false;
}

void wsSetBackupName(HWND ws, const char *name)
{
    MemHandle copy = (name && *name) ? utHandleFromString(name) : 0;
    MemHandle old = 0;
    {
        RecLock rec(ws);
        if (!rec) {
            utFreeHandle(copy);
            return;
        }
        old = rec->backupName;
        rec->backupName = copy;
    }
    utFreeHandle(old);
}

int wsGetBackupName(HWND ws, char *buffer, uint32_t size)
{
    if (!buffer || !size)
        return 0;
    buffer[0] = 0;
    MemHandle name = 0;
    {
        RecLock rec(ws);
        if (rec)
            name = rec->backupName;
    }
    if (name) {
        uint32_t held = utHandleSize(name);
        MemLock<char> p(name);
        if (p) {
            uint32_t n = (uint32_t)strnlen(p.get(), held);
            if (n >= size)
                n = size - 1;
            memcpy(buffer, p.get(), n);
            buffer[n] = 0;
        }
    }
    return buffer[0] != 0;
}

// ---- view mapping --------------------------------------------------------------------------------

void wsKeepViewMapping(HWND ws)
{
    RecLock rec(ws);
    if (!rec)
        return;
    ViewMapState state;
    dmSaveState(&state);
    state.scrollY += rec->currentPageOffset;
    writeMapping(rec.get(), state);
}

BOOL wsApplyViewMapping(HWND ws)
{
    ViewMapState state;
    {
        RecLock rec(ws);
        if (!rec || !hasMapping(rec.get()))
            return FALSE;
        readMapping(rec.get(), &state);
        state.scrollY -= rec->currentPageOffset;
    }
    dmRestoreState(&state);
    return TRUE;
}

BOOL wsGetScrollOrigin(HWND ws, int32_t *x, int32_t *y)
{
    RecLock rec(ws);
    ViewMapState state = {};
    if (rec)
        readMapping(rec.get(), &state);
    if (x)
        *x = state.scrollX;
    if (y)
        *y = state.scrollY;
    return rec ? TRUE : FALSE;
}

void wsSetScrollOrigin(HWND ws, int32_t x, int32_t y)
{
    {
        RecLock rec(ws);
        if (!rec)
            return;
        ViewMapState state;
        readMapping(rec.get(), &state);
        state.scrollX = x;
        state.scrollY = y;
        writeMapping(rec.get(), state);
    }
    wsApplyViewMapping(ws);
}

int32_t wsGetZoomPercent(HWND ws)
{
    RecLock rec(ws);
    if (!rec || !hasMapping(rec.get()))
        return setGetZoomPercent();
    ViewMapState state;
    readMapping(rec.get(), &state);
    return state.zoom;
}

void wsSetZoomPercent(HWND ws, int32_t percent)
{
    if (!wsGetRecordHandle(ws))
        return;
    wsApplyViewMapping(ws);
    dmSetZoom(nullptr, percent);
    wsKeepViewMapping(ws);
}

void wsSetZoomPercentDefault(HWND ws, int32_t percent)
{
    wsSetZoomPercent(ws, percent);
    setPutZoomPercent(percent);
}

uint16_t wsGetUnitOfMapping(HWND ws)
{
    RecLock rec(ws);
    if (!rec)
        return 0;
    ViewMapState state;
    readMapping(rec.get(), &state);
    return state.unitMode;
}

void wsSetUnitOfMapping(HWND ws, uint16_t unit)
{
    if (!wsGetRecordHandle(ws))
        return;
    wsApplyViewMapping(ws);
    dmSetUnits(nullptr, unit);
    wsKeepViewMapping(ws);
}

void wsSetZoomCodeDefault(HWND ws, int16_t code)
{
    wsSetZoomCode(ws, code);
    setPutZoomCode(code);
}

int16_t wsZoomCodeOfPercent(int32_t percent)
{
    switch (percent) {
    case 100: return -1;
    case 80: return -2;
    case 66: return -3;
    case 50: return -4;
    case 33: return -5;
    case 25: return -6;
    case 200: return -21;
    case 400: return -20;
    case 125: return 125;
    case 150: return 150;
    default: return 0;
    }
}

int16_t wsGetZoomCode(HWND ws)
{
    RecLock rec(ws);
    if (!rec)
        return (int16_t)setGetZoomCode();
    if (rec->zoomCode == -100 || rec->zoomCode == -101)
        return rec->zoomCode;
    ViewMapState state;
    readMapping(rec.get(), &state);
    int16_t preset = wsZoomCodeOfPercent(state.zoom);
    return preset ? preset : rec->zoomCode;
}

HDC wsGetDC(HWND ws)
{
    if (!ws || !IsWindow(ws))
        return nullptr;
    HDC dc = GetDC(ws);
    if (dc) {
        wsApplyViewMapping(ws);
        dmSetMapping(dc);
    }
    return dc;
}

// ---- wait cursor, tracked object, undo ---------------------------------------------------------------

void wsBeginWaitCursor(HWND ws)
{
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, (LPCSTR)IDC_WAIT));
    RecLock rec(ws);
    if (rec)
        rec->savedCursor = qmHandleToU32(previous);
}

void wsEndWaitCursor(HWND ws)
{
    HCURSOR previous = nullptr;
    {
        RecLock rec(ws);
        if (!rec)
            return;
        previous = qmU32ToHandle<HCURSOR>(rec->savedCursor);
        rec->savedCursor = 0;
    }
    SetCursor(previous ? previous : LoadCursorA(nullptr, (LPCSTR)IDC_ARROW));
}

void wsSetTracked(HWND ws, uint32_t value, MemHandle object, uint32_t a, uint32_t b)
{
    RecLock rec(ws);
    if (!rec)
        return;
    rec->trackedValue = value;
    rec->trackedObject = object;
    rec->trackedA = a;
    rec->trackedB = b;
}

void wsGetTrackedPair(HWND ws, uint32_t *a, uint32_t *b)
{
    RecLock rec(ws);
    if (a)
        *a = rec ? rec->trackedA : 0;
    if (b)
        *b = rec ? rec->trackedB : 0;
}

BOOL wsGetUndo(HWND ws, UndoRecord *out)
{
    RecLock rec(ws);
    if (!rec) {
        if (out)
            memset(out, 0, sizeof(*out));
        return FALSE;
    }
    if (out)
        *out = rec->undo;
    return rec->undo.kind > 0;
}

void wsPutUndo(HWND ws, const UndoRecord *in)
{
    RecLock rec(ws);
    if (rec && in)
        rec->undo = *in;
}

void wsFreeUndo(HWND ws)
{
    // The undo module knows what each kind keeps: a merge step owns the
    // text objects it took off the page, which go with it.
    udDiscard(ws);
}

BOOL wsIsUndoPending(HWND ws)
{
    RecLock rec(ws);
    return rec && rec->undo.kind > 0;
}

// ---- marked area ----------------------------------------------------------------------------------

BOOL wsGetMarkArea(HWND ws, RECT *out, uint16_t *shape)
{
    RecLock rec(ws);
    RECT r = {};
    if (rec)
        SetRect(&r, rec->markRect[0], rec->markRect[1], rec->markRect[2], rec->markRect[3]);
    if (out)
        *out = r;
    if (shape)
        *shape = rec ? rec->markShape : 0;
    return !IsRectEmpty(&r);
}

void wsSetMarkRect(HWND ws, const RECT *r)
{
    RecLock rec(ws);
    if (!rec || !r)
        return;
    rec->markRect[0] = r->left;
    rec->markRect[1] = r->top;
    rec->markRect[2] = r->right;
    rec->markRect[3] = r->bottom;
}

WS_SETTER(uint16_t, wsSetMarkShape, markShape)

void wsClearMarkRect(HWND ws)
{
    RecLock rec(ws);
    if (rec)
        memset(rec->markRect, 0, sizeof(rec->markRect));
}

BOOL wsHasMarkRect(HWND ws) { return wsGetMarkArea(ws, nullptr, nullptr); }

// ---- hidden types -----------------------------------------------------------------------------------

namespace {

// The record's slots of the model's values (model/ws_document.h).
BOOL recordGetHiddenTypes(HWND ws, MemHandle *types, int32_t *count)
{
    if (!wsGetRecordHandle(ws))
        return FALSE;
    RecLock rec(ws);
    *types = rec->hiddenTypes;
    *count = (int32_t)rec->hiddenTypeCount;
    return TRUE;
}

BOOL recordSetHiddenTypes(HWND ws, MemHandle types, int32_t count)
{
    if (!wsGetRecordHandle(ws))
        return FALSE;
    MemHandle old = 0;
    {
        RecLock rec(ws);
        old = rec->hiddenTypes;
        rec->hiddenTypes = (types && count > 0) ? types : 0;
        rec->hiddenTypeCount = rec->hiddenTypes ? (uint32_t)count : 0;
    }
    if (old && old != types)
        utFreeHandle(old);
    return TRUE;
}

BOOL recordGetDocument(HWND ws, MemHandle *form)
{
    MemHandle rec = wsGetRecordHandle(ws);
    if (!rec)
        return FALSE;
    MemLock<WorkspaceRecord> r(rec);
    *form = r ? r->document : 0;
    return TRUE;
}

BOOL recordSetDocument(HWND ws, MemHandle form)
{
    if (!wsGetRecordHandle(ws))
        return FALSE;
    // The option copy follows the document.
    MemHandle options = form ? fmDupDocOptions(form) : 0;
    MemHandle old = 0;
    {
        WorkspaceRecord *rec = wsLockRecord(ws);
        rec->document = form;
        old = rec->docOptions;
        rec->docOptions = options;
        wsUnlockRecord(ws);
    }
    if (old != options)
        utFreeHandle(old);
    return TRUE;
}

const WsRecordSlots kRecordSlots = {recordGetDocument, recordSetDocument, recordGetHiddenTypes,
                                    recordSetHiddenTypes};

}  // namespace

const WsRecordSlots *wsWorkspaceRecordSlots() { return &kRecordSlots; }

int wsSetTypeHidden(HWND ws, uint16_t type, BOOL hide)
{
    if (!wsGetRecordHandle(ws))
        return 0;
    std::vector<uint16_t> list;
    {
        int32_t n = 0;
        const uint16_t *p = wsLockHiddenTypes(ws, &n);
        if (p)
            list.assign(p, p + n);
        wsUnlockHiddenTypes(ws);
    }
    auto at = std::find(list.begin(), list.end(), type);
    if (hide ? at != list.end() : at == list.end())
        return 0;
    if (hide)
        list.push_back(type);
    else
        list.erase(at);
    MemHandle fresh = 0;
    if (!list.empty()) {
        fresh = utHandleFromBytes(list.data(), (uint32_t)(list.size() * sizeof(uint16_t)));
        if (!fresh)
            return 0;
    }
    wsSetHiddenTypes(ws, fresh, (int32_t)list.size());
    return 1;
}

// ---- the rest ------------------------------------------------------------------------------------

void wsSetRememberedPage(HWND ws)
{
    int index = pvGetCurrentPageIndex(ws);
    RecLock rec(ws);
    if (rec)
        rec->rememberedPage = (int16_t)index;
}

void wsSetPrinting(HWND ws, BOOL on)
{
    RecLock rec(ws);
    if (rec)
        rec->viewFlags = on ? (uint16_t)(rec->viewFlags | WS_VIEW_PRINTING)
                            : (uint16_t)(rec->viewFlags & ~WS_VIEW_PRINTING);
}

void wsSetSavedSession(HWND ws, MemHandle data)
{
    MemHandle old = 0;
    {
        RecLock rec(ws);
        if (!rec)
            return;
        old = rec->textEditData;
        rec->textEditData = data;
    }
    if (old && old != data)
        utFreeHandle(old);
}

void wsGetHScrollRange(HWND ws, int32_t *min, int32_t *max)
{
    RecLock rec(ws);
    if (min)
        *min = rec ? rec->hScrollMin : 0;
    if (max)
        *max = rec ? rec->hScrollMax : 0;
}

void wsGetVScrollRange(HWND ws, int32_t *min, int32_t *max)
{
    RecLock rec(ws);
    if (min)
        *min = rec ? rec->vScrollMin : 0;
    if (max)
        *max = rec ? rec->vScrollMax : 0;
}

void wsGetPagePlacement(HWND ws, int32_t *x, int32_t *y)
{
    RecLock rec(ws);
    if (x)
        *x = rec ? rec->pagePlaceX : 0;
    if (y)
        *y = rec ? rec->pagePlaceY : 0;
}

void wsSetSavedTool(HWND ws, uint16_t mode, uint32_t proc)
{
    RecLock rec(ws);
    if (!rec)
        return;
    rec->savedMode = mode;
    rec->savedProc = proc;
}

void wsResetRecordModule() { g_tickRunning = false; }
