// Import and export of pictures, metafiles, text files and pages.
#include "app/fc_import_export.h"
#include "app/ws_services.h"
#include "commands/clip_formats.h"
#include "commands/ud_undo.h"
#include "commands/ws_objects.h"
#include "links/imgf_object.h"
#include "model/fm_form.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_dir.h"
#include "model/pg_margins.h"
#include "model/pg_page.h"
#include "model/pg_record.h"
#include "model/pg_render.h"
#include "model/qmf_header.h"
#include "model/qmf_pages.h"
#include "model/qmf_read.h"
#include "objects/img_bitmap.h"
#include "objects/img_export.h"
#include "objects/img_io.h"
#include "objects/img_render.h"
#include "objects/mf_emf.h"
#include "objects/mf_pict.h"
#include "resources/resource.h"
#include "support/dm_map.h"
#include "support/ff_file.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/ut_path.h"
#include "support/win_filedlg.h"
#include "support/win_window.h"
#include "tools/ep_selection.h"
#include "tools/ep_tool_choice.h"
#include "views/pg_dialogs.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include "views/ws_window.h"
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <string>
#include <vector>

const char kFcImportFilter[] =
    "All File|*.bmp;*.emf;*.ico;*.jpg;*.pcx;*.qm;*.png;*.tga;*.tif;*.txt;*.wmf;|All "
    "(*.*)|*.*|Bitmap (*.bmp)|*.bmp|Enhanced Metafile (*.emf)|*.emf|Icon (*.ico)|*.ico|JPEG "
    "(*.jpg)|*.jpg|Quillmark Page(*.qm)|*.qm|PCX (*.pcx)|*.pcx|PNG (*.png)|*.png|TGA "
    "(*.tga)|*.tga|TIFF (*.tif)|*.tif|Text (*.txt)|*.txt|Win Metafile(*.wmf)|*.wmf|";
const char kFcImageFilter[] =
    "All File|*.bmp;*.emf;*.ico;*.jpg;*.pcx;*.png;*.tga;*.tif;*.wmf;|All (*.*)|*.*|Bitmap "
    "(*.bmp)|*.bmp;*.dib|Enhanced Metafile (*.emf)|*.emf|Icon (*.ico)|*.ico|JPEG "
    "(*.jpg)|*.jpg|PCX (*.pcx)|*.pcx|PNG (*.png)|*.png"
    "|TGA (*.tga)|*.tga|TIFF (*.tif)|*.tif|Win Metafile(*.wmf)|*.wmf|";
const char kFcExportFilter[] = "Bitmap (*.bmp)|*.bmp|JPG (*.jpg)|*.jpg|PNG (*.png)|*.png|TIFF "
                               "(*.tif)|*.tif|";

