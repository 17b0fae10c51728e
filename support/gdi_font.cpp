// Font records, font matching and font lists.
#include "support/gdi_font.h"
#include "support/dm_map.h"
#include "support/dm_printer.h"
#include "support/geo_rect.h"
#include "support/rc_list.h"
#include "support/ut_mem.h"
#include <algorithm>
#include <map>
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

// The font mapping of the points mode.
int32_t g_mapA = 0, g_extX = 1440, g_extY = 1440;

// Cached enumerations: the fonts of one face, and the face lists, per
// context kind (screen or printer) and, for the fonts, mapping.
std::map<std::string, std::vector<GdiEnumFont>> g_fonts;
std::map<int, std::vector<std::string>> g_faces;

std::string lowerFace(const char *face)
{
    std::string s(face ? face : "");
    for (char &c : s)
        c = (char)tolower((unsigned char)c);
    return s;
}

int CALLBACK collectFont(const LOGFONTA *lf, const TEXTMETRICA *tm, DWORD type, LPARAM data)
{
    GdiEnumFont f = {};
    f.lf = *lf;
    f.tm = *tm;
    f.type = type;
    reinterpret_cast<std::vector<GdiEnumFont> *>(data)->push_back(f);
    return 1;
}

// The fonts of a face on the printer or the window's screen context, mapped
// for points when sizeMode is 0; enumerated once per kind, mapping and face.
const std::vector<GdiEnumFont> *facesFonts(HWND hwnd, BOOL usePrinter, int sizeMode,
                                           const char *face)
{
    char key[96];
    snprintf(key, sizeof key, "%d/%d/%d/%d/", usePrinter ? 1 : 0, sizeMode ? 1 : 0,
             sizeMode ? 0 : (int)g_extX, sizeMode ? 0 : (int)g_extY);
    const std::string k = key + lowerFace(face);
    auto it = g_fonts.find(k);
    if (it != g_fonts.end())
        return &it->second;
    HDC dc = usePrinter ? dmCreatePrinterDC(hwnd, 0, 0, 0) : GetDC(hwnd);
    if (!dc)
        return nullptr;   // not cached: a printer may come later
    std::vector<GdiEnumFont> fonts;
    const int saved = SaveDC(dc);
    if (!sizeMode)
        gdiSetFontMapping(dc);
    EnumFontsA(dc, face, collectFont, reinterpret_cast<LPARAM>(&fonts));
    RestoreDC(dc, saved);
    if (usePrinter)
        DeleteDC(dc);
    else
        ReleaseDC(hwnd, dc);
    return &(g_fonts[k] = std::move(fonts));
}

int CALLBACK collectFace(const LOGFONTA *lf, const TEXTMETRICA *, DWORD, LPARAM data)
{
    reinterpret_cast<std::vector<std::string> *>(data)->push_back(lf->lfFaceName);
    return 1;
}

// The first font of the face (case-insensitive); isTrueType when it is one.
BOOL findFace(const std::vector<GdiEnumFont> &fonts, const char *face, BOOL *isTrueType)
{
    for (const GdiEnumFont &f : fonts)
        if (lstrcmpiA(f.lf.lfFaceName, face) == 0) {
            if (isTrueType)
                *isTrueType = (f.type & TRUETYPE_FONTTYPE) != 0;
            return TRUE;
        }
    return FALSE;
}

bool lessNoCase(const std::string &a, const std::string &b)
{
    const int c = lstrcmpiA(a.c_str(), b.c_str());
    return c != 0 ? c < 0 : a < b;
}

}  // namespace

int32_t gdiFontSizeToTwips(int32_t points) { return abs(points) * 20; }

int32_t gdiFontSizeToTwipsF(double points) { return geoRound(fabs(points) * 20.0); }

int32_t gdiTwipsToPointsInt(int32_t twips) { return MulDiv(abs(twips), 1, 20); }

double gdiTwipsToPointsF(int32_t twips) { return abs(twips) / 20.0; }

