// Bullet symbols: small figures drawn with GDI in the text colour for the
// symbols embedded in text, the bullet dialog's samples and calendar marks.
#pragma once
#include "support/qmwin.h"

// Width 2 x the average character width, height ascent less internal
// leading of the font selected in dc; packed width low, height high.
uint32_t txBulletSize(HDC dc);
// Figure n (1 to 61; others draw nothing) centred in rect, turned by angle
// (tenths of a degree), in color.
void txDrawBullet(HDC dc, const RECT *rect, int32_t angle, int n, COLORREF color);
// While on, figures are drawn with a pen 1 logical unit wide.
void txSetBulletSample(BOOL on);
uint16_t txGetBulletSample();
