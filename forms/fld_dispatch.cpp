// The form controls' part of the object dispatch.
#include "forms/fld_dispatch.h"
#include "forms/ent_field.h"
#include "forms/fld_button.h"
#include "forms/fld_check.h"
#include "forms/sh_groupbox.h"
#include "model/ob_dispatch.h"

uint32_t fldObjRecordSize(ObjectRecord *rec, uint32_t blockSize)
{
    if (!rec)
        return 0;
    // The dispatch stores what it is given: the length kept within the block.
    switch (rec->type) {
    case OBT_BUTTON:
        btnRecordSizeIn(rec, blockSize);
        return rec->length;
    case OBT_CHECKBOX:
    case OBT_RADIO:
    case OBT_GROUP_BOX:
        ckbCalcRecordSizeIn(rec, blockSize);
        return rec->length;
    case OBT_ENTRY:
    case OBT_LIST_FIELD:
    case OBT_EQUATION:
    case OBT_FIELD51:
        // A record too short for its part keeps its length within the block.
        if (!entRecordSize(rec, blockSize) && rec->length > blockSize)
            rec->length = blockSize;
        return rec->length;
    default:
        return 0;
    }
}

int fldObjDraw(HDC dc, ObjectRecord *rec)
{
    if (!rec)
        return 0;
    switch (rec->type) {
    case OBT_BUTTON:
        btnDraw(dc, rec);
        return 1;
    case OBT_CHECKBOX:
        ckbDraw(dc, rec);
        return 1;
    case OBT_RADIO:
        radDraw(dc, rec);   // the radio button's box is the check box's
        return 1;
    case OBT_GROUP_BOX:
        shGroupBoxDraw(dc, rec);
        return 1;
    case OBT_ENTRY:
    case OBT_LIST_FIELD:
    case OBT_EQUATION:
    case OBT_FIELD51:
        entDraw(dc, rec);
        return 1;
    default:
        return 0;
    }
}

int fldObjScale(MemHandle h, const RECT *target)
{
    switch (obGetType(h)) {
    case OBT_CHECKBOX:
    case OBT_RADIO:
    case OBT_GROUP_BOX:
        fldCheckSetRect(h, target);
        return 1;
    case OBT_ENTRY:
    case OBT_LIST_FIELD:
    case OBT_EQUATION:
    case OBT_FIELD51:
        entSetRect(h, target);
        return 1;
    default:
        return 0;
    }
}
