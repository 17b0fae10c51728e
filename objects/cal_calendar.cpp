// The calendar object: layout, drawing, day hits, stepping, rescaling and
// the "Select Month" dialog.
#include "objects/cal_calendar.h"
#include "objects/fld_frame.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_types.h"
#include "support/dm_map.h"
#include "support/gdi_draw.h"
#include "support/gdi_text.h"
#include "support/ut_bytes.h"
#include "support/ut_date.h"
#include "support/ut_msg.h"
#include "support/win_dlgfield.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <string>

namespace {

CalArrowCall g_arrowCall = nullptr;

const int32_t kCellBevel = 40;       // 2 points
const char kRowDigits[] = "5555555555";

// The type data of a record that holds all of it, else null.
uint8_t *calData(ObjectRecord *rec)
{
    if (!rec || (uint64_t)obDataOffset(rec) + kCalFixedSize > rec->length)
        return nullptr;
    return obRecData(rec);
}
const uint8_t *calData(const ObjectRecord *rec)
{
    return calData(const_cast<ObjectRecord *>(rec));
}

// Week rows 1..6; 0 and anything above 6 read as 6.
int weekRows(const uint8_t *d)
{
    int rows = utGetAt<uint8_t>(d, CAL_ROWS);
    return rows < 1 || rows > 6 ? 6 : rows;
}

// The month shown: today's while the year is negative.
void shownMonth(const uint8_t *d, int16_t *year, int16_t *month)
{
    *year = utGetAt<int16_t>(d, CAL_YEAR);
    *month = utGetAt<int16_t>(d, CAL_MONTH);
    if (*year < 0) {
        int16_t day;
        utGetToday(year, month, &day);
    }
    if (*month < 0 || *month > 11)
        *month = 0;
}

std::string titleText(int16_t year, int16_t month)
{
    char name[64], text[96];
    snprintf(text, sizeof text, "%s %d", utGetMonthName(name, month), year);
    return text;
}

// A weekday's name in a form: full, its first letter or its first three.
std::string dayName(int weekday, uint8_t form)
{
    char name[64];
    std::string s = utGetDayName(name, weekday);
    if (form == CAL_NAMES_FULL)
        return s;
    return s.substr(0, form == CAL_NAMES_LETTER ? 1 : 3);
}

// Text extents in a font on a DC (a mapped memory DC when none is given).
class Measure {
public:
    explicit Measure(HDC dc = nullptr) : own_(!dc), dc_(dc ? dc : CreateCompatibleDC(nullptr))
    {
        if (own_ && dc_)
            dmSetMapping(dc_);
    }
    ~Measure()
    {
        if (own_ && dc_)
            DeleteDC(dc_);
    }
    SIZE text(const LOGFONTA &lf, const std::string &s) const
    {
        std::string one[1] = {s};
        return widest(lf, one, 1);
    }
    // The widest width and the tallest height of n texts in the font.
    SIZE widest(const LOGFONTA &lf, const std::string *texts, int n, int32_t *sum = nullptr) const
    {
        SIZE most = {0, 0};
        if (sum)
            *sum = 0;
        if (!dc_)
            return most;
        HFONT font = dmCreateFont(&lf);
        HGDIOBJ old = SelectObject(dc_, font);
        for (int i = 0; i < n; ++i) {
            SIZE size = {0, 0};
            GetTextExtentPoint32A(dc_, texts[i].c_str(), (int)texts[i].size(), &size);
            most.cx = std::max(most.cx, size.cx);
            most.cy = std::max(most.cy, size.cy);
            if (sum)
                *sum = std::min<int32_t>(32000, *sum + size.cx);
        }
        SelectObject(dc_, old);
        DeleteObject(font);
        return most;
    }
    HDC dc() const { return dc_; }

private:
    bool own_;
    HDC dc_;
};

class TextFont {
public:
    TextFont(HDC dc, const LOGFONTA &lf, COLORREF colour)
        : dc_(dc), font_(dmCreateFont(&lf)), old_(SelectObject(dc, font_)),
          colour_(SetTextColor(dc, colour))
    {
    }
    ~TextFont()
    {
        SetTextColor(dc_, colour_);
        SelectObject(dc_, old_);
        DeleteObject(font_);
    }
    TextFont(const TextFont &) = delete;
    TextFont &operator=(const TextFont &) = delete;

private:
    HDC dc_;
    HFONT font_;
    HGDIOBJ old_;
    COLORREF colour_;
};

// Text in the selected font, placed in a rectangle by an alignment word;
// nothing for a rectangle outside the clip box (a page drawn in parts, a
// calendar larger than the view).
void textIn(HDC dc, const RECT &clip, const RECT &r, const std::string &s, uint16_t align)
{
    RECT meet;
    if (!IntersectRect(&meet, &clip, &r))
        return;
    gdiTextOutAligned(dc, r, s.c_str(), (int)s.size(), align);
}

// The clip box in logical units; a DC without one gives a box that meets
// everything.
RECT clipBox(HDC dc)
{
    RECT r;
    if (GetClipBox(dc, &r) == ERROR || IsRectEmpty(&r))
        r = {INT32_MIN / 2, INT32_MIN / 2, INT32_MAX / 2, INT32_MAX / 2};
    return r;
}

// The line-style pen of the record (style "none" with flag bit 3 when asked).
HPEN recordPen(const ObjectRecord *rec, bool noneWhenNoOutline)
{
    const uint8_t *d = calData(rec);
    if (noneWhenNoOutline && d && (utGetAt<uint16_t>(d, CAL_FLAGS) & CALF_NO_OUTLINE))
        return CreatePen(PS_NULL, 0, 0);
    return CreatePen(gdiLineStylePen(rec->lineStyle), obGetDrawnPenWidth(rec), rec->penColour);
}

void drawFrame(HDC dc, const ObjectRecord *rec, const uint8_t *d, const RECT &r)
{
    const uint16_t style = utGetAt<uint16_t>(d, CAL_FRAME_STYLE);
    if (style != 0) {
        const COLORREF colours[3] = {rec->penColour, rec->fillColour, rec->backColour};
        fldDrawFrameBorder(dc, &r, style, utGetAt<uint32_t>(d, CAL_FRAME_VALUE), colours);
        return;
    }
    GdiObject<HPEN> pen(recordPen(rec, true));
    GdiObject<HBRUSH> back(rec->fillKind == 1 ? CreateSolidBrush(rec->backColour) : nullptr);
    GdiSelect selPen(dc, pen);
    GdiSelect selBrush(dc, back ? (HGDIOBJ)back : GetStockObject(NULL_BRUSH));
    gdiRectangle(dc, r.left, r.top, r.right, r.bottom);
}

void drawGrid(HDC dc, const ObjectRecord *rec, const CalGeometry &g)
{
    GdiObject<HPEN> pen(recordPen(rec, false));
    GdiSelect sel(dc, pen);
    const RECT &b = g.box;
    if (g.title.bottom > g.title.top)
        gdiLine(dc, b.left, g.title.bottom, b.right, g.title.bottom);
    if (g.heading.bottom > g.heading.top)
        gdiLine(dc, b.left, g.heading.bottom, b.right, g.heading.bottom);
    for (int row = 1; row < g.rows; ++row) {
        const int32_t y = g.days.top + row * g.cellHeight;
        gdiLine(dc, b.left, y, b.right, y);
    }
    for (int column = 1; column <= 6; ++column) {
        const int32_t x = g.days.left + column * g.cellWidth;
        gdiLine(dc, x, g.heading.top, x, g.days.bottom);
    }
}

void drawTitle(HDC dc, const ObjectRecord *rec, const uint8_t *d, const CalGeometry &g)
{
    if (g.title.bottom <= g.title.top)
        return;
    TextFont font(dc, utGetAt<LOGFONTA>(d, CAL_TITLE_FONT), rec->fillColour);
    textIn(dc, clipBox(dc), g.title, titleText(g.year, g.month),
           utGetAt<uint16_t>(d, CAL_TITLE_ALIGN));
}

void drawHeadings(HDC dc, const ObjectRecord *rec, const uint8_t *d, const CalGeometry &g)
{
    if (g.heading.bottom <= g.heading.top)
        return;
    const RECT clip = clipBox(dc);
    RECT meet;
    if (!IntersectRect(&meet, &clip, &g.heading))
        return;
    const LOGFONTA lf = utGetAt<LOGFONTA>(d, CAL_HEAD_FONT);
    const uint8_t form = utGetAt<uint8_t>(d, CAL_FORM_BY_FIT)
                             ? calNameFormForWidth(dc, &lf, g.cellWidth)
                             : utGetAt<uint8_t>(d, CAL_NAME_FORM);
    const uint16_t align = utGetAt<uint16_t>(d, CAL_HEAD_ALIGN);
    TextFont font(dc, lf, rec->fillColour);
    for (int column = 0; column < 7; ++column) {
        RECT r = {g.days.left + column * g.cellWidth, g.heading.top,
                  g.days.left + (column + 1) * g.cellWidth, g.heading.bottom};
        textIn(dc, clip, r, dayName(column, form), align);
    }
}

// Today's day when the calendar shows today's month, else 0.
int todayShown(const CalGeometry &g)
{
    int16_t y, m, d;
    utGetToday(&y, &m, &d);
    return y == g.year && m == g.month ? d : 0;
}

void drawDays(HDC dc, const ObjectRecord *rec, const uint8_t *d, const CalGeometry &g)
{
    const RECT clip = clipBox(dc);
    RECT meet;
    if (!IntersectRect(&meet, &clip, &g.days))
        return;
    const LOGFONTA lf = utGetAt<LOGFONTA>(d, CAL_DAY_FONT);
    const uint16_t align = utGetAt<uint16_t>(d, CAL_DAY_ALIGN);
    const bool boxed = (utGetAt<uint16_t>(d, CAL_CELL_FLAGS) & 0x1) != 0;
    const int16_t style = utGetAt<int16_t>(d, CAL_TODAY_STYLE);
    const int today = (utGetAt<uint16_t>(d, CAL_FLAGS) & CALF_TODAY) && style != 0
                          ? todayShown(g)
                          : 0;
    const COLORREF colours[3] = {rec->penColour, rec->fillColour, rec->backColour};
    const int days = utDaysInMonth(g.year, g.month);
    auto number = [&](int day, const RECT &cell) {
        RECT inner = cell;
        InflateRect(&inner, -kCalSideRoom, -kCalSideRoom);
        char text[16];
        snprintf(text, sizeof text, "%d", day);
        textIn(dc, clip, inner, text, align);
    };
    {
        TextFont font(dc, lf, rec->fillColour);
        for (int day = 1; day <= days; ++day) {
            RECT cell;
            if (!calDayCell(g, day, &cell) || !IntersectRect(&meet, &clip, &cell))
                continue;
            if (boxed)
                fldDrawRectBevel(dc, &cell, kCellBevel, kCellBevel, colours, FLD_FRAME_RAISED);
            if (day != today)
                number(day, cell);
        }
    }
    RECT cell;
    if (today && calDayCell(g, today, &cell)) {
        // Today's number in a copy of the day font in the today style.
        LOGFONTA marked = lf;
        if (style & CAL_TODAY_BOLD)
            marked.lfWeight = FW_BOLD;
        if (style & CAL_TODAY_ITALIC)
            marked.lfItalic = 1;
        if (style & CAL_TODAY_UNDERLINE)
            marked.lfUnderline = 1;
        TextFont font(dc, marked, rec->fillColour);
        number(today, cell);
    }
}

void invertToday(HDC dc, const uint8_t *d, const CalGeometry &g)
{
    const int16_t style = utGetAt<int16_t>(d, CAL_TODAY_STYLE);
    if (!(utGetAt<uint16_t>(d, CAL_FLAGS) & CALF_TODAY) ||
        (style != 0 && !(style & CAL_TODAY_INVERT)))
        return;
    RECT cell;
    if (int today = todayShown(g))
        if (calDayCell(g, today, &cell))
            dmInvertRect(dc, &cell);
}

// The squares of the month arrows at the right end of the title area.
void drawArrows(HDC dc, const ObjectRecord *rec, const CalGeometry &g)
{
    if (!g_arrowCall || g.title.bottom <= g.title.top)
        return;
    POINT p[2] = {{0, 0}, {kCalArrowPixels, 0}};
    DPtoLP(dc, p, 2);
    const int32_t w = std::max<int32_t>(1, abs(p[1].x - p[0].x));
    const int32_t h = std::min<int32_t>(w, g.title.bottom - g.title.top);
    RECT next = {g.title.right - w, g.title.top, g.title.right, g.title.top + h};
    RECT prev = next;
    OffsetRect(&prev, -w, 0);
    g_arrowCall(dc, &next, 43, rec->fillColour);
    g_arrowCall(dc, &prev, 45, rec->fillColour);
}

// The calendar laid out (see calLayout) on a record known to hold its data.
void layout(ObjectRecord *rec, uint8_t *d)
{
    RECT r;
    obRecGetRect(rec, &r);
    const bool titleShown = (utGetAt<uint16_t>(d, CAL_FLAGS) & CALF_TITLE) != 0;
    const bool headShown = utGetAt<uint8_t>(d, CAL_HEAD_SHOWN) != 0;
    const int rows = weekRows(d);
    int32_t titleH = std::max<int32_t>(0, utGetAt<int32_t>(d, CAL_TITLE_HEIGHT));
    int32_t headH = std::max<int32_t>(0, utGetAt<int32_t>(d, CAL_HEAD_HEIGHT));
    if (utGetAt<int32_t>(d, CAL_BODY_HEIGHT) == 0) {
        const int parts = 6 + (titleShown ? 1 : 0) + (headShown ? 1 : 0);
        const int32_t part = (r.bottom - r.top) / parts;
        titleH = titleShown ? part : 0;
        headH = headShown ? part : 0;
    }
    Measure m;
    if (titleShown) {
        int16_t year, month;
        shownMonth(d, &year, &month);
        SIZE s = m.text(utGetAt<LOGFONTA>(d, CAL_TITLE_FONT), titleText(year, month));
        r.right = std::max<LONG>(r.right, r.left + s.cx + 2 * kCalSideRoom);
        titleH = titleH ? std::max<int32_t>(titleH, s.cy) : s.cy * 5 / 4;
    } else {
        titleH = 0;
    }
    const LOGFONTA headFont = utGetAt<LOGFONTA>(d, CAL_HEAD_FONT);
    std::string names[7];
    for (int day = 0; day < 7; ++day)
        names[day] = dayName(day, CAL_NAMES_FULL);
    int32_t sum = 0;
    const int32_t tallest = m.widest(headFont, names, 7, &sum).cy;
    headH = headH ? std::max(headH, tallest) : tallest * 5 / 4;
    r.right = std::max<LONG>(r.right, r.left + sum + 2 * kCalSideRoom);
    const int32_t top = r.top + titleH + headH;
    const int32_t width = (r.right - r.left) / 7 * 7;
    int32_t body = std::max<int32_t>(0, r.bottom - top) / rows * rows;
    body = std::max<int32_t>(body, m.text(headFont, kRowDigits).cy * rows);
    r.right = r.left + width;
    r.bottom = top + body;
    utPutAt<int32_t>(d, CAL_TITLE_HEIGHT, titleH);
    utPutAt<int32_t>(d, CAL_HEAD_HEIGHT, headH);
    utPutAt<int32_t>(d, CAL_BODY_HEIGHT, body);
    obRecSetRect(rec, &r);
}

void step(MemHandle h, bool forward)
{
    ObLock r(h);
    uint8_t *d = r ? calData(r.get()) : nullptr;
    if (!d || r.extent() < r->length)
        return;
    int16_t year, month;
    shownMonth(d, &year, &month);
    forward ? utNextMonth(&year, &month) : utPrevMonth(&year, &month);
    utPutAt<int16_t>(d, CAL_YEAR, year);
    utPutAt<int16_t>(d, CAL_MONTH, month);
    layout(r.get(), d);
}

int32_t scaled(int32_t v, int64_t num, int64_t den)
{
    const int64_t x = (int64_t)v * num;
    return (int32_t)((x >= 0 ? x + den / 2 : x - den / 2) / den);
}

// ---- "Select Month" ------------------------------------------------------------------------
enum { ID_YEAR = 100, ID_YEAR_SPIN = 101, ID_MONTH = 102 };
const int16_t kYearMin = 1970, kYearMax = 3000;

// An unsigned integer field or combo text; FALSE when it is not one.
BOOL readUnsigned(HWND dlg, int id, uint32_t *value)
{
    char text[32] = "";
    winGetDlgTextTrim(dlg, id, text, sizeof text);
    if (!*text || strlen(text) > 9 || strspn(text, "0123456789") != strlen(text))
        return FALSE;
    *value = (uint32_t)strtoul(text, nullptr, 10);
    return TRUE;
}

INT_PTR CALLBACK editMonthProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    uint8_t *d = reinterpret_cast<uint8_t *>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG: {
        d = reinterpret_cast<uint8_t *>(lParam);
        SetWindowLongPtrA(dlg, DWLP_USER, (LONG_PTR)d);
        int16_t year, month;
        shownMonth(d, &year, &month);
        SendDlgItemMessageA(dlg, ID_YEAR, EM_LIMITTEXT, 4, 0);
        SetDlgItemInt(dlg, ID_YEAR, (UINT)year, FALSE);
        utFillMonthCombo(GetDlgItem(dlg, ID_MONTH), month);
        return TRUE;
    }
    case WM_VSCROLL:
        return winSpinInt16(dlg, LOWORD(wParam), (HWND)lParam, ID_YEAR_SPIN, ID_YEAR, 1,
                            kYearMin, kYearMax);
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            uint32_t year = 0, month = 0;
            if (!readUnsigned(dlg, ID_YEAR, &year) || year > 32767) {
                utErrorBoxId(dlg, 945);
                winDlgSelectEdit(dlg, ID_YEAR);
                return TRUE;
            }
            if (!readUnsigned(dlg, ID_MONTH, &month)) {
                utErrorBoxId(dlg, 945);
                SetFocus(GetDlgItem(dlg, ID_MONTH));
                return TRUE;
            }
            if (month < 1 || month > 12) {
                SetFocus(GetDlgItem(dlg, ID_MONTH));
                return TRUE;
            }
            utPutAt<int16_t>(d, CAL_YEAR, (int16_t)year);
            utPutAt<int16_t>(d, CAL_MONTH, (int16_t)(month - 1));
            EndDialog(dlg, 1);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        return FALSE;
    }
    return FALSE;
}

}  // namespace

