// The title bar in a skinned form: where its images, buttons and caption go,
// what its buttons, the pointer and its system menu do to the window, and the
// collections' refusals.
#include <gtest/gtest.h>

#include "platform/win32/Win32Testing.h"
#include "skin/SKTitleBar.h"
#include "tests/skin/FrameTestSupport.h"

using namespace sk;
using namespace tk;
using namespace sktest;

namespace {

// State `first` of the 18-state title-button strip of the style.
QImage StripState(TskUIStyle style, int first) {
    TBitmap state;
    GetInsideThemeBitmap(style, siTitleBarButtonImage, &state, 18, first);
    return state.Image().convertToFormat(QImage::Format_RGB32);
}

QImage Picture(const TPicture* p) {
    const auto* bitmap = dynamic_cast<const TBitmap*>(p->Graphic());
    return bitmap ? bitmap->Image().convertToFormat(QImage::Format_RGB32) : QImage();
}

// Leftmost column where two pictures of the same size differ; -1 when none.
int FirstDifference(const QImage& a, const QImage& b) {
    for (int x = 0; x < a.width(); ++x) {
        for (int y = 0; y < a.height(); ++y) {
            if (a.pixel(x, y) != b.pixel(x, y)) {
                return x;
            }
        }
    }
    return -1;
}

TRect Button(const TskTitleBar* bar, int index) {
    return bar->Layout(bar->Width()).buttons.at(static_cast<std::size_t>(index));
}

} // namespace

TEST(TskTitleBar, HeightFollowsTheLeftImagePerStyle) {
    const std::pair<TskUIStyle, int> heights[] = {
        {MacOS, 20}, {WinXP, 26}, {DeepBlue, 29}, {Protein, 20}, {BlueGlass, 30}};
    for (const auto& [style, height] : heights) {
        SkinnedWindow w(style);
        EXPECT_EQ(w.bar->Height(), height) << style;
        EXPECT_EQ(w.skinned->GetTitleBarHeight(), height) << style;
    }
}

TEST(TskTitleBar, BlueGlassImagesButtonsAndCaption) {
    SkinnedWindow w(BlueGlass);
    w.form->Show();
    const int W = w.bar->Width();
    ASSERT_EQ(W, 400);
    // Buttons in collection order: control box, close, maximise, minimise.
    EXPECT_EQ(Button(w.bar, 1), Bounds(W - 22, 3, 19, 19));
    EXPECT_EQ(Button(w.bar, 2), Bounds(W - 42, 3, 19, 19));
    EXPECT_EQ(Button(w.bar, 3), Bounds(W - 62, 3, 19, 19));
    EXPECT_EQ(Button(w.bar, 0), Bounds(4, 3, 19, 19));
    EXPECT_EQ(w.bar->Layout(W).captionLeft, 28);

    // The left image from (-3, -3); the pictures where the layout says.
    const QImage bar = Shot(w.bar->Handle());
    TBitmap left;
    GetInsideThemeBitmap(BlueGlass, siTitleBarLeftImage, &left);
    for (const QPoint p : {QPoint(0, 0), QPoint(20, 28), QPoint(150, 1)}) {
        EXPECT_EQ(PixelAt(bar, p.x(), p.y()), left.Image().pixel(p + QPoint(3, 3)) & 0xFFFFFF)
            << p.x() << "," << p.y();
    }
    const QImage close = StripState(BlueGlass, 16);
    EXPECT_EQ(PixelAt(bar, W - 22 + 9, 3 + 9), PixelAt(close, 9, 9));
    const QImage box = StripState(BlueGlass, 1);
    EXPECT_EQ(PixelAt(bar, 4 + 9, 3 + 9), PixelAt(box, 9, 9));
}

