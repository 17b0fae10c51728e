// Measurement unit codes, their names, and the conversion of lengths
// between them: 1 pixels, 2 twips, 3 inches, 4 feet, 5 metres, 6
// centimetres.
#pragma once
#include "support/qmwin.h"

enum : int {
    UT_UNIT_PIXELS = 1,
    UT_UNIT_TWIPS = 2,
    UT_UNIT_INCH = 3,
    UT_UNIT_FEET = 4,
    UT_UNIT_METRE = 5,
    UT_UNIT_CM = 6,
};

// Equal codes give the value unchanged; otherwise it goes through
// centimetres with the program's fixed factors (any code other than 2, 4,
// 5 and 6 counts as inches).
double utConvertUnit(double value, int from, int to);

// The unit's name into the buffer (size bytes, always terminated): 1
// "Pixels", 2 "Log-Inches", 3 "inches", 4 "ft", 5 "meters", 6 "cm"; empty
// for any other code. Returns the buffer.
char *utUnitName(char *buffer, int code, uint32_t size = 16);
