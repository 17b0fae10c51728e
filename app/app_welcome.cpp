#include "app/app_welcome.h"

int appHelloDialog(HWND, const char *, int *, BOOL)
{
    return 0;
}
