// A small driver for the end-to-end checks: it runs in the same Wine prefix
// as the program and works its windows from outside with posted and sent
// messages, the way a user's clicks and typing would arrive, and reads the
// documents the program writes with the program's own reader.
//
//   qmdrive find                      prints the workspace's client area on screen
//   qmdrive command ID [LPARAM]       posts WM_COMMAND ID to the frame (a drawing-tool
//                                     button sends its object type as LPARAM)
//   qmdrive post ID                   posts WM_COMMAND ID and returns at once
//   qmdrive drag X1 Y1 X2 Y2          a left-button drag in workspace client pixels,
//                                     given as real input (SendInput)
//   qmdrive hold X1 Y1 X2 Y2 PNG      the same drag, with the workspace's client area
//                                     captured into the PNG picture while the button is
//                                     still down (press, move, capture, release)
//   qmdrive stroke X1 Y1 X2 Y2 ...    one left-button drag (real input) through all the
//                                     points, each leg walked in steps of at most 8 pixels
//   qmdrive click X Y                 a left click there as real input, then a pause
//                                     longer than the double-click time
//   qmdrive dblclick X Y              a left double click there as real input
//   qmdrive saveas PATH [COMMAND]     Save As (or the Save dialog of COMMAND, such as
//                                     Export 105, the file type of PATH chosen),
//                                     answering the file dialog with PATH
//   qmdrive firstpage                 answers OK in the page sheet of a new document
//   qmdrive layout INDEX [ID TEXT]... shows page INDEX of the open page sheet (0
//                                     Standard Size .. 4 Custom Size, 5 Template),
//                                     types each TEXT into its field ID, then OK
//   qmdrive title                     prints the frame's title
//   qmdrive clipboard                 prints the names of the formats on the clipboard
//   qmdrive close                     closes the frame and waits for it to go
//   qmdrive click ID                  clicks (real input) the visible window with the
//                                     control id ID anywhere in the frame, such as a
//                                     button of a navigation bar
//   qmdrive answer ID TEXT            types TEXT into field ID: of the dialog that is
//                                     open, then OK; else of a window of the frame
//                                     (the page field), then Enter
//   qmdrive inspect PATH              prints "pages N", then page 1's object types, then
//                                     "points 1:" and each object's point count, then
//                                     "rotations 1:" and each object's rotation (with
//                                     "+" and its attached object's), then for
//                                     each text object of page 1 "text: " and the dump of
//                                     its stream without the layout codes, and "font: " with
//                                     its base font's face and height beside the page's
//                                     default font's ("page font: FACE HEIGHT")
//                                     and "size 1: W H" (page 1 in twips) and
//                                     "name N: NAME" for each page
//   qmdrive type TEXT                 posts each byte of TEXT to the workspace as WM_CHAR
//                                     (an ESC byte ends a text edit), as typing would
//   qmdrive fills PATH                one line per object of page 1: its type, its fill
//                                     kind and its hatch byte
//   qmdrive objects PATH              one line per object of page 1: its type, its
//                                     rectangle (left top right bottom, twips) and the
//                                     bytes of its type data; then "guide KIND POSITION"
//                                     per design guide of page 1
//   qmdrive objects PATH page         the same after a first line "page 1: WIDTH x HEIGHT"
//                                     (twips)
//   qmdrive click X Y [ctrl]          a left click in workspace client pixels (real
//                                     input), Ctrl held with "ctrl"
//   qmdrive dblclick X Y              a left double click there
//   qmdrive newdoc PATH [PAGES [PASSWORD]]
//                                     writes a document of PAGES (1) empty pages,
//                                     protected by the password when one is given
//   qmdrive password TEXT|--cancel    answers the "Password" dialog: prints its caption,
//                                     enters TEXT and OK (or Cancel), then prints
//                                     "box: TEXT" for a message box it gives (answered OK)
//   qmdrive open PATH                 File > Open, answering the file dialog with PATH
//   qmdrive docs                      prints the number of document windows, then
//                                     their titles, one a line
//   qmdrive box                       waits for a message box, prints its text (line
//                                     breaks as "|") and its rectangle, answers OK
//   qmdrive dragout X1 Y1 SX SY       a left-button drag from a workspace client point
//                                     to a screen point (SendInput)
//   qmdrive key NAME [COUNT]          presses the key (left, right, up, down) COUNT (1)
//                                     times in the workspace, as its key messages
//   qmdrive state                     prints the workspace's tool mode word and whether
//                                     any window of the program holds the mouse capture
//   qmdrive textdoc PATH              writes a one-page document holding a wrapped text
//                                     object at 1440,1440-7200,2880 twips and a framed
//                                     Label at 1440,4320-5760,5040
//   qmdrive text CLASS                prints the text of each child of the frame's first
//                                     window of the class, one a line (class, a tab, text)
//   qmdrive menubar                   lays out and draws the frame's border and menu again,
//                                     then prints its strip above the client area on screen
//                                     (X Y WIDTH HEIGHT) and the height of one menu line:
//                                     the menu bar lies in the strip's bottom line
//   qmdrive dialog [STEP...]          waits for a dialog of the frame, prints its caption,
//                                     runs the steps in turn, then OK: ID clicks the button,
//                                     ID=TEXT chooses the entry TEXT of combo box ID, or sets
//                                     the text of the edit ID (as typing would, with its
//                                     change notice), +ID clicks the button and returns at
//                                     once with the dialog left open (for a button that
//                                     opens a dialog of its own); the controls may lie on a
//                                     page of a property sheet
//   qmdrive fill ID TEXT [ID TEXT...] waits for a dialog of the frame, prints its caption,
//                                     puts each TEXT into its field ID (a drop-down list
//                                     box chooses item number TEXT) as typing or choosing
//                                     would notify, and leaves the dialog open
//   qmdrive filedlg PATH              answers the open or save file dialog that is open
//                                     (or opens next) with PATH
//   qmdrive lines ID [INDEX]          waits for a dialog of the frame, prints its caption,
//                                     then the items of its list box ID one a line; chooses
//                                     item INDEX and OK, or Cancel without an INDEX
//   qmdrive printer PORT              installs the test printer "Quillmark Test Printer"
//                                     (Wine's PostScript driver with a printer description
//                                     of our own, a Unix file PORT as its port) as the default
//   qmdrive noprinter                 removes the test printer and its driver
//   qmdrive picturedoc PATH PNG BMP   writes a PNG (64 x 48: red left half, blue right
//                                     half) and a BMP (8 x 8 green), then a document
//                                     whose page holds a bitmap object of the PNG at
//                                     1 inch, 1 inch (3 x 2.25 inches) and has the BMP
//                                     as its background picture
//   qmdrive newtable PATH             writes a one-page document holding a table of
//                                     3 x 4 cells of 1440 x 360 twips from (1440, 1440)
//                                     with a text in its first row
//   qmdrive metadoc PATH WMF EMF      writes a placeable .wmf (a red square, 2 inches) and
//                                     an .emf (a green square, 1 inch), then a document of
//                                     two pages: page 1 holds an inset of page 2 and a
//                                     3D Text "WWW" at 4320,1080-7200,2160; page 2 a blue
//                                     square at 720,720-2880,2880
//   qmdrive import PATH [COMMAND]     File > Import (or the file dialog of COMMAND, such as
//                                     Import > Image 1150), answering it with PATH; fails
//                                     when the program answers with a message
//   qmdrive ask QUERY [ARG]           prints one answer of the program's state probe
//                                     (app/app_probe.h: 3 objects of the page, 4 the
//                                     current object's type, 16 document windows, ...)
//   qmdrive picture PATH              prints the size of a picture file as the picture
//                                     library reads it (a Unix path) and the screen's dpi
//   qmdrive walkdoc PATH              writes the document the menu walk works on
//   qmdrive coverage TABLE            compares the menu walk's table with the ids of the
//                                     menus, pop-up menus and tool bars
//   qmdrive walk TABLE DOC [IDS]      the menu walk (below) on the document DOC, which the
//                                     program shows; IDS (comma-separated) walks only those
//                                     rows, without the menu checks
#include "app/app_hooks.h"
#include "app/app_start.h"
#include "tests/table/tb_fixture.h"
#include "model/fm_form.h"
#include "model/ob_dispatch.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/qmf_write.h"
#include "model/qmf_read.h"
#include "model/qmf_save.h"
#include "model/qmf_pages.h"
#include "model/pg_render.h"
#include "model/pg_margins.h"
#include "objects/img_export.h"
#include "objects/img_io.h"
#include "objects/mf_pict.h"
#include "support/gdi_dib.h"
#include "model/ws_document.h"
#include "text/tx_header.h"
#include "text/tx_dump.h"
#include "text/tx_stream.h"
#include "text/tx_label.h"
#include "text/tx_object.h"
#include "views/pv_guide.h"
#include "commands/pop_menus.h"
#include "controls/tb_table.h"
#include "support/qmfreeimage.h"
#include "support/qmwin.h"
#include "support/ut_mem.h"
#include "support/rc_list.h"
#include "support/ut_msg.h"
#include <commctrl.h>
#include <winspool.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <algorithm>
#include <set>
#include <vector>

namespace {

const char kFrameClass[] = "ridevi";   // the frame's window class

HWND frameWindow()
{
    for (int i = 0; i < 300; ++i) {
        HWND frame = FindWindowA(kFrameClass, nullptr);
        if (frame)
            return frame;
        Sleep(100);
    }
    return nullptr;
}

// The first "vaqm_ws" below the frame (MDI client, document window, workspace).
HWND findWorkspace(HWND parent)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = "";
        GetClassNameA(child, name, sizeof name);
        if (strcmp(name, "vaqm_ws") == 0)
            return child;
        if (HWND inner = findWorkspace(child))
            return inner;
    }
    return nullptr;
}

HWND workspace(HWND frame)
{
    for (int i = 0; i < 100; ++i) {
        if (HWND ws = findWorkspace(frame))
            return ws;
        Sleep(100);
    }
    return nullptr;
}

// Waits until the frame's thread has handled everything posted so far.
void settle(HWND frame)
{
    DWORD_PTR result;
    for (int i = 0; i < 3; ++i) {
        SendMessageTimeoutA(frame, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &result);
        Sleep(100);
    }
}

struct DialogSearch {
    DWORD thread;
    HWND found;
    HWND except;
};

BOOL CALLBACK findDialog(HWND window, LPARAM data)
{
    auto *search = reinterpret_cast<DialogSearch *>(data);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "#32770") == 0 && IsWindowVisible(window) && window != search->except) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A visible dialog of the frame's thread other than `except`, waited for up
// to the tenths of a second.
HWND waitDialog(HWND frame, int tenths, HWND except = nullptr)
{
    DialogSearch search = {GetWindowThreadProcessId(frame, nullptr), nullptr, except};
    for (int i = 0; i < tenths; ++i) {
        search.found = nullptr;
        EnumThreadWindows(search.thread, findDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(100);
    }
    return nullptr;
}

// The file-name edit of a common file dialog: the combo box's edit in the
// newer layout, the plain edit in the older one.
HWND fileNameEdit(HWND dialog)
{
    if (HWND combo = GetDlgItem(dialog, 1148)) {
        if (HWND edit = FindWindowExA(combo, nullptr, "Edit", nullptr))
            return edit;
        return combo;
    }
    return GetDlgItem(dialog, 1152);
}

void printTexts(HWND dialog)
{
    char text[512];
    GetWindowTextA(dialog, text, sizeof text);
    fprintf(stderr, "dialog \"%s\"\n", text);
    for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        GetWindowTextA(c, text, sizeof text);
        if (*text)
            fprintf(stderr, "  \"%s\"\n", text);
    }
}

// Chooses the file type whose pattern is the path's extension in the
// dialog's file-type box, as a user would; nothing when none matches.
void chooseFileType(HWND dialog, const char *path)
{
    const char *dot = strrchr(path, '.');
    HWND types = GetDlgItem(dialog, 0x470);
    if (!dot || !types)
        return;
    const std::string pattern = std::string("*") + dot;
    const int n = (int)SendMessageA(types, CB_GETCOUNT, 0, 0);
    for (int i = 0; i < n; ++i) {
        // The box belongs to another process: its texts come as UTF-16.
        WCHAR wide[256] = {};
        char text[256] = "";
        if (SendMessageW(types, CB_GETLBTEXTLEN, i, 0) >= 255)
            continue;
        SendMessageW(types, CB_GETLBTEXT, i, reinterpret_cast<LPARAM>(wide));
        WideCharToMultiByte(CP_ACP, 0, wide, -1, text, sizeof text, nullptr, nullptr);
        if (!strstr(text, pattern.c_str()))
            continue;
        SendMessageA(types, CB_SETCURSEL, i, 0);
        // A choice made in the list ends with both notifications.
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(types));
        SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK),
                     reinterpret_cast<LPARAM>(types));
        return;
    }
}

struct FileDialogSearch {
    DWORD thread;
    HWND found;
};