namespace {

char g_importPath[UT_PATH_SIZE] = "";
char g_exportPath[UT_PATH_SIZE] = "";
int g_exportIndex = 0;
int g_importIndex = 1;

const uint32_t kTextLimit = 4000000;
const char kTooLarge[] =
    "The imported image is quite large.  Want to use printer-mapping mode to reduce it's size?";

HWND ownerOf(HWND ws)
{
    HWND doc = wsGetDocWindow(ws);
    return doc ? doc : ws;
}

void errorBox(HWND ws, const char *text) { utMessageBoxCaption(ownerOf(ws), text, " Error", MB_OK | MB_ICONEXCLAMATION); }

std::string extOf(const char *path)
{
    char buffer[UT_PATH_SIZE];
    utStrCopyN(buffer, path ? path : "", sizeof buffer);
    // Only the file name's extension counts.
    utStripFolder(buffer);
    return utGetExtensionNoDot(buffer) ? buffer : "";
}

std::string filterWithNuls(const char *filter)
{
    std::string f(filter);
    f.push_back('\0');
    for (char &c : f)
        if (c == '|')
            c = '\0';
    return f;
}

// The logical rectangle of the workspace's client area.
RECT visibleArea(HWND ws)
{
    RECT client = {0, 0, 0, 0};
    GetClientRect(ws, &client);
    RECT r = client;
    if (HDC dc = wsGetDC(ws)) {
        POINT p[2] = {{client.left, client.top}, {client.right, client.bottom}};
        DPtoLP(dc, p, 2);
        ReleaseDC(ws, dc);
        r = {std::min(p[0].x, p[1].x), std::min(p[0].y, p[1].y), std::max(p[0].x, p[1].x),
             std::max(p[0].y, p[1].y)};
    }
    return r;
}

bool inside(const RECT &r, POINT p) { return p.x >= r.left && p.x < r.right && p.y >= r.top && p.y < r.bottom; }

void place(HWND ws, MemHandle object, const RECT *target)
{
    RECT box;
    obGetRect(object, &box);
    if (target) {
        obMoveTopLeftTo(object, POINT{target->left, target->top});
        return;
    }
    const RECT view = visibleArea(ws);
    if (box.right - box.left <= view.right - view.left &&
        box.bottom - box.top <= view.bottom - view.top) {
        obCentreInClient(ws, object);
        return;
    }
    RECT margins;
    if (pgGetMarginRect(pvGetCurrentPage(ws), &margins) &&
        inside(view, POINT{margins.left, margins.top}))
        obMoveTopLeftTo(object, POINT{margins.left, margins.top});
    else
        obMoveTopLeftTo(object, POINT{view.left, view.top});
}

// A text file's bytes (at most 4,000,000 after asking), zero-terminated;
// empty with its message when it cannot be read.
bool readTextFile(HWND ws, const char *path, std::vector<char> *out)
{
    HWND owner = ownerOf(ws);
    if (!ffExists(path)) {
        ffReportError(owner, path, FE_NOT_EXIST);
        return false;
    }
    HANDLE f = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    if (f == INVALID_HANDLE_VALUE) {
        ffReportError(owner, path, FE_CANNOT_OPEN);
        return false;
    }
    LARGE_INTEGER size = {};
    GetFileSizeEx(f, &size);
    if (size.QuadPart <= 0) {
        CloseHandle(f);
        ffReportError(owner, path, FE_UNEXPECTED_EOF);
        return false;
    }
    uint32_t n = (uint32_t)std::min<int64_t>(size.QuadPart, 0x7FFFFFFF);
    if (size.QuadPart > kTextLimit) {
        if (utMessageBox(owner, "Text file too long to import. If continued, text will be truncated",
                         MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
            CloseHandle(f);
            return false;
        }
        n = kTextLimit;
    }
    out->assign((size_t)n + 1, '\0');
    DWORD got = 0;
    const BOOL ok = ReadFile(f, out->data(), n, &got, nullptr);
    CloseHandle(f);
    if (!ok || got != n) {
        ffReportError(owner, path, FE_UNEXPECTED_EOF);
        return false;
    }
    return true;
}

// Moves a list of objects to the end of the current page with undo kind 22.
void appendList(HWND ws, MemHandle first)
{
    if (!first)
        return;
    std::vector<MemHandle> list;
    obCollectList(first, list);
    for (MemHandle h : list)
        wsAppendObject(ws, h);
    for (MemHandle h : list)
        obInvalidate(ws, h);
    udRecord(ws, list.front(), 0, UD_PAGE_MOVE, 0);
    wsMarkModified(ws);
}

// Kind 9: the objects of a chosen page of another document.
int importDocumentPage(HWND ws, const char *path)
{
    HWND owner = ownerOf(ws);
    int count = 0;
    MemHandle names = pgReadFilePageNames(owner, path, &count, TRUE);
    if (!names)
        return 0;
    int index = 0;
    if (count > 1) {
        const int chosen = pgSelectByNameDialog(owner, "Select Page", names, count, &index);
        if (!chosen || index < 0 || index >= count) {
            utFreeHandle(names);
            return 0;
        }
    }
    utFreeHandle(names);
    MemHandle page = 0;
    MemHandle form = qmfOpenDocument(owner, path, index, &page);
    if (!form || !page) {
        fmFree(form);
        return 0;
    }
    if (pgShowsBasePage(page)) {
        MemHandle base = fmGetBasePage(form);
        if (MemHandle first = pgGetFirstObject(base)) {
            pgSetFirstObject(base, 0);
            appendList(ws, first);
        }
    }
    MemHandle first = pgGetFirstObject(page);
    pgSetFirstObject(page, 0);
    appendList(ws, first);
    fmFree(form);
    return 1;
}

// A bitmap object read from a picture file without a message (the import
// says "Incorrect file type" itself); 0 when it is not a picture.
MemHandle loadPicture(const char *path, int imageMode)
{
    ImgIoRequest request = {};
    request.fileName = path;
    request.action = IMG_ACTION_LOAD_OBJECT;
    request.mappingKind = (uint16_t)imageMode;
    return imgIoDispatch(&request) ? request.object : 0;
}

// The image layer writes the four kinds it names by id; TIFF by the
// file's extension.
int writeDib(HWND ws, MemHandle dib, const char *path, int format)
{
    return imgExportDib(ownerOf(ws), dib, path, format == IMG_FORMAT_TIFF ? 0 : format);
}

}  // namespace

// ---- remembered paths -------------------------------------------------------------------

void fcPutImportPath(const char *path) { utStrCopyN(g_importPath, path ? path : "", UT_PATH_SIZE); }
char *fcGetImportPath(char *buffer) { return utStrCopyN(buffer, g_importPath, UT_PATH_SIZE); }

void fcPutExportPath(const char *path)
{
    utStrCopyN(g_exportPath, path ? path : "", UT_PATH_SIZE);
    g_exportIndex = fcFilterIndexOfExt(kFcExportFilter, extOf(g_exportPath).c_str());
}

char *fcGetExportPath(char *buffer) { return utStrCopyN(buffer, g_exportPath, UT_PATH_SIZE); }
int fcGetExportFormatIndex() { return g_exportIndex; }

// ---- kinds, formats and filters -------------------------------------------------------------

int fcImportKindOfExt(const char *ext)
{
    static const struct {
        const char *ext;
        int kind;
    } kinds[] = {{"bmp", 3},  {"emf", 4},  {"fpx", 5},  {"img", 6},  {"ico", 7},
                 {"jpg", 8},  {"qm", 9},   {"pcx", 10}, {"pcd", 11}, {"eps", 12},
                 {"tga", 13}, {"tif", 14}, {"txt", 15}, {"wmf", 16}, {"png", 17}};
    if (!ext)
        return 0;
    if (*ext == '.')
        ++ext;
    for (const auto &k : kinds)
        if (lstrcmpiA(k.ext, ext) == 0)
            return k.kind;
    return 0;
}

int fcImportKindOfPath(const char *path) { return fcImportKindOfExt(extOf(path).c_str()); }

int fcExportFormatOfExt(const char *ext)
{
    if (!ext)
        return 0;
    if (*ext == '.')
        ++ext;
    const char *names[] = {"bmp", "jpg", "png", "tif"};
    for (int i = 0; i < 4; ++i)
        if (lstrcmpiA(names[i], ext) == 0)
            return i + 1;
    return 0;
}

const char *fcExportExtOfFormat(int code)
{
    const char *names[] = {"bmp", "jpg", "png", "tif"};
    return code >= 1 && code <= 4 ? names[code - 1] : "";
}

int fcImageFormatByExt(const char *ext)
{
    if (!ext)
        return 0;
    if (*ext == '.')
        ++ext;
    static const struct {
        const char *ext;
        int format;
    } formats[] = {{"bmp", IMG_FORMAT_BMP}, {"pcx", IMG_FORMAT_PCX}, {"jpg", IMG_FORMAT_JPEG},
                   {"png", IMG_FORMAT_PNG}, {"tif", IMG_FORMAT_TIFF}};
    for (const auto &f : formats)
        if (lstrcmpiA(f.ext, ext) == 0)
            return f.format;
    return 0;
}

const char *fcExtByImageFormat(int format)
{
    switch (format) {
    case IMG_FORMAT_BMP: return ".bmp";
    case IMG_FORMAT_PCX: return ".pcx";
    case IMG_FORMAT_JPEG: return ".jpg";
    case IMG_FORMAT_PNG: return ".png";
    case IMG_FORMAT_TIFF: return ".tif";
    default: return "";
    }
}

char *fcFilterExtension(const char *filter, int index, char *buffer)
{
    buffer[0] = 0;
    if (!filter || index < 1)
        return buffer;
    const char *p = filter;
    for (int i = 0; i < index; ++i) {
        p = strstr(p, "|*.");
        if (!p)
            return buffer;
        p += 3;
    }
    if (strncmp(p, "qm", 2) == 0) {
        strcpy(buffer, "qm");
        return buffer;
    }
    int n = 0;
    while (n < 3 && p[n] && p[n] != '|' && p[n] != ';')
        ++n;
    memcpy(buffer, p, (size_t)n);
    buffer[n] = 0;
    return buffer;
}

int fcFilterIndexOfExt(const char *filter, const char *ext)
{
    if (!filter || !ext || !*ext)
        return 0;
    if (*ext == '.')
        ++ext;
    const std::string want = std::string("*.") + ext;
    // Entries: description | pattern |
    std::vector<std::string> parts;
    std::string part;
    for (const char *p = filter; *p; ++p) {
        if (*p == '|') {
            parts.push_back(part);
            part.clear();
        } else {
            part.push_back(*p);
        }
    }
    for (size_t i = 1; i < parts.size(); i += 2)
        if (lstrcmpiA(parts[i].c_str(), want.c_str()) == 0)
            return (int)(i / 2) + 1;
    return 0;
}

// ---- dialogs --------------------------------------------------------------------------------

int fcImageFileDialog(HWND owner, const char *caption, char *path, int *filterIndex,
                      BOOL imagesOnly)
{
    return fcFileDialogWithFilter(owner, caption, imagesOnly ? kFcImageFilter : kFcImportFilter,
                                  path, filterIndex);
}

int fcFileDialogWithFilter(HWND owner, const char *caption, const char *barFilter, char *path,
                           int *filterIndex)
{
    const std::string filter = filterWithNuls(barFilter);
    char folder[UT_PATH_SIZE] = "";
    char name[UT_PATH_SIZE] = "";
    if (path && *path) {
        utStrCopyN(folder, path, sizeof folder);
        utGetFolder(folder);
        if (!ffIsFolder(folder))
            folder[0] = 0;
    }
    WinFileDlgRequest request = {false,
                                 caption,
                                 name,
                                 nullptr,
                                 filter.c_str(),
                                 nullptr,
                                 folder[0] ? folder : nullptr,
                                 filterIndex && *filterIndex > 0 ? *filterIndex : 1,
                                 OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST};
    if (!winRunFileDlg(owner, request) || !name[0])
        return 0;
    utStrCopyN(path, name, UT_PATH_SIZE);
    if (filterIndex)
        *filterIndex = request.filterIndex;
    return 1;
}

int fcImportFileDialog(HWND owner, const char *caption, char *path, int *filterIndex)
{
    return fcImageFileDialog(owner, caption, path, filterIndex, FALSE);
}

int fcImportFileDialogToHandle(HWND owner, const char *caption, MemHandle *path,
                               int *filterIndex)
{
    if (!path)
        return 0;
    char name[UT_PATH_SIZE] = "";
    if (*path) {
        MemLock<char> p(*path);
        if (p)
            utStrCopyN(name, std::string(p.get(), strnlen(p.get(), utHandleSize(*path))).c_str(),
                       UT_PATH_SIZE);
    }
    int index = filterIndex ? *filterIndex : 0;
    if (!fcImportFileDialog(owner, caption, name, &index))
        return 0;
    // The handle grows to hold the chosen path (never shrinks); without
    // memory the old handle and its text stay as they were.
    const uint32_t need = (uint32_t)strlen(name) + 1;
    MemHandle h = *path;
    if (utHandleSize(h) < need) {
        h = utAllocHandle(h, need);
        if (!h)
            return 0;
    }
    {
        MemLock<char> p(h);
        if (!p)
            return 0;
        memcpy(p.get(), name, need);
    }
    *path = h;
    if (filterIndex)
        *filterIndex = index;
    return 1;
}

int fcExportSaveDialog(HWND owner, const char *caption, char *path, int *filterIndex)
{
    const std::string filter = filterWithNuls(kFcExportFilter);
    char name[UT_PATH_SIZE];
    utStrCopyN(name, path ? path : "", sizeof name);
    WinFileDlgRequest request = {true,
                                 caption,
                                 name,
                                 nullptr,
                                 filter.c_str(),
                                 nullptr,
                                 nullptr,
                                 filterIndex && *filterIndex > 0 ? *filterIndex : 2,
                                 OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST};
    if (!winRunFileDlg(owner, request) || !name[0])
        return 0;
    char ext[8];
    fcFilterExtension(kFcExportFilter, request.filterIndex, ext);
    if (ext[0])
        utSetExtension(name, ext);
    utStrCopyN(path, name, UT_PATH_SIZE);
    if (filterIndex)
        *filterIndex = request.filterIndex;
    return 1;
}

// ---- import ------------------------------------------------------------------------------

int fcImportCommand(HWND ws, int imageMode)
{
    char path[UT_PATH_SIZE];
    fcGetImportPath(path);
    int index = g_importIndex;
    if (!fcImportFileDialog(ownerOf(ws), "Import", path, &index))
        return 0;
    g_importIndex = index;
    int kind;
    if (index == 1 || index == 2) {
        kind = fcImportKindOfPath(path);
    } else {
        char ext[8];
        kind = fcImportKindOfExt(fcFilterExtension(kFcImportFilter, index, ext));
    }
    if (!fcImportFile(ws, path, kind, imageMode, nullptr))
        return 0;
    fcPutImportPath(path);
    return 1;
}

int fcImportOneKind(HWND ws, int what)
{
    // The dialog's filter keeps to the kind asked for; "All (*.*)" is there
    // for files named otherwise.
    static const struct {
        const char *filter;
        int kind;   // 0: by the file's extension
    } kKinds[] = {
        {kFcImageFilter, 0},
        {"Text (*.txt)|*.txt|All (*.*)|*.*|", 15},
        {"Quillmark Page(*.qm)|*.qm|All (*.*)|*.*|", 9},
    };
    if (what < FC_IMPORT_IMAGE || what > FC_IMPORT_PAGE)
        return 0;
    const auto &k = kKinds[what];
    char path[UT_PATH_SIZE];
    fcGetImportPath(path);
    int index = 1;
    if (!fcFileDialogWithFilter(ownerOf(ws), "Import", k.filter, path, &index))
        return 0;
    int kind = k.kind;
    if (kind == 0) {
        // An image: a metafile by its extension, anything else a picture.
        kind = fcImportKindOfPath(path);
        if (kind == 9 || kind == 15 || kind == 0)
            kind = 3;
    }
    if (!fcImportFile(ws, path, kind, 0, nullptr))
        return 0;
    fcPutImportPath(path);
    return 1;
}

int fcImportFile(HWND ws, const char *path, int kind, int imageMode, const RECT *target)
{
    if (!path || !*path || !wsGetDocument(ws))
        return 0;
    wsSendLeaveMode(ws, 1);
    winPushWaitCursor();
    SendMessageA(ws, WM_COMMAND, 400, 0);
    if (kind == 0) {
        kind = fcImportKindOfPath(path);
        if (kind == 0 && qmfIsDocumentFile(path))
            kind = 9;
    }
    MemHandle object = 0;
    bool textObject = false;
    switch (kind) {
    case 9: {
        const int done = importDocumentPage(ws, path);
        winPopWaitCursor();
        return done;
    }
    case 4:
        object = mfEmfLoadFile(ws, path);
        break;
    case 16:
        object = mfWmfLoadFile(ws, path);
        break;
    case 15: {
        std::vector<char> text;
        if (!readTextFile(ws, path, &text)) {
            winPopWaitCursor();
            return 0;
        }
        object = clipMakeTextObject(ws, text.data(), 3, nullptr);
        textObject = true;
        break;
    }
    case 18:
    case 19:
        break;
    default:
        object = loadPicture(path, imageMode);
        break;
    }
    if (!object) {
        winPopWaitCursor();
        // The metafile loaders tell their own failures.
        if (kind != 18 && kind != 19 && kind != 4 && kind != 16)
            utMessageBoxCaption(ownerOf(ws), "Incorrect file type", " Error",
                                MB_OK | MB_ICONEXCLAMATION);
        return 0;
    }
    if (!textObject && imageMode != 2 && obGetType(object) == 60) {
        RECT box, page;
        obGetRect(object, &box);
        pgGetPageRect(pvGetCurrentPage(ws), &page);
        const int32_t pw = page.right - page.left, ph = page.bottom - page.top;
        if ((box.right - box.left > 2 * pw || box.bottom - box.top > 2 * ph) &&
            utMessageBox(ownerOf(ws), kTooLarge, MB_YESNO | MB_ICONQUESTION) == IDYES)
            imgFitObjectToPixels(object, 2);
    }
    place(ws, object, target);
    const BOOL inserted = wsInsertObject(ws, object, 0);
    winPopWaitCursor();
    if (inserted && textObject)
        txCheckNewTextFit(ws, object);
    return 1;
}

int fcImportDroppedFile(HWND ws, const char *path, POINT, int kind, RECT *out)
{
    if (out)
        SetRectEmpty(out);
    if (!path || !*path || !pvGetCurrentPage(ws))
        return 0;
    // The visible part of the margins, at least an inch each way where the
    // view has room for it.
    RECT view = visibleArea(ws), margins = view, r;
    pgGetMarginRect(pvGetCurrentPage(ws), &margins);
    if (!IntersectRect(&r, &margins, &view))
        r = view;
    if (r.right - r.left < 1440 && view.right - view.left > 1440)
        r.right = r.left + 1440;
    if (r.bottom - r.top < 1440 && view.bottom - view.top > 1440)
        r.bottom = r.top + 1440;
    // The path relative to the document's folder unless that climbs out.
    std::string use = path;
    char folder[UT_PATH_SIZE] = "";
    if (wsGetDocFolder(ws, folder) && folder[0]) {
        if (MemHandle rel = utMakeRelativePath(path, folder)) {
            {
                MemLock<char> p(rel);
                if (p && strncmp(p.get(), "..", 2) != 0)
                    use.assign(p.get(), strnlen(p.get(), utHandleSize(rel)));
            }
            utFreeHandle(rel);
        }
    }
    MemHandle object = lnkCreateLinkedObject(ws, &r, use.c_str(), kind);
    if (!object)
        return 0;
    wsAppendObject(ws, object);
    obInvalidate(ws, object);
    epSelectObject(ws, object);
    wsMarkModified(ws);
    SendMessageA(ws, WM_COMMAND, 400, 0);
    udRecord(ws, object, 0, UD_DROPPED, 0);
    if (out)
        obGetRect(object, out);
    return 1;
}

int fcLoadImageObject(HWND ws, const char *path, RECT *rect)
{
    const int kind = fcImportKindOfPath(path);
    MemHandle object = kind == 4    ? mfEmfLoadFile(ws, path)
                       : kind == 16 ? mfWmfLoadFile(ws, path)
                                    : loadPicture(path, 0);
    if (!object)
        return 0;
    RECT box;
    obGetRect(object, &box);
    obFreeTree(object);
    if (rect) {
        const double w = box.right - box.left, h = box.bottom - box.top;
        const double rw = rect->right - rect->left, rh = rect->bottom - rect->top;
        if (w > 0 && h > 0 && rw > 0 && rh > 0) {
            const double scale = std::min(rw / w, rh / h);
            rect->right = rect->left + (LONG)(w * scale + 0.5);
            rect->bottom = rect->top + (LONG)(h * scale + 0.5);
        }
    }
    return 1;
}

// ---- export ------------------------------------------------------------------------------

int fcExportObject(HWND ws, MemHandle object, const char *path, int format)
{
    if (!ffConfirmOverwrite(ownerOf(ws), path))
        return 0;
    MemHandle dib = imgRenderObjectDib(ws, object);
    const int done = dib && writeDib(ws, dib, path, format);
    utFreeHandle(dib);
    if (!done)
        errorBox(ws, "Export object failed");
    return done;
}

int fcWritePagePicture(HWND ws, MemHandle form, MemHandle page, int index, int zoom,
                       const char *path, int format)
{
    RECT r;
    pgGetPageRect(page, &r);
    HDC screen = GetDC(nullptr);
    const int dpiX = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 96;
    const int dpiY = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen)
        ReleaseDC(nullptr, screen);
    if (zoom <= 0)
        return 0;
    // Twips to pixels, rounded.
    const int64_t w = ((int64_t)(r.right - r.left) * dpiX * zoom + 72000) / 144000;
    const int64_t h = ((int64_t)(r.bottom - r.top) * dpiY * zoom + 72000) / 144000;
    if (w <= 0 || h <= 0 || w > 0x4000 || h > 0x4000)
        return 0;
    BITMAPINFO bi = {};
    BITMAPINFOHEADER &bih = bi.bmiHeader;
    bih.biSize = sizeof bih;
    bih.biWidth = (LONG)w;
    bih.biHeight = (LONG)h;   // bottom-up, as the picture library keeps its rows
    bih.biPlanes = 1;
    bih.biBitCount = 24;
    bih.biXPelsPerMeter = MulDiv(dpiX, zoom * 100, 254);
    bih.biYPelsPerMeter = MulDiv(dpiY, zoom * 100, 254);
    void *bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = dc ? CreateDIBSection(dc, &bi, DIB_RGB_COLORS, &bits, nullptr, 0) : nullptr;
    int done = 0;
    if (bitmap && bits) {
        HGDIOBJ old = SelectObject(dc, bitmap);
        PatBlt(dc, 0, 0, (int)w, (int)h, WHITENESS);
        const BOOL pushed = dmPushState();
        dmSetZoomDC(dc, zoom);
        dmSetMappingOrg(dc, r.left, r.top);
        pgRender(ws, dc, form, page, index + 1, nullptr, TRUE, FALSE, TRUE, FALSE, FALSE);
        GdiFlush();
        if (pushed)
            dmPopState();
        SelectObject(dc, old);
        // The section's rows go to the picture library as they are.
        done = imgExportDibRows(ownerOf(ws), &bih, bits, path,
                                format == IMG_FORMAT_TIFF ? 0 : format);
    }
    if (bitmap)
        DeleteObject(bitmap);
    if (dc)
        DeleteDC(dc);
    return done;
}

