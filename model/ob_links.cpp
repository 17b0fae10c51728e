// Object links, lists, member chains, tree walks, moves and orderings.
#include "model/ob_links.h"
#include "model/ob_draw.h"
#include "support/dm_map.h"
#include "support/geo_rect.h"
#include "support/rc_list.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include <stdarg.h>
#include <string.h>
#include <algorithm>
#include <unordered_set>

namespace {

// No walk can meet more distinct objects than there are blocks alive; one
// that does is going round a cycle of a damaged structure.
size_t walkLimit() { return (size_t)std::max(utLiveHandleCount(), 0L); }

// Keeps the first visit of each handle (only a walk cut short repeats one).
void dropRepeats(std::vector<MemHandle> &v, size_t from)
{
    std::unordered_set<MemHandle> seen;
    size_t to = from;
    for (size_t i = from; i < v.size(); ++i)
        if (seen.insert(v[i]).second)
            v[to++] = v[i];
    v.resize(to);
}

MemHandle getLink(MemHandle h, size_t offset)
{
    ObLock r(h);
    if (!r)
        return 0;
    return utGetAt<MemHandle>(r.get(), offset);
}

const size_t kPrev = offsetof(ObjectRecord, prev);
const size_t kNext = offsetof(ObjectRecord, next);

// Counts every change of a prev or next link, so that a kept list tail
// can tell whether any list has changed since it was kept.
uint32_t g_listLinkEpoch = 0;

void setLink(MemHandle h, size_t offset, MemHandle v)
{
    ObLock r(h);
    if (!r)
        return;
    uint8_t *at = reinterpret_cast<uint8_t *>(r.get()) + offset;
    if ((offset == kPrev || offset == kNext) && utGetAt<MemHandle>(r.get(), offset) != v)
        ++g_listLinkEpoch;
    memcpy(at, &v, sizeof v);
}
const size_t kParent = offsetof(ObjectRecord, parent);
const size_t kExtra = offsetof(ObjectRecord, extraData);
const size_t kFirstMember = offsetof(ObjectRecord, firstMember);
const size_t kNextMember = offsetof(ObjectRecord, nextMember);
const size_t kAttached = offsetof(ObjectRecord, attached);

// The members of an owner in chain order (a chain that runs in a circle
// ends where it comes round).
std::vector<MemHandle> membersOf(MemHandle owner)
{
    std::vector<MemHandle> v;
    obCollectTree(obGetFirstMember(owner), OB_WALK_NEXT_MEMBER, v);
    return v;
}

void moveEach(const std::vector<MemHandle> &nodes, int32_t dx, int32_t dy)
{
    for (MemHandle n : nodes) {
        ObLock r(n);
        if (r)
            obRecAddToCentre(r.get(), dx, dy);
    }
}

void moveTree(MemHandle h, int32_t dx, int32_t dy, unsigned links)
{
    if (!h || (dx == 0 && dy == 0))
        return;
    std::vector<MemHandle> nodes;
    obCollectTree(h, links, nodes);
    moveEach(nodes, dx, dy);
}

RECT boxOf(MemHandle h)
{
    RECT r;
    obGetRect(h, &r);
    return r;
}

// Follows a link back (parent, prev) to the last object that has none.
MemHandle climb(MemHandle h, MemHandle (*up)(MemHandle))
{
    size_t limit = walkLimit();
    for (size_t i = 0; h && i < limit; ++i) {
        MemHandle p = up(h);
        if (!p || !utIsLiveHandle(p))
            return h;
        h = p;
    }
    return h;
}

// Moves the tree so that a corner of its box lands on the point.
void moveCornerTo(MemHandle h, POINT pt, bool right, bool bottom)
{
    RECT b = boxOf(h);
    obMoveBy(h, pt.x - (right ? b.right : b.left), pt.y - (bottom ? b.bottom : b.top));
}

int sign3(int64_t d) { return d < 0 ? -1 : (d > 0 ? 1 : 0); }

struct Keyed {
    MemHandle h;
    RECT box;
    int32_t row;
};

// Reading order with a consistent key: boxes are taken from the top down;
// a box whose top lies within the tolerance of the current row's first top
// joins that row, else it starts a new row; rows then go left to right
// (equal lefts by top).
void sortReadingOrder(MemHandle *items, int32_t n)
{
    std::vector<Keyed> v;
    v.reserve((size_t)n);
    for (int32_t i = 0; i < n; ++i)
        v.push_back(Keyed{items[i], boxOf(items[i]), 0});
    std::stable_sort(v.begin(), v.end(),
                     [](const Keyed &a, const Keyed &b) { return a.box.top < b.box.top; });
    int32_t row = 0;
    int64_t rowTop = v.empty() ? 0 : v[0].box.top;
    for (Keyed &k : v) {
        if ((int64_t)k.box.top - rowTop > kObRowTolerance) {
            ++row;
            rowTop = k.box.top;
        }
        k.row = row;
    }
    std::stable_sort(v.begin(), v.end(), [](const Keyed &a, const Keyed &b) {
        if (a.row != b.row)
            return a.row < b.row;
        if (a.box.left != b.box.left)
            return a.box.left < b.box.left;
        return a.box.top < b.box.top;
    });
    for (int32_t i = 0; i < n; ++i)
        items[i] = v[(size_t)i].h;
}

// Elements of an array handle that the block really holds.
int32_t heldElements(MemHandle array, int32_t n)
{
    if (!array || n <= 0)
        return 0;
    uint32_t held = utHandleSize(array) / sizeof(MemHandle);
    return (uint32_t)n > held ? (int32_t)held : n;
}

template <typename Key>
void sortArrayBy(MemHandle array, int32_t n, Key key)
{
    n = heldElements(array, n);
    if (n < 2)
        return;
    std::vector<std::pair<int32_t, MemHandle>> v;
    {
        MemLock<MemHandle> p(array);
        for (int32_t i = 0; i < n; ++i)
            v.emplace_back(0, p[i]);
    }
    for (auto &e : v)
        e.first = key(boxOf(e.second));
    std::stable_sort(v.begin(), v.end(),
                     [](const std::pair<int32_t, MemHandle> &a,
                        const std::pair<int32_t, MemHandle> &b) { return a.first < b.first; });
    MemLock<MemHandle> p(array);
    for (int32_t i = 0; i < n; ++i)
        p[i] = v[(size_t)i].second;
}

}  // namespace

