// The label grid of a label-sheet layout.
#include "model/lbl_spec.h"
#include "support/ut_units.h"

namespace {

int32_t toTwips(double value, int unit)
{
    double inches = unit == UT_UNIT_INCH ? value : utConvertUnit(value, unit, UT_UNIT_INCH);
    return (int32_t)(inches * 1440.0);
}

}  // namespace

void lblSpecToUnits(const LabelSpec *spec, LabelLayout *out)
{
    int unit = spec->unit;
    out->marginX = toTwips(spec->marginX, unit);
    out->marginY = toTwips(spec->marginY, unit);
    out->labelWidth = toTwips(spec->labelWidth, unit);
    out->labelHeight = toTwips(spec->labelHeight, unit);
    out->pitchX = toTwips(spec->pitchX, unit);
    out->pitchY = toTwips(spec->pitchY, unit);
    out->columns = spec->columns;
    out->rows = spec->rows;
}

int lblCellRect(const LabelLayout *layout, int32_t column, int32_t row, RECT *rect)
{
    if (column < 0 || row < 0 || column >= layout->columns || row >= layout->rows)
        return 0;
    rect->left = layout->marginX + layout->pitchX * column;
    rect->right = rect->left + layout->labelWidth;
    rect->top = layout->marginY + layout->pitchY * row;
    rect->bottom = rect->top + layout->labelHeight;
    return 1;
}