int fcExportPage(HWND ws, int index, const char *path, int format, BOOL noOverwriteQuestion,
                 BOOL report)
{
    MemHandle form = wsGetDocument(ws);
    if (!form || index < 0 || index >= fmGetPageCount(form))
        return 0;
    MemHandle dir = fmGetDirectory(form);
    const bool held = pgDirGetPages(dir, index) != 0;
    if (index == pvGetCurrentPageIndex(ws))
        pvCommitPage(ws);
    MemHandle page = pgDirEnsureLoaded(ws, dir, index);
    if (!page)
        return 0;
    int done = 0;
    if (!pgGetFirstObject(page)) {
        if (report)
            utMessageBox(ownerOf(ws), "No object in the page to export", MB_OK);
    } else if (noOverwriteQuestion || ffConfirmOverwrite(ownerOf(ws), path)) {
        done = fcWritePagePicture(ws, form, page, index, 100, path, format);
        if (!done && report)
            errorBox(ws, "Export page failed");
    }
    // A page read only for the export goes back out of memory.
    if (!held && index != pvGetCurrentPageIndex(ws))
        pgDropEntryPages(ws, index);
    return done;
}

namespace {
// "Get Export File Name" from the last export path: the path and the image
// format of the chosen entry (whose extension goes to ext, 8 bytes); the
// entry is kept. FALSE when cancelled.
bool askExportFile(HWND ws, char *path, int *format, char *ext)
{
    fcGetExportPath(path);
    int index = g_exportIndex;
    if (!fcExportSaveDialog(ownerOf(ws), "Get Export File Name", path, &index))
        return false;
    g_exportIndex = index;
    *format = fcImageFormatByExt(fcFilterExtension(kFcExportFilter, index, ext));
    return true;
}
}  // namespace

