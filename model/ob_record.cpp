// The object record: creation, size, copy and release, names, geometry and
// head-field accessors, colours, fills, flags and new arrows.
#include "model/ob_record.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_types.h"
#include "model/pg_page.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include "support/app_frame_globals.h"
#include "support/app_ui_state.h"
#include "model/ob_polygon.h"
#include <string.h>
#include <algorithm>
#include <vector>

ObLock::ObLock(MemHandle h) : lock_(h), rec_(nullptr), block_(0)
{
    uint32_t size = utHandleSize(h);
    if (lock_ && size >= kObHeadSize) {
        rec_ = lock_.get();
        block_ = size;
    }
}

uint32_t ObLock::extent() const
{
    return rec_ ? std::min(rec_->length, block_) : 0;
}

namespace {

// Called after an object's name changed (none until installed).
void (*g_renameHook)() = nullptr;

// Bytes of an extra data packet: its first u32, never more than its block.
uint32_t extraDataSize(MemHandle extra)
{
    uint32_t block = utHandleSize(extra);
    if (block < 4)
        return 0;
    MemLock<uint32_t> p(extra);
    return std::min(p[0], block);
}

ObFollowMovedCall g_followMoved = nullptr;

}  // namespace

void obRelinkMoved(MemHandle old, MemHandle now)
{
    if (!old || !now || old == now)
        return;
    MemHandle prev, next, parent, first, attached;
    {
        ObLock r(now);
        if (!r)
            return;
        prev = r->prev;
        next = r->next;
        parent = r->parent;
        first = r->firstMember;
        attached = r->attached;
    }
    if (prev && obGetNext(prev) == old)
        obSetNext(prev, now);
    if (next && obGetPrev(next) == old)
        obSetPrev(next, now);
    if (parent) {
        if (obGetFirstMember(parent) == old) {
            obSetFirstMember(parent, now);
        } else {
            std::vector<MemHandle> chain;
            obCollectTree(obGetFirstMember(parent), OB_WALK_NEXT_MEMBER, chain);
            for (MemHandle m : chain)
                if (obGetNextMember(m) == old)
                    obSetNextMember(m, now);
        }
        if (obGetAttached(parent) == old)
            obSetAttached(parent, now);
    }
    std::vector<MemHandle> members;
    obCollectTree(first, OB_WALK_NEXT_MEMBER, members);
    for (MemHandle m : members)
        if (obGetParent(m) == old)
            obSetParent(m, now);
    if (attached && obGetParent(attached) == old)
        obSetParent(attached, now);
    // What the active workspace keeps of the old handle (selection, tracked
    // object, undo step, a page's first object, a page in the directory)
    // follows the move.
    if (g_followMoved)
        g_followMoved(appGetActiveWorkspace(), old, now);
}

void obSetFollowMovedCall(ObFollowMovedCall call) { g_followMoved = call; }

