// The one-level undo of object edits.
#include "commands/ud_undo.h"
#include "commands/app_stdbar.h"
#include "commands/ep_select.h"
#include "commands/ms_merge.h"
#include "commands/ms_select.h"
#include "commands/obj_block.h"
#include "commands/ord_order.h"
#include "table/tb_record.h"
#include "commands/ws_objects.h"
#include "tools/ep_members.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include "model/pg_dir.h"
#include "model/fm_form.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/rc_list.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "model/ws_document.h"
#include "views/ws_tools.h"
#include <string.h>
#include <stdint.h>
#include <algorithm>
#include <vector>

namespace {

// Workspaces whose selection changes keep the pending step, with nesting.
std::vector<HWND> &keptSteps()
{
    static std::vector<HWND> kept;
    return kept;
}

// Frees the handles a step owns: its data (a merge block releasing its
// objects first) and its member list.
void freeStep(UndoRecord &u)
{
    if (u.kind == UD_MERGE && u.saved)
        msReleaseMergeUndo(u.saved);
    else if (u.saved && utIsLiveHandle(u.saved))
        utFreeHandle(u.saved);
    if (u.members && u.members != u.saved && utIsLiveHandle(u.members))
        utFreeHandle(u.members);
    memset(&u, 0, sizeof u);
}

// Takes the pending step out of the workspace: the caller owns it now.
bool takeStep(HWND ws, UndoRecord *out)
{
    BOOL pending = wsGetUndo(ws, out);
    UndoRecord none = {};
    wsPutUndo(ws, &none);
    return pending != FALSE;
}

MemHandle copyBytes(MemHandle h, uint32_t at, uint32_t n)
{
    std::vector<uint8_t> bytes;
    {
        ObLock r(h);
        if (!r || at > r.extent() || n > r.extent() - at || !n)
            return 0;
        const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
        bytes.assign(p + at, p + at + n);
    }
    return utHandleFromBytes(bytes.data(), n);
}

// The saved copy of a property block by sub-kind; 0 when there is none.
MemHandle propertyCopy(MemHandle object, int16_t subKind)
{
    ObLock r(object);
    if (!r)
        return 0;
    uint32_t ext = r.extent();
    uint32_t data = kObHeadSize + r->nameLength;
    switch (subKind) {
    case UD_SUB_NAME: {
        if (!r->nameLength || data > ext)
            return 0;
        std::vector<char> name(r->nameLength + 1, 0);
        memcpy(name.data(), reinterpret_cast<const uint8_t *>(r.get()) + kObHeadSize,
               r->nameLength);
        name[r->nameLength] = 0;
        uint32_t n = (uint32_t)strlen(name.data()) + 1;
        return n > 1 ? utHandleFromBytes(name.data(), n) : 0;
    }
    case UD_SUB_ARC_HEAD:
        return copyBytes(object, 0, std::min(ext, data + UD_ARC_DATA_BYTES));
    case UD_SUB_CORNERS:
        return data + UD_CORNER_DATA_BYTES <= ext ? copyBytes(object, data, UD_CORNER_DATA_BYTES)
                                                  : 0;
    case UD_SUB_MEMBER_MOVES: {
        std::vector<MemHandle> members;
        for (MemHandle m = r->firstMember; m && members.size() < 1000000; m = obGetNextMember(m))
            members.push_back(m);
        if (members.empty())
            return 0;
        std::vector<POINT> centres(members.size());
        for (size_t i = 0; i < members.size(); ++i)
            obGetCentre(members[i], &centres[i]);
        return utHandleFromBytes(centres.data(), (uint32_t)(centres.size() * sizeof(POINT)));
    }
    case UD_SUB_TABLE_HEAD:
        return 0;   // made by the table module (below)
    default:
        return 0;
    }
}

// The page's top-level objects before a chain was made: u32 handles
// ending with 0.
// The u32 values of a handle, at most `limit` bytes of it.
std::vector<uint32_t> wordsOf(MemHandle h, uint32_t at = 0, uint32_t limit = 0xFFFFFFFF)
{
    std::vector<uint32_t> out;
    uint32_t size = std::min(utHandleSize(h), limit);
    MemLock<uint8_t> p(h);
    if (!p)
        return out;
    for (uint32_t i = at; i + 4 <= size; i += 4)
        out.push_back(utGetAt<uint32_t>(p.get(), i));
    return out;
}

void moveTreeBy(HWND ws, MemHandle h, int32_t dx, int32_t dy)
{
    if (!dx && !dy)
        return;
    obInvalidate(ws, h);
    obMoveAloneBy(h, dx, dy);
    obInvalidate(ws, h);
}

void moveCentreTo(HWND ws, MemHandle h, POINT to)
{
    POINT c;
    obGetCentre(h, &c);
    moveTreeBy(ws, h, to.x - c.x, to.y - c.y);
}

// A page record that moved while it changed is stored back where the
// document keeps it, so that the workspace finds it again.
void keepCurrentPage(HWND ws, MemHandle before, MemHandle now)
{
    if (!now || now == before)
        return;
    MemHandle form = wsGetDocument(ws);
    int index = pvGetCurrentPageIndex(ws);
    if (!form)
        return;
    if (index == -1)
        fmSetBasePage(form, now);
    else if (index >= 0)
        pgDirSetPages(fmGetDirectory(form), now, index);
}

// The guide attribute put back from a copy that starts with its own u32
// length (none or an empty copy: the attribute removed).
void restoreGuides(HWND ws, MemHandle copy, uint32_t at, uint32_t length)
{
    MemHandle page = pvGetCurrentPage(ws);
    if (!page)
        return;
    std::vector<uint8_t> bytes;
    if (copy && length) {
        MemLock<uint8_t> p(copy);
        if (p && at <= utHandleSize(copy) && length <= utHandleSize(copy) - at)
            bytes.assign(p.get() + at, p.get() + at + length);
    }
    keepCurrentPage(ws, page,
                    pgSetAttr(page, UD_PAGE_GUIDES_TAG, bytes.empty() ? nullptr : bytes.data(),
                              (int)bytes.size()));
    InvalidateRect(ws, nullptr, TRUE);
}

uint32_t packetLength(MemHandle h, uint32_t at)
{
    uint32_t size = utHandleSize(h);
    MemLock<uint8_t> p(h);
    if (!p || at > size || size - at < 4)
        return 0;
    uint32_t n;
    memcpy(&n, p.get() + at, 4);
    return n <= size - at ? n : 0;
}

// The bytes of a saved record start copied over a live record, its length
// word and its seven links kept as they are now.
void restoreRecordStart(MemHandle h, MemHandle saved, uint32_t n)
{
    std::vector<uint8_t> bytes;
    {
        MemLock<uint8_t> s(saved);
        if (!s || n > utHandleSize(saved))
            return;
        bytes.assign(s.get(), s.get() + n);
    }
    ObLock r(h);
    if (!r)
        return;
    n = std::min<uint32_t>(n, r.extent());
    uint8_t *p = reinterpret_cast<uint8_t *>(r.get());
    ObjectRecord live;
    memcpy(&live, p, sizeof live);
    memcpy(p, bytes.data(), n);
    // The length stays the record's own; the links stay the live ones.
    memcpy(p, &live.length, 4);
    const uint32_t linksAt = offsetof(ObjectRecord, extraData);
    memcpy(p + linksAt, reinterpret_cast<const uint8_t *>(&live) + linksAt,
           sizeof(ObjectRecord) - linksAt);
}

// An object whose record moved while it was restored: the page's head and
// the selection follow it (its neighbours and owner were told already).
void followMoved(HWND ws, MemHandle old, MemHandle now)
{
    if (!now || now == old)
        return;
    if (wsGetFirstObject(ws) == old)
        wsSetFirstObject(ws, now);
    if (wsGetCurrentObject(ws) == old)
        wsSetCurrentObject(ws, now);
}

}  // namespace