int fcExportCommand(HWND ws, MemHandle object)
{
    char path[UT_PATH_SIZE], ext[8];
    int format = 0;
    if (!askExportFile(ws, path, &format, ext))
        return 0;
    winPushWaitCursor();
    const int done = object ? fcExportObject(ws, object, path, format)
                            : fcExportPage(ws, pvGetCurrentPageIndex(ws), path, format, FALSE, TRUE);
    winPopWaitCursor();
    if (done)
        fcPutExportPath(path);
    return done;
}

int fcExportImageAs(HWND ws, MemHandle object)
{
    char path[UT_PATH_SIZE];
    fcGetExportPath(path);
    int index = 2;
    int done = 0;
    if (fcExportSaveDialog(ownerOf(ws), "Save As", path, &index)) {
        char ext[8];
        const int format = fcImageFormatByExt(fcFilterExtension(kFcExportFilter, index, ext));
        done = object ? fcExportObject(ws, object, path, format)
                      : fcExportPage(ws, pvGetCurrentPageIndex(ws), path, format, FALSE, FALSE);
        if (!done)
            errorBox(ws, "Export to JPEG file failed.");
    }
    return done;
}

void fcExportPageName(HWND ws, int index, int nameFlags, const char *ext, int format, char *out,
                      int size)
{
    std::string name;
    if (nameFlags & 1) {
        char file[UT_PATH_SIZE] = "";
        if (wsGetDocFileName(ws, file)) {
            char base[UT_PATH_SIZE];
            utCopyNameNoExt(base, file, UT_PATH_SIZE - 1);
            name += base;
        }
    }
    if (nameFlags & 2)
        name += "_";
    if (nameFlags & 4)
        name += "p";
    if (nameFlags & 8)
        name += std::to_string(index);
    if (nameFlags & 16)
        name += std::to_string(index + 1);
    std::string e = ext && *ext ? std::string(ext).substr(0, 4) : std::string(fcExtByImageFormat(format));
    if (!e.empty() && e[0] == '.')
        e.erase(0, 1);
    name += "." + e;
    utStrCopyN(out, name.c_str(), size);
}

