// Writing the parts of a document file: object trees, pages and the FORM
// body (form head, blocks, view settings, base page). The document saver
// puts them together behind the header and the page-size array.
#pragma once
#include "support/qmwin.h"

// ---- sizes -----------------------------------------------------------------------
// The FORM body's bytes: form head packet + 20 (view settings) + blocks 1-3
// + the base page's file size when resources bit 0 is set.
uint32_t fmCalcFileSize(MemHandle form);
// The page-size array's bytes: 0 below 2 pages, else 4 + 4 x pages.
uint32_t pgSizeArrayBytes(int pages);

// ---- object records and trees --------------------------------------------------------
// Each returns the bytes written (0 when nothing was written).
// One record's file form as one packet (the presence flags as its links
// say); "Unsupported object type" for a type without a file form.
uint32_t qmfWriteFileRecord(HANDLE file, MemHandle object);
uint32_t qmfWriteObjectRecord(HANDLE file, MemHandle object);
// The object's tree: its record, its extra data packet, then the trees of
// its next member, its first member and its attached object. A record of a
// type without a file form is left out with its own members and attached
// object; its place in a member chain goes to the next member that can be
// written, and the presence flags say only what is written. With a key,
// the records of the types stored scrambled are scrambled with it.
uint32_t qmfWriteObjectTree(HANDLE file, MemHandle object);
uint32_t qmfWriteObjectTreeScrambled(HANDLE file, MemHandle object, const char *key);
// Every top-level tree of a list, in list order.
uint32_t qmfWriteObjectList(HANDLE file, MemHandle first);
uint32_t qmfWriteObjectListScrambled(HANDLE file, MemHandle first);
// Top-level objects of a list that have a file form (the object count a
// written page carries).
int32_t qmfCountWritableObjects(MemHandle first);

// The first object of the page without a file form: in the page record's
// own tree or in the trees of its object list; 0 when every one has one.
MemHandle qmfFindUnwritable(MemHandle page);
// Tells the user that the object's type has no file form and the document
// was not saved: "Unsupported object type: <name>" (the type's code when it
// has no name).
void qmfReportUnwritable(HWND owner, MemHandle object);

// ---- pages and the form --------------------------------------------------------------
// A page: its record tree (object count, body and extras sizes brought up
// to date first), its extras (layer state, palette and side blocks as its
// flags say), then its objects, scrambled when asked. Returns the bytes
// written, which is the page's file size. A page holding an object without
// a file form is not written at all (0): no page is ever written short of
// an object.
uint32_t qmfWritePageEx(HANDLE file, MemHandle page, BOOL scramble);
uint32_t qmfWritePage(HANDLE file, MemHandle page);
// The FORM body: form head packet, blocks 1-3 when present, the view
// settings packet, the base page when resources bit 0 is set (the bit is
// cleared first when there is no base page). Returns the bytes written.
uint32_t qmfWriteForm(HANDLE file, MemHandle form);
// The form head packet alone (a new handle): the file form of the form
// record, its file name cut to its last 13 characters' component.
MemHandle qmfMakeFormHead(MemHandle form);
