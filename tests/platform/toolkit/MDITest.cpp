// The multiple-document parent: children living in the client, activation
// with its messages, maximising and restoring by request and by Qt, the
// notices a hook of the client hears, tiling and cascading, children that go
// away, and a client whose window is rebuilt.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPointer>

#include "platform/toolkit/MDI.h"
#include "platform/toolkit/StdCtrls.h"

using namespace tk;

namespace {

// What a hook of the client's WindowProc hears, after the client's own
// handling.
struct THeard {
    unsigned msg;
    TCustomForm* child;
    bool notice;
    friend bool operator==(const THeard&, const THeard&) = default;
};

struct MDITest : ::testing::Test {
    TComponentPtr<TMDIForm> parent{new TMDIForm(nullptr)};
    TMDIClient* client = parent->MDIClient();
    std::vector<TForm*> children;
    std::vector<THeard> heard;
    std::vector<int> activations; // child index, negative when it lost

    void SetUp() override {
        parent->SetBorderStyle(bsNone);
        parent->SetBounds(0, 0, 600, 400);
        parent->Show();
        TWndMethod old = client->WindowProc;
        client->WindowProc = [this, old](TMessage& m) {
            old(m);
            if (m.Msg >= WM_MDIACTIVATE && m.Msg <= WM_MDIREFRESHMENU) {
                heard.push_back(
                    {m.Msg, reinterpret_cast<TCustomForm*>(m.WParam), m.LParam == kMDINotice});
            }
        };
    }
    TForm* AddChild(const TRect& bounds) {
        auto* child = new TForm(parent.get()); // owned by the parent
        const int index = static_cast<int>(children.size());
        child->OnActivate = [this, index](TObject*) { activations.push_back(index); };
        child->OnDeactivate = [this, index](TObject*) { activations.push_back(-index - 1); };
        child->SetBorderStyle(bsNone);
        child->SetBoundsRect(bounds);
        parent->AddMDIChild(child);
        child->Show();
        children.push_back(child);
        return child;
    }
    QMdiSubWindow* Window(TForm* child) {
        for (QMdiSubWindow* w : client->Area()->subWindowList()) {
            if (w->widget() == child->Handle()) {
                return w;
            }
        }
        return nullptr;
    }
    bool Heard(unsigned msg, TCustomForm* child, bool notice) const {
        return std::find(heard.begin(), heard.end(), THeard{msg, child, notice}) != heard.end();
    }
};

} // namespace

TEST_F(MDITest, ChildrenLiveInTheClientAndTakeTurnsBeingActive) {
    TForm* a = AddChild(Bounds(10, 20, 200, 150));
    EXPECT_EQ(a->FormStyle(), fsMDIChild);
    EXPECT_EQ(a->Site(), client);
    QMdiSubWindow* window = Window(a);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->geometry(), QRect(10, 20, 200, 150));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_EQ(parent->ActiveMDIChild(), a);
    EXPECT_TRUE(Heard(WM_MDISETMENU, a, true));

    // Moving the form moves its window; moving the window moves the form.
    a->SetBounds(30, 40, 220, 160);
    EXPECT_EQ(window->geometry(), QRect(30, 40, 220, 160));
    EXPECT_EQ(a->Handle()->geometry(), QRect(0, 0, 220, 160));
    window->move(5, 6);
    EXPECT_EQ(a->BoundsRect(), Bounds(5, 6, 220, 160));

    TForm* b = AddChild(Bounds(50, 50, 200, 150));
    EXPECT_EQ(parent->ActiveMDIChild(), b);
    EXPECT_EQ(parent->MDIChildCount(), 2);
    EXPECT_EQ(parent->MDIChildren(0), b); // topmost first
    a->BringToFront();
    EXPECT_EQ(parent->ActiveMDIChild(), a);
    EXPECT_EQ(client->Perform(WM_MDIGETACTIVE), reinterpret_cast<std::intptr_t>(a));
    // Each child heard it went and came: a, b, -a, -b, a.
    EXPECT_EQ(activations, (std::vector<int>{0, -1, 1, -2, 0}));

    // A hidden active child hands over to the next.
    a->Hide();
    EXPECT_EQ(parent->ActiveMDIChild(), b);
    EXPECT_EQ(parent->MDIChildCount(), 1);
}

