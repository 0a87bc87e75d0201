// The skinned form: taking its host over (and the inert second one), the
// frame bands it paints, the window shape, maximising, the form panel, the
// menu bar, menu short-cuts and Alt+Space, a removed file theme, and the
// window in every style.
#include <gtest/gtest.h>

#include <QDir>
#include <QTemporaryDir>

#include "platform/win32/Win32Testing.h"
#include "skin/SKThemeFile.h"
#include "tests/skin/FrameTestSupport.h"
#include "tests/skin/SkinTestSupport.h"

using namespace sk;
using namespace tk;
using namespace sktest;

namespace {

const TskFrameBand* BandAt(const TskFramePlan& plan, int x, int y) {
    // The last band painted over a pixel is the one that shows.
    const TskFrameBand* found = nullptr;
    for (const TskFrameBand& b : plan.bands) {
        if (PtInRect(b.rect, {x, y})) {
            found = &b;
        }
    }
    return found;
}

} // namespace

TEST(TskForm, TakesItsHostOverAndASecondOneStaysInert) {
    TestApplication();
    TComponentPtr<TForm> host(new TForm(nullptr));
    host->SetBorderStyle(bsSingle);
    host->SetCaption("Host");
    auto* first = new TskForm(host.get()); // owned by the host
    EXPECT_EQ(first->Host(), host.get());
    EXPECT_EQ(first->Parent(), host.get());
    EXPECT_EQ(first->Align(), alClient);
    EXPECT_EQ(first->Caption(), "Host");
    EXPECT_EQ(host->BorderStyle(), bsDialog);
    EXPECT_FALSE(host->HasWindowCaption());
    EXPECT_EQ(host->FrameBand(), 3);
    EXPECT_FALSE(host->Scaled());
    EXPECT_EQ(host->Constraints()->MinHeight(), 50);
    EXPECT_EQ(first->Constraints()->MinWidth(), 125);
    EXPECT_EQ(host->Constraints()->MinWidth(), 130); // DeepBlue's minimum
    EXPECT_TRUE(first->InstalledApplicationHook());
    EXPECT_EQ(first->Version(), "5.4");
    first->SetVersion("6.0");
    EXPECT_EQ(first->Version(), "5.4");
    first->SetCaption("Renamed");
    EXPECT_EQ(host->Caption(), "Renamed");

    auto* second = new TskForm(host.get()); // owned by the host
    EXPECT_EQ(second->Host(), nullptr);
    EXPECT_EQ(second->TitleBar(), nullptr);
    EXPECT_EQ(second->Parent(), nullptr);
    EXPECT_FALSE(second->InstalledApplicationHook());
    second->SetUIStyle(MacOS);
    EXPECT_EQ(GetSKFormStyle(host.get()), DeepBlue);

    // A sizeable host stays sizeable. Removed, the skinned form gives the
    // caption and the key hook back.
    TComponentPtr<TForm> sizeable(new TForm(nullptr));
    TComponentPtr<TskForm> skinned(new TskForm(sizeable.get()));
    EXPECT_EQ(sizeable->BorderStyle(), bsSizeable);
    first->Free();
    EXPECT_TRUE(host->HasWindowCaption());
    EXPECT_FALSE(Application->OnMessage);
}

TEST(TskForm, StyleValues) {
    struct Row {
        TskUIStyle style;
        int border;
        TColor borderColor, color;
        int corner;
    };
    const Row rows[] = {
        {BlueGlass, 1, 0x000000, 0xE7E7E7, 11}, {MacOS, 1, 0x7F7F7F, 0xE7E7E7, 0},
        {WinXP, 3, 0xC82C00, 0xDEEBEF, 13},     {DeepBlue, 1, 0x000000, 0xE8E8E8, 0},
        {Protein, 1, 0x000000, 0xFBFBFB, 0},
    };
    for (const Row& r : rows) {
        SkinnedWindow w(r.style);
        EXPECT_EQ(w.skinned->BorderWidth(), r.border) << r.style;
        EXPECT_EQ(w.skinned->BorderColor(), r.borderColor) << r.style;
        EXPECT_EQ(w.skinned->Color(), r.color) << r.style;
        EXPECT_EQ(w.skinned->MenuBarColor(), r.color) << r.style;
        EXPECT_EQ(w.skinned->RoundCorner(), r.corner) << r.style;
    }
}

