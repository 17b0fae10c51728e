// The line and fill attribute commands and the hatch items and dialog.
#include "commands/at_attr.h"
#include "commands/dlg_lineend_standins.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "objects/ptn_dialog_standins.h"
#include "objects/fil_fill.h"
#include "objects/fil_gradient.h"
#include "model/sh_gradient.h"
#include "links/imgf_object.h"
#include "tools/ep_edit_standins.h"
#include "tools/ep_gradient.h"
#include "tools/ep_selection.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "support/dm_map.h"
#include "support/dm_printer.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/win_dlgfield.h"
#include "views/pv_page.h"
#include "views/ws_record.h"
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

const UINT kStrMinimumInterval = 943;   // "Minimum interval is 1 point"
const int kPropHead = 40, kPropFillKind = 44, kPropPattern = 46, kPropGradient = 47;
const int kPropEndStartKind = 48, kPropEndEndKind = 49, kPropEndStartSize = 50,
          kPropEndEndSize = 51, kPropHatch = 58;
const uint8_t kFillPattern = 2, kFillGradient = 3, kFillHatch = 4;
const uint16_t kHairBit = 0x8000;
const uint16_t kStyleBits = 0x0F00;
const int kMaxHatchSpacing = 15;
const char kHatchTooWide[] = "Maximum interval is 15 points";

// The object the fill and line-end commands change: a composite's outline
// shape, any other object itself.
MemHandle fillTarget(MemHandle object)
{
    if (obGetType(object) == OBT_COMPOSITE) {
        MemHandle outline = obGetAttached(object);
        return outline ? outline : object;
    }
    return object;
}

bool canCarryFill(MemHandle object)
{
    return object && obCanHaveFill(obGetType(object));
}

void redraw(HWND ws, MemHandle object)
{
    obInvalidate(ws, object);
    if (object == wsGetCurrentObject(ws))
        epRefreshObject(ws, object);
}

// A hatch byte with a new spacing, the style kept.
uint8_t withSpacing(uint8_t hatch, int spacing)
{
    return (uint8_t)((hatch & 0x0F) | ((spacing & 0x0F) << 4));
}

// The types a fill-kind command applies to by their own type or by one in
// their tree.
bool fillKindApplies(MemHandle object)
{
    const int16_t type = obGetType(object);
    if (obCanHaveFill(type))
        return true;
    for (int16_t t : {41, 124, 42, 116, 210, 52, 96, 51, 138})
        if (obTreeHasType(object, t))
            return true;
    return false;
}

bool patternBlank(const uint8_t pattern[24])
{
    for (int i = 0; i < 24; ++i)
        if (pattern[i] != 0xFF)
            return false;
    return true;
}

// Every closed shape of the tree gets the pattern (fill kind 2).
void treeSetPattern(MemHandle *object, const uint8_t pattern[24])
{
    obTreeSetPatternFill(object, pattern);
}

// ---- the hatch spacing dialog ----------------------------------------------------------------

struct HatchDialog {
    uint8_t hatch;
};

// ---- the line style dialog -----------------------------------------------------------------

struct PenDialog {
    uint16_t style;
    int32_t width;
};

}  // namespace

// ---- hatch helpers -------------------------------------------------------------------------

int hatchStyleFromId(int command)
{
    return command >= AT_CMD_HATCH_FIRST && command <= AT_CMD_HATCH_LAST
               ? command - AT_CMD_HATCH_FIRST
               : 0;
}

void hatchTreeScaleSpacing(MemHandle object, int percent)
{
    std::vector<MemHandle> tree;
    obCollectTree(object, OB_WALK_ALL | OB_WALK_ROOT_ALONE, tree);
    for (MemHandle h : tree) {
        ObLock r(h);
        if (!r || r->fillKind != kFillHatch)
            continue;
        const int64_t spacing = filHatchSpacing(r->hatch);
        int64_t scaled = (int64_t)percent * spacing / 100;
        scaled = std::max<int64_t>(2, std::min<int64_t>(kMaxHatchSpacing, scaled));
        r->hatch = withSpacing(r->hatch, (int)scaled);
    }
}

BOOL hatchMeasureMenuItem(MEASUREITEMSTRUCT *item)
{
    if (!item || item->CtlType != ODT_MENU || item->itemID < AT_CMD_HATCH_FIRST ||
        item->itemID > AT_CMD_HATCH_LAST)
        return FALSE;
    item->itemWidth = 60;
    item->itemHeight = 36;
    return TRUE;
}

