// The object clipboard: formats, copy with renditions, paste by format.
#include "commands/clip_formats.h"
#include "commands/obj_block.h"
#include "app/app_frame.h"
#include "support/app_ui_state.h"
#include "commands/app_stdbar.h"
#include "forms/fld_button.h"
#include "model/lay_layers.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_links.h"
#include "model/ob_record.h"
#include "model/pg_margins.h"
#include "model/pg_record.h"
#include "objects/img_render.h"
#include "objects/mf_emf.h"
#include "objects/mf_pict.h"
#include "support/dlg_choice.h"
#include "support/dlg_select.h"
#include "support/dm_map.h"
#include "support/ut_bytes.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "text/tx_flow.h"
#include "text/tx_label.h"
#include "text/tx_measure.h"
#include "text/tx_object.h"
#include "text/tx_stream.h"
#include "textedit/te_clip.h"
#include "textedit/te_session.h"
#include "tools/ep_factory.h"
#include "views/pv_page.h"
#include "model/ws_document.h"
#include "views/ws_record.h"
#include "views/ws_tools.h"
#include <algorithm>
#include <math.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

UINT g_objectFormat = 0;
UINT g_textFormat = 0;
UINT g_pasteFormats[CLIP_PASTE_FORMATS] = {0, 0, CF_TEXT, CF_ENHMETAFILE, CF_BITMAP, CF_DIB};
ClipFormatName g_special[CLIP_SPECIAL_ROWS] = {
    {0, "Quillmark Object"},
    {0, "Quillmark Text"},
    {CF_ENHMETAFILE, "Enhanced Meta File"},
    {CF_BITMAP, "Bitmap"},
    {CF_DIB, "Device Independent Bitmap"},
    {CF_TEXT, "Text"},
};

const UINT kIdsPressOk = 5000;
const char kTextRowName[] = "Text";
const char kNameClashText[] = "The object's name \r\n'%s'\r\n has been used.  Rename if desired";
const char kOutsideMarginText[] =
    "The text object is outside your page margin.  You may want to move it afterward.";
const char kOverflowPrompt[] = "Text exceeds the bottom of the page (margin).  You can:";
const int32_t kTextInset = 120;   // 6 points

// Types whose copy carries no text and no bitmap rendition.
bool noRendition(int16_t type)
{
    switch (type) {
    case OBT_ENTRY: case OBT_LIST_FIELD: case OBT_TABLE: case OBT_FIELD51: case OBT_REPORT:
    case OBT_METAPICT: case OBT_COUNTER: case OBT_ENTRY_REF: case OBT_EQUATION: case OBT_USER:
    case OBT_NOTE:
        return true;
    default:
        return false;
    }
}

// A copy of bytes in a new movable global block.
HGLOBAL globalFromBytes(const void *bytes, uint32_t n)
{
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, n ? n : 1);
    if (!g)
        return nullptr;
    if (void *p = GlobalLock(g)) {
        if (n)
            memcpy(p, bytes, n);
        GlobalUnlock(g);
    }
    return g;
}

BOOL putGlobal(UINT format, HGLOBAL g)
{
    if (!g)
        return FALSE;
    if (SetClipboardData(format, g))
        return TRUE;
    GlobalFree(g);
    return FALSE;
}

BOOL putString(UINT format, const char *s)
{
    return s ? putGlobal(format, globalFromBytes(s, (uint32_t)strlen(s) + 1)) : FALSE;
}

void putBitmap(HWND ws, MemHandle object)
{
    if (HBITMAP bitmap = imgRenderObjectBitmap(ws, object))
        if (!SetClipboardData(CF_BITMAP, bitmap))
            DeleteObject(bitmap);
}

void putMetafiles(HWND ws, MemHandle object)
{
    if (HGLOBAL pict = clipMakeMetafilePict(ws, object)) {
        if (!SetClipboardData(CF_METAFILEPICT, pict)) {
            if (auto *mp = (METAFILEPICT *)GlobalLock(pict)) {
                DeleteMetaFile(mp->hMF);
                GlobalUnlock(pict);
            }
            GlobalFree(pict);
        }
    }
    if (HENHMETAFILE emf = clipMakeEnhMetafile(ws, object))
        if (!SetClipboardData(CF_ENHMETAFILE, emf))
            DeleteEnhMetaFile(emf);
}

// Any priority format present, without opening the clipboard.
BOOL anyPasteFormat()
{
    for (UINT f : g_pasteFormats)
        if (f && IsClipboardFormatAvailable(f))
            return TRUE;
    return FALSE;
}

