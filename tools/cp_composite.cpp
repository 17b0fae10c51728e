// Composite objects: the settings, the "COMPOSITE" dialog, making,
// editing and restoring a composite.
#include "tools/cp_composite.h"
#include "tools/ep_selection.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_units.h"
#include "support/win_dlgfield.h"
#include "views/ws_relink.h"
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

// Control ids of "COMPOSITE".
enum {
    kKind = 98, kCopies = 100, kCopiesSpin = 105, kRows = 97, kRowsSpin = 96, kRowsLabel = 95,
    kScaleX = 150, kScaleXSpin = 151, kScaleY = 152, kScaleYSpin = 153,
    kOffsetX = 101, kOffsetXSpin = 106, kOffsetY = 102, kOffsetYSpin = 107,
    kScaleOffsets = 161, kRotation = 108, kRotationSpin = 109,
    kFillRed = 120, kBackRed = 130, kPenRed = 140,
    kInstant = 180, kPreview = 162, kRestore = 119, kRetrieve = 118, kEditCentre = 112,
    kOkAlias = 999, kCancelAlias = 998, kHelp = 170, kExtra = 190, kExtraSpin = 191,
};

// The kinds in the order of the combo's list.
const struct {
    uint16_t kind;
    const char *name;
} kKinds[] = {{0, "Default"}, {2, "2-Dimensional"}, {4, "Radial"}, {5, "Spiral"}, {3, "Frame"}};

struct DialogState {
    CompositeSettings work;
    int limit = 64;
    bool clone = false;
    bool instant = true;
    bool initialising = false;
    int result = CP_RESULT_CANCEL;
    MemHandle object = 0;
    HWND ws = nullptr;
};

CompositeSettings g_previous;   // zero: none yet
DialogState *g_dialog = nullptr;
const CompositeSettings *g_fixedClone = nullptr;
// The object of the last dialog as it stands after its previews (a preview
// that grew the record moved it).
MemHandle g_edited = 0;

bool hasPrevious()
{
    static const CompositeSettings zero = {};
    return memcmp(&g_previous, &zero, sizeof zero) != 0;
}

int kindIndex(uint16_t kind)
{
    for (int i = 0; i < (int)(sizeof kKinds / sizeof kKinds[0]); ++i)
        if (kKinds[i].kind == kind)
            return i;
    return 0;
}

uint16_t selectedKind(HWND dlg)
{
    LRESULT i = SendDlgItemMessageA(dlg, kKind, CB_GETCURSEL, 0, 0);
    return i >= 0 && i < (LRESULT)(sizeof kKinds / sizeof kKinds[0]) ? kKinds[i].kind : 0;
}

bool twoCounts(uint16_t kind) { return kind == 2 || kind == 3; }

double toUnits(int32_t twips) { return utConvertUnit(twips, UT_UNIT_TWIPS, dmGetUnits()); }
int32_t toTwips(double units) { return geoRound(utConvertUnit(units, dmGetUnits(), UT_UNIT_TWIPS)); }

// Rejects a field: the message, the field selected and focused.
int reject(HWND dlg, int id, const char *text, bool warning = false)
{
    if (warning)
        utWarningBox(dlg, text);
    else
        utErrorBox(dlg, text);
    winDlgSelectEdit(dlg, id);
    return -1;
}

// The enabling that follows the kind: the second count only for kinds 2
// and 3; the offsets zeroed and disabled for "Radial", the vertical one
// for "Spiral" too.
void followKind(HWND dlg, uint16_t kind)
{
    const BOOL rows = twoCounts(kind);
    for (int id : {kRows, kRowsSpin, kRowsLabel})
        winEnableDlgItem(dlg, id, rows);
    if (!rows)
        SetDlgItemTextA(dlg, kRows, "1");
    const BOOL x = kind != 4, y = kind != 4 && kind != 5;
    if (!x)
        SetDlgItemTextA(dlg, kOffsetX, "0");
    if (!y)
        SetDlgItemTextA(dlg, kOffsetY, "0");
    winEnableDlgItem(dlg, kOffsetX, x);
    winEnableDlgItem(dlg, kOffsetXSpin, x);
    winEnableDlgItem(dlg, kOffsetY, y);
    winEnableDlgItem(dlg, kOffsetYSpin, y);
}