TEST(TskForm, FrameBandsForBorderWidths) {
    TskFrameInput in;
    in.width = 200;
    in.height = 100;
    in.borderColor = 0x0000FF;
    in.color = 0x00FF00;
    in.titleBarHeight = 30;
    in.titleBarCanPaint = true;
    in.menuBarHeight = 22;
    in.menuBarColor = 0xFF0000;
    in.roundCorner = 11;
    struct Row {
        int border;
        TColor atLeft1, atBottom1;
        bool continueTitle, arcs;
    };
    const Row rows[] = {
        {1, 0x00FF00, 0x00FF00, true, true},
        {3, 0x0000FF, 0x0000FF, true, false},
        {4, 0x0000FF, 0x0000FF, false, false}, // strips only
    };
    for (const Row& r : rows) {
        in.borderWidth = r.border;
        const TskFramePlan plan = PlanFormBorder(in);
        EXPECT_EQ(BandAt(plan, 0, 60)->color, 0x0000FFu) << r.border;
        EXPECT_EQ(BandAt(plan, 199, 60)->color, 0x0000FFu) << r.border;
        EXPECT_EQ(BandAt(plan, 100, 99)->color, 0x0000FFu) << r.border;
        EXPECT_EQ(BandAt(plan, 1, 80)->color, r.atLeft1) << r.border;
        EXPECT_EQ(BandAt(plan, 100, 98)->color, r.atBottom1) << r.border;
        EXPECT_EQ(plan.continueTitle, r.continueTitle) << r.border;
        EXPECT_EQ(plan.arcs, r.arcs) << r.border;
    }
    // Beside the menu bar (window rows 33 to 54) its colour shows.
    in.borderWidth = 1;
    TskFramePlan plan = PlanFormBorder(in);
    EXPECT_EQ(BandAt(plan, 1, 33)->color, 0xFF0000u);
    EXPECT_EQ(BandAt(plan, 198, 54)->color, 0xFF0000u);
    EXPECT_EQ(BandAt(plan, 1, 55)->color, 0x00FF00u);
    EXPECT_EQ(BandAt(plan, 1, 10), nullptr); // the title images go there
    // The arcs only for a corner of exactly 11 with a border of 1.
    in.roundCorner = 13;
    EXPECT_FALSE(PlanFormBorder(in).arcs);
    // Without a title bar: a top line of the border colour, then the form's.
    in.titleBarHeight = 0;
    plan = PlanFormBorder(in);
    EXPECT_FALSE(plan.continueTitle);
    EXPECT_EQ(BandAt(plan, 100, 0)->color, 0x0000FFu);
    EXPECT_EQ(BandAt(plan, 100, 1)->color, 0x00FF00u);
    EXPECT_EQ(BandAt(plan, 100, 2)->color, 0x00FF00u);
    // The menu bar moved up to the top; its colour beside it went with it.
    EXPECT_EQ(BandAt(plan, 1, 3 + 5)->color, 0xFF0000u);
    EXPECT_EQ(BandAt(plan, 1, 3 + 22)->color, 0x00FF00u);
}

TEST(TskForm, PaintsItsFrameAndShapesTheWindow) {
    SkinnedWindow w(BlueGlass);
    TskMainMenu* menu = w.AddMenu();
    w.AddItem(w.AddItem(menu->Items(), "&File"), "E&xit");
    w.skinned->SetMenuBarColor(0x0000FF);
    w.form->Show();
    const int W = w.form->Width();
    const int H = w.form->Height();
    QImage window = w.Window();
    EXPECT_EQ(PixelAt(window, 0, H / 2), 0u);             // border
    EXPECT_EQ(PixelAt(window, 1, H - 10), Rgb(0xE7E7E7)); // the form's colour
    EXPECT_EQ(PixelAt(window, W - 2, H - 2), Rgb(0xE7E7E7));
    EXPECT_EQ(PixelAt(window, 1, 30 + 3 + 5), Rgb(0x0000FF)); // beside the menu bar
    // The title images run on into the frame: window pixels are the left
    // image's, the arcs outline the corners.
    TBitmap left;
    GetInsideThemeBitmap(BlueGlass, siTitleBarLeftImage, &left);
    EXPECT_EQ(PixelAt(window, 60, 1), left.Image().pixel(60, 1) & 0xFFFFFF);
    EXPECT_EQ(PixelAt(window, 2, 2), 0u);
    window.save(ArtifactsDir() + "/skinned-frame.png");

    // Rounded top corners only.
    const TRegion& shape = w.skinned->WindowRegion();
    EXPECT_EQ(shape, FormRegion(W, H, 11));
    EXPECT_FALSE(shape.Contains(0, 0));
    EXPECT_FALSE(shape.Contains(W - 1, 0));
    EXPECT_TRUE(shape.Contains(6, 0));
    EXPECT_TRUE(shape.Contains(0, H - 1));
    EXPECT_TRUE(shape.Contains(W - 1, H - 1));
    w.form->SetBounds(w.form->Left(), w.form->Top(), 500, 300);
    EXPECT_EQ(w.skinned->WindowRegion(), FormRegion(500, 300, 11));

    // Without a title bar: a plain rectangle and the thin top line.
    w.skinned->SetTitleBarVisible(false);
    EXPECT_EQ(w.skinned->WindowRegion(), FormRegion(500, 300, 0));
    EXPECT_TRUE(w.skinned->WindowRegion().Contains(0, 0));
    window = w.Window();
    EXPECT_EQ(PixelAt(window, 250, 0), 0u);
    EXPECT_EQ(PixelAt(window, 250, 1), Rgb(0xE7E7E7));
    EXPECT_EQ(PixelAt(window, 250, 2), Rgb(0xE7E7E7));
    EXPECT_EQ(w.skinned->MenuBar()->Top(), 0);
    EXPECT_EQ(PixelAt(window, 1, 3 + 5), Rgb(0x0000FF)); // beside the menu bar, now at the top
}