BOOL calGetGeometry(const ObjectRecord *rec, CalGeometry *g)
{
    const uint8_t *d = calData(rec);
    if (!d || !g)
        return FALSE;
    obRecGetRect(rec, &g->box);
    const RECT &b = g->box;
    const bool titleShown = (utGetAt<uint16_t>(d, CAL_FLAGS) & CALF_TITLE) != 0;
    const int32_t titleH = titleShown ? std::max<int32_t>(0, utGetAt<int32_t>(d, CAL_TITLE_HEIGHT)) : 0;
    const int32_t headH = std::max<int32_t>(0, utGetAt<int32_t>(d, CAL_HEAD_HEIGHT));
    const int64_t headTop = (int64_t)b.top + titleH, dayTop = headTop + headH;
    if (dayTop >= b.bottom || b.right <= b.left)
        return FALSE;
    g->title = {b.left, b.top, b.right, (LONG)headTop};
    g->heading = {b.left, (LONG)headTop, b.right, (LONG)dayTop};
    g->days = {b.left, (LONG)dayTop, b.right, b.bottom};
    g->rows = weekRows(d);
    g->cellWidth = (b.right - b.left) / 7;
    g->cellHeight = (int32_t)((b.bottom - dayTop) / g->rows);
    if (g->cellWidth <= 0 || g->cellHeight <= 0)
        return FALSE;
    shownMonth(d, &g->year, &g->month);
    g->firstWeekday = utMonthFirstWeekday(g->year, g->month);
    return TRUE;
}

