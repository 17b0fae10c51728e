// Page records: their release, object list, attributes and names.
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/ob_links.h"
#include "model/att_attr.h"
#include "model/ob_dispatch.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include <stdio.h>
#include <string.h>
#include <string>

namespace {

// The tail of the page list the last append made, with the list link
// number it had then.
struct KeptTail {
    MemHandle page, first, last;
    uint32_t epoch;
};
KeptTail g_tail = {0, 0, 0, 0};

}  // namespace

uint32_t pgRecCalcSize(const ObjectRecord *rec)
{
    return pgRecCalcSize(reinterpret_cast<const uint8_t *>(rec));
}

void pgFreeList(MemHandle first)
{
    std::vector<MemHandle> pages;
    obCollectList(first, pages);
    for (MemHandle page : pages) {
        MemHandle attached, extra, objects = 0;
        MemHandle blocks[5] = {0, 0, 0, 0, 0};
        {
            ObLock r(page);
            if (!r)
                continue;
            attached = r->attached;
            extra = r->extraData;
            uint32_t base = obDataOffset(r.get());
            if (base + kPgDataSize <= r.extent()) {
                const uint8_t *d = reinterpret_cast<const uint8_t *>(r.get()) + base;
                const uint32_t at[5] = {PGD_LAYER_IN_USE, PGD_LAYER_EDIT, PGD_LAYER_HIDDEN,
                                        PGD_SIDE_BLOCK, PGD_PALETTE_BLOCK};
                for (int i = 0; i < 5; ++i)
                    memcpy(&blocks[i], d + at[i], 4);
                memcpy(&objects, d + PGD_FIRST_OBJECT, 4);
            }
        }
        obFreeTree(attached);
        obFreeList(objects);
        for (MemHandle b : blocks)
            utFreeHandle(b);
        utFreeHandle(extra);
        utFreeHandle(page);
    }
}

// ---- the object list ----------------------------------------------------------------

MemHandle pgGetFirstObject(MemHandle page)
{
    PgLock p(page);
    return p ? p.data()->firstObject : 0;
}

void pgSetFirstObject(MemHandle page, MemHandle first)
{
    {
        PgLock p(page);
        if (!p)
            return;
        p.data()->firstObject = first;
    }
    obSetPrev(first, 0);
}

MemHandle pgGetLastObject(MemHandle page)
{
    MemHandle first = pgGetFirstObject(page);
    return first ? obGetListTail(first) : 0;
}

void pgAppendObject(MemHandle page, MemHandle object)
{
    if (!object || !PgLock(page))
        return;
    {
        // It joins the page's top-level list alone: out of any list or
        // member chain it was in, with no owner. What it owns - its
        // members, attached object and extra data - stays with it.
        ObLock r(object);
        if (r) {
            if (r->prev || r->next)
                obNoteListLinksChanged();
            r->prev = r->next = r->parent = r->nextMember = 0;
        }
    }
    pgAppendObjects(page, object);
}

void pgAppendObjects(MemHandle page, MemHandle first)
{
    if (!first || !PgLock(page))
        return;
    // The tail the last append left is kept while no list link anywhere has
    // changed since, so that appending objects one by one is linear.
    MemHandle head = pgGetFirstObject(page);
    MemHandle last = 0;
    if (g_tail.page == page && g_tail.first == head && g_tail.epoch == obListLinkEpoch() &&
        head && utIsLiveHandle(g_tail.last))
        last = g_tail.last;
    else
        last = head ? obGetListTail(head) : 0;
    if (last)
        obLinkPair(last, first);
    else
        pgSetFirstObject(page, first);
    g_tail.page = page;
    g_tail.first = pgGetFirstObject(page);
    g_tail.last = obGetListTail(first);
    g_tail.epoch = obListLinkEpoch();
}

// ---- attributes ------------------------------------------------------------------------

MemHandle pgGetAttrCopy(MemHandle page, uint32_t tag)
{
    PgLock p(page);
    int length = 0;
    const uint8_t *data = p.findAttr(tag, &length);
    return data && length > 0 ? utHandleFromBytes(data, (uint32_t)length) : 0;
}

MemHandle pgSetAttr(MemHandle page, uint32_t tag, const void *data, int length)
{
    uint32_t header, run;
    {
        PgLock p(page);
        if (!p)
            return 0;
        uint32_t size = pgRecCalcSize(p.head());
        // A length the parts do not give is taken from them, as long as the
        // record's block holds them.
        if (size > utHandleSize(page))
            return 0;
        p.head()->length = size;
        header = p.dataOffset() + PGD_ATTR_HEADER;
        run = p.dataOffset() + kPgDataSize;
    }
    MemHandle valid = attSet(page, TRUE, header, run, data, length, tag);
    if (valid)
        obRelinkMoved(page, valid);
    return valid;
}

MemHandle pgGetTextAttr(MemHandle page, uint32_t tag)
{
    PgLock p(page);
    int length = 0;
    const uint8_t *data = p.findAttr(tag, &length);
    return data ? attTextCopy(data, length) : 0;
}

MemHandle pgSetTextAttr(MemHandle page, uint32_t tag, const char *text)
{
    int n = attTextLength(text);
    return n < 0 ? 0 : pgSetAttr(page, tag, text, n);
}

