#include "app/app_frame_globals.h"

namespace {
HWND g_frame = nullptr;
HFONT g_frameFont = nullptr;
HWND g_activeWorkspace = nullptr;
}

HWND appGetFrameWindow() { return g_frame; }
void appSetFrameWindow(HWND frame) { g_frame = frame; }
HFONT appGetFrameFont() { return g_frameFont; }
void appSetFrameFont(HFONT font) { g_frameFont = font; }
HWND appGetActiveWorkspace() { return g_activeWorkspace; }
void appSetActiveWorkspace(HWND workspace) { g_activeWorkspace = workspace; }
