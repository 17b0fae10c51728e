// Word and byte scrambling.
#include "support/ut_scramble.h"
#include "support/ut_mem.h"
#include "support/ff_file.h"
#include <string.h>

void utScrambleWords(void *buffer, uint32_t n, uint16_t key)
{
    uint8_t *p = static_cast<uint8_t *>(buffer);
    for (uint32_t i = 0; i + 1 < n; i += 2) {
        uint16_t w = (uint16_t)(p[i] | p[i + 1] << 8);
        w = (uint16_t)~(w ^ key);
        p[i] = (uint8_t)w;
        p[i + 1] = (uint8_t)(w >> 8);
    }
}

void utScrambleBytes(void *buffer, uint32_t n, const char *key)
{
    if (!key || !*key)
        return;
    size_t keyLength = strlen(key);
    uint8_t *p = static_cast<uint8_t *>(buffer);
    for (uint32_t i = 0; i < n; ++i)
        p[i] = (uint8_t)~(p[i] ^ (uint8_t)key[i % keyLength]);
}

void utScramblePacket(MemHandle packet, const char *key)
{
    if (!packet || !key || !*key)
        return;
    uint32_t block = utHandleSize(packet);
    uint32_t length = utGetPacketLength(packet);
    if (length > block)
        length = block;
    if (length <= 4)
        return;
    MemLock<uint8_t> p(packet);
    if (p)
        utScrambleBytes(p.get() + 4, length - 4, key);
}