namespace {

// One record duplicated at its recomputed size with its own copy of the
// extra data; its tree links cleared, prev and next as in the source.
MemHandle copyNode(MemHandle src)
{
    if (obGetType(src) == OBT_PAGE)
        return 0;   // a page owns blocks a record copy would share
    MemHandle c = obDup(src);
    if (!c)
        return 0;
    MemHandle extra;
    {
        ObLock r(c);
        extra = r->extraData;
        MemHandle prev = r->prev, next = r->next;
        obRecClearLinks(r.get());
        r->prev = prev;
        r->next = next;
    }
    if (extra && utIsLiveHandle(extra)) {
        MemHandle e = utCopyHandle(extra);
        if (!e) {
            utFreeHandle(c);
            return 0;
        }
        ObLock(c)->extraData = e;
    }
    return c;
}

// One head field of a record, 0 for no record.
template <typename T>
T headValue(MemHandle h, T ObjectRecord::*field)
{
    ObLock r(h);
    return r ? r.get()->*field : T(0);
}

void setHeadField(ObjectRecord *r, int id, const uint32_t *v)
{
    switch (id) {
    case OBH_LAYER: r->layer = (uint8_t)v[0]; break;
    case OBH_CENTRE_X: r->centreX = (int32_t)v[0]; break;
    case OBH_CENTRE_Y: r->centreY = (int32_t)v[0]; break;
    case OBH_WIDTH: r->width = (int32_t)v[0]; break;
    case OBH_HEIGHT: r->height = (int32_t)v[0]; break;
    case OBH_ROTATION: r->rotation = (uint16_t)v[0]; break;
    case OBH_LINE_STYLE: r->lineStyle = (uint16_t)v[0]; break;
    case OBH_PEN_WIDTH: r->penWidth = (int16_t)(uint16_t)v[0]; break;
    case OBH_FILL_KIND: r->fillKind = (uint8_t)v[0]; break;
    case OBH_HATCH: r->hatch = (uint8_t)v[0]; break;
    case OBH_COLOURS:
        r->penColour = v[0];
        r->fillColour = v[1];
        r->backColour = v[2];
        break;
    case OBH_FILL_COLOUR: r->fillColour = v[0]; break;
    case OBH_BACK_COLOUR: r->backColour = v[0]; break;
    case OBH_PEN_COLOUR: r->penColour = v[0]; break;
    case OBH_SCALE_X: r->scaleX = v[0]; break;
    case OBH_SCALE_Y: r->scaleY = v[0]; break;
    case OBH_FLAGS: r->flags = v[0]; break;
    default: break;
    }
}

void setFlagsOn(const std::vector<MemHandle> &nodes, uint32_t mask, BOOL on)
{
    for (MemHandle n : nodes) {
        ObLock r(n);
        if (r)
            r->flags = on ? (r->flags | mask) : (r->flags & ~mask);
    }
}

void setFlagsWalk(MemHandle h, unsigned links, uint32_t mask, BOOL on)
{
    std::vector<MemHandle> nodes;
    obCollectTree(h, links, nodes);
    setFlagsOn(nodes, mask, on);
}

BOOL testFlag(MemHandle h, uint32_t mask)
{
    ObLock r(h);
    return r && (r->flags & mask) ? TRUE : FALSE;
}

bool hasArrowData(const ObLock &r)
{
    return r && r->type == OBT_ARROW && obDataOffset(r.get()) + kObArrowDataSize <= r.extent();
}

}  // namespace

// ---- creation, size and life -------------------------------------------------------

MemHandle obNewRecord(uint32_t size)
{
    if (size < kObHeadSize)
        return 0;
    MemHandle h = utAllocHandle(0, size);
    if (!h)
        return 0;
    ObLock(h)->length = size;
    return h;
}

uint32_t obCalcSize(MemHandle h, uint32_t dflt)
{
    ObLock r(h);
    return r ? objRecordSizeIn(r.get(), r.blockSize(), 0) : dflt;
}

uint32_t obRecTreeSize(ObjectRecord *rec, uint32_t start)
{
    if (!rec)
        return start;
    uint32_t size = start + extraDataSize(rec->extraData);
    for (MemHandle sub : {rec->firstMember, rec->nextMember, rec->attached})
        size = obTreeSize(sub, size);
    return size + objRecordSize(rec, 0);
}

uint32_t obTreeSize(MemHandle h, uint32_t start)
{
    std::vector<MemHandle> nodes;
    obCollectTree(h, OB_WALK_ALL, nodes);
    uint32_t size = start;
    for (MemHandle n : nodes)
        size += extraDataSize(obGetExtraData(n)) + obCalcSize(n, 0);
    return size;
}

MemHandle obResize(MemHandle h, uint32_t size)
{
    if (!h || size < kObHeadSize || !utIsLiveHandle(h))
        return 0;
    MemHandle g = utAllocHandle(h, size);
    if (!g)
        return 0;
    ObLock(g)->length = size;
    obRelinkMoved(h, g);
    return g;
}

