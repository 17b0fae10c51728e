// List boxes, combo boxes and code-text tables.
#include "support/win_list.h"
#include "support/ff_file.h"
#include "support/rc_list.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <string.h>
#include <string>
#include <vector>

namespace {

bool isMultipleSel(HWND list)
{
    return (GetWindowLongA(list, GWL_STYLE) & (LBS_MULTIPLESEL | LBS_EXTENDEDSEL)) != 0;
}

bool hasText(const char *text)
{
    return text && *text;
}

// Text of item i through the length and text messages of a list or combo
// box; 0 for an empty item or no item i.
MemHandle itemText(HWND control, int i, UINT lenMsg, UINT textMsg)
{
    if (!control || i < 0)
        return 0;
    LRESULT len = SendMessageA(control, lenMsg, i, 0);
    if (len <= 0)
        return 0;
    MemHandle h = utAllocHandle(0, (uint32_t)len + 1);
    if (!h)
        return 0;
    {
        MemLock<char> p(h);
        LRESULT got = SendMessageA(control, textMsg, i, (LPARAM)p.get());
        p[got > 0 && got <= len ? got : 0] = 0;
        if (got > 0)
            return h;
    }
    return utFreeHandle(h);
}

// Item i as a std::string (empty when absent).
std::string listItem(HWND list, int i)
{
    LRESULT len = SendMessageA(list, LB_GETTEXTLEN, i, 0);
    if (len <= 0)
        return std::string();
    std::string text((size_t)len + 1, '\0');
    LRESULT got = SendMessageA(list, LB_GETTEXT, i, (LPARAM)&text[0]);
    text.resize(got > 0 && got <= len ? (size_t)got : 0);
    return text;
}

// Selects item i: added to the selection of a multiple-selection list box,
// made the current item otherwise.
void selectItem(HWND list, int i)
{
    if (isMultipleSel(list))
        SendMessageA(list, LB_SETSEL, TRUE, i);
    else
        SendMessageA(list, LB_SETCURSEL, i, 0);
}

int selectFound(HWND list, UINT findMsg, const char *text)
{
    if (!hasText(text))
        return -1;
    int found = (int)SendMessageA(list, findMsg, 0, (LPARAM)text);
    if (found != LB_ERR)
        selectItem(list, found);
    return found;
}

// The delimited text of the items (all, or the given indexes); 0 when
// there is nothing.
MemHandle joinItems(HWND list, const std::vector<int> &indexes, char delim)
{
    std::string joined;
    for (int i : indexes) {
        std::string item = listItem(list, i);
        if (item.empty())
            continue;
        joined += item;
        joined += delim;
    }
    return utHandleFromBytes(joined.c_str(), (uint32_t)joined.size() + 1);
}

std::vector<int> allIndexes(HWND list)
{
    int count = winListGetCount(list);
    std::vector<int> indexes;
    for (int i = 0; i < count; ++i)
        indexes.push_back(i);
    return indexes;
}

// Adds every item of the delimited text; returns the number added and the
// longest item's length.
int fillDelimited(HWND control, MemHandle text, char delim, BOOL list, int *longest)
{
    *longest = 0;
    if (!control || !text)
        return 0;
    MemLock<char> p(text);
    if (!p)
        return 0;
    // The block may lack a terminator: work on a bounded copy.
    std::string copy(p.get(), strnlen(p.get(), utHandleSize(text)));
    int added = 0;
    const char *at = copy.c_str();
    while (at && *at) {
        int len = rcItemLength(at, delim);
        if (delim == '\n' && len > 0 && at[len - 1] == '\r')
            --len;
        if (len > *longest)
            *longest = len;
        at = winAddDelimitedItem(control, at, delim, delim == '\n', list);
        ++added;
    }
    return added;
}

}  // namespace

// ---- list boxes -------------------------------------------------------------------

void winListReset(HWND list) { SendMessageA(list, LB_RESETCONTENT, 0, 0); }
int winListGetCount(HWND list) { return list ? (int)SendMessageA(list, LB_GETCOUNT, 0, 0) : 0; }
int winListGetCurSel(HWND list) { return (int)SendMessageA(list, LB_GETCURSEL, 0, 0); }