bool treeHasBitmapOrPatternFill(MemHandle h)
{
    std::vector<MemHandle> todo = {h};
    while (!todo.empty()) {
        MemHandle o = todo.back();
        todo.pop_back();
        if (!o)
            continue;
        ObLock r(o);
        if (!r)
            continue;
        if (r->type == OBT_BITMAP || r->fillKind == 2)
            return true;
        todo.push_back(r->firstMember);
        todo.push_back(r->nextMember);
        todo.push_back(r->attached);
    }
    return false;
}

MemHandle currentPage(HWND ws) { return pvGetCurrentPage(ws); }

// The bytes of a handle (all of its block), and its text up to the
// terminator (never past the block); the handle is freed.
std::vector<uint8_t> takeBytes(MemHandle h)
{
    std::vector<uint8_t> out;
    {
        MemLock<uint8_t> p(h);
        if (p)
            out.assign(p.get(), p.get() + utHandleSize(h));
    }
    utFreeHandle(h);
    return out;
}

std::string takeString(MemHandle h)
{
    std::vector<uint8_t> b = takeBytes(h);
    const char *s = (const char *)b.data();
    return b.empty() ? std::string() : std::string(s, strnlen(s, b.size()));
}

BOOL putBytes(UINT format, const std::vector<uint8_t> &b)
{
    return b.empty() ? FALSE : putGlobal(format, globalFromBytes(b.data(), (uint32_t)b.size()));
}

// The list box over the special-format names (separated by CR): the format
// of the chosen row, 0 when none was chosen.
UINT chooseSpecialFormat(HWND ws, const char *title, const std::string &names)
{
    MemHandle items = utHandleFromString(names.c_str());
    MemHandle chosen = dlgSelectFromList(ws, title, items, '\r');
    utFreeHandle(items);
    if (!chosen)
        return 0;
    const std::string name = takeString(chosen);
    for (const ClipFormatName &row : g_special)
        if (lstrcmpiA(name.c_str(), row.name) == 0)
            return row.format;
    return 0;
}

}  // namespace

// ---- formats ----------------------------------------------------------------------------------

UINT clipRegisterFormats(const char *name)
{
    g_objectFormat = (name && *name) ? RegisterClipboardFormatA(name) : 0;
    g_textFormat = teRegisterClipFormat();
    g_pasteFormats[0] = g_objectFormat;
    g_pasteFormats[1] = g_textFormat;
    g_special[0].format = g_objectFormat;
    g_special[1].format = g_textFormat;
    return g_objectFormat;
}

UINT clipObjectFormat() { return g_objectFormat; }

BOOL clipHasObject() { return g_objectFormat && IsClipboardFormatAvailable(g_objectFormat); }

const UINT *clipPasteFormats() { return g_pasteFormats; }

const ClipFormatName *clipSpecialTable() { return g_special; }

int clipCanPaste(HWND ws)
{
    if (!OpenClipboard(ws)) {
        utErrorBoxRes(ws, IDS_CLIP_CANNOT_OPEN, kIdsPressOk);
        return 0;
    }
    const BOOL any = anyPasteFormat();
    CloseClipboard();
    return any ? 1 : 0;
}

// ---- copy --------------------------------------------------------------------------------------

int clipCopyObject(HWND ws, MemHandle object)
{
    return clipSetObjectData(ws, object, g_objectFormat);
}

int clipSetObjectBlock(MemHandle object, UINT format)
{
    if (!object || !format)
        return 0;
    // The block holds the object's own tree only: its neighbours in the
    // page's list are cut for the packing and put back afterwards.
    const MemHandle prev = obGetPrev(object), next = obGetNext(object);
    obSetPrev(object, 0);
    obSetNext(object, 0);
    MemHandle block = objPackTree(object);
    obSetPrev(object, prev);
    obSetNext(object, next);
    if (!block)
        return 0;
    BOOL ok = FALSE;
    {
        MemLock<uint8_t> p(block);
        if (p) {
            const uint32_t total = utGetAt<uint32_t>(p.get(), 0);
            ok = putGlobal(format, globalFromBytes(p.get(), std::min(total, utHandleSize(block))));
        }
    }
    utFreeHandle(block);
    return ok ? 1 : 0;
}

