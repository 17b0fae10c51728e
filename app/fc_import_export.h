// Import and export: pictures, metafiles, text files and pages of other
// documents brought into the current page; objects and pages written as
// BMP, JPEG, PNG or TIFF files; the file dialogs and their filters; the last
// import and export paths ("ImportDir", "ExportDir").
#pragma once
#include "support/qmwin.h"
#include <vector>

// The filters ("|" between the parts).
extern const char kFcImportFilter[];
extern const char kFcImageFilter[];
extern const char kFcExportFilter[];

// ---- remembered paths -------------------------------------------------------------------
// The last import and export paths (at most 259 characters each), taken
// from "ImportDir" and "ExportDir" at start-up and written back at close.
// Setting the export path also sets the export format index.
void fcPutImportPath(const char *path);
char *fcGetImportPath(char *buffer);   // 260 bytes
void fcPutExportPath(const char *path);
char *fcGetExportPath(char *buffer);   // 260 bytes
int fcGetExportFormatIndex();

// ---- kinds, formats and filters -------------------------------------------------------------
// The import kind of an extension (with or without its point, case
// ignored): 3 bmp, 4 emf, 5 fpx, 6 img, 7 ico, 8 jpg, 9 qm, 10 pcx, 11 pcd,
// 12 eps, 13 tga, 14 tif, 15 txt, 16 wmf, 17 png; 0 otherwise.
int fcImportKindOfExt(const char *ext);
// By the path's extension; 0 without one.
int fcImportKindOfPath(const char *path);
// Export codes by the export filter's entries: 1 bmp, 2 jpg, 3 png, 4 tif;
// 0 for any other extension.
int fcExportFormatOfExt(const char *ext);
const char *fcExportExtOfFormat(int code);
// The image layer's format id of an extension (".bmp" 32, ".pcx" 33, ".jpg"
// 35, ".png" 36, ".tif" 37; the point optional); 0 for another.
int fcImageFormatByExt(const char *ext);
const char *fcExtByImageFormat(int format);
// The three letters after the index-th "|*." of the filter ("qm" when they
// begin with "qm"); empty when there is no such entry. The buffer.
char *fcFilterExtension(const char *filter, int index, char *buffer);
// The 1-based entry whose pattern is "*." and the extension; 0 when none.
int fcFilterIndexOfExt(const char *filter, const char *ext);

// ---- dialogs --------------------------------------------------------------------------------
// Open dialog with the import filter (or the image-only one): 1 with the
// path (260 bytes) and the chosen entry, 0 when cancelled.
int fcImageFileDialog(HWND owner, const char *caption, char *path, int *filterIndex,
                      BOOL imagesOnly);
int fcImportFileDialog(HWND owner, const char *caption, char *path, int *filterIndex);
// The same with the path in a string handle: the dialog starts from its text
// (none for a null handle) and the chosen path is stored into it, grown to
// fit (a new handle when *path is 0). 1 when chosen; 0 when cancelled or
// memory ran out (the handle then unchanged).
int fcImportFileDialogToHandle(HWND owner, const char *caption, MemHandle *path,
                               int *filterIndex);
// The same with any filter ("|" between the parts).
int fcFileDialogWithFilter(HWND owner, const char *caption, const char *filter, char *path,
                           int *filterIndex);
// Save dialog with the export filter (entry 2 when none is given); the
// path's extension becomes the chosen entry's.
int fcExportSaveDialog(HWND owner, const char *caption, char *path, int *filterIndex);

// ---- import ------------------------------------------------------------------------------
// Command 104: asks for a file and imports it; the object, or 0.
int fcImportCommand(HWND ws, int imageMode);
// File > Import > Image, Text and Page of a Document (1150 to 1152): the
// dialog offers files of that kind only; an image is a picture or, by its
// extension, a metafile. 1 when something was imported.
enum { FC_IMPORT_IMAGE = 0, FC_IMPORT_TEXT = 1, FC_IMPORT_PAGE = 2 };
int fcImportOneKind(HWND ws, int what);
// Imports the file of the kind (0: by its extension or contents) into the
// current page, placed in the target rectangle or the visible area. 1 when
// something was imported.
int fcImportFile(HWND ws, const char *path, int kind, int imageMode, const RECT *target);
// A file dropped on a workspace: a linked object of at least one inch each
// way in the visible part of the margins, current, undo kind 10; its
// rectangle out. Nonzero when placed.
enum { FC_DROP_AS_FILE = 0, FC_DROP_AS_IMAGE = 1 };
int fcImportDroppedFile(HWND ws, const char *path, POINT at, int kind, RECT *out);
// Builds an object from a picture or metafile file, fits it into the
// rectangle keeping its proportions (the rectangle used comes back) and
// frees it; 0 when the file is not a picture.
int fcLoadImageObject(HWND ws, const char *path, RECT *rect);

// ---- export ------------------------------------------------------------------------------
// Command 105: the object, else the current page, written where the Save
// dialog says. 1 when written.
int fcExportCommand(HWND ws, MemHandle object);
// Command 1101: the same through the image layer's own Save dialog.
int fcExportImageAs(HWND ws, MemHandle object);
// The object drawn into a picture file of the image format; 1 when written.
int fcExportObject(HWND ws, MemHandle object, const char *path, int format);
// Page `index` (its record `page`, of the document `form`) drawn on white
// at the zoom (percent) into a DIB section whose rows are written into a
// picture file of the image format; 0 when it could not be (a write error
// is shown).
int fcWritePagePicture(HWND ws, MemHandle form, MemHandle page, int index, int zoom,
                       const char *path, int format);
// Page `index` drawn at 100 percent into a picture file of the image
// format. A page without objects of its own is not written ("No object in
// the page to export" when report is set). 1 when written.
int fcExportPage(HWND ws, int index, const char *path, int format, BOOL noOverwriteQuestion,
                 BOOL report);
// The pages (the indices given, or all) into the folder; names by the flags:
// 1 the document's name, 2 "_", 4 "p", 8 the index, 16 the index + 1; then
// "." and the extension (or the format's). The number written.
int fcExportPages(HWND ws, const int *indices, int count, const char *folder, int nameFlags,
                  const char *ext, int format, BOOL report);
// File > Export > Pages (1162): "Export Pages" chooses the pages, the Save
// dialog the folder and the picture format; each page is written as
// "<document>_p<number>.<extension>". The number of pages written.
int fcExportPagesCommand(HWND ws);
// "1,3,5-7" as 0-based page indices of a document of pageCount pages, each
// once, in the order given; FALSE (the list then partial) for a list that
// is empty, malformed or names a page that does not exist.
BOOL fcParsePageList(const char *text, int pageCount, std::vector<int> *pages);
// The file name fcExportPages gives page `index` (without folder).
void fcExportPageName(HWND ws, int index, int nameFlags, const char *ext, int format, char *out,
                      int size);

// "ExportAll": which pages to export. 1 on OK with the choice: 0 the current
// page, 1 all pages, 2 the range first .. last (1-based), 3 the typed list.
struct FcExportChoice {
    int which;
    int first, last;
    char list[256];
};
int fcRunExportAllDialog(HWND ws, FcExportChoice *choice);
INT_PTR CALLBACK ExportAllDlgProc(HWND dialog, UINT msg, WPARAM wParam, LPARAM lParam);
