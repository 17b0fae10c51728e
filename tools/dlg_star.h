// The small dialogs of the star and regular-polygon tools: the number of
// tips (corners) and the star's inner radius in percent, with a sample.
#pragma once
#include "support/qmwin.h"

enum : int {
    IDC_STAR_SAMPLE = 100,
    IDC_STAR_NODES = 201,
    IDC_STAR_NODES_SPIN = 202,
    IDC_STAR_INNER = 203,
    IDC_STAR_INNER_SPIN = 204,
    IDC_STAR_OK = 999,
    IDC_STAR_CANCEL = 998,
};

// "STAR": 0 on Cancel, else 1 with the values last accepted (tips starts
// at the current star count, the percentage at 50).
int dlgStar(HWND ws, int16_t *tips, int16_t *percent);
// "EQLATPOLYGON": 0 on Cancel, else 1 with the corners.
int dlgEqlatPolygon(HWND ws, int16_t *corners);
