// SPDX-License-Identifier: GPL-3.0-or-later
// Live and dead lists, deferred deletion, the survivors' report and the guarded accesses.
#include "engine/mmanager.h"

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

class MMObjectTest : public ::testing::Test {
protected:
    void SetUp() override { IMMObject::CollectGarbage(), liveBefore = IMMObject::CountLiveObjects(); }
    int liveBefore = 0, deletions = 0;
    velqtest::CaptureCout out;
};

TEST_F(MMObjectTest, ReleasedObjectWaitsOnTheDeadListAndComesBackBySelfAssignmentOrANewPointer)
{
    CMMPointer<Counted> p(new Counted(&deletions));
    Counted* raw = p;
    p = raw;  // at count one: passes through the dead list and back
    EXPECT_EQ(out.Text(), "object died\n");
    EXPECT_EQ(std::make_tuple(raw->GetRefCount(), IMMObject::CountDeadObjects()), std::make_tuple(1, 0));
    IMMObject::CollectGarbage();
    {
        CMMPointer<Counted> q = p;
        EXPECT_EQ(std::make_tuple(raw->GetRefCount(), IMMObject::CountLiveObjects()), std::make_tuple(2, liveBefore + 1));
    }
    p = nullptr;
    EXPECT_EQ(std::make_tuple(deletions, IMMObject::CountLiveObjects(), IMMObject::CountDeadObjects()),
              std::make_tuple(0, liveBefore, 1));
    CMMPointer<Counted> again(raw);  // revived before the collection
    IMMObject::CollectGarbage();
    EXPECT_EQ(std::make_tuple(deletions, again->GetRefCount()), std::make_tuple(0, 1));
    again = nullptr;
    IMMObject::CollectGarbage();
    EXPECT_EQ(deletions, 1);
}

TEST_F(MMObjectTest, UnheldUnlinkedAndDestructorReleasedObjectsDieAtTheNextCollectionLocalOnesNever)
{
    Counted local(&deletions);
    {
        CMMPointer<Counted> p(&local);
        EXPECT_EQ(IMMObject::CountLiveObjects(), liveBefore);
    }
    EXPECT_FALSE(local.IsHeapAllocated());
    EXPECT_EQ(out.Text(), "") << "no \"object died\" for an object off the lists";
    auto* never = new Counted(&deletions);  // never handed to a pointer
    EXPECT_EQ(std::make_tuple(never->IsHeapAllocated(), IMMObject::CountDeadObjects()), std::make_tuple(true, 1));
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
    EXPECT_EQ(std::make_tuple(deletions, IMMObject::CountDeadObjects()), std::make_tuple(5, 0));
}

TEST_F(MMObjectTest, SurvivorsAreReportedWithTheirSizeAndNotFreed)
{
    struct FourBytes : IMMObject {
        unsigned size() override { return 4; }
    };
    velqtest::TempDir dir;
    new CLog();
    CLog::GetSingleton().Init();
    CMMPointer<FourBytes> survivor(new FourBytes());
    IMMObject::CollectRemainingObjects(false);
    EXPECT_EQ(out.Text(), "");
    IMMObject::CollectRemainingObjects(true);
    const std::string report = out.Text();
    // One line per live object; ours names its size of 4 bytes.
    EXPECT_NE(report.find("size 4 bytes"), std::string::npos) << report;
    EXPECT_NE(report.find("1 reference(s)"), std::string::npos) << report;
    EXPECT_EQ(survivor->GetRefCount(), 1);
    CLog::GetSingleton().Flush();
    EXPECT_EQ(velqtest::ReadFile("applog.txt"), report);
    delete &CLog::GetSingleton();
    survivor = nullptr;
    IMMObject::CollectGarbage();
}

TEST(SmartPointerDeathTest, IndexingABlobPastTheEndOrDereferencingNullStopsWithTheAssertion)
{
    EXPECT_DEATH({ CMMDynamicBlob<unsigned char> blob(3); volatile uint32_t past = 3; blob[past] = 1; }, "index<dataSize");
    CMMPointer<Counted> p;
    EXPECT_DEATH(p->size(), "Tried to -> on a NULL smart pointer");
    EXPECT_DEATH((*p).size(), "Tried to \\* a NULL smart pointer");
}

}  // namespace
