// Composite objects: their shadow.
#include "objects/sh_composite.h"

void shCompositeShadow(HDC, ObjectRecord *, COLORREF, int32_t, int32_t) {}
