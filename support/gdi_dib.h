// Device-independent bitmaps kept as packed DIBs in memory blocks (a 40-byte
// BITMAPINFOHEADER or a 12-byte BITMAPCOREHEADER, the colour table, the
// pixel rows bottom-up padded to 4 bytes), their conversions to and from
// device-dependent bitmaps, BMP files and palettes, and drawing with one
// colour transparent (msimg32's TransparentBlt when the program holds it,
// else a mask and two raster operations).
//
// Many operations take a prefix: the byte offset at which the DIB starts
// in its block, leaving room for a caller's own header in front.
#pragma once
#include "support/qmwin.h"

// ---- sizes and headers --------------------------------------------------------------
// The used-colour count when not 0, else 2, 16 or 256 for 1, 4 or 8 bits, else
// 0 (no table). For 1, 4 and 8 bits never more than 2^bits.
uint32_t gdiDibColorCount(const BITMAPINFOHEADER *header);
// The colour count x 4 (x 3 after a 12-byte core header), plus the 12 bytes
// of the three colour masks of a BI_BITFIELDS info header.
uint32_t gdiDibColorTableSize(const BITMAPINFOHEADER *header);
// (width x bits + 7) / 8: one row, unpadded; and rounded up to 4.
uint32_t gdiDibRowBytes(const BITMAPINFOHEADER *header);
uint32_t gdiDibStride(const BITMAPINFOHEADER *header);
// ((width x bits + 7) / 8 rounded up to 4) x |height|; 0xFFFFFFFF when it
// does not fit 32 bits (no block can hold it).
uint32_t gdiDibImageSize(int32_t width, int32_t height, uint16_t bits);
// Header size + colour table + image size; an image size of 0 in an info
// header is first filled in as stride x height. 0xFFFFFFFF when too large.
uint32_t gdiDibTotalSize(BITMAPINFOHEADER *header);
// Address of the pixel bits: header + header size + colour table.
uint8_t *gdiDibBitsPtr(BITMAPINFOHEADER *header);
// Copies the 40-byte header at the prefix of the block (a core header is
// widened); for info headers an image size of 0 becomes ((width x bits +
// 31) / 32 x 4) x height and a used-colour count of 0 the colour count.
// 0 for a null block or one too small for a header, else 1.
int gdiDibInfo(MemHandle block, uint32_t prefix, BITMAPINFOHEADER *out);
// New block holding a copy of the whole packed DIB; 0 when memory fails.
MemHandle gdiCopyDib(const BITMAPINFOHEADER *header);
// The packed DIB's total size when its header is one this program reads
// (12 or 40 bytes, width and height not 0, 1, 4, 8, 16, 24 or 32 bits, a
// compression that fits the bits, at most 2^bits colours) and the header,
// colour table and pixels lie within `available` bytes; else 0. An RLE
// image's size is its header's.
uint32_t gdiDibCheckedSize(const BITMAPINFOHEADER *header, uint32_t available);

// ---- conversions -------------------------------------------------------------------
// CreateDIBitmap (CBM_INIT, DIB_RGB_COLORS) of the packed DIB at the start
// of the block; 0 for a null block or a DIB that does not lie within it.
HBITMAP gdiDibToBitmap(HDC dc, MemHandle block);
// The packed DIB of a bitmap (1, 4, 8 or 24 bits by planes x bits per
// pixel), fetched through the palette (the default palette when none);
// 0 on failure.
MemHandle gdiBitmapToDibHandle(HBITMAP bitmap, HPALETTE palette);
// gdiBitmapToDibHandle with the default palette; the bitmap is deleted.
MemHandle gdiBitmapToDib(HBITMAP bitmap);
// The same conversion with a chosen compression and bit count (0: planes x
// bits per pixel) into a block that keeps `prefix` bytes in front.
MemHandle gdiBitmapToDibEx(HBITMAP bitmap, DWORD compression, uint16_t bits, HPALETTE palette,
                           uint32_t prefix);