void fillFields(HWND dlg, const CompositeSettings *s)
{
    SendDlgItemMessageA(dlg, kKind, CB_SETCURSEL, kindIndex(s->kind), 0);
    winSetDlgLong(dlg, kCopies, s->copies);
    winSetDlgLong(dlg, kRows, twoCounts(s->kind) && s->rows > 0 ? s->rows : 1);
    winSetDlgDouble(dlg, kScaleX, s->scaleX, 6, 3);
    winSetDlgDouble(dlg, kScaleY, s->scaleY, 6, 3);
    winSetDlgDouble(dlg, kOffsetX, toUnits(s->offsetX), 6, 2);
    winSetDlgDouble(dlg, kOffsetY, toUnits(s->offsetY), 6, 2);
    CheckDlgButton(dlg, kScaleOffsets, (s->flags & 1) ? BST_CHECKED : BST_UNCHECKED);
    winSetDlgLong(dlg, kRotation, s->rotationStep / 10);
    const uint32_t rows[3] = {s->fillStep, s->backStep, s->penStep};
    const int first[3] = {kFillRed, kBackRed, kPenRed};
    for (int r = 0; r < 3; ++r)
        for (int c = 0; c < 3; ++c)
            winSetDlgLong(dlg, first[r] + 2 * c, (int32_t)((rows[r] >> (8 * c)) & 0xFF));
    followKind(dlg, s->kind);
}

bool readInt(HWND dlg, int id, int32_t *v)
{
    char text[64];
    if (winGetDlgTextTrim(dlg, id, text, sizeof text) < 1)
        return false;
    char *end = nullptr;
    long n = strtol(text, &end, 10);
    if (end == text || *end)
        return false;
    *v = (int32_t)n;
    return true;
}

bool isEmpty(HWND dlg, int id)
{
    char text[8];
    return winGetDlgTextTrim(dlg, id, text, sizeof text) < 1;
}

// A count field: empty keeps the value; else an integer other than 0.
int readCount(HWND dlg, int id, int16_t *count)
{
    if (isEmpty(dlg, id))
        return 0;
    int32_t v;
    if (!readInt(dlg, id, &v))
        return reject(dlg, id, "Must enter an integer");
    if (v == 0)
        return reject(dlg, id, "The number of copies must not be 0", true);
    *count = (int16_t)v;
    return 0;
}

void applyToObject(DialogState *d)
{
    if (!d->object || !d->ws)
        return;
    obInvalidate(d->ws, d->object);
    d->object = cpApplySettings(d->object, &d->work);
    obInvalidate(d->ws, d->object);
}

void preview(HWND dlg, DialogState *d, bool quiet)
{
    const CompositeSettings before = d->work;
    int code;
    if (quiet) {
        UtQuietBoxes hush;
        code = cpReadDialog(dlg);
    } else {
        code = cpReadDialog(dlg);
    }
    if (code < 0)
        return;
    g_previous = before;
    applyToObject(d);
}

BOOL spin(HWND dlg, WPARAM wParam, HWND bar, const DialogState *d)
{
    const int code = LOWORD(wParam);
    const int16_t limit = (int16_t)d->limit;
    const struct {
        int bar, field;
        int16_t step, min, max;
    } ints[] = {{kCopiesSpin, kCopies, 1, 1, limit}, {kRowsSpin, kRows, 1, 1, limit},
                {kRotationSpin, kRotation, 5, 0, 360}, {kExtraSpin, kExtra, 1, 5, 400},
                {kFillRed + 1, kFillRed, 1, 0, 255}, {kFillRed + 3, kFillRed + 2, 1, 0, 255},
                {kFillRed + 5, kFillRed + 4, 1, 0, 255}, {kBackRed + 1, kBackRed, 1, 0, 255},
                {kBackRed + 3, kBackRed + 2, 1, 0, 255}, {kBackRed + 5, kBackRed + 4, 1, 0, 255},
                {kPenRed + 1, kPenRed, 1, 0, 255}, {kPenRed + 3, kPenRed + 2, 1, 0, 255},
                {kPenRed + 5, kPenRed + 4, 1, 0, 255}};
    for (const auto &s : ints)
        if (winSpinInt16(dlg, code, bar, s.bar, s.field, s.step, s.min, s.max)) {
            SetFocus(GetDlgItem(dlg, s.field));
            return TRUE;
        }
    const struct {
        int bar, field;
        double step, max;
    } reals[] = {{kScaleXSpin, kScaleX, 0.05, 8.0}, {kScaleYSpin, kScaleY, 0.05, 8.0},
                 {kOffsetXSpin, kOffsetX, 0.1, 6.0}, {kOffsetYSpin, kOffsetY, 0.1, 6.0}};
    for (const auto &s : reals)
        if (winSpinDouble(dlg, code, bar, s.bar, s.field, s.step, 0.0, s.max)) {
            SetFocus(GetDlgItem(dlg, s.field));
            return TRUE;
        }
    return FALSE;
}