BOOL CALLBACK findFileDialog(HWND window, LPARAM data)
{
    auto *search = reinterpret_cast<FileDialogSearch *>(data);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "#32770") == 0 && IsWindowVisible(window) && fileNameEdit(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

// A file dialog of the frame's thread (one with a file-name field, never
// the dialog that opened it), waited for up to the tenths of a second.
HWND waitFileDialog(HWND frame, int tenths)
{
    FileDialogSearch search = {GetWindowThreadProcessId(frame, nullptr), nullptr};
    for (int i = 0; i < tenths; ++i) {
        search.found = nullptr;
        EnumThreadWindows(search.thread, findFileDialog, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(100);
    }
    return nullptr;
}

int answerFileDialog(HWND frame, HWND dialog, const char *path, bool chooseType);

int saveAs(HWND frame, const char *path, int command = 103)
{
    PostMessageA(frame, WM_COMMAND, command, 0);
    HWND dialog = waitDialog(frame, 300);
    if (!dialog) {
        fprintf(stderr, "no Save As dialog appeared\n");
        return 1;
    }
    return answerFileDialog(frame, dialog, path, command != 103);
}

// The file dialog's owner when it is a dialog of the program (a dialog's
// Save As button): it stays open after the answer; else null.
HWND dialogOwner(HWND dialog)
{
    HWND owner = GetWindow(dialog, GW_OWNER);
    char name[64] = "";
    if (owner)
        GetClassNameA(owner, name, sizeof name);
    return strcmp(name, "#32770") == 0 ? owner : nullptr;
}

int answerFileDialog(HWND frame, HWND dialog, const char *path, bool chooseType)
{
    HWND opener = dialogOwner(dialog);
    HWND edit = fileNameEdit(dialog);
    if (!edit) {
        printTexts(dialog);
        fprintf(stderr, "the dialog has no file-name field\n");
        return 1;
    }
    if (chooseType)
        chooseFileType(dialog, path);
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    for (int i = 0; i < 300 && IsWindow(dialog); ++i)
        Sleep(100);
    if (IsWindow(dialog)) {
        printTexts(dialog);
        fprintf(stderr, "the Save As dialog did not close\n");
        return 1;
    }
    settle(frame);
    // Any box left now (other than the dialog that opened the file
    // dialog) is a refusal or a failure of the save.
    if (HWND box = waitDialog(frame, 10, opener)) {
        printTexts(box);
        fprintf(stderr, "the save was answered with a message\n");
        return 1;
    }
    return 0;
}

// The driver never waits for a person: a message of the reader is printed
// and answered OK.
int printBox(HWND, const char *text, const char *caption, UINT)
{
    fprintf(stderr, "message \"%s\": %s\n", caption ? caption : "", text ? text : "");
    return IDOK;
}

int inspect(const char *path)
{
    utSetMessageBoxHook(printBox);
    MemHandle page = 0;
    MemHandle form = qmfOpenDocument(nullptr, path, 0, &page);
    if (!form) {
        fprintf(stderr, "cannot open %s\n", path);
        return 1;
    }
    int pages = fmGetPageCount(form);
    printf("pages %d\n", pages);
    printf("page 1:");
    for (MemHandle o = page ? pgGetFirstObject(page) : 0; o; o = obGetNext(o))
        printf(" %d", obGetType(o));
    printf("\n");
    printf("points 1:");
    for (MemHandle o = page ? pgGetFirstObject(page) : 0; o; o = obGetNext(o)) {
        int16_t n = 0;
        utFreeHandle(obGetVertices(o, &n));
        printf(" %d", n);
    }
    printf("\n");
    printf("rotations 1:");
    for (MemHandle o = page ? pgGetFirstObject(page) : 0; o; o = obGetNext(o)) {
        ObLock r(o);
        printf(" %u", r ? (unsigned)r->rotation : 0u);
        if (r && r->attached) {
            ObLock a(r->attached);
            printf("+%u", a ? (unsigned)a->rotation : 0u);
        }
    }
    printf("\n");
    LOGFONTA pageFont = {};
    if (page && pgGetDefaultFont(page, &pageFont))
        printf("page font: %s %ld\n", pageFont.lfFaceName, (long)pageFont.lfHeight);
    for (MemHandle o = page ? pgGetFirstObject(page) : 0; o; o = obGetNext(o)) {
        if (obGetType(o) != 40)
            continue;
        std::string stream;
        {
            MemHandle h = txCopyStream(o);
            MemLock<char> p(h);
            if (p)
                stream.assign(p.get(), (size_t)txstrlen(p.get()));
            utFreeHandle(h);
        }
        stream.push_back('\0');
        txStripLayoutCodes(&stream[0]);
        MemHandle dump = txDumpStream(stream.c_str(), nullptr, -1);
        {
            MemLock<char> d(dump);
            printf("text: %s\n", d ? d.get() : "");
        }
        utFreeHandle(dump);
        if (TextHeader *h = txLockHeader(o)) {
            printf("font: %s %ld\n", h->lf.lfFaceName, (long)h->lf.lfHeight);
            utUnlock(o);
        }
    }
    if (page)
        printf("size 1: %ld %ld\n", (long)obGetWidth(page), (long)obGetHeight(page));
    fmFree(form);
    // The page names, one a line ("name N: NAME").
    int count = 0;
    MemHandle names = pgReadFilePageNames(nullptr, path, &count, FALSE);
    std::vector<std::string> items = rcListItems(names, '\x1b');
    utFreeHandle(names);
    for (int i = 0; i < count && i < (int)items.size(); ++i)
        printf("name %d: %s\n", i + 1, items[(size_t)i].c_str());
    return 0;
}

// The page layout sheet that is open: shows its page of the index, types
// each TEXT into the field ID of that page, then OK. Prints the caption.
int layoutSheet(HWND frame, int index, int argc, char **pairs)
{
    HWND sheet = waitDialog(frame, 300);
    if (!sheet) {
        fprintf(stderr, "no page sheet appeared\n");
        return 1;
    }
    char caption[256] = "";
    GetWindowTextA(sheet, caption, sizeof caption);
    printf("%s\n", caption);
    SendMessageA(sheet, PSM_SETCURSEL, (WPARAM)index, 0);
    HWND page = (HWND)SendMessageA(sheet, PSM_GETCURRENTPAGEHWND, 0, 0);
    for (int i = 0; page && i + 1 < argc; i += 2)
        SendDlgItemMessageA(page, atoi(pairs[i]), WM_SETTEXT, 0, (LPARAM)pairs[i + 1]);
    PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
    for (int i = 0; i < 300 && IsWindow(sheet); ++i)
        Sleep(100);
    settle(frame);
    if (IsWindow(sheet)) {
        fprintf(stderr, "the page sheet did not close\n");
        return 1;
    }
    return 0;
}

int listObjects(const char *path, bool pageSize = false)
{
    utSetMessageBoxHook(printBox);
    // The page as stored: a saved multiple selection shows as its chain.
    qmfKeepChainsOnRead(TRUE);
    MemHandle page = 0;
    MemHandle form = qmfOpenDocument(nullptr, path, 0, &page);
    if (!form) {
        fprintf(stderr, "cannot open %s\n", path);
        return 1;
    }
    if (pageSize && page) {
        // "objects PATH page": the first page's size in twips first.
        RECT r;
        pgGetPageRect(page, &r);
        printf("page 1: %ld x %ld\n", (long)(r.right - r.left), (long)(r.bottom - r.top));
    }
    for (MemHandle o = page ? pgGetFirstObject(page) : 0; o; o = obGetNext(o)) {
        RECT r;
        obGetRect(o, &r);
        uint32_t data = 0;
        {
            ObLock rec(o);
            if (rec && rec.extent() > obDataOffset(rec.get()))
                data = rec.extent() - obDataOffset(rec.get());
        }
        printf("%d %ld %ld %ld %ld %u\n", obGetType(o), (long)r.left, (long)r.top, (long)r.right,
               (long)r.bottom, (unsigned)data);
    }
    // Then the page's design guides: "guide KIND POSITION" (1 vertical, 2
    // horizontal).
    if (MemHandle guides = pvGetGuides(page)) {
        for (int kind = GD_VERTICAL; kind <= GD_HORIZONTAL; ++kind)
            for (int i = 0; i < gdCount(guides, kind); ++i)
                printf("guide %d %ld\n", kind, (long)gdGetPos(guides, i, kind));
        utFreeHandle(guides);
    }
    fmFree(form);
    return 0;
}

// The fill of each object of page 1 as stored: type, fill kind, hatch byte.
int listFills(const char *path)
{
    utSetMessageBoxHook(printBox);
    qmfKeepChainsOnRead(TRUE);
    MemHandle page = 0;
    MemHandle form = qmfOpenDocument(nullptr, path, 0, &page);
    if (!form) {
        fprintf(stderr, "cannot open %s\n", path);
        return 1;
    }
    for (MemHandle o = page ? pgGetFirstObject(page) : 0; o; o = obGetNext(o)) {
        ObLock rec(o);
        if (rec)
            printf("%d %u %u\n", rec->type, (unsigned)rec->fillKind, (unsigned)rec->hatch);
    }
    fmFree(form);
    return 0;
}

// Saves the document with the program's own writer (page-size table and
// all) and frees it: 0 when written, else 1.
int saveAndFree(const char *path, MemHandle form)
{
    HWND holder = CreateWindowA("STATIC", "qmdrive", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    wsSetDocument(holder, form);
    const bool ok = qmfSaveDocument(holder, path, form, FALSE, FALSE) != 0;
    wsSetDocument(holder, 0);
    DestroyWindow(holder);
    fmFree(form);
    return ok ? 0 : 1;
}

int newDocument(const char *path, int pages, const char *password, bool table = false)
{
    MemHandle form = pgNewDocument(TRUE);
    if (!form)
        return 1;
    if (table) {
        MemHandle t = qmtest::makeTable(3, 4, RECT{1440, 1440, 1440 + 3 * 1440, 1440 + 4 * 360});
        const char *texts[] = {"Item", "Count", "Price"};
        t = qmtest::setTableTexts(t, texts, 3);
        MemHandle page = pgDirGetPages(fmGetDirectory(form), 0);
        if (!t || !page)
            return 1;
        pgAppendObject(page, t);
    }
    if (password)
        form = fmSetPassword(form, password);
    // Further pages copy the first one's record.
    MemHandle first = pgDirGetPages(fmGetDirectory(form), 0);
    for (int i = 1; i < pages && first; ++i) {
        MemHandle page = pgNewRecord(0);
        if (!page)
            break;
        pgCopySize(page, first);
        pgDirAppend(form, page);
    }
    return saveAndFree(path, form);
}

// A document with a text object and a Label on its page.
int textDocument(const char *path)
{
    MemHandle form = pgNewDocument(TRUE);
    if (!form)
        return 1;
    MemHandle page = pgDirGetPages(fmGetDirectory(form), 0);
    TextHeader th = {};
    th.lf.lfHeight = -480;
    th.lf.lfWeight = 700;
    lstrcpyA(th.lf.lfFaceName, "Liberation Sans");
    th.flags = TXF_WRAP | TXF_WRAP_LOW;
    th.bkMode = 1;
    RECT box = {1440, 1440, 7200, 2880};
    MemHandle text = txNewPlainTextObject(nullptr, &box, &th, "WWW Quillmark MMM");
    MemHandle label = txNewLabel(0, &th.lf, 0, 0x0001, 0);
    RECT lbox = {1440, 4320, 5760, 5040};
    if (label) {
        obSetRect(label, &lbox);
        label = txSetLabelText(label, "WWW MMM");
        label = txRewrapLabel(nullptr, label);
    }
    if (!page || !text || !label)
        return 1;
    pgAppendObject(page, text);
    pgAppendObject(page, label);
    return saveAndFree(path, form);
}

// A packed 24-bit DIB of w x h pixels, each from the colour function.
template <typename Colour>
MemHandle makeDib(int w, int h, Colour colour)
{
    BITMAPINFOHEADER ih = {};
    ih.biSize = sizeof ih;
    ih.biWidth = w;
    ih.biHeight = h;
    ih.biPlanes = 1;
    ih.biBitCount = 24;
    ih.biSizeImage = gdiDibImageSize(w, h, 24);
    MemHandle dib = utAllocHandle(0, sizeof ih + ih.biSizeImage);
    MemLock<uint8_t> p(dib);
    if (!p)
        return 0;
    memcpy(p.get(), &ih, sizeof ih);
    uint32_t stride = gdiDibStride(&ih);
    for (int y = 0; y < h; ++y) {
        uint8_t *row = p.get() + sizeof ih + (size_t)stride * (h - 1 - y);
        for (int x = 0; x < w; ++x) {
            COLORREF c = colour(x, y);
            row[3 * x] = GetBValue(c);
            row[3 * x + 1] = GetGValue(c);
            row[3 * x + 2] = GetRValue(c);
        }
    }
    return dib;
}

int pictureDocument(const char *path, const char *png, const char *bmp)
{
    MemHandle picture = makeDib(64, 48, [](int x, int) {
        return x < 32 ? RGB(255, 0, 0) : RGB(0, 0, 255);
    });
    MemHandle background = makeDib(8, 8, [](int, int) { return RGB(0, 200, 0); });
    bool written = imgExportDib(nullptr, picture, png, 0) && gdiSaveDibFile(bmp, background);
    utFreeHandle(picture);
    utFreeHandle(background);
    if (!written)
        return 1;
    MemHandle form = pgNewDocument(TRUE);
    MemHandle page = form ? pgDirGetPages(fmGetDirectory(form), 0) : 0;
    MemHandle object = page ? imgLoadFileObject(nullptr, png, 0, FALSE, 0) : 0;
    if (!object)
        return 1;
    RECT box = {1440, 1440, 1440 + 4320, 1440 + 3240};
    obSetRect(object, &box);
    pgAppendObject(page, object);
    MemHandle record = pgNewBackground(PG_BACKGROUND_PICTURE, 0, 0, bmp, (uint32_t)strlen(bmp));
    page = pgSetBackground(page, record);
    utFreeHandle(record);
    pgDirSetPages(fmGetDirectory(form), page, 0);
    return saveAndFree(path, form);
}

// Writes the bytes to a new file; false when it cannot.
bool writeBytes(const char *path, const void *bytes, DWORD n)
{
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                           nullptr);
    if (f == INVALID_HANDLE_VALUE)
        return false;
    DWORD written = 0;
    const bool ok = WriteFile(f, bytes, n, &written, nullptr) && written == n;
    CloseHandle(f);
    return ok;
}

// A placeable .wmf of a red square filling its box 0..2000 at 1000 units
// per inch, and an .emf of a green square of one inch.
bool writeMetafiles(const char *wmf, const char *emf)
{
    HDC mdc = CreateMetaFileA(nullptr);
    SetMapMode(mdc, MM_ANISOTROPIC);
    SetWindowOrgEx(mdc, 0, 0, nullptr);
    SetWindowExtEx(mdc, 2000, 2000, nullptr);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    SelectObject(mdc, red);
    SelectObject(mdc, GetStockObject(NULL_PEN));
    Rectangle(mdc, 0, 0, 2001, 2001);
    HMETAFILE mf = CloseMetaFile(mdc);
    DeleteObject(red);
    std::vector<uint8_t> file(sizeof(PlaceableHeader) + GetMetaFileBitsEx(mf, 0, nullptr));
    GetMetaFileBitsEx(mf, (UINT)(file.size() - sizeof(PlaceableHeader)),
                      file.data() + sizeof(PlaceableHeader));
    DeleteMetaFile(mf);
    const PlaceableHeader head = {kMfPlaceableKey, 0, 0, 0, 2000, 2000, 1000, 0, 0};
    memcpy(file.data(), &head, sizeof head);
    if (!writeBytes(wmf, file.data(), (DWORD)file.size()))
        return false;
    RECT frame = {0, 0, 2540, 2540};   // hundredths of a millimetre
    HDC edc = CreateEnhMetaFileA(nullptr, emf, &frame, nullptr);
    if (!edc)
        return false;
    HBRUSH green = CreateSolidBrush(RGB(0, 200, 0));
    SelectObject(edc, green);
    SelectObject(edc, GetStockObject(NULL_PEN));
    Rectangle(edc, 0, 0, GetDeviceCaps(edc, LOGPIXELSX) + 1, GetDeviceCaps(edc, LOGPIXELSY) + 1);
    HENHMETAFILE e = CloseEnhMetaFile(edc);
    DeleteObject(green);
    return e && DeleteEnhMetaFile(e);
}

// A new document and a second page of the first one's size, not yet in
// its directory; 0 when either cannot be made.
MemHandle newTwoPages(MemHandle *first, MemHandle *second)
{
    MemHandle form = pgNewDocument(TRUE);
    *first = form ? pgDirGetPages(fmGetDirectory(form), 0) : 0;
    *second = *first ? pgNewRecord(0) : 0;
    if (!*second) {
        fmFree(form);
        return 0;
    }
    pgCopySize(*second, *first);
    return form;
}

MemHandle boxRecord(int16_t type, const RECT &box, uint32_t dataBytes)
{
    MemHandle h = obNewRecord(kObHeadSize + dataBytes);
    ObLock r(h);
    if (!r)
        return 0;
    r->type = type;
    r->layer = 1;
    r->scaleX = r->scaleY = kObScaleOne;
    r->penColour = RGB(0, 0, 0);
    r->fillColour = RGB(0, 0, 0);
    r->backColour = RGB(255, 255, 255);
    obRecSetRect(r.get(), &box);
    return h;
}

// A 3D Text record of the text in Arial of half an inch, its shadow 40
// twips right and down, the text as its tag-1 field.
MemHandle text3dRecord(const RECT &box, const char *text)
{
    const uint32_t field = 8 + (uint32_t)strlen(text) + 1, size = 126 + field;
    MemHandle h = boxRecord(OBT_3D_TEXT, box, size);
    ObLock r(h);
    if (!r)
        return 0;
    uint8_t *d = obRecData(r.get());
    const uint32_t words[] = {size, 1, 1, field};   // size, tag mask, count, area
    const int32_t shadow[2] = {40, 40};
    const uint32_t tag = 1;
    memcpy(d, &words[0], 4);
    memcpy(d + 14, shadow, 8);
    LOGFONTA lf = {};
    lf.lfHeight = -720;
    lf.lfWeight = FW_BOLD;
    lstrcpyA(lf.lfFaceName, "Arial");
    memcpy(d + 30, &lf, sizeof lf);
    memcpy(d + 114, &words[1], 12);
    memcpy(d + 126, &field, 4);
    memcpy(d + 130, &tag, 4);
    memcpy(d + 134, text, strlen(text) + 1);
    return h;
}

int metafileDocument(const char *path, const char *wmf, const char *emf)
{
    if (!writeMetafiles(wmf, emf))
        return 1;
    MemHandle first = 0, second = 0;
    MemHandle form = newTwoPages(&first, &second);
    if (!form)
        return 1;
    MemHandle square = boxRecord(OBT_RECTANGLE, RECT{720, 720, 2880, 2880}, 8);
    {
        ObLock r(square);
        r->fillKind = 1;
        r->fillColour = r->penColour = RGB(0, 0, 255);
        const int32_t sides[2] = {r->width, r->height};
        memcpy(obRecData(r.get()), sides, sizeof sides);
    }
    pgAppendObject(second, square);
    pgDirAppend(form, second);
    // The inset covers the whole page, so that every part of the page that
    // is painted again shows the other page.
    RECT whole;
    pgGetPageRect(first, &whole);
    MemHandle inset = boxRecord(OBT_PAGE_INSET, whole, 8);
    {
        ObLock r(inset);
        const uint32_t length = 8;
        const uint16_t index = 1;
        memcpy(obRecData(r.get()), &length, 4);
        memcpy(obRecData(r.get()) + 4, &index, 2);
    }
    MemHandle text = text3dRecord(RECT{4320, 1080, 7200, 2160}, "WWW");
    if (!square || !inset || !text)
        return 1;
    pgAppendObject(first, inset);
    pgAppendObject(first, text);
    return saveAndFree(path, form);
}

// A visible dialog of any program in the prefix: with the caption, or
// (caption null) one owned by `owner`.
struct CaptionSearch {
    const char *caption;
    HWND owner;
    HWND found;
};

BOOL CALLBACK findCaption(HWND window, LPARAM data)
{
    auto *search = reinterpret_cast<CaptionSearch *>(data);
    char name[64] = "", text[256] = "";
    GetClassNameA(window, name, sizeof name);
    GetWindowTextA(window, text, sizeof text);
    if (strcmp(name, "#32770") != 0 || !IsWindowVisible(window))
        return TRUE;
    if (search->caption ? strcmp(text, search->caption) == 0
                        : GetWindow(window, GW_OWNER) == search->owner) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND waitCaption(const char *caption, HWND owner, int tenths)
{
    for (int i = 0; i < tenths; ++i) {
        CaptionSearch search = {caption, owner, nullptr};
        EnumWindows(findCaption, reinterpret_cast<LPARAM>(&search));
        if (search.found)
            return search.found;
        Sleep(100);
    }
    return nullptr;
}

// The password dialog: the entry and OK, or Cancel; then the message box
// the answer gives, if any, is printed and answered OK.
int answerPassword(const char *text)
{
    HWND dialog = waitCaption("Password", nullptr, 600);
    if (!dialog) {
        fprintf(stderr, "no Password dialog appeared\n");
        return 1;
    }
    printf("Password\n");
    fflush(stdout);
    bool cancel = strcmp(text, "--cancel") == 0;
    if (!cancel)
        SendMessageA(GetDlgItem(dialog, 100), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    int id = cancel ? IDCANCEL : IDOK;
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
    for (int i = 0; i < 50; ++i) {
        Sleep(100);
        if (HWND box = waitCaption(nullptr, dialog, 1)) {
            char message[512] = "";
            for (HWND c = GetWindow(box, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
                char cls[32] = "", t[512] = "";
                GetClassNameA(c, cls, sizeof cls);
                GetWindowTextA(c, t, sizeof t);
                if (lstrcmpiA(cls, "Static") == 0 && *t)
                    lstrcpynA(message, t, sizeof message);
            }
            printf("box: %s\n", message);
            PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
            for (int k = 0; k < 50 && IsWindow(box); ++k)
                Sleep(100);
            return 0;
        }
        if (!IsWindow(dialog))
            return 0;
    }
    return 0;
}

// One absolute pointer event at a screen point.
void sendMouse(POINT screen, DWORD flags)
{
    INPUT in = {};
    in.type = INPUT_MOUSE;
    in.mi.dx = MulDiv(screen.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
    in.mi.dy = MulDiv(screen.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
    in.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &in, sizeof in);
    Sleep(60);
}

// The pointer to a, the left button pressed there and moved in four steps
// to b (screen points), as real input; the button stays down.
void pressAndMove(POINT a, POINT b)
{
    sendMouse(a, 0);
    sendMouse(a, MOUSEEVENTF_LEFTDOWN);
    for (int i = 1; i <= 4; ++i)
        sendMouse(POINT{a.x + (b.x - a.x) * i / 4, a.y + (b.y - a.y) * i / 4}, 0);
}

// The window's client area as it is on the screen now, written as a PNG
// picture (bottom-up 24-bit rows); 1 when written. The pixels are read from
// the screen: the window belongs to the program's process, whose drawing a
// DC of this process cannot read.
int captureClient(HWND window, const char *path)
{
    RECT client;
    GetClientRect(window, &client);
    POINT origin = {0, 0};
    ClientToScreen(window, &origin);
    BITMAPINFOHEADER bih = {};
    bih.biSize = sizeof bih;
    bih.biWidth = client.right;
    bih.biHeight = client.bottom;
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    void *bits = nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bmp = CreateDIBSection(screen, reinterpret_cast<BITMAPINFO *>(&bih), DIB_RGB_COLORS,
                                   &bits, nullptr, 0);
    int written = 0;
    if (bmp && bits) {
        HDC mem = CreateCompatibleDC(screen);
        HGDIOBJ old = SelectObject(mem, bmp);
        BitBlt(mem, 0, 0, client.right, client.bottom, screen, origin.x, origin.y, SRCCOPY);
        GdiFlush();
        written = imgExportDibRows(nullptr, &bih, bits, path, IMG_FORMAT_PNG);
        SelectObject(mem, old);
        DeleteDC(mem);
    }
    if (bmp)
        DeleteObject(bmp);
    ReleaseDC(nullptr, screen);
    return written;
}

// The visible window with the control id below the window; one inside a
// dialog (a navigation bar) first.
HWND findControl(HWND parent, int id, bool inDialog)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child))
            continue;
        char name[64] = "";
        GetClassNameA(parent, name, sizeof name);
        if (GetDlgCtrlID(child) == id && (!inDialog || strcmp(name, "#32770") == 0))
            return child;
        if (HWND inner = findControl(child, id, inDialog))
            return inner;
    }
    return nullptr;
}

HWND control(HWND frame, int id)
{
    HWND found = findControl(frame, id, true);
    return found ? found : findControl(frame, id, false);
}

int click(HWND frame, int id)
{
    HWND target = control(frame, id);
    if (!target) {
        fprintf(stderr, "no window with the id %d\n", id);
        return 1;
    }
    RECT r;
    GetWindowRect(target, &r);
    POINT centre = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    sendMouse(centre, 0);
    sendMouse(centre, MOUSEEVENTF_LEFTDOWN);
    sendMouse(centre, MOUSEEVENTF_LEFTUP);
    settle(frame);
    return 0;
}

int answer(HWND frame, int id, const char *text)
{
    HWND dialog = waitDialog(frame, 30);
    if (dialog && GetDlgItem(dialog, id)) {
        SendMessageA(GetDlgItem(dialog, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
        for (int i = 0; i < 100 && IsWindow(dialog); ++i)
            Sleep(100);
        settle(frame);
        if (IsWindow(dialog)) {
            printTexts(dialog);
            fprintf(stderr, "the dialog did not take the answer\n");
            return 1;
        }
        return 0;
    }
    HWND field = control(frame, id);
    if (!field) {
        fprintf(stderr, "no field with the id %d\n", id);
        return 1;
    }
    SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
    PostMessageA(field, WM_CHAR, '\r', 0);
    settle(frame);
    return 0;
}

// File > Open (or the file dialog of COMMAND, such as Import 104) with the
// path typed into the dialog.
int openFile(HWND frame, const char *path, int command = 101)
{
    PostMessageA(frame, WM_COMMAND, command, 0);
    HWND dialog = waitDialog(frame, 300);
    HWND edit = dialog ? fileNameEdit(dialog) : nullptr;
    if (!edit) {
        fprintf(stderr, "no Open dialog with a file-name field appeared\n");
        return 1;
    }
    SendMessageA(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path));
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    for (int i = 0; i < 300 && IsWindow(dialog); ++i)
        Sleep(100);
    if (IsWindow(dialog)) {
        printTexts(dialog);
        fprintf(stderr, "the Open dialog did not close\n");
        return 1;
    }
    settle(frame);
    // An import answered with a message did not take the file.
    if (command != 101) {
        if (HWND box = waitDialog(frame, 10)) {
            printTexts(box);
            fprintf(stderr, "the file was answered with a message\n");
            return 1;
        }
    }
    return 0;
}

// The document windows (MDI children of class "xqmdoc") and their titles.
int listDocuments(HWND frame)
{
    HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
    std::vector<std::string> titles;
    for (HWND w = client ? GetWindow(client, GW_CHILD) : nullptr; w; w = GetWindow(w, GW_HWNDNEXT)) {
        char name[64] = "", title[512] = "";
        GetClassNameA(w, name, sizeof name);
        if (strcmp(name, "xqmdoc") != 0 || GetWindow(w, GW_OWNER))
            continue;
        GetWindowTextA(w, title, sizeof title);
        titles.push_back(title);
    }
    printf("%d\n", (int)titles.size());
    for (const std::string &t : titles)
        printf("%s\n", t.c_str());
    return 0;
}

// A message box: its text (line breaks as "|"), its rectangle; then OK.
HWND findClass(HWND parent, const char *cls)
{
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = "";
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, cls) == 0)
            return child;
        if (HWND inner = findClass(child, cls))
            return inner;
    }
    return nullptr;
}

