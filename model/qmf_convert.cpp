// Object file records and the converter table.
#include "model/qmf_convert.h"
#include "model/att_attr.h"
#include "model/ob_dispatch.h"
#include "model/ob_types.h"
#include "model/pg_record.h"
#include "model/pg_page.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_scramble.h"
#include "support/ut_bytes.h"
#include <string.h>
#include <algorithm>
#include <vector>

const char kQmfRecordKey[] = "morvelund";

namespace {

typedef std::vector<uint8_t> Bytes;

// Copies n bytes from `from` in the source to `to` in the target.
void move(uint8_t *dst, uint32_t to, const uint8_t *src, uint32_t from, uint32_t n)
{
    memcpy(dst + to, src + from, n);
}

// ---- the page record ---------------------------------------------------------------

// Memory offsets of PageData's parts.
enum : uint32_t {
    PD_PATTERN = 66, PD_GRADIENT = 90, PD_SHADOW = 130, PD_TEXT_FORMAT = 138,
    PD_FIELD_FORMAT = 260, PD_OBJECT_COUNT = 360, PD_BODY = 362, PD_EXTRAS_FLAGS = 366,
    PD_WORD370 = 370, PD_EXTRAS_BYTES = 372, PD_ATTRS = 376, PD_COUNT_HIGH = 404,
    PD_WORD406 = 406,
};
// The text format's fields after its LOGFONT: {file offset, memory offset, width}.
const uint8_t kTextFormatFields[][3] = {
    {50, 60, 4}, {54, 64, 2}, {56, 66, 1}, {57, 76, 1}, {58, 80, 2},
    {60, 68, 2}, {62, 84, 2}, {64, 67, 1}, {66, 74, 1}, {67, 75, 1},
};
const uint32_t kTextFormatFileSize = 68;
// The field format's fields: {file offset, memory offset, width}.
const uint8_t kFieldFormatFields[][3] = {
    {2, 2, 10}, {12, 12, 4}, {66, 76, 4}, {70, 0, 2}, {84, 80, 4},
    {88, 84, 2}, {90, 86, 2}, {92, 88, 4}, {100, 96, 4}, {104, 94, 2},
};
const uint32_t kFieldFormatFileSize = 128;
// PageData's plain fields: {file offset, memory offset, width}. The word at
// 322 carries the object count's high part (zero for up to 32,767 objects).
const uint16_t kPageFields[][3] = {
    {0, 0, 2}, {2, 2, 1}, {3, 3, 1}, {6, 4, 2}, {8, 6, 8}, {16, 14, 16}, {32, 30, 2},
    {34, 32, 4}, {38, 36, 8}, {48, PD_PATTERN, 24}, {72, PD_GRADIENT, 40},
    {112, PD_SHADOW, 8}, {316, PD_OBJECT_COUNT, 2}, {318, PD_BODY, 4}, {322, PD_COUNT_HIGH, 2}, {324, 45, 1},
    {330, PD_EXTRAS_FLAGS, 4}, {334, PD_WORD370, 2}, {336, PD_EXTRAS_BYTES, 4},
    {340, PD_ATTRS, 8}, {374, PD_WORD406, 2},
};

void textFormatToFile(const uint8_t *m, uint8_t *f)
{
    qmfNarrowFontAt(m, f);
    for (const auto &x : kTextFormatFields)
        move(f, x[0], m, x[1], x[2]);
}

void textFormatFromFile(const uint8_t *f, uint8_t *m)
{
    qmfWidenFontAt(f, m);
    for (const auto &x : kTextFormatFields)
        move(m, x[1], f, x[0], x[2]);
}

BOOL pageToFile(const ObjectRecord *, const uint8_t *data, uint32_t n, Bytes &out)
{
    if (n < kPgDataSize)
        return FALSE;
    size_t at = out.size();
    out.resize(at + kQmfPageFileDataSize);
    qmfPageDataToFile(data, out.data() + at);
    out.insert(out.end(), data + kPgDataSize, data + n);
    return TRUE;
}

BOOL pageFromFile(ObjectRecord *, const uint8_t *data, uint32_t n, Bytes &out)
{
    if (n < kQmfPageFileDataSize)
        return FALSE;
    // The attribute run must fill the rest exactly before anything walks it.
    AttrHeader attrs;
    memcpy(&attrs, data + 340, sizeof attrs);
    if (attrs.size != n - kQmfPageFileDataSize ||
        !attCheckRun(data + kQmfPageFileDataSize, attrs.count, attrs.size))
        return FALSE;
    out.assign(kPgDataSize, 0);
    qmfPageDataFromFile(data, out.data());
    out.insert(out.end(), data + kQmfPageFileDataSize, data + n);
    return TRUE;
}

// ---- 3D text (39) ----------------------------------------------------------------------

const uint32_t k3dMemFixed = 126, k3dFileFixed = 120;

BOOL text3dToFile(const ObjectRecord *, const uint8_t *m, uint32_t n, Bytes &out)
{
    if (n < k3dMemFixed)
        return FALSE;
    uint64_t tail = utGetAt<uint32_t>(m, 122);
    if (k3dMemFixed + tail > n)
        return FALSE;
    uint8_t f[k3dFileFixed] = {};
    utPutAt<uint32_t>(f, 0, utGetAt<uint32_t>(m, 0) - 6);
    move(f, 4, m, 4, 26);
    qmfNarrowFontAt(m + 30, f + 30);
    move(f, 80, m, 90, 12);
    move(f, 96, m, 102, 24);
    out.insert(out.end(), f, f + sizeof f);
    out.insert(out.end(), m + k3dMemFixed, m + k3dMemFixed + tail);
    return TRUE;
}

BOOL text3dFromFile(ObjectRecord *, const uint8_t *f, uint32_t n, Bytes &out)
{
    if (n < k3dFileFixed)
        return FALSE;
    uint64_t tail = utGetAt<uint32_t>(f, 116);
    if (k3dFileFixed + tail > n)
        return FALSE;
    out.assign(k3dMemFixed, 0);
    uint8_t *m = out.data();
    utPutAt<uint32_t>(m, 0, utGetAt<uint32_t>(f, 0) + 6);
    move(m, 4, f, 4, 26);
    qmfWidenFontAt(f + 30, m + 30);
    move(m, 90, f, 80, 12);
    move(m, 102, f, 96, 24);
    out.insert(out.end(), f + k3dFileFixed, f + k3dFileFixed + tail);
    return TRUE;
}

// ---- the calendar (52) ---------------------------------------------------------------------
// Memory layout (the calendar's own): 0 u32 308; 6..15 year, month, layout,
// frame style, cell flags; 16, 17 grid lines, week rows; 20 title height;
// 24 title font; 84 title alignment; 86 flags; 88 heading height; 92
// heading font; 152 heading alignment; 154, 155 headings shown, form by
// fit; 156 day font; 216, 218 words; 220 fourth font; 280 u32; 284, 286
// words; 288 u32 tail count; 292 day-area height; 296 today style; 298 u8;
// 299 weekday-name form; 300 frame value; 304 u16; 306 format version.
// Every field has its place in the 332-byte file head: the older fields
// where files have always kept them, the weekday-name form, the frame
// value and the remaining words in the head's spare bytes.
const uint16_t kCalFields[][3] = {
    // {file offset, memory offset, width}
    {6, 6, 10}, {16, 16, 2}, {18, 18, 2}, {20, 20, 4}, {74, 84, 2}, {76, 86, 2},
    {78, 88, 4}, {132, 152, 2}, {134, 154, 2}, {186, 216, 2}, {188, 218, 2},
    {240, 280, 4}, {244, 284, 2}, {248, 288, 4}, {252, 292, 4}, {256, 296, 2},
    {258, 298, 1}, {260, 306, 2},
    // Carried in the spare bytes.
    {259, 299, 1}, {262, 300, 4}, {266, 304, 2}, {268, 4, 2}, {270, 286, 2},
};
const uint16_t kCalFonts[][2] = {{24, 24}, {82, 92}, {136, 156}, {190, 220}};

BOOL calendarToFile(const ObjectRecord *, const uint8_t *m, uint32_t n, Bytes &out)
{
    if (n < kCalFixedSize)
        return FALSE;
    uint64_t tail = utGetAt<uint32_t>(m, 288);
    if (tail > 0xFFFF || kCalFixedSize + tail > n)
        return FALSE;
    uint8_t f[kCalFileHeadSize] = {};
    utPutAt<uint32_t>(f, 0, kCalFileHeadSize);
    utPutAt<uint16_t>(f, 4, 52);
    for (const auto &x : kCalFields)
        move(f, x[0], m, x[1], x[2]);
    for (const auto &x : kCalFonts)
        qmfNarrowFontAt(m + x[1], f + x[0]);
    utPutAt<uint16_t>(f, 246, (uint16_t)tail);
    out.insert(out.end(), f, f + sizeof f);
    out.insert(out.end(), m + kCalFixedSize, m + kCalFixedSize + tail);
    return TRUE;
}

BOOL calendarFromFile(ObjectRecord *head, const uint8_t *f, uint32_t n, Bytes &out)
{
    if (n < kCalFileHeadSize)
        return FALSE;
    uint64_t tail = utGetAt<uint16_t>(f, 246);
    if (kCalFileHeadSize + tail > n)
        return FALSE;
    out.assign(kCalFixedSize, 0);
    uint8_t *m = out.data();
    for (const auto &x : kCalFields)
        move(m, x[1], f, x[0], x[2]);
    for (const auto &x : kCalFonts)
        qmfWidenFontAt(f + x[0], m + x[1]);
    utPutAt<uint32_t>(m, 0, kCalFixedSize);
    utPutAt<uint32_t>(m, 288, (uint32_t)tail);
    out.insert(out.end(), f + kCalFileHeadSize, f + kCalFileHeadSize + tail);
    calCompleteRead(head, out.data(), (uint32_t)out.size());
    return TRUE;
}

// ---- the table -------------------------------------------------------------------------------

std::vector<QmfConverter> &table()
{
    static std::vector<QmfConverter> entries;
    return entries;
}

const int16_t kHeadTypes[] = {
    1, 2, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 17, 18, 19, 24, 25, 26, 31, 32, 33, 34,
    35, 36, 55, 59, 60, 61, 65, 77, 78, 79, 80, 81, 82, 84, 85, 133, 134, 135, 136, 137,
    138, 142, 146, 210, 293, 402, 491, 492, 500, 1006, -25, -24, -13, -12, -11,
};
const int16_t kWholeTypes[] = {83, 88, 91, 92, 93, 94, 95, 140, 141, 300, 553, 554, 557, 600};

void installOwnEntries()
{
    std::vector<QmfConverter> &t = table();
    t.clear();
    for (int16_t type : kHeadTypes)
        t.push_back({type, type, QMF_CONV_HEAD, nullptr, nullptr});
    for (int16_t type : kWholeTypes)
        t.push_back({type, type, QMF_CONV_WHOLE, nullptr, nullptr});
    t.push_back({211, 211, QMF_CONV_SKIP, nullptr, nullptr});
    t.push_back({OBT_3D_TEXT, OBT_3D_TEXT, QMF_CONV_DATA, text3dToFile, text3dFromFile});
    t.push_back({OBT_CALENDAR, OBT_CALENDAR, QMF_CONV_DATA, calendarToFile, calendarFromFile});
    t.push_back({OBT_PAGE, OBT_PAGE, QMF_CONV_DATA, pageToFile, pageFromFile});
}

std::vector<QmfConverter> &converters()
{
    static bool installed = false;
    if (!installed) {
        installed = true;
        installOwnEntries();
    }
    return table();
}

void readFailed() { utErrorBox(nullptr, "Reading object failed"); }

// Upgrades of older records, on the file form (data = the type data).
// FALSE when the record is refused (its message shown).
BOOL upgradeFileRecord(uint8_t *rec, uint32_t dataAt, uint32_t n)
{
    int16_t type = utGetAt<int16_t>(rec, 4);
    uint8_t *data = rec + dataAt;
    uint32_t dn = n - dataAt;
    if (type == 51 && dn >= 70) {
        utPutAt<uint32_t>(data, 66, 537);
        type = 41;   // then upgraded like an entry field, keeping its type
    }
    if (type == OBT_ENTRY && dn >= 88) {
        if (utGetAt<uint16_t>(data, 0) == 0) {
            rec[30] = 1;   // fill kind
            utPutAt<uint16_t>(data, 4, 0xFFFF);
        }
        utPutAt<uint16_t>(data, 0, 1);
        if (utGetAt<int16_t>(rec, 4) == OBT_ENTRY) {
            uint32_t bits = utGetAt<uint32_t>(data, 84);
            if (bits & 0x4)
                utPutAt<int16_t>(rec, 4, OBT_EQUATION);
            else if (bits & 0x840)
                utPutAt<int16_t>(rec, 4, OBT_LIST_FIELD);
        }
    }
    if (type == OBT_TABLE && dn > 50 && data[50] < 2) {
        utErrorBox(nullptr, "Table data format too old, not supported.");
        return FALSE;
    }
    if (type == OBT_COMPOSITE85) {
        utPutAt<int16_t>(rec, 4, OBT_COMPOSITE);
        if (dn >= 52)
            utPutAt<uint32_t>(data, 48, 0);
        if (dn >= 58)
            utPutAt<uint16_t>(data, 56, 0);
    }
    return TRUE;
}

// The type data of a record must hold what its own counts say, and pass
// its type's read check.
BOOL typeDataFits(ObjectRecord *rec, uint32_t total)
{
    uint32_t at = obDataOffset(rec);
    if (at > total)
        return FALSE;
    if (obTypeProcs(rec->type).flags & OBTF_POINT_DATA) {
        if (total - at < 2)
            return FALSE;
        int16_t count = utGetAt<int16_t>(reinterpret_cast<uint8_t *>(rec), at);
        if (count < 0 || 2 + 8ull * (uint64_t)count > total - at)
            return FALSE;
    }
    uint32_t want = objRecordSizeIn(rec, total, 0);
    rec->length = total;
    if (want > total)
        return FALSE;
    // The type's own check of its sizes, counts and coordinates.
    BOOL (*check)(const ObjectRecord *, uint32_t) = obTypeProcs(rec->type).readCheck;
    return !check || check(rec, total);
}

MemHandle handleFrom(const Bytes &bytes)
{
    return utHandleFromBytes(bytes.data(), (uint32_t)bytes.size());
}

}  // namespace

