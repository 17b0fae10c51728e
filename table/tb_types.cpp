// The table types.
#include "table/tb_types.h"
#include "table/tb_colour.h"
#include "table/tb_draw.h"
#include "table/tb_file.h"
#include "table/tb_geometry.h"
#include "table/tb_record.h"
#include "model/ob_dispatch.h"
#include "model/ob_types.h"

namespace {

BOOL toFile(const ObjectRecord *, const uint8_t *data, uint32_t n, std::vector<uint8_t> &out)
{
    return tbDataToFile(data, n, out);
}

BOOL fromFile(ObjectRecord *, const uint8_t *data, uint32_t n, std::vector<uint8_t> &out)
{
    return tbDataFromFile(data, n, out);
}

int rescale(MemHandle *h, const RECT *target)
{
    *h = tbRescale(*h, target);
    return 1;
}

void setColour(HWND, MemHandle h, COLORREF colour, int colourId)
{
    tbApplyColour(h, colour, colourId);
}

}  // namespace

void tbRegisterTypes()
{
    ObTypeProcs table = {};
    table.flags = OBTF_SCALE_KEEPS_GRADIENT | OBTF_FRAMED;
    table.frameWordAt = 0;   // the outer frame style
    table.recordSize = tbRecordSize;
    table.readCheck = tbReadCheck;
    table.draw = tbDraw;
    table.rescale = rescale;
    table.setColour = setColour;
    table.files[0] = {0, 0, QMF_CONV_DATA, toFile, fromFile};
    obRegisterTypes({OBT_TABLE, OBT_REPORT}, table);
}