TEST(TskForm, MaximisesToTheWorkAreaOneRowShort) {
    SkinnedWindow w(BlueGlass);
    w.form->Show();
    w.form->SetWindowState(wsMaximized);
    const TRect area = GetWorkAreaRect();
    EXPECT_EQ(w.form->BoundsRect(), Rect(area.Left, area.Top, area.Right, area.Bottom - 1));
    EXPECT_EQ(w.skinned->WindowRegion(), FormRegion(area.Width(), area.Height() - 1, 11));
}

TEST(TskForm, FormPanelRefusesTheFormItself) {
    SkinnedWindow w(BlueGlass);
    win32test::ResetHooks();
    w.skinned->SetPanel(w.skinned);
    EXPECT_EQ(w.skinned->FormPanel(), nullptr);
    ASSERT_EQ(win32test::MessageBoxCalls().size(), 1u);
    EXPECT_EQ(win32test::MessageBoxCalls()[0].text,
              "Sorry, you can't select the Form assign to FormPanel property");

    auto* panel = new TPanel(w.form.get()); // owned by the form
    panel->SetParent(w.skinned);
    panel->SetCaption("Panel");
    w.skinned->SetPanel(panel);
    EXPECT_EQ(w.skinned->FormPanel(), panel);
    EXPECT_EQ(panel->Align(), alClient);
    EXPECT_EQ(panel->BevelOuter(), bvNone);
    EXPECT_TRUE(panel->Caption().isEmpty());
    w.skinned->SetPanel(w.skinned);
    EXPECT_EQ(w.skinned->FormPanel(), panel);
    panel->Free();
    EXPECT_EQ(w.skinned->FormPanel(), nullptr);
}

TEST(TskForm, MenuBarHeightResizesTheBarAndItsButtons) {
    SkinnedWindow w(BlueGlass);
    TskMainMenu* menu = w.AddMenu();
    w.AddItem(w.AddItem(menu->Items(), "&File"), "E&xit");
    w.AddItem(w.AddItem(menu->Items(), "&Help"), "&About");
    TToolBar* bar = w.skinned->MenuBar();
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->Height(), 22);
    EXPECT_EQ(bar->Top(), w.bar->Height());
    w.skinned->SetMenuBarHeight(30);
    EXPECT_EQ(bar->Height(), 30);
    for (int i = 0; i < bar->ButtonCount(); ++i) {
        EXPECT_EQ(bar->Buttons(i)->Height(), 30);
    }
}

TEST(TskForm, MenuShortCutRunsWhileTheFormHasTheKeyboard) {
    SkinnedWindow hooked(BlueGlass);
    SkinnedWindow other(BlueGlass);
    ASSERT_TRUE(hooked.skinned->InstalledApplicationHook());
    ASSERT_FALSE(other.skinned->InstalledApplicationHook());
    int runs[2] = {};
    SkinnedWindow* windows[2] = {&hooked, &other};
    for (int i = 0; i < 2; ++i) {
        TskMainMenu* menu = windows[i]->AddMenu();
        TMenuItem* exit = windows[i]->AddItem(windows[i]->AddItem(menu->Items(), "&File"), "E&xit");
        exit->SetShortCut(ShortCut('Q', ssCtrl));
        exit->OnClick = [&runs, i](TObject*) { ++runs[i]; };
    }
    // Through the application-wide hook, and through the host's own
    // messages where another form holds the hook.
    for (int i = 0; i < 2; ++i) {
        windows[i]->ShowActive();
        QTest::keyClick(windows[i]->form->Handle(), Qt::Key_Q, Qt::ControlModifier);
        EXPECT_EQ(runs[i], 1) << i;
        EXPECT_EQ(runs[1 - i], i == 0 ? 0 : 1) << i;
        windows[i]->form->Hide();
    }
}

