// Picture benchmark step of qm_bench.
#pragma once

// Writes a 2000 x 1500 PNG, loads it into a bitmap object and draws the
// object into a 1000 x 750 DIB; prints the times (the decoding alone
// beside them).
void benchPicture();
