// The page layout sheet: Standard Size, Presentation, Business Card, Label
// and Custom Size pages, and, when a page is made, the Template page. The
// sheet works on a copy of the page and hands it back only on OK.
#include "views/pv_layout_sheet.h"
#include "views/pv_templates.h"
#include "forms/lbl_listing.h"
#include "forms/lbl_source.h"
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/setup_record.h"
#include "support/dm_map.h"
#include "support/rc_list.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_units.h"
#include "support/win_dlgfield.h"
#include "support/win_propsheet.h"
#include "resources/resource.h"
#include <commctrl.h>
#include <prsht.h>
#include <stdio.h>
#include <string.h>
#include <string>

namespace {

enum PageKind { kStandard, kSlide, kCard, kLabel, kCustom, kTemplate, kKinds };

enum {
    kUnitCombo = 106,
    kWidth = 310,
    kHeight = 311,
    kMaker = 110,
    kLabelType = 111,
    kSingleLabel = 191,
    kEntireSheet = 192,
    kLabelPicture = 200,
};

const int32_t kTwipsPerInch = 1440;
const int32_t kMinTwips = 360;   // a quarter inch

// What the sheet works on while it is open.
struct SheetState {
    MemHandle work;        // the working copy of the page
    RECT margins;          // as the sheet was opened, twips
    LabelSpec label;       // scratch label layout
    int unit;              // display unit the page had
    BOOL unitChanged;
    BOOL presentation;
    BOOL applied;          // a page applied its settings on OK
    BOOL cardShown;        // the Business Card page was shown once
    HFONT font;            // the sheets' font, on every control
    BOOL first;            // the sheet's first activation is still to come
};

struct PageContext {
    SheetState *sheet;
    PageKind kind;
};

const char *const kHelp[] = {"Page Layout Standard Size", "Page Layout Presentation Page",
                             "Page Layout Standard Business Card",
                             "Page Layout Standard Label", "Page Layout Custom Size"};

bool isEnvelope(int code) { return code >= 19 && code <= 23; }

// Envelopes are fed sideways: landscape, with no choice.
void applyEnvelopeRule(HWND dlg, int code)
{
    BOOL envelope = isEnvelope(code);
    if (envelope)
        CheckRadioButton(dlg, IDC_PG_PORTRAIT, IDC_PG_LANDSCAPE, IDC_PG_LANDSCAPE);
    EnableWindow(GetDlgItem(dlg, IDC_PG_PORTRAIT), !envelope);
    EnableWindow(GetDlgItem(dlg, IDC_PG_LANDSCAPE), !envelope);
}

int selectedPaper(HWND dlg)
{
    HWND combo = GetDlgItem(dlg, IDC_PG_PAPER_SIZE);
    LRESULT item = SendMessageA(combo, CB_GETCURSEL, 0, 0);
    if (item == CB_ERR)
        return 0;
    return (int)SendMessageA(combo, CB_GETITEMDATA, (WPARAM)item, 0);
}

int displayUnit(HWND dlg, const SheetState *s)
{
    int unit = pgGetUnitCombo(dlg, kUnitCombo);
    return unit ? unit : s->unit;
}

// A length in twips shown in the unit, six characters and two decimals.
void showLength(HWND dlg, int id, int32_t twips, int unit)
{
    winSetDlgDouble(dlg, id, utConvertUnit(twips / (double)kTwipsPerInch, UT_UNIT_INCH, unit), 6,
                    2);
}

void showMargins(HWND dlg, const RECT *m, int unit)
{
    showLength(dlg, WIN_MARGIN_LEFT, m->left, unit);
    showLength(dlg, WIN_MARGIN_TOP, m->top, unit);
    showLength(dlg, WIN_MARGIN_RIGHT, m->right, unit);
    showLength(dlg, WIN_MARGIN_BOTTOM, m->bottom, unit);
    // The quick-margin field shows the value when all four agree.
    if (m->left == m->top && m->left == m->right && m->left == m->bottom)
        showLength(dlg, WIN_MARGIN_ALL, m->left, unit);
}

void setAllMargins(HWND dlg, int32_t twips, int unit)
{
    RECT m = {twips, twips, twips, twips};
    showMargins(dlg, &m, unit);
}

void fillQuickMargins(HWND dlg)
{
    HWND combo = GetDlgItem(dlg, WIN_MARGIN_ALL);
    if (!combo)
        return;
    for (int i = 0; i < 10; ++i) {
        char text[16];
        snprintf(text, sizeof(text), "%-6.2f", i * 0.25);
        SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)text);
    }
}

