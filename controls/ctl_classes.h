// The small control classes registered at start-up: the static text window
// "stxwin" and the picture and button controls ("qm_util", with the message
// bar's procedure, is registered by the message bar: app/mb_msgbar.h). The static text and picture controls are registered
// with the default procedure (made, painted in their background, destroyed)
// until their own procedures land.
#pragma once
#include "support/qmwin.h"

BOOL ctlRegisterStaticText(HINSTANCE instance);     // "stxwin"
BOOL ctlRegisterBmpButton(HINSTANCE instance);      // "bmpbtnctrl"
BOOL ctlRegisterObjButton(HINSTANCE instance);      // "qmobjbtnctrl"
BOOL ctlRegisterFileButton(HINSTANCE instance);     // "qmfbtnctrl"
BOOL ctlRegisterOlbObjButton(HINSTANCE instance);   // "olbobtnctrl"
BOOL ctlRegisterAnimCtrl(HINSTANCE instance);       // "aooc"
BOOL ctlRegisterImageFrame(HINSTANCE instance);     // "qmimgfctrl"