MemHandle udCopyRecordBytes(MemHandle object)
{
    uint32_t n = 0;
    {
        ObLock r(object);
        n = r ? r.extent() : 0;
    }
    return n ? copyBytes(object, 0, n) : 0;
}

// Kind 18: the record's handle grown or shrunk to the saved length and
// overwritten with the copy, the live links kept. The handle to use after.
MemHandle udRestoreRecordBytes(HWND ws, MemHandle current, MemHandle saved)
{
    uint32_t n = packetLength(saved, 0);
    if (!current || n < kObHeadSize)
        return current;
    obInvalidate(ws, current);
    MemHandle h = obResize(current, n);
    if (!h)
        return current;
    followMoved(ws, current, h);
    restoreRecordStart(h, saved, n);
    obInvalidate(ws, h);
    return h;
}

namespace {

// Kind 3. Sets *keep when the step must stay pending.
MemHandle performProperty(HWND ws, const UndoRecord &u, MemHandle current, bool *keep)
{
    if (!u.saved)
        return current;
    if (current != u.object) {
        *keep = true;
        return current;
    }
    switch (u.subKind) {
    case UD_SUB_NAME: {
        std::vector<char> name(utHandleSize(u.saved) + 1, 0);
        {
            MemLock<char> p(u.saved);
            if (p)
                memcpy(name.data(), p.get(), name.size() - 1);
        }
        obInvalidate(ws, current);
        MemHandle h = obSetName(current, name.data());
        followMoved(ws, current, h);
        return h ? h : current;
    }
    case UD_SUB_ARC_HEAD: {
        // The copy's own extent: its head, its name, the type data's start.
        uint32_t n = 0;
        {
            MemLock<ObjectRecord> s(u.saved);
            if (s && utHandleSize(u.saved) >= kObHeadSize)
                n = std::min(utHandleSize(u.saved),
                             kObHeadSize + s->nameLength + UD_ARC_DATA_BYTES);
        }
        if (!n)
            return current;
        obInvalidate(ws, current);
        restoreRecordStart(current, u.saved, n);
        obInvalidate(ws, current);
        return current;
    }
    case UD_SUB_CORNERS: {
        std::vector<uint8_t> bytes(UD_CORNER_DATA_BYTES);
        {
            MemLock<uint8_t> s(u.saved);
            if (!s || utHandleSize(u.saved) < UD_CORNER_DATA_BYTES)
                return current;
            memcpy(bytes.data(), s.get(), UD_CORNER_DATA_BYTES);
        }
        obInvalidate(ws, current);
        {
            ObLock r(current);
            uint32_t at = r ? kObHeadSize + r->nameLength : 0;
            if (r && at + UD_CORNER_DATA_BYTES <= r.extent())
                memcpy(reinterpret_cast<uint8_t *>(r.get()) + at, bytes.data(), bytes.size());
        }
        obInvalidate(ws, current);
        return current;
    }
    case UD_SUB_MEMBER_MOVES:
        epRestoreMemberCentres(ws, current, u.saved);
        return current;
    case UD_SUB_TABLE_HEAD: {
        MemHandle h = tbReplaceHead(ws, current, u.saved);
        followMoved(ws, current, h);
        return h;
    }
    default:
        return current;   // nothing kept for this sub-kind
    }
}

// Kinds 1, 4, 11, 12 to 14 and 31: the saved copy rebuilt and put in.
MemHandle performReinsert(HWND ws, const UndoRecord &u, MemHandle current, bool *failed)
{
    MemHandle copy = objUnpackTree(u.saved);
    if (!copy) {
        *failed = true;
        return 0;
    }
    switch (u.kind) {
    case UD_DELETED:
        if (u.object && wsPageHasObject(ws, u.object))
            wsInsertObjectAfter(ws, u.object, copy);
        else
            wsAppendObject(ws, copy);
        return copy;
    case UD_REPLACED:
    case UD_CURVE_TEXT:
        if (current && wsPageHasObject(ws, current) && wsReplaceObject(ws, current, copy))
            return copy;
        obFreeTree(copy);
        return current;
    case UD_LAYER_CHANGE:
    case UD_LAYER_EDIT:
    case UD_LAYER_HIDE:
        if (!current) {
            std::vector<uint32_t> members = wordsOf(u.members, 0, 4u * u.memberCount);
            for (size_t i = 1; i < members.size(); ++i)
                if (wsPageHasObject(ws, members[i])) {
                    obInvalidate(ws, members[i]);
                    wsDeleteObject(ws, members[i]);
                }
            if (!members.empty() && wsReplaceObject(ws, members[0], copy))
                return copy;
            obFreeTree(copy);
            return 0;
        }
        // fall through: with a current object, as kind 1
    default:
        if (current && wsReplaceObject(ws, current, copy))
            return copy;
        obFreeTree(copy);
        return current;
    }
}

// Kinds 7 to 10 and 22: what was added is taken away again.
MemHandle performRemoveAdded(HWND ws, const UndoRecord &u)
{
    switch (u.kind) {
    case UD_INSERTED:
    case UD_CREATED:
        if (wsPageHasObject(ws, u.object)) {
            obInvalidate(ws, u.object);
            wsDeleteObject(ws, u.object);
        }
        if (wsGetToolMode(ws) != TM_CREATE)
            epClearSelection(ws);
        wsMarkModified(ws);
        return 0;
    case UD_CLONED:
        if (wsPageHasObject(ws, u.object)) {
            std::vector<MemHandle> gone;
            obCollectList(u.object, gone);
            for (MemHandle h : gone)
                obInvalidate(ws, h);
            wsFreeObjectsFrom(ws, u.object);
        }
        epClearSelection(ws);
        wsMarkModified(ws);
        return 0;
    default:   // 10 and 22: the modified mark is not set
        epClearSelection(ws);
        if (wsPageHasObject(ws, u.object)) {
            std::vector<MemHandle> gone;
            obCollectList(u.object, gone);
            for (MemHandle h : gone)
                obInvalidate(ws, h);
            wsFreeObjectsFrom(ws, u.object);
        }
        return 0;
    }
}

void performMargins(HWND ws, MemHandle saved)
{
    MemHandle page = pvGetCurrentPage(ws);
    int32_t v[4];
    {
        MemLock<uint8_t> p(saved);
        if (!page || !p || utHandleSize(saved) < sizeof v)
            return;
        memcpy(v, p.get(), sizeof v);
    }
    RECT before = {}, now = {v[0], v[1], v[2], v[3]};
    pgGetMarginRect(page, &before);
    keepCurrentPage(ws, page, pgSetMarginRect(page, &now));
    RECT area;
    geoUnionRect(&area, &before, &now);
    dmInflateByHandle(&area);
    int32_t px = dmDevToLogW(1);
    geoInflateRect(&area, px, px);
    dmInvalidateLogRect(ws, &area, TRUE);
}

void performGuideDrag(HWND ws, MemHandle saved)
{
    uint32_t guides = packetLength(saved, 0);
    uint32_t size = utHandleSize(saved);
    GuideDragTail tail = {};
    {
        MemLock<uint8_t> p(saved);
        if (!p || guides > size || size - guides < sizeof tail)
            return;
        memcpy(&tail, p.get() + guides, sizeof tail);
    }
    uint32_t at = guides + (uint32_t)sizeof tail;
    std::vector<uint32_t> objects = wordsOf(saved, at, at + 4u * std::min<uint32_t>(tail.count, (size - at) / 4));
    for (uint32_t h : objects)
        if (wsPageHasObject(ws, h)) {
            if (tail.axis == 1)
                moveTreeBy(ws, h, -tail.distance, 0);
            else
                moveTreeBy(ws, h, 0, -tail.distance);
        }
    restoreGuides(ws, saved, 0, guides);
}

}  // namespace

