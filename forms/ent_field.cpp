// Entry, list and equation fields.
#include "forms/ent_field.h"
#include "forms/db_types.h"
#include "objects/fld_frame.h"
#include "model/att_attr.h"
#include "model/att_field.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_field_box.h"
#include "forms/fld_box.h"
#include "support/gdi_draw.h"
#include "support/num_format.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "text/tx_paint.h"
#include "text/tx_stream.h"
#include <stdlib.h>
#include <algorithm>
#include <string.h>
#include <initializer_list>
#include <string>

namespace {

const uint32_t kPartSize = sizeof(EntryFieldPart);

// The field's text (attribute 2) as a string; empty when absent or when the
// attribute run does not add up within the record.
std::string fieldText(ObjectRecord *rec)
{
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + kPartSize > rec->length)
        return std::string();
    int length = 0;
    const uint8_t *data =
        attFindShapeAttr(obRecData(rec), rec->length - at, ENT_TAG_TEXT, &length);
    if (!data || length <= 0)
        return std::string();
    // Laid-out text carries codes whose payloads hold zero bytes: the
    // stream ends at its terminator, stepped unit by unit.
    return std::string(reinterpret_cast<const char *>(data),
                       (size_t)txstrnlen(reinterpret_cast<const char *>(data), length));
}

// The rules' pen: attribute 0x40000 (line style word, colour) when present,
// else solid, one unit, in the object's pen colour.
HPEN rulePen(ObjectRecord *rec)
{
    uint32_t at = obDataOffset(rec);
    int length = 0;
    const uint8_t *data =
        attFindShapeAttr(obRecData(rec), rec->length - at, ENT_TAG_RULE_STYLE, &length);
    if (data && length >= 8) {
        int32_t style = gdiLineStylePen((uint16_t)utGetAt<uint32_t>(data, 0));
        if (style == GDI_PEN_NULL)
            style = GDI_PEN_SOLID;
        return CreatePen(style, 1, utGetAt<uint32_t>(data, 4));
    }
    return CreatePen(PS_SOLID, 1, rec->penColour);
}

void drawRules(HDC dc, ObjectRecord *rec, const EntryFieldPart *part, const RECT &box)
{
    RECT area = box;
    fldFrameInnerRectEx(&area, part->frameStyle, part->frameValue, part->listFlags);
    int32_t advance = entRuleAdvance(part);
    if (advance <= 0)
        return;
    // Only the rules inside the clip are drawn: a field of any height costs
    // the lines that show.
    RECT clip;
    int64_t from = (int64_t)area.top + advance, to = area.bottom;
    if (GetClipBox(dc, &clip) != ERROR) {
        if (clip.top > from)
            from += ((int64_t)clip.top - from) / advance * advance;
        to = std::min<int64_t>(to, (int64_t)clip.bottom + 1);
    }
    GdiObject<HPEN> pen(rulePen(rec));
    GdiSelect sel(dc, pen);
    for (int64_t y = from; y < to; y += advance)
        gdiLine(dc, area.left, (int32_t)y, area.right, (int32_t)y);
}

}  // namespace

EntryFieldPart *entPart(ObjectRecord *rec)
{
    if (!rec || (uint64_t)obDataOffset(rec) + kPartSize > rec->length)
        return nullptr;
    return reinterpret_cast<EntryFieldPart *>(obRecData(rec));
}

uint32_t entRecordSize(ObjectRecord *rec, uint32_t blockSize)
{
    if (!rec)
        return 0;
    uint32_t at = obDataOffset(rec);
    if ((uint64_t)at + kPartSize > blockSize)
        return 0;
    uint16_t bytes = utGetAt<uint16_t>(obRecData(rec), offsetof(EntryFieldPart, attrBytes));
    uint32_t size = at + kPartSize + bytes;
    if (size > blockSize)
        return 0;
    rec->length = size;
    return size;
}

uint32_t entRecordSizeOf(MemHandle field)
{
    ObLock r(field);
    return r ? entRecordSize(r.get(), r.blockSize()) : 0;
}

