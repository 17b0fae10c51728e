// Number display formats.
#include "support/num_format.h"
#include <math.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

std::string printf1(const char *format, double v)
{
    char buf[512];
    int n = snprintf(buf, sizeof buf, format, v);
    return n < 0 ? std::string() : std::string(buf, (size_t)n < sizeof buf ? (size_t)n : sizeof buf - 1);
}

std::string printf2(const char *format, int a, int b, double v)
{
    char buf[512];
    int n = snprintf(buf, sizeof buf, format, a, b, v);
    return n < 0 ? std::string() : std::string(buf, (size_t)n < sizeof buf ? (size_t)n : sizeof buf - 1);
}

double roundHalfAway(double v)
{
    return v < 0 ? -floor(-v + 0.5) : floor(v + 0.5);
}

// The integer styles: a value rounded half away from zero; from 2147483647
// on, every integer digit of the value, not through a 32-bit integer.
std::string integerText(double v)
{
    double r = roundHalfAway(v);
    if (fabs(v) >= 2147483647.0)
        return (v < 0 ? "-" : "") + printf1("%.0f", fabs(r));
    char buf[32];
    snprintf(buf, sizeof buf, "%ld", (long)(int32_t)r);
    return buf;
}

// Fixed point with d decimals, binary noise below the tenth decimal removed
// first for small values and few decimals.
std::string fixedText(double v, int d)
{
    if (fabs(v) < 1e13 && d < 5)
        v = strtod(printf1("%0.10lf", v).c_str(), nullptr);
    return printf2("%*.*lf", d, d, v);
}

std::string scientificText(double v, int d)
{
    std::string s = printf2("%*.*E", d, d, v);
    // A three-digit power of ten loses its leading 0 (two digits at least).
    size_t e = s.find('E');
    if (e != std::string::npos && e + 2 < s.size() && s.size() - (e + 2) == 3 && s[e + 2] == '0')
        s.erase(e + 2, 1);
    return s;
}

void addThousands(std::string &s)
{
    size_t start = (!s.empty() && (s[0] == '-' || s[0] == '+')) ? 1 : 0;
    size_t point = s.find('.', start);
    size_t end = point == std::string::npos ? s.size() : point;
    // The run of digits from the start.
    size_t digitsEnd = start;
    while (digitsEnd < end && s[digitsEnd] >= '0' && s[digitsEnd] <= '9')
        ++digitsEnd;
    if (digitsEnd - start <= 3)
        return;
    std::string grouped;
    size_t n = digitsEnd - start;
    for (size_t i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            grouped += ',';
        grouped += s[start + i];
    }
    s = s.substr(0, start) + grouped + s.substr(digitsEnd);
}

}  // namespace

char numSymbolChar(uint8_t code)
{
    switch (code) {
    case 1: return '$';
    case 2: return '#';
    case 3: return '*';
    case 4: return '~';
    case 5: return '%';
    default: return 0;
    }
}

BOOL numAddThousands(char *text, uint32_t size)
{
    if (!text)
        return FALSE;
    std::string s(text);
    addThousands(s);
    if (s.size() + 1 > size)
        return FALSE;
    memcpy(text, s.c_str(), s.size() + 1);
    return TRUE;
}

void numSwapSeparators(char *text)
{
    for (char *p = text; p && *p; ++p) {
        if (*p == ',')
            *p = '.';
        else if (*p == '.')
            *p = ',';
    }
}

int numFormatValue(char *dst, uint32_t size, double value, uint32_t style)
{
    if (!dst || size == 0)
        return 0;
    dst[0] = '\0';
    if (!isfinite(value))
        return 0;
    int kind = (int)(style & 0xFF);
    int d = (int)((style >> 8) & 0xFF);
    if (kind == 0)
        d = 2;
    if (d > (int)NUM_MAX_DECIMALS)
        d = NUM_MAX_DECIMALS;
    std::string s;
    switch (kind) {
    case 1:
        s = integerText(value);
        break;
    case 2: {
        char buf[32];
        double r = roundHalfAway(value);
        int32_t i = r >= 2147483647.0 ? 0x7FFFFFFF : r <= -2147483648.0 ? (int32_t)0x80000000 : (int32_t)r;
        snprintf(buf, sizeof buf, "%x", (unsigned)(uint32_t)i);
        s = buf;
        break;
    }
    case 3:
        s = fixedText(value, d);
        break;
    case 4:
        s = scientificText(value, d);
        break;
    case 5:
    case 10:
    case 11:
    case 12:
        s = fixedText(value, d == 0 ? 2 : d);
        addThousands(s);
        if (kind == 10) {
            std::string t = s;
            numSwapSeparators(&t[0]);
            s = t;
        } else if (kind == 12 && value < 0) {
            s = "(" + s + ")";
        }
        break;
    case 6:
        s = integerText(value);
        addThousands(s);
        break;
    default:
        s = fixedText(value, 2);
        break;
    }
    char prefix = numSymbolChar((uint8_t)(style >> 24));
    char suffix = numSymbolChar((uint8_t)(style >> 16));
    if (prefix)
        s.insert(s.begin(), prefix);
    if (suffix)
        s += suffix;
    if (s.size() + 1 > size)
        return 0;
    memcpy(dst, s.c_str(), s.size() + 1);
    return 1;
}

uint32_t numDefaultStyleForKind(uint16_t kind)
{
    switch (kind) {
    case 4:
    case 5:
        return 1;
    case 6:
    case 7:
        return 515;
    case 10:
    case 11:
    case 12:
        return 8;
    case 60:
        return 25;
    default:
        return 0;
    }
}