// ---- keeping a step through its own command -----------------------------------------------

UdKeepStep::UdKeepStep(HWND ws) : ws_(ws) { keptSteps().push_back(ws); }

UdKeepStep::~UdKeepStep()
{
    std::vector<HWND> &kept = keptSteps();
    auto it = std::find(kept.rbegin(), kept.rend(), ws_);
    if (it != kept.rend())
        kept.erase(std::next(it).base());
}

BOOL udIsStepKept(HWND ws)
{
    const std::vector<HWND> &kept = keptSteps();
    return std::find(kept.begin(), kept.end(), ws) != kept.end();
}

// ---- recording ------------------------------------------------------------------------------

int udRecord(HWND ws, MemHandle object, uint32_t extra, int16_t kind, int16_t subKind)
{
    udDiscard(ws);
    UndoRecord u = {};
    u.object = object;
    u.kind = (uint16_t)kind;
    u.subKind = (uint16_t)subKind;
    bool needsData = false;
    switch (kind) {
    case UD_COPY:
    case UD_DELETED:
        u.saved = objPackTree(object);
        u.object = obGetPrev(object);
        needsData = true;
        break;
    case UD_COMMAND:
        u.command = LOWORD(extra);
        break;
    case UD_PROPERTY:
        u.saved = extra ? extra
                        : subKind == UD_SUB_TABLE_HEAD ? tbCopyData(object)
                                                       : propertyCopy(object, subKind);
        needsData = true;
        break;
    case UD_MOVED: {
        POINT c;
        obGetCentre(object, &c);
        u.saved = object ? utHandleFromBytes(&c, sizeof c) : 0;
        needsData = true;
        break;
    }
    case UD_REPLACED:
        u.saved = objPackTree(extra);
        needsData = true;
        break;
    case UD_LAYER_CHANGE:
    case UD_LAYER_EDIT:
    case UD_LAYER_HIDE: {
        int32_t count = 0;
        u.members = obCollectMembers(object, &count);
        u.memberCount = (uint16_t)std::min<int32_t>(count, 0xFFFF);
        u.saved = objPackTree(object);
        needsData = true;
        break;
    }
    case UD_LIST_ORDER:
    case UD_MERGE:
    case UD_GUIDE_DRAG:
    case UD_CURVE_TEXT:
        u.saved = extra;
        needsData = true;
        break;
    case UD_GUIDES:
    case UD_MARGINS:
        u.saved = extra;
        break;
    case UD_RECORD_BYTES:
        u.saved = udCopyRecordBytes(object);
        needsData = true;
        break;
    case UD_CHAIN:
        u.saved = extra ? extra : msSnapshotPage(ws);
        needsData = true;
        break;
    default:   // 7, 8, 9, 10, 22: the object alone
        break;
    }
    if ((needsData && !u.saved) || !wsGetRecordHandle(ws)) {
        freeStep(u);
        udDiscard(ws);
        appEnableUndoButton(FALSE);
        return 0;
    }
    wsPutUndo(ws, &u);
    appEnableUndoButton(TRUE);
    return 1;
}

