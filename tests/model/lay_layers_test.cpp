// Layers: the defaults, the flags of installed sets, sorted additions, page
// states swapped in and out, and freeing a state that is installed.
#include "tests/model/ob_kit.h"
#include "model/lay_layers.h"

namespace {

class Layers : public ::testing::Test {
protected:
    void SetUp() override { layResetModule(); }
    void TearDown() override
    {
        layResetModule();
        EXPECT_EQ(0, live.leaked());
    }
    obtest::LiveCount live;
};

std::vector<uint16_t> ids(MemHandle h, uint16_t count, uint32_t entry)
{
    std::vector<uint16_t> v;
    MemLock<uint8_t> p(h);
    for (uint16_t i = 0; p && i < count; ++i) {
        uint16_t id;
        memcpy(&id, p.get() + i * entry, 2);
        v.push_back(id);
    }
    return v;
}

std::vector<uint16_t> inUse()
{
    MemHandle h;
    uint16_t n, current;
    layGetInUse(&h, &n, &current);
    return ids(h, n, 4);
}

std::vector<uint16_t> editSet()
{
    MemHandle h;
    uint16_t n;
    BOOL all;
    layGetEditSet(&h, &n, &all);
    return ids(h, n, 2);
}

MemHandle u16Set(std::vector<uint16_t> v)
{
    return utHandleFromBytes(v.data(), (uint32_t)(v.size() * 2));
}

using Ids = std::vector<uint16_t>;

TEST_F(Layers, DefaultsMakeEveryLayerEditableAndNoneHidden)
{
    layResetGlobal();
    EXPECT_EQ(Ids{1}, inUse());
    EXPECT_EQ(Ids{1}, editSet());
    EXPECT_EQ(1, layGetCurrent());
    for (uint16_t id : {1, 5}) {
        EXPECT_EQ(1, layIsEditable(id)) << id;
        EXPECT_EQ(0, layIsHidden(id)) << id;
    }
    EXPECT_EQ(0, layFindInUse(1));
    EXPECT_EQ(-1, layFindInUse(5));
    // Installing the defaults again reuses the same sets.
    MemHandle first;
    layGetInUse(&first, nullptr, nullptr);
    layResetGlobal();
    MemHandle again;
    layGetInUse(&again, nullptr, nullptr);
    EXPECT_EQ(first, again);
}

TEST_F(Layers, AHiddenSetAsLargeAsTheInUseSetHidesEveryLayer)
{
    layResetGlobal();
    ASSERT_EQ(1, layAddInUse(2));
    MemHandle one = u16Set({2});
    laySetHiddenSet(one, 1);
    EXPECT_EQ(1, layIsHidden(2));
    EXPECT_EQ(0, layIsHidden(1));
    EXPECT_EQ(0, layIsHidden(7));
    MemHandle both = u16Set({1, 2});
    laySetHiddenSet(both, 2);
    BOOL all = FALSE;
    layGetHiddenSet(nullptr, nullptr, &all);
    EXPECT_TRUE(all);
    for (uint16_t id : {1, 2, 7})
        EXPECT_EQ(1, layIsHidden(id)) << id;
    // An edit set short of the in-use set leaves only its ids editable.
    MemHandle edit = u16Set({2});
    laySetEditSet(edit, 1);
    EXPECT_EQ(0, layIsEditable(1));
    EXPECT_EQ(1, layIsEditable(2));
    // Nothing in use and nothing hidden hides nothing.
    laySetInUse(0, 0, 1);
    laySetHiddenSet(0, 0);
    EXPECT_EQ(0, layIsHidden(1));
    layResetGlobal();
    for (MemHandle h : {one, both, edit})
        utFreeHandle(h);
}

TEST_F(Layers, MakingAnUnusedLayerCurrentAddsItToInUseAndEdit)
{
    layResetGlobal();
    EXPECT_EQ(1, laySetCurrent(3));
    EXPECT_EQ((Ids{1, 3}), inUse());
    EXPECT_EQ((Ids{1, 3}), editSet());
    EXPECT_EQ(3, layGetCurrent());
    // In-use entries keep their spare word 0.
    MemHandle h;
    layGetInUse(&h, nullptr, nullptr);
    MemLock<uint16_t> p(h);
    EXPECT_EQ(0, p[1]);
    EXPECT_EQ(0, p[3]);
}

TEST_F(Layers, AddedIdsAreKeptSortedAndNotRepeated)
{
    layResetGlobal();
    laySetEditSet(0, 0);
    for (uint16_t id : {9, 2, 5, 2})
        EXPECT_EQ(1, layerAddId(id));
    EXPECT_EQ((Ids{2, 5, 9}), editSet());
    for (uint16_t id : {40, 3})
        layAddHidden(id);
    MemHandle hidden;
    uint16_t n;
    layGetHiddenSet(&hidden, &n, nullptr);
    EXPECT_EQ((Ids{3, 40}), ids(hidden, n, 2));
    EXPECT_EQ(1, layFindInSet(hidden, n, 40));
    EXPECT_EQ(0, layFindInSet(hidden, 1, 40));
    EXPECT_EQ(0, layFindInSet(hidden, 500, 7));   // a count beyond the block is cut
    EXPECT_EQ(0, layFindInSet(0, 3, 3));
}

TEST_F(Layers, AMemoryShortageLeavesTheIdOut)
{
    layResetGlobal();
    qmtest::BoxRecorder boxes;
    utFailNextAllocs(1);
    EXPECT_EQ(0, layAddInUse(8));
    utFailNextAllocs(0);
    EXPECT_EQ("Memory allocation failed", boxes.texts());
    EXPECT_EQ(Ids{1}, inUse());
}

TEST_F(Layers, APageStateIsSwappedInAndBack)
{
    layResetGlobal();
    LayerState page;
    layInitState(&page);
    ASSERT_TRUE(page.inUse);
    EXPECT_EQ(1, page.countInUse);
    EXPECT_EQ(1, page.current);

    LayerState saved;
    EXPECT_EQ(&saved, laySwapState(&saved, &page));
    layAddInUse(4);
    layGetGlobalState(&page);   // the page takes back its grown set
    LayerState back;
    laySwapState(&back, &saved);
    EXPECT_EQ(Ids{1}, inUse());
    EXPECT_EQ(1, layIsEditable(4));
    EXPECT_EQ((Ids{1, 4}), ids(page.inUse, page.countInUse, 4));

    // Installed again, the flags follow the page's counts.
    laySwapState(&saved, &page);
    EXPECT_EQ(0, layIsEditable(4));
    EXPECT_EQ(1, layIsEditable(1));
    laySwapState(&back, &saved);

    // A state without sets installs the defaults.
    LayerState none = {};
    laySwapState(&back, &none);
    EXPECT_EQ(Ids{1}, inUse());
    layFreeState(&page);
}

TEST_F(Layers, FreeingAnInstalledStateSwapsItOutFirst)
{
    layResetGlobal();
    LayerState page, saved;
    layInitState(&page);
    laySwapState(&saved, &page);
    laySetCurrent(6);
    layGetGlobalState(&page);
    layFreeState(&page);
    EXPECT_EQ(0u, page.inUse);
    MemHandle sets[3];
    layGetInUse(&sets[0], nullptr, nullptr);
    layGetEditSet(&sets[1], nullptr, nullptr);
    layGetHiddenSet(&sets[2], nullptr, nullptr);
    for (MemHandle h : sets)
        EXPECT_TRUE(!h || utIsLiveHandle(h));
    EXPECT_EQ(Ids{1}, inUse());
    EXPECT_EQ(-1, layFindInUse(6));
    // The saved defaults belong to the layer module: freeing them is a no-op.
    layFreeState(&saved);
    EXPECT_EQ(Ids{1}, inUse());
}

TEST_F(Layers, MergingAddsEverySetOfTheState)
{
    layResetGlobal();
    LayerState st = {};
    std::vector<uint16_t> used = {1, 0, 7, 0};
    st.inUse = utHandleFromBytes(used.data(), 8);
    st.countInUse = 2;
    st.edit = u16Set({7});
    st.countEdit = 1;
    st.hidden = u16Set({7});
    st.countHidden = 1;
    layMergeState(&st);
    EXPECT_EQ((Ids{1, 7}), inUse());
    EXPECT_EQ((Ids{1, 7}), editSet());
    EXPECT_EQ(1, layIsHidden(7));
    EXPECT_EQ(0, layIsHidden(1));
    // Merging the installed state into itself changes nothing.
    LayerState global;
    layGetGlobalState(&global);
    layMergeState(&global);
    EXPECT_EQ((Ids{1, 7}), inUse());
    layFreeState(&st);
}

}  // namespace