// Reads a length in the unit into twips; FALSE when it is not a number.
BOOL readTwips(HWND dlg, int id, int unit, int32_t *twips)
{
    double value = 0;
    if (!winGetDlgDouble(dlg, id, &value))
        return FALSE;
    *twips = (int32_t)(utConvertUnit(value, unit, UT_UNIT_INCH) * kTwipsPerInch + 0.5);
    return TRUE;
}

// The four margins in the order left, top, right, bottom; the first field
// that is not a number is reported and focused.
BOOL readMargins(HWND dlg, int unit, RECT *m)
{
    struct {
        int id;
        LONG *out;
    } sides[] = {{WIN_MARGIN_LEFT, &m->left},
                 {WIN_MARGIN_TOP, &m->top},
                 {WIN_MARGIN_RIGHT, &m->right},
                 {WIN_MARGIN_BOTTOM, &m->bottom}};
    for (auto &side : sides) {
        int32_t twips = 0;
        if (!readTwips(dlg, side.id, unit, &twips)) {
            utErrorBoxId(dlg, 5100);
            winFocusDlgItem(dlg, side.id);
            return FALSE;
        }
        *side.out = twips;
    }
    return TRUE;
}

// Stores the margins on the working copy and checks that they leave room.
BOOL storeMargins(HWND dlg, SheetState *s, const RECT *m)
{
    MemHandle moved = pgSetMargins(s->work, m);
    if (!moved)
        return FALSE;
    s->work = moved;
    if (!pgMarginRectIsValid(s->work)) {
        utMessageBox(dlg, "Page margins too large.  Please revise.", MB_OK | MB_ICONSTOP);
        return FALSE;
    }
    return TRUE;
}

void setSize(SheetState *s, int code, int orientation, int32_t width, int32_t height)
{
    PgLock p(s->work);
    if (!p)
        return;
    p.data()->paperCode = (uint8_t)code;
    p.data()->orientation = (uint8_t)orientation;
    RECT box = {0, 0, width, height};
    obRecSetRect(p.head(), &box);
}

void setPaper(SheetState *s, int code, int orientation)
{
    double width = 0, height = 0;
    pagePaperSize(code, orientation, &width, &height);
    setSize(s, code, orientation, dmInchToTwipsX(width), dmInchToTwipsY(height));
}

void takeUnit(HWND dlg, SheetState *s)
{
    int unit = displayUnit(dlg, s);
    if (unit != s->unit)
        s->unitChanged = TRUE;
    PgLock p(s->work);
    if (p)
        p.data()->unit = (uint16_t)unit;
}

void dropLabel(SheetState *s)
{
    if (MemHandle moved = pgSetAttr(s->work, PGA_LABEL_LAYOUT, nullptr, 0))
        s->work = moved;
}

// ---- Custom Size -----------------------------------------------------------------------

// Width and height read in the unit and held to 22 inches: FALSE (the
// failing field focused) otherwise; the sizes in twips.
BOOL checkCustom(HWND dlg, int unit, int32_t *width, int32_t *height)
{
    struct {
        int id;
        const char *tooBig;
        int32_t *out;
    } fields[] = {{kWidth, "Page width must not exceed the equivalent of 22 inches.", width},
                  {kHeight, "Page height must not exceed the equivalent of 22 inches.", height}};
    for (auto &f : fields) {
        double value = 0;
        if (!winGetDlgDouble(dlg, f.id, &value)) {
            winFocusDlgItem(dlg, f.id);
            return FALSE;
        }
        double inches = utConvertUnit(value, unit, UT_UNIT_INCH);
        // Exactly 22 inches passes, whatever unit it was typed in.
        if (inches > 22.0 + 1e-9) {
            utErrorBox(dlg, f.tooBig);
            winFocusDlgItem(dlg, f.id);
            return FALSE;
        }
        *f.out = (int32_t)(inches * kTwipsPerInch + 1e-6);
    }
    return TRUE;
}