void winListSelectAll(HWND list)
{
    int count = winListGetCount(list);
    if (count > 0)
        SendMessageA(list, LB_SELITEMRANGE, TRUE, MAKELPARAM(0, count - 1));
}

void winListDeselectAll(HWND list)
{
    int count = winListGetCount(list);
    if (count > 0)
        SendMessageA(list, LB_SELITEMRANGE, FALSE, MAKELPARAM(0, count - 1));
}

int winListAddString(HWND list, const char *text)
{
    return (int)SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)(text ? text : ""));
}

MemHandle winListGetItemText(HWND list, int i)
{
    return itemText(list, i, LB_GETTEXTLEN, LB_GETTEXT);
}

MemHandle winListGetSelText(HWND list)
{
    if (!list)
        return 0;
    return winListGetItemText(list, winListGetCurSel(list));
}

MemHandle winDlgListGetSelText(HWND dlg, int id)
{
    return winListGetSelText(GetDlgItem(dlg, id));
}

MemHandle winDlgListGetItemText(HWND dlg, int id, int i)
{
    return winListGetItemText(GetDlgItem(dlg, id), i);
}

BOOL winListHasString(HWND dlg, int id, const char *text)
{
    HWND list = GetDlgItem(dlg, id);
    if (!list || !hasText(text))
        return FALSE;
    // The whole-item search ignoring case: a prefix search would stop at a
    // longer item that begins with the text and miss the equal one.
    return SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text) != LB_ERR;
}

int winListSelectExact(HWND list, const char *text)
{
    return selectFound(list, LB_FINDSTRINGEXACT, text);
}

int winListSelectPrefix(HWND list, const char *text)
{
    return selectFound(list, LB_FINDSTRING, text);
}

int winListSelectIndex(HWND list, int i)
{
    if (i < 0 || i >= winListGetCount(list))
        return LB_ERR;
    selectItem(list, i);
    return i;
}

int winListDeleteCurSel(HWND list, BOOL reselect)
{
    int sel = winListGetCurSel(list);
    if (sel < 0)
        return -1;
    SendMessageA(list, LB_DELETESTRING, sel, 0);
    if (reselect) {
        int count = winListGetCount(list);
        if (count > 0)
            winListSelectIndex(list, sel < count ? sel : count - 1);
    }
    return sel;
}

int winListDeleteSel(HWND list) { return winListDeleteCurSel(list, FALSE); }

BOOL winListReplaceSel(HWND list, const char *text)
{
    int sel = winListGetCurSel(list);
    if (sel < 0)
        return FALSE;
    if (SendMessageA(list, LB_INSERTSTRING, sel + 1, (LPARAM)(text ? text : "")) < 0)
        return FALSE;
    SendMessageA(list, LB_DELETESTRING, sel, 0);
    selectItem(list, sel);
    return TRUE;
}

BOOL winDlgListReplaceFromEdit(HWND dlg, int listId, int editId)
{
    HWND list = GetDlgItem(dlg, listId);
    if (!list)
        return FALSE;
    char text[512] = {};
    GetDlgItemTextA(dlg, editId, text, sizeof(text));
    if (!*text) {
        utWarningBox(dlg, "Please enter a string before replacing.");
        return FALSE;
    }
    if (winListHasString(dlg, listId, text)) {
        utWarningBox(dlg, "The new item is already in the list.");
        return FALSE;
    }
    return winListReplaceSel(list, text);
}

namespace {

BOOL moveSelected(HWND list, int by)
{
    int sel = winListGetCurSel(list);
    int count = winListGetCount(list);
    int to = sel + by;
    if (sel < 0 || to < 0 || to >= count)
        return FALSE;
    std::string text = listItem(list, sel);
    SendMessageA(list, LB_DELETESTRING, sel, 0);
    SendMessageA(list, LB_INSERTSTRING, to, (LPARAM)text.c_str());
    if (isMultipleSel(list))
        SendMessageA(list, LB_SETCARETINDEX, to, FALSE);
    selectItem(list, to);
    return TRUE;
}

}  // namespace

BOOL winListMoveUp(HWND list) { return moveSelected(list, -1); }
BOOL winListMoveDown(HWND list) { return moveSelected(list, 1); }