void obFreeTree(MemHandle h)
{
    if (!h || !utIsLiveHandle(h))
        return;
    if (obGetType(h) == OBT_PAGE) {
        pgFreeList(h);
        return;
    }
    std::vector<MemHandle> nodes;
    obCollectTree(h, OB_WALK_ALL, nodes);
    // Members before their owners; each record after its extra data.
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it) {
        if (!utIsLiveHandle(*it))
            continue;
        if (obGetType(*it) == OBT_PAGE) {
            pgFreeList(*it);
            continue;
        }
        utFreeHandle(obGetExtraData(*it));
        utFreeHandle(*it);
    }
}

MemHandle obCopyTree(MemHandle h, MemHandle parent)
{
    if (!h)
        return 0;
    struct Work {
        MemHandle src;
        MemHandle parent;   // parent of the copy
        MemHandle holder;   // copy whose link receives it (0: the root)
        size_t link;
    };
    std::vector<Work> stack{Work{h, parent, 0, 0}};
    MemHandle root = 0;
    size_t limit = (size_t)std::max(utLiveHandleCount(), 0L);
    size_t visited = 0;
    bool failed = false;
    while (!stack.empty()) {
        Work w = stack.back();
        stack.pop_back();
        MemHandle c = ++visited > limit ? 0 : copyNode(w.src);
        if (!c) {
            failed = true;
            break;
        }
        obSetParent(c, w.parent);
        if (w.holder) {
            MemLock<uint8_t> p(w.holder);
            memcpy(p.get() + w.link, &c, sizeof c);
        } else {
            root = c;
        }
        ObLock s(w.src);
        if (s->attached)
            stack.push_back(Work{s->attached, 0, c, offsetof(ObjectRecord, attached)});
        if (s->nextMember)
            stack.push_back(Work{s->nextMember, w.parent, c, offsetof(ObjectRecord, nextMember)});
        if (s->firstMember)
            stack.push_back(Work{s->firstMember, c, c, offsetof(ObjectRecord, firstMember)});
    }
    if (failed) {
        if (root) {
            ObLock r(root);
            r->prev = r->next = 0;   // the source's neighbours are not ours to free
        }
        obFreeTree(root);
        return 0;
    }
    return root;
}

namespace {

// A copy of the record's bytes (at most `block`) sized on the copy, so that
// the source keeps its own length and bytes; a type without a size of its
// own keeps the stored length within the block.
MemHandle dupBytes(const ObjectRecord *rec, uint32_t block)
{
    const uint8_t *src = reinterpret_cast<const uint8_t *>(rec);
    std::vector<uint8_t> copy(src, src + block);
    ObjectRecord *c = reinterpret_cast<ObjectRecord *>(copy.data());
    uint32_t len = std::max(objKeptSize(c, block), kObHeadSize);
    MemHandle h = utAllocHandle(0, len);
    if (!h)
        return 0;
    MemLock<uint8_t> d(h);
    memcpy(d.get(), copy.data(), std::min(len, block));
    reinterpret_cast<ObjectRecord *>(d.get())->length = len;
    return h;
}

}  // namespace

MemHandle obRecDup(ObjectRecord *rec)
{
    if (!rec || rec->length < kObHeadSize)
        return 0;
    return dupBytes(rec, rec->length);
}

MemHandle obDup(MemHandle h)
{
    ObLock s(h);
    if (!s)
        return 0;
    return dupBytes(s.get(), s.blockSize());
}

void obRecClearLinks(ObjectRecord *rec)
{
    if (!rec)
        return;
    if (rec->prev || rec->next)
        obNoteListLinksChanged();
    rec->extraData = rec->prev = rec->next = rec->parent = 0;
    rec->firstMember = rec->nextMember = rec->attached = 0;
}