BOOL calDayCell(const CalGeometry &g, int day, RECT *cell)
{
    if (day < 1 || day > utDaysInMonth(g.year, g.month))
        return FALSE;
    const int at = g.firstWeekday + day - 1, column = at % 7, row = at / 7;
    if (row >= g.rows)
        return FALSE;
    cell->left = g.days.left + column * g.cellWidth;
    cell->top = g.days.top + row * g.cellHeight;
    cell->right = cell->left + g.cellWidth;
    cell->bottom = cell->top + g.cellHeight;
    return TRUE;
}

MemHandle calNew(MemHandle h, const RECT *rect, const LOGFONTA *font)
{
    if (!rect || !font)
        return 0;
    MemHandle g = obResize(h, kObHeadSize + kCalFixedSize);
    if (!g)
        return 0;
    ObLock r(g);
    r->nameLength = 0;
    r->length = kObHeadSize + kCalFixedSize;
    uint8_t *d = obRecData(r.get());
    memset(d, 0, kCalFixedSize);
    int16_t year, month, day;
    utGetToday(&year, &month, &day);
    utPutAt<uint32_t>(d, CAL_SIZE, kCalFixedSize);
    utPutAt<int16_t>(d, CAL_YEAR, year);
    utPutAt<int16_t>(d, CAL_MONTH, month);
    utPutAt<uint8_t>(d, CAL_GRID, 1);
    utPutAt<uint8_t>(d, CAL_ROWS, 6);
    for (uint32_t at : {CAL_HEAD_FONT, CAL_DAY_FONT, CAL_SPARE_FONT})
        utPutAt(d, at, *font);
    LOGFONTA bold = *font;
    bold.lfWeight = FW_BOLD;
    utPutAt(d, CAL_TITLE_FONT, bold);
    for (uint32_t at : {CAL_TITLE_ALIGN, CAL_HEAD_ALIGN, CAL_DAY_ALIGN})
        utPutAt<uint16_t>(d, at, 9);
    utPutAt<uint16_t>(d, CAL_FLAGS, CALF_TITLE);
    utPutAt<uint8_t>(d, CAL_HEAD_SHOWN, 1);
    utPutAt<uint16_t>(d, CAL_VERSION_AT, kCalVersion);
    obRecSetRect(r.get(), rect);
    layout(r.get(), d);
    return g;
}