TEST(TskForm, AltSpaceOpensTheSystemMenuOnlyWhereTheFormHooked) {
    SkinnedWindow w(BlueGlass);
    ASSERT_TRUE(w.skinned->InstalledApplicationHook());
    w.ShowActive();
    QTest::keyClick(w.form->Handle(), Qt::Key_Space, Qt::AltModifier);
    TMenuChain* chain = TMenuChain::Active();
    ASSERT_NE(chain, nullptr);
    EXPECT_EQ(chain->Root(), w.bar->SystemMenu()->Items());
    chain->Close();
    w.form->Hide();

    // Somebody else holds the hook: Alt+Space is not this form's.
    bool seen = false;
    Application->OnMessage = [&](TMsg& msg, bool&) { seen |= msg.message == WM_SYSCHAR; };
    SkinnedWindow late(BlueGlass);
    EXPECT_FALSE(late.skinned->InstalledApplicationHook());
    late.ShowActive();
    QTest::keyClick(late.form->Handle(), Qt::Key_Space, Qt::AltModifier);
    EXPECT_TRUE(seen);
    EXPECT_EQ(TMenuChain::Active(), nullptr);
    Application->OnMessage = nullptr;
}

TEST(TskForm, RemovedFileThemeResetsTheFormAndItsChildren) {
    QTemporaryDir dir;
    const QString path = dir.filePath("winxp.skn");
    ASSERT_TRUE(SaveBuiltInThemeFile(WinXP, path));
    SkinnedWindow w(BlueGlass);
    auto* theme = new TskFileTheme(w.form.get()); // owned by the form
    theme->SetThemeFile(path);
    auto* child = new TskTestControl(w.form.get()); // owned by the form
    child->SetParent(w.skinned);
    w.skinned->SetFileTheme(theme);
    w.skinned->SetUIStyle(FromThemeFile);
    child->SetFileTheme(theme);
    child->SetUIStyle(FromThemeFile);
    EXPECT_EQ(w.skinned->BorderWidth(), 3);
    EXPECT_EQ(w.bar->Height(), 26);
    theme->Free();
    EXPECT_EQ(w.skinned->UIStyle(), DeepBlue);
    EXPECT_EQ(w.skinned->BorderWidth(), 1);
    EXPECT_EQ(child->UIStyle(), DeepBlue);
    EXPECT_EQ(w.bar->UIStyle(), DeepBlue);
    EXPECT_EQ(w.bar->Height(), 29);
}

TEST(TskForm, RendersInEveryStyle) {
    QTemporaryDir dir;
    const QString path = dir.filePath("blueglass.skn");
    ASSERT_TRUE(SaveBuiltInThemeFile(BlueGlass, path));
    QDir().mkpath(ArtifactsDir());
    for (TskUIStyle style : {MacOS, WinXP, DeepBlue, Protein, BlueGlass, FromThemeFile}) {
        SkinnedWindow w(DeepBlue);
        auto* theme = new TskFileTheme(w.form.get()); // owned by the form
        theme->SetThemeFile(path);
        w.skinned->SetFileTheme(theme);
        w.skinned->SetUIStyle(style);
        w.form->Show();
        const QImage window = w.Window();
        window.save(QStringLiteral("%1/skinned-form-%2.png").arg(ArtifactsDir()).arg(style));
        // The window's top-left pixels are the left title image's, whose
        // outer 3 pixels the frame paints and the rest the title bar.
        const TskUIStyle images = style == FromThemeFile ? BlueGlass : style;
        TBitmap left;
        GetInsideThemeBitmap(images, siTitleBarLeftImage, &left);
        const int t = w.bar->Height();
        for (const QPoint p : {QPoint(8, 1), QPoint(10, t + 2)}) {
            EXPECT_EQ(PixelAt(window, p.x(), p.y()), left.Image().pixel(p) & 0xFFFFFF)
                << style << " " << p.x() << "," << p.y();
        }
    }
}