int fcExportPages(HWND ws, const int *indices, int count, const char *folder, int nameFlags,
                  const char *ext, int format, BOOL report)
{
    MemHandle form = wsGetDocument(ws);
    if (!form || !folder)
        return 0;
    std::vector<int> pages;
    if (indices)
        pages.assign(indices, indices + std::max(count, 0));
    else
        for (int i = 0; i < fmGetPageCount(form); ++i)
            pages.push_back(i);
    int written = 0;
    for (size_t k = 0; k < pages.size(); ++k) {
        char name[UT_PATH_SIZE], path[UT_PATH_SIZE];
        fcExportPageName(ws, pages[k], nameFlags, ext, format, name, sizeof name);
        utJoinPath(path, folder, name);
        if (fcExportPage(ws, pages[k], path, format, TRUE, report)) {
            ++written;
        } else if (k + 1 < pages.size() &&
                   utMessageBox(ownerOf(ws), "There are more pages to export.  OK to continue?",
                                MB_OKCANCEL | MB_ICONQUESTION) != IDOK) {
            break;
        }
    }
    return written;
}

BOOL fcParsePageList(const char *text, int pageCount, std::vector<int> *pages)
{
    pages->clear();
    const char *p = text ? text : "";
    while (*p) {
        while (*p == ' ' || *p == ',')
            ++p;
        if (!*p)
            break;
        if (*p < '0' || *p > '9')
            return FALSE;
        long first = strtol(p, const_cast<char **>(&p), 10), last = first;
        while (*p == ' ')
            ++p;
        if (*p == '-') {
            ++p;
            while (*p == ' ')
                ++p;
            if (*p < '0' || *p > '9')
                return FALSE;
            last = strtol(p, const_cast<char **>(&p), 10);
        }
        if (first < 1 || last < first || last > pageCount)
            return FALSE;
        for (long n = first; n <= last; ++n)
            if (std::find(pages->begin(), pages->end(), (int)n - 1) == pages->end())
                pages->push_back((int)n - 1);
        while (*p == ' ')
            ++p;
        if (*p && *p != ',')
            return FALSE;
    }
    return pages->empty() ? FALSE : TRUE;
}

