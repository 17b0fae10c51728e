// Entry field styles set when a field is made.
#include "tools/ent_equation_style.h"
#include <string.h>

namespace {
const uint32_t kTypeOffset = 6;
const uint32_t kModeOffset = 8;
const uint32_t kFlagsOffset = 76;
}  // namespace

uint32_t entStyleFlags(uint32_t flags, uint16_t type)
{
    uint32_t multi = flags & 0x1;
    if (type == 3 || type == 31)
        return (flags | 0x30 | 0x8) & ~(multi ? 0u : 0x8u);
    if (type == 14)
        return ((flags & ~0x30u) | 0x8) & ~(multi ? 0u : 0x8u);
    return (flags | 0x30) & ~0x9u;
}

void entSetEquationStyle(uint8_t *part, BOOL on)
{
    if (!part)
        return;
    int16_t mode = on ? 2 : 1;
    memcpy(part + kModeOffset, &mode, 2);
    if (!on)
        return;
    uint16_t type = 7;
    memcpy(part + kTypeOffset, &type, 2);
    uint32_t flags;
    memcpy(&flags, part + kFlagsOffset, 4);
    flags = entStyleFlags(flags, type);
    memcpy(part + kFlagsOffset, &flags, 4);
}