// ---- walks -------------------------------------------------------------------------------

BOOL obCollectTree(MemHandle h, unsigned links, std::vector<MemHandle> &out)
{
    if (!h)
        return TRUE;
    size_t from = out.size();
    size_t limit = walkLimit();
    size_t visited = 0;
    std::vector<MemHandle> stack{h};
    bool root = true;
    while (!stack.empty()) {
        MemHandle x = stack.back();
        stack.pop_back();
        ObLock r(x);
        bool isRoot = root;
        root = false;
        if (!r)
            continue;
        if (++visited > limit) {
            dropRepeats(out, from);
            return FALSE;
        }
        out.push_back(x);
        // Pushed in reverse, so that the firstMember tree is done first.
        if ((links & OB_WALK_ATTACHED) && r->attached)
            stack.push_back(r->attached);
        if ((links & OB_WALK_NEXT_MEMBER) && r->nextMember &&
            !(isRoot && (links & OB_WALK_ROOT_ALONE)))
            stack.push_back(r->nextMember);
        if ((links & OB_WALK_FIRST_MEMBER) && r->firstMember)
            stack.push_back(r->firstMember);
    }
    return TRUE;
}

BOOL obCollectList(MemHandle first, std::vector<MemHandle> &out)
{
    size_t from = out.size();
    size_t limit = walkLimit();
    size_t visited = 0;
    for (MemHandle x = first; x; x = obGetNext(x)) {
        if (!utIsLiveHandle(x))
            break;
        if (++visited > limit) {
            dropRepeats(out, from);
            return FALSE;
        }
        out.push_back(x);
    }
    return TRUE;
}

