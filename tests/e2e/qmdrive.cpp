// A small driver for the end-to-end checks: it runs in the same Wine prefix
// as the program and works its windows from outside with posted and sent
// messages, the way a user's clicks and typing would arrive, and reads the
// documents the program writes with the program's own reader.
//
//   qmdrive find                      prints the workspace's client area on screen
//   qmdrive command ID [LPARAM]       posts WM_COMMAND ID to the frame (a drawing-tool
//                                     button sends its object type as LPARAM)
//   qmdrive drag X1 Y1 X2 Y2          a left-button drag in workspace client pixels,
//                                     given as real input (SendInput)
//   qmdrive click X Y                 a left click there as real input, then a pause
//                                     longer than the double-click time
//   qmdrive dblclick X Y              a left double click there as real input
//   qmdrive saveas PATH [COMMAND]     Save As (or the Save dialog of COMMAND, such as
//                                     Export 105, the file type of PATH chosen),
//                                     answering the file dialog with PATH
//   qmdrive firstpage                 answers OK in the page sheet of a new document
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
//                                     "points 1:" and each object's point count, then for
//                                     each text object of page 1 "text: " and the dump of
//                                     its stream without the layout codes, and "font: " with
//                                     its base font's face and height beside the page's
//                                     default font's ("page font: FACE HEIGHT")
//   qmdrive type TEXT                 posts each byte of TEXT to the workspace as WM_CHAR
//                                     (an ESC byte ends a text edit), as typing would
//   qmdrive fills PATH                one line per object of page 1: its type, its fill
//                                     kind and its hatch byte
//   qmdrive objects PATH              one line per object of page 1: its type, its
//                                     rectangle (left top right bottom, twips) and the
//                                     bytes of its type data; then "guide KIND POSITION"
//                                     per design guide of page 1
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
//   qmdrive dialog [ID...]            waits for a dialog of the frame, prints its caption,
//                                     clicks the buttons ID in turn, then OK
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
//   qmdrive import PATH               File > Import, answering the file dialog with PATH;
//                                     fails when the program answers with a message
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
#include "model/pg_render.h"
#include "model/pg_margins.h"
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
#include "support/qmwin.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include <commctrl.h>
#include <winspool.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
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
};