// ---- fonts -----------------------------------------------------------------------------------

void qmfNarrowFont(const LOGFONTA *font, FontRecord16 *out)
{
    memset(out, 0, sizeof *out);
    out->height = (int16_t)font->lfHeight;
    out->width = (int16_t)font->lfWidth;
    out->escapement = (int16_t)font->lfEscapement;
    out->orientation = (int16_t)font->lfOrientation;
    out->weight = (int16_t)font->lfWeight;
    out->italic = font->lfItalic;
    out->underline = font->lfUnderline;
    out->strikeOut = font->lfStrikeOut;
    out->charSet = font->lfCharSet;
    out->outPrecision = font->lfOutPrecision;
    out->clipPrecision = font->lfClipPrecision;
    out->quality = font->lfQuality;
    out->pitchAndFamily = font->lfPitchAndFamily;
    memcpy(out->faceName, font->lfFaceName, sizeof out->faceName);
    out->faceName[sizeof out->faceName - 1] = 0;
}

void qmfWidenFont(const FontRecord16 *font, LOGFONTA *out)
{
    memset(out, 0, sizeof *out);
    out->lfHeight = font->height;
    out->lfWidth = font->width;
    out->lfEscapement = font->escapement;
    out->lfOrientation = font->orientation;
    out->lfWeight = font->weight;
    out->lfItalic = font->italic;
    out->lfUnderline = font->underline;
    out->lfStrikeOut = font->strikeOut;
    out->lfCharSet = font->charSet;
    out->lfOutPrecision = font->outPrecision;
    out->lfClipPrecision = font->clipPrecision;
    out->lfQuality = font->quality;
    out->lfPitchAndFamily = font->pitchAndFamily;
    memcpy(out->lfFaceName, font->faceName, sizeof out->lfFaceName);
    out->lfFaceName[sizeof out->lfFaceName - 1] = 0;
}