void initDialog(HWND dlg, DialogState *d)
{
    d->initialising = true;
    SetWindowTextA(dlg, d->clone ? "Clone" : "Define Composite");
    for (const auto &k : kKinds)
        SendDlgItemMessageA(dlg, kKind, CB_ADDSTRING, 0, (LPARAM)k.name);
    if (d->clone) {
        for (int id : {kEditCentre, kRetrieve, kRestore, kPreview, kInstant})
            if (HWND w = GetDlgItem(dlg, id))
                DestroyWindow(w);
    } else {
        CheckDlgButton(dlg, kInstant, d->instant ? BST_CHECKED : BST_UNCHECKED);
        winEnableDlgItem(dlg, kPreview, !d->instant);
        winEnableDlgItem(dlg, kRetrieve, hasPrevious());
    }
    winSetDlgLong(dlg, kExtra, 5);
    fillFields(dlg, &d->work);
    // Inside the screen's work area.
    RECT area, box;
    if (SystemParametersInfoA(SPI_GETWORKAREA, 0, &area, 0) && GetWindowRect(dlg, &box)) {
        int x = std::max<LONG>(area.left, std::min<LONG>(box.left, area.right - (box.right - box.left)));
        int y = std::max<LONG>(area.top, std::min<LONG>(box.top, area.bottom - (box.bottom - box.top)));
        SetWindowPos(dlg, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    }
    d->initialising = false;
}

INT_PTR CALLBACK compositeProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    DialogState *d = g_dialog;
    switch (msg) {
    case WM_INITDIALOG:
        initDialog(dlg, d);
        return TRUE;
    case WM_VSCROLL:
        return spin(dlg, wParam, (HWND)lParam, d);
    case WM_COMMAND: {
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        switch (id) {
        case IDOK:
        case kOkAlias: {
            const int result = cpReadDialog(dlg);
            if (result >= 0) {
                d->result = result;
                EndDialog(dlg, 1);
            }
            return TRUE;
        }
        case IDCANCEL:
        case kCancelAlias:
            d->result = CP_RESULT_CANCEL;
            EndDialog(dlg, 0);
            return TRUE;
        case kHelp: utHelpKeyword(dlg, "Composite Dialog"); return TRUE;
        case kKind:
            if (code == CBN_SELCHANGE) {
                followKind(dlg, selectedKind(dlg));
                if (d->instant && !d->clone && !d->initialising)
                    preview(dlg, d, true);
            }
            return TRUE;
        case kInstant:
            d->instant = IsDlgButtonChecked(dlg, kInstant) == BST_CHECKED;
            winEnableDlgItem(dlg, kPreview, !d->instant);
            return TRUE;
        case kPreview: preview(dlg, d, false); return TRUE;
        case kRestore:
            if (IsDlgButtonChecked(dlg, kRestore) != BST_CHECKED)
                return TRUE;
            if (utMessageBox(dlg,
                             "Restore to base will restore the object to its non-composite form "
                             "and end dialog, please confirm.",
                             MB_OKCANCEL | MB_ICONQUESTION) == IDOK) {
                d->result = CP_RESULT_RESTORE;
                EndDialog(dlg, 1);
            } else {
                CheckDlgButton(dlg, kRestore, BST_UNCHECKED);
            }
            return TRUE;
        case kRetrieve:
            if (!hasPrevious())
                return TRUE;
            d->work = g_previous;
            d->initialising = true;
            fillFields(dlg, &d->work);
            d->initialising = false;
            applyToObject(d);
            return TRUE;
        default:
            if (code == EN_CHANGE && d->instant && !d->clone && !d->initialising)
                preview(dlg, d, true);
            break;
        }
        break;
    }
    default: break;
    }
    return FALSE;
}