int fcExportPagesCommand(HWND ws)
{
    const int count = pvGetPageCount(ws);
    if (count <= 0)
        return 0;
    FcExportChoice choice;
    if (!fcRunExportAllDialog(ws, &choice))
        return 0;
    std::vector<int> pages;
    switch (choice.which) {
    case 0: pages.push_back(std::max(pvGetCurrentPageIndex(ws), 0)); break;
    case 1:
        for (int i = 0; i < count; ++i)
            pages.push_back(i);
        break;
    case 2:
        for (int n = std::max(choice.first, 1); n <= std::min(choice.last, count); ++n)
            pages.push_back(n - 1);
        break;
    default:
        if (!fcParsePageList(choice.list, count, &pages)) {
            errorBox(ws, "The page numbers are not valid.");
            return 0;
        }
        break;
    }
    if (pages.empty())
        return 0;
    // The folder and the picture format come from the Save dialog; each
    // page's file is named after the document and the page number.
    char path[UT_PATH_SIZE], ext[8];
    int format = 0;
    if (!askExportFile(ws, path, &format, ext))
        return 0;
    char folder[UT_PATH_SIZE];
    utStrCopyN(folder, path, sizeof folder);
    utGetFolder(folder);
    winPushWaitCursor();
    const int written = fcExportPages(ws, pages.data(), (int)pages.size(), folder, 1 | 2 | 4 | 16,
                                      ext, format, TRUE);
    winPopWaitCursor();
    if (written)
        fcPutExportPath(path);
    return written;
}