void qmfNarrowFontAt(const uint8_t *logfont, uint8_t *out)
{
    LOGFONTA lf;
    FontRecord16 f;
    memcpy(&lf, logfont, sizeof lf);
    qmfNarrowFont(&lf, &f);
    memcpy(out, &f, sizeof f);
}

void qmfWidenFontAt(const uint8_t *font16, uint8_t *out)
{
    LOGFONTA lf;
    FontRecord16 f;
    memcpy(&f, font16, sizeof f);
    qmfWidenFont(&f, &lf);
    memcpy(out, &lf, sizeof lf);
}

// ---- page data ---------------------------------------------------------------------------------

void qmfFieldFormatToFile(const uint8_t *m, uint8_t *f)
{
    memset(f, 0, kFieldFormatFileSize);
    utPutAt<uint16_t>(f, 0, 1);
    qmfNarrowFontAt(m + 16, f + 16);
    for (const auto &x : kFieldFormatFields)
        move(f, x[0], m, x[1], x[2]);
}

void qmfFieldFormatFromFile(const uint8_t *f, uint8_t *m)
{
    memset(m, 0, 100);
    qmfWidenFontAt(f + 16, m + 16);
    for (const auto &x : kFieldFormatFields)
        move(m, x[1], f, x[0], x[2]);
}

