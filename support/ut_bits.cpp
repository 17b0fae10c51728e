// Bit masks.
#include "support/ut_bits.h"

uint16_t utSetBitsW(uint16_t word, uint16_t mask, BOOL flag)
{
    return flag ? (uint16_t)(word | mask) : (uint16_t)(word & ~mask);
}

uint32_t utSetBits(uint32_t value, uint32_t mask, BOOL flag)
{
    return flag ? (value | mask) : (value & ~mask);
}

void utToggleBitsW(uint16_t *word, uint16_t mask)
{
    if (word)
        *word ^= mask;
}