// ---- link accessors ------------------------------------------------------------------------

MemHandle obGetPrev(MemHandle h) { return getLink(h, kPrev); }
void obSetPrev(MemHandle h, MemHandle link) { setLink(h, kPrev, link); }
MemHandle obGetNext(MemHandle h) { return getLink(h, kNext); }
void obSetNext(MemHandle h, MemHandle link) { setLink(h, kNext, link); }
MemHandle obGetParent(MemHandle h) { return getLink(h, kParent); }
void obSetParent(MemHandle h, MemHandle link) { setLink(h, kParent, link); }
MemHandle obGetExtraData(MemHandle h) { return getLink(h, kExtra); }
void obSetExtraData(MemHandle h, MemHandle link) { setLink(h, kExtra, link); }
MemHandle obGetFirstMember(MemHandle h) { return getLink(h, kFirstMember); }
void obSetFirstMember(MemHandle h, MemHandle link) { setLink(h, kFirstMember, link); }
MemHandle obGetNextMember(MemHandle h) { return getLink(h, kNextMember); }
void obSetNextMember(MemHandle h, MemHandle link) { setLink(h, kNextMember, link); }
MemHandle obGetAttached(MemHandle h) { return getLink(h, kAttached); }
void obSetAttached(MemHandle h, MemHandle link) { setLink(h, kAttached, link); }

MemHandle obGetRoot(MemHandle h) { return climb(h, obGetParent); }

// ---- lists ---------------------------------------------------------------------------------

MemHandle obGetListHead(MemHandle h) { return climb(h, obGetPrev); }

uint32_t obListLinkEpoch() { return g_listLinkEpoch; }
void obNoteListLinksChanged() { ++g_listLinkEpoch; }

// The tail and length of a list by walking its links, as obCollectList
// would find them; nothing is allocated unless the walk meets more objects
// than are alive (a damaged list going round), which obCollectList sorts out.
MemHandle obGetListTail(MemHandle h)
{
    size_t limit = walkLimit(), visited = 0;
    MemHandle tail = 0;
    for (MemHandle x = h; x && utIsLiveHandle(x); x = obGetNext(x)) {
        if (++visited > limit) {
            std::vector<MemHandle> v;
            obCollectList(h, v);
            return v.empty() ? 0 : v.back();
        }
        tail = x;
    }
    return tail;
}

int32_t obCountList(MemHandle first)
{
    size_t limit = walkLimit(), visited = 0;
    for (MemHandle x = first; x && utIsLiveHandle(x); x = obGetNext(x)) {
        if (++visited > limit) {
            std::vector<MemHandle> v;
            obCollectList(first, v);
            return (int32_t)v.size();
        }
    }
    return (int32_t)visited;
}

void obLinkPair(MemHandle a, MemHandle b)
{
    obSetNext(a, b);
    obSetPrev(b, a);
}

void obUnlink(MemHandle h)
{
    if (!h)
        return;
    MemHandle p = obGetPrev(h);
    MemHandle n = obGetNext(h);
    if (p)
        obSetNext(p, n);
    if (n)
        obSetPrev(n, p);
}

BOOL obListContains(MemHandle first, MemHandle h)
{
    if (!h)
        return FALSE;
    std::vector<MemHandle> v;
    obCollectList(first, v);
    return std::find(v.begin(), v.end(), h) != v.end();
}

MemHandle obRemoveFromList(MemHandle first, MemHandle h)
{
    if (!obListContains(first, h))
        return first;
    MemHandle result = (h == first) ? obGetNext(h) : first;
    obUnlink(h);
    return result;
}

BOOL obDelete(MemHandle h)
{
    if (!h)
        return FALSE;
    obUnlink(h);
    obFreeTree(h);
    return TRUE;
}

void obDeleteList(MemHandle first)
{
    std::vector<MemHandle> v;
    obCollectList(first, v);
    for (MemHandle h : v)
        obDelete(h);
}

