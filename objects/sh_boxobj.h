// The box object (type 55): a plain filled, outlined rectangle with an
// optional shadow. Its type data holds a fixed part (its size in the first
// u32) and a tail whose byte count is the i16 at +62; other modules fill
// both.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// 86 + name + fixed size + tail count, stored and returned. A fixed part or
// tail that would pass the block (blockSize; 0: the stored length), or a
// fixed part too short to hold the tail count, keeps the stored length cut
// to the block.
uint32_t shBoxObjSize(ObjectRecord *rec, uint32_t blockSize);
// A box object read from a file: its head within the page limits and its
// fixed part and tail exactly its record.
BOOL shBoxObjReadCheck(const ObjectRecord *rec, uint32_t length);
uint32_t shBoxObjSizeH(MemHandle h);
void shBoxObjDraw(HDC dc, ObjectRecord *rec);
void shBoxObjDrawH(HDC dc, MemHandle h);
// The rectangle becomes the box (a positive size whatever its corners).
void shBoxObjRescale(MemHandle h, const RECT *target);
