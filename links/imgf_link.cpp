// Making image file objects and changing their link: the image frame
// command and the dialog "FNSEL_A" that chooses the linked file.
#include "links/imgf_object.h"
#include "links/doc_names.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "model/ws_document.h"
#include "support/dm_map.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "support/win_dlgfield.h"
#include "support/win_filedlg.h"
#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <string>

namespace {

ImgfObjectFactory g_factory = nullptr;

ImgfImageChooser g_chooser = nullptr;

const char kHelpTopic[] = "Image Frame Object";

enum : int {
    ID_BROWSE = 100,
    ID_NAME = 101,
    ID_RELATIVE_TEXT = 102,
    ID_USE_RELATIVE = 115,
    ID_HELP = 120,
};

struct LinkDialog {
    HWND ws;
    const char *title;
    char *name;
    const char *baseFolder;
    const char *defExt;
    const char *filter;
    BOOL relative;
};

// 102 follows 101: an absolute name made relative against the document's
// folder, a relative one as it is.
void refreshRelative(HWND dlg, const LinkDialog *d)
{
    char name[UT_PATH_SIZE];
    winGetDlgTextTrim(dlg, ID_NAME, name, sizeof name);
    if (utIsAbsolutePath(name))
        docMakeRelativeName(d->ws, name);
    SetDlgItemTextA(dlg, ID_RELATIVE_TEXT, name);
}

void browse(HWND dlg, const LinkDialog *d)
{
    char path[UT_PATH_SIZE] = "", current[UT_PATH_SIZE];
    winGetDlgTextTrim(dlg, ID_NAME, current, sizeof current);
    if (d->baseFolder && *d->baseFolder && !utIsAbsolutePath(current))
        utJoinPath(path, d->baseFolder, current);
    else
        utStrCopyN(path, current, sizeof path);
    BOOL chosen;
    if (d->defExt && d->filter)
        chosen = winOpenFileDlg(dlg, "Select a File", path, d->defExt, d->filter);
    else if (g_chooser)
        chosen = g_chooser(dlg, "Select a File", path);
    else
        chosen = winOpenFileDlg(dlg, "Select a File", path, nullptr, "All (*.*)|*.*|");
    if (chosen)
        SetDlgItemTextA(dlg, ID_NAME, path);
}

// OK: the chosen name checked for its file; false keeps the dialog open.
bool accept(HWND dlg, LinkDialog *d)
{
    const bool useRelative =
        GetDlgItem(dlg, ID_USE_RELATIVE) && IsDlgButtonChecked(dlg, ID_USE_RELATIVE) == BST_CHECKED;
    char name[UT_PATH_SIZE];
    if (!useRelative || winGetDlgTextTrim(dlg, ID_RELATIVE_TEXT, name, sizeof name) < 1)
        winGetDlgTextTrim(dlg, ID_NAME, name, sizeof name);
    char full[UT_PATH_SIZE] = "";
    if (name[0]) {
        if (useRelative || !utIsAbsolutePath(name))
            docResolveFileNameBuf(d->ws, name, full, sizeof full);
        else
            utStrCopyN(full, name, sizeof full);
        if (!ffExists(full)) {
            char text[UT_PATH_SIZE + 64];
            snprintf(text, sizeof text, "Can not find \r\n%s\r\nSave it anyway?", full);
            if (utMessageBox(dlg, text, MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
                winDlgSelectEdit(dlg, ID_NAME);
                return false;
            }
        }
    }
    utStrCopyN(d->name, useRelative ? name : full, UT_PATH_SIZE);
    d->relative = useRelative ? TRUE : FALSE;
    return true;
}

INT_PTR CALLBACK linkProc(HWND dlg, UINT msg, WPARAM wParam, LPARAM lParam)
{
    LinkDialog *d = (LinkDialog *)GetWindowLongPtrA(dlg, DWLP_USER);
    switch (msg) {
    case WM_INITDIALOG:
        d = (LinkDialog *)lParam;
        SetWindowLongPtrA(dlg, DWLP_USER, (LONG_PTR)d);
        SetWindowTextA(dlg, d->title && *d->title ? d->title : "Image File Link");
        SendDlgItemMessageA(dlg, ID_NAME, EM_LIMITTEXT, UT_PATH_SIZE - 1, 0);
        SetDlgItemTextA(dlg, ID_NAME, d->name);
        CheckDlgButton(dlg, ID_USE_RELATIVE, d->relative ? BST_CHECKED : BST_UNCHECKED);
        refreshRelative(dlg, d);
        return TRUE;
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case ID_NAME:
            if (HIWORD(wParam) == EN_CHANGE)
                refreshRelative(dlg, d);
            return TRUE;
        case ID_BROWSE:
            browse(dlg, d);
            return TRUE;
        case ID_HELP:
            utHelpKeyword(dlg, kHelpTopic);
            return TRUE;
        case IDOK:
            if (accept(dlg, d))
                EndDialog(dlg, IDOK);
            return TRUE;
        case IDCANCEL:
            EndDialog(dlg, IDCANCEL);
            return TRUE;
        }
        break;
    }
    return FALSE;
}

// A new head-only type-78 object over the rectangle.
MemHandle newFrame(HWND ws, const RECT *rect)
{
    const POINT pts[2] = {{rect->left, rect->top}, {rect->right, rect->bottom}};
    if (g_factory)
        return g_factory(ws, 0, OBT_IMAGE_FILE, pts, 2);
    MemHandle h = obNewRecord(kObHeadSize);
    if (ObLock rec{h}) {
        rec->type = OBT_IMAGE_FILE;
        rec->scaleX = rec->scaleY = kObScaleOne;
        obRecSetRect(rec.get(), rect);
    }
    return h;
}

}  // namespace

