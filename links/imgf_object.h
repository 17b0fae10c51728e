// The image file object (type 78): its file name and transparent colour,
// its drawing, its size taken from the linked picture, its creation and the
// change of its link, the dialog "FNSEL_A" that chooses the file, and the
// linked files of other kinds (drawings, document pages).
#pragma once
#include "support/qmwin.h"

// ---- the record ----------------------------------------------------------------------------
// Stores a new file name (at most 259 characters): a new record of 120
// bytes + the name for object 0, else the record resized to 86 + object
// name + 34 + name size with both lengths set (a moved record relinked).
// The valid handle, 0 on failure (the object unchanged).
MemHandle imgfSetFileName(MemHandle object, const char *name);
// The stored name into a buffer of UT_PATH_SIZE bytes; its length, 0 and an
// empty buffer when the type data is 34 bytes or less or the name has no
// terminator inside it.
int imgfGetFileName(MemHandle object, char *buffer);
// The transparent flag (0x2) and colour; 0 when the object has none.
int imgfGetTransparent(MemHandle object, COLORREF *colour);
// Sets the flag and colour (colour 0 when off); 1 when either changed.
int imgfSetTransparent(MemHandle object, COLORREF colour, BOOL on);

// ---- linked files ----------------------------------------------------------------------------
// Whether the name's extension after its last point is "dwg" (case ignored).
int lnkIsDwgFile(const char *name);
// Whether the image file object links a ".dwg" drawing (kind 40).
int lnkIsDwgLink(MemHandle object);
// The linked file's extension without its point into the buffer (5 bytes at
// least) when it has 1 to 4 characters; its length, else 0 and empty.
int lnkGetLinkExt(MemHandle object, char *buffer);
// A linked object for a dropped file in the rectangle: an image file object
// naming the file (kind: 0 a file, 1 an image). 0 on failure.
MemHandle lnkCreateLinkedObject(HWND ws, const RECT *rect, const char *path, int kind);
// Opens the document file with the page of the index read and checks the
// password (none, or equal ignoring case): 1 with the form and that page's
// handle out; else everything read is freed, a beep sounds and 0.
int lnkReadLinkedPage(HWND window, const char *file, const char *password, int pageIndex,
                      MemHandle *documentOut, MemHandle *pageOut);

// ---- picture and size ------------------------------------------------------------------------
// Draws the object: the picture (cropped, with its transparent colour, or
// the missing-picture placeholder) inside the object's rectangle less the
// inset; the type's draw routine.
void imgfDraw(HDC dc, MemHandle object);
struct ObjectRecord;
void imgfDrawRecord(HDC dc, ObjectRecord *rec);
// Pixel size of the linked picture; 0 (and 0 x 0) when the file is
// missing, unreadable or a ".dwg" drawing.
int imgfGetImageSize(HWND ws, MemHandle object, int32_t *width, int32_t *height);
// A packed DIB of the linked picture, or 0.
MemHandle imgfGetDib(HWND ws, MemHandle object);
// The two as the picture code's calls (objects/img_render.h).
struct ImgLinkedPictureCalls;
const ImgLinkedPictureCalls *imgfLinkedPictureCalls();
// Stores the mapping, loads the picture with it and gives the object the
// picture's size grown by the inset on each side, centred on its old
// centre; 1 on success.
int imgfSizeToImage(HWND ws, MemHandle object, uint16_t mapping);
// 2 when the picture area (the object less its inset) is the picture's
// natural size at the printer resolution, 1 at the screen's, else 0; the
// stored mapping when the picture's size cannot be read.
int imgfGetSizeMapping(HWND ws, MemHandle object);

// ---- names -----------------------------------------------------------------------------------
// Stores the object's absolute name as its relative expression against the
// document's folder; 1 when done.
int imgfMakeNameRelative(HWND ws, MemHandle object);
// When the resolved name begins with the old folder (case ignored), that
// beginning becomes the new folder and the name is stored (made relative
// too when asked); 1 when changed. *object follows a moved record.
int imgfReplaceFolder(HWND ws, MemHandle *object, const char *oldFolder, const char *newFolder,
                      BOOL makeRelative);

// ---- creation and link -------------------------------------------------------------------------
// The object factory the creation uses (the tools' factory, installed at
// start-up); without one a bare record is made.
typedef MemHandle (*ImgfObjectFactory)(HWND ws, MemHandle h, int16_t type, const POINT *points,
                                       uint16_t n);
void imgfSetObjectFactory(ImgfObjectFactory factory);
// The image file chooser of the file commands (pictures only), which
// "Browse..." of "FNSEL_A" runs unless its caller names a filter: 1 with
// the chosen path in the buffer (UT_PATH_SIZE bytes). Installed at
// start-up; without it every file is offered.
typedef BOOL (*ImgfImageChooser)(HWND owner, const char *caption, char *path);
void imgfSetImageChooser(ImgfImageChooser chooser);
// A new type-78 object in the rectangle naming the file: a ".dwg" keeps the
// rectangle, anything else is sized to its picture (0 when that fails).
MemHandle imgfCreate(HWND ws, const RECT *rect, const char *name, uint16_t mapping);
// imgfCreate over the view's visible area, first grown to at least
// `inches` each way (when 0.1 or more) and centred on it.
MemHandle imgfCreateAt(HWND ws, const char *name, double inches);
// The image frame command: with *object 0 a new object over the visible
// area; else the object's link changed and the object sized to the new
// picture. 1 when something was made or changed; 0 on Cancel or when the
// name is the same (case ignored).
int imgfChooseAndLink(HWND ws, MemHandle *object, const char *baseFolder, uint16_t mapping);
// The dialog "FNSEL_A" ("Image File Link" unless a title is given) on the
// name (UT_PATH_SIZE bytes, in and out); *relative sets and returns the
// box "use relative expression". 1 on OK.
int imgfLinkDialog(HWND ws, const char *title, char *name, const char *baseFolder,
                   const char *defExt, const char *filter, BOOL *relative);