BOOL hatchDrawMenuItem(const DRAWITEMSTRUCT *item)
{
    if (!item || item->CtlType != ODT_MENU || item->itemID < AT_CMD_HATCH_FIRST ||
        item->itemID > AT_CMD_HATCH_LAST)
        return FALSE;
    HDC dc = item->hDC;
    const int check = GetSystemMetrics(SM_CXMENUCHECK);
    RECT r = item->rcItem;
    r.left += check + 2;
    r.top += 1;
    r.right -= 2;
    r.bottom -= 1;
    const bool selected = (item->itemState & ODS_SELECTED) != 0;
    if (item->itemAction & (ODA_DRAWENTIRE | ODA_SELECT)) {
        if (selected) {
            FrameRect(dc, &r, (HBRUSH)GetStockObject(BLACK_BRUSH));
        } else if (item->itemAction & ODA_SELECT) {
            HBRUSH menu = CreateSolidBrush(GetSysColor(COLOR_MENU));
            FrameRect(dc, &r, menu);
            DeleteObject(menu);
        }
    }
    if (item->itemAction & ODA_DRAWENTIRE) {
        RECT inner = r;
        InflateRect(&inner, -1, -1);
        HBRUSH hatch = CreateHatchBrush(hatchStyleFromId((int)item->itemID), RGB(0, 0, 0));
        if (hatch) {
            const int mode = SetBkMode(dc, OPAQUE);
            const COLORREF back = SetBkColor(dc, RGB(255, 255, 255));
            FillRect(dc, &inner, hatch);
            SetBkColor(dc, back);
            SetBkMode(dc, mode);
            DeleteObject(hatch);
        }
        if (item->itemState & ODS_CHECKED) {
            // A two-segment tick in a square of check-mark size at the
            // item's left edge, vertically centred, inset by 2.
            const int size = check;
            const int top = (item->rcItem.top + item->rcItem.bottom - size) / 2;
            RECT box = {item->rcItem.left, top, item->rcItem.left + size, top + size};
            InflateRect(&box, -2, -2);
            HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
            HGDIOBJ old = SelectObject(dc, pen);
            const int w = box.right - box.left, h = box.bottom - box.top;
            MoveToEx(dc, box.left, box.top + h / 2, nullptr);
            LineTo(dc, box.left + w / 3, box.bottom - 1);
            LineTo(dc, box.right, box.top - 1);
            SelectObject(dc, old);
            DeleteObject(pen);
        }
    }
    return TRUE;
}

