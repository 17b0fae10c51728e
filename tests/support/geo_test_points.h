// Helpers shared by the geometry tests: taking point blocks apart and
// comparing point lists readably.
#pragma once
#include "tests/support/kit.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <ostream>
#include <vector>

inline bool operator==(const POINT &a, const POINT &b) { return a.x == b.x && a.y == b.y; }
inline bool operator!=(const POINT &a, const POINT &b) { return !(a == b); }
inline std::ostream &operator<<(std::ostream &os, const POINT &p)
{
    return os << "(" << p.x << ", " << p.y << ")";
}
inline bool operator==(const RECT &a, const RECT &b)
{
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}
inline std::ostream &operator<<(std::ostream &os, const RECT &r)
{
    return os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

namespace qmtest {

// The first n points of a block, which is then freed. The block must hold
// them: a count beyond its size fails the test. The count is taken by
// reference so that a call such as takePoints(geoMake(..., &n), n) reads it
// after the maker has stored it.
inline std::vector<POINT> takePoints(MemHandle h, const int16_t &n)
{
    std::vector<POINT> v;
    if (!h)
        return v;
    EXPECT_LE((uint32_t)n * sizeof(POINT), utHandleSize(h)) << "count beyond the block";
    if ((uint32_t)n * sizeof(POINT) <= utHandleSize(h)) {
        MemLock<POINT> p(h);
        v.assign(p.get(), p.get() + (n > 0 ? n : 0));
    }
    utFreeHandle(h);
    return v;
}

// Maps a DC so that one logical unit is one twip on a 96-pixel-per-inch
// device (15 twips to the pixel), as the view mapping does at 100 percent.
inline void mapTwips(HDC dc)
{
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, 1440, 1440, nullptr);
    SetViewportExtEx(dc, 96, 96, nullptr);
}

}  // namespace qmtest

namespace qmtest {

// While alive, memory runs out for good: every allocation fails. The boxes
// the failures show are counted.
class MemoryRunsOut {
public:
    MemoryRunsOut()
    {
        boxes_ = 0;
        utSetMessageBoxHook(hook);
        utFailNextAllocs(1 << 30);
    }
    ~MemoryRunsOut() { utFailNextAllocs(0); }
    int boxes() const { return boxes_; }

private:
    static int hook(HWND, const char *, const char *, UINT)
    {
        ++boxes_;
        return IDOK;
    }
    BoxRecorder restoresTheBoxCheck_;   // constructed before the hook is replaced
    static inline int boxes_ = 0;
};

}  // namespace qmtest