uint32_t entStyleFlags(uint32_t flags, uint16_t type)
{
    uint32_t multi = flags & ENT_MULTILINE;
    if (type == 3 || type == 31)
        return (flags | ENT_DISPLAY_BITS | ENT_MULTILINE_COPY) & ~(multi ? 0u : ENT_MULTILINE_COPY);
    if (type == 14)
        return ((flags & ~ENT_DISPLAY_BITS) | ENT_MULTILINE_COPY) &
               ~(multi ? 0u : ENT_MULTILINE_COPY);
    return (flags | ENT_DISPLAY_BITS) & ~(ENT_MULTILINE | ENT_MULTILINE_COPY);
}

void entSetEquationStyle(uint8_t *part, BOOL on)
{
    if (!part)
        return;
    utPutAt<int16_t>(part, offsetof(EntryFieldPart, mode), on ? 2 : 1);
    if (on)
        entSetDataType(part, 7);
}

void entSetDataType(uint8_t *part, uint16_t type)
{
    if (!part)
        return;
    utPutAt<uint16_t>(part, offsetof(EntryFieldPart, dataType), type);
    uint32_t flags = utGetAt<uint32_t>(part, offsetof(EntryFieldPart, flags));
    if (type == 14) {
        flags |= ENT_MULTILINE;
        utPutAt<int16_t>(part, offsetof(EntryFieldPart, maxChars), -1);
    }
    utPutAt<uint32_t>(part, offsetof(EntryFieldPart, flags), entStyleFlags(flags, type));
    utPutAt<uint32_t>(part, offsetof(EntryFieldPart, displayFormat), numDefaultStyleForKind(type));
}

BOOL entRulesApply(const EntryFieldPart *part)
{
    if (!part)
        return FALSE;
    switch (part->dataType) {
    case 3: case 8: case 9: case 12: case 13: case 15: case 16: case 18: case 19:
    case 20: case 21: case 22: case 23: case 31: case 50: case 60: case 61:
        break;
    default:
        return FALSE;
    }
    return (part->flags & (ENT_RULES | ENT_MULTILINE)) == (ENT_RULES | ENT_MULTILINE) &&
           (part->align & 0x1C) == 4;
}

int32_t entRuleAdvance(const EntryFieldPart *part)
{
    if (!part)
        return 0;
    int32_t h = abs(part->font.lfHeight);
    return h + h / 3 + 2 * (int32_t)part->ruleSpacing;
}

void fldDrawFieldText(HDC dc, const EntryFieldPart *part, const RECT *rect,
                      const COLORREF colours[3], const char *text)
{
    if (!dc || !part || !rect || !text || !*text)
        return;
    int oldMode = SetBkMode(dc, TRANSPARENT);
    RECT area = *rect;
    fldFrameInnerRectEx(&area, part->frameStyle, part->frameValue, part->listFlags);
    BOOL rules = entRulesApply(part);
    int32_t lineHeight = rules ? entRuleAdvance(part) : 0;
    LOGFONTA font = part->font;
    txDrawStreamEx(dc, &area, (part->flags & ENT_VERTICAL) != 0,
                   (part->flags & (ENT_VERTICAL | ENT_VERTICAL_FACE)) != 0, text, &font,
                   part->align, 0, 0, colours, lineHeight, rules);
    SetBkMode(dc, oldMode);
}

void entDraw(HDC dc, ObjectRecord *rec)
{
    EntryFieldPart *p = entPart(rec);
    if (!dc || !p)
        return;
    // A copy: drawing never changes the record.
    EntryFieldPart part = *p;
    RECT box;
    obRecGetRect(rec, &box);
    ObDCModes modes;
    obSetDCModes(dc, rec, &modes);
    COLORREF colours[3] = {rec->penColour, rec->fillColour, rec->backColour};
    if ((rec->flags & OBF_SHADOW) && rec->fillKind != 0)
        fldDrawFrameShadow(dc, &box, part.frameStyle, part.frameValue);
    if (rec->fillKind == 1)
        fldFillFrame(dc, &box, part.frameStyle, part.frameValue, rec->backColour);
    if (entRulesApply(&part))
        drawRules(dc, rec, &part, box);
    std::string text = fieldText(rec);
    if (!text.empty())
        fldDrawFieldText(dc, &part, &box, colours, text.c_str());
    fldDrawFrameBorder(dc, &box, part.frameStyle, part.frameValue, colours);
    obRestoreDCModes(dc, &modes);
}

