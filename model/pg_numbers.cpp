// The page-number settings attribute.
#include "model/pg_numbers.h"
#include "model/fm_form.h"
#include <string.h>

int pgGetNumberSettings(MemHandle form, PageNumberSettings *settings)
{
    int length = 0;
    const uint8_t *data = fmFindAttr(form, FM_TAG_NUMBER_SETTINGS, &length);
    if (!data)
        return 0;
    uint32_t stored = 0;
    if (length >= 4)
        memcpy(&stored, data, 4);
    bool whole = length == (int)sizeof(PageNumberSettings) && stored == sizeof(PageNumberSettings);
    if (whole)
        memcpy(settings, data, sizeof(*settings));
    fmUnlock(form);
    return whole && settings->placement != 0 ? 1 : 0;
}

MemHandle pgSetNumberSettings(MemHandle form, const PageNumberSettings *settings)
{
    if (!settings)
        return fmSetAttr(form, FM_TAG_NUMBER_SETTINGS, nullptr, 0);
    PageNumberSettings copy = *settings;
    copy.length = sizeof(copy);
    return fmSetAttr(form, FM_TAG_NUMBER_SETTINGS, &copy, (int)sizeof(copy));
}
