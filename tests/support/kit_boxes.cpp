#include "tests/support/kit.h"
#include "support/ut_msg.h"

namespace qmtest {

namespace {
BoxRecorder *g_current = nullptr;

int strayBox(HWND, const char *text, const char *caption, UINT flags)
{
    ADD_FAILURE() << "unexpected message box: [" << (caption ? caption : "") << "] "
                  << (text ? text : "") << " flags=" << flags;
    return IDCANCEL;
}
}  // namespace

void installStrayBoxCheck() { utSetMessageBoxHook(strayBox); }

BoxRecorder::BoxRecorder() : previous_(g_current)
{
    g_current = this;
    utSetMessageBoxHook(hook);
}

BoxRecorder::~BoxRecorder()
{
    g_current = previous_;
    utSetMessageBoxHook(previous_ ? hook : strayBox);
}

int BoxRecorder::hook(HWND, const char *text, const char *caption, UINT flags)
{
    BoxRecorder *r = g_current;
    r->boxes_.push_back(BoxRecord{caption ? caption : "", text ? text : "", flags});
    if (r->answers_.empty())
        return IDOK;
    int a = r->answers_.front();
    r->answers_.pop_front();
    return a;
}

std::string BoxRecorder::texts() const
{
    std::string s;
    for (const BoxRecord &b : boxes_) {
        if (!s.empty())
            s += " | ";
        s += b.text;
    }
    return s;
}

}  // namespace qmtest