char *gdiInitLogFontStyled(LOGFONTA *lf, const char *face, int32_t points, uint16_t style)
{
    if (!lf)
        return nullptr;
    memset(lf, 0, sizeof *lf);
    lf->lfHeight = -gdiFontSizeToTwips(points);
    lf->lfWeight = (style & GDI_FONT_BOLD) ? FW_BOLD : FW_NORMAL;
    lf->lfItalic = (style & GDI_FONT_ITALIC) ? 1 : 0;
    lf->lfUnderline = (style & GDI_FONT_UNDERLINE) ? 1 : 0;
    lf->lfStrikeOut = (style & GDI_FONT_STRIKEOUT) ? 1 : 0;
    utStrCopyN(lf->lfFaceName, face ? face : "", sizeof lf->lfFaceName);
    return lf->lfFaceName;
}

char *gdiInitLogFont(LOGFONTA *lf, const char *face, int32_t points)
{
    return gdiInitLogFontStyled(lf, face, points, 0);
}

void gdiSetFontSpec(FontSpec *spec, const char *face, int32_t points)
{
    if (!spec)
        return;
    utStrCopyN(spec->face, face ? face : "", sizeof spec->face);
    spec->size = points;
}

char *gdiLogFontFromSpec(LOGFONTA *lf, const FontSpec *spec)
{
    if (!spec)
        return gdiInitLogFont(lf, "", 0);
    char face[sizeof spec->face];
    utStrCopyN(face, spec->face, sizeof face);
    return gdiInitLogFont(lf, face, (int16_t)(spec->size & 0xFFFF));
}

void gdiSetFontMatchMapping(int32_t a, int32_t extX, int32_t extY)
{
    g_mapA = a;
    g_extX = extX;
    g_extY = extY;
}

void gdiSetFontMapping(HDC dc)
{
    if (!dc)
        return;
    SetMapMode(dc, MM_ANISOTROPIC);
    SetWindowExtEx(dc, g_extX, g_extY, nullptr);
    SetViewportExtEx(dc, GetDeviceCaps(dc, LOGPIXELSX), GetDeviceCaps(dc, LOGPIXELSY), nullptr);
}

BOOL gdiPickFont(const GdiEnumFont *fonts, int n, const char *face, int32_t size, int sizeMode,
                 LOGFONTA *lf)
{
    if (!lf)
        return FALSE;
    utStrCopyN(lf->lfFaceName, face ? face : "", sizeof lf->lfFaceName);
    int32_t best = 9999;
    BOOL found = FALSE;
    for (int i = 0; fonts && i < n; ++i) {
        const GdiEnumFont &f = fonts[i];
        if (lstrcmpiA(f.lf.lfFaceName, lf->lfFaceName) != 0 || f.lf.lfItalic)
            continue;
        const int32_t emUnits = f.tm.tmHeight - f.tm.tmInternalLeading;
        const int32_t em = sizeMode ? emUnits : gdiTwipsToPointsInt(emUnits);
        if (!(f.type & RASTER_FONTTYPE)) {
            // An outline font scales to any size: it ends the search.
            *lf = f.lf;
            lf->lfWidth = 0;
            lf->lfWeight = 0;
            if (sizeMode)
                lf->lfHeight = (int32_t)(size * 1.6);
            else
                lf->lfHeight = em < 1 ? 0 : MulDiv(size, f.lf.lfHeight, em);
            return TRUE;
        }
        const int32_t diff = abs(em - size);
        if (diff < best) {
            best = diff;
            *lf = f.lf;
            lf->lfWidth = 0;
            found = TRUE;
        }
    }
    return found;
}

BOOL gdiMatchFont(HWND hwnd, BOOL usePrinter, int sizeMode, const char *face, int32_t size,
                  LOGFONTA *lf)
{
    if (!lf)
        return FALSE;
    const int16_t want = (int16_t)size;
    const std::vector<GdiEnumFont> *fonts = facesFonts(hwnd, usePrinter, sizeMode, face);
    BOOL found = gdiPickFont(fonts ? fonts->data() : nullptr, fonts ? (int)fonts->size() : 0,
                             face, want, sizeMode, lf);
    if (!found && usePrinter) {
        LOGFONTA out = {};
        fonts = facesFonts(hwnd, FALSE, sizeMode, face);
        if (fonts && gdiPickFont(fonts->data(), (int)fonts->size(), face, want, sizeMode, &out)) {
            *lf = out;
            found = TRUE;
        }
    }
    if (!found) {
        GetObjectA(GetStockObject(SYSTEM_FONT), sizeof *lf, lf);
        if (!sizeMode) {
            lf->lfHeight *= 20;
            lf->lfWidth *= 20;
        }
    }
    return found;
}

