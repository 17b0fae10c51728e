// Composite and brush line drawing step of qm_bench.
#pragma once

// Draws a grid composite of 40 x 25 rectangle copies, a brush line of 10
// strokes of 1,000 control points with the smooth swell profile, and a
// damaged composite of 32,767 x 32,767 copies at step 0 into a 1600 x 1200
// bitmap, and prints each time.
void benchCompositesAndBrushes();
