// Font records and font matching: LOGFONT records from a face, a size in
// points and style bits; completing a LOGFONT for a face by enumerating the
// fonts of the screen or the printer (the best raster size, or an outline
// font scaled); whether a face exists; the list of installed faces; text
// metrics of a font record; names of character sets.
//
// The enumerations are cached per context kind and face, so matching the
// same face again costs no enumeration (gdiResetFontCache drops them, e.g.
// after WM_FONTCHANGE).
#pragma once
#include "support/qmwin.h"

// Style bits of gdiInitLogFontStyled.
enum : uint16_t {
    GDI_FONT_BOLD = 1,
    GDI_FONT_ITALIC = 2,
    GDI_FONT_UNDERLINE = 4,
    GDI_FONT_STRIKEOUT = 8,
};

// The FontSpec record: the size at +0 (written as 32 bits, read as its low
// 16 bits), the face (at most 32 characters and a terminator) at +4.
#pragma pack(push, 1)
struct FontSpec {
    int32_t size;
    char face[33];
};
#pragma pack(pop)

int32_t gdiFontSizeToTwips(int32_t points);     // |points| x 20
int32_t gdiFontSizeToTwipsF(double points);     // geoRound(|points| x 20)
int32_t gdiTwipsToPointsInt(int32_t twips);     // |twips| / 20, rounded
double gdiTwipsToPointsF(int32_t twips);        // |twips| / 20.0

// Zeroes the record, height = -(|points| x 20), weight 700 with style bit 1
// (else 400), italic, underline and strike-out from bits 2, 4, 8; copies
// the face. Returns the record's face field.
char *gdiInitLogFontStyled(LOGFONTA *lf, const char *face, int32_t points, uint16_t style);
char *gdiInitLogFont(LOGFONTA *lf, const char *face, int32_t points);
void gdiSetFontSpec(FontSpec *spec, const char *face, int32_t points);
char *gdiLogFontFromSpec(LOGFONTA *lf, const FontSpec *spec);

// The window extents the matching gives a context in points mode (the first
// value is kept only). Initially 1440 x 1440: one logical unit per twip.
void gdiSetFontMatchMapping(int32_t a, int32_t extX, int32_t extY);
// MM_ANISOTROPIC, window extent (extX, extY), viewport extent LOGPIXELSX,
// LOGPIXELSY of the context.
void gdiSetFontMapping(HDC dc);

// One enumerated font: what EnumFontsA reports.
struct GdiEnumFont {
    LOGFONTA lf;
    TEXTMETRICA tm;
    DWORD type;
};
// The choice among the enumerated fonts of a face: italic fonts and other
// faces are skipped; the first outline font is taken scaled to the size
// (device mode: trunc(size x 1.6); points mode: MulDiv(size, its height, em)
// with em its em height in points, 0 when em < 1); otherwise the raster font
// whose em height is nearest to the size (the first of equal differences).
// lf gets the choice; its face is set to the face in any case. 1 when found.
BOOL gdiPickFont(const GdiEnumFont *fonts, int n, const char *face, int32_t size,
                 int sizeMode, LOGFONTA *lf);
// Completes a LOGFONT for a face and a size (points when sizeMode is 0, the
// context then mapped by gdiSetFontMapping; device units otherwise) on the
// printer (usePrinter) or the window's screen context; a search that finds
// nothing on the printer is repeated on the screen. Not found: lf is the
// stock system font (height and width x 20 in points mode) and 0 returned.
BOOL gdiMatchFont(HWND hwnd, BOOL usePrinter, int sizeMode, const char *face, int32_t size,
                  LOGFONTA *lf);
// Whether a font of the face (case-insensitive) is on the screen (or the
// printer); isTrueType (may be null) when that font is TrueType.
BOOL gdiFontExists(HWND hwnd, BOOL usePrinter, const char *face, BOOL *isTrueType);
// The same on a given context.
BOOL gdiFaceOnDC(HDC dc, const char *face, BOOL *isTrueType);
// The installed faces, each once, sorted without regard to case, in a new
// list separated by character 10 (the caller frees it); the screen's when the
// printer's context cannot be had; 0 when there is no context or no face.
MemHandle gdiListFontFaces(HWND hwnd, BOOL usePrinter);
// Text metrics of a font record (a LOGFONT) on the context: average width,
// height, external leading, line height (height + leading) and ascent; any
// out may be null. Returns 1 (0 without a context or record).
int gdiFontMetrics(HDC dc, const void *fontRecord, int32_t *avgWidth, int32_t *height,
                   int32_t *extLeading, int32_t *lineHeight, int32_t *ascent);
// The name of a character set into name (at least 16 bytes); an empty name
// and 0 for a set without one.
BOOL gdiCharsetName(int charset, char *name);
// Forgets the cached enumerations.
void gdiResetFontCache();
