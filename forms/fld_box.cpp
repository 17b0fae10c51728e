// Entry field boxes and field text.
#include "forms/fld_box.h"
#include "forms/lbl_source.h"
#include "forms/db_types.h"
#include "forms/ent_field.h"
#include "model/att_field.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "objects/fld_frame.h"
#include "support/gdi_font.h"
#include "support/ut_mem.h"
#include "support/ut_path.h"
#include "text/tx_attr.h"
#include "text/tx_break.h"
#include "text/tx_flow.h"
#include "text/tx_header.h"
#include "text/tx_measure.h"
#include "text/tx_object.h"
#include "text/tx_stream.h"
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

const uint32_t kFontAt = 16;    // the field format's font in the type data
const uint32_t kFlagsAt = 76;   // its flags

LOGFONTA fontOf(const void *format)
{
    LOGFONTA lf;
    memcpy(&lf, static_cast<const uint8_t *>(format) + kFontAt, sizeof lf);
    return lf;
}

// Copies of a field's part and box; FALSE for a record without the part.
bool readField(MemHandle field, EntryFieldPart *part, RECT *box, ObjectRecord *head = nullptr)
{
    ObLock r(field);
    EntryFieldPart *p = r ? entPart(r.get()) : nullptr;
    if (!p)
        return false;
    *part = *p;
    obRecGetRect(r.get(), box);
    if (head)
        memcpy(head, r.get(), sizeof(ObjectRecord));
    return true;
}

bool isFieldType(int16_t type)
{
    return type == OBT_ENTRY || type == OBT_LIST_FIELD || type == OBT_EQUATION;
}

void setBottom(MemHandle h, int32_t bottom)
{
    RECT r;
    obGetRect(h, &r);
    r.bottom = bottom;
    obSetRect(h, &r);
}

// The text header of a field's temporary text object.
TextHeader headerOf(const EntryFieldPart &part, bool filled)
{
    TextHeader th = {};
    th.lf = part.font;
    th.flags = part.flags;
    th.align = part.align;
    th.bkMode = filled ? 2 : 1;
    return th;
}

void fitTree(MemHandle h, bool width, int depth)
{
    if (!h || depth > 64)
        return;
    for (MemHandle m = obGetFirstMember(h); m; m = obGetNextMember(m))
        fitTree(m, width, depth + 1);
    if (MemHandle a = obGetAttached(h))
        fitTree(a, width, depth + 1);
    if (width)
        obSizeSingleLineField(h);
    else
        obFitSingleLineField(h);
    const int16_t type = obGetType(h);
    if (type == OBT_GROUP || type == OBT_CHAIN) {
        RECT r;
        obFitToMembers(h, &r);
    }
}

}  // namespace

int32_t obFieldLineHeight(const void *format)
{
    if (!format)
        return kFldSingleLineExtra;
    const LOGFONTA lf = fontOf(format);
    HDC dc = txGetMeasureDC(nullptr, TRUE);
    int32_t lineHeight = 0;
    gdiFontMetrics(dc, &lf, nullptr, nullptr, nullptr, &lineHeight, nullptr);
    txReleaseMeasureDC(nullptr, dc, TRUE);
    return lineHeight + kFldSingleLineExtra;
}

void obTextBoxSize(const void *format, int n, RECT *rect)
{
    if (!format || !rect)
        return;
    const LOGFONTA lf = fontOf(format);
    HDC dc = txGetMeasureDC(nullptr, FALSE);
    int32_t average = 0;
    gdiFontMetrics(dc, &lf, &average, nullptr, nullptr, nullptr, nullptr);
    txReleaseMeasureDC(nullptr, dc, FALSE);
    rect->right = rect->left + n * average;
    rect->bottom = rect->top + obFieldLineHeight(format);
}

int32_t obFieldHeightForText(MemHandle field, int32_t textHeight)
{
    EntryFieldPart part;
    RECT box;
    if (!readField(field, &part, &box))
        return textHeight + 2 * kFldMinFrameMargin;
    int32_t m = kFldMinFrameMargin;
    switch (part.frameStyle & 0xFF) {
    case 3: {
        int32_t cw = 0, ch = 0;
        fldFrameCornerSize(&box, part.frameValue, &cw, &ch);
        m = ch / 4 > m ? ch / 4 : m;
        break;
    }
    case 4:
    case 13:
        m = textHeight / 2;
        break;
    default:
        break;
    }
    const int32_t half = fldFrameBorderHalfWidth(part.frameStyle);
    return textHeight + 2 * (half > m ? half : m);
}