void calLayout(ObjectRecord *rec)
{
    if (uint8_t *d = calData(rec))
        layout(rec, d);
}

void calLayoutHandle(MemHandle h)
{
    ObLock r(h);
    if (r && r.extent() >= r->length)
        calLayout(r.get());
}

void calDraw(HDC dc, ObjectRecord *rec)
{
    const uint8_t *d = calData(rec);
    CalGeometry g;
    if (!dc || !d || !calGetGeometry(rec, &g))
        return;
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    const UINT oldAlign = SetTextAlign(dc, TA_LEFT | TA_TOP);
    if (utGetAt<int16_t>(d, CAL_LAYOUT) == 1) {
        drawTitle(dc, rec, d, g);
        RECT below = g.box;
        below.top = g.title.bottom;
        drawFrame(dc, rec, d, below);
        if (utGetAt<uint8_t>(d, CAL_GRID))
            drawGrid(dc, rec, g);
        SetBkMode(dc, TRANSPARENT);
    } else {
        drawFrame(dc, rec, d, g.box);
        SetBkMode(dc, TRANSPARENT);
        if (utGetAt<uint8_t>(d, CAL_GRID))
            drawGrid(dc, rec, g);
        drawTitle(dc, rec, d, g);
    }
    drawHeadings(dc, rec, d, g);
    drawDays(dc, rec, d, g);
    invertToday(dc, d, g);
    if (utGetAt<uint16_t>(d, CAL_FLAGS) & CALF_ARROWS)
        drawArrows(dc, rec, g);
    SetTextAlign(dc, oldAlign);
    obRestoreDCModes(dc, &modes);
}