int childTexts(HWND frame, const char *cls)
{
    HWND window = findClass(frame, cls);
    if (!window) {
        fprintf(stderr, "no window of the class %s\n", cls);
        return 1;
    }
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        char name[64] = "", text[256] = "";
        GetClassNameA(child, name, sizeof name);
        GetWindowTextA(child, text, sizeof text);
        printf("%s\t%s\n", name, text);
    }
    return 0;
}

// Waits for a dialog of the frame and prints its caption; null (and a
// message) when none appears.
HWND captionedDialog(HWND frame)
{
    HWND dialog = waitDialog(frame, 100);
    if (!dialog) {
        fprintf(stderr, "no dialog appeared\n");
        return nullptr;
    }
    char caption[256] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    printf("%s\n", caption);
    return dialog;
}

// Presses the dialog's button as a click would and waits for the dialog to
// close; 1 (its texts printed) when it stays.
int closeWith(HWND frame, HWND dialog, int button)
{
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
    for (int i = 0; i < 100 && IsWindow(dialog); ++i)
        Sleep(100);
    if (IsWindow(dialog)) {
        printTexts(dialog);
        fprintf(stderr, "the dialog did not close on %s\n", button == IDOK ? "OK" : "Cancel");
        return 1;
    }
    settle(frame);
    return 0;
}

