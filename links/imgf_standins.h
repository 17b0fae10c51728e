// Stand-ins of the image file object (type 78) for the picture code: the
// linked picture's pixel size and DIB. Missing: the image file object's own
// module (its drawing, document pages, link management); these read the
// link name stored in its type data and resolve it against the document.
#pragma once
#include "support/qmwin.h"

// 1 when the linked file exists, is not a .dwg drawing and its pixel size
// could be read; 0 with both outs 0 otherwise.
int imgfGetPixelSize(HWND window, MemHandle object, int32_t *width, int32_t *height);
// A packed DIB of the linked picture, or 0.
MemHandle imgfGetDib(HWND window, MemHandle object);
// The two as the picture code's calls (objects/img_render.h), installed at
// start-up.
struct ImgLinkedPictureCalls;
const ImgLinkedPictureCalls *imgfLinkedPictureCalls();
