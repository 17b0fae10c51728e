// Index labels and the "Indexing" dialog.
#include "support/ut_index.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_text.h"
#include "support/win_dlgfield.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

// The parts of a record, read with every size checked against its length
// and its block.
struct Parts {
    int32_t current = 0, base = 0, step = 0;
    int16_t width = 0;
    uint16_t flags = 0;
    std::string prefix, suffix;
    bool hasPrefix = false, hasSuffix = false;
};

bool readParts(MemHandle label, Parts *out)
{
    uint32_t capacity = utHandleSize(label);
    if (capacity < kIdxHeadSize)
        return false;
    MemLock<uint8_t> p(label);
    if (!p)
        return false;
    const uint8_t *d = p.get();
    const uint32_t length = std::min(utGetAt<uint32_t>(d, IDX_LENGTH), capacity);
    out->current = utGetAt<int32_t>(d, IDX_CURRENT);
    out->base = utGetAt<int32_t>(d, IDX_BASE);
    out->step = utGetAt<int32_t>(d, IDX_STEP);
    out->width = utGetAt<int16_t>(d, IDX_WIDTH);
    out->flags = utGetAt<uint16_t>(d, IDX_FLAGS);
    const int32_t prefixSize = utGetAt<int32_t>(d, IDX_PREFIX_SIZE);
    const int32_t suffixSize = utGetAt<int32_t>(d, IDX_SUFFIX_SIZE);
    uint64_t at = kIdxHeadSize;
    // A text is taken only when its size lies within the record; it ends
    // at its terminator or at its size, whichever comes first.
    auto take = [&](int32_t size, std::string *s, bool *has) {
        if (size < 1 || at + (uint64_t)size > length)
            return;
        const char *c = reinterpret_cast<const char *>(d + at);
        s->assign(c, strnlen(c, (size_t)size));
        *has = true;
        at += (uint32_t)size;
    };
    take(prefixSize, &out->prefix, &out->hasPrefix);
    if (prefixSize >= 1 && !out->hasPrefix)
        return true;   // a suffix after a prefix that does not fit is not read
    take(suffixSize, &out->suffix, &out->hasSuffix);
    return true;
}

// The prefix or the suffix into the buffer; FALSE (buffer emptied) when
// the record has none.
BOOL copyAffix(MemHandle label, bool prefix, char *buffer, uint32_t size)
{
    Parts p;
    if (size)
        buffer[0] = 0;
    if (!readParts(label, &p) || !(prefix ? p.hasPrefix : p.hasSuffix))
        return FALSE;
    utStrCopyN(buffer, (prefix ? p.prefix : p.suffix).c_str(), size);
    return TRUE;
}

std::string format(const Parts &parts, int32_t value)
{
    char number[48];
    if (parts.width > 0) {
        const int w = std::min<int>(parts.width, kIdxMaxWidth);
        snprintf(number, sizeof number, (parts.flags & kIdxPadZeros) ? "%0*d" : "%*d", w,
                 (int)value);
    } else {
        snprintf(number, sizeof number, "%d", (int)value);
    }
    return parts.prefix + number + parts.suffix;
}

// ---- the dialog ------------------------------------------------------------------------
enum {
    ID_BASE = 100, ID_STEP = 101, ID_PREFIX = 110, ID_SUFFIX = 111, ID_WIDTH = 120,
    ID_SAMPLE = 130, ID_PAD = 200, ID_HELP = 300,
};

struct Indexing {
    MemHandle edited;          // the copy the dialog works on
    const char *help;
    bool settingWidth;
};

// An integer field; FALSE when its text is not one.
BOOL readInt(HWND dlg, int id, int32_t *value)
{
    char text[64];
    winGetDlgTextTrim(dlg, id, text, sizeof text);
    if (utIsIntegerText(text) != 1 || !strcmp(text, "+") || !strcmp(text, "-"))
        return FALSE;
    long long v = strtoll(text, nullptr, 10);
    if (v < INT32_MIN || v > INT32_MAX)
        return FALSE;
    *value = (int32_t)v;
    return TRUE;
}

// A prefix or suffix field, never longer than the field's limit.
std::string readAffix(HWND dlg, int id)
{
    char text[kIdxMaxAffix + 1] = "";
    GetDlgItemTextA(dlg, id, text, sizeof text);
    return std::string(text, strnlen(text, kIdxMaxAffix));
}