TEST_F(MDITest, MaximisingByRequestFromTheFormAndByQt) {
    TForm* a = AddChild(Bounds(10, 10, 200, 150));
    TForm* b = AddChild(Bounds(60, 60, 200, 150));
    const QSize area = client->Area()->viewport()->size();

    heard.clear();
    b->SetWindowState(wsMaximized); // as a title bar's button does
    EXPECT_EQ(Window(b)->isMaximized(), true);
    EXPECT_EQ(b->BoundsRect(), Bounds(0, 0, area.width(), area.height()));
    EXPECT_EQ(client->MaximizedChild(), b);
    EXPECT_EQ(heard, (std::vector<THeard>{{WM_MDIMAXIMIZE, b, false}}));

    // Activating another: Qt maximises it in turn, and the hook hears so.
    heard.clear();
    a->BringToFront();
    EXPECT_EQ(a->WindowState(), wsMaximized);
    EXPECT_EQ(b->WindowState(), wsNormal);
    EXPECT_EQ(b->BoundsRect(), Bounds(60, 60, 200, 150));
    EXPECT_TRUE(Heard(WM_MDIMAXIMIZE, a, true));
    EXPECT_FALSE(Heard(WM_MDIRESTORE, nullptr, true));

    heard.clear();
    client->Perform(WM_MDIRESTORE, reinterpret_cast<std::uintptr_t>(a));
    EXPECT_EQ(a->WindowState(), wsNormal);
    EXPECT_EQ(a->BoundsRect(), Bounds(10, 10, 200, 150));
    EXPECT_EQ(heard, (std::vector<THeard>{{WM_MDIRESTORE, a, false}}));

    // A maximised child that goes: the others are not maximised any more.
    a->SetWindowState(wsMaximized);
    heard.clear();
    a->Free();
    EXPECT_TRUE(Heard(WM_MDIRESTORE, nullptr, true));
    EXPECT_EQ(parent->ActiveMDIChild(), b);
    EXPECT_EQ(b->Site(), client);
}

TEST_F(MDITest, MinimisedChildrenShowQtsTitleBarAndComeBack) {
    TForm* a = AddChild(Bounds(10, 10, 200, 150));
    TForm* b = AddChild(Bounds(60, 60, 200, 150));
    b->SetWindowState(wsMinimized);
    QMdiSubWindow* window = Window(b);
    EXPECT_TRUE(window->isMinimized());
    EXPECT_FALSE(window->windowFlags() & Qt::FramelessWindowHint);
    EXPECT_GT(window->height(), 0);
    EXPECT_EQ(parent->ActiveMDIChild(), a);
    b->SetWindowState(wsNormal);
    EXPECT_EQ(b->BoundsRect(), Bounds(60, 60, 200, 150));
    EXPECT_TRUE(window->windowFlags() & Qt::FramelessWindowHint);
}

TEST_F(MDITest, TilesByTheParentsModeAndCascades) {
    for (int i = 0; i < 3; ++i) {
        AddChild(Bounds(10 * i, 10 * i, 100, 100));
    }
    const QSize area = client->Area()->viewport()->size();
    parent->SetTileMode(tbVertical);
    parent->Tile();
    std::vector<int> lefts;
    for (TForm* c : children) {
        EXPECT_EQ(c->Width(), area.width() / 3);
        EXPECT_EQ(c->Height(), area.height());
        lefts.push_back(c->Left());
    }
    std::sort(lefts.begin(), lefts.end());
    EXPECT_EQ(lefts, (std::vector<int>{0, 200, 400}));
    EXPECT_TRUE(Heard(WM_MDITILE, reinterpret_cast<TCustomForm*>(tbVertical), false));

    parent->SetTileMode(tbHorizontal);
    parent->Tile();
    EXPECT_EQ(children[0]->Width(), area.width());
    parent->Cascade();
    // Qt's cascade: each child below and right of the one before.
    EXPECT_LT(parent->MDIChildren(2)->Top(), parent->MDIChildren(0)->Top());
}

TEST_F(MDITest, ChildrenSurviveTheClientsWindowBeingRebuilt) {
    TForm* a = AddChild(Bounds(10, 20, 200, 150));
    auto* label = new TLabel(a); // owned by the child
    label->SetParent(a);
    label->SetCaption("Still here");
    // A frame band of the parent's own recreates its controls' windows.
    parent->SetWindowCaption(false);
    parent->RefreshFrame();
    ASSERT_NE(Window(a), nullptr);
    EXPECT_EQ(Window(a)->geometry(), QRect(10, 20, 200, 150));
    EXPECT_TRUE(a->Handle()->isVisible());
    EXPECT_EQ(parent->ActiveMDIChild(), a);

    // The parent going first leaves its children windows of their own.
    TComponentPtr<TForm> orphan(new TForm(nullptr));
    parent->AddMDIChild(orphan.get());
    orphan->Show();
    parent.reset();
    EXPECT_EQ(orphan->Site(), nullptr);
    EXPECT_TRUE(orphan->Handle()->isWindow());
}
