// The table head's copy for the undo.
#include "commands/tb_head.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_record.h"
#include "support/ut_mem.h"
#include <string.h>
#include <algorithm>
#include <vector>

BOOL tbIsTable(MemHandle object)
{
    int16_t type = obGetType(object);
    return type == OBT_TABLE || type == OBT_REPORT;
}

MemHandle tbCopyData(MemHandle table)
{
    if (!tbIsTable(table))
        return 0;
    std::vector<uint8_t> bytes;
    {
        ObLock r(table);
        if (!r)
            return 0;
        const uint8_t *p = reinterpret_cast<const uint8_t *>(r.get());
        bytes.assign(p, p + r.extent());
    }
    return utHandleFromBytes(bytes.data(), (uint32_t)bytes.size());
}

MemHandle tbReplaceHead(HWND ws, MemHandle table, MemHandle copy)
{
    if (!tbIsTable(table))
        return table;
    std::vector<uint8_t> bytes;
    {
        MemLock<ObjectRecord> s(copy);
        uint32_t size = utHandleSize(copy);
        if (!s || size < kObHeadSize || s->length < kObHeadSize || s->length > size)
            return table;
        const uint8_t *p = reinterpret_cast<const uint8_t *>(s.get());
        bytes.assign(p, p + s->length);
    }
    obInvalidate(ws, table);
    MemHandle h = obResize(table, (uint32_t)bytes.size());
    if (!h)
        return table;
    {
        ObLock r(h);
        if (!r || r.extent() < bytes.size())
            return h;
        uint8_t *p = reinterpret_cast<uint8_t *>(r.get());
        ObjectRecord live;
        memcpy(&live, p, sizeof live);
        memcpy(p, bytes.data(), bytes.size());
        memcpy(p, &live.length, 4);
        const uint32_t linksAt = offsetof(ObjectRecord, extraData);
        memcpy(p + linksAt, reinterpret_cast<const uint8_t *>(&live) + linksAt,
               sizeof(ObjectRecord) - linksAt);
    }
    obInvalidate(ws, h);
    return h;
}
