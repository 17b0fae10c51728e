// Repaint and export steps of the benchmark: pages of outlined shapes, flat
// and in groups, repainted in a window-sized view at three zooms, and a
// page written to PNG at two zooms with the step's peak memory.
#pragma once
#include "support/qmwin.h"

// A white-cleared DIB section of w x h pixels (32-bit unless asked) with
// the view mapping at the zoom applied; the DC, with the bitmap selected,
// through dc.
struct BenchBitmap {
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ old = nullptr;
    void *bits = nullptr;
    int w = 0, h = 0;
    size_t stride = 0;
    BenchBitmap(int width, int height, int zoom, int bitCount = 32);
    ~BenchBitmap();
    BenchBitmap(const BenchBitmap &) = delete;
    BenchBitmap &operator=(const BenchBitmap &) = delete;
    void clear();   // every pixel white again
};
// Pixels of a length in twips at the zoom on a 96-dpi device, one over.
int benchPixels(int32_t twips, int zoom);

// Outlined shape number i of the shape pages: a box, an ellipse, a rounded
// box or a polygon in turn (every fourth of sixteen dashed), in the w x h
// box at x, y, filled, with a pen of the given width in twips.
MemHandle benchOutlinedShape(int i, int32_t x, int32_t y, int32_t w, int32_t h, int16_t pen);
// The workspace repaint of 10,000 shapes flat and in 10 groups, and of
// 100,000 shapes in 10 groups, at 100, 200 and 400 percent.
void benchRepaint();
// A page of 10,000 shapes written to PNG at 100 and 400 percent: the
// drawing alone, the whole export, and the step's peak memory over what
// the process held before it.
void benchExport();