void calDrawHandle(HDC dc, MemHandle h)
{
    ObLock r(h);
    if (r && r.extent() >= r->length)
        calDraw(dc, r.get());
}

BOOL calHitDay(MemHandle h, POINT pt, int16_t *year, int16_t *month, int16_t *day)
{
    *year = *month = *day = 0;
    ObLock r(h);
    CalGeometry g;
    if (!r || r.extent() < r->length || !calGetGeometry(r.get(), &g) ||
        !PtInRect(&g.days, pt))
        return FALSE;
    const int column = (pt.x - g.days.left) / g.cellWidth;
    const int row = (pt.y - g.days.top) / g.cellHeight;
    if (column > 6 || row >= g.rows)
        return FALSE;
    const int d = row * 7 + column - g.firstWeekday + 1;
    if (d < 1 || d > utDaysInMonth(g.year, g.month))
        return FALSE;
    *year = g.year;
    *month = g.month;
    *day = (int16_t)d;
    return TRUE;
}

void calNextMonth(MemHandle h) { step(h, true); }
void calPrevMonth(MemHandle h) { step(h, false); }

int calRescale(MemHandle *h, const RECT *target)
{
    if (!h || !target)
        return 1;
    ObLock r(*h);
    uint8_t *d = r && r.extent() >= r->length ? calData(r.get()) : nullptr;
    if (!d) {
        if (r)
            obRecSetRect(r.get(), target);
        return 1;
    }
    const int64_t oldH = r->height;
    const int64_t newH = (int64_t)target->bottom - target->top;
    if (oldH > 0) {
        for (uint32_t at : {CAL_TITLE_HEIGHT, CAL_HEAD_HEIGHT, CAL_BODY_HEIGHT})
            utPutAt<int32_t>(d, at, scaled(utGetAt<int32_t>(d, at), newH, oldH));
    }
    obRecSetRect(r.get(), target);
    const LOGFONTA font = utGetAt<LOGFONTA>(d, CAL_HEAD_FONT);
    Measure m;
    utPutAt<uint8_t>(d, CAL_NAME_FORM,
                     calNameFormForWidth(m.dc(), &font, (target->right - target->left) / 7));
    return 1;
}