// ---- Label -------------------------------------------------------------------------------

void labelFillTypes(HWND dlg, const char *listing, const char *maker, const char *kept)
{
    HWND types = GetDlgItem(dlg, kLabelType);
    SendMessageA(types, CB_RESETCONTENT, 0, 0);
    MemHandle items = lblReadSectionItems(dlg, listing, maker, '\n');
    for (const std::string &item : rcListItems(items, '\n')) {
        // A type's name is the part before "::".
        std::string name = item.substr(0, item.find("::"));
        if (!name.empty())
            SendMessageA(types, CB_ADDSTRING, 0, (LPARAM)name.c_str());
    }
    utFreeHandle(items);
    if (kept && *kept)
        SendMessageA(types, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)kept);
}

void labelShow(HWND dlg, const LabelSpec *spec)
{
    char unit[16];
    SetDlgItemTextA(dlg, 150, utUnitName(unit, spec->unit, sizeof(unit)));
    winSetDlgDouble(dlg, 114, spec->labelWidth, 6, 2);
    winSetDlgDouble(dlg, 115, spec->labelHeight, 6, 2);
    winSetDlgLong(dlg, 120, spec->columns);
    winSetDlgLong(dlg, 121, spec->rows);
    winSetDlgDouble(dlg, 112, spec->marginX * 2 + spec->pitchX * (spec->columns - 1) +
                                  spec->labelWidth, 6, 2);
    winSetDlgDouble(dlg, 113, spec->marginY * 2 + spec->pitchY * (spec->rows - 1) +
                                  spec->labelHeight, 6, 2);
    InvalidateRect(GetDlgItem(dlg, kLabelPicture), nullptr, TRUE);
}

void labelInit(HWND dlg, SheetState *s)
{
    int orientation = 1;
    {
        PgLock p(s->work);
        if (p)
            orientation = p.data()->orientation;
    }
    CheckRadioButton(dlg, IDC_PG_PORTRAIT, IDC_PG_LANDSCAPE,
                     orientation == 2 ? IDC_PG_LANDSCAPE : IDC_PG_PORTRAIT);
    CheckRadioButton(dlg, kSingleLabel, kEntireSheet,
                     (s->label.flags & 1) ? kEntireSheet : kSingleLabel);
    char listing[MAX_PATH];
    lblListingPath(listing);
    if (GetFileAttributesA(listing) == INVALID_FILE_ATTRIBUTES) {
        char text[MAX_PATH + 64];
        snprintf(text, sizeof(text), "Could not find label listing file:\r\n%s", listing);
        utErrorBox(dlg, text);
        return;
    }
    HWND makers = GetDlgItem(dlg, kMaker);
    MemHandle names = lblReadSectionNames(dlg, listing, '\n', TRUE);
    for (const std::string &name : rcListItems(names, '\n'))
        if (!name.empty())
            SendMessageA(makers, CB_ADDSTRING, 0, (LPARAM)name.c_str());
    utFreeHandle(names);
    if (s->label.maker[0]) {
        SendMessageA(makers, CB_SELECTSTRING, (WPARAM)-1, (LPARAM)s->label.maker);
        labelFillTypes(dlg, listing, s->label.maker, s->label.type);
    }
    if (s->label.type[0])
        labelShow(dlg, &s->label);
    else
        setAllMargins(dlg, 0, s->unit);
}

// ---- the pages ---------------------------------------------------------------------------

