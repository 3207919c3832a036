#include "classlib/portable/Classes.h"
#include "classlib/portable/SysUtils.h"
#include "classlib/portable/TypInfo.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records what it is told and when it goes.
class TProbe : public TComponent {
public:
    explicit TProbe(TComponent* owner, std::vector<std::string>* log = nullptr) : TComponent(owner), FLog(log) {}
    ~TProbe() override
    {
        if (FLog) FLog->push_back("free " + Name());
    }

protected:
    void Notification(TComponent* c, TOperation op) override
    {
        if (FLog && c != this)
            FLog->push_back(Name() + (op == TOperation::opInsert ? " +" : " -") + c->Name());
        TComponent::Notification(c, op);
    }

private:
    std::vector<std::string>* FLog;
};

} // namespace

TEST(Component, OwnerFreesItsComponentsLastFirst)
{
    std::vector<std::string> log;
    auto* owner = new TProbe(nullptr, &log);
    owner->SetName("Owner");
    auto* a = new TProbe(owner, &log);
    a->SetName("A");
    auto* b = new TProbe(owner, &log);
    b->SetName("B");
    ASSERT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Components(0), a);
    EXPECT_EQ(a->Owner(), owner);
    log.clear();
    delete owner;
    // The owner goes first (its destructor body), then B, then A.
    const std::vector<std::string> expected = {"free Owner", "free B", "free A"};
    EXPECT_EQ(log, expected);
}

TEST(Component, RemovalNotifiesOwnerAndSiblings)
{
    std::vector<std::string> log;
    TProbe owner(nullptr, &log);
    owner.SetName("Owner");
    auto* a = new TProbe(&owner, &log);
    a->SetName("A");
    auto* b = new TProbe(&owner, &log);
    b->SetName("B");
    log.clear();
    delete a;
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(owner.FindComponent("a"), nullptr);
    const std::vector<std::string> expected = {"free A", "Owner -A", "B -A"};
    EXPECT_EQ(log, expected);
    (void)b;
}

TEST(Component, FreeNotificationReachesComponentsOfOtherOwners)
{
    std::vector<std::string> log;
    TProbe left(nullptr, &log), right(nullptr, &log);
    auto* watched = new TProbe(&left, &log);
    watched->SetName("W");
    auto* watcher = new TProbe(&right, &log);
    watcher->SetName("V");
    watched->FreeNotification(watcher);
    log.clear();
    delete watched;
    EXPECT_NE(std::find(log.begin(), log.end(), "V -W"), log.end());
    // The link is gone: freeing the watcher later tells nobody about W.
    log.clear();
    delete watcher;
    EXPECT_EQ(std::find(log.begin(), log.end(), "W -V"), log.end());
}

TEST(Component, NamesAreIdentifiersUniqueWithinTheOwner)
{
    TComponent owner(nullptr);
    auto* a = new TComponent(&owner);
    a->SetName("Edit1");
    auto* b = new TComponent(&owner);
    EXPECT_THROW(b->SetName("EDIT1"), EComponentError);
    EXPECT_THROW(b->SetName("1Edit"), EComponentError);
    EXPECT_THROW(b->SetName("Edit 2"), EComponentError);
    b->SetName("Edit2");
    EXPECT_EQ(owner.FindComponent("edit2"), b);
    EXPECT_EQ(b->Name(), "Edit2");
    // Moving a component to another owner keeps it in exactly one list.
    TComponent other(nullptr);
    other.InsertComponent(b);
    EXPECT_EQ(owner.ComponentCount(), 1);
    EXPECT_EQ(other.ComponentCount(), 1);
    EXPECT_EQ(b->Owner(), &other);
}

TEST(Component, LoadingStateLastsUntilLoaded)
{
    TComponent c(nullptr);
    EXPECT_FALSE(c.InState(csLoading));
    c.BeginLoading();
    EXPECT_TRUE(c.InState(csLoading));
    EXPECT_TRUE(c.InState(csReading));
    c.EndReading();
    EXPECT_FALSE(c.InState(csReading));
    c.Loaded();
    EXPECT_FALSE(c.InState(csLoading));
    c.SetDesigning(true);
    EXPECT_TRUE(c.InState(csDesigning));
}

TEST(Component, ClassInfoFollowsTheDynamicType)
{
    TComponent c(nullptr);
    EXPECT_EQ(c.ClassName(), "TComponent");
    EXPECT_TRUE(c.InheritsFrom(TPersistent::StaticClassInfo()));
    EXPECT_FALSE(TPersistent::StaticClassInfo().InheritsFrom(TComponent::StaticClassInfo()));
    SetPropText(c, "Name", "Thing");
    SetPropText(c, "tag", "-3");
    EXPECT_EQ(c.Name(), "Thing");
    EXPECT_EQ(c.Tag(), -3);
}
