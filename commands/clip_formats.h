// The object clipboard: a copied object goes on the clipboard in the
// program's private format "QM32OBJFormat" (its object block) together with
// renditions for other programs (text, bitmap, metafiles) chosen by its
// type; Paste takes the richest format present in a fixed priority order
// and builds a new object from it. The frame sits in the clipboard viewer
// chain and keeps the Paste button in step with the clipboard.
//
// Clipboard data comes from other programs and is never trusted: every
// read stays within the block the system hands over.
#pragma once
#include "support/qmwin.h"

enum : UINT {
    IDS_CLIP_CANNOT_OPEN = 5260,   // "Can not open clipboard "
    CLIP_PASTE_FORMATS = 6,        // entries of the paste priority list
    CLIP_SPECIAL_ROWS = 6,         // rows of the paste-special table
};

// One row of the paste-special table.
struct ClipFormatName {
    UINT format;
    const char *name;
};

// ---- formats ------------------------------------------------------------------------------
// Registers the private object format under the name ("QM32OBJFormat"),
// takes the text format id from the text editor and stores both in the
// priority list and the paste-special table; the object format id.
UINT clipRegisterFormats(const char *name);
// The private object format id; whether the clipboard holds it.
UINT clipObjectFormat();
BOOL clipHasObject();
// The paste priority list (CLIP_PASTE_FORMATS ids) and the paste-special
// table (CLIP_SPECIAL_ROWS rows).
const UINT *clipPasteFormats();
const ClipFormatName *clipSpecialTable();
// 1 when the clipboard holds one of the priority formats. When the
// clipboard cannot be opened: an error box (string 5260, caption 5000), 0.
int clipCanPaste(HWND ws);

// ---- copy ---------------------------------------------------------------------------------
// Copy: the object block and its renditions; always 1.
int clipCopyObject(HWND ws, MemHandle object);
int clipSetObjectData(HWND ws, MemHandle object, UINT format);
// SetClipboardData of the object's block in the format (the clipboard is
// already open); 1 when the system took it.
int clipSetObjectBlock(MemHandle object, UINT format);
// The CF_METAFILEPICT and CF_ENHMETAFILE renditions of an object (new
// handles, the caller's or the clipboard's); 0 when none can be made.
HGLOBAL clipMakeMetafilePict(HWND ws, MemHandle object);
HENHMETAFILE clipMakeEnhMetafile(HWND ws, MemHandle object);
// Whether Copy adds the metafiles: not for a tree holding a bitmap or a
// pattern fill.
BOOL clipWantsMetafiles(MemHandle object);
// Hundredths of a millimetre of a length in twips, rounded.
int32_t clipTwipsToHimetric(int32_t twips);
// Copy Special's copy in one format.
int clipCopyInFormat(HWND ws, MemHandle object, UINT format);
// Copy Special's list: the table's names but "Text", plus "Text" when the
// object carries text; the chosen format, 0 for none.
UINT clipChooseCopyFormat(HWND ws, BOOL withText);
// Empties the clipboard; the Own form only when it holds one of the
// program's own formats (the frame calls it when it closes).
void clipEmpty(HWND ws);
void clipEmptyOwn(HWND ws);

// ---- paste --------------------------------------------------------------------------------
// The pasted object (not yet in the page) with its top-left at the point
// (twips), or 0.
MemHandle clipPasteInPriority(HWND ws, POINT position);
MemHandle clipPasteByFormat(HWND ws, UINT format, POINT position);
// A new text object (type 40) holding the text: kind 3 plain text, kind 14
// a coded text stream; in the rectangle, or without one in the current
// page's margins inset by 120 twips. 0 when it cannot be made.
MemHandle clipMakeTextObject(HWND ws, const char *text, int kind, const RECT *rect);
// The object rebuilt from a block (layer made the current one, a clashing
// name cleared); 0 when the block does not hold a whole tree.
MemHandle clipPasteObjectBlock(HWND ws, MemHandle block);
// The same from bytes handed over by the system: only `available` bytes
// are read; a block claiming more is refused with "Input file data error".
MemHandle clipPasteObjectBytes(HWND ws, const void *bytes, uint32_t available);
// 1 when another object of the current page bears the object's name; the
// name is then cleared (the record may move: *object follows it) after the
// message, when asked for.
int clipNameClash(HWND ws, MemHandle *object, BOOL showMessage);
// A new text object (pasted or imported) checked against the page margins:
// one lying wholly outside them is reported; one running below the bottom
// margin offers to keep, flow, cut or shrink it. 1 when a follow-up
// command was posted.
int txCheckNewTextFit(HWND ws, MemHandle object);
// Paste Special's list of the formats present; the chosen one, 0 for none.
UINT clipPasteSpecial(HWND ws);
// A CF_TEXT block read within its size and terminated (a new string
// handle; 0 for none).
MemHandle clipReadTextBlock(const void *bytes, uint32_t available);

// ---- the frame ----------------------------------------------------------------------------
// WM_DRAWCLIPBOARD of the frame: the Paste button (203) follows the
// clipboard for the active workspace's mode; then the message goes on to
// the next window of the viewer chain.
void clipUpdatePasteButton(HWND frame, UINT msg, WPARAM wParam, LPARAM lParam);

// ---- placement and list operations ------------------------------------------------------
// Moves the object tree so that a corner of its frame lies on the point:
// 1 top-left, 2 top-right, 3 bottom-left, 4 bottom-right; else nothing.
void objPlaceCorner(MemHandle object, POINT point, int corner);
// Moves the tree so that its frame sits in the rectangle as the alignment
// word says (horizontal 1 centre, 2 right, else left; vertical 8 centre,
// 16 bottom, else top); the Window form within the client area (twips).
void objAlignInRect(MemHandle object, const RECT *rect, uint16_t align);
void objAlignInWindow(HWND ws, MemHandle object, uint16_t align);
// Links the second list after the last object of the first.
void obAppendListAfter(MemHandle first, MemHandle other);
// 1 when an object after it in its list has a drawn rectangle meeting the
// object's drawn rectangle.
int obIsCoveredByLater(MemHandle object);

// ---- the Edit commands ------------------------------------------------------------------------
int cmdCut(HWND ws, MemHandle object);                  // 201
int cmdCopy(HWND ws, MemHandle object);                 // 202
int cmdPaste(HWND ws, MemHandle object);                // 203
int cmdPasteAtPosition(HWND ws, LPARAM position);       // 204
int cmdDelete(HWND ws, MemHandle object);               // 205
int cmdCopySpecial(HWND ws, MemHandle object);          // 194
int cmdPasteSpecial(HWND ws, MemHandle object);         // 195
// The format chosen by Paste Special while mode 6 waits (0: the priority
// order).
UINT clipGetStoredFormat(HWND ws);
