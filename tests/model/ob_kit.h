// Helpers of the object model tests: records built by hand, group trees and
// lists, and a snapshot of a record's head to compare against.
#pragma once
#include "tests/support/kit.h"
#include "model/ob_record.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_types.h"
#include "objects/sh_box.h"
#include "support/geo_rect.h"
#include "support/ut_mem.h"
#include <string.h>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

namespace obtest {

// A record of the type with the box (l, t, r, b), unscaled, and `dataBytes`
// bytes of type data holding 1, 2, 3, ... A box shape (objects/sh_box.h)
// asked for no type data gets its geometry: the box's width and height
// (and no corner).
inline MemHandle make(int16_t type, int32_t l, int32_t t, int32_t r, int32_t b,
                      uint32_t dataBytes = 0)
{
    uint32_t geometry = dataBytes ? 0 : shBoxGeometrySize(type);
    MemHandle h = obNewRecord(kObHeadSize + dataBytes + geometry);
    ObLock rec(h);
    rec->type = type;
    rec->scaleX = rec->scaleY = kObScaleOne;
    RECT box = {l, t, r, b};
    obRecSetRect(rec.get(), &box);
    for (uint32_t i = 0; i < dataBytes; ++i)
        obRecData(rec.get())[i] = (uint8_t)(i + 1);
    if (geometry) {
        int32_t sides[2] = {rec->width, rec->height};
        memcpy(obRecData(rec.get()), sides, sizeof sides);
    }
    return h;
}

inline MemHandle make(int16_t type = OBT_RECTANGLE) { return make(type, 0, 0, 100, 100); }

// The type data of a record as bytes.
inline std::vector<uint8_t> dataOf(MemHandle h)
{
    ObLock r(h);
    if (!r)
        return {};
    uint32_t from = obDataOffset(r.get());
    const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
    return std::vector<uint8_t>(p + from, p + std::max(from, r.extent()));
}

inline std::string nameOf(MemHandle h)
{
    char buf[kObMaxNameBytes];
    obGetName(h, buf);
    return buf;
}

// A copy of the 86-byte head.
inline std::vector<uint8_t> headOf(MemHandle h)
{
    ObLock r(h);
    const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
    return r ? std::vector<uint8_t>(p, p + kObHeadSize) : std::vector<uint8_t>();
}

// A list of objects joined by prev and next; returns them in order.
inline std::vector<MemHandle> makeList(int n, int16_t type = OBT_RECTANGLE)
{
    std::vector<MemHandle> v;
    for (int i = 0; i < n; ++i) {
        v.push_back(make(type, i * 100, 0, i * 100 + 50, 50));
        if (i)
            obLinkPair(v[(size_t)i - 1], v[(size_t)i]);
    }
    return v;
}

// The handles of a list from its first object.
inline std::vector<MemHandle> listOf(MemHandle first)
{
    std::vector<MemHandle> v;
    obCollectList(first, v);
    return v;
}

// The members of an owner in chain order.
inline std::vector<MemHandle> membersOf(MemHandle owner)
{
    std::vector<MemHandle> v;
    for (MemHandle m = obGetFirstMember(owner); m; m = obGetNextMember(m))
        v.push_back(m);
    return v;
}

// A packet of n bytes whose first u32 is n.
inline MemHandle packet(uint32_t n)
{
    MemHandle p = utAllocHandle(0, n);
    MemLock<uint32_t> w(p);
    w[0] = n;
    return p;
}

// Counts the blocks alive at construction; leaked() tells how many more
// are alive now.
class LiveCount {
public:
    LiveCount() : start_(qmtest::liveHandles()) {}
    long leaked() const { return qmtest::liveHandles() - start_; }
private:
    long start_;
};

// Stand-in procedures for some types while it lives: each code's record
// (the empty one for a code nobody registered) changed by `change` and
// registered; the records as they were are put back at the end.
class TypeStandIn {
public:
    TypeStandIn(std::initializer_list<int16_t> codes, const std::function<void(ObTypeProcs &)> &change)
    {
        for (int16_t code : codes) {
            saved_.push_back({code, obIsRegisteredType(code) != FALSE, obTypeProcs(code)});
            ObTypeProcs p = obTypeProcs(code);
            change(p);
            obRegisterType(code, &p);
        }
    }
    ~TypeStandIn()
    {
        for (const Saved &s : saved_)
            obRegisterType(s.code, s.registered ? &s.procs : nullptr);
    }
    TypeStandIn(const TypeStandIn &) = delete;
    TypeStandIn &operator=(const TypeStandIn &) = delete;

private:
    struct Saved {
        int16_t code;
        bool registered;
        ObTypeProcs procs;
    };
    std::vector<Saved> saved_;
};

}  // namespace obtest
