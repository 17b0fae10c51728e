// Record-level services of the form fields.
#include "forms/fld_record.h"
#include "model/att_attr.h"
#include "support/ut_mem.h"
#include <stdio.h>
#include <string.h>

void fldEntryRefCaption(const uint8_t *data, uint32_t dataBytes, char *buffer)
{
    if (!buffer)
        return;
    buffer[0] = 0;
    if (!data || dataBytes <= kErfNameOffset)
        return;
    char name[kErfNameBytes];
    uint32_t n = dataBytes - kErfNameOffset < kErfNameBytes ? dataBytes - kErfNameOffset
                                                           : kErfNameBytes;
    memcpy(name, data + kErfNameOffset, n);
    name[n < kErfNameBytes ? n : kErfNameBytes - 1] = 0;
    snprintf(buffer, 40, ">> %s", name);
}