int udRecordCopy(HWND ws, MemHandle object) { return udRecord(ws, object, 0, UD_COPY, 0); }

void udDiscard(HWND ws)
{
    UndoRecord u;
    if (!wsGetRecordHandle(ws))
        return;
    takeStep(ws, &u);
    freeStep(u);
}

int udIsPending(HWND ws)
{
    if (wsIsUndoPending(ws))
        return 1;
    udDiscard(ws);
    appEnableUndoButton(FALSE);
    return 0;
}

MemHandle udGetPendingData(HWND ws)
{
    UndoRecord u;
    return wsGetUndo(ws, &u) ? u.saved : 0;
}

void udSetUndoButton(HWND, BOOL on) { appEnableUndoButton(on); }

// ---- performing -----------------------------------------------------------------------------

MemHandle udPerform(HWND ws, MemHandle current)
{
    UndoRecord u;
    if (!takeStep(ws, &u)) {
        freeStep(u);
        return current;
    }
    MemHandle result = current;
    bool keep = false, failed = false;
    switch (u.kind) {
    case UD_COPY:
    case UD_DELETED:
    case UD_REPLACED:
    case UD_LAYER_CHANGE:
    case UD_LAYER_EDIT:
    case UD_LAYER_HIDE:
    case UD_CURVE_TEXT:
        result = performReinsert(ws, u, current, &failed);
        if (failed)
            result = 0;
        break;
    case UD_COMMAND:
        if (u.command)
            SendMessageA(ws, WM_COMMAND, u.command, 0);
        break;
    case UD_PROPERTY:
        result = performProperty(ws, u, current, &keep);
        break;
    case UD_MOVED: {
        int32_t c[2];
        {
            MemLock<uint8_t> p(u.saved);
            if (!p || utHandleSize(u.saved) < sizeof c)
                break;
            memcpy(c, p.get(), sizeof c);
        }
        if (current)
            moveCentreTo(ws, current, POINT{c[0], c[1]});
        break;
    }
    case UD_INSERTED:
    case UD_CREATED:
    case UD_CLONED:
    case UD_DROPPED:
    case UD_PAGE_MOVE:
        result = performRemoveAdded(ws, u);
        break;
    case UD_LIST_ORDER:
        ordRestoreListOrder(ws, u.saved);
        InvalidateRect(ws, nullptr, TRUE);
        break;
    case UD_RECORD_BYTES:
        result = udRestoreRecordBytes(ws, current, u.saved);
        break;
    case UD_MERGE:
        result = msUndoMerge(ws, u.saved);
        u.saved = 0;   // performing releases the block
        break;
    case UD_MARGINS:
        performMargins(ws, u.saved);
        break;
    case UD_GUIDES:
        restoreGuides(ws, u.saved, 0, packetLength(u.saved, 0));
        break;
    case UD_GUIDE_DRAG:
        performGuideDrag(ws, u.saved);
        break;
    case UD_CHAIN:
        result = msRestoreSnapshot(ws, u.saved, current);
        break;
    default:
        break;
    }
    if (keep) {
        // Performed against another object than its own: it stays pending,
        // unless something was recorded meanwhile.
        if (!wsIsUndoPending(ws))
            wsPutUndo(ws, &u);
        else
            freeStep(u);
        return result;
    }
    freeStep(u);
    // Whatever the performed step recorded itself is dropped too: there is
    // no redo.
    udDiscard(ws);
    appEnableUndoButton(FALSE);
    return result;
}