MemHandle pgGetText80000(MemHandle page) { return pgGetTextAttr(page, PGA_TEXT80000); }
MemHandle pgSetText80000(MemHandle page, const char *text)
{
    return pgSetTextAttr(page, PGA_TEXT80000, text);
}
MemHandle pgGetText100000(MemHandle page) { return pgGetTextAttr(page, PGA_TEXT100000); }
MemHandle pgSetText100000(MemHandle page, const char *text)
{
    return pgSetTextAttr(page, PGA_TEXT100000, text);
}
MemHandle pgGetText10000000(MemHandle page) { return pgGetTextAttr(page, PGA_TEXT10000000); }
MemHandle pgSetText10000000(MemHandle page, const char *text)
{
    return pgSetTextAttr(page, PGA_TEXT10000000, text);
}

MemHandle pgGetAttr16(MemHandle page) { return pgGetAttrCopy(page, PGA_BLOCK16); }
MemHandle pgGetBlock128(MemHandle page) { return pgGetAttrCopy(page, PGA_BLOCK128); }

MemHandle pgSetBlock128(MemHandle page, MemHandle block)
{
    if (!block)
        return pgSetAttr(page, PGA_BLOCK128, nullptr, 0);
    uint32_t length = utGetPacketLength(block);
    if (length < 4 || length > utHandleSize(block) || length > (uint32_t)kAttMaxValue)
        return 0;
    MemLock<uint8_t> b(block);
    return pgSetAttr(page, PGA_BLOCK128, b.get(), (int)length);
}

MemHandle pgGetBlock20000000(MemHandle page) { return pgGetAttrCopy(page, PGA_BLOCK20000000); }
MemHandle pgSetBlock20000000(MemHandle page, const void *data, int length)
{
    return pgSetAttr(page, PGA_BLOCK20000000, data, length);
}

int pgGetLabelLayout(MemHandle page, LabelSpec *spec)
{
    PgLock p(page);
    int length = 0;
    const uint8_t *data = p.findAttr(PGA_LABEL_LAYOUT, &length);
    if (!data || length < (int)sizeof(LabelSpec))
        return 0;
    memcpy(spec, data, sizeof(LabelSpec));
    return 1;
}

int pgHasFlag64(MemHandle page)
{
    PgLock p(page);
    return p.findAttr(kPgFlag64) ? 1 : 0;
}

MemHandle pgSetFlag64(MemHandle page, BOOL on)
{
    if (!PgLock(page))
        return 0;
    if ((pgHasFlag64(page) != 0) == (on != FALSE))
        return page;
    uint8_t value[kPgFlag64Size] = {};
    value[0] = kPgFlag64Size;
    return pgSetAttr(page, kPgFlag64, on ? value : nullptr, on ? kPgFlag64Size : 0);
}

// ---- names ---------------------------------------------------------------------------------

const char *pgGetName(MemHandle page)
{
    PgLock p(page);
    int length = 0;
    const char *name = reinterpret_cast<const char *>(p.findAttr(PGA_NAME, &length));
    if (!name || length < 1 || !memchr(name, 0, (size_t)length) || !name[0])
        name = p && p.head()->nameLength > 1
                   ? reinterpret_cast<const char *>(p.bytes()) + kObHeadSize
                   : nullptr;
    // One more lock than the guard's: the page stays locked for the caller
    // while it reads the name.
    if (name)
        utLock(page);
    return name;
}

void pgUnlock(MemHandle page) { utUnlock(page); }

MemHandle pgGetNameCopy(MemHandle page)
{
    const char *name = pgGetName(page);
    if (!name)
        return 0;
    MemHandle copy = utHandleFromString(name);
    pgUnlock(page);
    return copy;
}

MemHandle pgGetNumberedName(MemHandle page, int n)
{
    char name[kObMaxNameBytes + 256] = {};
    pgCopyName(page, name, sizeof(name));
    char number[16];
    snprintf(number, sizeof(number), "%d. ", n);
    std::string text = std::string(number) + name;
    return utHandleFromString(text.c_str());
}

int pgCopyName(MemHandle page, char *buffer, int max)
{
    if (!buffer || max <= 0)
        return 0;
    buffer[0] = 0;
    const char *name = pgGetName(page);
    if (!name)
        return 0;
    utStrCopyN(buffer, name, (uint32_t)max);
    pgUnlock(page);
    return (int)strlen(buffer);
}

MemHandle pgSetName(MemHandle page, const char *text)
{
    if (!PgLock(page))
        return 0;
    MemHandle valid = obSetName(page, "");
    if (!valid)
        return 0;
    return pgSetTextAttr(valid, PGA_NAME, text);
}

void utSplitFirstLine(const char *text, char *first, uint32_t firstSize, char *rest,
                      uint32_t restSize)
{
    if (firstSize)
        first[0] = 0;
    if (restSize)
        rest[0] = 0;
    if (!text)
        return;
    const char *lf = strchr(text, '\n');
    size_t n = lf ? (size_t)(lf - text) : strlen(text);
    if (firstSize) {
        size_t m = n < firstSize - 1 ? n : firstSize - 1;
        memcpy(first, text, m);
        first[m] = 0;
    }
    if (lf)
        utStrCopyN(rest, lf + 1, restSize);
}