// The record built from the fields; 0 when a number field is not a number
// (*failedId then names it).
MemHandle buildFromFields(HWND dlg, int *failedId)
{
    int32_t base = 0, step = 0, width = 0;
    if (!readInt(dlg, ID_BASE, &base)) {
        *failedId = ID_BASE;
        return 0;
    }
    if (!readInt(dlg, ID_STEP, &step)) {
        *failedId = ID_STEP;
        return 0;
    }
    if (!readInt(dlg, ID_WIDTH, &width))
        width = 0;
    width = std::min<int32_t>(width, kIdxMaxWidth);
    *failedId = 0;
    return utIndexLabelMake(base, step, (int16_t)std::max<int32_t>(width, INT16_MIN),
                            IsDlgButtonChecked(dlg, ID_PAD) == BST_CHECKED,
                            readAffix(dlg, ID_PREFIX).c_str(), readAffix(dlg, ID_SUFFIX).c_str());
}

void showSample(HWND dlg)
{
    int failed = 0;
    MemHandle h = buildFromFields(dlg, &failed);
    char text[128] = "";
    if (h) {
        int32_t base = 0;
        readInt(dlg, ID_BASE, &base);
        utIndexLabelFormat(h, base, text, sizeof text);
        utFreeHandle(h);
    }
    SetDlgItemTextA(dlg, ID_SAMPLE, text);
}

void widthChanged(HWND dlg, Indexing *s)
{
    if (s->settingWidth)
        return;
    int32_t width = 0;
    if (!readInt(dlg, ID_WIDTH, &width)) {
        winDlgSelectEdit(dlg, ID_WIDTH);
        return;
    }
    if (width > kIdxMaxWidth) {
        utErrorBox(dlg, "The width must be between 0 and 16. Will be changed to 16.");
        s->settingWidth = true;
        SetDlgItemInt(dlg, ID_WIDTH, kIdxMaxWidth, TRUE);
        s->settingWidth = false;
    }
    showSample(dlg);
}

void fillFields(HWND dlg, MemHandle label)
{
    Parts p;
    readParts(label, &p);
    SetDlgItemInt(dlg, ID_BASE, (UINT)p.base, TRUE);
    SetDlgItemInt(dlg, ID_STEP, (UINT)p.step, TRUE);
    SetDlgItemInt(dlg, ID_WIDTH, (UINT)(int)p.width, TRUE);
    SendDlgItemMessageA(dlg, ID_PREFIX, EM_LIMITTEXT, kIdxMaxAffix, 0);
    SendDlgItemMessageA(dlg, ID_SUFFIX, EM_LIMITTEXT, kIdxMaxAffix, 0);
    SetDlgItemTextA(dlg, ID_PREFIX, p.prefix.substr(0, kIdxMaxAffix).c_str());
    SetDlgItemTextA(dlg, ID_SUFFIX, p.suffix.substr(0, kIdxMaxAffix).c_str());
    CheckDlgButton(dlg, ID_PAD, (p.flags & kIdxPadZeros) ? BST_CHECKED : BST_UNCHECKED);
}

INT_PTR CALLBACK indexingProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    Indexing *s = reinterpret_cast<Indexing *>(GetWindowLongPtrA(dlg, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        s = reinterpret_cast<Indexing *>(lParam);
        SetWindowLongPtrA(dlg, DWLP_USER, (LONG_PTR)s);
        s->settingWidth = true;
        fillFields(dlg, s->edited);
        s->settingWidth = false;
        if (!s->help || !*s->help)
            ShowWindow(GetDlgItem(dlg, ID_HELP), SW_HIDE);
        showSample(dlg);
        return TRUE;
    case WM_COMMAND: {
        if (!s)
            return FALSE;
        const int id = LOWORD(wParam), code = HIWORD(wParam);
        switch (id) {
        case ID_BASE:
        case ID_STEP:
        case ID_PREFIX:
        case ID_SUFFIX:
            if (code == EN_CHANGE && !s->settingWidth)
                showSample(dlg);
            return TRUE;
        case ID_WIDTH:
            if (code == EN_CHANGE)
                widthChanged(dlg, s);
            return TRUE;
        case ID_PAD:
            if (code == BN_CLICKED)
                showSample(dlg);
            return TRUE;
        case ID_HELP:
            utHelpKeyword(dlg, s->help);
            return TRUE;
        case IDOK: {
            int failed = 0;
            MemHandle built = buildFromFields(dlg, &failed);
            if (!built) {
                if (failed)
                    winDlgSelectEdit(dlg, failed);
                return TRUE;
            }
            utFreeHandle(s->edited);
            s->edited = built;
            EndDialog(dlg, 1);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dlg, 0);
            return TRUE;
        }
        return FALSE;
    }
    }
    return FALSE;
}

}  // namespace

