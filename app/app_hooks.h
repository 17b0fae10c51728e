// The calls the user-interface floor lends the floors below it (README.md,
// Layout): the program's start-up installs them before anything else runs,
// and so does every test program's kit before its first test.
#pragma once
#include "support/qmwin.h"

void appInstallHooks();