uint8_t calNameFormForWidth(HDC dc, const LOGFONTA *font, int32_t width)
{
    Measure m(dc);
    std::string names[14];
    for (int day = 0; day < 7; ++day) {
        names[day] = dayName(day, CAL_NAMES_FULL);
        names[7 + day] = dayName(day, CAL_NAMES_THREE);
    }
    const int32_t full = m.widest(*font, names, 7).cx;
    const int32_t three = m.widest(*font, names + 7, 7).cx;
    if (width > full)
        return CAL_NAMES_FULL;
    return width > three ? CAL_NAMES_THREE : CAL_NAMES_LETTER;
}

INT_PTR calEditMonth(HWND owner, uint8_t *data)
{
    if (!data)
        return 0;
    return DialogBoxParamA(GetModuleHandleA(nullptr), "CDW_EDIT", owner, editMonthProc,
                           (LPARAM)data);
}

void calDefaultRect(int fontPoints, RECT *r)
{
    *r = {0, 0, 14 * fontPoints * 20, 11 * fontPoints * 20};
}

void calSetArrowCall(CalArrowCall call) { g_arrowCall = call; }

void calRegisterType()
{
    // The model's record of the type gives its size and file form.
    ObTypeProcs calendar = obTypeProcs(OBT_CALENDAR);
    calendar.draw = calDraw;
    calendar.rescale = calRescale;
    obRegisterType(OBT_CALENDAR, &calendar);
}
