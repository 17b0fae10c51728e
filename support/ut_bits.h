// Setting, clearing and toggling the bits of a mask.
#pragma once
#include "support/qmwin.h"

// The word with the mask's bits set (flag non-zero) or cleared.
uint16_t utSetBitsW(uint16_t word, uint16_t mask, BOOL flag);
uint32_t utSetBits(uint32_t value, uint32_t mask, BOOL flag);
// Exclusive-or of the mask into the word, in place.
void utToggleBitsW(uint16_t *word, uint16_t mask);
