// The component model: ownership order, names, removal notifications.
#include <gtest/gtest.h>

#include <QStringList>

#include "platform/toolkit/Component.h"

using namespace tk;

namespace {

// Records every notification it hears, and its own destruction.
class TProbe : public TComponent {
public:
    TProbe(TComponent* owner, QString name, QStringList* log) : TComponent(owner), m_log(log) {
        SetName(name);
    }
    ~TProbe() override { m_log->append(QStringLiteral("free ") + Name()); }

protected:
    void Notification(TComponent* c, TOperation op) override {
        TComponent::Notification(c, op);
        m_log->append(
            QStringLiteral("%1 hears %2 %3")
                .arg(Name(), op == TOperation::opInsert ? "insert" : "remove", c->Name()));
    }

private:
    QStringList* m_log;
};

} // namespace

TEST(Component, OwnerKeepsCreationOrderAndFindsByNameIgnoringCase) {
    QStringList log;
    TComponentPtr<TProbe> owner(new TProbe(nullptr, "owner", &log));
    auto* a = new TProbe(owner.get(), "Alpha", &log);
    auto* b = new TProbe(owner.get(), "beta", &log);
    ASSERT_EQ(owner->ComponentCount(), 2);
    EXPECT_EQ(owner->Component(0), a);
    EXPECT_EQ(owner->Component(1), b);
    EXPECT_EQ(b->ComponentIndex(), 1);
    EXPECT_EQ(owner->FindComponent("ALPHA"), a);
    EXPECT_EQ(owner->FindComponent("gamma"), nullptr);
    EXPECT_EQ(owner->FindComponent(""), nullptr);
    EXPECT_EQ(a->ClassName(), "TComponent"); // no Q_OBJECT of its own
}

TEST(Component, RemovalIsHeardByEveryOwnedComponentAndByWhoeverAsked) {
    QStringList log;
    TComponentPtr<TProbe> owner(new TProbe(nullptr, "owner", &log));
    auto* a = new TProbe(owner.get(), "a", &log);
    auto* b = new TProbe(owner.get(), "b", &log);
    TComponentPtr<TProbe> outsider(new TProbe(nullptr, "outsider", &log));
    outsider->FreeNotification(a);
    log.clear();

    a->Free();
    // The outsider first, then the owner passes it to its components newest
    // first (the component going away hears of itself too), then the object
    // is gone.
    EXPECT_EQ(log, (QStringList{"outsider hears remove a", "b hears remove a", "a hears remove a",
                                "owner hears remove a", "free a"}));
    EXPECT_EQ(owner->ComponentCount(), 1);

    // A second free of the outsider's partner is not heard any more.
    log.clear();
    b->Free();
    EXPECT_FALSE(log.contains("outsider hears remove b"));
}

TEST(Component, FreeingTheOwnerFreesOwnedComponentsLastFirst) {
    QStringList log;
    auto* owner = new TProbe(nullptr, "owner", &log);
    new TProbe(owner, "first", &log);
    new TProbe(owner, "second", &log);
    log.clear();
    owner->Free();
    const auto freeSecond = log.indexOf("free second");
    const auto freeFirst = log.indexOf("free first");
    ASSERT_GE(freeSecond, 0);
    ASSERT_GE(freeFirst, 0);
    EXPECT_LT(freeSecond, freeFirst);
    EXPECT_EQ(log.back(), "free owner");
}

TEST(Component, LoadingStateIsVisibleUntilLoaded) {
    TComponentPtr<TComponent> c(new TComponent(nullptr));
    EXPECT_FALSE(c->IsLoading());
    c->BeginLoading();
    EXPECT_TRUE(c->IsLoading());
    c->Loaded();
    EXPECT_FALSE(c->IsLoading());
    EXPECT_FALSE(c->IsDesigning());
}
