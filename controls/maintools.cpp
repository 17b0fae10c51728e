#include "controls/maintools.h"
#include "support/ut_mem.h"
#include "support/win_window.h"
#include <string.h>
#include <vector>

namespace {

HWND g_toolList = nullptr;
BOOL g_pageOption16Clear = FALSE;

HWND toolList()
{
    if (g_toolList && !IsWindow(g_toolList))
        g_toolList = nullptr;
    return g_toolList;
}

// Invalidates the buttons from index on, each enlarged by a pixel.
void invalidateFrom(HWND list, int from, int to)
{
    for (int i = from < 0 ? 0 : from; i < to; ++i)
        blInvalidateButton(list, i);
}

// Grows the list's entries to hold extra more entries and copies them in at
// the end; false when memory is short (the list is unchanged).
bool appendEntries(HWND list, const ToolButton *entries, int extra)
{
    ButtonListRecord rec;
    if (!blGetRecord(list, &rec) || extra < 0 || rec.count + extra > 0x7FFF)
        return false;
    uint32_t offset = (uint32_t)rec.count * sizeof(ToolButton);
    MemHandle grown = utPutBytes(rec.entries, offset, entries, (uint32_t)extra * sizeof(ToolButton));
    if (!grown)
        return false;
    blSetEntries(list, grown, rec.count + extra);
    return true;
}

BOOL CALLBACK collectChild(HWND child, LPARAM lp)
{
    reinterpret_cast<std::vector<HWND> *>(lp)->push_back(child);
    return TRUE;
}

bool isButtonList(HWND w) { return winIsWindowOfClass(w, blClassName, nullptr) != FALSE; }

// The children of a window that are neither button lists nor inside one.
std::vector<HWND> childrenOutsideLists(HWND window)
{
    std::vector<HWND> all;
    EnumChildWindows(window, collectChild, (LPARAM)&all);
    std::vector<HWND> keep;
    for (HWND child : all) {
        bool inList = false;
        for (HWND w = child; w && w != window; w = GetParent(w))
            if (isButtonList(w)) {
                inList = true;
                break;
            }
        if (!inList)
            keep.push_back(child);
    }
    return keep;
}

}  // namespace

// ---- the main tool list -----------------------------------------------------------------

HWND blGetToolList() { return toolList(); }
void blSetToolList(HWND list) { g_toolList = list; }

void blSelectToolButton(uint16_t command)
{
    if (toolList())
        blSelectButton(g_toolList, command);
}

void blReleaseToolList()
{
    if (toolList())
        blReleaseSelection(g_toolList);
}

int blEnableToolButton(uint16_t command, BOOL enabled)
{
    return toolList() ? blEnableButton(g_toolList, command, enabled) : 0;
}

void blEnableAllToolButtons(BOOL enabled)
{
    if (toolList())
        blEnableAll(g_toolList, enabled);
}

int blAddToolButton(uint16_t command, int16_t objType, uint16_t kind, uint16_t enabled,
                    const char *bitmap, const char *tooltip, uint32_t handle)
{
    if (!toolList())
        return 0;
    return blAddButton(g_toolList, command, objType, kind, enabled, bitmap, tooltip, handle);
}

int blRemoveToolButton(uint16_t command)
{
    return toolList() ? blRemoveButton(g_toolList, command) : 0;
}

// ---- entry edits ------------------------------------------------------------------------

int blAddButton(HWND list, uint16_t command, int16_t objType, uint16_t kind, uint16_t enabled,
                const char *bitmap, const char *tooltip, uint32_t handle)
{
    ToolButton entry;
    blFillButton(&entry, command, objType, kind, enabled, bitmap, tooltip, handle);
    return blAppendButton(list, &entry);
}

int blAppendButton(HWND list, const ToolButton *entry)
{
    if (!entry || !blGetRecordHandle(list))
        return 0;
    if (blFindButton(list, entry->command) >= 0)
        return 1;
    if (!appendEntries(list, entry, 1))
        return 0;
    InvalidateRect(list, nullptr, TRUE);
    return 1;
}

int blAppendButtons(HWND list, const ToolButton *entries, int n)
{
    ButtonListRecord rec;
    if (!blGetRecord(list, &rec) || n < 0 || (n > 0 && !entries))
        return 0;
    if (n == 0)
        return 1;
    if (!appendEntries(list, entries, n))
        return 0;
    invalidateFrom(list, rec.count - 1, rec.count + n);
    return 1;
}

int blRemoveButton(HWND list, uint16_t command)
{
    int index = blFindButton(list, command);
    ButtonListRecord rec;
    if (index < 0 || !blGetRecord(list, &rec))
        return 0;
    {
        MemLock<uint8_t> e(rec.entries);
        if (!e)
            return 0;
        utDeleteBytes(e.get(), (uint32_t)rec.count * sizeof(ToolButton),
                      (uint32_t)index * sizeof(ToolButton), sizeof(ToolButton));
    }
    // The pressed button keeps pointing at the same entry: it moves up with
    // the entries after the removed one, and goes when it was the one removed.
    int pressed = rec.pressed;
    if (pressed == index)
        pressed = -1;
    else if (pressed > index)
        --pressed;
    blSetEntries(list, rec.entries, rec.count - 1);
    blSetPressed(list, pressed);
    InvalidateRect(list, nullptr, TRUE);
    return 1;
}

int blTruncateButtons(HWND list, int index)
{
    ButtonListRecord rec;
    if (!blGetRecord(list, &rec) || index < 0 || index >= rec.count)
        return 0;
    invalidateFrom(list, index, rec.count);
    {
        MemLock<uint8_t> e(rec.entries);
        if (e)
            memset(e.get() + (size_t)index * sizeof(ToolButton), 0,
                   (size_t)(rec.count - index) * sizeof(ToolButton));
    }
    blSetEntries(list, rec.entries, index);   // a pressed button past the end goes
    return 1;
}

// ---- children ---------------------------------------------------------------------------

void ctlPostToChildren(HWND window)
{
    for (HWND child : childrenOutsideLists(window))
        PostMessageA(child, CTL_MSG_ZOOM_CHANGED, 0, 0);
}

void ctlDestroyChildren(HWND window)
{
    for (HWND child : childrenOutsideLists(window))
        if (IsWindow(child))
            DestroyWindow(child);
}

void ctlSetPageOption16Clear() { g_pageOption16Clear = TRUE; }
BOOL ctlIsPageOption16Clear() { return g_pageOption16Clear; }

void blResetToolListModule()
{
    g_toolList = nullptr;
    g_pageOption16Clear = FALSE;
}
