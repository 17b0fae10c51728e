// Helpers of the form and page tests: pages with named objects, documents
// built from them, and a workspace window that shows a document.
#pragma once
#include "tests/model/ob_kit.h"
#include "model/fm_form.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/ws_document.h"
#include <string>
#include <vector>

namespace pgtest {

// The text of a string handle, which is freed; "<null>" for none.
inline std::string textOf(MemHandle h)
{
    if (!h)
        return "<null>";
    std::string s;
    {
        MemLock<char> p(h);
        s = p.get();
    }
    utFreeHandle(h);
    return s;
}

// A new page (the defaults when the settings keep no default page).
// A filled square of one colour without an outline, named when a name is
// given.
inline MemHandle square(int32_t l, int32_t t, int32_t side, COLORREF colour,
                        const char *name = nullptr)
{
    MemHandle h = obtest::make(OBT_RECTANGLE, l, t, l + side, t + side);
    {
        ObLock r(h);
        r->fillKind = 1;
        r->fillColour = colour;
        r->penColour = colour;
        r->penWidth = 0;
    }
    return name ? obSetName(h, name) : h;
}

inline MemHandle newPage(const char *name = nullptr)
{
    MemHandle page = pgNewRecord(0);
    if (page && name)
        page = pgSetName(page, name);
    return page;
}

// Appends a rectangle with the name (none for null) to the page's list.
inline MemHandle addObject(MemHandle page, const char *name, int32_t l = 0, int32_t t = 0,
                           int32_t r = 100, int32_t b = 100)
{
    MemHandle h = obtest::make(OBT_RECTANGLE, l, t, r, b);
    if (name)
        h = obSetName(h, name);
    pgAppendObject(page, h);
    return h;
}

// A form whose directory holds a page of each name, in order.
inline MemHandle docWithPages(const std::vector<std::string> &names)
{
    MemHandle form = fmNew();
    for (const std::string &n : names)
        pgDirAppend(form, newPage(n.c_str()));
    return form;
}

// The names of the pages in directory order ("?" for an entry without a
// page in memory).
inline std::vector<std::string> pageNames(MemHandle form)
{
    std::vector<std::string> out;
    MemHandle dir = fmGetDirectory(form);
    for (int i = 0; i < fmGetPageCount(form); ++i) {
        char name[64];
        MemHandle page = pgDirGetPages(dir, i);
        out.push_back(page && pgCopyName(page, name, sizeof(name)) ? name : "?");
    }
    return out;
}

// A hidden window standing in for a workspace, showing a document.
class Workspace {
public:
    explicit Workspace(MemHandle form = 0)
        : window_(CreateWindowA("STATIC", "ws", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr))
    {
        wsSetDocument(window_, form);
    }
    ~Workspace()
    {
        wsSetDocument(window_, 0);
        DestroyWindow(window_);
    }
    HWND get() const { return window_; }
    operator HWND() const { return window_; }
    MemHandle document() const { return wsGetDocument(window_); }
private:
    HWND window_;
};

}  // namespace pgtest