void entDrawHandle(HDC dc, MemHandle field)
{
    ObLock r(field);
    if (r)
        entDraw(dc, r.get());
}

MemHandle entSetRect(MemHandle field, const RECT *rect)
{
    if (!rect)
        return field;
    {
        ObLock r(field);
        EntryFieldPart *part = r ? entPart(r.get()) : nullptr;
        if (!part)
            return field;
        RECT old;
        obRecGetRect(r.get(), &old);
        uint32_t value = part->frameValue;
        obScalePackedSize(&old, rect, part->frameStyle, &value);
        part->frameValue = value;
        obRecSetRect(r.get(), rect);
    }
    return obReflowAttachedText(nullptr, field);
}

MemHandle entSetFont(HWND window, MemHandle field, const LOGFONTA *font)
{
    if (!font)
        return field;
    {
        ObLock r(field);
        EntryFieldPart *part = r ? entPart(r.get()) : nullptr;
        if (!part)
            return field;
        part->font = *font;
    }
    return obReflowAttachedText(window, field);
}

int entSetRules(MemHandle field, BOOL on)
{
    ObLock r(field);
    EntryFieldPart *part = r ? entPart(r.get()) : nullptr;
    if (!part)
        return 0;
    uint32_t flags = on ? part->flags | ENT_RULES : part->flags & ~ENT_RULES;
    if (flags == part->flags)
        return 0;
    part->flags = flags;
    return 1;
}

uint32_t *entGetFrameValue(MemHandle field)
{
    ObjectRecord *rec = static_cast<ObjectRecord *>(utLock(field));
    if (!rec)
        return nullptr;
    if (utHandleSize(field) < kObHeadSize || rec->length > utHandleSize(field) ||
        !entPart(rec)) {
        utUnlock(field);
        return nullptr;
    }
    return &entPart(rec)->frameValue;
}

BOOL entTextRect(MemHandle field, RECT *rect)
{
    ObLock r(field);
    EntryFieldPart *part = r ? entPart(r.get()) : nullptr;
    if (!part || !rect)
        return FALSE;
    obRecGetRect(r.get(), rect);
    fldFrameInnerRectEx(rect, part->frameStyle, part->frameValue, part->listFlags);
    return TRUE;
}

namespace {

// Removes the tags through the field attributes; returns the valid handle.
MemHandle dropTags(MemHandle field, std::initializer_list<uint32_t> tags)
{
    for (uint32_t tag : tags) {
        uint32_t mask;
        {
            ObLock r(field);
            EntryFieldPart *part = r ? entPart(r.get()) : nullptr;
            if (!part)
                return field;
            mask = part->tagMask;
        }
        if (!(mask & tag))
            continue;
        MemHandle valid = obSetShapeAttr(field, tag, nullptr, 0);
        if (valid)
            field = valid;
    }
    return field;
}

}  // namespace

MemHandle entToListField(MemHandle field)
{
    {
        ObLock r(field);
        EntryFieldPart *part = r ? entPart(r.get()) : nullptr;
        if (!part || r->type != OBT_ENTRY)
            return field;
        r->type = OBT_LIST_FIELD;
        part->listFlags |= ENT_LIST_FIELD;
    }
    return dropTags(field, {ENT_TAG_DB_LINK, ENT_TAG_DB_LINK_EXT});
}

MemHandle entToEntryField(MemHandle field)
{
    {
        ObLock r(field);
        if (!r || !entPart(r.get()) || r->type != OBT_LIST_FIELD)
            return field;
        r->type = OBT_ENTRY;
    }
    return dropTags(field, {ENT_TAG_SQL, ENT_TAG_LIST_FILE, ENT_TAG_LIST_ITEMS});
}

BOOL entReadCheck(const ObjectRecord *rec, uint32_t length)
{
    uint32_t at = obDataOffset(rec);
    if (!obHeadWithinLimits(rec) || (uint64_t)at + kPartSize > length)
        return FALSE;
    EntryFieldPart p;
    memcpy(&p, reinterpret_cast<const uint8_t *>(rec) + at, sizeof p);
    return (uint64_t)at + kPartSize + p.attrBytes <= length &&
           obSizeWithinLimits(p.font.lfHeight) && obSizeWithinLimits(p.font.lfWidth);
}