// Block with a LOGPALETTE (version 0x300) of a 40-byte header's colour
// table, or for a 24-bit DIB without one a 3-3-2 colour cube; 0 otherwise.
MemHandle gdiDibLogPalette(const BITMAPINFOHEADER *header);
HPALETTE gdiDibCreatePalette(const BITMAPINFOHEADER *header);
// A new palette with the same entries; 0 when it has none.
HPALETTE gdiCopyPalette(HPALETTE palette);

// ---- BMP files ---------------------------------------------------------------------
// Reads the file header (or none: a bare DIB), the DIB header and colour
// table at the file's position into a new block of prefix + header + table
// bytes, and leaves the file at the pixel bits. The longer headers (52, 56,
// 108 and 124 bytes) are kept as the 40-byte one, their colour masks behind
// it. Another header size than these and 12 or 40 shows "Unrecognized file
// type " and fails; a header whose sizes, counts or colour table do not fit
// the file fails without a message.
MemHandle gdiReadDibHeader(HANDLE file, uint32_t prefix);
// A BMP file (or bare DIB) as a packed DIB behind `prefix` bytes, run-length
// coded pixels expanded into plain rows; 0 on any failure (the open failure
// reported), nothing left allocated or open.
MemHandle gdiLoadDibFile(const char *path, uint32_t prefix);
// Writes the 14-byte file header and the packed DIB at the start of the
// block; 0 for a null block, a block that does not hold its DIB, or when
// the file cannot be created or written, else 1.
int gdiSaveDibFile(const char *path, MemHandle block);

// ---- drawing -----------------------------------------------------------------------
// Draws the part of the DIB (at the start of the block) scaled into dest
// that lies inside clip, with the raster operation. Returns 1.
int gdiDrawDibPart(HDC dc, MemHandle block, const RECT *dest, const RECT *clip, DWORD rop);
// Whether the program holds msimg32.dll loaded; nothing in this program
// loads it for good, so callers take the mask path.
BOOL gdiHasMsimg32();
// on: saves the DC's viewport and window origin and extent and sets the
// origins to 0 and the extents to 1 x 1; off: puts the saved values back.
void gdiPushIdentityMapping(HDC dc, BOOL on);
// A logical position and size in device units.
void gdiLogRectToDev(HDC dc, int32_t *x, int32_t *y, int32_t *w, int32_t *h);
// Monochrome mask of the bitmap: 1 where it has the colour, 0 elsewhere;
// those pixels of the bitmap itself become black. 0 on failure.
HBITMAP gdiMakeMask(HDC dc, HBITMAP bitmap, COLORREF colour);
// The bitmap's part (sx, sy, sw, sh; a size of 0 takes the whole bitmap)
// stretched into (x, y, w, h) logical with the colour left transparent, by
// a mask: SRCAND of the mask, then SRCPAINT of the bitmap (whose pixels of
// that colour are blackened). Returns 1 (0 when no mask can be made).
int gdiTransparentStretchBlt(HDC dc, HBITMAP bitmap, int32_t x, int32_t y, int32_t w, int32_t h,
                             int32_t sx, int32_t sy, int32_t sw, int32_t sh, COLORREF colour);
// TransparentBlt of msimg32 loaded for the call, or without it the same
// through device bitmaps. 0 when a size is below 1 or something cannot be
// made.
int gdiTransparentBltStretch(HDC dst, int32_t x, int32_t y, int32_t w, int32_t h, HDC src,
                             int32_t sx, int32_t sy, int32_t sw, int32_t sh, COLORREF colour);
// Tests: load msimg32 through the fallback name given (null restores it),
// so that the fallback path can be taken on purpose.
void gdiSetMsimg32Name(const char *name);
// Tests: hold msimg32 loaded (gdiHasMsimg32 then answers TRUE) or free it.
void gdiHoldMsimg32(BOOL hold);