void qmfPageDataToFile(const uint8_t *m, uint8_t *f)
{
    memset(f, 0, kQmfPageFileDataSize);
    for (const auto &x : kPageFields)
        move(f, x[0], m, x[1], x[2]);
    utPutAt<uint16_t>(f, 46, m[44]);
    textFormatToFile(m + PD_TEXT_FORMAT, f + 120);
    qmfFieldFormatToFile(m + PD_FIELD_FORMAT, f + 188);
}

void qmfPageDataFromFile(const uint8_t *f, uint8_t *m)
{
    memset(m, 0, kPgDataSize);
    for (const auto &x : kPageFields)
        move(m, x[1], f, x[0], x[2]);
    m[44] = (uint8_t)utGetAt<uint16_t>(f, 46);
    textFormatFromFile(f + 120, m + PD_TEXT_FORMAT);
    qmfFieldFormatFromFile(f + 188, m + PD_FIELD_FORMAT);
}

void calCompleteRead(ObjectRecord *head, uint8_t *data, uint32_t n)
{
    if (n < kCalFixedSize || utGetAt<uint16_t>(data, 306) != 0)
        return;
    uint16_t flags = utGetAt<uint16_t>(data, 86);
    if (!(flags & 0x10))
        head->fillKind = 1;
    utPutAt<uint16_t>(data, 86, (uint16_t)(flags & ~0x10));
}

