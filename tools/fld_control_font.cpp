// Label font and flags of the check box family.
#include "tools/fld_control_font.h"
#include "forms/ctl_label.h"
#include "forms/fld_check.h"
#include "model/ob_record.h"
#include <string.h>

int fldGetLabelFont(MemHandle control, LOGFONTA *font)
{
    ObLock r(control);
    ControlPart *part = r ? ckbPart(r.get()) : nullptr;
    if (!part || !font)
        return 0;
    memcpy(font, &part->font, sizeof *font);
    return 1;
}

MemHandle fldSetLabelFont(MemHandle control, const LOGFONTA *font)
{
    {
        ObLock r(control);
        ControlPart *part = r ? ckbPart(r.get()) : nullptr;
        if (!part || !font)
            return 0;
        memcpy(&part->font, font, sizeof *font);
    }
    fldCheckFitRect(control);
    return control;
}

void fldSetFlag4(MemHandle control)
{
    ObLock r(control);
    if (ControlPart *part = r ? ckbPart(r.get()) : nullptr)
        part->flags |= CKB_3D;
}

MemHandle fldSetLabelText(MemHandle control, const char *text)
{
    return ctlSetLabelText(control, text);
}