MemHandle obMakeFileRecord(MemHandle h)
{
    ObLock r(h);
    if (!r)
        return 0;
    uint32_t ext = std::max(r.extent(), kObHeadSize);
    uint32_t size = ext - (kObHeadSize - kObFileHeadSize);
    MemHandle f = utAllocHandle(0, size);
    if (!f)
        return 0;
    MemLock<uint8_t> p(f);
    ObjectFileHead *fh = reinterpret_cast<ObjectFileHead *>(p.get());
    memcpy(fh->head, r.get(), sizeof fh->head);
    memcpy(fh->head, &size, 4);
    fh->hasExtraData = r->extraData != 0;
    fh->hasPrev = r->prev != 0;
    fh->hasNext = r->next != 0;
    fh->hasParent = r->parent != 0;
    fh->hasFirstMember = r->firstMember != 0;
    fh->hasNextMember = r->nextMember != 0;
    fh->hasAttached = r->attached != 0;
    memcpy(p.get() + kObFileHeadSize, reinterpret_cast<uint8_t *>(r.get()) + kObHeadSize,
           ext - kObHeadSize);
    return f;
}

// ---- names ----------------------------------------------------------------------------

void obSetRenameHook(void (*hook)()) { g_renameHook = hook; }

MemHandle obSetName(MemHandle h, const char *text)
{
    char name[kObMaxNameBytes];
    utStrCopyN(name, text ? text : "", sizeof name);
    uint32_t newLen = name[0] ? (uint32_t)strlen(name) + 1 : 0;

    std::vector<uint8_t> data;
    uint32_t newSize;
    {
        ObLock r(h);
        if (!r)
            return 0;
        uint32_t oldEnd = kObHeadSize + r->nameLength;
        uint32_t ext = r.extent();
        if (oldEnd > ext)
            return 0;   // a name longer than the record: damaged, left alone
        const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
        data.assign(p + oldEnd, p + ext);
        newSize = kObHeadSize + newLen + (uint32_t)data.size();
    }
    MemHandle g = obResize(h, newSize);
    if (!g)
        return 0;
    {
        ObLock r(g);
        uint8_t *p = reinterpret_cast<uint8_t *>(r.get());
        memcpy(p + kObHeadSize, name, newLen);
        if (!data.empty())
            memcpy(p + kObHeadSize + newLen, data.data(), data.size());
        r->nameLength = (uint8_t)newLen;
        r->length = newSize;
    }
    if (g_renameHook)
        g_renameHook();
    return g;
}

void obGetName(MemHandle h, char *buffer)
{
    if (!buffer)
        return;
    buffer[0] = 0;
    ObLock r(h);
    if (!r || !r->nameLength || kObHeadSize + r->nameLength > r.blockSize())
        return;
    uint32_t n = std::min<uint32_t>(r->nameLength, kObMaxNameBytes);
    memcpy(buffer, reinterpret_cast<const uint8_t *>(r.get()) + kObHeadSize, n);
    buffer[n - 1] = 0;
}

MemHandle obGetNameHandle(MemHandle h)
{
    char name[kObMaxNameBytes];
    obGetName(h, name);
    return name[0] ? utHandleFromString(name) : 0;
}

// ---- geometry accessors -----------------------------------------------------------------

uint32_t obDataOffset(const ObjectRecord *rec) { return kObHeadSize + rec->nameLength; }

uint8_t *obRecData(ObjectRecord *rec)
{
    return reinterpret_cast<uint8_t *>(rec) + obDataOffset(rec);
}

void obGetCentre(MemHandle h, POINT *centre)
{
    ObLock r(h);
    centre->x = r ? r->centreX : 0;
    centre->y = r ? r->centreY : 0;
}

int32_t obGetWidth(MemHandle h) { return headValue(h, &ObjectRecord::width); }
int32_t obGetHeight(MemHandle h) { return headValue(h, &ObjectRecord::height); }
int16_t obGetType(MemHandle h) { return headValue(h, &ObjectRecord::type); }
uint8_t obGetFillKind(MemHandle h) { return headValue(h, &ObjectRecord::fillKind); }
uint32_t obGetFlags(MemHandle h) { return headValue(h, &ObjectRecord::flags); }

void obRecSetRect(ObjectRecord *rec, const RECT *r)
{
    int64_t l = r->left, t = r->top, rt = r->right, b = r->bottom;
    rec->centreX = (int32_t)((l + rt) / 2);
    rec->centreY = (int32_t)((t + b) / 2);
    rec->width = (int32_t)(rt > l ? rt - l : l - rt);
    rec->height = (int32_t)(b > t ? b - t : t - b);
}

