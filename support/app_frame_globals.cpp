#include "support/app_frame_globals.h"

namespace {
HWND g_frame = nullptr;
HFONT g_frameFont = nullptr;
}

HWND appGetFrameWindow() { return g_frame; }
void appSetFrameWindow(HWND frame) { g_frame = frame; }
HFONT appGetFrameFont() { return g_frameFont; }
void appSetFrameFont(HFONT font) { g_frameFont = font; }
