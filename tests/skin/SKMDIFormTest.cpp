// The skinned MDI frame: taking its form over and giving it back, tiling and
// cascading, the maximised child's buttons, child menus on the bar and their
// short-cuts, and the frame it paints.
#include <gtest/gtest.h>

#include <QTest>

#include "platform/toolkit/MDI.h"
#include "skin/SKButton.h"
#include "skin/SKForm.h"
#include "skin/SKMainMenu.h"
#include "tests/skin/FrameTestSupport.h"
#include "tests/skin/SkinTestSupport.h"

using namespace sk;
using namespace tk;
using namespace sktest;

namespace {

struct MDIFrameTest : ::testing::Test {
    TComponentPtr<TMDIForm> host{new TMDIForm(nullptr)};
    TskMDIForm* frame = nullptr;

    void SetUp() override {
        TestApplication();
        host->SetBounds(20, 20, 806, 506);
        host->SetCaption("Frame");
        frame = new TskMDIForm(host.get()); // owned by the host
        host->SetClientWidth(800);
        host->SetClientHeight(500);
        host->Show();
    }
    // A skinned child; its title bar keeps the button kinds given.
    TForm* AddChild(const QString& caption, std::initializer_list<TskTitleBarBtnType> hidden = {}) {
        auto* child = new TForm(host.get()); // owned by the host
        child->SetCaption(caption);
        child->SetBounds(0, 0, 200, 150);
        host->AddMDIChild(child);
        auto* skinned = new TskForm(child); // owned by the child
        TskTitleBarButtons* buttons = skinned->TitleBarButtons();
        for (int i = 0; i < buttons->Count(); ++i) {
            for (TskTitleBarBtnType type : hidden) {
                if (buttons->Items(i)->ButtonType() == type) {
                    buttons->Items(i)->SetVisible(false);
                }
            }
        }
        child->Show();
        return child;
    }
    TMainMenu* AddMenu(TForm* owner, QStringList captions) {
        auto* menu = new TskMainMenu(owner); // owned by the form
        for (const QString& caption : captions) {
            auto* item = new TMenuItem(owner); // owned by the form
            item->SetCaption(caption);
            menu->Items()->Add(item);
        }
        return menu;
    }
    QStringList BarCaptions() const {
        QStringList out;
        for (int i = 0; i < frame->MenuBar()->ButtonCount(); ++i) {
            out << frame->MenuBar()->Buttons(i)->Caption();
        }
        return out;
    }
    std::vector<bool> ButtonsShown() const {
        return {frame->ControlButton(1)->Visible(), frame->ControlButton(2)->Visible(),
                frame->ControlButton(3)->Visible()};
    }
};

} // namespace

TEST(TskMDIForm, OnlyOnAFormAndGivesItBack) {
    TestApplication();
    TComponentPtr<TComponent> notAForm(new TComponent(nullptr));
    try {
        new TskMDIForm(notAForm.get()); // would be owned by it
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Sorry, TskMDIForm must be placed on a form");
    }
    EXPECT_EQ(notAForm->ComponentCount(), 0);

    TComponentPtr<TMDIForm> host(new TMDIForm(nullptr));
    host->SetBorderStyle(bsSingle);
    host->SetCaption("Frame");
    auto* frame = new TskMDIForm(host.get()); // owned by the host
    EXPECT_EQ(host->BorderStyle(), bsDialog);
    EXPECT_FALSE(host->HasWindowCaption());
    EXPECT_EQ(host->FrameBand(), 3);
    EXPECT_EQ(host->Constraints()->MinHeight(), 50);
    EXPECT_EQ(frame->Caption(), "Frame");
    EXPECT_EQ(frame->TitleBar()->Caption(), "Frame");
    EXPECT_EQ(frame->TitleBar()->Parent(), host.get());
    EXPECT_TRUE(frame->TitleBar()->InMDIForm());
    EXPECT_EQ(frame->TitleBar()->RoundCorner(), 0);
    EXPECT_FALSE(frame->TopPanel()->Visible()); // no menu yet
    EXPECT_EQ(frame->GetTitleBarHeight(), frame->TitleBar()->Height());
    EXPECT_EQ(frame->UIStyle(), DeepBlue);
    frame->SetUIStyle(BlueGlass);
    EXPECT_EQ(frame->RoundCorner(), 11);
    EXPECT_EQ(frame->TitleBar()->Height(), 30);
    // The title images start 4 pixels left of the title bar, not 3.
    const QImage bar = Shot(frame->TitleBar()->Handle());
    TBitmap left;
    GetInsideThemeBitmap(BlueGlass, siTitleBarLeftImage, &left);
    EXPECT_EQ(PixelAt(bar, 0, 10), left.Image().pixel(4, 13) & 0xFFFFFF);

    frame->Free();
    EXPECT_TRUE(host->HasWindowCaption());
    EXPECT_FALSE(Application->OnMessage);
}

