// The text types.
#include "text/tx_types.h"
#include "text/tx_attr.h"
#include "text/tx_draw_object.h"
#include "text/tx_file.h"
#include "text/tx_flow.h"
#include "text/tx_label.h"
#include "text/tx_object.h"
#include "model/ob_dispatch.h"
#include "model/ob_types.h"

namespace {

int rescaleText(MemHandle *h, const RECT *target)
{
    *h = txRescale(*h, target);
    return 1;
}

int rescaleLabel(MemHandle *h, const RECT *target)
{
    *h = txScaleLabel(*h, target);
    return 1;
}

BOOL textBounds(MemHandle h, RECT *r)
{
    ObLock rec(h);
    return rec ? txGetBounds(r, rec.get()) : FALSE;
}

int rotateText(MemHandle h, POINT pt, int16_t angle)
{
    ObLock rec(h);
    txRotateObject(rec.get(), &pt, angle);
    return 1;
}

// The pen colour leaves the text's colour codes; the others clear theirs.
void textColour(HWND window, MemHandle h, COLORREF colour, int colourId)
{
    if (colourId != OB_COLOUR_PEN)
        txClearColorCodes(window, h, colour, colourId);
}

void labelColour(HWND window, MemHandle h, COLORREF colour, int colourId)
{
    if (colourId != OB_COLOUR_PEN)
        txClearLabelColorCodes(window, h, colour, colourId);
}

}  // namespace

void txRegisterTypes()
{
    ObTypeProcs text = {};
    text.flags = OBTF_BOUNDS_OR_BOX | OBTF_SCALE_KEEPS_GRADIENT | OBTF_FRAMED;
    text.frameWordAt = 76;
    text.recordSize = txRecSize;
    text.draw = txDrawObject;
    text.bounds = textBounds;
    text.rescale = rescaleText;
    text.flipRotate = rotateText;
    text.keepsRightEdge = txIsRightToLeft;
    text.setColour = textColour;
    txSetFileForm(OBT_TEXT, &text);
    obRegisterType(OBT_TEXT, &text);

    ObTypeProcs label = {};
    label.flags = OBTF_SCALE_KEEPS_GRADIENT | OBTF_FRAMED;
    label.frameWordAt = 62;
    label.recordSize = txLabelRecSize;
    label.readCheck = txLabelReadCheck;
    label.draw = txDrawLabel;
    label.rescale = rescaleLabel;
    label.setColour = labelColour;
    txSetFileForm(OBT_LABEL, &label);
    obRegisterType(OBT_LABEL, &label);
}
