// The image fit choice: answers Cancel until its dialog is built (see the header).
#include "objects/img_fit_mode.h"

int obAskImageFitMode(HWND, const char *, uint32_t *)
{
    return 0;
}
