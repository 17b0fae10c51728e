// The calendar object (type 52): one month with an optional title (month
// name and year, with two small month arrows), a row of weekday names and
// a grid of 7 columns by the week rows (6 in new objects) with the day
// numbers, optionally ruled, today's date marked. It follows the current
// date while its year is negative, else shows a fixed month.
//
// The type data: 308 fixed bytes behind the head and the name (the
// offsets below), then a tail whose byte count is the u32 at 288. The
// file form is the model's (model/qmf_convert.h), which keeps every field.
//
// Geometry: the title area is the top title-height of the object's box
// (when shown), the heading row follows, the day area is the rest; a cell
// is day-area width / 7 wide and day-area height / rows high. Day d of a
// month whose first day falls on weekday f sits in column (f + d - 1) % 7
// and row (f + d - 1) / 7.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"
#include "model/qmf_convert.h"

const uint16_t kCalVersion = 20;

// Offsets in the calendar's type data.
enum : uint32_t {
    CAL_SIZE = 0, CAL_YEAR = 6, CAL_MONTH = 8, CAL_LAYOUT = 10, CAL_FRAME_STYLE = 12,
    CAL_CELL_FLAGS = 14, CAL_GRID = 16, CAL_ROWS = 17, CAL_TITLE_HEIGHT = 20,
    CAL_TITLE_FONT = 24, CAL_TITLE_ALIGN = 84, CAL_FLAGS = 86, CAL_HEAD_HEIGHT = 88,
    CAL_HEAD_FONT = 92, CAL_HEAD_ALIGN = 152, CAL_HEAD_SHOWN = 154, CAL_FORM_BY_FIT = 155,
    CAL_DAY_FONT = 156, CAL_DAY_ALIGN = 218, CAL_SPARE_FONT = 220, CAL_TAIL = 288,
    CAL_BODY_HEIGHT = 292, CAL_TODAY_STYLE = 296, CAL_NAME_FORM = 299, CAL_FRAME_VALUE = 300,
    CAL_VERSION_AT = 306,
};
// Bits of the flags word at 86.
enum : uint16_t {
    CALF_TITLE = 0x1,        // title shown
    CALF_TODAY = 0x2,        // mark today
    CALF_ARROWS = 0x4,       // month arrows in the title
    CALF_NO_OUTLINE = 0x8,   // the frame's line style taken as "none"
    CALF_TRANSPARENT = 0x10, // documents of format version 0 only
};
// Bits of the today style at 296 (0: invert today's cell only).
enum : int16_t {
    CAL_TODAY_BOLD = 0x2, CAL_TODAY_ITALIC = 0x4, CAL_TODAY_UNDERLINE = 0x8,
    CAL_TODAY_INVERT = 0x10,
};
// Weekday-name forms at 299 (any other value: the first three letters).
enum : uint8_t { CAL_NAMES_FULL = 2, CAL_NAMES_LETTER = 3, CAL_NAMES_THREE = 1 };
const int32_t kCalSideRoom = 60;   // twips each side of the title, headings and numbers
const int kCalArrowPixels = 18;    // width of a month arrow's square

// Where the parts of a calendar lie (twips), from its record.
struct CalGeometry {
    RECT box;              // the object's box
    RECT title;            // empty (height 0) when the title is hidden
    RECT heading;          // the weekday row
    RECT days;             // the day area
    int rows;              // week rows, 1..6
    int32_t cellWidth, cellHeight;
    int16_t year, month;   // the month shown (today's when following)
    int firstWeekday;      // of the shown month, 0 = Sunday
};
// FALSE when the record does not hold the type data or the day area has
// no size (nothing is drawn or hit then).
BOOL calGetGeometry(const ObjectRecord *rec, CalGeometry *g);
// The cell of a day of the shown month; FALSE for a day outside it.
BOOL calDayCell(const CalGeometry &g, int day, RECT *cell);

// A new calendar in the head template's handle h: the current month, grid
// lines, 6 rows, every font from the LOGFONT (the title's bold), the
// alignment words 9, title and headings shown, version 20; 86 + 308 bytes
// (no name), placed at the rectangle and laid out. The valid handle, or 0.
MemHandle calNew(MemHandle h, const RECT *rect, const LOGFONTA *font);
// Recomputes the heights and the box: the heights split a new object's
// height, the title and the weekday names widen it when they need room,
// the width becomes a multiple of 7 and the day area a multiple of the
// rows (at least a row of digits high per row).
void calLayout(ObjectRecord *rec);
void calLayoutHandle(MemHandle h);
// Draws the calendar into a DC mapped to twips.
void calDraw(HDC dc, ObjectRecord *rec);
void calDrawHandle(HDC dc, MemHandle h);
// 1 and the date when the point lies on a day cell of the shown month.
BOOL calHitDay(MemHandle h, POINT pt, int16_t *year, int16_t *month, int16_t *day);
// One month on or back (a calendar following today is first fixed to
// today's month), then laid out again.
void calNextMonth(MemHandle h);
void calPrevMonth(MemHandle h);
// To a target box: the heights scaled by new height / old height, the box
// stored, the weekday-name form chosen by fit for the new column width.
int calRescale(MemHandle *h, const RECT *target);
// The weekday-name form that fits a column width in the heading font:
// full names when wider than the widest full name, else three letters
// when wider than the widest three letters, else one letter.
uint8_t calNameFormForWidth(HDC dc, const LOGFONTA *font, int32_t width);
// "Select Month" (CDW_EDIT) on the type data: year and month; 1 on OK.
INT_PTR calEditMonth(HWND owner, uint8_t *data);
// (0, 0, 14 n points, 11 n points) in twips for a font of n points.
void calDefaultRect(int fontPoints, RECT *r);

// The month arrows are bullet figures of the text layer (43 next, 45
// previous), which lends its drawing at start-up.
typedef void (*CalArrowCall)(HDC dc, const RECT *rect, int figure, COLORREF colour);
void calSetArrowCall(CalArrowCall call);

// Enters type 52's drawing and rescaling beside the model's size and file
// form.
void calRegisterType();
