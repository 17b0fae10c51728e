// Freehand fitting and node-edit commit step of qm_bench.
#pragma once

// Fits 10,000 freehand samples into Bezier segments, and commits a
// 20,000-point polyline's moved working points into its record; prints
// each time (aims: under 20 ms and under 5 ms).
void benchFittingAndCommit();