// ---- the table ---------------------------------------------------------------------------------

void qmfRegisterConverter(const QmfConverter &converter)
{
    std::vector<QmfConverter> &t = converters();
    for (QmfConverter &c : t) {
        if (c.memoryType == converter.memoryType && c.fileType == converter.fileType) {
            c = converter;
            return;
        }
    }
    t.push_back(converter);
}

const QmfConverter *qmfFindWriter(int16_t memoryType)
{
    for (const QmfConverter &c : converters()) {
        if (c.memoryType != memoryType || c.kind == QMF_CONV_SKIP)
            continue;
        if (c.kind != QMF_CONV_DATA || c.toFile)
            return &c;
    }
    return nullptr;
}

const QmfConverter *qmfFindReader(int16_t fileType)
{
    for (const QmfConverter &c : converters()) {
        if (c.fileType == fileType && (c.kind != QMF_CONV_DATA || c.fromFile))
            return &c;
    }
    return nullptr;
}

void qmfResetConverters()
{
    converters();   // installed once, so that a later first use keeps what follows
    installOwnEntries();
    obAddTypeFileForms();
}

// ---- whole records -------------------------------------------------------------------------------

namespace {

// The file record's bytes; FALSE when it cannot be built, with *unknown set
// when the type has no file form.
BOOL buildFileRecord(MemHandle object, Bytes &out, bool *unknown)
{
    *unknown = false;
    ObLock r(object);
    if (!r)
        return 0;
    ObjectRecord *rec = r.get();
    objKeptSize(rec, r.blockSize());
    uint32_t extent = r.extent();

    const QmfConverter *c = qmfFindWriter(rec->type);
    if (!c) {
        *unknown = true;
        return FALSE;
    }
    const uint8_t *bytes = reinterpret_cast<const uint8_t *>(rec);
    uint32_t dataAt = obDataOffset(rec);
    if (extent < kObHeadSize || rec->nameLength > kObMaxNameBytes || dataAt > extent)
        return FALSE;
    out.clear();
    if (c->kind == QMF_CONV_WHOLE) {
        out.assign(bytes, bytes + extent);
    } else {
        out.assign(kObFileHeadSize, 0);
        ObjectFileHead *fh = reinterpret_cast<ObjectFileHead *>(out.data());
        memcpy(fh->head, bytes, sizeof fh->head);
        const MemHandle links[7] = {rec->extraData, rec->prev, rec->next, rec->parent,
                                    rec->firstMember, rec->nextMember, rec->attached};
        for (int i = 0; i < 7; ++i)
            utPutAt<uint16_t>(out.data(), 58 + 2 * i, links[i] ? 1 : 0);
        out.insert(out.end(), bytes + kObHeadSize, bytes + dataAt);
        if (c->kind == QMF_CONV_HEAD)
            out.insert(out.end(), bytes + dataAt, bytes + extent);
        else if (!c->toFile(rec, bytes + dataAt, extent - dataAt, out))
            return FALSE;
        utPutAt<int16_t>(out.data(), 4, c->fileType);
    }
    utPutAt<uint32_t>(out.data(), 0, (uint32_t)out.size());
    return TRUE;
}

}  // namespace