int obFitSingleLineField(MemHandle field)
{
    if (!obIsSingleLineField(field))
        return 0;
    EntryFieldPart part;
    RECT box;
    if (!readField(field, &part, &box))
        return 0;
    setBottom(field, box.top + obFieldLineHeight(&part));
    return 1;
}

void obTreeFitSingleLineFields(MemHandle h) { fitTree(h, false, 0); }

int obSizeSingleLineField(MemHandle field)
{
    if (!obFitSingleLineField(field))
        return 0;
    EntryFieldPart part;
    RECT box;
    if (!readField(field, &part, &box))
        return 0;
    RECT chars = {0, 0, 0, 0};
    obTextBoxSize(&part, part.maxChars, &chars);
    box.right = box.left + (chars.right * 3) / 2;
    obSetRect(field, &box);
    return 1;
}

void obTreeSizeSingleLineFields(MemHandle h) { fitTree(h, true, 0); }

int obSetFieldLines(MemHandle field, int n)
{
    EntryFieldPart part;
    RECT box;
    if (!readField(field, &part, &box))
        return 0;
    if (n < 2 || obIsSingleLineField(field))
        n = 1;
    const int32_t before = box.bottom - box.top;
    if (n > 1)
        setBottom(field, box.top + obFieldHeightForText(field, n * entRuleAdvance(&part)));
    else
        obTreeFitSingleLineFields(field);
    RECT after;
    obGetRect(field, &after);
    return after.bottom - after.top != before ? 1 : 0;
}

int obGetFieldLines(MemHandle field)
{
    EntryFieldPart part;
    RECT box;
    if (!readField(field, &part, &box))
        return 1;
    const int32_t advance = entRuleAdvance(&part);
    RECT inner;
    if (advance <= 0 || !entTextRect(field, &inner))
        return 1;
    const int32_t lines = (int32_t)((inner.bottom - inner.top) / (double)advance + 0.5);
    return lines < 1 ? 1 : lines;
}

MemHandle obFieldMakeTextObject(MemHandle field)
{
    EntryFieldPart part;
    RECT box, inner;
    ObjectRecord head;
    if (!readField(field, &part, &box, &head) || !entTextRect(field, &inner))
        return 0;
    const TextHeader th = headerOf(part, head.fillKind != 0);
    const COLORREF colours[3] = {head.penColour, head.fillColour, head.backColour};
    MemHandle text = attGetShapeAttrCopy(field, ATT_FIELD_TEXT);
    MemHandle object;
    {
        MemLock<char> s(text);
        object = txNewTextObject(&inner, colours, &th, s ? s.get() : "");
    }
    utFreeHandle(text);
    return object;
}

int obFitFieldToText(MemHandle field)
{
    RECT inner;
    if (!entTextRect(field, &inner))
        return 0;
    MemHandle object = obFieldMakeTextObject(field);
    if (!object)
        return 0;
    const RECT need = txMeasureBox(object);
    obFreeTree(object);
    const int32_t more = need.bottom - (inner.bottom - inner.top);
    if (more <= 0)
        return 0;
    RECT box;
    obGetRect(field, &box);
    setBottom(field, box.bottom + more);
    return 1;
}

MemHandle obReflowAttachedText(HWND window, MemHandle field)
{
    if (!isFieldType(obGetType(field)))
        return field;
    MemHandle text = attGetShapeAttrCopy(field, ATT_FIELD_TEXT);
    if (!text)
        return field;
    EntryFieldPart part;
    RECT box, inner;
    ObjectRecord head;
    if (!readField(field, &part, &box, &head) || !entTextRect(field, &inner)) {
        utFreeHandle(text);
        return field;
    }
    const TextHeader th = headerOf(part, head.fillKind != 0);
    const BOOL printer = txUsePrinterMetrics();
    HDC dc = txGetMeasureDC(window, printer);
    MemHandle broken = 0;
    {
        MemLock<char> s(text);
        if (dc && s)
            broken = txBreakLines(dc, inner.right - inner.left, s.get(), &th, th.align, 0);
    }
    txReleaseMeasureDC(window, dc, printer);
    utFreeHandle(text);
    std::string laid;
    {
        MemLock<char> s(broken);
        if (s)
            laid.assign(s.get(), (size_t)txstrlen(s.get()));
    }
    utFreeHandle(broken);
    if (MemHandle stored = obSetShapeAttr(field, ATT_FIELD_TEXT, laid.c_str(),
                                          (int)laid.size() + 1))
        field = stored;
    obFitFieldToText(field);
    return field;
}

int32_t obFieldColumnWidth(MemHandle field)
{
    EntryFieldPart part;
    RECT box;
    if (!readField(field, &part, &box))
        return 0;
    const uint32_t columns = part.frameValue >> 16;
    const int kind = part.frameStyle & 0xFF;
    if (columns == 0 || kind < 8 || kind > 11)
        return 0;
    return (box.right - box.left) / (int32_t)columns;
}

