// Program entry point. The frame window and the main loop come with the
// start-up module; until then the program initialises its support state and
// exits at once.
#include "support/ut_msg.h"
#include "app/settings_reg.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    setInitPaths("Quillmark Draw", "Quillmark Draw Version 2.50", nullptr);
    utSetAppName(nullptr, "Quillmark Draw");
    return 0;
}