void obFreeList(MemHandle first)
{
    std::vector<MemHandle> v;
    obCollectList(first, v);
    for (MemHandle h : v)
        obFreeTree(h);
}

int32_t obListToArray(MemHandle first, MemHandle *array, int32_t capacity)
{
    if (!array || capacity <= 0)
        return 0;
    std::vector<MemHandle> v;
    obCollectList(first, v);
    int32_t n = (int32_t)std::min(v.size(), (size_t)capacity);
    for (int32_t i = 0; i < n; ++i)
        array[i] = v[(size_t)i];
    return n;
}

MemHandle obListToArrayN(MemHandle first, int32_t *count)
{
    if (count)
        *count = 0;
    std::vector<MemHandle> v;
    obCollectList(first, v);
    if (v.empty())
        return 0;
    MemHandle a = utHandleFromBytes(v.data(), (uint32_t)(v.size() * sizeof(MemHandle)));
    if (a && count)
        *count = (int32_t)v.size();
    return a;
}

MemHandle obListToPacket(MemHandle first)
{
    std::vector<MemHandle> v;
    obCollectList(first, v);
    if (v.empty())
        return 0;
    uint32_t size = (uint32_t)(v.size() * sizeof(MemHandle) + 4);
    MemHandle p = utAllocHandle(0, size);
    if (!p)
        return 0;
    MemLock<uint8_t> b(p);
    memcpy(b.get(), &size, 4);
    memcpy(b.get() + 4, v.data(), v.size() * sizeof(MemHandle));
    return p;
}

MemHandle obRelinkFromArray(MemHandle array, int32_t n)
{
    n = heldElements(array, n);
    if (n <= 0)
        return 0;
    std::vector<MemHandle> v((size_t)n);
    {
        MemLock<MemHandle> p(array);
        std::copy(p.get(), p.get() + n, v.begin());
    }
    for (int32_t i = 0; i < n; ++i) {
        obSetPrev(v[(size_t)i], i > 0 ? v[(size_t)i - 1] : 0);
        obSetNext(v[(size_t)i], i + 1 < n ? v[(size_t)i + 1] : 0);
    }
    return v[0];
}

int obSortListReadingOrder(MemHandle *listRef)
{
    if (!listRef)
        return 0;
    std::vector<MemHandle> v;
    obCollectList(*listRef, v);
    if (v.size() < 2)
        return 0;
    sortReadingOrder(v.data(), (int32_t)v.size());
    for (size_t i = 0; i < v.size(); ++i) {
        obSetPrev(v[i], i > 0 ? v[i - 1] : 0);
        obSetNext(v[i], i + 1 < v.size() ? v[i + 1] : 0);
    }
    *listRef = v[0];
    return 1;
}

// ---- members ---------------------------------------------------------------------------------

int32_t obCountMembers(MemHandle owner) { return (int32_t)membersOf(owner).size(); }

void obAddMember(MemHandle owner, MemHandle m)
{
    if (!owner || !m || owner == m || !utIsLiveHandle(m))
        return;
    std::vector<MemHandle> chain = membersOf(owner);
    if (std::find(chain.begin(), chain.end(), m) != chain.end())
        return;   // already a member: appending again would close a cycle
    if (chain.empty())
        obSetFirstMember(owner, m);
    else
        obSetNextMember(chain.back(), m);
    obSetParent(m, owner);
}

MemHandle obNewGroupN(int16_t type, const MemHandle *members, int32_t n)
{
    if (!members || n <= 0 || !members[0])
        return 0;
    MemHandle g = obNewRecord(kObHeadSize);
    if (!g)
        return 0;
    {
        ObLock src(members[0]);
        ObLock r(g);
        r->type = type;
        if (src) {
            r->centreX = src->centreX;
            r->centreY = src->centreY;
            r->width = src->width;
            r->height = src->height;
        }
    }
    for (int32_t i = 0; i < n && members[i]; ++i)
        obAddMember(g, members[i]);
    RECT box;
    obFitToMembers(g, &box);
    return g;
}