void imgfSetObjectFactory(ImgfObjectFactory factory) { g_factory = factory; }

void imgfSetImageChooser(ImgfImageChooser chooser) { g_chooser = chooser; }

MemHandle imgfCreate(HWND ws, const RECT *rect, const char *name, uint16_t mapping)
{
    if (!rect || !name || !*name)
        return 0;
    MemHandle object = newFrame(ws, rect);
    if (!object)
        return 0;
    MemHandle named = imgfSetFileName(object, name);
    if (!named) {
        obFreeTree(object);
        return 0;
    }
    object = named;
    if (lnkIsDwgFile(name))
        return object;
    if (!imgfSizeToImage(ws, object, mapping)) {
        obFreeTree(object);
        return 0;
    }
    return object;
}

MemHandle imgfCreateAt(HWND ws, const char *name, double inches)
{
    RECT view;
    dmGetClientLogRect(ws, &view);
    if (inches >= 0.1) {
        const int32_t side = (int32_t)(inches * 1440.0 + 0.5);
        const int32_t w = std::max<int32_t>(view.right - view.left, side);
        const int32_t h = std::max<int32_t>(view.bottom - view.top, side);
        const int32_t cx = (view.left + view.right) / 2, cy = (view.top + view.bottom) / 2;
        view = {cx - w / 2, cy - h / 2, cx - w / 2 + w, cy - h / 2 + h};
    }
    return imgfCreate(ws, &view, name, 1);
}

int imgfLinkDialog(HWND ws, const char *title, char *name, const char *baseFolder,
                   const char *defExt, const char *filter, BOOL *relative)
{
    if (!name)
        return 0;
    LinkDialog d = {ws, title, name, baseFolder, defExt, filter, relative ? *relative : TRUE};
    const INT_PTR r = DialogBoxParamA(GetModuleHandleA(nullptr), "FNSEL_A", ws, linkProc,
                                      (LPARAM)&d);
    if (r != IDOK)
        return 0;
    if (relative)
        *relative = d.relative;
    return 1;
}

int imgfChooseAndLink(HWND ws, MemHandle *object, const char *baseFolder, uint16_t mapping)
{
    char doc[UT_PATH_SIZE] = "";
    if (!wsGetDocPath(ws, doc, sizeof doc) || !doc[0]) {
        if (utMessageBox(ws,
                         "To use relative expression for the image file name, you must name "
                         "the file. Want help?",
                         MB_YESNO | MB_ICONQUESTION) == IDYES)
            utHelpKeyword(ws, kHelpTopic);
    }
    MemHandle current = object ? *object : 0;
    char old[UT_PATH_SIZE] = "", name[UT_PATH_SIZE] = "";
    if (current)
        imgfGetFileName(current, old);
    BOOL relative = !(current && old[0] && utIsAbsolutePath(old));
    if (old[0] && !utIsAbsolutePath(old))
        docResolveFileNameBuf(ws, old, name, sizeof name);
    else
        utStrCopyN(name, old, sizeof name);
    if (!imgfLinkDialog(ws, nullptr, name, baseFolder, nullptr, nullptr, &relative))
        return 0;
    if (!current) {
        RECT view;
        dmGetClientLogRect(ws, &view);
        MemHandle made = imgfCreate(ws, &view, name, mapping);
        if (object)
            *object = made;
        return made ? 1 : 0;
    }
    if (lstrcmpiA(name, old) == 0)
        return 0;
    int shown = imgfGetSizeMapping(ws, current);
    MemHandle renamed = imgfSetFileName(current, name);
    if (!renamed)
        return 0;
    *object = renamed;
    obInvalidate(ws, renamed);
    if (!shown)
        shown = mapping;
    imgfSizeToImage(ws, renamed, (uint16_t)(shown ? shown : 1));
    obInvalidate(ws, renamed);
    return 1;
}