BOOL winListSort(HWND list, BOOL ascending)
{
    MemHandle text = winListToText(list, '\n');
    if (!text)
        return FALSE;
    BOOL sorted = rcListSort(text, '\n', ascending) == 1;
    if (sorted) {
        winListReset(list);
        winListFillText(list, text, '\n');
    }
    utFreeHandle(text);
    return sorted;
}

uint32_t winListTextSize(HWND list)
{
    int count = winListGetCount(list);
    if (count <= 0)
        return 0;
    uint32_t size = 1;
    for (int i = 0; i < count; ++i) {
        LRESULT len = SendMessageA(list, LB_GETTEXTLEN, i, 0);
        if (len > 0)
            size += (uint32_t)len + 1;
    }
    return size;
}

MemHandle winListToText(HWND list, char delim)
{
    if (winListTextSize(list) == 0)
        return 0;
    return joinItems(list, allIndexes(list), delim);
}

MemHandle winDlgListToText(HWND dlg, int id, char delim)
{
    return winListToText(GetDlgItem(dlg, id), delim);
}

MemHandle winListSelToText(HWND list, char delim)
{
    int selected = (int)SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    if (selected <= 0)
        return 0;
    std::vector<int> indexes((size_t)selected);
    int got = (int)SendMessageA(list, LB_GETSELITEMS, selected, (LPARAM)indexes.data());
    if (got <= 0)
        return 0;
    indexes.resize((size_t)got);
    return joinItems(list, indexes, delim);
}

int winListFillText(HWND list, MemHandle text, char delim)
{
    int longest = 0;
    int added = fillDelimited(list, text, delim, TRUE, &longest);
    if (added)
        winListSetExtent(list, longest);
    return added;
}

int winDlgListFill(HWND dlg, int id, MemHandle text, char delim)
{
    HWND list = GetDlgItem(dlg, id);
    return list ? winListFillText(list, text, delim) : 0;
}

int winListRemoveItems(HWND list, MemHandle text, char delim)
{
    if (!list || !text)
        return 0;
    std::string copy;
    {
        MemLock<char> p(text);
        if (!p)
            return 0;
        copy.assign(p.get(), strnlen(p.get(), utHandleSize(text)));
    }
    int removed = 0;
    for (const char *at = copy.c_str(); at && *at; at = rcNextItem(at, delim)) {
        int len = rcItemLength(at, delim);
        if (len == 0)
            continue;
        std::string item(at, (size_t)len);
        int found = (int)SendMessageA(list, LB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)item.c_str());
        if (found != LB_ERR) {
            SendMessageA(list, LB_DELETESTRING, found, 0);
            ++removed;
        }
    }
    return removed;
}

BOOL winDlgListSelToText(HWND dlg, int listId, int targetId)
{
    MemHandle text = winDlgListGetSelText(dlg, listId);
    if (!text)
        return FALSE;
    {
        MemLock<char> p(text);
        SetDlgItemTextA(dlg, targetId, p.get());
    }
    utFreeHandle(text);
    return TRUE;
}

void winListSetExtent(HWND list, int longest)
{
    if (!list || longest <= 0)
        return;
    HDC dc = GetDC(list);
    if (!dc)
        return;
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    ReleaseDC(list, dc);
    int extent = tm.tmAveCharWidth * longest + 3 * GetSystemMetrics(SM_CXBORDER);
    RECT r;
    GetWindowRect(list, &r);
    if (extent > r.right - r.left)
        SendMessageA(list, LB_SETHORIZONTALEXTENT, extent, 0);
}