TEST_F(MDIFrameTest, TilesAndCascadesInTheHostsClientArea) {
    std::vector<TForm*> children;
    for (int i = 0; i < 4; ++i) {
        children.push_back(AddChild(QString("Child %1").arg(i)));
    }
    frame->Cascade();
    // Bottom of the pile first: the first child shown is at (0, 0).
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(children[static_cast<std::size_t>(i)]->BoundsRect(),
                  Bounds(22 * i, 22 * i, 640, 300))
            << i;
    }

    // Three children side by side in a client area 600 wide.
    children[3]->Free();
    host->SetClientWidth(600);
    host->SetTileMode(tbVertical);
    host->Tile(); // through the client's message, after its own tiling
    const int height = host->ClientHeight() - frame->TitleBar()->Height() - 4;
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(children[static_cast<std::size_t>(i)]->BoundsRect(),
                  Bounds(198 * i, 0, 198, height))
            << i;
    }
    // One above the other, each 2 pixels short of its share.
    host->SetTileMode(tbHorizontal);
    frame->Tile();
    const int share = (host->ClientHeight() - frame->TitleBar()->Height()) / 3;
    EXPECT_EQ(children[2]->BoundsRect(), Bounds(0, 2 * (share - 2), 596, share - 2));
}

TEST_F(MDIFrameTest, AMaximisedChildsButtonsAreThoseOfItsTitleBar) {
    TForm* plain = AddChild("All buttons");
    TForm* noMax = AddChild("No maximise", {skMax});
    EXPECT_EQ(ButtonsShown(), (std::vector<bool>{false, false, false}));

    auto* childSkin = qobject_cast<TskForm*>(noMax->Controls(0));
    auto* content = new TskButton(noMax); // owned by the child
    content->SetParent(childSkin);
    content->SetTop(44);
    noMax->SetWindowState(wsMaximized);
    EXPECT_EQ(ButtonsShown(), (std::vector<bool>{true, false, true})); // close, restore, minimise
    // The child's title bar is the frame's now; what was under it moves up.
    EXPECT_FALSE(childSkin->TitleBar()->Visible());
    EXPECT_EQ(content->Top(), 44 - (childSkin->TitleBar()->Height() - 3));
    // At the right of the bar's panel.
    EXPECT_EQ(frame->ControlButton(1)->Left(), frame->TopPanel()->Width() - 20);
    EXPECT_EQ(frame->ControlButton(3)->Left(), frame->TopPanel()->Width() - 56);

    noMax->SetWindowState(wsNormal);
    EXPECT_EQ(ButtonsShown(), (std::vector<bool>{false, false, false}));
    EXPECT_TRUE(childSkin->TitleBar()->Visible());
    EXPECT_EQ(content->Top(), 44);

    // The other child maximised; its restore button gives it back.
    plain->BringToFront();
    plain->SetWindowState(wsMaximized);
    EXPECT_EQ(ButtonsShown(), (std::vector<bool>{true, true, true}));
    frame->ControlButton(2)->Click();
    EXPECT_EQ(plain->WindowState(), wsNormal);
    EXPECT_EQ(ButtonsShown(), (std::vector<bool>{false, false, false}));
    // And its close button closes it.
    plain->SetWindowState(wsMaximized);
    frame->ControlButton(1)->Click();
    EXPECT_FALSE(plain->Visible());
    EXPECT_EQ(host->ActiveMDIChild(), noMax);
    EXPECT_EQ(ButtonsShown(), (std::vector<bool>{false, false, false}));
}

