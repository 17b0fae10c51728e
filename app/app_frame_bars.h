// The frame's docked bars: the bar record in frame window long 4, the
// layout metrics and the rectangle of each docked area.
#pragma once
#include "support/qmwin.h"

// FrameBarBits: the visible bars; 128 and 512 only name areas.
enum : uint16_t {
    FB_MESSAGE = 1,       // message bar
    FB_DRAW = 2,          // drawing-tool band
    FB_LEFT = 8,          // left vertical bar
    FB_RIGHT = 32,        // right vertical bar
    FB_COLOR = 128,       // colour strip right of the drawing tools
    FB_BOTTOM = 256,      // bottom bar
    FB_CLIENT = 512,      // MDI client area
    FB_STANDARD = 1024,   // standard command bar
};

// Window longs of the frame (FrameWindowWords).
enum {
    FRAME_LONG_FONT = 0,
    FRAME_LONG_BARS = 4,
    FRAME_LONG_RECORD = 8,
    FRAME_WINDOW_BYTES = 20,
};

#pragma pack(push, 1)
struct FrameBarRecord {
    uint16_t bits;          // FrameBarBits of the visible bars
    uint32_t leftBar;       // windows of the docked bars
    uint32_t drawBar;
    uint32_t standardBar;
    uint32_t messageBar;
    uint32_t rightBar;
    uint32_t bottomBar;
    uint16_t saved;
    uint8_t reserved[22];
};
#pragma pack(pop)
static_assert(sizeof(FrameBarRecord) == 50, "the frame bar record is 50 bytes");

// Makes the record (long 4); FALSE when memory fails. Frees it again.
BOOL appNewBarRecord(HWND frame);
void appFreeBarRecord(HWND frame);

// The bar bits; -1 when the window carries no bar record.
int appGetBarBits(HWND frame);
void appSetBarBits(HWND frame, uint16_t bits);
BOOL appTestBar(HWND frame, uint16_t bit);
// Sets or clears one bit, only when its state differs; TRUE when it changed.
BOOL appShowBar(HWND frame, uint16_t bit, BOOL on);
// The window of the bar of a bit (1, 2, 8, 32, 256, 1024); null for none.
HWND appGetBarWindow(HWND frame, uint16_t bit);
void appSetBarWindow(HWND frame, uint16_t bit, HWND window);
// The drawing-tool bar of the main frame.
HWND appGetDrawToolBar();

// ---- layout metrics ---------------------------------------------------------------
struct FrameMetrics {
    int drawBandWidth;    // drawing buttons x 22 + 12
    int rowHeight;        // message row: 1.5 x the UI font's line height, at least 28
    int bottomHeight;     // row height + 3
    int leftWidth;        // 26, 27 or 28 from the screen width
    int standardWidth;    // standard buttons x 24 + 6
    int messageWidth;     // UI font's average character width x 54 + 180
};
enum {
    FRAME_DRAW_BAND_HEIGHT = 28,
    FRAME_RIGHT_WIDTH = 49,
    FRAME_DRAW_BUTTON = 22,
    FRAME_BAR_BUTTON = 24,
};
// The metrics from the screen width, the UI font's line height (height plus
// external leading) and average character width, and the button counts.
void appComputeFrameMetrics(int screenWidth, int lineHeight, int avgCharWidth, int drawButtons,
                            int standardButtons, FrameMetrics *out);
// The process-wide metrics the frame set at creation.
const FrameMetrics &appGetFrameMetrics();
void appSetFrameMetrics(const FrameMetrics &metrics);

// The rectangle of a docked area in a client rectangle with the given bits.
void appBarRectIn(const RECT &client, uint16_t bits, const FrameMetrics &m, uint16_t bar,
                  RECT *out);
// The same for the frame's client rectangle and bits.
void appGetBarRect(HWND frame, uint16_t bar, RECT *out);

// WM_SIZE: moves the colour strip, the message and standard bars (with bit
// 1), the left bar (with bit 8), the right bar (with bit 32) and the bottom
// bar to their areas, then the MDI client to its area.
void appLayoutBars(HWND frame);
