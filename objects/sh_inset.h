// Records that state their own size: the page inset (1006) and the image
// file object (78) keep the length of their type data in its first u32.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// 86 + name length + the u32 at the start of the type data, stored as the
// record length and returned. The stated length is believed only when it
// covers at least itself and lies within the block (blockSize; 0: the stored
// length); otherwise the record keeps its stored length, cut to the block.
uint32_t shSelfSizedRecordSize(ObjectRecord *rec, uint32_t blockSize);
// The handle variant: 0 for a null handle.
uint32_t shSelfSizedRecordSizeH(MemHandle h);

// ---- page insets (type 1006): +0 u32 data length, +4 u16 page index ----------------------------

// What the document window tells the insets: the document a window shows
// and the index of its current page. Installed at start-up; without them an
// inset draws nothing.
struct ShInsetHooks {
    MemHandle (*document)(HWND window);
    int (*currentPage)(HWND window);
};
// Null: none. Either way the pages that could not be read are forgotten.
void shSetInsetHooks(const ShInsetHooks *hooks);

// Renders the page of the stored index of the drawing window's document
// into the DC under its current mapping; nothing for an index outside the
// document, outside a drawing pass or inside another inset's drawing (an
// inset of its own page, or two of each other's, would never end). A page
// that is not in memory is read for the drawing and released afterwards
// unless it is the window's current one; a page already in memory stays.
// A page that cannot be read is reported once and not tried again while
// its directory entry stays the same.
void shPageInsetDraw(HDC dc, ObjectRecord *rec);
void shPageInsetDrawH(HDC dc, MemHandle h);