BOOL obFieldIsNumeric(MemHandle field)
{
    EntryFieldPart part;
    RECT box;
    if (!readField(field, &part, &box))
        return FALSE;
    return dbIsNumericType((int16_t)part.carried);
}

BOOL obFieldHasTag4(MemHandle field)
{
    EntryFieldPart part;
    RECT box;
    if (!readField(field, &part, &box))
        return FALSE;
    switch (obGetType(field)) {
    case OBT_ENTRY:
        return (part.tagMask & ENT_TAG_EQUATION) != 0;
    case OBT_EQUATION:
        return TRUE;
    default:
        return FALSE;
    }
}

void obFieldSetFlag20(void *data, BOOL on)
{
    if (!data)
        return;
    EntryFieldPart *part = static_cast<EntryFieldPart *>(data);
    part->listFlags = on ? (part->listFlags | ENT_LIST_FIELD) : (part->listFlags & ~ENT_LIST_FIELD);
}

BOOL obFieldIsSpacedNumber(const void *data)
{
    if (!data)
        return FALSE;
    EntryFieldPart part;
    memcpy(&part, data, sizeof part);
    return dbIsNumericType((int16_t)part.dataType) && (part.flags & 0x10000001u) == 0x10000001u &&
           (part.align & 0x1C) == 4;
}

BOOL obIsVerticalText(const void *format)
{
    if (!format)
        return FALSE;
    LOGFONTA lf;
    uint32_t flags;
    memcpy(&lf, format, sizeof lf);
    memcpy(&flags, static_cast<const uint8_t *>(format) + sizeof lf, 4);
    return txIsVerticalFace(lf.lfFaceName) && (flags & TXF_VERTICAL);
}

int obSetVerticalText(void *format, BOOL on)
{
    if (!format)
        return 0;
    const BOOL was = obIsVerticalText(format);
    LOGFONTA lf;
    uint32_t flags;
    memcpy(&lf, format, sizeof lf);
    memcpy(&flags, static_cast<uint8_t *>(format) + sizeof lf, 4);
    flags = on ? (flags | TXF_VERTICAL) : (flags & ~TXF_VERTICAL);
    lf.lfEscapement = lf.lfOrientation = on ? 2700 : 0;
    memcpy(format, &lf, sizeof lf);
    memcpy(static_cast<uint8_t *>(format) + sizeof lf, &flags, 4);
    return obIsVerticalText(format) != was ? 1 : 0;
}

BOOL obIsVerticalTextObject(MemHandle text)
{
    if (obGetType(text) != OBT_TEXT)
        return FALSE;
    TextHeader *th = txLockHeader(text);
    const BOOL vertical = th && obIsVerticalText(th);
    if (th)
        utUnlock(text);
    return vertical;
}

int obSetVerticalTextObject(MemHandle text, BOOL on)
{
    if (obGetType(text) != OBT_TEXT)
        return 0;
    TextHeader *th = txLockHeader(text);
    const int changed = th ? obSetVerticalText(th, on) : 0;
    if (th)
        utUnlock(text);
    return changed;
}

MemHandle obJoinLines(const char *a, const char *b)
{
    std::string section(b ? b : "");
    lblTrimSectionName(&section[0]);
    section.resize(strlen(section.c_str()));
    std::string joined(a ? a : "");
    if (!section.empty())
        joined += "\n" + section;
    return utHandleFromString(joined.c_str());
}

int obSplitFileRef(const char *baseFolder, const char *text, MemHandle *fileOut,
                   MemHandle *sectionOut)
{
    if (fileOut)
        *fileOut = 0;
    if (sectionOut)
        *sectionOut = 0;
    if (!text || !*text)
        return 0;
    const char *cut = strchr(text, '\n');
    if (!cut)
        cut = strchr(text, ',');
    std::string file(text, cut ? (size_t)(cut - text) : strlen(text));
    if (!file.empty() && file.back() == '\r')
        file.pop_back();
    if (cut && sectionOut) {
        std::string section(cut + 1);
        lblTrimSectionName(&section[0]);
        *sectionOut = utHandleFromString(section.c_str());
    }
    if (file.empty() || !fileOut)
        return 0;
    if (baseFolder && *baseFolder && utHasNoFolder(file.c_str())) {
        char full[MAX_PATH];
        utJoinPath(full, baseFolder, file.c_str());
        *fileOut = utHandleFromString(full);
    } else {
        *fileOut = utHandleFromString(file.c_str());
    }
    return *fileOut ? 1 : 0;
}