BOOL gdiFaceOnDC(HDC dc, const char *face, BOOL *isTrueType)
{
    if (isTrueType)
        *isTrueType = FALSE;
    if (!dc || !face || !*face)
        return FALSE;
    std::vector<GdiEnumFont> fonts;
    EnumFontsA(dc, face, collectFont, reinterpret_cast<LPARAM>(&fonts));
    return findFace(fonts, face, isTrueType);
}

BOOL gdiFontExists(HWND hwnd, BOOL usePrinter, const char *face, BOOL *isTrueType)
{
    if (isTrueType)
        *isTrueType = FALSE;
    if (!face || !*face)
        return FALSE;
    // The cached enumeration in device units serves every question.
    const std::vector<GdiEnumFont> *fonts = facesFonts(hwnd, usePrinter, 1, face);
    return fonts && findFace(*fonts, face, isTrueType);
}

MemHandle gdiListFontFaces(HWND hwnd, BOOL usePrinter)
{
    int kind = usePrinter ? 1 : 0;
    auto it = g_faces.find(kind);
    if (it == g_faces.end()) {
        HDC dc = usePrinter ? dmCreatePrinterDC(hwnd, 0, 0, 0) : nullptr;
        BOOL printer = dc != nullptr;
        if (!dc) {
            kind = 0;
            it = g_faces.find(kind);
        }
        if (it == g_faces.end()) {
            if (!dc)
                dc = GetDC(hwnd);
            if (!dc)
                return 0;
            LOGFONTA want = {};
            want.lfCharSet = DEFAULT_CHARSET;
            std::vector<std::string> faces;
            EnumFontFamiliesExA(dc, &want, collectFace, reinterpret_cast<LPARAM>(&faces), 0);
            if (printer)
                DeleteDC(dc);
            else
                ReleaseDC(hwnd, dc);
            std::sort(faces.begin(), faces.end(), lessNoCase);
            faces.erase(std::unique(faces.begin(), faces.end(),
                                    [](const std::string &a, const std::string &b) {
                                        return lstrcmpiA(a.c_str(), b.c_str()) == 0;
                                    }),
                        faces.end());
            it = g_faces.emplace(kind, std::move(faces)).first;
        }
    }
    const std::vector<std::string> &faces = it->second;
    if (faces.empty())
        return 0;
    std::string text;
    for (const std::string &f : faces) {
        text += f;
        text += '\n';
    }
    return utHandleFromString(text.c_str());
}

int gdiFontMetrics(HDC dc, const void *fontRecord, int32_t *avgWidth, int32_t *height,
                   int32_t *extLeading, int32_t *lineHeight, int32_t *ascent)
{
    if (!dc || !fontRecord)
        return 0;
    LOGFONTA lf;
    memcpy(&lf, fontRecord, sizeof lf);
    HFONT font = dmCreateFont(&lf);
    HGDIOBJ old = font ? SelectObject(dc, font) : nullptr;
    TEXTMETRICA tm = {};
    GetTextMetricsA(dc, &tm);
    if (old)
        SelectObject(dc, old);
    if (font)
        DeleteObject(font);
    if (avgWidth)
        *avgWidth = tm.tmAveCharWidth;
    if (height)
        *height = tm.tmHeight;
    if (extLeading)
        *extLeading = tm.tmExternalLeading;
    if (lineHeight)
        *lineHeight = tm.tmHeight + tm.tmExternalLeading;
    if (ascent)
        *ascent = tm.tmAscent;
    return 1;
}

BOOL gdiCharsetName(int charset, char *name)
{
    static const struct {
        int charset;
        const char *name;
    } kNames[] = {
        {2, "Symbol"},        {128, "Japanese JIS"}, {129, "Korean HANGUEL"}, {130, "JOHAB"},
        {134, "Chinese GB"},  {136, "Chinese Big5"}, {161, "Greek"},          {162, "Turkish"},
        {163, "Vietnamese"},  {177, "Hebrew"},       {178, "Arabic"},         {204, "Russian"},
        {222, "Thai"},        {238, "East European"},
    };
    if (name)
        name[0] = 0;
    for (const auto &n : kNames)
        if (n.charset == charset) {
            if (name)
                strcpy(name, n.name);
            return TRUE;
        }
    return FALSE;
}

void gdiResetFontCache()
{
    g_fonts.clear();
    g_faces.clear();
}
