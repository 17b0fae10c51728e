// The object-kind fuzz: one document per stored object kind (every type
// the type table holds with a file form, so kinds registered later join
// by themselves), written by the program, its object's fields mutated,
// each case read, drawn at 25 and 400 percent, outlined, bounded, printed
// to a metafile DC, saved again, turned and rescaled, within a time limit
// per case, with no memory block or GDI object left behind.
//
// The suite runs a fixed number of cases. By hand, any number:
//   QM_BUILD_DIR=build tests/run_wine_test.sh build/fuzz_tests.exe
//       --gtest_filter='KindFuzz.*' --cases=1000000 --seed=7 [--first=N]
//       [--limit-ms=2000]
// (one command line).
// Case i uses the random numbers of (seed, i) alone, so --first=i
// --cases=1 repeats a case a failure names.
#include "tests/fuzz/fuzz_kit.h"
#include "model/ob_dispatch.h"
#include "model/ob_types.h"
#include <stdlib.h>

using namespace fuzzkit;

namespace {

// A numeric argument --name=value; `fallback` when absent.
uint64_t argument(const char *name, uint64_t fallback)
{
    std::string prefix = std::string("--") + name + "=";
    for (const std::string &a : qmtest::programArguments())
        if (a.compare(0, prefix.size(), prefix) == 0)
            return strtoull(a.c_str() + prefix.size(), nullptr, 10);
    return fallback;
}

TEST(KindFuzz, EveryStoredKindIsReadDrawnPrintedAndSavedInTime)
{
    const uint64_t cases = argument("cases", 3000);
    const uint64_t first = argument("first", 0);
    const uint32_t seedValue = (uint32_t)argument("seed", 20261211);
    const DWORD limit = (DWORD)argument("limit-ms", 2000);
    qmtest::TempDir dir;
    std::vector<int16_t> missing;
    std::vector<Seed> seeds = makeSeeds(dir.path(), &missing);
    std::vector<int16_t> kinds;
    for (const Seed &s : seeds)
        kinds.push_back(s.kind);
    // The kinds whose faults the fuzz was made for are all seeded.
    for (int16_t k : {OBT_ENTRY, OBT_LIST_FIELD, OBT_EQUATION, OBT_BUTTON, OBT_BOX, OBT_TABLE,
                      OBT_LABEL, OBT_ENHANCED_MF, OBT_METAPICT, OBT_BRUSH_LINE, OBT_DIMENSION,
                      OBT_POLYHV, OBT_POLYLINE, OBT_POLYGON, OBT_DIAMOND, OBT_PIE, OBT_GRID})
        EXPECT_NE(kinds.end(), std::find(kinds.begin(), kinds.end(), k)) << "kind " << k;
    std::string path = dir.file("case.qm"), resave = dir.file("resaved.qm");

    // Each seed reads back whole (this also loads what the drawing keeps
    // for the process: fonts, lists of the pass).
    for (const Seed &s : seeds) {
        ASSERT_TRUE(qmtest::writeFile(path, s.doc));
        Round r = runRound(path, resave);
        EXPECT_TRUE(r.opened && r.objects == 1 && r.saved) << "seed of kind " << s.kind << ": "
                                                           << r.messages;
    }
    Counts base = countsNow();
    Watchdog watchdog(limit);
    int opened = 0, kept = 0;
    for (uint64_t i = first; i < first + cases; ++i) {
        std::mt19937 random(seedValue ^ (uint32_t)(i * 2654435761u));
        const Seed &s = seeds[random() % seeds.size()];
        Bytes doc = s.doc;
        std::string what = "--seed=" + std::to_string(seedValue) + " --first=" +
                           std::to_string(i) + " " + mutate(s, doc, random, kinds);
        ASSERT_TRUE(qmtest::writeFile(path, doc)) << what;
        std::string leak;
        watchdog.begin(what);
        Round r = runCounted(path, resave, base, &leak);
        watchdog.end();
        opened += r.opened;
        kept += r.objects == 1;
        ASSERT_EQ("", leak) << "left by " << what;
    }
    EXPECT_TRUE(qmtest::fileIsClosed(path));
    EXPECT_GT(opened, 0);
    EXPECT_GT(kept, 0);
    printf("%llu cases over %zu kinds (%zu without a seed): %d opened, %d kept their object\n",
           (unsigned long long)cases, seeds.size(), missing.size(), opened, kept);
}

}  // namespace
