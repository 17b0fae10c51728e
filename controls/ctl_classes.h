// The small control classes registered at start-up: "qm_util" (with the
// message bar's procedure), the static text window "stxwin" and the picture
// and button controls. The static text and picture controls are registered
// with the default procedure (made, painted in their background, destroyed)
// until their own procedures land.
#pragma once
#include "support/qmwin.h"

BOOL ctlRegisterUtilClass(HINSTANCE instance);      // "qm_util"
BOOL ctlRegisterStaticText(HINSTANCE instance);     // "stxwin"
BOOL ctlRegisterBmpButton(HINSTANCE instance);      // "bmpbtnctrl"
BOOL ctlRegisterObjButton(HINSTANCE instance);      // "qmobjbtnctrl"
BOOL ctlRegisterFileButton(HINSTANCE instance);     // "qmfbtnctrl"
BOOL ctlRegisterOlbObjButton(HINSTANCE instance);   // "olbobtnctrl"
BOOL ctlRegisterAnimCtrl(HINSTANCE instance);       // "aooc"
BOOL ctlRegisterImageFrame(HINSTANCE instance);     // "qmimgfctrl"
