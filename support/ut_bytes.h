// Unaligned little-endian fields inside byte buffers: records on disk and
// packed blocks keep their fields at fixed offsets with no alignment, so
// every access copies the bytes.
#pragma once
#include <stddef.h>
#include <string.h>

template <typename T> inline T utGetAt(const void *p, size_t at)
{
    T v;
    memcpy(&v, static_cast<const unsigned char *>(p) + at, sizeof v);
    return v;
}

template <typename T> inline void utPutAt(void *p, size_t at, T v)
{
    memcpy(static_cast<unsigned char *>(p) + at, &v, sizeof v);
}