// The composite turned back to 0 after asking; false when the user cancels.
bool unrotate(HWND ws, MemHandle composite)
{
    uint16_t rotation;
    POINT centre;
    {
        ObLock r(composite);
        if (!r)
            return false;
        rotation = r->rotation;
        centre = POINT{r->centreX, r->centreY};
    }
    if (!rotation)
        return true;
    char angle[16], text[256];
    snprintf(angle, sizeof angle, "%d", (int)rotation);
    // A "." before the last digit: the tenths.
    size_t n = strlen(angle);
    if (n == 1) {
        snprintf(angle, sizeof angle, "0.%d", (int)rotation);
    } else {
        memmove(angle + n, angle + n - 1, 2);
        angle[n - 1] = '.';
    }
    snprintf(text, sizeof text,
             "This composite object has been rotated %s degrees.  To edit,it will be reset to 0 "
             "degree.  You can re-rotate it afterward.  Continue?",
             angle);
    if (utMessageBox(ws, text, MB_OKCANCEL | MB_ICONQUESTION) != IDOK)
        return false;
    obInvalidate(ws, composite);
    shCompositeRotate(composite, centre, (int16_t)-(int16_t)rotation);
    obRedraw(ws, composite);
    return true;
}

}  // namespace

// ---- settings -----------------------------------------------------------------------------------

void cpDefaultSettings(CompositeSettings *s)
{
    memset(s, 0, sizeof *s);
    s->size = kCpSettingsSize;
    s->copies = 1;
    s->scaleX = s->scaleY = 1.0f;
}

void cpClearPreviousSettings() { memset(&g_previous, 0, sizeof g_previous); }

int32_t cpTotalCopies(const CompositeSettings *s)
{
    const int32_t rows = s->rows > 0 ? s->rows : 1;
    return s->kind == 2 ? (int32_t)s->copies * rows : s->copies;
}

int32_t cpDialogTotal(int kind, int32_t copies, int32_t count)
{
    if (kind == 2)
        return copies * count;
    if (kind == 3)
        return (copies + count) * 2 - 2;
    return copies;
}

void cpGetSettings(MemHandle composite, CompositeSettings *s)
{
    cpDefaultSettings(s);
    ObLock r(composite);
    if (!r)
        return;
    const uint32_t at = obDataOffset(r.get());
    if ((uint64_t)at + sizeof *s <= r.extent())
        memcpy(s, obRecData(r.get()), sizeof *s);
    else if ((uint64_t)at + sizeof(CompositeData) <= r.extent())
        memcpy(s, obRecData(r.get()), sizeof(CompositeData));
    s->size = kCpSettingsSize;
}

int cpIsUniformScale(MemHandle object)
{
    if (obGetType(object) != OBT_COMPOSITE)
        return 0;
    CompositeSettings s;
    cpGetSettings(object, &s);
    return s.scaleX == s.scaleY ? 1 : 0;
}

// ---- the dialog ---------------------------------------------------------------------------------