void showFixedSize(HWND dlg, double width, double height, int unit)
{
    winSetDlgDouble(dlg, kWidth, utConvertUnit(width, UT_UNIT_INCH, unit), 6, 2);
    winSetDlgDouble(dlg, kHeight, utConvertUnit(height, UT_UNIT_INCH, unit), 6, 2);
}

void showKindSize(HWND dlg, PageKind kind, int unit)
{
    if (kind == kSlide)
        showFixedSize(dlg, 11, 8.5, unit);
    else if (kind == kCard)
        showFixedSize(dlg, 3.5, 2, unit);
}

void initPage(HWND dlg, PageContext *c)
{
    SheetState *s = c->sheet;
    int paper = 0, orientation = 1;
    int32_t width = 0, height = 0;
    {
        PgLock p(s->work);
        if (p) {
            paper = p.data()->paperCode;
            orientation = p.data()->orientation;
            width = p.head()->width;
            height = p.head()->height;
        }
    }
    if (c->kind == kTemplate || c->kind == kLabel) {
        if (c->kind == kLabel)
            labelInit(dlg, s);
        return;
    }
    pgSetUnitCombo(dlg, kUnitCombo, s->unit);
    fillQuickMargins(dlg);
    showMargins(dlg, &s->margins, s->unit);
    switch (c->kind) {
    case kStandard: {
        HWND combo = GetDlgItem(dlg, IDC_PG_PAPER_SIZE);
        int count = 0;
        const PgPaperSize *sizes = pgPaperSizes(&count);
        int chosen = 0;
        for (int i = 0; i < count; ++i) {
            LRESULT item = SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)sizes[i].name);
            SendMessageA(combo, CB_SETITEMDATA, (WPARAM)item, sizes[i].code);
            if (sizes[i].code == paper)
                chosen = i;
        }
        SendMessageA(combo, CB_SETCURSEL, (WPARAM)chosen, 0);
        CheckRadioButton(dlg, IDC_PG_PORTRAIT, IDC_PG_LANDSCAPE,
                         orientation == 2 ? IDC_PG_LANDSCAPE : IDC_PG_PORTRAIT);
        applyEnvelopeRule(dlg, sizes[chosen].code);
        break;
    }
    case kCustom:
        showLength(dlg, kWidth, width, s->unit);
        showLength(dlg, kHeight, height, s->unit);
        break;
    default:
        showKindSize(dlg, c->kind, s->unit);
        break;
    }
}

