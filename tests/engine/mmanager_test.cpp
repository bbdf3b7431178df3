// Live and dead lists, deferred deletion, the survivors' report and the byte buffer.
#include "engine/mmanager.h"

#include <gtest/gtest.h>

#include "engine/log.h"
#include "support/testutil.h"

namespace {

struct Counted : IMMObject {
    explicit Counted(int* deletions = nullptr) : deletions(deletions) {}
    ~Counted() override
    {
        if (deletions)
            ++*deletions;
    }
    unsigned size() override { return sizeof(*this); }
    int* deletions;
};

// Holds a pointer to another object and releases it when deleted.
struct Holder : IMMObject {
    explicit Holder(IMMObject* o) : held(o) {}
    unsigned size() override { return sizeof(*this); }
    CMMPointer<IMMObject> held;
};

struct FourBytes : IMMObject {
    unsigned size() override { return 4; }
};

class MMObjectTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        IMMObject::CollectGarbage();
        liveBefore = IMMObject::CountLiveObjects();
    }
    int liveBefore = 0;
    int deletions = 0;
    velqtest::CaptureCout out;
};

TEST_F(MMObjectTest, ReleasedObjectMovesToTheDeadListAndStaysUsableUntilCollected)
{
    {
        CMMPointer<Counted> p(new Counted(&deletions));
        EXPECT_EQ(IMMObject::CountLiveObjects(), liveBefore + 1);
        EXPECT_EQ(p->GetRefCount(), 1);
        CMMPointer<Counted> q = p;
        EXPECT_EQ(p->GetRefCount(), 2);
    }
    EXPECT_EQ(out.Text(), "object died\n");
    EXPECT_TRUE(deletions == 0 && IMMObject::CountLiveObjects() == liveBefore && IMMObject::CountDeadObjects() == 1);
    IMMObject::CollectGarbage();
    EXPECT_EQ(deletions, 1);
}

TEST_F(MMObjectTest, ObjectBackFromTheDeadListBySelfAssignmentOrANewPointerSurvivesTheCollection)
{
    CMMPointer<Counted> p(new Counted(&deletions));
    Counted* raw = p;
    p = raw;  // at count one: passes through the dead list
    EXPECT_EQ(out.Text(), "object died\n");
    EXPECT_EQ(p->GetRefCount(), 1);
    EXPECT_EQ(IMMObject::CountDeadObjects(), 0);
    IMMObject::CollectGarbage();
    EXPECT_EQ(deletions, 0);
    p = nullptr;
    CMMPointer<Counted> again(raw);  // revived
    IMMObject::CollectGarbage();
    EXPECT_EQ(deletions, 0);
    EXPECT_EQ(again->GetRefCount(), 1);
    again = nullptr;
    IMMObject::CollectGarbage();
    EXPECT_EQ(deletions, 1);
}

TEST_F(MMObjectTest, UnheldUnlinkedAndDestructorReleasedObjectsAllDieAtTheNextCollection)
{
    auto* never = new Counted(&deletions);  // never handed to a pointer
    EXPECT_TRUE(never->IsHeapAllocated());
    EXPECT_EQ(IMMObject::CountDeadObjects(), 1);
    CMMPointer<Counted> a(new Counted(&deletions)), b(new Counted(&deletions)), c(new Counted(&deletions));
    b = nullptr;  // the middle of the live list
    EXPECT_EQ(IMMObject::CountLiveObjects(), liveBefore + 2);
    c = nullptr;  // the head
    a = nullptr;
    EXPECT_EQ(IMMObject::CountLiveObjects(), liveBefore);
    {
        CMMPointer<Holder> h(new Holder(new Counted(&deletions)));  // released by h's destructor
    }
    EXPECT_EQ(IMMObject::CountDeadObjects(), 5);
    IMMObject::CollectGarbage();
    EXPECT_EQ(deletions, 5);
    EXPECT_EQ(IMMObject::CountDeadObjects(), 0);
}

TEST_F(MMObjectTest, LocalAndMemberObjectsAreNeverListedOrFreed)
{
    velqtest::CaptureCout out;
    int deletions = 0;
    Counted local(&deletions);
    EXPECT_FALSE(local.IsHeapAllocated());
    {
        CMMPointer<Counted> p(&local);
        EXPECT_EQ(IMMObject::CountLiveObjects(), liveBefore);
    }
    EXPECT_EQ(out.Text(), "");  // no "object died" for an object off the lists
    IMMObject::CollectGarbage();
    EXPECT_EQ(deletions, 0);
}

TEST_F(MMObjectTest, SurvivorsAreReportedWithTheirFirstBytesAndNotFreed)
{
    velqtest::TempDir dir;
    new CLog();
    CLog::GetSingleton().Init();
    CMMPointer<FourBytes> survivor(new FourBytes());
    {
        velqtest::CaptureCout out;
        IMMObject::CollectRemainingObjects(false);
        EXPECT_EQ(out.Text(), "");
    }
    velqtest::CaptureCout out;
    IMMObject::CollectRemainingObjects(true);
    const std::string report = out.Text();
    // One line per live object; ours names its size of 4 bytes.
    EXPECT_NE(report.find("size 4 bytes"), std::string::npos) << report;
    EXPECT_NE(report.find("1 reference(s)"), std::string::npos) << report;
    EXPECT_EQ(survivor->GetRefCount(), 1);
    CLog::GetSingleton().Flush();
    EXPECT_EQ(velqtest::ReadFile("applog.txt"), report);
    delete &CLog::GetSingleton();
    velqtest::CaptureCout quiet;
    survivor = nullptr;
    IMMObject::CollectGarbage();
}

TEST(DynamicBlob, SizeIsDataLengthPlusFourAndIndexingWorks)
{
    velqtest::CaptureCout quiet;
    CMMPointer<CMMDynamicBlob<unsigned char>> blob(new CMMDynamicBlob<unsigned char>(300));
    EXPECT_EQ(blob->size(), 304u);
    (*blob)[299] = 7;
    EXPECT_EQ(blob->getBuffer()[299], 7);
}

TEST(SmartPointerDeathTest, IndexingABlobPastTheEndOrDereferencingNullStopsWithTheAssertion)
{
    EXPECT_DEATH({ CMMDynamicBlob<unsigned char> blob(3); volatile uint32_t past = 3; blob[past] = 1; }, "index<dataSize");
    CMMPointer<Counted> p;
    EXPECT_DEATH(p->size(), "Tried to -> on a NULL smart pointer");
    EXPECT_DEATH((*p).size(), "Tried to \\* a NULL smart pointer");
}

}  // namespace