MemHandle obNewGroup(int16_t type, MemHandle m1, ...)
{
    if (!m1)
        return 0;
    std::vector<MemHandle> v{m1};
    va_list ap;
    va_start(ap, m1);
    for (;;) {
        MemHandle m = va_arg(ap, MemHandle);
        if (!m)
            break;
        v.push_back(m);
    }
    va_end(ap);
    return obNewGroupN(type, v.data(), (int32_t)v.size());
}

MemHandle obCollectMembers(MemHandle owner, int32_t *count)
{
    if (count)
        *count = 0;
    MemHandle array = 0;
    int32_t n = 0;
    for (MemHandle m : membersOf(owner)) {
        MemHandle grown = rcArrayAppend(array, n, &m, sizeof m);
        if (!grown) {
            utFreeHandle(array);
            return 0;
        }
        array = grown;
        ++n;
    }
    if (count)
        *count = n;
    return array;
}

MemHandle obTakeMembers(MemHandle owner, int32_t *count)
{
    MemHandle array = obCollectMembers(owner, count);
    if (!array)
        return 0;
    for (MemHandle m : membersOf(owner))
        obSetNextMember(m, 0);
    obSetFirstMember(owner, 0);
    return array;
}

void obSetMembers(MemHandle owner, const MemHandle *array, int32_t n)
{
    if (!owner || !array || n <= 0)
        return;
    obSetFirstMember(owner, array[0]);
    for (int32_t i = 0; i < n; ++i) {
        obSetNextMember(array[i], i + 1 < n ? array[i + 1] : 0);
        obSetParent(array[i], owner);
    }
}

MemHandle obUngroup(MemHandle group)
{
    if (!group)
        return 0;
    std::vector<MemHandle> members = membersOf(group);
    if (members.empty())
        return group;
    MemHandle before = obGetPrev(group);
    MemHandle after = obGetNext(group);
    MemHandle last = before;
    for (MemHandle m : members) {
        obSetNextMember(m, 0);
        obSetParent(m, 0);
        obSetPrev(m, last);
        if (last)
            obSetNext(last, m);
        last = m;
    }
    obSetNext(last, after);
    if (after)
        obSetPrev(after, last);
    {
        ObLock r(group);
        obNoteListLinksChanged();
        r->next = 0;
        r->prev = 0;
        r->firstMember = 0;
        // The group goes alone: members after it in some other chain stay.
        r->nextMember = 0;
    }
    obDelete(group);
    return members[0];
}

BOOL obFitToMembers(MemHandle owner, RECT *r)
{
    RECT box;
    geoSetRect(&box, 0, 0, 0, 0);
    if (!owner) {
        if (r)
            *r = box;
        return FALSE;
    }
    std::vector<MemHandle> members = membersOf(owner);
    if (members.empty()) {
        obGetRect(owner, &box);
    } else {
        obGetDrawnRect(members[0], &box);
        for (size_t i = 1; i < members.size(); ++i) {
            RECT m;
            obGetDrawnRect(members[i], &m);
            geoUnionRect(&box, &box, &m);
        }
        obSetRect(owner, &box);
    }
    if (r)
        *r = box;
    return TRUE;
}

int obSwapTwoMembers(MemHandle owner)
{
    std::vector<MemHandle> m = membersOf(owner);
    if (m.size() != 2)
        return 0;
    RECT a = boxOf(m[0]);
    RECT b = boxOf(m[1]);
    obMoveAloneBy(m[1], a.left - b.left, a.top - b.top);
    obMoveAloneBy(m[0], b.left - a.left, b.top - a.top);
    RECT box;
    obFitToMembers(owner, &box);
    return 1;
}

// ---- moving -----------------------------------------------------------------------------------

void obMoveBy(MemHandle h, int32_t dx, int32_t dy) { moveTree(h, dx, dy, OB_WALK_ALL); }

