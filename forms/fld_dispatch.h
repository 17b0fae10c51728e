// The form controls' part of the object dispatch: record size, drawing and
// rescaling of push buttons (43), check boxes (44), radio buttons (57) and
// group boxes (58). Each returns 0 for a type it does not serve.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// The record's length recomputed and stored, kept within blockSize (a
// record whose stated parts reach past its block is not trusted with more).
uint32_t fldObjRecordSize(ObjectRecord *rec, uint32_t blockSize);
int fldObjDraw(HDC dc, ObjectRecord *rec);
// Check boxes, radio buttons and group boxes keep at least their natural
// size. A button is left to the default (the rectangle set as it is): the
// rescale dispatch cannot hand back a record that moved, and re-wrapping
// its label may move it; fldButtonSetRect is the full operation.
int fldObjScale(MemHandle h, const RECT *target);