int answerDialog(HWND frame, int count, char **ids)
{
    HWND dialog = captionedDialog(frame);
    if (!dialog)
        return 1;
    for (int i = 0; i < count; ++i) {
        // A control of the dialog, or of a page inside it (a property sheet).
        const char *step = ids[i];
        const bool leaveOpen = step[0] == '+';
        const int id = atoi(step + (leaveOpen ? 1 : 0));
        HWND control = GetDlgItem(dialog, id);
        if (!control)
            control = findControl(dialog, id, false);
        if (!control) {
            fprintf(stderr, "the dialog has no control %s\n", step);
            return 1;
        }
        const char *text = strchr(step, '=');
        if (!text) {
            if (leaveOpen) {
                PostMessageA(control, BM_CLICK, 0, 0);
                return 0;
            }
            SendMessageA(control, BM_CLICK, 0, 0);
            continue;
        }
        char kind[32] = "";
        GetClassNameA(control, kind, sizeof kind);
        if (lstrcmpiA(kind, "ComboBox") != 0) {
            // WM_SETTEXT makes the edit send its change notice, as typing does.
            SendMessageA(control, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text + 1));
            continue;
        }
        // "ID=TEXT" on a combo box: the entry with that text chosen as a
        // user would, its owner told. The text crosses into the program's
        // process as wide text.
        std::vector<WCHAR> wide(strlen(text + 1) + 1, 0);
        MultiByteToWideChar(CP_ACP, 0, text + 1, -1, wide.data(), (int)wide.size());
        const LRESULT item =
            SendMessageW(control, CB_FINDSTRINGEXACT, (WPARAM)-1, (LPARAM)wide.data());
        if (item == CB_ERR) {
            fprintf(stderr, "control %d has no entry \"%s\"\n", id, text + 1);
            return 1;
        }
        SendMessageA(control, CB_SETCURSEL, (WPARAM)item, 0);
        SendMessageA(GetParent(control), WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE),
                     (LPARAM)control);
    }
    return closeWith(frame, dialog, IDOK);
}

int fillFields(HWND frame, int count, char **pairs)
{
    HWND dialog = captionedDialog(frame);
    if (!dialog)
        return 1;
    for (int i = 0; i + 1 < count; i += 2) {
        const int id = atoi(pairs[i]);
        HWND field = GetDlgItem(dialog, id);
        if (!field) {
            fprintf(stderr, "the dialog has no control %s\n", pairs[i]);
            return 1;
        }
        char cls[32] = "";
        GetClassNameA(field, cls, sizeof cls);
        if (lstrcmpiA(cls, "ComboBox") == 0 &&
            (GetWindowLongA(field, GWL_STYLE) & 3) == CBS_DROPDOWNLIST) {
            SendMessageA(field, CB_SETCURSEL, (WPARAM)atoi(pairs[i + 1]), 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, CBN_SELCHANGE), (LPARAM)field);
        } else {
            SendMessageA(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(pairs[i + 1]));
        }
    }
    settle(frame);
    return 0;
}

int listLines(HWND frame, int id, int choose)
{
    HWND dialog = captionedDialog(frame);
    if (!dialog)
        return 1;
    HWND list = GetDlgItem(dialog, id);
    if (!list) {
        fprintf(stderr, "the dialog has no list %d\n", id);
        return 1;
    }
    const int n = (int)SendMessageA(list, LB_GETCOUNT, 0, 0);
    // The items are read in UTF-16: the list box belongs to the program's
    // process, and a text crossing between processes comes as wide text.
    for (int i = 0; i < n; ++i) {
        std::vector<WCHAR> wide((size_t)SendMessageW(list, LB_GETTEXTLEN, i, 0) + 1, 0);
        SendMessageW(list, LB_GETTEXT, i, (LPARAM)wide.data());
        char item[1024] = "";
        WideCharToMultiByte(CP_ACP, 0, wide.data(), -1, item, sizeof item, nullptr, nullptr);
        printf("%s\n", item);
    }
    if (choose < 0 || choose >= n)
        return closeWith(frame, dialog, IDCANCEL);
    SendMessageA(list, LB_SETCURSEL, choose, 0);
    return closeWith(frame, dialog, IDOK);
}

int answerBox(HWND frame)
{
    HWND box = waitDialog(frame, 300);
    if (!box) {
        fprintf(stderr, "no message box appeared\n");
        return 1;
    }
    char text[2048] = "";
    GetDlgItemTextA(box, 0xFFFF, text, sizeof text);
    std::string line;
    for (const char *p = text; *p; ++p) {
        if (*p == '\n')
            line += '|';
        else if (*p != '\r')
            line += *p;
    }
    RECT r;
    GetWindowRect(box, &r);
    printf("%s\n%ld %ld %ld %ld\n", line.c_str(), (long)r.left, (long)r.top, (long)r.right,
           (long)r.bottom);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    for (int i = 0; i < 100 && IsWindow(box); ++i)
        Sleep(100);
    return IsWindow(box) ? 1 : 0;
}

// ---- the menu walk ----------------------------------------------------------------------------
//
// The table (tests/e2e/menu_walk_table.txt) has one row per command id of the
// program's menus, pop-up menus and tool bars:
//   ID | OWNER | CONTEXTS | EFFECT | PATH
// OWNER is the window the id goes to: "frame" (the frame's menus, the
// workspace's pop-up menus and the tool bars, all routed through the
// frame), "strip" and "color2" (the colour palette's windows) or "palman"
// (the Palette Manager dialog). CONTEXTS are the states in which the command
// has something to do, the first the one it is walked in; in every other
// state its item in the frame's menu must be greyed. EFFECT is what a user
// sees; "pending N" names what the command waits for.

const char kProbeMessage[] = "QuillmarkDrawProbe";
enum {
    PR_PING = 0, PR_LAST_PING, PR_MODE, PR_OBJECTS, PR_TYPE, PR_PAGES, PR_PAGE, PR_ZOOM,
    PR_FLAGS, PR_FILL, PR_OBJECT_SIGN, PR_PAGE_SIGN, PR_VIEW_SIGN, PR_FORM_SIGN, PR_FRAME_SIGN,
    PR_SETUP_SIGN, PR_DOCUMENTS, PR_MODIFIED, PR_MENU, PR_MENU_LANGUAGE, PR_BASE_PAGE,
    PR_EDIT_SIGN, PR_PALETTE_SIGN, PR_UNDO, PR_HANDED,
};

UINT probeMessage()
{
    static UINT message = RegisterWindowMessageA(kProbeMessage);
    return message;
}

long long probe(HWND frame, int query, LPARAM arg = 0)
{
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(frame, probeMessage(), (WPARAM)query, arg, SMTO_NORMAL, 20000,
                             &result))
        return -99999;
    return (long long)(LRESULT)result;
}

// Waits until the frame's thread has taken everything posted before: a
// ping posted behind them comes back once the thread has reached it (also
// from inside a modal loop that a command started).
bool syncFrame(HWND frame)
{
    static LPARAM ping = 0x5000;
    const LPARAM n = ++ping;
    PostMessageA(frame, probeMessage(), PR_PING, n);
    for (int i = 0; i < 4000; ++i) {
        if (!IsWindow(frame))
            return false;
        if (probe(frame, PR_LAST_PING) == n)
            return true;
        Sleep(5);
    }
    return false;
}

std::string trim(const std::string &s)
{
    size_t a = s.find_first_not_of(" \t\r\n"), b = s.find_last_not_of(" \t\r\n");
    return a == std::string::npos ? std::string() : s.substr(a, b - a + 1);
}

std::vector<std::string> split(const std::string &s, char sep)
{
    std::vector<std::string> out;
    size_t start = 0;
    for (;;) {
        size_t at = s.find(sep, start);
        out.push_back(trim(s.substr(start, at == std::string::npos ? std::string::npos : at - start)));
        if (at == std::string::npos)
            return out;
        start = at + 1;
    }
}

struct WalkRow {
    int id;
    std::string owner;
    std::vector<std::string> contexts;
    std::string effect;
    std::string path;
    int line;
    bool pending() const { return effect.compare(0, 8, "pending ") == 0; }
    bool enabledIn(const std::string &context) const
    {
        if (pending())
            return false;
        for (const std::string &c : contexts)
            if (c == context)
                return true;
        return false;
    }
};

bool readTable(const char *path, std::vector<WalkRow> *rows)
{
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "cannot read %s\n", path);
        return false;
    }
    std::string text;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(f, buffer, sizeof buffer, &got, nullptr) && got)
        text.append(buffer, got);
    CloseHandle(f);
    int line = 0;
    bool ok = true;
    for (const std::string &raw : split(text, '\n')) {
        ++line;
        const std::string l = trim(raw);
        if (l.empty() || l[0] == '#')
            continue;
        std::vector<std::string> f5 = split(l, '|');
        if (f5.size() != 5 || atoi(f5[0].c_str()) <= 0 || f5[2].empty() || f5[3].empty()) {
            fprintf(stderr, "table line %d is not ID | OWNER | CONTEXTS | EFFECT | PATH\n", line);
            ok = false;
            continue;
        }
        // Names for groups of states: "picked" an object selected in select
        // mode, "select" select mode whatever is selected, "docs" any state
        // with a document, "all" any state at all.
        std::vector<std::string> contexts;
        for (const std::string &c : split(f5[2], ',')) {
            static const struct {
                const char *name, *states;
            } kGroups[] = {
                {"picked", "one,text,chain,undo"},
                {"select", "doc,one,text,chain,undo,page2"},
                {"docs", "doc,one,text,chain,undo,page2,editing,editsel"},
                {"all", "doc,one,text,chain,undo,page2,editing,editsel,none"},
            };
            bool group = false;
            for (const auto &g : kGroups)
                if (c == g.name) {
                    for (const std::string &state : split(g.states, ','))
                        contexts.push_back(state);
                    group = true;
                }
            if (!group)
                contexts.push_back(c);
        }
        WalkRow r = {atoi(f5[0].c_str()), f5[1], contexts, f5[3], f5[4], line};
        rows->push_back(r);
    }
    return ok;
}

// ---- the ids of the resources and the tool bars