// The Apply steps of one page; FALSE keeps the sheet open.
BOOL applyPage(HWND dlg, PageContext *c)
{
    SheetState *s = c->sheet;
    if (c->kind == kTemplate)
        return tmplApplyPage(dlg);
    int unit = displayUnit(dlg, s);
    RECT margins;
    switch (c->kind) {
    case kStandard: {
        int code = selectedPaper(dlg);
        int orientation = IsDlgButtonChecked(dlg, IDC_PG_LANDSCAPE) == BST_CHECKED ? 2 : 1;
        takeUnit(dlg, s);
        setPaper(s, code, orientation);
        if (!readMargins(dlg, unit, &margins))
            return FALSE;
        dropLabel(s);
        if (!storeMargins(dlg, s, &margins))
            return FALSE;
        s->presentation = FALSE;
        break;
    }
    case kSlide: {
        takeUnit(dlg, s);
        setPaper(s, PG_PAPER_PRESENTATION, 2);
        SetupFontSpec font;
        setGetPresentationFont(&font);
        {
            PgLock p(s->work);
            if (p) {
                LOGFONTA *lf = reinterpret_cast<LOGFONTA *>(p.data()->textFormat);
                lf->lfHeight = -font.pointSize * 20;
                lstrcpynA(lf->lfFaceName, font.face, LF_FACESIZE);
            }
        }
        if (!readMargins(dlg, unit, &margins) || !storeMargins(dlg, s, &margins))
            return FALSE;
        s->presentation = TRUE;
        break;
    }
    case kCard:
        takeUnit(dlg, s);
        setPaper(s, PG_PAPER_BUSINESS_CARD, 1);
        if (!readMargins(dlg, unit, &margins) || !storeMargins(dlg, s, &margins))
            return FALSE;
        s->presentation = FALSE;
        break;
    case kLabel: {
        LabelSpec &spec = s->label;
        GetDlgItemTextA(dlg, kMaker, spec.maker, sizeof(spec.maker));
        GetDlgItemTextA(dlg, kLabelType, spec.type, sizeof(spec.type));
        spec.length = sizeof(LabelSpec);
        const BOOL sheet = IsDlgButtonChecked(dlg, kEntireSheet) == BST_CHECKED;
        spec.flags = (uint16_t)((spec.flags & ~1u) | (sheet ? 1u : 0u));
        int orientation = IsDlgButtonChecked(dlg, IDC_PG_LANDSCAPE) == BST_CHECKED ? 2 : 1;
        spec.orientation = (uint16_t)orientation;
        LabelLayout layout;
        lblSpecToUnits(&spec, &layout);
        int32_t width = layout.labelWidth, height = layout.labelHeight;
        if (sheet) {
            width = layout.marginX * 2 + layout.pitchX * (layout.columns - 1) + layout.labelWidth;
            height = layout.marginY * 2 + layout.pitchY * (layout.rows - 1) + layout.labelHeight;
        }
        setSize(s, PG_PAPER_LABEL, orientation, width, height);
        {
            PgLock p(s->work);
            if (p && spec.unit)
                p.data()->unit = spec.unit;
        }
        if (!readMargins(dlg, spec.unit ? spec.unit : unit, &margins))
            return FALSE;
        if (MemHandle moved = pgSetAttr(s->work, PGA_LABEL_LAYOUT, &spec, sizeof(spec)))
            s->work = moved;
        if (!storeMargins(dlg, s, &margins))
            return FALSE;
        s->presentation = FALSE;
        break;
    }
    case kCustom: {
        int32_t width = 0, height = 0;
        takeUnit(dlg, s);
        if (!checkCustom(dlg, unit, &width, &height))
            return FALSE;
        if (width < kMinTwips || height < kMinTwips) {
            utMessageBox(dlg, "Page size is too small.  Minimum is 1/4 inch.", MB_OK | MB_ICONSTOP);
            winFocusDlgItem(dlg, width < kMinTwips ? kWidth : kHeight);
            return FALSE;
        }
        setSize(s, PG_PAPER_CUSTOM, 1, width, height);
        if (!readMargins(dlg, unit, &margins))
            return FALSE;
        dropLabel(s);
        if (!storeMargins(dlg, s, &margins))
            return FALSE;
        s->presentation = FALSE;
        break;
    }
    default:
        break;
    }
    s->applied = TRUE;
    return TRUE;
}