int clipSetObjectData(HWND ws, MemHandle object, UINT format)
{
    if (!OpenClipboard(ws))
        return 1;
    EmptyClipboard();
    clipSetObjectBlock(object, format);
    const int16_t type = obGetType(object);
    bool bitmap = !noRendition(type);
    if (type == OBT_TEXT) {
        teCopyObjectText(object);
        bitmap = !txIsWrapped(object);
    } else if (type == OBT_LABEL) {
        if (MemHandle text = txLabelToText(object)) {
            teCopyObjectText(text);
            obFreeTree(text);
        }
    } else if (type == OBT_BUTTON) {
        if (MemHandle label = fldButtonGetLabel(object))
            putString(CF_TEXT, takeString(label).c_str());
    }
    if (bitmap)
        putBitmap(ws, object);
    if (clipWantsMetafiles(object))
        putMetafiles(ws, object);
    CloseClipboard();
    return 1;
}

BOOL clipWantsMetafiles(MemHandle object)
{
    return object && !treeHasBitmapOrPatternFill(object);
}

int32_t clipTwipsToHimetric(int32_t twips)
{
    return (int32_t)lround(twips * 25.4 * 100.0 / 1440.0);
}

HGLOBAL clipMakeMetafilePict(HWND ws, MemHandle object)
{
    if (!object)
        return nullptr;
    if (obGetType(object) == OBT_METAPICT)
        return mfPictToClipboard(object);
    RECT frame, drawn;
    obGetRect(object, &frame);
    obGetDrawnRect(object, &drawn);
    const int32_t ox = drawn.right - frame.right, oy = drawn.bottom - frame.bottom;
    POINT centre;
    obGetCentre(object, &centre);
    const int32_t dx = (drawn.right + ox - drawn.left) / 2 - centre.x;
    const int32_t dy = (drawn.bottom + oy - drawn.top) / 2 - centre.y;
    HDC dc = CreateMetaFileA(nullptr);
    if (!dc)
        return nullptr;
    wsApplyViewMapping(ws);
    const uint16_t mapMode = dmGetMapMode();
    obMoveBy(object, dx, dy);
    const RECT over = {drawn.left, drawn.top, drawn.right + 2 * ox, drawn.bottom + 2 * oy};
    const BOOL mapped = dmMetafileMapping(dc, &over, TRUE);
    txUseScreenRefDC(TRUE);
    dmSetMetafileMode(TRUE);
    obDraw(dc, object);
    dmSetMetafileMode(FALSE);
    txUseScreenRefDC(FALSE);
    if (mapped)
        dmMetafileMapping(dc, &over, FALSE);
    obMoveBy(object, -dx, -dy);
    HMETAFILE mf = CloseMetaFile(dc);
    if (!mf)
        return nullptr;
    HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE, sizeof(METAFILEPICT));
    auto *mp = g ? (METAFILEPICT *)GlobalLock(g) : nullptr;
    if (!mp) {
        if (g)
            GlobalFree(g);
        DeleteMetaFile(mf);
        return nullptr;
    }
    mp->mm = mapMode;
    mp->xExt = clipTwipsToHimetric(frame.right - frame.left);
    mp->yExt = clipTwipsToHimetric(frame.bottom - frame.top);
    mp->hMF = mf;
    GlobalUnlock(g);
    return g;
}

HENHMETAFILE clipMakeEnhMetafile(HWND ws, MemHandle object)
{
    if (!object)
        return nullptr;
    if (obGetType(object) == OBT_ENHANCED_MF) {
        HENHMETAFILE own = mfEmfHandleH(object);
        return own ? CopyEnhMetaFileA(own, nullptr) : nullptr;
    }
    HDC dc = CreateEnhMetaFileA(nullptr, nullptr, nullptr, nullptr);
    if (!dc)
        return nullptr;
    wsApplyViewMapping(ws);
    dmSetMapping(dc);
    obDraw(dc, object);
    return CloseEnhMetaFile(dc);
}