TEST_F(MDIFrameTest, TheBarShowsTheActiveChildsMenu) {
    TMainMenu* own = AddMenu(host.get(), {"&File", "&Window"});
    frame->SetMenu(own);
    EXPECT_TRUE(frame->TopPanel()->Visible());
    EXPECT_EQ(BarCaptions(), (QStringList{"&File", "&Window"}));
    EXPECT_EQ(frame->GetTitleBarHeight(), frame->TitleBar()->Height() + frame->MenuBar()->Height());

    TForm* withMenu = AddChild("With a menu");
    auto* childMenu = AddMenu(withMenu, {"&Edit", "&View", "&Help"});
    auto* run = new TMenuItem(withMenu); // owned by the child
    run->SetShortCut(ShortCut('R', ssCtrl));
    int runs = 0;
    run->OnClick = [&](TObject*) { ++runs; };
    childMenu->Items()->Items(0)->Add(run);
    withMenu->Hide();
    withMenu->Show(); // activated again: now with its menu
    EXPECT_EQ(frame->ShownMenu(), childMenu);
    EXPECT_EQ(BarCaptions(), (QStringList{"&Edit", "&View", "&Help"}));
    TMessage key;
    key.Msg = WM_KEYDOWN;
    key.WParam = 'R';
    key.LParam = ssCtrl;
    frame->ProcessKeyPress(key);
    EXPECT_EQ(key.Result, 1);
    EXPECT_EQ(runs, 1);

    TForm* without = AddChild("Without a menu");
    EXPECT_EQ(host->ActiveMDIChild(), without);
    EXPECT_EQ(BarCaptions(), (QStringList{"&File", "&Window"}));
    withMenu->BringToFront();
    EXPECT_EQ(BarCaptions().size(), 3);

    frame->SetTitleBarDrawChildMenus(false);
    EXPECT_EQ(BarCaptions(), (QStringList{"&File", "&Window"}));
    // The menu gone: no bar.
    frame->SetTitleBarDrawChildMenus(true);
    withMenu->Free();
    own->Free();
    EXPECT_EQ(frame->ShownMenu(), nullptr);
    EXPECT_FALSE(frame->TopPanel()->Visible());
}

TEST_F(MDIFrameTest, PaintsTheFrameInTheStylesColours) {
    struct Row {
        TskUIStyle style;
        int width;
        TColor border, inner;
        int corner;
    };
    const Row rows[] = {{WinXP, 3, 0xC82C00, 0xDEEBEF, 13},
                        {BlueGlass, 1, 0x000000, 0xE7E7E7, 11},
                        {MacOS, 1, 0x7F7F7F, 0xE7E7E7, 0}};
    for (const Row& r : rows) {
        frame->SetUIStyle(r.style);
        EXPECT_EQ(frame->FrameWidth(), r.width) << r.style;
        EXPECT_EQ(frame->MenuBarColor(), r.inner) << r.style;
        const QImage window = Shot(host->Handle());
        const int y = host->Height() / 2;
        EXPECT_EQ(PixelAt(window, 0, y), Rgb(r.border)) << r.style;
        EXPECT_EQ(PixelAt(window, r.width - 1, y), Rgb(r.border)) << r.style;
        if (r.width < 3) {
            EXPECT_EQ(PixelAt(window, 2, y), Rgb(r.inner)) << r.style;
        }
        EXPECT_EQ(PixelAt(window, host->Width() - 1, host->Height() - 1), Rgb(r.border));
        // Round top corners, square bottom ones.
        EXPECT_EQ(frame->WindowRegion().Contains(0, 0), r.corner == 0) << r.style;
        EXPECT_TRUE(frame->WindowRegion().Contains(0, host->Height() - 1));
    }
}