void onCommand(HWND dlg, PageContext *c, int id, int code)
{
    SheetState *s = c->sheet;
    if (id == IDC_PG_PAPER_SIZE && code == CBN_SELCHANGE) {
        int paper = selectedPaper(dlg);
        int unit = displayUnit(dlg, s);
        double width = 0, height = 0;
        pagePaperSize(paper, 1, &width, &height);
        showFixedSize(dlg, width, height, unit);
        applyEnvelopeRule(dlg, paper);
        if (paper == 10 || isEnvelope(paper) || paper == 40)
            setAllMargins(dlg, kMinTwips, unit);
    } else if (id == kUnitCombo && code == CBN_SELCHANGE) {
        int unit = displayUnit(dlg, s);
        if (c->kind == kCustom) {
            // The fields are read in the unit they were shown in.
            int32_t width = 0, height = 0;
            int old = (int)GetWindowLongPtrA(GetDlgItem(dlg, kUnitCombo), GWLP_USERDATA);
            if (checkCustom(dlg, old ? old : s->unit, &width, &height)) {
                showLength(dlg, kWidth, width, unit);
                showLength(dlg, kHeight, height, unit);
            }
        }
        SetWindowLongPtrA(GetDlgItem(dlg, kUnitCombo), GWLP_USERDATA, unit);
        showMargins(dlg, &s->margins, unit);
        showKindSize(dlg, c->kind, unit);
    } else if (id == WIN_MARGIN_ALL && (code == CBN_SELCHANGE || code == CBN_EDITCHANGE)) {
        if (code == CBN_SELCHANGE) {
            HWND combo = GetDlgItem(dlg, WIN_MARGIN_ALL);
            LRESULT i = SendMessageA(combo, CB_GETCURSEL, 0, 0);
            char text[32] = "";
            if (i != CB_ERR)
                SendMessageA(combo, CB_GETLBTEXT, (WPARAM)i, (LPARAM)text);
            SetWindowTextA(combo, text);
        }
        winMarginAllToFields(dlg);
    } else if (c->kind == kLabel && id == kMaker && code == CBN_SELCHANGE) {
        char listing[MAX_PATH], maker[64] = "";
        GetDlgItemTextA(dlg, kMaker, maker, sizeof(maker));
        labelFillTypes(dlg, lblListingPath(listing), maker, nullptr);
    } else if (c->kind == kLabel && (id == IDC_PG_PORTRAIT || id == IDC_PG_LANDSCAPE) &&
               code == BN_CLICKED) {
        const uint16_t wanted = id == IDC_PG_LANDSCAPE ? 2 : 1;
        if (s->label.orientation != wanted && s->label.type[0]) {
            std::swap(s->label.marginX, s->label.marginY);
            std::swap(s->label.labelWidth, s->label.labelHeight);
            std::swap(s->label.pitchX, s->label.pitchY);
            std::swap(s->label.columns, s->label.rows);
            s->label.orientation = wanted;
            labelShow(dlg, &s->label);
        }
    }
}

INT_PTR CALLBACK pageProc(HWND dlg, UINT message, WPARAM wParam, LPARAM lParam)
{
    PageContext *c = reinterpret_cast<PageContext *>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (message) {
    case WM_INITDIALOG: {
        const PROPSHEETPAGEA *psp = reinterpret_cast<const PROPSHEETPAGEA *>(lParam);
        c = reinterpret_cast<PageContext *>(psp->lParam);
        SetWindowLongPtrA(dlg, DWLP_USER, (LONG_PTR)c);
        winSetControlsFont(dlg, c->sheet->font);
        initPage(dlg, c);
        return TRUE;
    }
    case WM_COMMAND:
        if (c)
            onCommand(dlg, c, LOWORD(wParam), HIWORD(wParam));
        return FALSE;
    case WM_VSCROLL:
        winMarginSpin(dlg, LOWORD(wParam), (HWND)lParam);
        return TRUE;
    case WM_NOTIFY: {
        const NMHDR *hdr = reinterpret_cast<const NMHDR *>(lParam);
        if (!c)
            return FALSE;
        if (hdr->code == PSN_SETACTIVE) {
            winPropSheetFirstInit(dlg, &c->sheet->first, c->sheet->font);
            // A business card of a page of another kind starts without margins.
            if (c->kind == kCard && !c->sheet->cardShown) {
                c->sheet->cardShown = TRUE;
                PgLock p(c->sheet->work);
                if (p && p.data()->paperCode != PG_PAPER_BUSINESS_CARD)
                    setAllMargins(dlg, 0, displayUnit(dlg, c->sheet));
            }
            SetWindowLongPtrA(dlg, DWLP_MSGRESULT, 0);
            return TRUE;
        }
        if (hdr->code == PSN_HELP && c->kind < kTemplate) {
            utHelpKeyword(dlg, kHelp[c->kind]);
            return TRUE;
        }
        if (hdr->code == PSN_KILLACTIVE) {
            SetWindowLongPtrA(dlg, DWLP_MSGRESULT, FALSE);
            return TRUE;
        }
        if (hdr->code == PSN_APPLY) {
            HWND sheet = GetParent(dlg);
            LONG_PTR result = PSNRET_NOERROR;
            if ((HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0) == dlg &&
                !applyPage(dlg, c))
                result = PSNRET_INVALID_NOCHANGEPAGE;
            SetWindowLongPtrA(dlg, DWLP_MSGRESULT, result);
            return TRUE;
        }
        return FALSE;
    }
    case WM_DRAWITEM:
        if (c && c->kind == kLabel && wParam == kLabelPicture) {
            const DRAWITEMSTRUCT *d = reinterpret_cast<const DRAWITEMSTRUCT *>(lParam);
            FillRect(d->hDC, &d->rcItem, (HBRUSH)GetStockObject(WHITE_BRUSH));
            FrameRect(d->hDC, &d->rcItem, (HBRUSH)GetStockObject(BLACK_BRUSH));
            return TRUE;
        }
        return FALSE;
    default:
        return FALSE;
    }
}