int clipCopyInFormat(HWND ws, MemHandle object, UINT format)
{
    if (!object || !format || !OpenClipboard(ws))
        return 0;
    EmptyClipboard();
    const int16_t type = obGetType(object);
    if (format == g_objectFormat) {
        clipSetObjectBlock(object, format);
    } else if (format == g_textFormat) {
        if (type == OBT_TEXT) {
            // The text rendition as Copy puts it, without its plain twin.
            teCopyObjectText(object);
            if (IsClipboardFormatAvailable(CF_TEXT)) {
                EmptyClipboard();
                putBytes(g_textFormat, takeBytes(txGetFormattedStream(object)));
            }
        }
    } else if (format == CF_TEXT) {
        MemHandle text = 0;
        switch (type) {
        case OBT_TEXT: text = txGetPlainText(object); break;
        case OBT_BUTTON: case OBT_CHECKBOX: case OBT_RADIO: case OBT_GROUP_BOX:
            text = fldButtonGetLabel(object);
            break;
        case OBT_LABEL: text = txCopyLabelText(object); break;
        default: break;
        }
        if (text)
            putString(CF_TEXT, takeString(text).c_str());
    } else if (format == CF_BITMAP) {
        putBitmap(ws, object);
    } else if (format == CF_DIB) {
        if (MemHandle dib = imgRenderObjectDib(ws, object))
            putBytes(CF_DIB, takeBytes(dib));
    } else if (format == CF_ENHMETAFILE) {
        if (HENHMETAFILE emf = clipMakeEnhMetafile(ws, object))
            if (!SetClipboardData(CF_ENHMETAFILE, emf))
                DeleteEnhMetaFile(emf);
    }
    CloseClipboard();
    return 1;
}

UINT clipChooseCopyFormat(HWND ws, BOOL withText)
{
    std::string names;
    for (const ClipFormatName &row : g_special) {
        if (!withText && strcmp(row.name, kTextRowName) == 0)
            continue;
        if (!names.empty())
            names += '\r';
        names += row.name;
    }
    return chooseSpecialFormat(ws, "Select a Clip Board format", names);
}

void clipEmpty(HWND ws)
{
    if (OpenClipboard(ws)) {
        EmptyClipboard();
        CloseClipboard();
    }
}

void clipEmptyOwn(HWND ws)
{
    if ((g_objectFormat && IsClipboardFormatAvailable(g_objectFormat)) ||
        (g_textFormat && IsClipboardFormatAvailable(g_textFormat)))
        clipEmpty(ws);
}

// ---- paste ------------------------------------------------------------------------------------

MemHandle clipReadTextBlock(const void *bytes, uint32_t available)
{
    if (!bytes)
        return 0;
    const char *s = (const char *)bytes;
    const uint32_t n = (uint32_t)strnlen(s, available);
    std::string text(s, n);
    return utHandleFromBytes(text.c_str(), n + 1);
}

MemHandle clipMakeTextObject(HWND ws, const char *text, int kind, const RECT *rect)
{
    if (!text)
        return 0;
    RECT box;
    if (rect) {
        box = *rect;
    } else {
        box = {720, 720, 11520, 14400};
        pgGetMarginRect(currentPage(ws), &box);
        InflateRect(&box, -kTextInset, -kTextInset);
    }
    const POINT pts[2] = {{box.left, box.top}, {box.right, box.bottom}};
    MemHandle object = epCreateObject(ws, 0, OBT_TEXT, pts, 2);
    if (!object)
        return 0;
    if (obGetType(object) != OBT_TEXT) {
        obFreeTree(object);
        return 0;
    }
    return txReplaceText(ws, object, text, kind, FALSE, FALSE);
}

int clipNameClash(HWND ws, MemHandle *object, BOOL showMessage)
{
    if (!object || !*object)
        return 0;
    char name[kObMaxNameBytes + 1] = {};
    obGetName(*object, name);
    if (!name[0])
        return 0;
    if (!wsFindObjectByName(ws, name))
        return 0;
    if (showMessage) {
        std::string text(sizeof kNameClashText + sizeof name, '\0');
        snprintf(&text[0], text.size(), kNameClashText, name);
        utMessageBox(ws, text.c_str(), MB_ICONINFORMATION);
    }
    *object = obSetName(*object, "");
    return 1;
}

MemHandle clipPasteObjectBytes(HWND ws, const void *bytes, uint32_t available)
{
    MemHandle object = objUnpackTreeAt(bytes, available);
    if (!object)
        return 0;
    const uint32_t layer = layGetCurrent();
    obSetHeadField(object, OBH_LAYER, &layer);
    clipNameClash(ws, &object, TRUE);
    return object;
}

MemHandle clipPasteObjectBlock(HWND ws, MemHandle block)
{
    std::vector<uint8_t> copy;
    {
        MemLock<uint8_t> p(block);
        if (!p)
            return 0;
        copy.assign(p.get(), p.get() + utHandleSize(block));
    }
    return clipPasteObjectBytes(ws, copy.data(), (uint32_t)copy.size());
}