void addMenuIds(HMENU menu, std::vector<int> *ids)
{
    const int n = GetMenuItemCount(menu);
    for (int i = 0; i < n; ++i) {
        if (HMENU sub = GetSubMenu(menu, i))
            addMenuIds(sub, ids);
        else if (UINT id = GetMenuItemID(menu, i); id != 0 && id != (UINT)-1)
            ids->push_back((int)id);
    }
}

std::vector<int> menuIds(const char *name)
{
    std::vector<int> ids;
    if (HMENU menu = LoadMenuA(GetModuleHandleA(nullptr), name)) {
        addMenuIds(menu, &ids);
        DestroyMenu(menu);
    }
    std::sort(ids.begin(), ids.end());
    ids.erase(std::unique(ids.begin(), ids.end()), ids.end());
    return ids;
}

struct ToolTable {
    const ToolButton *buttons;
    const int16_t *count;
    const char *owner;
};
const ToolTable kToolTables[] = {
    {tbTextFlowTable, &tbTextFlowCount, "frame"},
    {tbDrawToolTable, &tbDrawToolCount, "frame"},
    {tbCommandTable, &tbCommandCount, "frame"},
    {tbCommandNarrowTable, &tbCommandNarrowCount, "frame"},
    {tbModeToolTable, &tbModeToolCount, "frame"},
    {tbMoveSizeTable, &tbMoveSizeCount, "frame"},
    {tbMoreObjectsTable, &tbMoreObjectsCount, "frame"},
    {tbColorTargetTable, &tbColorTargetCount, "color2"},
    {tbNodeLineTable, &tbNodeLineCount, "frame"},
    {tbNodePolylineTable, &tbNodePolylineCount, "frame"},
    {tbNodePolygonTable, &tbNodePolygonCount, "frame"},
    {tbNodeHVPolylineTable, &tbNodeHVPolylineCount, "frame"},
    {tbNodeBezierTable, &tbNodeBezierCount, "frame"},
    {tbNodeClosedTable, &tbNodeClosedCount, "frame"},
};

// The button of a tool bar with the command (null when none).
const ToolButton *toolButton(int id)
{
    for (const ToolTable &t : kToolTables)
        for (int i = 0; i < *t.count; ++i)
            if (t.buttons[i].command == id)
                return &t.buttons[i];
    return nullptr;
}

// Every (owner, id) of the menus, the pop-up tables and the tool bars.
std::set<std::pair<std::string, int>> resourceIds(bool *variantsAgree)
{
    std::set<std::pair<std::string, int>> all;
    static const struct {
        const char *menu, *owner, *variants[4];
    } kMenus[] = {
        {"ridevi", "frame", {"QM_TAIWAN", "QM_CHINESE_SIMPLIFIED", "QM_JAPANESE", "QM_KOREAN"}},
        {"r_click", "frame", {"r_click_Taiwan"}},
        {"UTIL_MENU", "frame", {"UTIL_MENU_TAIWAN"}},
        {"BASEPAGE", "frame", {"BASEPAGE_Taiwan"}},
        {"R_CLICK_BL", "frame", {"R_CLICK_BL_TAIWAN"}},
        {"CLR_TARGET_MENU", "strip", {}},
        {"CLR_STRIP_MENU", "strip", {}},
        {"CLR_COLOR2_MENU", "color2", {}},
        {"PAL_MAN", "palman", {}},
    };
    *variantsAgree = true;
    for (const auto &m : kMenus) {
        const std::vector<int> ids = menuIds(m.menu);
        if (ids.empty()) {
            fprintf(stderr, "the menu %s is not in the resources\n", m.menu);
            *variantsAgree = false;
        }
        for (int id : ids)
            all.insert({m.owner, id});
        for (const char *variant : m.variants)
            if (variant && menuIds(variant) != ids) {
                fprintf(stderr, "the menu %s holds other ids than %s\n", variant, m.menu);
                *variantsAgree = false;
            }
    }
    for (const ToolTable &t : kToolTables)
        for (int i = 0; i < *t.count; ++i) {
            if (t.buttons[i].command)
                all.insert({t.owner, t.buttons[i].command});
            if (t.buttons[i].command2)
                all.insert({t.owner, t.buttons[i].command2});
        }
    for (int table = 0; table < POP_TABLE_COUNT; ++table) {
        uint16_t ids[32];
        const int n = popTableIds(table, ids, 32);
        for (int i = 0; i < n && i < 32; ++i)
            all.insert({"frame", ids[i]});
    }
    return all;
}

// The table against the resources: every id there once, and nothing else.
int checkCoverage(const std::vector<WalkRow> &rows)
{
    bool agree = true;
    const auto all = resourceIds(&agree);
    int faults = agree ? 0 : 1;
    std::set<std::pair<std::string, int>> seen;
    for (const WalkRow &r : rows) {
        if (!seen.insert({r.owner, r.id}).second) {
            fprintf(stderr, "line %d: %s %d has a second row\n", r.line, r.owner.c_str(), r.id);
            ++faults;
        }
        // A frame command that no menu or tool bar holds (the program
        // posts it itself, or another program does) is named so in PATH.
        if (!all.count({r.owner, r.id}) && r.path.compare(0, 14, "Frame command ") != 0) {
            fprintf(stderr, "line %d: %s %d is in no menu or tool bar\n", r.line, r.owner.c_str(),
                    r.id);
            ++faults;
        }
    }
    for (const auto &k : all)
        if (!seen.count(k)) {
            fprintf(stderr, "%s %d (in the resources) has no row\n", k.first.c_str(), k.second);
            ++faults;
        }
    printf("coverage: %zu ids in the menus and tool bars, %zu rows\n", all.size(), rows.size());
    return faults;
}

// ---- what a command shows

struct Snapshot {
    long long v[PR_HANDED + 1];
    DWORD clipboard;
    FILETIME written;
    bool alive;
};

Snapshot snap(HWND frame, const std::string &doc)
{
    Snapshot s = {};
    s.alive = IsWindow(frame) != 0;
    for (int q = PR_MODE; q <= PR_HANDED; ++q)
        s.v[q] = q == PR_MENU || !s.alive ? 0 : probe(frame, q);
    s.clipboard = GetClipboardSequenceNumber();
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (GetFileAttributesExA(doc.c_str(), GetFileExInfoStandard, &data))
        s.written = data.ftLastWriteTime;
    return s;
}

struct Seen {
    std::string cls, caption, texts;
};

struct WindowList {
    DWORD thread;
    std::vector<HWND> found;
};

BOOL CALLBACK collectVisible(HWND w, LPARAM data)
{
    if (IsWindowVisible(w))
        reinterpret_cast<WindowList *>(data)->found.push_back(w);
    return TRUE;
}

std::vector<HWND> visibleWindows(DWORD thread)
{
    WindowList list = {thread, {}};
    EnumThreadWindows(thread, collectVisible, reinterpret_cast<LPARAM>(&list));
    return list.found;
}

std::string windowText(HWND w)
{
    char text[1024] = "";
    GetWindowTextA(w, text, sizeof text);
    return text;
}

std::string childTextsOf(HWND w)
{
    std::string all;
    for (HWND c = GetWindow(w, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
        char cls[32] = "";
        GetClassNameA(c, cls, sizeof cls);
        if (lstrcmpiA(cls, "Static") != 0)
            continue;
        const std::string t = windowText(c);
        if (!t.empty())
            all += (all.empty() ? "" : " / ") + t;
    }
    for (char &ch : all)
        if (ch == '\r' || ch == '\n')
            ch = ' ';
    return all;
}

bool waitGone(HWND w, int tenths)
{
    for (int i = 0; i < tenths * 4; ++i) {
        if (!IsWindow(w) || !IsWindowVisible(w))
            return true;
        Sleep(25);
    }
    return false;
}

// Closes a window the command opened, as a user would: Cancel in a dialog
// (or No, or OK when that is all it has), Escape in a pop-up menu, the close
// box of any other window.
void closeWindow(HWND frame, HWND w, const std::string &cls)
{
    if (cls == "#32768") {
        PostMessageA(w, WM_KEYDOWN, VK_ESCAPE, 0);
        if (!waitGone(w, 10)) {
            PostMessageA(frame, WM_CANCELMODE, 0, 0);
            waitGone(w, 30);
        }
        return;
    }
    if (cls == "#32770") {
        if (findClass(w, "SysTabControl32")) {
            PostMessageA(w, PSM_PRESSBUTTON, PSBTN_CANCEL, 0);
            if (waitGone(w, 50))
                return;
        }
        for (int id : {IDCANCEL, IDNO, IDOK}) {
            if (id != IDCANCEL && !GetDlgItem(w, id))
                continue;
            PostMessageA(w, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), (LPARAM)GetDlgItem(w, id));
            if (waitGone(w, 30))
                return;
        }
    }
    PostMessageA(w, WM_CLOSE, 0, 0);
    waitGone(w, 50);
}

HWND newWindow(HWND frame, DWORD thread, const std::vector<HWND> &before)
{
    for (HWND w : visibleWindows(thread))
        if (std::find(before.begin(), before.end(), w) == before.end() && w != frame)
            return w;
    return nullptr;
}

// After a command: every window it opened, in turn, recorded and closed.
// When a window is what the command is to show, it is waited for (a file
// dialog may be built after the frame's thread has taken the ping).
std::vector<Seen> closeOpened(HWND frame, DWORD thread, const std::vector<HWND> &before,
                              bool awaitWindow = false)
{
    std::vector<Seen> seen;
    for (int round = 0; round < 8 && IsWindow(frame); ++round) {
        syncFrame(frame);
        syncFrame(frame);
        HWND opened = newWindow(frame, thread, before);
        for (int i = 0; !opened && awaitWindow && seen.empty() && i < 750 && IsWindow(frame); ++i) {
            Sleep(20);
            opened = newWindow(frame, thread, before);
        }
        if (!opened)
            break;
        char cls[64] = "";
        GetClassNameA(opened, cls, sizeof cls);
        seen.push_back({cls, windowText(opened), childTextsOf(opened)});
        closeWindow(frame, opened, cls);
    }
    return seen;
}

std::string quoted(const std::string &s)
{
    size_t a = s.find('"'), b = s.rfind('"');
    return a != std::string::npos && b > a ? s.substr(a + 1, b - a - 1) : std::string();
}

// What a fingerprint or counter of the probe changing is called: the first
// six are effects of their own.
const struct {
    const char *name;
    int query;
} kChanges[] = {
    {"view", PR_VIEW_SIGN},     {"document", PR_FORM_SIGN}, {"frame", PR_FRAME_SIGN},
    {"setup", PR_SETUP_SIGN},   {"edit", PR_EDIT_SIGN},     {"palette", PR_PALETTE_SIGN},
    {"object", PR_OBJECT_SIGN}, {"order", PR_PAGE_SIGN},    {"undo", PR_UNDO},
    {"handed", PR_HANDED},
};

// The probe query of an effect that is a change of it alone; 0 for others.
int changeQuery(const std::string &kind)
{
    for (int i = 0; i < 6; ++i)
        if (kind == kChanges[i].name)
            return kChanges[i].query;
    return 0;
}

