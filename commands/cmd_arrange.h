// Moving and resizing the selected object by keyboard steps (single steps
// or a series drawn as an outline and applied once), scaling it by a
// percentage, snapping it to the page margins or the grid, the alignment
// word of text-bearing objects, and the group commands that arrange the
// members of a group or chain.
#pragma once
#include "support/qmwin.h"

// Moves the object and everything linked below it by (dx, dy) twips: undo
// kind 5, its area redrawn before and after, its handles computed again,
// the message bar refreshed, the document modified. 0 for no object, no
// distance, or a locked object (reported).
int cmdMoveObjectBy(HWND ws, MemHandle object, int32_t dx, int32_t dy);

// The offset of a direction command (760-767, 830-833) for the step
// (sx, sy); 0 (and no offset) for any other id.
int cmdDirectionOffset(int command, int32_t sx, int32_t sy, int32_t *dx, int32_t *dy);
// The rectangle changed by a resize command (751-756, 771-778) for the
// step; 0 for any other id.
int cmdResizeStepRect(int command, int32_t sx, int32_t sy, RECT *r);
// A resized rectangle that collapsed is mended by the object type: lines
// (2, 14, 18, 20) keep a zero extent at the middle but never become a
// point, an H-Line (V-Line) keeps no height (width), anything else goes
// back to the rectangle before the step.
void cmdResizeMendCollapse(int16_t type, const RECT *before, RECT *r);

// The repeat protocol of the move and resize commands: the low word of
// lParam is the repeat number (0 a single step, 1, 2, ... a series), a
// nonzero high word on a repeat message closes the series. A series draws
// the moving outline and changes the object once, at its close.
int cmdMoveByDirection(HWND ws, int command, LPARAM lParam, MemHandle object);
int cmdResizeByStep(HWND ws, int command, LPARAM lParam, MemHandle object);
// 757: the object scaled about its centre by a percentage asked for.
int cmdResizeByPercent(HWND ws, MemHandle object);
// 431-437 and 438.
int cmdSnapToPage(HWND ws, MemHandle object, int command);
int cmdSnapToGrid(HWND ws, MemHandle object);
// 420-426.
int cmdAlignObjects(HWND ws, MemHandle object, int command, LPARAM lParam);
// The alignment word that an alignment command gives an AlignWord.
uint16_t cmdAlignWordFromId(uint16_t word, int command);
// 360-364 and 821.
int cmdSameWidth(HWND ws, MemHandle object, int32_t step);
int cmdSameHeight(HWND ws, MemHandle object);
int cmdSameSize(HWND ws, MemHandle object);
int cmdDistributeHorizontally(HWND ws, MemHandle object);
int cmdDistributeVertically(HWND ws, MemHandle object);
int cmdSwapPairMembers(HWND ws, MemHandle object);

// The commands above by id: 1 when the id is one of them (*result gets the
// command's own result), else 0.
int cmdArrangeCommand(HWND ws, MemHandle object, int command, LPARAM lParam, int *result);

// Where a series draws its outline: by default a not-XOR context of the
// workspace; tests give a bitmap's context instead (null: the default).
typedef HDC (*CmdTrackBeginFn)(HWND ws);
typedef void (*CmdTrackEndFn)(HWND ws, HDC dc);
void cmdSetTrackContext(CmdTrackBeginFn begin, CmdTrackEndFn end);