void obSetRect(MemHandle h, const RECT *r)
{
    ObLock rec(h);
    if (rec)
        obRecSetRect(rec.get(), r);
}

void obRecGetLocalRect(const ObjectRecord *rec, RECT *r)
{
    int32_t l = -(rec->width / 2), t = -(rec->height / 2);
    geoSetRect(r, l, t, l + rec->width, t + rec->height);
}

void obRecGetRect(const ObjectRecord *rec, RECT *r)
{
    obRecGetLocalRect(rec, r);
    geoOffsetRect(r, rec->centreX, rec->centreY);
}

BOOL obSizeWithinLimits(int64_t size) { return size >= -kObMaxExtent && size <= kObMaxExtent; }

BOOL obCoordWithinLimits(int64_t coord)
{
    return coord >= -2 * (int64_t)kObMaxExtent && coord <= 2 * (int64_t)kObMaxExtent;
}

BOOL obHeadWithinLimits(const ObjectRecord *rec)
{
    return rec && obSizeWithinLimits(rec->width) && obSizeWithinLimits(rec->height) &&
           obCoordWithinLimits(rec->centreX) && obCoordWithinLimits(rec->centreY);
}

void obGetRect(MemHandle h, RECT *r)
{
    ObLock rec(h);
    if (rec)
        obRecGetRect(rec.get(), r);
    else
        geoSetRect(r, 0, 0, 0, 0);
}

void obGetTopLeft(MemHandle h, POINT *pt)
{
    RECT r;
    obGetRect(h, &r);
    pt->x = r.left;
    pt->y = r.top;
}

BOOL obGetListRect(MemHandle first, RECT *r)
{
    std::vector<MemHandle> list;
    obCollectList(first, list);
    geoSetRect(r, 0, 0, 0, 0);
    if (list.empty())
        return FALSE;
    obGetRect(list[0], r);
    for (size_t i = 1; i < list.size(); ++i) {
        RECT box;
        obGetRect(list[i], &box);
        geoUnionRect(r, r, &box);
    }
    return TRUE;
}

void obRecAddToCentre(ObjectRecord *rec, int32_t dx, int32_t dy)
{
    rec->centreX += dx;
    rec->centreY += dy;
}

void obRecMoveBy(ObjectRecord *rec, int32_t dx, int32_t dy) { obRecAddToCentre(rec, dx, dy); }

void obSetDataOrigin(MemHandle h, int32_t x, int32_t y)
{
    ObLock r(h);
    if (!r || obDataOffset(r.get()) + 8 > r.extent())
        return;
    int32_t v[2] = {x, y};
    memcpy(obRecData(r.get()), v, sizeof v);
}

uint32_t obFillDataSize(uint8_t fillKind)
{
    return fillKind == 2 ? kObPatternFillSize : fillKind == 3 ? kObGradientFillSize : 0;
}

uint8_t *obGetFillData(ObjectRecord *rec)
{
    if (!rec)
        return nullptr;
    uint32_t base = obDataOffset(rec);
    uint32_t len = rec->length;
    if (base > len)
        return nullptr;
    uint8_t *data = obRecData(rec);
    uint32_t off;
    switch (rec->type) {
    case OBT_SQUARE:
    case OBT_RECTANGLE:
    case OBT_CIRCLE:
    case OBT_ELLIPSE:
    case OBT_DIAMOND:
    case OBT_COUNTER802:
    case OBT_SHAPE803:
        off = 8;
        break;
    case OBT_ROUNDRECT: off = 16; break;
    case OBT_GRID:
    case OBT_GRID491:
    case OBT_GRID492:
        off = 20;
        break;
    case OBT_PIE: off = 20; break;
    case OBT_POLYGON:
    case OBT_CLOSED_CURVE:
    case OBT_CUBE: {
        if (base + 2 > len)
            return nullptr;
        int16_t count;
        memcpy(&count, data, 2);
        if (count < 0)
            return nullptr;
        off = 2 + 8 * (uint32_t)count;
        break;
    }
    case OBT_ARROW: off = kObArrowDataSize; break;
    default: return nullptr;
    }
    if ((uint64_t)base + off + obFillDataSize(rec->fillKind) > len)
        return nullptr;
    return data + off;
}

