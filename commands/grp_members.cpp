// Arranging the members of a group or chain.
#include "commands/grp_members.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/ob_transform.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include <math.h>
#include <algorithm>
#include <vector>

namespace {

struct Member {
    MemHandle h;
    RECT r;
};

int32_t widthOf(const RECT &r) { return r.right - r.left; }
int32_t heightOf(const RECT &r) { return r.bottom - r.top; }

// The members taken out of the group's chain, in chain order, with their
// rectangles; put back with Members::restore, which relinks them in that
// order and refits the group.
class Members {
public:
    explicit Members(MemHandle group) : group_(group)
    {
        int32_t n = 0;
        MemHandle array = obTakeMembers(group, &n);
        {
            MemLock<MemHandle> p(array);
            for (int32_t i = 0; p && i < n; ++i) {
                Member m = {p.get()[i], {0, 0, 0, 0}};
                obGetRect(m.h, &m.r);
                list.push_back(m);
            }
        }
        utFreeHandle(array);
    }
    ~Members()
    {
        std::vector<MemHandle> handles;
        for (const Member &m : list)
            handles.push_back(m.h);
        if (!handles.empty())
            obSetMembers(group_, handles.data(), (int32_t)handles.size());
        RECT box;
        grpFitToMembers(group_, &box);
    }
    Members(const Members &) = delete;
    Members &operator=(const Members &) = delete;

    // Pointers into the list in the order of the key (stable: equal keys
    // keep the member order).
    template <class Less> std::vector<Member *> sorted(Less less)
    {
        std::vector<Member *> v;
        v.reserve(list.size());
        for (Member &m : list)
            v.push_back(&m);
        std::stable_sort(v.begin(), v.end(),
                         [&](const Member *a, const Member *b) { return less(a->r, b->r); });
        return v;
    }
    std::vector<Member *> byTop()
    {
        return sorted([](const RECT &a, const RECT &b) { return a.top < b.top; });
    }
    std::vector<Member *> byLeft()
    {
        return sorted([](const RECT &a, const RECT &b) { return a.left < b.left; });
    }

    std::vector<Member> list;

private:
    MemHandle group_;
};

// Moves one member alone; true when it moved.
bool moveMember(Member &m, int32_t dx, int32_t dy)
{
    if (!dx && !dy)
        return false;
    obMoveAloneBy(m.h, dx, dy);
    OffsetRect(&m.r, dx, dy);
    return true;
}

// Fits one member (detached, so alone) into the rectangle; true when its
// rectangle changed.
bool fitMember(Member &m, const RECT &target)
{
    if (EqualRect(&m.r, &target))
        return false;
    MemHandle now = obFitToRect(m.h, &target);
    if (now)
        m.h = now;
    obGetRect(m.h, &m.r);
    return true;
}

RECT unionOf(const std::vector<Member> &list)
{
    RECT u = list.empty() ? RECT{0, 0, 0, 0} : list[0].r;
    for (const Member &m : list)
        geoUnionRect(&u, &u, &m.r);
    return u;
}

}  // namespace

int32_t grpMemberCount(MemHandle group) { return group ? obCountMembers(group) : 0; }

BOOL grpMembersBox(MemHandle group, RECT *box)
{
    RECT u = {0, 0, 0, 0};
    bool any = false;
    for (MemHandle m = group ? obGetFirstMember(group) : 0; m; m = obGetNextMember(m)) {
        RECT r;
        obGetRect(m, &r);
        if (any)
            geoUnionRect(&u, &u, &r);
        else
            u = r;
        any = true;
    }
    if (box)
        *box = u;
    return any;
}

MemHandle grpSaveMemberCentres(MemHandle group)
{
    std::vector<int32_t> centres;
    for (MemHandle m = group ? obGetFirstMember(group) : 0; m; m = obGetNextMember(m)) {
        POINT c;
        obGetCentre(m, &c);
        centres.push_back(c.x);
        centres.push_back(c.y);
    }
    if (centres.empty())
        return 0;
    return utHandleFromBytes(centres.data(), (uint32_t)(centres.size() * sizeof(int32_t)));
}

BOOL grpFitToMembers(MemHandle group, RECT *box) { return obFitToMembers(group, box); }

int grpStackVertically(MemHandle group, int32_t gap)
{
    Members ms(group);
    std::vector<Member *> v = ms.byTop();
    bool moved = false;
    for (size_t i = 1; i < v.size(); ++i)
        moved |= moveMember(*v[i], 0, v[i - 1]->r.bottom + gap - v[i]->r.top);
    return moved ? 1 : 0;
}