MemHandle clipPasteByFormat(HWND ws, UINT format, POINT position)
{
    if (!format || !OpenClipboard(ws))
        return 0;
    HANDLE data = GetClipboardData(format);
    if (!data) {
        CloseClipboard();
        return 0;
    }
    MemHandle object = 0;
    if (format == CF_BITMAP || format == CF_DIB) {
        // The bitmap reader opens the clipboard itself.
        CloseClipboard();
        uint8_t mapping = 0;
        pgGetProp(currentPage(ws), 59, &mapping);
        object = imgPasteBitmap(ws, position, format, mapping);
    } else {
        if (format == CF_ENHMETAFILE) {
            object = mfEmfFromHandle((HENHMETAFILE)data);
        } else {
            const uint32_t size = (uint32_t)GlobalSize((HGLOBAL)data);
            const void *bytes = GlobalLock((HGLOBAL)data);
            if (bytes) {
                if (format == g_objectFormat) {
                    object = clipPasteObjectBytes(ws, bytes, size);
                } else if (format == g_textFormat) {
                    // A stream whose codes run past the block is refused.
                    if (txCheckStreamBounded((const char *)bytes, size) >= 0)
                        object = clipMakeTextObject(ws, (const char *)bytes, TXK_CODED, nullptr);
                } else if (format == CF_TEXT) {
                    const std::string text = takeString(clipReadTextBlock(bytes, size));
                    object = clipMakeTextObject(ws, text.c_str(), TXK_PLAIN, nullptr);
                }
                GlobalUnlock((HGLOBAL)data);
            }
        }
        CloseClipboard();
    }
    if (!object)
        return 0;
    objPlaceCorner(object, position, 1);
    if (obGetType(object) == OBT_TEXT && !txIsCurved(object) && txCountLines(object) == 1)
        object = txFitPastedWrap(object, 4);
    return object;
}

MemHandle clipPasteInPriority(HWND ws, POINT position)
{
    for (UINT f : g_pasteFormats)
        if (f && IsClipboardFormatAvailable(f))
            return clipPasteByFormat(ws, f, position);
    return 0;
}

int txCheckNewTextFit(HWND ws, MemHandle object)
{
    if (!object || obGetType(object) != OBT_TEXT)
        return 0;
    RECT m = {720, 720, 11520, 14400};
    pgGetMarginRect(currentPage(ws), &m);
    InflateRect(&m, -kTextInset, -kTextInset);
    RECT r;
    obGetRect(object, &r);
    RECT meet;
    if (r.bottom - r.top <= m.bottom - m.top && !IntersectRect(&meet, &r, &m)) {
        utMessageBox(ws, kOutsideMarginText, MB_ICONINFORMATION);
        return 0;
    }
    if (r.bottom <= m.bottom)
        return 0;
    static const char *const texts[4] = {
        "Keep the text as is.", "Flow to the next page.", "Cutoff at the bottom of the page.",
        "Reduce to a smaller font and see if it fits."};
    static const uint16_t values[4] = {1, 2, 3, 4};
    static const WPARAM commands[5] = {0, 0, 2202, 2203, 455};
    const int choice = dlgChoice(ws, kOverflowPrompt, texts, values, 4);
    if (choice < 2 || choice > 4)
        return 0;
    PostMessageA(ws, WM_COMMAND, commands[choice], 0);
    return 1;
}

UINT clipPasteSpecial(HWND ws)
{
    std::string names;
    for (const ClipFormatName &row : g_special) {
        if (!row.format || !IsClipboardFormatAvailable(row.format))
            continue;
        if (!names.empty())
            names += '\r';
        names += row.name;
    }
    if (names.empty())
        return 0;
    return chooseSpecialFormat(ws, "Select a format from the Clip Board", names);
}

// ---- the frame ----------------------------------------------------------------------------

void clipUpdatePasteButton(HWND frame, UINT msg, WPARAM wParam, LPARAM lParam)
{
    HWND ws = appGetActiveWorkspace();
    BOOL on = FALSE;
    if (ws && IsWindow(ws)) {
        switch (wsGetToolMode(ws)) {
        case TM_TEXT: on = teCanPaste(); break;
        case TM_TABLE: on = IsClipboardFormatAvailable(CF_TEXT) || clipHasObject(); break;
        default: on = clipCanPaste(ws); break;
        }
    }
    appSetStdBarButton(203, on);
    if (HWND next = appGetNextViewer(frame))
        SendMessageA(next, msg, wParam, lParam);
}