int cmdUndo(HWND ws, MemHandle current)
{
    if (current)
        obInvalidate(ws, current);
    MemHandle result = udPerform(ws, current);
    if (!result)
        return 0;
    epSelectObject(ws, result);
    obInvalidate(ws, result);
    return 1;
}

// ---- records that moved ------------------------------------------------------------------

void udFollowMovedObject(HWND ws, MemHandle old, MemHandle now)
{
    UndoRecord u;
    if (!old || old == now || !wsGetUndo(ws, &u))
        return;
    if (u.object == old) {
        u.object = now;
        wsPutUndo(ws, &u);
    }
    switch ((int16_t)u.kind) {
    case UD_LAYER_CHANGE:
    case UD_LAYER_EDIT:
    case UD_LAYER_HIDE:
        rcArrayReplaceHandle(u.members, 0, u.memberCount, old, now);
        break;
    case UD_CHAIN:
        rcArrayReplaceHandle(u.saved, 0, UINT32_MAX, old, now);
        break;
    case UD_LIST_ORDER:
        rcArrayReplaceHandle(u.saved, 4, UINT32_MAX, old, now);
        break;
    case UD_GUIDE_DRAG: {
        uint32_t guides = packetLength(u.saved, 0);
        GuideDragTail tail = {};
        {
            MemLock<uint8_t> p(u.saved);
            uint32_t size = utHandleSize(u.saved);
            if (!p || guides > size || size - guides < sizeof tail)
                break;
            memcpy(&tail, p.get() + guides, sizeof tail);
        }
        rcArrayReplaceHandle(u.saved, guides + (uint32_t)sizeof tail, tail.count, old, now);
        break;
    }
    case UD_MERGE:
        msFollowMovedObject(u.saved, old, now);
        break;
    default:
        break;
    }
}