int grpRowHorizontally(MemHandle group, int32_t gap)
{
    Members ms(group);
    std::vector<Member *> v = ms.byTop();
    bool moved = false;
    for (size_t i = 1; i < v.size(); ++i)
        moved |= moveMember(*v[i], v[i - 1]->r.right + gap - v[i]->r.left, 0);
    return moved ? 1 : 0;
}

int grpPlaceOnCircle(MemHandle group, const POINT *centre, int32_t radius, int32_t angle)
{
    if (!radius || !group)
        return 0;
    POINT c;
    if (centre)
        c = *centre;
    else
        obGetCentre(group, &c);
    Members ms(group);
    std::vector<Member *> v = ms.byTop();
    const double pi = 3.141592654;
    const double n = (double)v.size();
    bool moved = false;
    for (size_t i = 0; i < v.size(); ++i) {
        const double t = ((double)angle / 10.0 + 360.0 / n * (double)i) * pi / 180.0;
        const int32_t x = c.x + (int32_t)trunc(radius * cos(t));
        const int32_t y = c.y + (int32_t)trunc(radius * sin(-t));
        POINT at;
        obGetCentre(v[i]->h, &at);
        moved |= moveMember(*v[i], x - at.x, y - at.y);
    }
    return moved ? 1 : 0;
}

int grpSameWidth(MemHandle group, int32_t step)
{
    Members ms(group);
    if (ms.list.size() < 2)
        return 0;
    const RECT u = unionOf(ms.list);
    int64_t heights = 0;
    int32_t farthest = 0;
    for (const Member &m : ms.list) {
        heights += heightOf(m.r);
        farthest = std::max(farthest, m.r.left - u.left);
    }
    const bool column = heights < heightOf(u) && farthest < 2 * step;
    std::vector<Member *> v = column ? ms.byTop() : ms.byLeft();
    const int32_t w = widthOf(v[0]->r);
    bool changed = false;
    for (size_t i = 1; i < v.size(); ++i) {
        RECT t = v[i]->r;
        t.right = t.left + w;
        changed |= fitMember(*v[i], t);
    }
    return changed ? 1 : 0;
}

int grpSameHeight(MemHandle group)
{
    Members ms(group);
    if (ms.list.size() < 2)
        return 0;
    std::vector<Member *> v = ms.byTop();
    const int32_t h = heightOf(v[0]->r);
    bool changed = false;
    for (size_t i = 1; i < v.size(); ++i) {
        RECT t = v[i]->r;
        t.bottom = t.top + h;
        changed |= fitMember(*v[i], t);
    }
    return changed ? 1 : 0;
}

int grpSameSize(MemHandle group)
{
    Members ms(group);
    if (ms.list.size() < 2)
        return 0;
    std::vector<MemHandle> order;
    for (const Member &m : ms.list)
        order.push_back(m.h);
    obSortReadingOrder(order.data(), (int32_t)order.size());
    // Each member found again by its handle (taken before any fit, which
    // may give a member a new one).
    std::vector<std::pair<MemHandle, Member *>> at;
    at.reserve(ms.list.size());
    for (Member &m : ms.list)
        at.push_back({m.h, &m});
    std::sort(at.begin(), at.end());
    auto lookup = [&](MemHandle h) {
        return std::lower_bound(at.begin(), at.end(), std::make_pair(h, (Member *)nullptr))->second;
    };
    const Member *ref = lookup(order[0]);
    const int32_t w = widthOf(ref->r), h = heightOf(ref->r);
    bool changed = false;
    for (size_t i = 1; i < order.size(); ++i) {
        Member *m = lookup(order[i]);
        RECT t = {m->r.left, m->r.top, m->r.left + w, m->r.top + h};
        changed |= fitMember(*m, t);
    }
    return changed ? 1 : 0;
}

int grpDistribute(MemHandle group, BOOL vertical)
{
    Members ms(group);
    if (ms.list.size() < 3)
        return 0;
    const RECT u = unionOf(ms.list);
    int64_t sum = 0;
    for (const Member &m : ms.list)
        sum += vertical ? heightOf(m.r) : widthOf(m.r);
    const int64_t free = (int64_t)(vertical ? heightOf(u) : widthOf(u)) - sum;
    const int32_t gap = (int32_t)(free / (int64_t)(ms.list.size() - 1));
    std::vector<Member *> v = vertical ? ms.byTop() : ms.byLeft();
    bool moved = false;
    for (size_t i = 1; i < v.size(); ++i) {
        if (vertical)
            moved |= moveMember(*v[i], 0, v[i - 1]->r.bottom + gap - v[i]->r.top);
        else
            moved |= moveMember(*v[i], v[i - 1]->r.right + gap - v[i]->r.left, 0);
    }
    return moved ? 1 : 0;
}
