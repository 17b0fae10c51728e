// The page record's defaults and its validity test.
#include "model/pg_record.h"
#include "app/setup_record.h"
#include "objects/ptn_dialog.h"
#include "support/ut_mem.h"
#include <string.h>

namespace {

void putU32(uint8_t *p, uint32_t v) { memcpy(p, &v, 4); }
void putU16(uint8_t *p, uint16_t v) { memcpy(p, &v, 2); }

// The page's default font: the settings' font, else Arial at 12 points.
LOGFONTA defaultFont()
{
    LOGFONTA lf;
    if (!setGetDefaultFont(&lf)) {
        memset(&lf, 0, sizeof(lf));
        lf.lfHeight = -12 * 20;
        lf.lfWeight = FW_NORMAL;
        strcpy(lf.lfFaceName, "Arial");
    }
    return lf;
}

}  // namespace

void pgInitRecord(uint8_t *record)
{
    static_assert(sizeof(LOGFONTA) == 60, "a LOGFONT is 60 bytes");
    memset(record, 0, PG_RECORD_SIZE);
    putU32(record + PGH_LENGTH, PG_RECORD_SIZE);
    putU16(record + PGH_TYPE, PG_TYPE);
    record[PGH_LAYER] = 1;
    putU32(record + PGH_WIDTH, 12240);
    putU32(record + PGH_HEIGHT, 15840);
    putU32(record + PGH_CENTRE_X, 12240 / 2);
    putU32(record + PGH_CENTRE_Y, 15840 / 2);
    putU16(record + PGH_PEN_WIDTH, 20);
    uint8_t fillKind = 0;
    uint32_t colours[3] = {0, 0, 0xFFFFFF};
    setGetFillDefaults(&fillKind, colours);
    record[PGH_FILL_KIND] = fillKind;
    putU32(record + PGH_PEN_COLOUR, colours[0]);
    putU32(record + PGH_FILL_COLOUR, colours[1]);
    putU32(record + PGH_BACK_COLOUR, colours[2]);
    putU32(record + PGH_SCALE_X, 65535);
    putU32(record + PGH_SCALE_Y, 65535);

    PageData d = {};
    d.orientation = 1;
    d.unit = 3;
    d.twoValues[0] = d.twoValues[1] = 90;
    for (int32_t &v : d.fourValues)
        v = 29;
    d.gridDivisions = 16;
    d.pageColour = 0xFFFFFF;
    d.fourWords[0] = d.fourWords[1] = 180;
    d.byte45 = (uint8_t)setGetPageByte45();
    d.layers.current = 1;
    // The blank 8 x 8 pattern, or the pattern library's first one.
    PatternFill pattern;
    ptnDefaultFromLibrary(&pattern);
    static_assert(sizeof pattern == sizeof d.defaultPattern, "the default pattern is 24 bytes");
    memcpy(d.defaultPattern, &pattern, sizeof pattern);
    d.defaultGradient[0] = 1;
    d.defaultGradient[6] = 16;
    LOGFONTA font = defaultFont();
    memcpy(d.textFormat, &font, sizeof(font));
    putU32(d.textFormat + 60, 525);
    d.textFormat[64] = 4;
    d.textFormat[65] = 0;
    d.textFormat[66] = 1;
    const uint8_t fieldHead[11] = {9, 0, 1, 0, 255, 255, 3, 0, 1, 0, 9};
    memcpy(d.fieldFormat, fieldHead, sizeof(fieldHead));
    memcpy(d.fieldFormat + 16, &font, sizeof(font));
    putU32(d.fieldFormat + 76, 514);
    d.extrasFlags = 2;
    memcpy(record + PG_HEAD_SIZE, &d, sizeof(d));
}

uint32_t pgRecCalcSize(const uint8_t *record)
{
    PageData d;
    uint8_t nameLength = record[PGH_NAME_LENGTH];
    memcpy(&d, record + PG_HEAD_SIZE + nameLength, sizeof(d));
    return PG_RECORD_SIZE + nameLength + d.attrs.size;
}

BOOL pgIsValid(MemHandle page)
{
    uint32_t block = utHandleSize(page);
    if (block < PG_RECORD_SIZE)
        return FALSE;
    MemLock<uint8_t> p(page);
    if (!p)
        return FALSE;
    const uint8_t *r = p.get();
    int16_t type;
    memcpy(&type, r + PGH_TYPE, 2);
    uint8_t nameLength = r[PGH_NAME_LENGTH];
    if (type != PG_TYPE || nameLength > 32 || (nameLength && r[PG_HEAD_SIZE + nameLength - 1]))
        return FALSE;
    uint32_t dataAt = PG_HEAD_SIZE + nameLength;
    return PG_RECORD_SIZE + (uint32_t)nameLength <= block
           && attIsValidOwner(r, block, dataAt + offsetof(PageData, attrs), dataAt + PG_DATA_SIZE);
}
