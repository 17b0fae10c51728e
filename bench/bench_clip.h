// Clipboard benchmark step of qm_bench.
#pragma once

// Copies a group of 2,000 rectangles (its object block and its picture
// renditions) and pastes it back from the block; prints both times.
void benchClipboard();
