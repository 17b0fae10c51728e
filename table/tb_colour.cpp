// Object colours applied to a table's cells: the fill colour is the cells'
// text colour, the background their background and the pen their borders.
#include "table/tb_colour.h"
#include "table/tb_record.h"
#include "model/ob_record.h"

void tbApplyColour(MemHandle table, COLORREF colour, int colourId)
{
    ObLock r(table);
    TbParts p;
    if (!r || !tbLocate(r.get(), r.extent(), &p))
        return;
    for (int i = 0, n = p.head->columns * p.head->rows; i < n; ++i) {
        TableCell &c = p.cells[i];
        switch (colourId) {
        case OB_COLOUR_FILL: c.foreColour = colour; break;
        case OB_COLOUR_BACK: c.backColour = colour; break;
        case OB_COLOUR_PEN: c.frameColour = colour; break;
        default: break;
        }
    }
}
