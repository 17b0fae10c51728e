// The group box (type 58): a rectangle whose top edge is interrupted by a
// caption. It shares the check box family's type part (forms/fld_check.h).
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

// The pen width becomes one point; the frame rectangle is the box with its
// top 2h/5 lower (h the caption font's height); filled with the background
// colour for fill kind 1; unless flag 0x1000 is set, framed with a gap for
// the caption; the caption drawn in the pen colour from box left + h.
void shGroupBoxDraw(HDC dc, ObjectRecord *rec);
// The caption's rectangle: left = box left + h, right = that + caption
// width, top = box top, bottom = top + h.
void shGroupBoxLabelRect(MemHandle h, RECT *rect);