MemHandle qmfMakeFileRecord(MemHandle object)
{
    Bytes out;
    bool unknown;
    if (!buildFileRecord(object, out, &unknown)) {
        if (unknown)
            utErrorBox(nullptr, "Unsupported object type");
        return 0;
    }
    return handleFrom(out);
}

uint32_t qmfFileRecordSize(MemHandle object)
{
    Bytes out;
    bool unknown;
    return buildFileRecord(object, out, &unknown) ? (uint32_t)out.size() : 0;
}

QmfReadResult qmfRecordFromFile(MemHandle packet, MemHandle *record, uint16_t flags[7])
{
    *record = 0;
    for (int i = 0; i < 7; ++i)
        flags[i] = 0;
    MemLock<uint8_t> p(packet);
    uint32_t n = std::min(utGetPacketLength(packet), utHandleSize(packet));
    if (!p || n < 6) {
        readFailed();
        return QMF_RECORD_DROPPED;
    }
    uint8_t *rec = p.get();
    int16_t type = utGetAt<int16_t>(rec, 4);
    if (type == 0 && n == 6)
        return QMF_RECORD_SKIPPED;
    if (n < kObFileHeadSize) {
        readFailed();
        return QMF_RECORD_DROPPED;
    }
    for (int i = 0; i < 7; ++i)
        flags[i] = utGetAt<uint16_t>(rec, 58 + 2 * i) ? 1 : 0;

    const QmfConverter *c = qmfFindReader(type);
    if (c && c->kind == QMF_CONV_SKIP)
        return QMF_RECORD_SKIPPED;
    bool whole = c && c->kind == QMF_CONV_WHOLE;
    if (whole) {
        // The records copied whole keep their link fields: a link is
        // present when its field is not 0.
        if (n < kObHeadSize) {
            readFailed();
            return QMF_RECORD_DROPPED;
        }
        for (int i = 0; i < 7; ++i)
            flags[i] = utGetAt<uint32_t>(rec, 58 + 4 * i) ? 1 : 0;
    }
    uint32_t nameAt = whole ? kObHeadSize : kObFileHeadSize;
    uint8_t nameLength = rec[7];
    if (n < nameAt || nameLength > kObMaxNameBytes || nameAt + nameLength > n) {
        readFailed();
        return QMF_RECORD_DROPPED;
    }
    uint32_t dataAt = nameAt + nameLength;
    if (!upgradeFileRecord(rec, dataAt, n))
        return QMF_RECORD_DROPPED;
    if (utGetAt<int16_t>(rec, 4) != type) {
        type = utGetAt<int16_t>(rec, 4);
        c = qmfFindReader(type);
        if (c && (c->kind == QMF_CONV_SKIP || (c->kind == QMF_CONV_WHOLE) != whole))
            c = nullptr;
    }
    if (!c) {
        readFailed();
        return QMF_RECORD_DROPPED;
    }

    Bytes out;
    if (whole) {
        out.assign(rec, rec + n);
    } else {
        out.assign(kObHeadSize, 0);
        memcpy(out.data(), rec, 58);
        out.insert(out.end(), rec + nameAt, rec + dataAt);
        ObjectRecord head;
        memcpy(&head, out.data(), kObHeadSize);
        head.type = c->memoryType;
        if (c->kind == QMF_CONV_HEAD) {
            out.insert(out.end(), rec + dataAt, rec + n);
        } else {
            Bytes data;
            if (!c->fromFile(&head, rec + dataAt, n - dataAt, data)) {
                readFailed();
                return QMF_RECORD_DROPPED;
            }
            out.insert(out.end(), data.begin(), data.end());
        }
        memcpy(out.data(), &head, kObHeadSize);
    }
    ObjectRecord *m = reinterpret_cast<ObjectRecord *>(out.data());
    m->type = c->memoryType;
    m->length = (uint32_t)out.size();
    obRecClearLinks(m);
    if (nameLength)
        out[kObHeadSize + nameLength - 1] = 0;
    if (!typeDataFits(m, (uint32_t)out.size())) {
        readFailed();
        return QMF_RECORD_DROPPED;
    }
    *record = handleFrom(out);
    if (!*record)
        return QMF_RECORD_DROPPED;   // the allocator has shown its message
    return QMF_RECORD_OK;
}

