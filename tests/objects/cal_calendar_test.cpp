// The calendar object: a new record and its layout, day cells and hits,
// stepping months, drawing on real pixels (frame and background, grid
// lines, today's mark, weekday names by fit), rescaling, the "Select
// Month" dialog, damaged records, and a document round trip.
#include "tests/objects/fill_kit.h"
#include "tests/model/qmf_kit.h"
#include "tests/support/kit_dialog.h"
#include "objects/cal_calendar.h"
#include "app/app_hooks.h"
#include "model/fm_form.h"
#include "model/ob_transform.h"
#include "model/ob_types.h"
#include "model/pg_dir.h"
#include "support/ut_bytes.h"
#include "support/ut_date.h"

using namespace filltest;

namespace {

class Calendars : public FillTest {};

LOGFONTA font(int32_t height = -200)
{
    LOGFONTA lf = {};
    lf.lfHeight = height;
    lf.lfWeight = FW_NORMAL;
    strcpy(lf.lfFaceName, "Arial");
    return lf;
}

// A new calendar in the twips rectangle, its colours set for pixel checks:
// black lines, blue text, yellow background.
MemHandle calendar(int32_t l, int32_t t, int32_t r, int32_t b)
{
    MemHandle h = obtest::make(OBT_CALENDAR, 0, 0, 10, 10);
    RECT box = {l, t, r, b};
    LOGFONTA lf = font();
    MemHandle g = calNew(h, &box, &lf);
    ObLock rec(g);
    rec->penColour = kBlack;
    rec->fillColour = kBlue;
    rec->backColour = kYellow;
    rec->layer = 1;
    return g;
}

uint8_t *dataOf(const ObLock &r) { return obRecData(r.get()); }

void setMonth(MemHandle h, int16_t year, int16_t month)
{
    ObLock r(h);
    utPutAt<int16_t>(dataOf(r), CAL_YEAR, year);
    utPutAt<int16_t>(dataOf(r), CAL_MONTH, month);
}

CalGeometry geometry(MemHandle h)
{
    CalGeometry g = {};
    ObLock r(h);
    EXPECT_TRUE(calGetGeometry(r.get(), &g));
    return g;
}

POINT centre(const RECT &r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }
RECT pixels(const RECT &r) { return {r.left / 15, r.top / 15, r.right / 15, r.bottom / 15}; }

TEST_F(Calendars, NewRecordAndLayout)
{
    MemHandle h = calendar(px(10), px(10), px(10) + 4000, px(10) + 3000);
    {
        ObLock r(h);
        const uint8_t *d = dataOf(r);
        EXPECT_EQ(394u, r->length);
        EXPECT_EQ(kObHeadSize + kCalFixedSize, r->length);
        EXPECT_EQ(308u, utGetAt<uint32_t>(d, CAL_SIZE));
        EXPECT_EQ(20, utGetAt<uint16_t>(d, CAL_VERSION_AT));
        EXPECT_EQ(1, d[CAL_GRID]);
        EXPECT_EQ(6, d[CAL_ROWS]);
        EXPECT_EQ(1, d[CAL_HEAD_SHOWN]);
        EXPECT_EQ(700, utGetAt<LOGFONTA>(d, CAL_TITLE_FONT).lfWeight);
        EXPECT_EQ(FW_NORMAL, utGetAt<LOGFONTA>(d, CAL_DAY_FONT).lfWeight);
        for (uint32_t at : {CAL_TITLE_ALIGN, CAL_HEAD_ALIGN, CAL_DAY_ALIGN})
            EXPECT_EQ(9, utGetAt<uint16_t>(d, at)) << at;
        EXPECT_EQ(CALF_TITLE, utGetAt<uint16_t>(d, CAL_FLAGS));
        EXPECT_EQ(0u, utGetAt<uint32_t>(d, CAL_FRAME_VALUE));
        int16_t y, m, day;
        utGetToday(&y, &m, &day);
        EXPECT_EQ(y, utGetAt<int16_t>(d, CAL_YEAR));
        EXPECT_EQ(m, utGetAt<int16_t>(d, CAL_MONTH));
        EXPECT_GT(utGetAt<int32_t>(d, CAL_TITLE_HEIGHT), 0);
        EXPECT_GT(utGetAt<int32_t>(d, CAL_HEAD_HEIGHT), 0);
    }
    EXPECT_EQ(394u, obCalcSize(h, 0));
    CalGeometry g = geometry(h);
    EXPECT_EQ(0, (g.days.right - g.days.left) % 7);
    EXPECT_EQ(0, (g.days.bottom - g.days.top) % 6);
    EXPECT_EQ(g.days.bottom - g.days.top,
              utGetAt<int32_t>(obRecData(ObLock(h).get()), CAL_BODY_HEIGHT));

    // February 2003 begins on a Saturday: day 1 in column 6 of row 0, its
    // 28 days in five rows.
    setMonth(h, 2003, 1);
    g = geometry(h);
    RECT first, last;
    ASSERT_TRUE(calDayCell(g, 1, &first));
    EXPECT_EQ(g.days.left + 6 * g.cellWidth, first.left);
    EXPECT_EQ(g.days.top, first.top);
    ASSERT_TRUE(calDayCell(g, 28, &last));
    EXPECT_EQ(g.days.top + 4 * g.cellHeight, last.top);
    EXPECT_FALSE(calDayCell(g, 29, &last));
    int16_t y, m, d;
    EXPECT_TRUE(calHitDay(h, centre(first), &y, &m, &d));
    EXPECT_EQ(2003, y);
    EXPECT_EQ(1, m);
    EXPECT_EQ(1, d);
    POINT blank = {g.days.left + g.cellWidth / 2, g.days.top + g.cellHeight / 2};
    EXPECT_FALSE(calHitDay(h, blank, &y, &m, &d));
    EXPECT_EQ(0, d);
    POINT sixthRow = {g.days.left + g.cellWidth / 2, g.days.top + 5 * g.cellHeight + 5};
    EXPECT_FALSE(calHitDay(h, sixthRow, &y, &m, &d));
    POINT title = {g.box.left + 10, g.box.top + 10};
    EXPECT_FALSE(calHitDay(h, title, &y, &m, &d));

    RECT r;
    calDefaultRect(12, &r);
    EXPECT_EQ(0, r.left);
    EXPECT_EQ(0, r.top);
    EXPECT_EQ(3360, r.right);
    EXPECT_EQ(2640, r.bottom);
    obFreeTree(h);
}

TEST_F(Calendars, LayoutWidensForTheTitleAndWeekdayNames)
{
    MemHandle h = calendar(0, 0, 300, 3000);
    CalGeometry g = geometry(h);
    EXPECT_EQ(0, (g.box.right - g.box.left) % 7);
    // At least wide enough for the full weekday names side by side (the
    // width is then cut to a multiple of 7).
    LOGFONTA lf = font();
    HDC dc = CreateCompatibleDC(nullptr);
    dmSetMapping(dc);
    HFONT f = CreateFontIndirectA(&lf);
    HGDIOBJ old = SelectObject(dc, f);
    int32_t sum = 0;
    for (int day = 0; day < 7; ++day) {
        char name[64];
        utGetDayName(name, day);
        SIZE s;
        GetTextExtentPoint32A(dc, name, (int)strlen(name), &s);
        sum += s.cx;
    }
    SelectObject(dc, old);
    DeleteObject(f);
    DeleteDC(dc);
    EXPECT_GE(g.box.right - g.box.left + 6, sum + 2 * kCalSideRoom);
    EXPECT_LT(g.box.right - g.box.left, sum + 2 * kCalSideRoom + 400);
    obFreeTree(h);
}

TEST_F(Calendars, SteppingMonths)
{
    MemHandle h = calendar(0, 0, 4200, 3000);
    setMonth(h, 2002, 11);
    calNextMonth(h);
    CalGeometry g = geometry(h);
    EXPECT_EQ(2003, g.year);
    EXPECT_EQ(0, g.month);
    calPrevMonth(h);
    g = geometry(h);
    EXPECT_EQ(2002, g.year);
    EXPECT_EQ(11, g.month);

    // Following today: the stored month does not count; a step fixes the
    // calendar to today's month, then moves it.
    setMonth(h, -1, 3);
    int16_t y, m, d;
    utGetToday(&y, &m, &d);
    g = geometry(h);
    EXPECT_EQ(y, g.year);
    EXPECT_EQ(m, g.month);
    calNextMonth(h);
    utNextMonth(&y, &m);
    {
        ObLock r(h);
        EXPECT_EQ(y, utGetAt<int16_t>(dataOf(r), CAL_YEAR));
        EXPECT_EQ(m, utGetAt<int16_t>(dataOf(r), CAL_MONTH));
        EXPECT_GE(utGetAt<int16_t>(dataOf(r), CAL_YEAR), 0);
    }
    obFreeTree(h);
}

// ---- pixels -----------------------------------------------------------------------------------

TEST_F(Calendars, FrameBackgroundAndGridLines)
{
    MemHandle h = calendar(px(10), px(10), px(10) + 4200, px(10) + 3600);
    setMonth(h, 2003, 1);
    CalGeometry g = geometry(h);
    const RECT box = pixels(g.box);
    {
        // No grid, fill kind 1: the background colour inside the outline.
        ObLock r(h);
        r->fillKind = 1;
        dataOf(r)[CAL_GRID] = 0;
    }
    Page filled(box.right + 20, box.bottom + 20);
    filled.draw(h);
    const int inside = (box.right - box.left - 2) * (box.bottom - box.top - 2);
    EXPECT_GT(filled.in(kYellow, box.left + 1, box.top + 1, box.right - 1, box.bottom - 1),
              inside / 2);
    EXPECT_GE(filled.in(kBlack, box.left, box.top + 2, box.left + 1, box.bottom - 2),
              box.bottom - box.top - 6) << "the left edge of the outline";
    EXPECT_EQ(0, filled.in(kYellow, 0, 0, box.left, box.bottom)) << "nothing outside";

    // Without the fill the background stays white.
    ObLock(h)->fillKind = 0;
    Page hollow(box.right + 20, box.bottom + 20);
    hollow.draw(h);
    EXPECT_EQ(0, hollow.count(kYellow));

    // With grid lines: six vertical lines from the heading row down, and
    // rows - 1 between the week rows.
    {
        ObLock r(h);
        dataOf(r)[CAL_GRID] = 1;
    }
    for (int rows : {6, 4}) {
        {
            ObLock r(h);
            dataOf(r)[CAL_ROWS] = (uint8_t)rows;
        }
        g = geometry(h);
        ASSERT_EQ(rows, g.rows);
        Page ruled(box.right + 20, box.bottom + 20);
        ruled.draw(h);
        const RECT days = pixels(g.days);
        for (int k = 1; k <= 6; ++k) {
            const int x = (g.days.left + k * g.cellWidth) / 15;
            EXPECT_GE(ruled.in(kBlack, x - 1, days.top + 2, x + 2, days.bottom - 2),
                      days.bottom - days.top - 6) << "column line " << k;
        }
        for (int k = 1; k < rows; ++k) {
            const int y = (g.days.top + k * g.cellHeight) / 15;
            EXPECT_GE(ruled.in(kBlack, days.left + 2, y - 1, days.right - 2, y + 2),
                      days.right - days.left - 6) << "row line " << k << " of " << rows;
        }
        // Between the row lines there is no ruled line of the grid.
        const int mid = (g.days.top + g.cellHeight / 2) / 15 + 1;
        const int x0 = days.left + 2, x1 = (g.days.left + g.cellWidth) / 15 - 2;
        EXPECT_LT(ruled.in(kBlack, x0, mid, x1, mid + 1), (x1 - x0) / 2);
    }
    obFreeTree(h);
}

TEST_F(Calendars, TodayUnderlinedOrInverted)
{
    MemHandle h = calendar(px(10), px(10), px(10) + 4200, px(10) + 3600);
    CalGeometry g = geometry(h);
    int16_t y, m, d;
    utGetToday(&y, &m, &d);
    RECT cell;
    ASSERT_TRUE(calDayCell(g, d, &cell));
    RECT in = pixels(cell);
    InflateRect(&in, -2, -2);
    const RECT box = pixels(g.box);
    auto draw = [&](uint16_t flags, int16_t style) {
        {
            ObLock r(h);
            utPutAt<uint16_t>(dataOf(r), CAL_FLAGS, flags);
            utPutAt<int16_t>(dataOf(r), CAL_TODAY_STYLE, style);
        }
        auto p = std::make_unique<Page>(box.right + 20, box.bottom + 20);
        p->draw(h);
        return p;
    };
    auto plain = draw(CALF_TITLE, 0);
    auto inverted = draw(CALF_TITLE | CALF_TODAY, 0);
    int inverse = 0, total = 0;
    for (int py = in.top; py < in.bottom; ++py)
        for (int px_ = in.left; px_ < in.right; ++px_, ++total)
            inverse += inverted->pixel(px_, py) == (plain->pixel(px_, py) ^ 0xFFFFFF);
    EXPECT_EQ(total, inverse) << "today's cell is the inverse of the unmarked drawing";
    EXPECT_EQ(0, plain->diff(*draw(CALF_TITLE, 8))) << "no mark without flag bit 1";

    auto underlined = draw(CALF_TITLE | CALF_TODAY, CAL_TODAY_UNDERLINE);
    EXPECT_GT(underlined->countDark(in), plain->countDark(in)) << "the number is underlined";
    EXPECT_GT(underlined->count(kWhite, in), (in.right - in.left) * (in.bottom - in.top) / 2)
        << "the cell is not inverted";
    // Bit 4 also inverts.
    auto both = draw(CALF_TITLE | CALF_TODAY, CAL_TODAY_UNDERLINE | CAL_TODAY_INVERT);
    EXPECT_LT(both->count(kWhite, in), (in.right - in.left) * (in.bottom - in.top) / 2);
    // Another month shows no mark.
    setMonth(h, y + 1, m);
    auto other = draw(CALF_TITLE | CALF_TODAY, 0);
    setMonth(h, y + 1, m);
    EXPECT_EQ(0, other->diff(*draw(CALF_TITLE, 0)));
    obFreeTree(h);
}

TEST_F(Calendars, NarrowColumnsShowSingleLettersByFit)
{
    // Columns of 210 twips (14 pixels) are narrower than "Wed" in a
    // 20-point heading font.
    MemHandle h = calendar(px(5), px(5), px(5) + 1470, px(5) + 3000);
    {
        ObLock r(h);
        utPutAt(dataOf(r), CAL_HEAD_FONT, font(-400));
        RECT box = {px(5), px(5), px(5) + 1470, px(5) + 3000};
        obRecSetRect(r.get(), &box);
    }
    CalGeometry g = geometry(h);
    ASSERT_EQ(210, g.cellWidth);
    LOGFONTA heading = font(-400);
    HDC dc = CreateCompatibleDC(nullptr);
    dmSetMapping(dc);
    EXPECT_EQ(CAL_NAMES_LETTER, calNameFormForWidth(dc, &heading, 210));
    EXPECT_EQ(CAL_NAMES_FULL, calNameFormForWidth(dc, &heading, 20000));
    DeleteDC(dc);
    const RECT box = pixels(g.box);
    auto draw = [&](uint8_t byFit, uint8_t form) {
        {
            ObLock r(h);
            dataOf(r)[CAL_FORM_BY_FIT] = byFit;
            dataOf(r)[CAL_NAME_FORM] = form;
        }
        auto p = std::make_unique<Page>(box.right + 20, box.bottom + 20);
        p->draw(h);
        return p;
    };
    auto fit = draw(1, CAL_NAMES_FULL);
    EXPECT_EQ(0, fit->diff(*draw(0, CAL_NAMES_LETTER))) << "by fit: one letter";
    EXPECT_NE(0, fit->diff(*draw(0, CAL_NAMES_THREE))) << "three letters differ";
    obFreeTree(h);
}

TEST_F(Calendars, ArrowsAreDrawnThroughTheTextLayersFigures)
{
    MemHandle h = calendar(px(10), px(10), px(10) + 4200, px(10) + 3600);
    struct Call {
        RECT r;
        int figure;
        COLORREF colour;
    };
    static std::vector<Call> calls;
    calls.clear();
    calSetArrowCall([](HDC, const RECT *r, int figure, COLORREF colour) {
        calls.push_back({*r, figure, colour});
    });
    Page page(400, 400);
    page.draw(h);
    EXPECT_TRUE(calls.empty()) << "no arrows without flag bit 2";
    {
        ObLock r(h);
        utPutAt<uint16_t>(dataOf(r), CAL_FLAGS, CALF_TITLE | CALF_ARROWS);
    }
    page.draw(h);
    CalGeometry g = geometry(h);
    ASSERT_EQ(2u, calls.size());
    EXPECT_EQ(43, calls[0].figure);
    EXPECT_EQ(45, calls[1].figure);
    EXPECT_EQ(kBlue, calls[0].colour);
    EXPECT_EQ(g.box.right, calls[0].r.right);
    EXPECT_EQ(18 * 15, calls[0].r.right - calls[0].r.left);
    EXPECT_EQ(calls[0].r.left, calls[1].r.right);
    EXPECT_LE(calls[0].r.bottom, g.title.bottom);
    appInstallHooks();   // the text layer's figures again
    obFreeTree(h);
}

TEST_F(Calendars, RescaleScalesTheHeights)
{
    MemHandle h = calendar(0, 0, 4200, 3000);
    int32_t before[3], after[3];
    const uint32_t at[3] = {CAL_TITLE_HEIGHT, CAL_HEAD_HEIGHT, CAL_BODY_HEIGHT};
    RECT box;
    {
        ObLock r(h);
        for (int i = 0; i < 3; ++i)
            before[i] = utGetAt<int32_t>(dataOf(r), at[i]);
        obRecGetRect(r.get(), &box);
    }
    RECT twice = {box.left, box.top, box.right, box.top + 2 * (box.bottom - box.top)};
    h = obFitToRect(h, &twice);
    {
        ObLock r(h);
        for (int i = 0; i < 3; ++i)
            after[i] = utGetAt<int32_t>(dataOf(r), at[i]);
        RECT now;
        obRecGetRect(r.get(), &now);
        EXPECT_EQ(twice.bottom - twice.top, now.bottom - now.top);
    }
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(2 * before[i], after[i]) << i;
    // A narrow target chooses one letter for the weekday names.
    RECT narrow = {0, 0, 700, 2000};
    h = obFitToRect(h, &narrow);
    EXPECT_EQ(CAL_NAMES_LETTER, obRecData(ObLock(h).get())[CAL_NAME_FORM]);
    obFreeTree(h);
}

TEST_F(Calendars, DamagedRecordsDrawAndHitNothingOutsideThemselves)
{
    MemHandle h = calendar(px(10), px(10), px(10) + 4200, px(10) + 3600);
    const RECT box = pixels(geometry(h).box);
    for (uint8_t rows : {0, 6, 7, 200}) {
        {
            ObLock r(h);
            dataOf(r)[CAL_ROWS] = rows;
        }
        EXPECT_EQ(6, geometry(h).rows) << (int)rows;
    }
    {
        ObLock r(h);
        dataOf(r)[CAL_ROWS] = 1;
    }
    EXPECT_EQ(1, geometry(h).rows);
    // Heights that leave no day area: nothing drawn, nothing hit.
    for (int32_t title : {1 << 30, 3600, -5000}) {
        {
            ObLock r(h);
            utPutAt<int32_t>(dataOf(r), CAL_TITLE_HEIGHT, title);
            utPutAt<int32_t>(dataOf(r), CAL_HEAD_HEIGHT, title < 0 ? -1 : 0);
        }
        Page page(box.right + 20, box.bottom + 20);
        page.draw(h);
        int16_t y, m, d;
        POINT pt = {px(10) + 2000, px(10) + 3000};
        if (title > 0) {
            EXPECT_EQ(0, page.countDark()) << title;
            EXPECT_FALSE(calHitDay(h, pt, &y, &m, &d));
        } else {
            // Negative heights count as none: the day area is the whole box.
            CalGeometry g = geometry(h);
            EXPECT_EQ(g.box.top, g.days.top);
        }
    }
    // A record too short for the data is not read.
    MemHandle shortRec = obtest::make(OBT_CALENDAR, 0, 0, 1000, 1000, 100);
    Page page(100, 100);
    page.draw(shortRec);
    EXPECT_EQ(0, page.countDark());
    int16_t y, m, d;
    EXPECT_FALSE(calHitDay(shortRec, POINT{500, 500}, &y, &m, &d));
    calNextMonth(shortRec);
    calLayoutHandle(shortRec);
    obFreeTree(shortRec);
    obFreeTree(h);
}

// ---- Select Month ------------------------------------------------------------------------------

TEST_F(Calendars, SelectMonthDialog)
{
    qmtest::BoxRecorder boxes;
    uint8_t data[kCalFixedSize] = {};
    utPutAt<int16_t>(data, CAL_YEAR, 2002);
    utPutAt<int16_t>(data, CAL_MONTH, 11);
    std::string caption, year;
    int month = -1;
    std::string spunUp, spunDown;
    {
        qmtest::DialogDriver drive({
            [&](HWND d) {
                caption = qmtest::windowText(d);
                year = qmtest::itemText(d, 100);
                month = (int)SendDlgItemMessageA(d, 102, CB_GETCURSEL, 0, 0);
                qmtest::typeInto(d, 100, "1970");
                qmtest::pressSpin(d, 101, SB_LINEDOWN);
                spunDown = qmtest::itemText(d, 100);
                qmtest::typeInto(d, 100, "1969");   // typed, it is taken
                qmtest::typeInto(d, 100, "19x");
                qmtest::pressButton(d, IDOK);
            },
            [&](HWND d) {
                qmtest::typeInto(d, 100, "1969");
                qmtest::chooseItem(d, 102, 2);
                qmtest::pressButton(d, IDOK);
            },
        });
        EXPECT_EQ(1, calEditMonth(nullptr, data));
    }
    EXPECT_EQ("Select Month", caption);
    EXPECT_EQ("2002", year);
    EXPECT_EQ(11, month);
    EXPECT_EQ("3000", spunDown) << "the spin wraps within 1970..3000";
    ASSERT_EQ(1u, boxes.count());
    EXPECT_EQ("Must be an integer", boxes.last().text);
    EXPECT_EQ(1969, utGetAt<int16_t>(data, CAL_YEAR));
    EXPECT_EQ(2, utGetAt<int16_t>(data, CAL_MONTH));
    {
        qmtest::DialogDriver drive({[](HWND d) {
            qmtest::typeInto(d, 100, "2010");
            qmtest::pressButton(d, IDCANCEL);
        }});
        EXPECT_EQ(0, calEditMonth(nullptr, data));
    }
    EXPECT_EQ(1969, utGetAt<int16_t>(data, CAL_YEAR));
}

// ---- files ---------------------------------------------------------------------------------------

TEST_F(Calendars, DocumentRoundTripKeepsEveryByte)
{
    qmtest::TempDir dir;
    qmtest::BoxRecorder boxes;
    MemHandle h = calendar(1000, 1000, 5200, 4600);
    // Form 3 (first letters), frame value 5, a tail of 6 bytes.
    const uint8_t tail[6] = {1, 2, 3, 4, 5, 6};
    h = obResize(h, kObHeadSize + kCalFixedSize + sizeof tail);
    {
        ObLock r(h);
        r->length = kObHeadSize + kCalFixedSize + sizeof tail;
        uint8_t *d = dataOf(r);
        d[CAL_NAME_FORM] = 3;
        utPutAt<uint32_t>(d, CAL_FRAME_VALUE, 5);
        utPutAt<uint16_t>(d, CAL_FRAME_STYLE, 1);
        utPutAt<int16_t>(d, CAL_TODAY_STYLE, 8);
        utPutAt<uint32_t>(d, CAL_TAIL, sizeof tail);
        memcpy(d + kCalFixedSize, tail, sizeof tail);
    }
    const qmftest::Bytes memory = obtest::dataOf(h);
    MemHandle form = fmNew();
    MemHandle page = pgtest::newPage("Month");
    pgAppendObject(page, h);
    pgDirAppend(form, page);
    const std::string path = dir.file("calendar.qm");
    qmftest::documentBytes(form, path);
    MemHandle read = 0;
    MemHandle back = qmfOpenDocument(nullptr, path.c_str(), 0, &read);
    ASSERT_NE(0u, back) << boxes.texts();
    MemHandle cal = pgGetFirstObject(read);
    ASSERT_EQ(OBT_CALENDAR, obGetType(cal));
    EXPECT_EQ(memory, obtest::dataOf(cal));
    {
        ObLock r(cal);
        EXPECT_EQ(3, dataOf(r)[CAL_NAME_FORM]);
        EXPECT_EQ(5u, utGetAt<uint32_t>(dataOf(r), CAL_FRAME_VALUE));
        EXPECT_EQ(6u, utGetAt<uint32_t>(dataOf(r), CAL_TAIL));
    }
    fmFree(back);
    fmFree(form);
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
}

TEST_F(Calendars, VersionZeroCalendarsGetTheirFillOnReading)
{
    qmtest::BoxRecorder boxes;
    for (uint16_t transparent : {(uint16_t)0, (uint16_t)CALF_TRANSPARENT}) {
        MemHandle h = calendar(0, 0, 4200, 3000);
        {
            ObLock r(h);
            r->fillKind = 0;
            utPutAt<uint16_t>(dataOf(r), CAL_VERSION_AT, 0);
            utPutAt<uint16_t>(dataOf(r), CAL_FLAGS, CALF_TITLE | transparent);
        }
        MemHandle packet = qmfMakeFileRecord(h);
        uint16_t flags[7];
        MemHandle back = 0;
        ASSERT_EQ(QMF_RECORD_OK, qmfRecordFromFile(packet, &back, flags));
        {
            ObLock r(back);
            EXPECT_EQ(transparent ? 0 : 1, r->fillKind);
            EXPECT_EQ(CALF_TITLE, utGetAt<uint16_t>(dataOf(r), CAL_FLAGS));
        }
        utFreeHandle(packet);
        obFreeTree(back);
        obFreeTree(h);
    }
    EXPECT_EQ(0u, boxes.count()) << boxes.texts();
}

}  // namespace
