// The form field and control types.
#include "forms/fld_types.h"
#include "forms/ent_field.h"
#include "forms/fld_button.h"
#include "forms/fld_check.h"
#include "forms/fld_convert.h"
#include "objects/fld_frame.h"
#include "forms/fld_record.h"
#include "forms/sh_groupbox.h"
#include "model/ob_dispatch.h"
#include "model/ob_draw.h"
#include "model/ob_types.h"
#include "support/ut_mem.h"

namespace {

// Each size procedure stores the length kept within the block.
uint32_t buttonSize(ObjectRecord *rec, uint32_t blockSize)
{
    btnRecordSizeIn(rec, blockSize);
    return rec->length;
}

uint32_t checkSize(ObjectRecord *rec, uint32_t blockSize)
{
    ckbCalcRecordSizeIn(rec, blockSize);
    return rec->length;
}

// A record too short for its part keeps its length within the block.
uint32_t entrySize(ObjectRecord *rec, uint32_t blockSize)
{
    if (!entRecordSize(rec, blockSize) && rec->length > blockSize)
        rec->length = blockSize;
    return rec->length;
}

// Check boxes, radio buttons and group boxes keep at least their natural
// size. A button is left to the default (the rectangle set as it is): the
// rescale dispatch cannot hand back a record that moved, and re-wrapping
// its label may move it; fldButtonSetRect is the full operation.
int checkRescale(MemHandle *h, const RECT *target)
{
    fldCheckSetRect(*h, target);
    return 1;
}

int entryRescale(MemHandle *h, const RECT *target)
{
    entSetRect(*h, target);
    return 1;
}

// A background colour makes an unfilled field filled.
void entryColour(HWND, MemHandle h, COLORREF, int colourId)
{
    if (colourId == OB_COLOUR_BACK && obGetFillKind(h) == 0)
        obSetFillKind(h, 1);
}

// An entry reference shows its caption when it names a field.
BOOL referenceCaption(const uint8_t *data, uint32_t dataBytes, char *text, uint32_t size)
{
    if (kErfNameOffset >= dataBytes || !data[kErfNameOffset])
        return FALSE;
    char caption[40];
    fldEntryRefCaption(data, dataBytes, caption);
    utStrCopyN(text, caption, size);
    return text[0] != 0;
}

// Registers the type with its file form.
void enter(int16_t type, ObTypeProcs procs)
{
    fldSetFileForm(type, &procs);
    obRegisterType(type, &procs);
}

}  // namespace

void fldRegisterTypes()
{
    ObTypeProcs control = {};
    control.flags = OBTF_SCALE_KEEPS_GRADIENT;
    control.recordSize = buttonSize;
    control.draw = btnDraw;
    control.readCheck = btnReadCheck;
    enter(OBT_BUTTON, control);
    control.readCheck = nullptr;

    control.recordSize = checkSize;
    control.rescale = checkRescale;
    control.draw = ckbDraw;
    enter(OBT_CHECKBOX, control);
    control.draw = radDraw;   // the radio button's box is the check box's
    enter(OBT_RADIO, control);
    control.draw = shGroupBoxDraw;
    enter(OBT_GROUP_BOX, control);

    ObTypeProcs entry = {};
    entry.flags = OBTF_SCALE_KEEPS_GRADIENT | OBTF_FRAMED;
    entry.frameWordAt = 2;
    entry.recordSize = entrySize;
    entry.readCheck = entReadCheck;
    entry.draw = entDraw;
    entry.rescale = entryRescale;
    enter(OBT_FIELD51, entry);
    entry.setColour = entryColour;
    for (int16_t type : {OBT_ENTRY, OBT_LIST_FIELD, OBT_EQUATION})
        enter(type, entry);

    ObTypeProcs counter = {};
    counter.flags = OBTF_FRAMED;
    counter.frameWordAt = 10;
    enter(OBT_COUNTER, counter);

    ObTypeProcs reference = {};
    reference.flags = OBTF_FRAMED;
    reference.frameWordAt = 8;
    reference.caption = referenceCaption;
    enter(OBT_ENTRY_REF, reference);

    obSetFrameWidthHook(fldFrameBorderHalfWidth);
}