int cpReadDialog(HWND dlg)
{
    DialogState *d = g_dialog;
    if (!d)
        return -1;
    CompositeSettings s = d->work;
    s.kind = selectedKind(dlg);
    if (readCount(dlg, kCopies, &s.copies) < 0)
        return -1;
    int32_t total = s.copies;
    if (twoCounts(s.kind)) {
        int16_t rows = s.rows > 0 ? s.rows : 1;
        if (readCount(dlg, kRows, &rows) < 0)
            return -1;
        s.rows = rows;
        total = cpDialogTotal(s.kind, s.copies, rows);
    } else {
        s.rows = 1;
    }
    if (d->clone && total > d->limit * d->limit) {
        char text[96];
        snprintf(text, sizeof text, "The total number of copies can not exceed %d",
                 d->limit * d->limit);
        return reject(dlg, twoCounts(s.kind) ? kRows : kCopies, text);
    }
    int32_t rotation;
    if (!readInt(dlg, kRotation, &rotation))
        return reject(dlg, kRotation, "Must enter an integer");
    s.rotationStep = (int16_t)(rotation * 10);
    double v[4];
    const int reals[4] = {kScaleX, kScaleY, kOffsetX, kOffsetY};
    for (int i = 0; i < 4; ++i)
        if (!winGetDlgDouble(dlg, reals[i], &v[i]))
            return reject(dlg, reals[i], "Must enter a number");
    s.scaleX = (float)v[0];
    s.scaleY = (float)v[1];
    s.offsetX = toTwips(v[2]);
    s.offsetY = toTwips(v[3]);
    s.flags = (uint8_t)((s.flags & ~1u) | (IsDlgButtonChecked(dlg, kScaleOffsets) == BST_CHECKED));
    const int first[3] = {kFillRed, kBackRed, kPenRed};
    uint32_t rows[3];
    for (int r = 0; r < 3; ++r) {
        rows[r] = 0;
        for (int c = 0; c < 3; ++c) {
            int32_t n;
            const int id = first[r] + 2 * c;
            if (!readInt(dlg, id, &n) || n < 0 || n > 255)
                return reject(dlg, id, "Must enter an integer between 0 and 255.");
            rows[r] |= (uint32_t)n << (8 * c);
        }
    }
    s.fillStep = rows[0];
    s.backStep = rows[1];
    s.penStep = rows[2];
    d->work = s;
    if (IsDlgButtonChecked(dlg, kRestore) == BST_CHECKED)
        return CP_RESULT_RESTORE;
    if (IsDlgButtonChecked(dlg, kEditCentre) == BST_CHECKED)
        return CP_RESULT_EDIT_CENTRE;
    return CP_RESULT_OK;
}

int cpEditDialog(HWND ws, MemHandle object, CompositeSettings *s, BOOL, int *result)
{
    if (result)
        *result = CP_RESULT_CANCEL;
    if (!s)
        return 0;
    DialogState state;
    state.work = *s;
    state.clone = object == 0;
    state.limit = state.clone ? 8 : 64;
    state.instant = !state.clone;
    state.object = object;
    state.ws = ws;
    DialogState *outer = g_dialog;
    g_dialog = &state;
    const INT_PTR ok =
        DialogBoxParamA(GetModuleHandleA(nullptr), "COMPOSITE", ws, compositeProc, 0);
    g_dialog = outer;
    g_edited = state.object;
    if (ok != 1)
        return 0;
    *s = state.work;
    if (result)
        *result = state.result;
    return 1;
}

void cpSetCloneSettingsSource(const CompositeSettings *fixed) { g_fixedClone = fixed; }

int cpAskCloneSettings(HWND ws, CompositeSettings *s)
{
    if (g_fixedClone) {
        *s = *g_fixedClone;
        return 1;
    }
    cpDefaultSettings(s);
    int result;
    return cpEditDialog(ws, 0, s, FALSE, &result);
}

// ---- making, restoring, applying ----------------------------------------------------------------

MemHandle cpMakeComposite(HWND ws, MemHandle object, const CompositeSettings *s)
{
    if (!object || !s)
        return 0;
    MemHandle c = obNewRecord(kCpRecordSize);
    if (!c)
        return 0;
    // The page's head is taken over too (a relink finds no neighbour to
    // tell it when the object was alone).
    const bool head = ws && wsGetFirstObject(ws) == object;
    {
        ObLock rc(c), ro(object);
        if (!rc || !ro)
            return 0;
        ObjectRecord *n = rc.get(), *o = ro.get();
        n->length = kCpRecordSize;
        n->type = OBT_COMPOSITE;
        n->layer = o->layer;
        n->nameLength = 0;
        n->centreX = o->centreX;
        n->centreY = o->centreY;
        n->width = o->width;
        n->height = o->height;
        n->rotation = 0;
        n->lineStyle = o->lineStyle;
        n->penWidth = o->penWidth;
        n->fillKind = 0;
        n->hatch = 0;
        n->penColour = o->penColour;
        n->fillColour = o->fillColour;
        n->backColour = o->backColour;
        n->scaleX = n->scaleY = 65535;
        memcpy(obRecData(n), s, sizeof *s);
        reinterpret_cast<CompositeSettings *>(obRecData(n))->size = kCpSettingsSize;
        // The composite takes the object's place in the list.
        n->prev = o->prev;
        n->next = o->next;
        o->prev = o->next = 0;
        n->attached = object;
    }
    shCompositeUpdateRect(c, nullptr);
    wsRelinkObject(ws, c);
    if (head)
        wsSetFirstObject(ws, c);
    return c;
}