PageKind firstPage(MemHandle page, BOOL create, BOOL presentation)
{
    if (create)
        return presentation ? kSlide : kStandard;
    PgLock p(page);
    int code = p ? p.data()->paperCode : 0;
    if (presentation)
        code = PG_PAPER_PRESENTATION;
    switch (code) {
    case PG_PAPER_BUSINESS_CARD:
        return kCard;
    case PG_PAPER_LABEL:
        return kLabel;
    case PG_PAPER_PRESENTATION:
        return kSlide;
    case PG_PAPER_CUSTOM:
        return kCustom;
    default:
        return kStandard;
    }
}

// What a page record owns or is linked by: its head's links and the
// handles of its page data. The working copy holds none of them, so it can
// be grown, moved and freed without touching the page's objects.
void takeOwned(MemHandle to, MemHandle from)
{
    PgLock t(to), f(from);
    if (!t)
        return;
    uint8_t *links = t.bytes() + PGH_LINKS;
    PageData *d = t.data();
    if (f) {
        memcpy(links, f.bytes() + PGH_LINKS, PGH_LINK_COUNT * 4);
        d->layers = f.data()->layers;
        d->firstObject = f.data()->firstObject;
        d->sideBlock = f.data()->sideBlock;
        d->paletteBlock = f.data()->paletteBlock;
        memcpy(d->memoryOnly, f.data()->memoryOnly, sizeof(d->memoryOnly));
    } else {
        memset(links, 0, PGH_LINK_COUNT * 4);
        d->layers.inUse = d->layers.edit = d->layers.hidden = 0;
        d->firstObject = d->sideBlock = d->paletteBlock = 0;
        memset(d->memoryOnly, 0, sizeof(d->memoryOnly));
    }
}

PvLayoutSheetHook g_sheetHook = nullptr;

}  // namespace

void pvSetLayoutSheetHook(PvLayoutSheetHook hook) { g_sheetHook = hook; }

void pgSetUnitCombo(HWND dlg, int control, int unit)
{
    static const struct {
        int code;
        const char *name;
    } kUnits[] = {{UT_UNIT_INCH, "Inch"}, {UT_UNIT_FEET, "Feet"}, {UT_UNIT_CM, "cm"}};
    HWND combo = GetDlgItem(dlg, control);
    if (!combo)
        return;
    SendMessageA(combo, CB_RESETCONTENT, 0, 0);
    int chosen = 0;
    for (int i = 0; i < 3; ++i) {
        LRESULT item = SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)kUnits[i].name);
        SendMessageA(combo, CB_SETITEMDATA, (WPARAM)item, kUnits[i].code);
        if (kUnits[i].code == unit)
            chosen = (int)item;
    }
    SendMessageA(combo, CB_SETCURSEL, (WPARAM)chosen, 0);
    SetWindowLongPtrA(combo, GWLP_USERDATA, SendMessageA(combo, CB_GETITEMDATA, chosen, 0));
}

int pgGetUnitCombo(HWND dlg, int control)
{
    HWND combo = GetDlgItem(dlg, control);
    LRESULT item = combo ? SendMessageA(combo, CB_GETCURSEL, 0, 0) : CB_ERR;
    if (item == CB_ERR)
        return 0;
    return (int)SendMessageA(combo, CB_GETITEMDATA, (WPARAM)item, 0);
}

