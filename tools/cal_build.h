// The data of a new calendar object (type 52): one month with its title,
// weekday headings and six week rows, laid out in the dragged rectangle.
#pragma once
#include "support/qmwin.h"
#include "model/ob_record.h"

const uint32_t kCalDataSize = 308;
const uint16_t kCalVersion = 20;

// Offsets in the calendar's type data.
enum : uint32_t {
    CAL_SIZE = 0, CAL_YEAR = 6, CAL_MONTH = 8, CAL_GRID = 16, CAL_ROWS = 17,
    CAL_TITLE_HEIGHT = 20, CAL_TITLE_FONT = 24, CAL_TITLE_ALIGN = 84, CAL_FLAGS = 86,
    CAL_HEAD_HEIGHT = 88, CAL_HEAD_FONT = 92, CAL_HEAD_ALIGN = 152, CAL_HEAD_SHOWN = 154,
    CAL_DAY_FONT = 156, CAL_DAY_ALIGN = 218, CAL_SPARE_FONT = 220, CAL_TAIL = 288,
    CAL_BODY_HEIGHT = 292, CAL_VERSION_AT = 306,
};

// Gives a record with its head the data of a new calendar for the current
// month: grid lines, six rows, all four fonts from the LOGFONT at the start
// of `fontRecord` (the title's bold), alignment words 9, title and headings
// shown, version 20; the record becomes 86 + 308 bytes (no name), is placed
// at `bounds` and laid out: the heights split the box, the title and the
// weekday names widen it when they need room, the week rows are a multiple
// of six high. The valid handle, or 0 on failure.
MemHandle calBuild(MemHandle h, const RECT *bounds, const void *fontRecord);

// The calendar laid out again in its box (heights kept when the body has
// one, widened for the title and the weekday names, the week rows a
// multiple of six high). Nothing for a record too short for the data.
void calRecalcLayout(MemHandle calendar);
