// The "choice" dialog: a prompt over up to four radio choices.
#pragma once
#include "support/qmwin.h"

// Shows the prompt in 99 and the texts on the radio buttons 100 to 103
// (buttons beyond the count hidden), the first checked. OK gives the value
// of the checked choice, Cancel 0. A count outside 1..4 gives 0 at once.
int dlgChoice(HWND owner, const char *prompt, const char *const *texts, const uint16_t *values,
              int count);