void obRecMoveTree(ObjectRecord *rec, int32_t dx, int32_t dy)
{
    if (!rec || (dx == 0 && dy == 0))
        return;
    std::vector<MemHandle> nodes;
    obCollectTree(rec->firstMember, OB_WALK_ALL, nodes);
    obCollectTree(rec->nextMember, OB_WALK_ALL, nodes);
    obCollectTree(rec->attached, OB_WALK_ALL, nodes);
    moveEach(nodes, dx, dy);
    obRecAddToCentre(rec, dx, dy);
}

void obMoveAloneBy(MemHandle h, int32_t dx, int32_t dy)
{
    moveTree(h, dx, dy, OB_WALK_ALL | OB_WALK_ROOT_ALONE);
}

void obMoveListBy(MemHandle first, int32_t dx, int32_t dy)
{
    if (dx == 0 && dy == 0)
        return;
    std::vector<MemHandle> v;
    obCollectList(first, v);
    for (MemHandle h : v)
        obMoveBy(h, dx, dy);
}

void obMoveCentreTo(MemHandle h, POINT pt)
{
    if (!h)
        return;
    POINT c;
    obGetCentre(h, &c);
    obMoveBy(h, pt.x - c.x, pt.y - c.y);
}

void obMoveTopLeftTo(MemHandle h, POINT pt) { moveCornerTo(h, pt, false, false); }
void obMoveTopRightTo(MemHandle h, POINT pt) { moveCornerTo(h, pt, true, false); }
void obMoveBottomLeftTo(MemHandle h, POINT pt) { moveCornerTo(h, pt, false, true); }
void obMoveBottomRightTo(MemHandle h, POINT pt) { moveCornerTo(h, pt, true, true); }

void obCentreInClient(HWND window, MemHandle h)
{
    RECT client;
    if (!h || !GetClientRect(window, &client))
        return;
    POINT c;
    c.x = dmDevToLogX((client.left + client.right) / 2);
    c.y = dmDevToLogY((client.top + client.bottom) / 2);
    obMoveCentreTo(h, c);
}

// ---- orderings ---------------------------------------------------------------------------------

int obCompareReadingOrder(MemHandle a, MemHandle b)
{
    RECT ra = boxOf(a), rb = boxOf(b);
    if (ra.left == rb.left && ra.top == rb.top)
        return 0;
    int64_t d = (int64_t)rb.top - ra.top;
    if (d > kObRowTolerance)
        return -1;
    if (d < -kObRowTolerance)
        return 1;
    if (ra.left != rb.left)
        return ra.left < rb.left ? -1 : 1;
    return ra.top < rb.top ? -1 : 1;
}

int obSortReadingOrder(MemHandle *array, int32_t n)
{
    if (!array || n < 2)
        return 0;
    sortReadingOrder(array, n);
    return 1;
}

int obSortReadingOrderN(MemHandle array, int32_t n)
{
    n = heldElements(array, n);
    if (n < 2)
        return 0;
    std::vector<MemHandle> v((size_t)n);
    {
        MemLock<MemHandle> p(array);
        std::copy(p.get(), p.get() + n, v.begin());
    }
    sortReadingOrder(v.data(), n);
    MemLock<MemHandle> p(array);
    std::copy(v.begin(), v.end(), p.get());
    return 1;
}

MemHandle obFirstOfTwo(MemHandle a, MemHandle b)
{
    RECT ra = boxOf(a), rb = boxOf(b);
    if (ra.top != rb.top)
        return ra.top < rb.top ? a : b;
    return ra.left < rb.left ? a : b;
}

int obCompareTop(MemHandle a, MemHandle b)
{
    return sign3((int64_t)boxOf(a).top - boxOf(b).top);
}

int obCompareLeft(MemHandle a, MemHandle b)
{
    return sign3((int64_t)boxOf(a).left - boxOf(b).left);
}

void obSortByTop(MemHandle array, int32_t n)
{
    sortArrayBy(array, n, [](const RECT &r) { return (int32_t)r.top; });
}

void obSortByLeft(MemHandle array, int32_t n)
{
    sortArrayBy(array, n, [](const RECT &r) { return (int32_t)r.left; });
}