// ---- "ExportAll" -----------------------------------------------------------------------------

namespace {

struct ExportAllState {
    int pages;
    FcExportChoice *choice;
};

void enableExportControls(HWND dialog)
{
    const bool range = IsDlgButtonChecked(dialog, 112) == BST_CHECKED;
    const bool list = IsDlgButtonChecked(dialog, 113) == BST_CHECKED;
    for (int id : {114, 115, 116, 117})
        EnableWindow(GetDlgItem(dialog, id), range);
    for (int id : {190, 191})
        EnableWindow(GetDlgItem(dialog, id), list);
}

}  // namespace

INT_PTR CALLBACK ExportAllDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG: {
        SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const ExportAllState *s = (const ExportAllState *)lParam;
        char text[64];
        snprintf(text, sizeof text, "All %d %s", s->pages, s->pages == 1 ? "page" : "pages");
        SetDlgItemTextA(dialog, 111, text);
        CheckRadioButton(dialog, 110, 113, 110);
        SetDlgItemInt(dialog, 115, 1, FALSE);
        SetDlgItemInt(dialog, 117, (UINT)(s->pages > 0 ? s->pages : 1), FALSE);
        if (s->pages <= 1) {
            EnableWindow(GetDlgItem(dialog, 112), FALSE);
            EnableWindow(GetDlgItem(dialog, 113), FALSE);
        }
        enableExportControls(dialog);
        return TRUE;
    }
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        if (id >= 110 && id <= 113) {
            enableExportControls(dialog);
            return TRUE;
        }
        ExportAllState *s = (ExportAllState *)GetWindowLongPtrA(dialog, DWLP_USER);
        if (id == IDOK && s && s->choice) {
            FcExportChoice &c = *s->choice;
            c.which = 0;
            for (int k = 0; k < 4; ++k)
                if (IsDlgButtonChecked(dialog, 110 + k) == BST_CHECKED)
                    c.which = k;
            c.first = (int)GetDlgItemInt(dialog, 115, nullptr, FALSE);
            c.last = (int)GetDlgItemInt(dialog, 117, nullptr, FALSE);
            GetDlgItemTextA(dialog, 191, c.list, sizeof c.list);
            EndDialog(dialog, 1);
            return TRUE;
        }
        if (id == IDOK || id == IDCANCEL) {
            EndDialog(dialog, id == IDOK ? 1 : 0);
            return TRUE;
        }
        break;
    }
    }
    return FALSE;
}

int fcRunExportAllDialog(HWND ws, FcExportChoice *choice)
{
    if (!choice)
        return 0;
    memset(choice, 0, sizeof *choice);
    ExportAllState state = {pvGetPageCount(ws), choice};
    return DialogBoxParamA(GetModuleHandleA(nullptr), "ExportAll", ownerOf(ws), ExportAllDlgProc,
                           (LPARAM)&state) == 1
               ? 1
               : 0;
}
