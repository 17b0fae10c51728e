#include "views/prn_custom.h"

int prnCustomDriverCommand(HWND, HMENU, int command, int argument)
{
    switch (command) {
    case 1959:
        return argument >= PRN_CUSTOM_FIRST && argument <= PRN_CUSTOM_LAST;
    case 1958:
        return 1;
    default:
        return 0;
    }
}