INT_PTR pvPageLayoutSheet(HWND owner, const char *caption, MemHandle *page, BOOL create,
                          BOOL *unitChanged)
{
    if (g_sheetHook)
        return g_sheetHook(owner, caption, page, create, unitChanged);
    if (unitChanged)
        *unitChanged = FALSE;
    if (!page || !PgLock(*page))
        return 0;
    SheetState state = {};
    state.first = TRUE;
    state.work = utCopyHandle(*page);
    if (!state.work)
        return 0;
    takeOwned(state.work, 0);
    {
        PgLock p(*page);
        state.unit = p.data()->unit ? p.data()->unit : UT_UNIT_INCH;
    }
    state.presentation = pgHasFlag64(*page) ? TRUE : FALSE;
    RECT margins = {kMinTwips, kMinTwips, kMinTwips, kMinTwips};
    RECT own;
    if (pgGetMargins(*page, &own))
        margins = own;
    state.margins = margins;
    if (!pgGetLabelLayout(*page, &state.label))
        memset(&state.label, 0, sizeof(state.label));

    static const struct {
        const char *dialog, *title;
    } kPages[] = {{"PAGE_STD", "Standard Size"}, {"PAGE_SLIDE", "Presentation"},
                  {"PAGE_BCARD", "Business Card"}, {"PAGE_LABEL", "Label"},
                  {"PAGE_CUSTOM", "Custom Size"},  {"PAGE_TMPL", "Template"}};
    PageContext contexts[kKinds];
    PROPSHEETPAGEA pages[kKinds] = {};
    const int count = create ? kKinds : kTemplate;
    for (int i = 0; i < count; ++i) {
        contexts[i] = {&state, (PageKind)i};
        if (i == kTemplate)
            winFillPropPage(&pages[i], PSP_USETITLE, GetModuleHandleA(nullptr), "PAGE_TMPL",
                            "Template", tmplPageProc, 0, nullptr);
        else
            winFillPropPage(&pages[i], PSP_USETITLE | PSP_HASHELP, GetModuleHandleA(nullptr),
                            kPages[i].dialog, kPages[i].title, pageProc,
                            (LPARAM)&contexts[i], nullptr);
    }
    PROPSHEETHEADERA header = {};
    header.dwSize = sizeof(header);
    header.dwFlags = PSH_PROPSHEETPAGE | PSH_NOAPPLYNOW;
    header.hwndParent = owner;
    header.hInstance = GetModuleHandleA(nullptr);
    header.pszCaption = caption ? caption : (create ? "Create New Page" : "Change Page Layout");
    header.nPages = (UINT)count;
    header.nStartPage = (UINT)firstPage(*page, create, state.presentation);
    header.ppsp = pages;
    state.font = winSheetFont();
    tmplBeginSheet();
    INT_PTR result = PropertySheetA(&header);
    DeleteObject(state.font);
    MemHandle chosen = tmplEndSheet();
    if (result <= 0 || (!state.applied && !chosen)) {
        pgFreeList(state.work);
        pgFreeList(chosen);
        return 0;
    }
    if (chosen) {
        // A template page takes the place of the page being made.
        pgFreeList(state.work);
        pgFreeList(*page);
        *page = chosen;
    } else {
        {
            PgLock w(state.work);
            if (w.data()->paperCode != PG_PAPER_LABEL)
                dropLabel(&state);
        }
        takeOwned(state.work, *page);
        MemHandle old = *page;
        MemHandle grown = utCopyHandleInto(*page, state.work);
        utFreeHandle(state.work);
        if (!grown)
            return 0;
        obRelinkMoved(old, grown);
        *page = grown;
        if (unitChanged)
            *unitChanged = state.unitChanged;
    }
    if (MemHandle moved = pgSetFlag64(*page, state.presentation))
        *page = moved;
    return result;
}
