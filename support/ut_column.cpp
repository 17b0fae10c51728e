// Spreadsheet-style column names.
#include "support/ut_column.h"

namespace {

int columnName(char *buffer, int32_t n, int size, char first)
{
    if (!buffer || size < 1)
        return 0;
    char rev[16];
    int len = 0;
    for (int64_t v = n; v >= 1 && len < (int)sizeof rev; v = (v - 1) / 26)
        rev[len++] = (char)(first + (v - 1) % 26);
    if (len > size - 1)
        len = size - 1;
    for (int i = 0; i < len; ++i)
        buffer[i] = rev[len - 1 - i];
    buffer[len] = 0;
    return len;
}

}  // namespace

int utColumnName(char *buffer, int32_t n, int size) { return columnName(buffer, n, size, 'A'); }

int utColumnNameLower(char *buffer, int32_t n, int size) { return columnName(buffer, n, size, 'a'); }
