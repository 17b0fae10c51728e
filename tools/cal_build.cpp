// New calendar objects.
#include "tools/cal_build.h"
#include "support/dm_map.h"
#include "support/ut_bytes.h"
#include <string.h>
#include <stdio.h>
#include <algorithm>

namespace {

const int32_t kCalSideRoom = 60;   // twips each side of the title and headings

// Text extents in a font on a mapped measuring DC.
class Measure {
public:
    Measure() : dc_(CreateCompatibleDC(nullptr)) { if (dc_) dmSetMapping(dc_); }
    ~Measure() { if (dc_) DeleteDC(dc_); }
    SIZE text(const LOGFONTA &lf, const char *s) const
    {
        SIZE size = {0, 0};
        if (!dc_)
            return size;
        HFONT font = CreateFontIndirectA(&lf);
        HGDIOBJ old = SelectObject(dc_, font);
        GetTextExtentPoint32A(dc_, s, (int)strlen(s), &size);
        SelectObject(dc_, old);
        DeleteObject(font);
        return size;
    }
private:
    HDC dc_;
};

// The month and weekday names of the user's locale (Sunday first).
void monthName(int month, char *buf, int size)
{
    if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SMONTHNAME1 + month, buf, size))
        buf[0] = 0;
}

void dayName(int day, char *buf, int size)
{
    // The locale lists Monday first.
    LCTYPE id = day == 0 ? LOCALE_SDAYNAME7 : LOCALE_SDAYNAME1 + (day - 1);
    if (!GetLocaleInfoA(LOCALE_USER_DEFAULT, id, buf, size))
        buf[0] = 0;
}

void layout(ObjectRecord *rec)
{
    uint8_t *d = obRecData(rec);
    RECT r;
    obRecGetRect(rec, &r);
    bool titleShown = utGetAt<uint16_t>(d, CAL_FLAGS) & 1;
    bool headShown = utGetAt<uint8_t>(d, CAL_HEAD_SHOWN) != 0;
    int rows = utGetAt<uint8_t>(d, CAL_ROWS);
    if (rows == 0)
        rows = 6;
    int32_t titleH = utGetAt<int32_t>(d, CAL_TITLE_HEIGHT);
    int32_t headH = utGetAt<int32_t>(d, CAL_HEAD_HEIGHT);
    if (utGetAt<int32_t>(d, CAL_BODY_HEIGHT) == 0) {
        int parts = 6 + (titleShown ? 1 : 0) + (headShown ? 1 : 0);
        int32_t part = (r.bottom - r.top) / parts;
        titleH = titleShown ? part : 0;
        headH = headShown ? part : 0;
    }
    Measure m;
    LOGFONTA titleFont = utGetAt<LOGFONTA>(d, CAL_TITLE_FONT);
    LOGFONTA headFont = utGetAt<LOGFONTA>(d, CAL_HEAD_FONT);
    if (titleShown) {
        char name[64], text[96];
        monthName(utGetAt<int16_t>(d, CAL_MONTH), name, sizeof name);
        snprintf(text, sizeof text, "%s %d", name, utGetAt<int16_t>(d, CAL_YEAR));
        SIZE s = m.text(titleFont, text);
        r.right = std::max<LONG>(r.right, r.left + s.cx + 2 * kCalSideRoom);
        titleH = titleH ? std::max<int32_t>(titleH, s.cy) : s.cy * 5 / 4;
    } else {
        titleH = 0;
    }
    {
        int32_t sum = 0, tallest = 0;
        for (int day = 0; day < 7; ++day) {
            char name[64];
            dayName(day, name, sizeof name);
            SIZE s = m.text(headFont, name);
            sum = std::min<int32_t>(32000, sum + s.cx);
            tallest = std::max<int32_t>(tallest, s.cy);
        }
        headH = headH ? std::max(headH, tallest) : tallest * 5 / 4;
        r.right = std::max<LONG>(r.right, r.left + sum + 2 * kCalSideRoom);
    }
    int32_t top = r.top + titleH + headH;
    int32_t width = (r.right - r.left) / 7 * 7;
    int32_t body = std::max<int32_t>(0, r.bottom - top) / 6 * 6;
    SIZE digits = m.text(headFont, "5555555555");
    body = std::max<int32_t>(body, digits.cy * rows);
    r.right = r.left + width;
    r.bottom = top + body;
    utPutAt<int32_t>(d, CAL_TITLE_HEIGHT, titleH);
    utPutAt<int32_t>(d, CAL_HEAD_HEIGHT, headH);
    utPutAt<int32_t>(d, CAL_BODY_HEIGHT, body);
    obRecSetRect(rec, &r);
}

}  // namespace

MemHandle calBuild(MemHandle h, const RECT *bounds, const void *fontRecord)
{
    if (!bounds || !fontRecord)
        return 0;
    MemHandle g = obResize(h, kObHeadSize + kCalDataSize);
    if (!g)
        return 0;
    ObLock r(g);
    r->nameLength = 0;
    r->length = kObHeadSize + kCalDataSize;
    uint8_t *d = obRecData(r.get());
    memset(d, 0, kCalDataSize);
    SYSTEMTIME now;
    GetLocalTime(&now);
    utPutAt<uint32_t>(d, CAL_SIZE, kCalDataSize);
    utPutAt<int16_t>(d, CAL_YEAR, (int16_t)now.wYear);
    utPutAt<int16_t>(d, CAL_MONTH, (int16_t)(now.wMonth - 1));
    utPutAt<uint8_t>(d, CAL_GRID, 1);
    utPutAt<uint8_t>(d, CAL_ROWS, 6);
    LOGFONTA lf;
    memcpy(&lf, fontRecord, sizeof lf);
    for (uint32_t at : {CAL_HEAD_FONT, CAL_DAY_FONT, CAL_SPARE_FONT})
        utPutAt(d, at, lf);
    LOGFONTA bold = lf;
    bold.lfWeight = FW_BOLD;
    utPutAt(d, CAL_TITLE_FONT, bold);
    for (uint32_t at : {CAL_TITLE_ALIGN, CAL_HEAD_ALIGN, CAL_DAY_ALIGN})
        utPutAt<uint16_t>(d, at, 9);
    utPutAt<uint16_t>(d, CAL_FLAGS, 1);
    utPutAt<uint8_t>(d, CAL_HEAD_SHOWN, 1);
    utPutAt<uint16_t>(d, CAL_VERSION_AT, kCalVersion);
    obRecSetRect(r.get(), bounds);
    layout(r.get());
    return g;
}

void calRecalcLayout(MemHandle calendar)
{
    ObLock r(calendar);
    if (!r || obDataOffset(r.get()) + kCalDataSize > r.extent())
        return;
    layout(r.get());
}
