// Services the frame needs of modules that are being built now; each is
// replaced by a call to its owner when the owner lands.
#pragma once
#include "support/qmwin.h"

// The rulers' window classes "qm_ruler" and "qm_rulerbtn" (to become the
// rulers' own rulRegisterClasses).
BOOL appRegisterRulerClasses(HINSTANCE instance);