BOOL winListFillFromFile(HWND list, const char *path)
{
    if (!list || !path || !*path)
        return FALSE;
    MemHandle file = ffReadFileText(path, FALSE);
    if (!file)
        return FALSE;   // also an empty file: nothing to add
    const int kLine = 511;
    int added = 0, longest = 0;
    {
        MemLock<char> p(file);
        const char *at = p.get();
        const char *end = at + strnlen(at, utHandleSize(file));
        while (at < end) {
            const char *lf = static_cast<const char *>(memchr(at, '\n', end - at));
            const char *lineEnd = lf ? lf : end;
            // A long line comes in pieces, as a reader of 511-character lines
            // sees it.
            for (const char *piece = at; piece < lineEnd || piece == at;) {
                size_t len = (size_t)(lineEnd - piece);
                if (len > (size_t)kLine)
                    len = kLine;
                const char *next = piece + len;
                while (len > 0 && (piece[len - 1] == '\r' || piece[len - 1] == '\n'))
                    --len;
                if (len > 0) {
                    std::string item(piece, len);
                    winListAddString(list, item.c_str());
                    ++added;
                    if ((int)len > longest)
                        longest = (int)len;
                }
                if (next >= lineEnd)
                    break;
                piece = next;
            }
            at = lf ? lf + 1 : end;
        }
    }
    utFreeHandle(file);
    if (added)
        winListSetExtent(list, longest);
    return added > 0;
}

const char *winAddDelimitedItem(HWND control, const char *text, char delim, BOOL cr, BOOL list)
{
    if (!text)
        return nullptr;
    const char *end = strchr(text, delim);
    size_t len = end ? (size_t)(end - text) : strlen(text);
    size_t keep = len;
    if (cr && end && keep > 0 && text[keep - 1] == '\r')
        --keep;
    std::string item(text, keep);
    SendMessageA(control, list ? LB_ADDSTRING : CB_ADDSTRING, 0, (LPARAM)item.c_str());
    if (!end || !end[1])
        return nullptr;
    return end + 1;
}

// ---- combo boxes -----------------------------------------------------------------

void winComboReset(HWND combo) { SendMessageA(combo, CB_RESETCONTENT, 0, 0); }

int winComboAddString(HWND combo, const char *text)
{
    return (int)SendMessageA(combo, CB_ADDSTRING, 0, (LPARAM)(text ? text : ""));
}

int winComboAddUnique(HWND combo, const char *text)
{
    int found = (int)SendMessageA(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)(text ? text : ""));
    if (found != CB_ERR)
        return found;
    return winComboAddString(combo, text);
}

BOOL winComboHasText(HWND combo, const char *text)
{
    if (!combo || !hasText(text))
        return FALSE;
    // Whole items ignoring case (a prefix search would stop at a longer item
    // that begins with the text).
    return SendMessageA(combo, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)text) != CB_ERR;
}

int winComboFillText(HWND combo, MemHandle text, char delim)
{
    int longest = 0;
    return fillDelimited(combo, text, delim, FALSE, &longest);
}

int winDlgComboFillText(HWND dlg, int id, MemHandle text, char delim)
{
    HWND combo = GetDlgItem(dlg, id);
    return combo ? winComboFillText(combo, text, delim) : 0;
}

MemHandle winComboGetItemText(HWND combo, int i)
{
    return itemText(combo, i, CB_GETLBTEXTLEN, CB_GETLBTEXT);
}

MemHandle winComboGetSelText(HWND combo)
{
    if (!combo)
        return 0;
    return winComboGetItemText(combo, (int)SendMessageA(combo, CB_GETCURSEL, 0, 0));
}

MemHandle winDlgComboGetSelText(HWND dlg, int id)
{
    return winComboGetSelText(GetDlgItem(dlg, id));
}

int winComboSelectExact(HWND combo, const char *text)
{
    int found = (int)SendMessageA(combo, CB_FINDSTRINGEXACT, 0, (LPARAM)(text ? text : ""));
    return (int)SendMessageA(combo, CB_SETCURSEL, found, 0);
}

int winComboSelectPrefix(HWND combo, const char *text)
{
    int found = (int)SendMessageA(combo, CB_FINDSTRING, 0, (LPARAM)(text ? text : ""));
    return (int)SendMessageA(combo, CB_SETCURSEL, found, 0);
}

// ---- code-text tables --------------------------------------------------------------

namespace {
const CodeTextEntry kHAlign[] = {{0, "Left"}, {1, "Center"}, {2, "Right"}};
const CodeTextEntry kVAlign[] = {{4, "Top"}, {8, "Center"}, {16, "Bottom"}};
}  // namespace

