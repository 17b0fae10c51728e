// A readable rendering of a text stream, one tag per layout byte, control
// code and embedded object, for the editor's debug command and for
// checking line layout. Nothing is changed.
#pragma once
#include "support/qmwin.h"

struct CharFormat;

// A new handle of readable text; "^" marks the unit starting at the caret
// offset (-1: none), and a last line describes a character there.
MemHandle txDumpStream(const char *s, const CharFormat *fmt, int32_t caret);
// The tag of the code at p into dst (room for 300 bytes); its length, 0
// for codes without a tag.
int32_t txDumpCode(char *dst, const char *p);
// The tag of the embedded object at p; 0 for kinds without one.
int32_t txDumpObject(char *dst, const char *p);