TEST(TskTitleBar, CaptionShortenedWithDotsAndTheAppIconPlace) {
    SkinnedWindow w(BlueGlass);
    w.form->Show();
    const TskTitleBarLayout l = w.bar->Layout(w.bar->Width());
    w.skinned->SetCaption(QString());
    const QImage empty = Shot(w.bar->Handle());

    // A caption that fits is drawn whole from x 28; one that does not ends in
    // "..." and leaves the buttons' side alone.
    w.skinned->SetCaption("Short");
    const QImage fits = Shot(w.bar->Handle());
    const int captionInk = FirstDifference(empty, fits);
    EXPECT_GE(captionInk, 28);
    EXPECT_LE(captionInk, 29);
    const QString caption = "Quenby for WAB - Clean Outlook Express Address Book, the long way";
    w.skinned->SetCaption(caption);
    const QImage tooLong = Shot(w.bar->Handle());
    const QImage room = empty.copy(l.captionRight, 0, w.bar->Width() - l.captionRight, 30);
    EXPECT_EQ(tooLong.copy(l.captionRight, 0, room.width(), 30), room);
    TBitmap scratch(1, 1);
    scratch.Canvas()->Font()->Assign(*w.bar->Font());
    const QString shown = TskTitleBar::FitCaption(scratch.Canvas(), caption, l.captionRight - 28);
    EXPECT_TRUE(shown.endsWith("...")) << shown.toStdString();
    EXPECT_TRUE(caption.startsWith(shown.chopped(3)));
    EXPECT_LE(scratch.Canvas()->TextWidth(shown), l.captionRight - 28);
    EXPECT_EQ(TskTitleBar::FitCaption(scratch.Canvas(), "Short", l.captionRight - 28), "Short");

    // With the application icon: the icon at offset + 3, the caption 21 after
    // the offset.
    w.skinned->SetCaption("Short");
    w.skinned->SetTitleBarDrawAppIcon(true);
    const TskTitleBarLayout icon = w.bar->Layout(w.bar->Width());
    EXPECT_EQ(icon.appIcon, Bounds(4 + 3, 3, 16, 16));
    EXPECT_EQ(icon.captionLeft, 4 + 21);
    w.skinned->SetCaption(QString());
    const QImage iconOnly = Shot(w.bar->Handle());
    w.skinned->SetCaption("Short");
    EXPECT_EQ(FirstDifference(iconOnly, Shot(w.bar->Handle())), captionInk - 3);
}

TEST(TskTitleBar, DoubleClickAndMaximiseButtonMaximiseAndRestore) {
    SkinnedWindow w(BlueGlass);
    w.ShowActive();
    const TRect normal = w.form->BoundsRect();
    const TRect area = GetWorkAreaRect();
    const TRect maximised = Rect(area.Left, area.Top, area.Right, area.Bottom - 1);
    TskTitleBarButton* max = w.bar->Buttons()->Items(2);
    ASSERT_EQ(max->ButtonType(), skMax);

    DoubleClick(w.bar->Handle(), w.Caption());
    EXPECT_EQ(w.form->WindowState(), wsMaximized);
    EXPECT_EQ(w.form->BoundsRect(), maximised);
    EXPECT_EQ(Picture(max->PicNormal()), StripState(BlueGlass, 10)); // restore
    EXPECT_EQ(Picture(max->PicMouseDown()), StripState(BlueGlass, 12));

    // Pressing on the caption of a maximised window moves nothing.
    Drag(w.bar->Handle(), w.Caption(), QPoint(40, 30));
    EXPECT_EQ(w.form->BoundsRect(), maximised);

    DoubleClick(w.bar->Handle(), w.Caption());
    EXPECT_EQ(w.form->WindowState(), wsNormal);
    EXPECT_EQ(w.form->BoundsRect(), normal);
    EXPECT_EQ(Picture(max->PicNormal()), StripState(BlueGlass, 7));

    QTest::mouseClick(w.bar->Handle(), Qt::LeftButton, {}, w.ButtonCentre(2));
    EXPECT_EQ(w.form->WindowState(), wsMaximized);
    QTest::mouseClick(w.bar->Handle(), Qt::LeftButton, {}, w.ButtonCentre(2));
    EXPECT_EQ(w.form->WindowState(), wsNormal);
    EXPECT_EQ(w.form->BoundsRect(), normal);

    // Dragging the caption of a normal window moves it.
    Drag(w.bar->Handle(), w.Caption(), QPoint(40, 30));
    EXPECT_EQ(w.form->Left(), normal.Left + 40);
    EXPECT_EQ(w.form->Top(), normal.Top + 30);
}

