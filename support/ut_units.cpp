// Unit names and conversion through centimetres.
#include "support/ut_units.h"
#include "support/ut_mem.h"

namespace {

// The factors are single-precision constants widened to double, kept as
// they always were so that stored lengths convert to the same numbers.
double toCentimetres(int code)
{
    switch (code) {
    case UT_UNIT_TWIPS: return 0.0017638889220500007;
    case UT_UNIT_FEET: return 30.480000882700825;
    case UT_UNIT_METRE: return 100.0;
    case UT_UNIT_CM: return 1.0;
    default: return 2.540000047752001;
    }
}

double fromCentimetres(int code)
{
    switch (code) {
    case UT_UNIT_TWIPS: return 566.9291231999999;
    case UT_UNIT_FEET: return 0.032808398;
    case UT_UNIT_METRE: return 0.01;
    case UT_UNIT_CM: return 1.0;
    default: return 0.39370078;
    }
}

}  // namespace

double utConvertUnit(double value, int from, int to)
{
    if (from == to)
        return value;
    return value * toCentimetres(from) * fromCentimetres(to);
}

char *utUnitName(char *buffer, int code, uint32_t size)
{
    static const char *const kNames[] = {"Pixels", "Log-Inches", "inches", "ft", "meters", "cm"};
    const char *name = (code >= UT_UNIT_PIXELS && code <= UT_UNIT_CM) ? kNames[code - 1] : "";
    return utStrCopyN(buffer, name, size);
}