MemHandle cpRestoreBase(HWND ws, MemHandle composite)
{
    MemHandle base;
    {
        ObLock r(composite);
        if (!r || !r->attached)
            return 0;
        base = r->attached;
        ObLock b(base);
        if (!b)
            return 0;
        b->prev = r->prev;
        b->next = r->next;
        b->parent = 0;
        r->prev = r->next = r->attached = 0;
    }
    const bool head = ws && wsGetFirstObject(ws) == composite;
    epForgetObject(ws, composite, FALSE);
    wsRelinkObject(ws, base);
    if (head)
        wsSetFirstObject(ws, base);
    obFreeTree(composite);
    return base;
}

MemHandle cpApplySettings(MemHandle composite, const CompositeSettings *s)
{
    if (!composite || !s)
        return composite;
    uint32_t need;
    {
        ObLock r(composite);
        if (!r)
            return composite;
        need = obDataOffset(r.get()) + kCpSettingsSize;
        if (r.extent() >= need) {
            uint8_t *at = obRecData(r.get());
            CompositeSettings now = *s;
            // Bytes 49 to 57 stay as the record holds them.
            memcpy(now.unused, at + offsetof(CompositeSettings, unused), 9);
            memcpy(at, &now, sizeof now);
            need = 0;
        }
    }
    if (need) {
        MemHandle grown = obResize(composite, need);
        if (!grown)
            return composite;
        composite = grown;
        ObLock r(composite);
        memcpy(obRecData(r.get()), s, sizeof *s);
    }
    shCompositeUpdateRect(composite, nullptr);
    return composite;
}

namespace {

// The flow with the object's copy of step 1 kept by the caller.
MemHandle editFlow(HWND ws, MemHandle object, BOOL creating, int *result, MemHandle kept)
{
    CompositeSettings s;
    MemHandle target = object;
    if (creating) {
        cpDefaultSettings(&s);
        target = cpMakeComposite(ws, object, &s);
        if (!target)
            return 0;
        epSelectObject(ws, target);
        obInvalidate(ws, target);
    } else {
        if (obGetType(object) != OBT_COMPOSITE)
            return 0;
        cpGetSettings(object, &s);
        if (!unrotate(ws, object))
            return 0;
    }
    const CompositeSettings before = s;
    int code = CP_RESULT_CANCEL;
    const int ok = cpEditDialog(ws, target, &s, creating, &code);
    if (g_edited)
        target = g_edited;
    if (!ok) {
        obInvalidate(ws, target);
        if (creating) {
            MemHandle base = cpRestoreBase(ws, target);
            epSelectObject(ws, base);
        } else {
            target = udRestoreRecordBytes(ws, target, kept);
            shCompositeUpdateRect(target, nullptr);
            obInvalidate(ws, target);
        }
        return 0;
    }
    obInvalidate(ws, target);
    MemHandle out = target;
    if (code == CP_RESULT_RESTORE && !creating) {
        out = cpRestoreBase(ws, target);
        g_previous = before;
    } else {
        out = cpApplySettings(target, &s);
        g_previous = s;
    }
    if (out)
        obInvalidate(ws, out);
    if (result)
        *result = code;
    return out;
}

}  // namespace

MemHandle cpEditComposite(HWND ws, MemHandle object, BOOL creating, int *result)
{
    if (result)
        *result = CP_RESULT_CANCEL;
    if (!object)
        return 0;
    MemHandle kept = udCopyRecordBytes(object);
    MemHandle out = editFlow(ws, object, creating, result, kept);
    utFreeHandle(kept);
    return out;
}

void cpAfterEdit(HWND ws, MemHandle object, int result)
{
    if (result == CP_RESULT_EDIT_CENTRE && object && obGetType(object) == OBT_COMPOSITE)
        cpStartCentreEdit(ws, object);
}