TEST(TskTitleBar, ButtonsAndSystemMenuActOnTheForm) {
    SkinnedWindow w(BlueGlass);
    w.ShowActive();
    QTest::mouseClick(w.bar->Handle(), Qt::LeftButton, {}, w.ButtonCentre(3));
    EXPECT_EQ(w.form->WindowState(), wsMinimized);
    w.form->SetWindowState(wsNormal);

    // The control box opens the system menu under the title bar.
    QTest::mouseClick(w.bar->Handle(), Qt::LeftButton, {}, w.ButtonCentre(0));
    TMenuChain* chain = TMenuChain::Active();
    ASSERT_NE(chain, nullptr);
    TskTitleBarPopupMenu* menu = w.bar->SystemMenu();
    EXPECT_EQ(chain->Root(), menu->Items());
    const TPoint corner = w.bar->ClientToScreen({0, w.bar->Height()});
    EXPECT_EQ(chain->Window(0)->pos(), QPoint(corner.x, corner.y));
    EXPECT_TRUE(menu->CloseItem()->Enabled());
    EXPECT_EQ(menu->MinimizeItem()->Caption(), QString::fromUtf8("最小化(&N)"));

    // Close item: the form goes.
    TMenuWindow* window = chain->Window(0);
    const TRect row = window->RowRect(3);
    QTest::mouseClick(window, Qt::LeftButton, {},
                      QPoint(row.Left + 20, row.Top + row.Height() / 2) +
                          QPoint(TMenuWindow::Border, TMenuWindow::Border));
    EXPECT_FALSE(w.form->Visible());

    // Without a close button the close item is disabled; so is maximise
    // without a maximise button.
    w.bar->Buttons()->Items(1)->SetVisible(false);
    w.bar->Buttons()->Items(2)->SetVisible(false);
    w.ShowActive();
    w.bar->PopupSystemMenu();
    EXPECT_FALSE(menu->CloseItem()->Enabled());
    EXPECT_FALSE(menu->MaximizeItem()->Enabled());
    EXPECT_TRUE(menu->MinimizeItem()->Enabled());
    menu->CloseMenu();

    // The close button closes the form too.
    w.bar->Buttons()->Items(1)->SetVisible(true);
    QTest::mouseClick(w.bar->Handle(), Qt::LeftButton, {}, w.ButtonCentre(1));
    EXPECT_FALSE(w.form->Visible());
}

TEST(TskTitleBar, RefusesASecondControlBoxAndClientSection) {
    SkinnedWindow w(BlueGlass);
    win32test::ResetHooks();
    TskTitleBarButton* extra = w.bar->Buttons()->Add();
    extra->SetButtonType(skControlBox);
    EXPECT_EQ(extra->ButtonType(), skCustom);
    TskTitleBarSection* section = w.bar->Sections()->Add();
    section->SetAlign(skClient);
    EXPECT_EQ(section->Align(), skLeft);
    EXPECT_FALSE(section->Stretch());
    const auto& calls = win32test::MessageBoxCalls();
    ASSERT_EQ(calls.size(), 2u);
    EXPECT_EQ(calls[0].text,
              "Sorry, only one button's ButtonType property can be \"skControlBox\"");
    EXPECT_EQ(calls[1].text, "Sorry, only one section's Align property can be \"skClient\"");
    EXPECT_EQ(calls[0].type, static_cast<UINT>(MB_OK | MB_ICONERROR));
}

TEST(TskTitleBar, CustomKeepsTheUsersSectionsPicturesAndOffsets) {
    SkinnedWindow w(BlueGlass);
    TBitmap red(10, 10);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(Rect(0, 0, 10, 10));
    w.skinned->SetTitleBarCustom(true);
    w.bar->Sections()->Items(0)->Picture()->Assign(&red);
    w.bar->SetLeftBtnXOffset(50);
    TskTitleBarButton* close = w.bar->Buttons()->Items(1);
    close->PicNormal()->Assign(&red);
    w.skinned->SetUIStyle(MacOS);
    EXPECT_EQ(w.bar->UIStyle(), MacOS);
    EXPECT_EQ(w.bar->Sections()->Count(), 3);
    EXPECT_EQ(w.bar->Sections()->Items(0)->Picture()->Width(), 10);
    EXPECT_EQ(w.bar->LeftBtnXOffset(), 50);
    EXPECT_EQ(close->PicNormal()->Width(), 10);

    w.skinned->SetTitleBarCustom(false);
    w.skinned->SetUIStyle(MacOS);
    EXPECT_EQ(w.bar->Sections()->Items(0)->Picture()->Width(), 48);
    EXPECT_EQ(w.bar->LeftBtnXOffset(), 3);
    EXPECT_EQ(close->PicNormal()->Width(), 17);
}