BOOL CALLBACK findDialog(HWND window, LPARAM data)
{
    auto *search = reinterpret_cast<DialogSearch *>(data);
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    if (strcmp(name, "#32770") == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND waitDialog(HWND frame, int tenths)
{
    DialogSearch search = {GetWindowThreadProcessId(frame, nullptr), nullptr};
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

int saveAs(HWND frame, const char *path, int command = 103)
{
    PostMessageA(frame, WM_COMMAND, command, 0);
    HWND dialog = waitDialog(frame, 300);
    if (!dialog) {
        fprintf(stderr, "no Save As dialog appeared\n");
        return 1;
    }
    HWND edit = fileNameEdit(dialog);
    if (!edit) {
        printTexts(dialog);
        fprintf(stderr, "the dialog has no file-name field\n");
        return 1;
    }
    if (command != 103)
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
    // Any box left now is a refusal or a failure of the save.
    if (HWND box = waitDialog(frame, 10)) {
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
    fmFree(form);
    return 0;
}

int listObjects(const char *path)
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
    // Saved by the program's own document writer, page-size table and all.
    HWND holder = CreateWindowA("STATIC", "qmdrive", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    wsSetDocument(holder, form);
    const bool ok = qmfSaveDocument(holder, path, form, FALSE, FALSE) != 0;
    wsSetDocument(holder, 0);
    DestroyWindow(holder);
    fmFree(form);
    return ok ? 0 : 1;
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
    HWND holder = CreateWindowA("STATIC", "qmdrive", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    wsSetDocument(holder, form);
    const bool ok = qmfSaveDocument(holder, path, form, FALSE, FALSE) != 0;
    wsSetDocument(holder, 0);
    DestroyWindow(holder);
    fmFree(form);
    return ok ? 0 : 1;
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
    HWND holder = CreateWindowA("STATIC", "qmdrive", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    wsSetDocument(holder, form);
    const bool ok = qmfSaveDocument(holder, path, form, FALSE, FALSE) != 0;
    wsSetDocument(holder, 0);
    DestroyWindow(holder);
    fmFree(form);
    return ok ? 0 : 1;
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
    MemHandle form = pgNewDocument(TRUE);
    MemHandle first = form ? pgDirGetPages(fmGetDirectory(form), 0) : 0;
    MemHandle second = first ? pgNewRecord(0) : 0;
    if (!second)
        return 1;
    pgCopySize(second, first);
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
    HWND holder = CreateWindowA("STATIC", "qmdrive", 0, 0, 0, 10, 10, nullptr, nullptr, nullptr,
                                nullptr);
    wsSetDocument(holder, form);
    const bool ok = qmfSaveDocument(holder, path, form, FALSE, FALSE) != 0;
    wsSetDocument(holder, 0);
    DestroyWindow(holder);
    fmFree(form);
    return ok ? 0 : 1;
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

int answerDialog(HWND frame, int count, char **ids)
{
    HWND dialog = waitDialog(frame, 100);
    if (!dialog) {
        fprintf(stderr, "no dialog appeared\n");
        return 1;
    }
    char caption[256] = "";
    GetWindowTextA(dialog, caption, sizeof caption);
    printf("%s\n", caption);
    for (int i = 0; i < count; ++i) {
        HWND button = GetDlgItem(dialog, atoi(ids[i]));
        if (!button) {
            fprintf(stderr, "the dialog has no control %s\n", ids[i]);
            return 1;
        }
        SendMessageA(button, BM_CLICK, 0, 0);
    }
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, IDOK)));
    for (int i = 0; i < 100 && IsWindow(dialog); ++i)
        Sleep(100);
    if (IsWindow(dialog)) {
        printTexts(dialog);
        fprintf(stderr, "the dialog did not close on OK\n");
        return 1;
    }
    settle(frame);
    return 0;
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
    if (strcmp(verb, "objects") == 0 && argc == 3)
        return listObjects(argv[2]);
    if (strcmp(verb, "fills") == 0 && argc == 3)
        return listFills(argv[2]);
    if (strcmp(verb, "textdoc") == 0 && argc == 3)
        return textDocument(argv[2]);
    if (strcmp(verb, "metadoc") == 0 && argc == 5)
        return metafileDocument(argv[2], argv[3], argv[4]);
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
    if (strcmp(verb, "saveas") == 0 && (argc == 3 || argc == 4))
        return saveAs(frame, argv[2], argc == 4 ? atoi(argv[3]) : 103);
    if (strcmp(verb, "click") == 0 && argc == 3)
        return click(frame, atoi(argv[2]));
    if (strcmp(verb, "answer") == 0 && argc == 4)
        return answer(frame, atoi(argv[2]), argv[3]);
    if (strcmp(verb, "open") == 0 && argc == 3)
        return openFile(frame, argv[2]);
    if (strcmp(verb, "import") == 0 && argc == 3)
        return openFile(frame, argv[2], 104);
    if (strcmp(verb, "docs") == 0)
        return listDocuments(frame);
    if (strcmp(verb, "text") == 0 && argc == 3)
        return childTexts(frame, argv[2]);
    if (strcmp(verb, "dialog") == 0)
        return answerDialog(frame, argc - 2, argv + 2);
    if (strcmp(verb, "box") == 0)
        return answerBox(frame);
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
        sendMouse(a, 0);
        sendMouse(a, MOUSEEVENTF_LEFTDOWN);
        for (int i = 1; i <= 4; ++i)
            sendMouse(POINT{a.x + (b.x - a.x) * i / 4, a.y + (b.y - a.y) * i / 4}, 0);
        sendMouse(b, MOUSEEVENTF_LEFTUP);
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
    if (strcmp(verb, "dragout") == 0 && argc == 6) {
        POINT a = {atoi(argv[2]), atoi(argv[3])}, b = {atoi(argv[4]), atoi(argv[5])};
        ClientToScreen(ws, &a);
        sendMouse(a, 0);
        sendMouse(a, MOUSEEVENTF_LEFTDOWN);
        for (int i = 1; i <= 4; ++i)
            sendMouse(POINT{a.x + (b.x - a.x) * i / 4, a.y + (b.y - a.y) * i / 4}, 0);
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
