#include "app/opt_options.h"
#include "model/setup_record.h"

int optRunOptionsSheet(HWND) { return 0; }
void optEditLabelSource(HWND) {}

void optSetScrollStyle(HWND, HWND, int command)
{
    setPutScrollStyle(command == 1226 ? 0 : 2);
}

void optToggleDocViewBit(HWND, HWND) {}
