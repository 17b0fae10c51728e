// Scrambling of buffers that are kept unreadable in files and memory
// (passwords, text-bearing records). Each form is its own inverse: running
// it twice with the same key gives the bytes back.
#pragma once
#include "support/qmwin.h"

// Each of the first n / 2 little-endian 16-bit words becomes
// NOT(word XOR key); an odd last byte is left as it is.
void utScrambleWords(void *buffer, uint32_t n, uint16_t key);
// Each byte i becomes NOT(byte XOR key[i mod key length]); nothing for a
// null or empty key.
void utScrambleBytes(void *buffer, uint32_t n, const char *key);
// utScrambleBytes over a packet's data (the length - 4 bytes after its
// length word, never past the block); nothing for no handle or an empty key.
void utScramblePacket(MemHandle packet, const char *key);