// ---- scrambled records ---------------------------------------------------------------------------

BOOL qmfIsScrambledType(int16_t t)
{
    switch (t) {
    case 39: case 40: case 41: case 43: case 44: case 45: case 51: case 54: case 58: case 90:
        return TRUE;
    default:
        return FALSE;
    }
}

void qmfScrambleRecord(MemHandle packet, const char *key)
{
    uint32_t n = std::min(utGetPacketLength(packet), utHandleSize(packet));
    if (n < 6 || !key || !*key)
        return;
    MemLock<uint8_t> p(packet);
    utPutAt<uint16_t>(p.get(), 4, (uint16_t)(utGetAt<uint16_t>(p.get(), 4) | 0x8000));
    utScrambleBytes(p.get() + 6, n - 6, key);
}

void qmfUnscrambleRecord(MemHandle packet)
{
    uint32_t n = std::min(utGetPacketLength(packet), utHandleSize(packet));
    if (n < 6)
        return;
    MemLock<uint8_t> p(packet);
    uint16_t word = utGetAt<uint16_t>(p.get(), 4);
    if (!(word & 0x8000) || !qmfIsScrambledType((int16_t)(word & 0x7FFF)))
        return;
    utPutAt<uint16_t>(p.get(), 4, (uint16_t)(word & 0x7FFF));
    utScrambleBytes(p.get() + 6, n - 6, kQmfRecordKey);
}