uint8_t *obGetPatternData(ObjectRecord *rec)
{
    return rec && rec->fillKind == 2 ? obGetFillData(rec) : nullptr;
}

int32_t obGetDrawnPenWidth(const ObjectRecord *rec)
{
    int32_t w = rec->penWidth;
    if ((rec->lineStyle & 0x8000) && w != 0)
        w = std::max(w, dmGetPixelSize());
    return w;
}

// ---- head fields by id ------------------------------------------------------------------

void obSetHeadField(MemHandle h, int id, const void *value)
{
    ObLock r(h);
    if (r && value)
        setHeadField(r.get(), id, static_cast<const uint32_t *>(value));
}

void obTreeSetHeadField(MemHandle h, int id, const void *value)
{
    std::vector<MemHandle> nodes;
    obCollectTree(h, OB_WALK_ALL, nodes);
    for (MemHandle n : nodes)
        obSetHeadField(n, id, value);
}

// ---- colours --------------------------------------------------------------------------------

void obSetColour(MemHandle h, int colourId, COLORREF colour)
{
    int field = colourId == OB_COLOUR_FILL   ? OBH_FILL_COLOUR
                : colourId == OB_COLOUR_BACK ? OBH_BACK_COLOUR
                : colourId == OB_COLOUR_PEN  ? OBH_PEN_COLOUR
                                             : 0;
    if (!h || !field)
        return;
    uint32_t v = colour;
    obTreeSetHeadField(h, field, &v);
    const ObTypeProcs &p = obTypeProcs(obGetType(h));
    if (p.setColour)
        p.setColour(appGetFrameWindow(), h, colour, colourId);
    else if (colourId == OB_COLOUR_FILL)
        obMakeFilled(h);
}

void obSetColourLinked(MemHandle h, int colourId, COLORREF colour)
{
    if (!h)
        return;
    MemHandle first = obGetFirstMember(h), next = obGetNextMember(h), att = obGetAttached(h);
    obSetColour(h, colourId, colour);
    obSetColour(first, colourId, colour);
    obSetColour(next, colourId, colour);
    obSetColour(att, colourId, colour);
}

void obSetFillColourLinked(MemHandle h, COLORREF colour) { obSetColourLinked(h, OB_COLOUR_FILL, colour); }
void obSetBackColourLinked(MemHandle h, COLORREF colour) { obSetColourLinked(h, OB_COLOUR_BACK, colour); }
void obSetPenColour(MemHandle h, COLORREF colour) { obSetColourLinked(h, OB_COLOUR_PEN, colour); }

// ---- fills ------------------------------------------------------------------------------------

int obSetPatternFill(MemHandle *ph, const void *block)
{
    if (!ph || !block)
        return 0;
    MemHandle h = *ph;
    uint8_t oldKind;
    bool same;
    uint32_t size;
    {
        ObLock r(h);
        if (!r || !obHasFill(r->type))
            return 0;
        oldKind = r->fillKind;
        const uint8_t *old = obGetPatternData(r.get());
        same = old && memcmp(old, block, kObPatternFillSize) == 0;
        r->fillKind = 2;
        size = objRecordSizeIn(r.get(), r.blockSize(), 0);
    }
    MemHandle g = obResize(h, size);
    if (!g) {
        ObLock r(h);
        r->fillKind = oldKind;
        objRecordSizeIn(r.get(), r.blockSize(), 0);
        return 0;
    }
    *ph = g;
    ObLock r(g);
    uint8_t *p = obGetFillData(r.get());
    if (!p) {
        // The type keeps no room for a pattern block: nothing changes.
        r->fillKind = oldKind;
        objRecordSizeIn(r.get(), r.blockSize(), 0);
        return 0;
    }
    memcpy(p, block, kObPatternFillSize);
    return same ? 0 : 1;
}

