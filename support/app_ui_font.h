// The interface font: the face and size of the frame's user-interface text
// (field labels are measured and drawn with it).
#pragma once
#include "support/qmwin.h"

// A new font of the interface face ("Arial", 9 points) for the screen; the
// default GUI font when it cannot be made. The caller deletes it.
HFONT appCreateUiFont();
// A new font of the interface face with the LOGFONT height (negative: the
// character height in pixels); the default GUI font when it cannot be made.
// Every interface font the program makes goes through here, so that faces
// this platform lacks are never asked for.
HFONT appCreateUiFontOfHeight(int height);