// Whether the effect happened; a description of what was seen otherwise.
bool effectHappened(const std::string &effect, const Snapshot &a, const Snapshot &b,
                    const std::vector<Seen> &seen, std::string *why)
{
    for (const std::string &item : split(effect, ';')) {
        std::vector<std::string> w = split(item, ' ');
        const std::string &kind = w[0];
        // What the command will do elsewhere once it is built is not walked.
        if (item.find("pending ") != std::string::npos)
            continue;
        const std::string arg = w.size() > 1 ? w[1] : "";
        const long long n = atoll(arg.c_str());
        bool ok = false;
        auto changed = [&](int q) { return a.v[q] != b.v[q]; };
        if (kind == "dialog" || kind == "window") {
            const std::string want = quoted(item);
            for (const Seen &s : seen)
                ok = ok || (s.caption == want &&
                            ((kind == "dialog") == (s.cls == "#32770")));
        } else if (kind == "message") {
            const std::string want = quoted(item);
            for (const Seen &s : seen)
                ok = ok || (s.cls == "#32770" && s.texts.find(want) != std::string::npos);
        } else if (kind == "ends") {
            for (const Seen &s : seen)
                ok = ok || s.cls == "ended";
        } else if (kind == "popup") {
            for (const Seen &s : seen)
                ok = ok || s.cls == "#32768";
        } else if (kind == "mode") {
            ok = b.v[PR_MODE] == n;
        } else if (kind == "objects") {
            ok = b.v[PR_OBJECTS] - a.v[PR_OBJECTS] == n;
        } else if (kind == "pages") {
            ok = b.v[PR_PAGES] - a.v[PR_PAGES] == n;
        } else if (kind == "page") {
            ok = b.v[PR_PAGE] == n && changed(PR_PAGE);
        } else if (kind == "zoom") {
            ok = b.v[PR_ZOOM] == n && changed(PR_ZOOM);
        } else if (kind == "type") {
            ok = b.v[PR_TYPE] == n && (changed(PR_TYPE) || changed(PR_OBJECT_SIGN));
        } else if (kind == "flag") {
            ok = ((a.v[PR_FLAGS] ^ b.v[PR_FLAGS]) & strtoll(arg.c_str(), nullptr, 16)) != 0;
        } else if (kind == "fill") {
            ok = b.v[PR_FILL] == n && changed(PR_OBJECT_SIGN);
        } else if (kind == "object") {
            ok = changed(PR_OBJECT_SIGN) && a.v[PR_TYPE] == b.v[PR_TYPE];
        } else if (kind == "order") {
            ok = changed(PR_PAGE_SIGN) && a.v[PR_OBJECTS] == b.v[PR_OBJECTS];
        } else if (kind == "selects") {
            ok = changed(PR_OBJECT_SIGN) && !changed(PR_PAGE_SIGN);
        } else if (int query = changeQuery(kind)) {
            ok = changed(query);
        } else if (kind == "undo") {
            ok = b.v[PR_UNDO] && (changed(PR_OBJECT_SIGN) || changed(PR_PAGE_SIGN) ||
                                  changed(PR_FORM_SIGN));
        } else if (kind == "handed") {
            ok = b.v[PR_HANDED] > a.v[PR_HANDED];
        } else if (kind == "docs") {
            ok = b.v[PR_DOCUMENTS] == n;
        } else if (kind == "language") {
            ok = b.v[PR_MENU_LANGUAGE] == n;
        } else if (kind == "clipboard") {
            ok = a.clipboard != b.clipboard;
        } else if (kind == "saved") {
            ok = CompareFileTime(&a.written, &b.written) != 0;
        } else if (kind == "closes") {
            ok = !b.alive;
        } else if (kind != "?") {   // "?": not known yet; what was seen is printed
            *why = "unknown effect \"" + kind + "\"";
            return false;
        }
        if (!ok) {
            char text[512];
            snprintf(text, sizeof text,
                     "mode %lld->%lld objects %lld->%lld type %lld->%lld pages %lld->%lld page "
                     "%lld->%lld zoom %lld->%lld docs %lld->%lld",
                     a.v[PR_MODE], b.v[PR_MODE], a.v[PR_OBJECTS], b.v[PR_OBJECTS], a.v[PR_TYPE],
                     b.v[PR_TYPE], a.v[PR_PAGES], b.v[PR_PAGES], a.v[PR_PAGE], b.v[PR_PAGE],
                     a.v[PR_ZOOM], b.v[PR_ZOOM], a.v[PR_DOCUMENTS], b.v[PR_DOCUMENTS]);
            *why = text;
            for (const auto &c : kChanges)
                if (a.v[c.query] != b.v[c.query])
                    *why += std::string(" ") + c.name + " changed";
            if (a.clipboard != b.clipboard)
                *why += " clipboard changed";
            if (CompareFileTime(&a.written, &b.written) != 0)
                *why += " file written";
            for (const Seen &s : seen)
                *why += " [" + s.cls + " \"" + s.caption + "\" " + s.texts + "]";
            if (seen.empty())
                *why += " (no window)";
            return false;
        }
    }
    return true;
}

// ---- the states a command is walked in

struct Walker {
    HWND frame;
    DWORD thread;
    std::string doc;   // the walked document, a Windows path
    std::string context;
    int faults = 0;