int obTreeSetPatternFill(MemHandle *ph, const void *block)
{
    if (!ph)
        return 0;
    std::vector<MemHandle> nodes;
    obCollectTree(*ph, OB_WALK_ALL, nodes);
    int changed = 0;
    for (MemHandle n : nodes) {
        MemHandle x = n;
        if (obSetPatternFill(&x, block))
            changed = 1;
        if (n == *ph)
            *ph = x;
    }
    return changed;
}

void obSetFillKind(MemHandle h, uint8_t kind)
{
    ObLock r(h);
    if (r && obCanHaveFill(r->type))
        r->fillKind = kind;
}

void obTreeSetFillKind(MemHandle h, uint8_t kind)
{
    std::vector<MemHandle> nodes;
    obCollectTree(h, OB_WALK_ALL, nodes);
    for (auto it = nodes.rbegin(); it != nodes.rend(); ++it)
        obSetFillKind(*it, kind);
}

void obMakeFilled(MemHandle h)
{
    ObLock r(h);
    if (r && r->fillKind == 0)
        r->fillKind = 1;
}

// ---- flags ------------------------------------------------------------------------------------

void obSetFlags(MemHandle h, uint32_t mask, BOOL on) { setFlagsWalk(h, OB_WALK_ROOT_ALONE, mask, on); }
void obTreeSetFlags(MemHandle h, uint32_t mask, BOOL on) { setFlagsWalk(h, OB_WALK_MEMBERS, mask, on); }
void obSetFlagsTree(MemHandle h, uint32_t mask, BOOL on) { setFlagsWalk(h, OB_WALK_ALL, mask, on); }
void obClearTextFlagTree(MemHandle h) { obSetFlagsTree(h, OBF_TEXT_FIT, FALSE); }
void obSetHidden(MemHandle h, BOOL on) { obSetFlags(h, OBF_HIDDEN, on); }
void obTreeSetHidden(MemHandle h, BOOL on) { obTreeSetFlags(h, OBF_HIDDEN, on); }

BOOL obIsHidden(MemHandle h)
{
    ObLock r(h);
    return r ? ((r->flags & OBF_HIDDEN) ? TRUE : FALSE) : TRUE;
}

BOOL obIsLocked(MemHandle h) { return testFlag(h, OBF_LOCKED); }
BOOL obTestFlag100(MemHandle h) { return testFlag(h, OBF_SELECT_PRESS); }
BOOL obTestFlag200(MemHandle h) { return testFlag(h, OBF_TEXT_FIT); }
BOOL obTestFlag4000(MemHandle h) { return testFlag(h, OBF_CURVED_TEXT); }

BOOL obTestNoFlag800(MemHandle h)
{
    ObLock r(h);
    return r && !(r->flags & OBF_NO_POINT_EDIT) ? TRUE : FALSE;
}

void obSetNoRotate(MemHandle h, BOOL allow) { obSetFlags(h, OBF_NO_ROTATE, !allow); }
void obSetFlag4000(MemHandle h, BOOL on) { obSetFlags(h, OBF_CURVED_TEXT, on); }

// ---- arrows -----------------------------------------------------------------------------------

MemHandle obArrowToPolygon(MemHandle h)
{
    ObLock r(h);
    if (!hasArrowData(r))
        return 0;
    POINT outline[7];
    memcpy(outline, obRecData(r.get()) + 38, sizeof outline);
    const uint8_t *fill = obFillDataSize(r->fillKind) ? obGetFillData(r.get()) : nullptr;
    MemHandle poly = epMakePolygonRecord(r.get(), outline, 7, fill);
    if (!poly)
        return 0;
    {
        ObLock p(poly);
        uint32_t len = p->length;
        if (len > r.blockSize()) {
            utFreeHandle(poly);
            return 0;
        }
        memcpy(r.get(), p.get(), len);
    }
    utFreeHandle(poly);
    return h;
}
