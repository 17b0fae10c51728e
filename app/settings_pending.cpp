// Services of other modules that the settings call. They move to their
// owners when the text editor lands.
#include "app/settings_pending.h"

// ---- receivers of stored settings ------------------------------------------
// Each keeps the value for its module until that module takes it over.

namespace {
COLORREF g_editorColor = 0xFF0000;
uint16_t g_fontDialogBits = 0;
}  // namespace

void txSetEditorColor(COLORREF colour) { g_editorColor = colour; }
void txSetFontDialogBits(uint16_t bits) { g_fontDialogBits = bits; }
