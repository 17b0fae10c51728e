// The common main of every test program: the allocator runs in the moving
// mode (every grow moves the block, freed blocks are poisoned and their
// handles die), stray message boxes fail the test, and settings go to a
// registry key of this run's own that is removed at the end. Every folder's
// object types are registered before the first test, as the program does
// at start-up.
#include "tests/support/kit.h"
#include "support/ut_mem.h"
#include "support/ut_msg.h"
#include "support/settings_reg.h"
#include "support/app_frame_globals.h"
#include "app/app_start.h"
#include "app/app_hooks.h"

namespace qmtest {
void installStrayBoxCheck();

namespace {
std::vector<std::string> g_arguments;
}

const std::vector<std::string> &programArguments() { return g_arguments; }
}

namespace {
class KitEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        char product[32];
        wsprintfA(product, "QD Test %lu", (unsigned long)GetCurrentProcessId());
        setInitPaths(product, "Quillmark Draw Version 2.50", nullptr);
        utSetAppName(nullptr, "Quillmark Draw");
        utSetDebugMode(UT_DEBUG_MOVE_ON_GROW);
        qmtest::installStrayBoxCheck();
        appRegisterTypes();
    }
    void TearDown() override
    {
        HKEY maker;
        if (RegOpenKeyExA(HKEY_CURRENT_USER, "Software\\Verdant Arcade", 0, KEY_ALL_ACCESS,
                          &maker) == ERROR_SUCCESS) {
            char sub[96];
            wsprintfA(sub, "%s\\%s", setGetProductName(), setGetVersionKey());
            RegDeleteKeyA(maker, sub);
            RegDeleteKeyA(maker, setGetProductName());
            RegCloseKey(maker);
        }
        utResetMemModule();
    }
};
}  // namespace

int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i)
        qmtest::g_arguments.push_back(argv[i]);
    // The calls the upper floors lend the lower ones, as the program's
    // start-up installs them.
    appInstallHooks();
    ::testing::AddGlobalTestEnvironment(new KitEnvironment);
    return RUN_ALL_TESTS();
}