MemHandle utIndexLabelNew()
{
    MemHandle h = utAllocHandle(0, kIdxHeadSize);
    if (h) {
        MemLock<uint8_t> p(h);
        utPutAt<uint32_t>(p.get(), IDX_LENGTH, kIdxHeadSize);
    }
    return h;
}

MemHandle utIndexLabelMake(int32_t base, int32_t step, int16_t width, BOOL padZeros,
                           const char *prefix, const char *suffix)
{
    const uint32_t prefixSize = prefix && *prefix ? (uint32_t)strlen(prefix) + 1 : 0;
    const uint32_t suffixSize = suffix && *suffix ? (uint32_t)strlen(suffix) + 1 : 0;
    const uint32_t length = kIdxHeadSize + prefixSize + suffixSize;
    MemHandle h = utAllocHandle(0, length);
    if (!h)
        return 0;
    MemLock<uint8_t> p(h);
    uint8_t *d = p.get();
    utPutAt<uint32_t>(d, IDX_LENGTH, length);
    utPutAt<int32_t>(d, IDX_CURRENT, base);
    utPutAt<int32_t>(d, IDX_BASE, base);
    utPutAt<int32_t>(d, IDX_STEP, step);
    utPutAt<int16_t>(d, IDX_WIDTH, width);
    utPutAt<uint16_t>(d, IDX_FLAGS, padZeros ? kIdxPadZeros : 0);
    utPutAt<int32_t>(d, IDX_PREFIX_SIZE, (int32_t)prefixSize);
    utPutAt<int32_t>(d, IDX_SUFFIX_SIZE, (int32_t)suffixSize);
    if (prefixSize)
        memcpy(d + kIdxHeadSize, prefix, prefixSize);
    if (suffixSize)
        memcpy(d + kIdxHeadSize + prefixSize, suffix, suffixSize);
    return h;
}

BOOL utIndexLabelPrefix(MemHandle label, char *buffer, uint32_t size)
{
    return copyAffix(label, true, buffer, size);
}

BOOL utIndexLabelSuffix(MemHandle label, char *buffer, uint32_t size)
{
    return copyAffix(label, false, buffer, size);
}

int32_t utIndexLabelCurrent(MemHandle label)
{
    Parts p;
    return readParts(label, &p) ? p.current : 0;
}

int32_t utIndexLabelNext(MemHandle label, BOOL store)
{
    Parts p;
    if (!readParts(label, &p))
        return 0;
    const int32_t next = (int32_t)((uint32_t)p.current + (uint32_t)p.step);
    if (store) {
        MemLock<uint8_t> d(label);
        utPutAt<int32_t>(d.get(), IDX_CURRENT, next);
    }
    return next;
}

int32_t utIndexLabelMaxLength(MemHandle label, int32_t value)
{
    Parts p;
    if (!readParts(label, &p))
        return 0;
    char number[16];
    int digits = snprintf(number, sizeof number, "%d", (int)value);
    return std::max<int32_t>(digits, p.width) + (int32_t)p.prefix.size() +
           (int32_t)p.suffix.size();
}

int utIndexLabelFormat(MemHandle label, int32_t value, char *buffer, uint32_t size)
{
    Parts p;
    if (!size)
        return 0;
    buffer[0] = 0;
    if (!readParts(label, &p))
        return 0;
    utStrCopyN(buffer, format(p, value).c_str(), size);
    return (int)strlen(buffer);
}

MemHandle utIndexLabelText(MemHandle label, int32_t value)
{
    Parts p;
    if (!readParts(label, &p))
        return 0;
    return utHandleFromString(format(p, value).c_str());
}

INT_PTR dlgIndexing(HWND owner, MemHandle *label, const char *helpKeyword)
{
    if (!label)
        return 0;
    Indexing s = {};
    s.edited = *label ? utCopyHandle(*label) : utIndexLabelNew();
    if (!s.edited)
        return 0;
    s.help = helpKeyword;
    INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), "sidx", owner, indexingProc,
                                (LPARAM)&s);
    if (r == 1) {
        MemHandle kept = *label ? utCopyHandleInto(*label, s.edited) : utCopyHandle(s.edited);
        if (kept)
            *label = kept;
        else
            r = 0;
    }
    utFreeHandle(s.edited);
    return r;
}