INT_PTR CALLBACK HatchSpacingDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HatchDialog *d = (HatchDialog *)GetWindowLongPtrA(dlg, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG:
        d = (HatchDialog *)lParam;
        SetWindowLongPtrA(dlg, DWLP_USER, (LONG_PTR)d);
        SetDlgItemInt(dlg, AT_HATCH_EDIT, (UINT)filHatchSpacing(d->hatch), FALSE);
        return TRUE;
    case WM_VSCROLL:
        if (winSpinInt16(dlg, LOWORD(wParam), (HWND)lParam, AT_HATCH_SPIN, AT_HATCH_EDIT, 1, 1,
                         kMaxHatchSpacing))
            return TRUE;
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            double value = 0;
            char text[32] = "";
            GetDlgItemTextA(dlg, AT_HATCH_EDIT, text, sizeof text);
            if (!text[0] || !winGetDlgDouble(dlg, AT_HATCH_EDIT, &value)) {
                winDlgSelectEdit(dlg, AT_HATCH_EDIT);
                return TRUE;
            }
            if (value < 1) {
                utErrorBoxId(dlg, kStrMinimumInterval);
                winDlgSelectEdit(dlg, AT_HATCH_EDIT);
                return TRUE;
            }
            // The spacing has four bits: above 15 it cannot be stored.
            if (value > kMaxHatchSpacing) {
                utErrorBox(dlg, kHatchTooWide);
                winDlgSelectEdit(dlg, AT_HATCH_EDIT);
                return TRUE;
            }
            d->hatch = withSpacing(d->hatch, (int)value);
            EndDialog(dlg, 1);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

int hatchSpacingDialog(HWND owner, uint8_t *hatch)
{
    if (!hatch)
        return 0;
    HatchDialog d = {*hatch};
    if (DialogBoxParamA(GetModuleHandleA(nullptr), "hthspacing", owner, HatchSpacingDlgProc,
                        (LPARAM)&d) != 1)
        return 0;
    *hatch = d.hatch;
    return 1;
}

// ---- the line style dialog -----------------------------------------------------------------

INT_PTR CALLBACK PenAttrDlgProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    PenDialog *d = (PenDialog *)GetWindowLongPtrA(dlg, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG: {
        d = (PenDialog *)lParam;
        SetWindowLongPtrA(dlg, DWLP_USER, (LONG_PTR)d);
        CheckRadioButton(dlg, AT_PEN_POINT, AT_PEN_HAIR,
                         (d->style & kHairBit) ? AT_PEN_HAIR : AT_PEN_POINT);
        SetDlgItemInt(dlg, AT_PEN_WIDTH, (UINT)d->width, FALSE);
        int kind = (d->style & kStyleBits) >> 8;
        if (kind > 3 && kind != 5)
            kind = 0;
        CheckRadioButton(dlg, AT_PEN_SOLID, AT_PEN_NONE, AT_PEN_SOLID + kind);
        return TRUE;
    }
    case WM_VSCROLL:
        if (winSpinInt16(dlg, LOWORD(wParam), (HWND)lParam, AT_PEN_WIDTH_SPIN, AT_PEN_WIDTH, 1, 1,
                         100))
            return TRUE;
        break;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            BOOL ok = FALSE;
            const UINT width = GetDlgItemInt(dlg, AT_PEN_WIDTH, &ok, FALSE);
            if (!ok) {
                winDlgSelectEdit(dlg, AT_PEN_WIDTH);
                return TRUE;
            }
            int kind = winDlgGetCheckedButton(dlg, AT_PEN_SOLID, AT_PEN_NONE);
            kind = kind ? kind - AT_PEN_SOLID : 0;
            uint16_t style = (uint16_t)(d->style & ~(kHairBit | kStyleBits));
            style |= (uint16_t)((kind & 0x0F) << 8);
            if (IsDlgButtonChecked(dlg, AT_PEN_HAIR) == BST_CHECKED)
                style |= kHairBit;
            d->style = style;
            d->width = (int32_t)std::max<UINT>(width, 1);
            EndDialog(dlg, 1);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

int lineStyleDialog(HWND owner, uint16_t *styleWord, int32_t *width)
{
    PenDialog d = {*styleWord, *width};
    if (DialogBoxParamA(GetModuleHandleA(nullptr), "penattr", owner, PenAttrDlgProc,
                        (LPARAM)&d) != 1)
        return 0;
    *styleWord = d.style;
    *width = d.width;
    return 1;
}

namespace {

// The pen width shown: printer units for the hair choice, else points; at
// least 1.
int32_t shownWidth(uint16_t style, int32_t twips)
{
    int32_t v;
    if (style & kHairBit) {
        int32_t x = 300, y = 300;
        dmGetPrinterResolution(&x, &y);
        v = (int32_t)((int64_t)twips * x / 1440);
    } else {
        v = twips / 20;
    }
    return std::max(v, 1);
}

int32_t widthInTwips(uint16_t style, int32_t shown)
{
    if (style & kHairBit) {
        int32_t x = 300, y = 300;
        dmGetPrinterResolution(&x, &y);
        return x > 0 ? (int32_t)((int64_t)shown * 1440 / x) : shown;
    }
    return shown * 20;
}

}  // namespace

// ---- the commands ------------------------------------------------------------------------------

int cmdSetLineAttr(HWND ws, MemHandle object)
{
    if (epRefuseNotEditable(ws, object, "change the line attribute of"))
        return 0;
    udDiscard(ws);
    if (!object) {
        ObjectRecord head = {};
        if (!wsGetPageProp(ws, kPropHead, &head))
            return 0;
        uint16_t style = head.lineStyle;
        int32_t width = shownWidth(style, head.penWidth);
        if (!lineStyleDialog(ws, &style, &width))
            return 0;
        head.lineStyle = style;
        head.penWidth = (int16_t)widthInTwips(style, width);
        wsSetPageProp(ws, kPropHead, &head);
        wsMarkModified(ws);
        return 1;
    }
    const int16_t type = obGetType(object);
    if (!obTreeHasLine(object) && !obTreeHasClosedShape(object) && type != 12 && type != 31 &&
        type != 35 && type != 52 && type != 491 && type != 492 &&
        !(type == OBT_IMAGE_FILE && lnkIsDwgLink(object))) {
        MessageBeep(0);
        return 0;
    }
    uint16_t style = 0;
    int32_t twips = 0;
    {
        ObLock r(object);
        if (!r)
            return 0;
        style = r->lineStyle;
        twips = r->penWidth;
    }
    int32_t width = shownWidth(style, twips);
    // A linked drawing takes its line width from the same dialog.
    if (!lineStyleDialog(ws, &style, &width))
        return 0;
    udRecordCopy(ws, object);
    UdKeepStep keep(ws);
    obInvalidate(ws, object);
    const uint32_t styleValue = style, widthValue = (uint32_t)widthInTwips(style, width);
    obTreeSetHeadField(object, OBH_LINE_STYLE, &styleValue);
    obTreeSetHeadField(object, OBH_PEN_WIDTH, &widthValue);
    redraw(ws, object);
    wsMarkModified(ws);
    return 1;
}

int cmdSetLineEnds(HWND ws, MemHandle object)
{
    if (epRefuseNotEditable(ws, object, "change the line end of"))
        return 0;
    udDiscard(ws);
    const int unit = wsGetUnitOfMapping(ws);
    uint16_t defaults[4] = {};
    wsGetPageProp(ws, kPropEndStartKind, &defaults[0]);
    wsGetPageProp(ws, kPropEndEndKind, &defaults[1]);
    wsGetPageProp(ws, kPropEndStartSize, &defaults[2]);
    wsGetPageProp(ws, kPropEndEndSize, &defaults[3]);
    if (!object) {
        int16_t left = (int16_t)defaults[0], right = (int16_t)defaults[1];
        double leftSize = dmLogToUnitsX(defaults[2]), rightSize = dmLogToUnitsX(defaults[3]);
        if (!lineEndDialog(ws, &left, &leftSize, &right, &rightSize, unit))
            return 0;
        const uint16_t now[4] = {(uint16_t)left, (uint16_t)right,
                                 (uint16_t)dmUnitsToLogX(leftSize),
                                 (uint16_t)dmUnitsToLogX(rightSize)};
        wsSetPageProp(ws, kPropEndStartKind, &now[0]);
        wsSetPageProp(ws, kPropEndEndKind, &now[1]);
        wsSetPageProp(ws, kPropEndStartSize, &now[2]);
        wsSetPageProp(ws, kPropEndEndSize, &now[3]);
        wsMarkModified(ws);
        return 1;
    }
    MemHandle target = fillTarget(object);
    if (obGetType(target) == OBT_DIMENSION) {
        const int r = dimSpanEndStyle(ws, target, unit);
        redraw(ws, object);
        return r;
    }
    int16_t startStyle = 0, endStyle = 0;
    uint32_t startSize = 0, endSize = 0;
    if (!lineEndsTreeGet(target, &startStyle, &startSize, &endStyle, &endSize)) {
        MessageBeep(0);
        return 0;
    }
    if (!startSize)
        startSize = defaults[2];
    if (!endSize)
        endSize = defaults[2];
    double leftSize = dmLogToUnitsX((int32_t)startSize), rightSize = dmLogToUnitsX((int32_t)endSize);
    RECT old = {0, 0, 0, 0};
    obGetUpdateRect(object, &old);
    udRecordCopy(ws, object);
    UdKeepStep keep(ws);
    if (!lineEndDialog(ws, &startStyle, &leftSize, &endStyle, &rightSize, unit)) {
        udDiscard(ws);
        return 0;
    }
    MemHandle now = lineEndsTreeSet(target, startStyle, (uint32_t)dmUnitsToLogX(leftSize), endStyle,
                                    (uint32_t)dmUnitsToLogX(rightSize));
    if (target == object)
        object = now;
    wsApplyViewMapping(ws);
    dmInvalidateLogRect(ws, &old, TRUE);
    redraw(ws, object);
    wsMarkModified(ws);
    return 1;
}

int cmdSetFillKind(HWND ws, MemHandle object, int kind)
{
    udDiscard(ws);
    GradientFillBlock gradient = {};
    uint8_t pattern[24];
    memset(pattern, 0xFF, sizeof pattern);
    wsGetPageProp(ws, kPropGradient, &gradient);
    wsGetPageProp(ws, kPropPattern, pattern);
    MemHandle target = object ? fillTarget(object) : 0;
    if (target && fillKindApplies(target)) {
        const int16_t type = obGetType(target);
        const uint8_t had = obGetFillKind(target);
        if (kind == had && (kind == kFillPattern || kind == kFillGradient)) {
            PostMessageA(ws, WM_COMMAND, kind == kFillPattern ? AT_CMD_PATTERN : AT_CMD_GRADIENT_TYPE, 0);
            return 1;
        }
        if (kind == kFillPattern && patternBlank(pattern)) {
            PostMessageA(ws, WM_COMMAND, AT_CMD_PATTERN, 0);
            return 1;
        }
        if (kind == kFillGradient && gradient.type == 0) {
            PostMessageA(ws, WM_COMMAND, AT_CMD_GRADIENT_TYPE, 0);
            return 1;
        }
        udRecordCopy(ws, object);
        UdKeepStep keep(ws);
        obInvalidate(ws, object);
        MemHandle h = target;
        if (obIsChart(type))
            obSetFillKind(h, (uint8_t)kind);
        else if (kind == kFillPattern)
            treeSetPattern(&h, pattern);
        else if (kind == kFillGradient)
            epTreeApplyGradient(&h, &gradient);
        else
            obTreeSetFillKind(h, (uint8_t)kind);
        if (target == object)
            object = h;
        redraw(ws, object);
        wsMarkModified(ws);
        return 1;
    }
    // The page's default for new objects; not a change of the document.
    const uint8_t k = (uint8_t)kind;
    wsSetPageProp(ws, kPropFillKind, &k);
    if (kind == kFillPattern && patternBlank(pattern))
        PostMessageA(ws, WM_COMMAND, AT_CMD_PATTERN, 0);
    else if (kind == kFillGradient && gradient.type == 0)
        PostMessageA(ws, WM_COMMAND, AT_CMD_GRADIENT_TYPE, 0);
    return 0;
}

int cmdSetHatchStyle(HWND ws, MemHandle object, int command)
{
    if (epRefuseNotEditable(ws, object, "the hatch patten of"))
        return 0;
    udDiscard(ws);
    const uint8_t style = (uint8_t)hatchStyleFromId(command);
    MemHandle target = object ? fillTarget(object) : 0;
    if (target && canCarryFill(target)) {
        udRecordCopy(ws, object);
        UdKeepStep keep(ws);
        obInvalidate(ws, object);
        bool changed = false;
        {
            ObLock r(target);
            if (!r)
                return 0;
            const uint8_t hatch =
                (uint8_t)(style | (((uint8_t)filHatchSpacing(r->hatch) & 0x0F) << 4));
            changed = r->fillKind != kFillHatch || r->hatch != hatch;
            r->fillKind = kFillHatch;
            r->hatch = hatch;
        }
        const uint32_t size = obCalcSize(target, 0);
        MemHandle h = size ? obResize(target, size) : 0;
        if (!h) {
            udDiscard(ws);
            return 0;
        }
        if (target == object)
            object = h;
        redraw(ws, object);
        if (changed)
            wsMarkModified(ws);
        return 1;
    }
    uint8_t kindNow = 0, hatchNow = 0;
    wsGetPageProp(ws, kPropFillKind, &kindNow);
    wsGetPageProp(ws, kPropHatch, &hatchNow);
    const uint8_t kind = kFillHatch;
    const uint8_t hatch = (uint8_t)(style | (hatchNow & 0xF0));
    wsSetPageProp(ws, kPropFillKind, &kind);
    wsSetPageProp(ws, kPropHatch, &hatch);
    if (kindNow != kind || hatchNow != hatch) {
        wsMarkModified(ws);
        return 1;
    }
    return 0;
}

int cmdSetHatchSpacing(HWND ws, MemHandle object)
{
    if (epRefuseNotEditable(ws, object, "the hatch spacing of"))
        return 0;
    udDiscard(ws);
    MemHandle target = object ? fillTarget(object) : 0;
    if (target && canCarryFill(target) && obGetFillKind(target) == kFillHatch) {
        uint8_t hatch = 0;
        {
            ObLock r(target);
            hatch = r ? r->hatch : 0;
        }
        if (!hatchSpacingDialog(ws, &hatch))
            return 0;
        udRecordCopy(ws, object);
        UdKeepStep keep(ws);
        obInvalidate(ws, object);
        {
            ObLock r(target);
            if (r)
                r->hatch = hatch;
        }
        redraw(ws, object);
        wsMarkModified(ws);
        return 1;
    }
    uint8_t hatch = 0;
    wsGetPageProp(ws, kPropHatch, &hatch);
    if (!hatchSpacingDialog(ws, &hatch))
        return 0;
    wsSetPageProp(ws, kPropHatch, &hatch);
    wsMarkModified(ws);
    return 1;
}

int cmdSetPattern(HWND ws, MemHandle object)
{
    if (epRefuseNotEditable(ws, object, "change the pattern of"))
        return 0;
    udDiscard(ws);
    PatternFill pattern;
    memset(&pattern, 0xFF, sizeof pattern);
    wsGetPageProp(ws, kPropPattern, &pattern);
    MemHandle target = object ? fillTarget(object) : 0;
    if (target && canCarryFill(target)) {
        {
            ObLock r(target);
            if (r && r->fillKind == kFillPattern)
                if (const uint8_t *own = obGetPatternData(r.get()))
                    memcpy(&pattern, own, sizeof pattern);
        }
        if (!ptnSelectDialog(ws, &pattern))
            return 0;
        udRecordCopy(ws, object);
        UdKeepStep keep(ws);
        obInvalidate(ws, object);
        MemHandle h = target;
        treeSetPattern(&h, (const uint8_t *)&pattern);
        if (target == object)
            object = h;
        redraw(ws, object);
        wsMarkModified(ws);
        return 1;
    }
    if (!ptnSelectDialog(ws, &pattern))
        return 0;
    wsSetPageProp(ws, kPropPattern, &pattern);
    wsMarkModified(ws);
    return 1;
}

int cmdEditGradient(HWND ws, MemHandle object)
{
    if (epRefuseNotEditable(ws, object, "the color gradient of"))
        return 0;
    if (!object || obGetType(object) == OBT_COMPOSITE || !canCarryFill(object) ||
        obGetFillKind(object) != kFillGradient)
        return 0;
    udRecordCopy(ws, object);
    UdKeepStep keep(ws);
    epGradientEditMode(ws, object);
    return 1;
}

int cmdSetGradientType(HWND ws, MemHandle object)
{
    udDiscard(ws);
    GradientFillBlock defaults = {};
    wsGetPageProp(ws, kPropGradient, &defaults);
    if (!object) {
        GradientFillBlock g = defaults;
        if (!gradientDialog(ws, 0, &g, nullptr))
            return 0;
        wsSetPageProp(ws, kPropGradient, &g);
        wsMarkModified(ws);
        return 1;
    }
    MemHandle target = fillTarget(object);
    if (!canCarryFill(target))
        return 0;
    // A bare copy for the dialog's sample: no links, so freeing it frees
    // nothing of the object's.
    MemHandle copy = obDup(target);
    if (!copy)
        return 0;
    {
        ObLock r(copy);
        obRecClearLinks(r.get());
    }
    if (obGetFillKind(copy) != kFillGradient)
        epApplyGradient(&copy, &defaults);
    GradientFillBlock chosen = defaults;
    {
        ObLock r(copy);
        const GradientFillBlock *own = r ? filGetGradient(r.get()) : nullptr;
        if (own)
            chosen = *own;
    }
    const bool hadGradient = obGetFillKind(target) == kFillGradient;
    int result = 0;
    if (gradientDialog(ws, copy, &chosen, nullptr)) {
        udRecordCopy(ws, object);
        UdKeepStep keep(ws);
        obInvalidate(ws, object);
        MemHandle h = target;
        if (!hadGradient)
            epTreeApplyGradient(&h, &defaults);
        epApplyGradient(&h, &chosen);
        {
            ObLock src(copy);
            ObLock r(h);
            if (src && r) {
                r->penColour = src->penColour;
                r->fillColour = src->fillColour;
                r->backColour = src->backColour;
            }
        }
        if (target == object)
            object = h;
        redraw(ws, object);
        wsMarkModified(ws);
        result = 1;
    }
    obFreeTree(copy);
    return result;
}
