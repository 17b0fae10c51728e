// Page rectangles in twips: the page, the page inset by the printer's
// unprintable margins, the margins a page keeps (distances from its
// edges), their defaults by paper code, and the page guides drawn from them.
#pragma once
#include "support/qmwin.h"

// The page's box (0, 0, width, height for a page centred at half its size).
void pgGetPageRect(MemHandle page, RECT *r);
// The printer's unprintable margins in twips, 360 on each side without a
// printer.
void pgPrinterMargins(RECT *margins);
// The page inset by the printer margins; the page itself when that would
// leave nothing.
void pgGetInsetRect(MemHandle page, RECT *r);

// The margins attribute (left, top, right, bottom distances): 1 when the
// page has one, else 0 with zeros.
int pgGetMargins(MemHandle page, RECT *margins);
// Stores the distances as the margins attribute. Returns the page valid
// afterwards, 0 on failure (the old handle then unchanged).
MemHandle pgSetMargins(MemHandle page, const RECT *margins);
// 1 when the page has margins and they are not all zero.
int pgHasMargins(MemHandle page);
// The page inset by its margins: 1; without margins the whole page and 0.
int pgGetMarginRect(MemHandle page, RECT *r);
// Stores the distances of a non-empty rectangle from the page edges as the
// margins; an empty rectangle changes nothing. Returns the page valid
// afterwards, 0 on failure.
MemHandle pgSetMarginRect(MemHandle page, const RECT *rect);
// 1 when the margin rectangle is not empty.
int pgMarginRectIsValid(MemHandle page);
// The margins a page of its paper code starts with: 1440 twips on every
// side for codes 0, 1 and 4 (Letter, Legal, Ledger), 360 for all others.
void pgDefaultMargins(MemHandle page, RECT *margins);
// Gives a page without margins the default ones. Returns the page valid
// afterwards, 0 on failure.
MemHandle pgEnsureMargins(MemHandle page);
// The union of the boxes of the page's objects that meet the margin
// rectangle: 1, or 0 (and an empty rectangle) when none does.
int pgObjectsBoundsInMargins(MemHandle page, RECT *bounds);

// The same rectangles in inches.
struct PgRectInches {
    double left, top, right, bottom;
};
void pgGetInsetRectInches(MemHandle page, PgRectInches *r);
int pgGetMarginRectInches(MemHandle page, PgRectInches *r);
int pgGetMarginsInches(MemHandle page, PgRectInches *r);

// Page guides in a dotted pen (1 pixel, 0xC4C4C4) in the DC's current
// mapping: the inset rectangle when asked; the margin rectangle when asked,
// unless the page is a label sheet; for a label sheet whose grid is on,
// every label cell, and each cell's margin rectangle when margins are
// asked for.
void pgDrawGuides(HDC dc, MemHandle page, BOOL inset, BOOL margins);