    void post(int id, LPARAM lParam = 0)
    {
        PostMessageA(frame, WM_COMMAND, (WPARAM)(uint16_t)id, lParam);
        syncFrame(frame);
    }
    long long q(int query, LPARAM arg = 0) { return probe(frame, query, arg); }
    bool fail(const char *what)
    {
        fprintf(stderr, "FAILED: context %s: %s\n", context.c_str(), what);
        ++faults;
        return false;
    }
    bool openDocument()
    {
        if (q(PR_DOCUMENTS) > 0)
            return true;
        if (openFile(frame, doc.c_str()) != 0)
            return fail("the walked document did not open");
        syncFrame(frame);
        return q(PR_DOCUMENTS) == 1 || fail("no document window after File > Open");
    }
    HWND documentWindow()
    {
        HWND client = FindWindowExA(frame, nullptr, "MDIClient", nullptr);
        return client ? FindWindowExA(client, nullptr, "xqmdoc", nullptr) : nullptr;
    }
    // The document as it is in its file, select mode, nothing selected.
    bool freshDocument()
    {
        if (HWND doc = documentWindow()) {
            if (IsIconic(doc)) {
                PostMessageA(doc, WM_SYSCOMMAND, SC_RESTORE, 0);
                syncFrame(frame);
            }
        }
        // Windows a command opened and left (a second document) go first.
        while (q(PR_DOCUMENTS) > 1) {
            const long long before = q(PR_DOCUMENTS);
            post(143);
            post(110);
            closeOpened(frame, thread, {});
            if (q(PR_DOCUMENTS) >= before)
                return fail("a second document window does not close");
        }
        if (!openDocument())
            return false;
        if (q(PR_MODE) != 2 || q(PR_MODIFIED) || q(PR_PAGE) != 0 || q(PR_TYPE) != 0 ||
            q(PR_OBJECTS) != 4 || q(PR_PAGES) != 2) {
            post(400);
            post(143);
            post(400);
        }
        if (q(PR_OBJECTS) != 4 || q(PR_PAGES) != 2 || q(PR_MODIFIED))
            return fail("the walked document did not come back from its file");
        if (q(PR_ZOOM) != zoom) {
            post(zoomCommand);
            if (q(PR_ZOOM) != zoom)
                return fail("the zoom did not come back");
        }
        return true;
    }
    long long zoom = 0;
    int zoomCommand = 185;
    bool selectNth(int n, int type)
    {
        post(560);
        for (int i = 0; i < n; ++i)
            post(409);
        return q(PR_TYPE) == type || fail("the object to select is not there");
    }
    bool enter(const std::string &name)
    {
        context = name;
        if (q(PR_MENU_LANGUAGE) != 1)
            post(1919);
        if (name == "none") {
            if (q(PR_DOCUMENTS) > 0 && !freshDocument())
                return false;
            post(138);
            closeOpened(frame, thread, {});
            return q(PR_DOCUMENTS) == 0 || fail("the documents did not close");
        }
        if (!freshDocument())
            return false;
        if (name == "doc")
            return true;
        if (name == "one")
            return selectNth(2, 7);
        if (name == "text")
            return selectNth(0, 40);
        if (name == "chain") {
            post(215);
            return q(PR_TYPE) == 84 || fail("Select All made no chain");
        }
        if (name == "editing" || name == "editsel") {
            if (!selectNth(0, 40))
                return false;
            post(700);
            if (q(PR_MODE) != 20)
                return fail("the text is not being edited");
            if (name == "editsel") {
                const long long before = q(PR_MENU, 202);
                post(215);
                if (before & 1 || !(q(PR_MENU, 202) & 1))
                    return fail("Select All in the text selected nothing");
            }
            return true;
        }
        if (name == "undo") {
            if (!selectNth(2, 7))
                return false;
            post(760);
            return (q(PR_MENU, 200) & 1) || fail("moving the rectangle left no undo step");
        }
        if (name == "page2") {
            post(618);
            return q(PR_PAGE) == 1 || fail("the second page is not shown");
        }
        // States only walked in, never checked against the menu: the view
        // at 400 %; the document when no fax output is set up; its window
        // minimised, the icon moved off its place; the two rectangles of
        // page 2 selected together; the first of them (hollow) alone.
        if (name == "zoomed") {
            post(181);
            return q(PR_ZOOM) == 400 || fail("the view is not at 400 %");
        }
        if (name == "nofax")
            return true;
        if (name == "hollow") {
            post(618);
            return selectNth(0, 7);
        }
        if (name == "pair") {
            post(618);
            post(215);
            return q(PR_TYPE) == 84 || fail("Select All on page 2 made no chain of two");
        }
        if (name == "iconic") {
            HWND doc = documentWindow();
            PostMessageA(doc, WM_SYSCOMMAND, SC_MINIMIZE, 0);
            syncFrame(frame);
            if (!IsIconic(doc))
                return fail("the document window is not minimised");
            SetWindowPos(doc, nullptr, 300, 200, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            syncFrame(frame);
            return true;
        }
        return fail("no such context");
    }
};

// The window a row's id goes to.
HWND ownerWindow(Walker &w, const WalkRow &row)
{
    if (row.owner == "frame")
        return w.frame;
    const char *cls = row.owner == "strip" ? "qm_clrmenu" : "qm_color2";
    if (row.owner == "palman") {
        for (HWND v : visibleWindows(w.thread)) {
            if (windowText(v).compare(0, 15, "Palette Manager") == 0)
                return v;
        }
        return nullptr;
    }
    HWND found = findClass(w.frame, cls);
    if (!found)
        found = FindWindowA(cls, nullptr);
    return found;
}

// The palette contexts: the colour strip in the frame, the second colour
// style's window, and the Palette Manager open over it.
bool enterPalette(Walker &w, const std::string &owner)
{
    w.context = owner;
    const bool second = FindWindowA("qm_color2", nullptr) || findClass(w.frame, "qm_color2");
    if (owner == "strip") {
        if (second)
            w.post(25);
        return findClass(w.frame, "qm_clrmenu") || FindWindowA("qm_clrmenu", nullptr) ||
               w.fail("no colour strip");
    }
    if (!second)
        w.post(25);
    if (!(FindWindowA("qm_color2", nullptr) || findClass(w.frame, "qm_color2")))
        return w.fail("no window of the second colour style");
    if (owner == "palman") {
        WalkRow probeRow = {0, "palman", {}, "", "", 0};
        if (!ownerWindow(w, probeRow)) {
            PostMessageA(w.frame, WM_COMMAND, 620, 0);
            syncFrame(w.frame);
        }
        return ownerWindow(w, probeRow) || w.fail("the Palette Manager did not open");
    }
    return true;
}

// The frame menu's items in the present state: greyed exactly where the
// table says the command has nothing to do.
void checkMenuStates(Walker &w, const std::vector<WalkRow> &rows)
{
    int checked = 0;
    for (const WalkRow &r : rows) {
        if (r.owner != "frame")
            continue;
        const long long state = w.q(PR_MENU, r.id);
        if (state < 0)
            continue;
        ++checked;
        const bool enabled = (state & 1) != 0, want = r.enabledIn(w.context);
        if (enabled != want) {
            fprintf(stderr, "FAILED: context %s: %d (%s) is %s in the menu; its row says %s\n",
                    w.context.c_str(), r.id, r.path.c_str(), enabled ? "enabled" : "greyed",
                    want ? "it acts here" : (r.pending() ? r.effect.c_str() : "another context"));
            ++w.faults;
        }
    }
    printf("context %s: %d menu items agree with the table\n", w.context.c_str(), checked);
}

LPARAM lParamOf(HWND frame, const WalkRow &row)
{
    if (row.owner != "frame")
        return 0;
    const ToolButton *b = toolButton(row.id);
    if (!b)
        return 0;
    if (b->kind & TBK_AT_PRESS) {
        // A button that opens its menu at the pressed point.
        RECT r;
        GetWindowRect(frame, &r);
        return MAKELPARAM((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    }
    return (LPARAM)(uint16_t)b->objType;
}

bool walkRow(Walker &w, const WalkRow &row)
{
    const DWORD began = GetTickCount();
    HWND target = ownerWindow(w, row);
    if (!target)
        return w.fail(("no window for the owner " + row.owner).c_str());
    const std::vector<HWND> before = visibleWindows(w.thread);
    const Snapshot a = snap(w.frame, w.doc);
    PostMessageA(target, WM_COMMAND, (WPARAM)(uint16_t)row.id, lParamOf(w.frame, row));
    const bool awaitWindow = !row.pending() && (row.effect.find("dialog") == 0 ||
                                                 row.effect.find("message") == 0 ||
                                                 row.effect.find("window") == 0 ||
                                                 row.effect.find("popup") == 0);
    std::vector<Seen> seen = closeOpened(w.frame, w.thread, before, awaitWindow);
    // A command that closes the window it went to (the Palette Manager's
    // Close) ends it.
    if (target != w.frame && (!IsWindow(target) || !IsWindowVisible(target)))
        seen.push_back({"ended", "", ""});
    if (IsWindow(w.frame))
        syncFrame(w.frame);
    const Snapshot b = snap(w.frame, w.doc);
    std::string why;
    if (row.pending()) {
        // A waiting command does nothing, and leaves no window open.
        printf("  %-5d %-8s %-34s %s (%lu ms)\n", row.id, w.context.c_str(), row.effect.c_str(),
               row.path.c_str(), (unsigned long)(GetTickCount() - began));
        if (!b.alive)
            return w.fail("the program ended");
        return true;
    }
    const bool ok = effectHappened(row.effect, a, b, seen, &why);
    printf("%s %-5d %-8s %-34s %s (%lu ms)\n", ok ? "  " : "! ", row.id, w.context.c_str(),
           row.effect.c_str(), row.path.c_str(), (unsigned long)(GetTickCount() - began));
    if (!ok) {
        fprintf(stderr, "FAILED: %d (%s, line %d) in %s: not \"%s\": %s\n", row.id,
                row.path.c_str(), row.line, w.context.c_str(), row.effect.c_str(), why.c_str());
        ++w.faults;
    }
    return ok;
}

// Whether the id is in a comma-separated list.
bool listedIn(const char *list, int id)
{
    for (const std::string &item : split(list, ','))
        if (atoi(item.c_str()) == id)
            return true;
    return false;
}

int walkMenus(HWND frame, const char *tablePath, const char *docPath, const char *only)
{
    std::vector<WalkRow> rows;
    if (!readTable(tablePath, &rows))
        return 1;
    if (checkCoverage(rows) != 0)
        return 1;
    Walker w = {frame, GetWindowThreadProcessId(frame, nullptr), docPath, ""};
    w.zoom = probe(frame, PR_ZOOM);
    // An object on the clipboard, so that Paste has something to paste.
    w.enter("one");
    w.post(202);
    static const char *kOrder[] = {"doc",    "one",    "text",   "chain",  "undo",
                                   "page2",  "editing", "editsel", "zoomed", "nofax",
                                   "iconic", "pair", "hollow", "strip",  "color2", "palman", "none"};
    int walked = 0, pending = 0;
    DWORD started = GetTickCount();
    for (const char *context : kOrder) {
        printf("context %s from %.1f s\n", context, (GetTickCount() - started) / 1000.0);
        const bool palette = !strcmp(context, "strip") || !strcmp(context, "color2") ||
                             !strcmp(context, "palman");
        const bool walkOnly = palette || !strcmp(context, "zoomed") ||
                              !strcmp(context, "nofax") || !strcmp(context, "iconic") ||
                              !strcmp(context, "pair") || !strcmp(context, "hollow");
        if (!walkOnly && !only) {
            if (!w.enter(context))
                continue;
            checkMenuStates(w, rows);
        }
        for (const WalkRow &row : rows) {
            if (row.contexts[0] != context || row.id == 109 || (only && !listedIn(only, row.id)))
                continue;
            if (palette ? !enterPalette(w, row.owner) : !w.enter(context))
                continue;
            walkRow(w, row);
            ++walked;
            pending += row.pending();
        }
        // The Palette Manager runs inside the frame's command: it is closed
        // before the states with documents come back.
        if (!strcmp(context, "palman")) {
            WalkRow manager = {0, "palman", {}, "", "", 0};
            if (HWND open = ownerWindow(w, manager))
                closeWindow(w.frame, open, "#32770");
            closeOpened(w.frame, w.thread, visibleWindows(w.thread));
        }
    }
    // Exit last: the frame closes.
    for (const WalkRow &row : rows)
        if (row.id == 109 && row.owner == "frame" && !only) {
            w.context = row.contexts[0];
            walkRow(w, row);
            ++walked;
        }
    printf("walked %d rows (%d pending), %d faults\n", walked, pending, w.faults);
    return w.faults ? 1 : 0;
}

// The walked document: page 1 holds a text and three rectangles side by
// side above it (filled), page 2 two hollow rectangles of different sizes.
MemHandle walkRectangle(const RECT &box, uint8_t fillKind)
{
    MemHandle h = boxRecord(OBT_RECTANGLE, box, 8);
    ObLock r(h);
    if (!r)
        return 0;
    r->fillKind = fillKind;
    r->fillColour = RGB(200, 220, 255);
    const int32_t sides[2] = {r->width, r->height};
    memcpy(obRecData(r.get()), sides, sizeof sides);
    return h;
}

int walkDocument(const char *path)
{
    MemHandle first = 0, second = 0;
    MemHandle form = newTwoPages(&first, &second);
    if (!form)
        return 1;
    TextHeader th = {};
    th.lf.lfHeight = -360;
    lstrcpyA(th.lf.lfFaceName, "Liberation Sans");
    th.flags = TXF_WRAP | TXF_WRAP_LOW;
    th.bkMode = 1;
    RECT box = {1440, 4320, 7200, 5400};
    MemHandle text = txNewPlainTextObject(nullptr, &box, &th, "Walk text");
    if (!text)
        return 1;
    // The text comes first in the list though it lies below the rectangles:
    // ordering by position changes the list.
    pgAppendObject(first, text);
    // Off the ruler grid by a little, so that snapping moves them; the
    // middle one turned by 30 degrees, so that flipping changes it.
    for (int i = 0; i < 3; ++i) {
        MemHandle box = walkRectangle(RECT{1477 + 2160 * i, 1477, 2917 + 2160 * i, 2917}, 1);
        if (i == 1)
            if (ObLock r(box); r)
                r->rotation = 300;
        pgAppendObject(first, box);
    }
    pgAppendObject(second, walkRectangle(RECT{1440, 1440, 4320, 4320}, 0));
    pgAppendObject(second, walkRectangle(RECT{5760, 2880, 7200, 4320}, 0));
    pgDirAppend(form, second);
    return saveAndFree(path, form);
}

// A picture file's size in pixels as the picture library reads it (the
// library takes a Unix path), and the
// screen's pixels per inch: "W H DPI".
int pictureSize(const char *path)
{
    FREE_IMAGE_FORMAT format = FreeImage_GetFileType(path, 0);
    if (format == FIF_UNKNOWN)
        format = FreeImage_GetFIFFromFilename(path);
    FIBITMAP *bitmap = format == FIF_UNKNOWN ? nullptr : FreeImage_Load(format, path, 0);
    if (!bitmap) {
        fprintf(stderr, "the picture library cannot read %s\n", path);
        return 1;
    }
    HDC screen = GetDC(nullptr);
    printf("%u %u %d\n", FreeImage_GetWidth(bitmap), FreeImage_GetHeight(bitmap),
           GetDeviceCaps(screen, LOGPIXELSX));
    ReleaseDC(nullptr, screen);
    FreeImage_Unload(bitmap);
    return 0;
}

// Lists a top-level window when the frame cannot be found.
BOOL CALLBACK listWindow(HWND w, LPARAM)
{
    char name[128] = "", title[128] = "";
    GetClassNameA(w, name, sizeof name);
    GetWindowTextA(w, title, sizeof title);
    fprintf(stderr, "  window class \"%s\" title \"%s\"\n", name, title);
    return TRUE;
}

}  // namespace

// A PostScript printer description small enough to read at a glance:
// Letter paper with a quarter-inch unprintable edge, colour, 300 dpi and the
// standard fonts Wine's PostScript driver knows.
const char kTestPrinter[] = "Quillmark Test Printer";
const char kTestPpd[] =
    "*PPD-Adobe: \"4.3\"\n"
    "*FormatVersion: \"4.3\"\n"
    "*FileVersion: \"1.0\"\n"
    "*LanguageVersion: English\n"
    "*LanguageEncoding: ISOLatin1\n"
    "*PCFileName: \"QMTEST.PPD\"\n"
    "*Manufacturer: \"Quillmark\"\n"
    "*Product: \"(Quillmark Test Printer)\"\n"
    "*ModelName: \"Quillmark Test Printer\"\n"
    "*ShortNickName: \"Quillmark Test Printer\"\n"
    "*NickName: \"Quillmark Test Printer\"\n"
    "*PSVersion: \"(3010.000) 0\"\n"
    "*LanguageLevel: \"3\"\n"
    "*ColorDevice: True\n"
    "*DefaultColorSpace: RGB\n"
    "*FileSystem: False\n"
    "*Throughput: \"1\"\n"
    "*TTRasterizer: Type42\n"
    "*DefaultResolution: 300dpi\n"
    "*OpenUI *PageSize/Page Size: PickOne\n"
    "*OrderDependency: 10 AnySetup *PageSize\n"
    "*DefaultPageSize: Letter\n"
    "*PageSize Letter/US Letter: \"<</PageSize[612 792]/ImagingBBox null>>setpagedevice\"\n"
    "*CloseUI: *PageSize\n"
    "*OpenUI *PageRegion: PickOne\n"
    "*OrderDependency: 10 AnySetup *PageRegion\n"
    "*DefaultPageRegion: Letter\n"
    "*PageRegion Letter/US Letter: \"<</PageSize[612 792]/ImagingBBox null>>setpagedevice\"\n"
    "*CloseUI: *PageRegion\n"
    "*DefaultImageableArea: Letter\n"
    "*ImageableArea Letter/US Letter: \"18 18 594 774\"\n"
    "*DefaultPaperDimension: Letter\n"
    "*PaperDimension Letter/US Letter: \"612 792\"\n"
    "*DefaultFont: Courier\n"
    "*Font Courier: Standard \"(002.004S)\" Standard ROM\n"
    "*Font Helvetica: Standard \"(001.006S)\" Standard ROM\n"
    "*Font Times-Roman: Standard \"(001.007S)\" Standard ROM\n";

int removeTestPrinter()
{
    HANDLE printer = nullptr;
    PRINTER_DEFAULTSA access = {nullptr, nullptr, PRINTER_ALL_ACCESS};
    if (OpenPrinterA(const_cast<char *>(kTestPrinter), &printer, &access)) {
        DeletePrinter(printer);
        ClosePrinter(printer);
    }
    DeletePrinterDriverA(nullptr, nullptr, const_cast<char *>(kTestPrinter));
    return 0;
}

// Writes the description into the printer-driver folder (where Wine's
// PostScript driver looks for its data file), adds the driver with it, adds
// the printer on the Unix file `port` (no spooler service, no CUPS: the job
// is copied to the file when it ends) and makes it the default printer.
int installTestPrinter(const char *port)
{
    // A printer left by an earlier run would keep its old port.
    removeTestPrinter();
    char ppd[MAX_PATH] = "";
    DWORD needed = 0;
    if (!GetPrinterDriverDirectoryA(nullptr, nullptr, 1, reinterpret_cast<BYTE *>(ppd),
                                    sizeof ppd - 16, &needed)) {
        fprintf(stderr, "no printer-driver folder: %lu\n", (unsigned long)GetLastError());
        return 1;
    }
    CreateDirectoryA(ppd, nullptr);
    strcat(ppd, "\\qmtest.ppd");
    HANDLE file = CreateFileA(ppd, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        fprintf(stderr, "cannot write %s\n", ppd);
        return 1;
    }
    DWORD written = 0;
    const BOOL wrote = WriteFile(file, kTestPpd, sizeof kTestPpd - 1, &written, nullptr);
    CloseHandle(file);
    if (!wrote || written != sizeof kTestPpd - 1)
        return 1;

    DRIVER_INFO_3A driver = {};
    driver.cVersion = 3;
    driver.pName = const_cast<char *>(kTestPrinter);
    driver.pDriverPath = const_cast<char *>("wineps.drv");
    driver.pDataFile = const_cast<char *>(ppd);
    driver.pConfigFile = const_cast<char *>("wineps.drv");
    if (!AddPrinterDriverA(nullptr, 3, reinterpret_cast<BYTE *>(&driver)) &&
        GetLastError() != ERROR_PRINTER_DRIVER_ALREADY_INSTALLED) {
        fprintf(stderr, "AddPrinterDriverA failed: %lu\n", (unsigned long)GetLastError());
        return 1;
    }
    PRINTER_INFO_2A info = {};
    info.pPrinterName = const_cast<char *>(kTestPrinter);
    info.pPortName = const_cast<char *>(port);
    info.pDriverName = const_cast<char *>(kTestPrinter);
    info.pPrintProcessor = const_cast<char *>("WinPrint");
    info.pDatatype = const_cast<char *>("RAW");
    info.Attributes = PRINTER_ATTRIBUTE_LOCAL;
    HANDLE printer = AddPrinterA(nullptr, 2, reinterpret_cast<BYTE *>(&info));
    if (printer)
        ClosePrinter(printer);
    else if (GetLastError() != ERROR_PRINTER_ALREADY_EXISTS) {
        fprintf(stderr, "AddPrinterA failed: %lu\n", (unsigned long)GetLastError());
        return 1;
    }
    if (!SetDefaultPrinterA(kTestPrinter)) {
        fprintf(stderr, "SetDefaultPrinterA failed: %lu\n", (unsigned long)GetLastError());
        return 1;
    }
    printf("%s on %s\n", kTestPrinter, port);
    return 0;
}

int main(int argc, char **argv)
{
    appInstallHooks();   // the upper floors' calls, as at the program's start-up
    if (argc < 2)
        return 2;
    const char *verb = argv[1];
    appRegisterTypes();   // objects sized, drawn, read and written as by the program
    if (strcmp(verb, "inspect") == 0 && argc == 3)
        return inspect(argv[2]);
    if (strcmp(verb, "newdoc") == 0 && argc >= 3 && argc <= 5)
        return newDocument(argv[2], argc >= 4 ? atoi(argv[3]) : 1, argc == 5 ? argv[4] : nullptr);
    if (strcmp(verb, "picturedoc") == 0 && argc == 5)
        return pictureDocument(argv[2], argv[3], argv[4]);
    if (strcmp(verb, "newtable") == 0 && argc == 3)
        return newDocument(argv[2], 1, nullptr, true);
    if (strcmp(verb, "password") == 0 && argc == 3)
        return answerPassword(argv[2]);
    if (strcmp(verb, "objects") == 0 && argc == 4 && strcmp(argv[3], "page") == 0)
        return listObjects(argv[2], true);
    if (strcmp(verb, "objects") == 0 && argc == 3)
        return listObjects(argv[2]);
    if (strcmp(verb, "fills") == 0 && argc == 3)
        return listFills(argv[2]);
    if (strcmp(verb, "textdoc") == 0 && argc == 3)
        return textDocument(argv[2]);
    if (strcmp(verb, "metadoc") == 0 && argc == 5)
        return metafileDocument(argv[2], argv[3], argv[4]);
    if (strcmp(verb, "walkdoc") == 0 && argc == 3)
        return walkDocument(argv[2]);
    if (strcmp(verb, "picture") == 0 && argc == 3)
        return pictureSize(argv[2]);
    if (strcmp(verb, "coverage") == 0 && argc == 3) {
        std::vector<WalkRow> rows;
        return readTable(argv[2], &rows) && checkCoverage(rows) == 0 ? 0 : 1;
    }
    if (strcmp(verb, "printer") == 0 && argc == 3)
        return installTestPrinter(argv[2]);
    if (strcmp(verb, "noprinter") == 0)
        return removeTestPrinter();

    HWND frame = frameWindow();
    if (!frame) {
        EnumWindows(listWindow, 0);
        fprintf(stderr, "no frame window\n");
        return 1;
    }
    if (strcmp(verb, "clipboard") == 0) {
        // The formats on the clipboard, by name, on one line.
        if (!OpenClipboard(nullptr))
            return 1;
        static const struct {
            UINT id;
            const char *name;
        } standard[] = {{CF_TEXT, "CF_TEXT"},           {CF_BITMAP, "CF_BITMAP"},
                        {CF_METAFILEPICT, "CF_METAFILEPICT"}, {CF_DIB, "CF_DIB"},
                        {CF_ENHMETAFILE, "CF_ENHMETAFILE"},   {CF_UNICODETEXT, "CF_UNICODETEXT"}};
        for (UINT f = EnumClipboardFormats(0); f; f = EnumClipboardFormats(f)) {
            char name[128] = "";
            for (auto &st : standard)
                if (st.id == f)
                    strcpy(name, st.name);
            if (!name[0] && !GetClipboardFormatNameA(f, name, sizeof name))
                snprintf(name, sizeof name, "%u", f);
            printf("%s ", name);
        }
        printf("\n");
        CloseClipboard();
        return 0;
    }
    if (strcmp(verb, "title") == 0) {
        char text[512] = "";
        GetWindowTextA(frame, text, sizeof text);
        printf("%s\n", text);
        return 0;
    }
    if (strcmp(verb, "command") == 0 && (argc == 3 || argc == 4)) {
        PostMessageA(frame, WM_COMMAND, (WPARAM)atoi(argv[2]), argc == 4 ? atoi(argv[3]) : 0);
        settle(frame);
        return 0;
    }
    if (strcmp(verb, "post") == 0 && argc == 3) {
        // Posted without waiting for the program: a road that kills it next
        // catches the command at whatever point it has reached.
        PostMessageA(frame, WM_COMMAND, (WPARAM)atoi(argv[2]), 0);
        return 0;
    }
    if (strcmp(verb, "close") == 0) {
        DWORD process = 0;
        GetWindowThreadProcessId(frame, &process);
        PostMessageA(frame, WM_CLOSE, 0, 0);
        for (int i = 0; i < 300 && IsWindow(frame); ++i)
            Sleep(100);
        return IsWindow(frame) ? 1 : 0;
    }
    if (strcmp(verb, "firstpage") == 0) {
        HWND sheet = waitDialog(frame, 300);
        if (!sheet) {
            fprintf(stderr, "no page sheet appeared\n");
            return 1;
        }
        char caption[256] = "";
        GetWindowTextA(sheet, caption, sizeof caption);
        printf("%s\n", caption);
        PostMessageA(sheet, PSM_PRESSBUTTON, PSBTN_OK, 0);
        for (int i = 0; i < 300 && IsWindow(sheet); ++i)
            Sleep(100);
        settle(frame);
        return IsWindow(sheet) ? 1 : 0;
    }
    if (strcmp(verb, "filedlg") == 0 && argc == 3) {
        HWND dialog = waitFileDialog(frame, 300);
        if (!dialog) {
            fprintf(stderr, "no file dialog appeared\n");
            return 1;
        }
        return answerFileDialog(frame, dialog, argv[2], false);
    }
    if (strcmp(verb, "layout") == 0 && argc >= 3)
        return layoutSheet(frame, atoi(argv[2]), argc - 3, argv + 3);
    if (strcmp(verb, "saveas") == 0 && (argc == 3 || argc == 4))
        return saveAs(frame, argv[2], argc == 4 ? atoi(argv[3]) : 103);
    if (strcmp(verb, "click") == 0 && argc == 3)
        return click(frame, atoi(argv[2]));
    if (strcmp(verb, "answer") == 0 && argc == 4)
        return answer(frame, atoi(argv[2]), argv[3]);
    if (strcmp(verb, "open") == 0 && argc == 3)
        return openFile(frame, argv[2]);
    if (strcmp(verb, "import") == 0 && (argc == 3 || argc == 4))
        return openFile(frame, argv[2], argc == 4 ? atoi(argv[3]) : 104);
    if (strcmp(verb, "walk") == 0 && (argc == 4 || argc == 5))
        return walkMenus(frame, argv[2], argv[3], argc == 5 ? argv[4] : nullptr);
    if (strcmp(verb, "ask") == 0 && (argc == 3 || argc == 4)) {
        printf("%lld\n", probe(frame, atoi(argv[2]), argc == 4 ? atoi(argv[3]) : 0));
        return 0;
    }
    if (strcmp(verb, "docs") == 0)
        return listDocuments(frame);
    if (strcmp(verb, "text") == 0 && argc == 3)
        return childTexts(frame, argv[2]);
    if (strcmp(verb, "dialog") == 0)
        return answerDialog(frame, argc - 2, argv + 2);
    if (strcmp(verb, "box") == 0)
        return answerBox(frame);
    if (strcmp(verb, "fill") == 0 && argc >= 4 && argc % 2 == 0)
        return fillFields(frame, argc - 2, argv + 2);
    if (strcmp(verb, "lines") == 0 && (argc == 3 || argc == 4))
        return listLines(frame, atoi(argv[2]), argc == 4 ? atoi(argv[3]) : -1);
    if (strcmp(verb, "menubar") == 0) {
        // The frame's border and menu laid out and drawn again, as after a
        // move or a resize: a frame that lost its menu shows it now.
        SetWindowPos(frame, nullptr, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
        RedrawWindow(frame, nullptr, nullptr, RDW_FRAME | RDW_INVALIDATE | RDW_UPDATENOW);
        settle(frame);
        RECT window, client;
        GetWindowRect(frame, &window);
        GetClientRect(frame, &client);
        POINT origin = {0, 0};
        ClientToScreen(frame, &origin);
        printf("%ld %ld %ld %ld %d\n", (long)origin.x, (long)window.top, (long)client.right,
               (long)(origin.y - window.top), GetSystemMetrics(SM_CYMENU));
        return 0;
    }

    HWND ws = workspace(frame);
    if (!ws) {
        fprintf(stderr, "no workspace window\n");
        return 1;
    }
    if (strcmp(verb, "probe") == 0 && argc == 4) {
        POINT p = {atoi(argv[2]), atoi(argv[3])};
        ClientToScreen(ws, &p);
        HWND at = WindowFromPoint(p);
        char name[64] = "";
        GetClassNameA(at, name, sizeof name);
        printf("at %ld,%ld: class \"%s\"%s; mode word %u\n", (long)p.x, (long)p.y, name,
               at == ws ? " (the workspace)" : "", (unsigned)(uint16_t)GetWindowWord(ws, 8));
        return 0;
    }
    if (strcmp(verb, "find") == 0) {
        RECT client;
        GetClientRect(ws, &client);
        POINT origin = {0, 0};
        ClientToScreen(ws, &origin);
        printf("%ld %ld %ld %ld\n", (long)origin.x, (long)origin.y, (long)client.right,
               (long)client.bottom);
        return 0;
    }
    if (strcmp(verb, "drag") == 0 && argc == 6) {
        POINT a = {atoi(argv[2]), atoi(argv[3])}, b = {atoi(argv[4]), atoi(argv[5])};
        ClientToScreen(ws, &a);
        ClientToScreen(ws, &b);
        pressAndMove(a, b);
        sendMouse(b, MOUSEEVENTF_LEFTUP);
        settle(frame);
        return 0;
    }
    if (strcmp(verb, "stroke") == 0 && argc >= 6 && argc % 2 == 0) {
        std::vector<POINT> pts;
        for (int i = 2; i + 1 < argc; i += 2) {
            POINT p = {atoi(argv[i]), atoi(argv[i + 1])};
            ClientToScreen(ws, &p);
            pts.push_back(p);
        }
        sendMouse(pts[0], 0);
        sendMouse(pts[0], MOUSEEVENTF_LEFTDOWN);
        for (size_t k = 1; k < pts.size(); ++k) {
            POINT a = pts[k - 1], b = pts[k];
            int steps = std::max(1, (int)(std::max(labs(b.x - a.x), labs(b.y - a.y)) + 7) / 8);
            for (int i = 1; i <= steps; ++i)
                sendMouse(POINT{a.x + (b.x - a.x) * i / steps, a.y + (b.y - a.y) * i / steps}, 0);
        }
        sendMouse(pts.back(), MOUSEEVENTF_LEFTUP);
        settle(frame);
        return 0;
    }
    if ((strcmp(verb, "click") == 0 && (argc == 4 || argc == 5)) ||
        (strcmp(verb, "dblclick") == 0 && argc == 4)) {
        POINT a = {atoi(argv[2]), atoi(argv[3])};
        if (argc == 5 && strcmp(argv[4], "ctrl") == 0) {
            // Keys sent as input reach no window without a window manager's
            // focus: a Ctrl-click goes as the messages that carry MK_CONTROL.
            const LPARAM at = MAKELPARAM(a.x, a.y);
            PostMessageA(ws, WM_MOUSEMOVE, MK_CONTROL, at);
            PostMessageA(ws, WM_LBUTTONDOWN, MK_LBUTTON | MK_CONTROL, at);
            PostMessageA(ws, WM_LBUTTONUP, MK_CONTROL, at);
        } else {
            ClientToScreen(ws, &a);
            sendMouse(a, 0);
            for (int i = strcmp(verb, "dblclick") == 0 ? 2 : 1; i > 0; --i) {
                sendMouse(a, MOUSEEVENTF_LEFTDOWN);
                sendMouse(a, MOUSEEVENTF_LEFTUP);
            }
        }
        // The program tells a click from a double click once the
        // double-click time has passed: the next input waits for that.
        Sleep(GetDoubleClickTime() + 200);
        settle(frame);
        return 0;
    }
    if (strcmp(verb, "hold") == 0 && argc == 7) {
        // Press, move, capture, release: the capture of the workspace (a PNG
        // picture) is taken with the button still down, so it shows what the
        // tool draws during the drag.
        POINT a = {atoi(argv[2]), atoi(argv[3])}, b = {atoi(argv[4]), atoi(argv[5])};
        ClientToScreen(ws, &a);
        ClientToScreen(ws, &b);
        pressAndMove(a, b);
        settle(frame);
        const int captured = captureClient(ws, argv[6]);
        sendMouse(b, MOUSEEVENTF_LEFTUP);
        settle(frame);
        if (!captured) {
            fprintf(stderr, "the capture was not written\n");
            return 1;
        }
        return 0;
    }
    if (strcmp(verb, "dragout") == 0 && argc == 6) {
        POINT a = {atoi(argv[2]), atoi(argv[3])}, b = {atoi(argv[4]), atoi(argv[5])};
        ClientToScreen(ws, &a);
        pressAndMove(a, b);
        sendMouse(b, MOUSEEVENTF_LEFTUP);
        settle(frame);
        return 0;
    }
    if (strcmp(verb, "type") == 0 && argc == 3) {
        for (const char *c = argv[2]; *c; ++c)
            PostMessageA(ws, WM_CHAR, (WPARAM)(uint8_t)*c, 1);
        settle(frame);
        return 0;
    }
    if (strcmp(verb, "key") == 0 && (argc == 3 || argc == 4)) {
        // Keys sent as input reach no window without a window manager's
        // focus: each press goes to the workspace as its key messages.
        static const struct {
            const char *name;
            UINT vk;
        } keys[] = {{"left", VK_LEFT}, {"right", VK_RIGHT}, {"up", VK_UP}, {"down", VK_DOWN}};
        UINT vk = 0;
        for (const auto &k : keys)
            if (strcmp(argv[2], k.name) == 0)
                vk = k.vk;
        if (!vk) {
            fprintf(stderr, "unknown key\n");
            return 2;
        }
        for (int i = argc == 4 ? atoi(argv[3]) : 1; i > 0; --i) {
            PostMessageA(ws, WM_KEYDOWN, vk, 1);
            PostMessageA(ws, WM_KEYUP, vk, (LPARAM)0xC0000001u);
            settle(frame);
        }
        return 0;
    }
    if (strcmp(verb, "state") == 0) {
        GUITHREADINFO info = {};
        info.cbSize = sizeof info;
        GetGUIThreadInfo(GetWindowThreadProcessId(frame, nullptr), &info);
        printf("mode %u capture %s\n", (unsigned)(uint16_t)GetWindowWord(ws, 8),
               info.hwndCapture ? "held" : "none");
        return 0;
    }
    fprintf(stderr, "unknown command\n");
    return 2;
}