const CodeTextTable winHAlignTable = {kHAlign, 3};
const CodeTextTable winVAlignTable = {kVAlign, 3};

uint32_t utCodeOfText(const char *text, const CodeTextEntry *table, int16_t count)
{
    if (!text || !table)
        return 0;
    for (int i = 0; i < count; ++i)
        if (table[i].text && strcmp(table[i].text, text) == 0)
            return table[i].code;
    for (int i = 0; i < count; ++i)
        if (table[i].text && lstrcmpiA(table[i].text, text) == 0)
            return table[i].code;
    return 0;
}

int utIndexOfCode(uint32_t code, const CodeTextEntry *table, int16_t count)
{
    if (!table)
        return -1;
    for (int i = 0; i < count; ++i)
        if (table[i].code == code)
            return i;
    return -1;
}

void winListFillCodes(HWND list, const CodeTextEntry *table, int16_t count, uint32_t code)
{
    for (int i = 0; i < count; ++i)
        winListAddString(list, table[i].text);
    int at = utIndexOfCode(code, table, count);
    if (at >= 0)
        SendMessageA(list, LB_SELECTSTRING, (WPARAM)-1, (LPARAM)table[at].text);
}

void winComboFillCodes(HWND combo, const CodeTextEntry *table, int16_t count, uint32_t mask)
{
    for (int i = 0; i < count; ++i)
        if (mask == 0 || (table[i].code & mask) != 0)
            winComboAddString(combo, table[i].text);
}

void winDlgComboFillCodes(HWND dlg, int id, const CodeTextEntry *table, int16_t count,
                          uint32_t code)
{
    HWND combo = GetDlgItem(dlg, id);
    if (!combo)
        return;
    winComboFillCodes(combo, table, count, 0);
    int at = utIndexOfCode(code, table, count);
    if (at >= 0)
        SendMessageA(combo, CB_SELECTSTRING, 0, (LPARAM)table[at].text);
}

namespace {

uint32_t codeOfHandle(MemHandle text, const CodeTextEntry *table, int16_t count)
{
    if (!text)
        return 0;
    uint32_t code;
    {
        MemLock<char> p(text);
        code = utCodeOfText(p.get(), table, count);
    }
    utFreeHandle(text);
    return code;
}

}  // namespace

uint32_t winDlgComboGetCode(HWND dlg, int id, const CodeTextEntry *table, int16_t count)
{
    return codeOfHandle(winDlgComboGetSelText(dlg, id), table, count);
}

uint32_t winDlgListGetCode(HWND dlg, int id, const CodeTextEntry *table, int16_t count)
{
    return codeOfHandle(winDlgListGetSelText(dlg, id), table, count);
}

int winComboSelectCode(HWND combo, const CodeTextEntry *table, int16_t count, uint32_t code)
{
    int at = utIndexOfCode(code, table, count);
    return winComboSelectExact(combo, at >= 0 ? table[at].text : "");
}

void winDlgComboHAlign(HWND dlg, int id, uint32_t code)
{
    winDlgComboFillCodes(dlg, id, winHAlignTable.entries, winHAlignTable.count, code);
}

void winDlgComboVAlign(HWND dlg, int id, uint32_t code)
{
    winDlgComboFillCodes(dlg, id, winVAlignTable.entries, winVAlignTable.count, code);
}

uint32_t winDlgGetHAlign(HWND dlg, int id)
{
    return winDlgComboGetCode(dlg, id, winHAlignTable.entries, winHAlignTable.count);
}

uint32_t winDlgGetVAlign(HWND dlg, int id)
{
    return winDlgComboGetCode(dlg, id, winVAlignTable.entries, winVAlignTable.count);
}

int winDlgSelectHAlign(HWND dlg, int id, uint32_t code)
{
    HWND combo = GetDlgItem(dlg, id);
    return combo ? winComboSelectCode(combo, winHAlignTable.entries, winHAlignTable.count, code)
                 : 0;
}

int winDlgSelectVAlign(HWND dlg, int id, uint32_t code)
{
    HWND combo = GetDlgItem(dlg, id);
    return combo ? winComboSelectCode(combo, winVAlignTable.entries, winVAlignTable.count, code)
                 : 0;
}
