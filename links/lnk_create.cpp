// Linked objects made for files dropped on a page: an image file object
// (type 78) naming the file, in the rectangle given.
//
// Not yet here: sizing the object to the linked picture, and linked
// document pages (a dropped document is linked as an image file object
// too, which draws nothing for it until those arrive).
#include "links/lnk_standins.h"
#include "links/imgf_kind.h"
#include "model/ob_record.h"
#include <string.h>

MemHandle lnkCreateLinkedObject(HWND, const RECT *rect, const char *path, int)
{
    if (!rect || !path || !*path)
        return 0;
    const size_t n = strnlen(path, 260);
    if (n >= 260)
        return 0;
    const uint32_t dataLength = kImgfNameOffset + (uint32_t)n + 1;
    MemHandle h = obNewRecord(kObHeadSize + dataLength);
    ObLock rec(h);
    if (!rec)
        return 0;
    rec->type = 78;
    rec->scaleX = rec->scaleY = kObScaleOne;
    obRecSetRect(rec.get(), rect);
    uint8_t *data = obRecData(rec.get());
    memcpy(data, &dataLength, 4);
    const uint16_t screenMapping = 1;
    memcpy(data + 14, &screenMapping, 2);
    memcpy(data + kImgfNameOffset, path, n + 1);
    return h;
}
