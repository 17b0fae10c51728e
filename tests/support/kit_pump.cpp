// The test pump: the main loop's own routing over the queue until it is empty.
#include "tests/support/kit.h"
#include "app/app_start.h"

namespace qmtest {

bool pumpUntilIdle(int *quitCode)
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            if (quitCode)
                *quitCode = (int)msg.wParam;
            return true;
        }
        appPumpMessage(&msg);
    }
    return false;
}

}  // namespace qmtest
