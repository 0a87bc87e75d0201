// The program's window frames read from form descriptions: the main window's
// skinned form with its title bar and menu, and a dialog's.
#include <gtest/gtest.h>

#include <QDir>
#include <map>

#include "tests/skin/FrameTestSupport.h"
#include "tests/skin/SkinTestSupport.h"

using namespace sk;
using namespace tk;
using namespace sktest;

namespace {

QString FormPath(const char* name) {
    return qEnvironmentVariable("QUENBY_SOURCE_DIR") + "/tests/skin/forms/" + name;
}

struct Described {
    explicit Described(const char* file) {
        TestApplication();
        RegisterToolkitClasses();
        RegisterSkinFrameClasses();
        for (const char* handler : {"miFileExitClick", "sbtnOptionClick", "sbtnHelpClick",
                                    "miHelpWebClick", "miHelpAboutClick"}) {
            form->RegisterHandler(handler,
                                  TNotifyEvent([this, handler](TObject*) { ++clicks[handler]; }));
        }
        form->LoadDescription(FormPath(file));
    }
    template <class T> T* Get(const char* name) const {
        auto* c = qobject_cast<T*>(form->FindComponent(name));
        EXPECT_NE(c, nullptr) << name;
        return c;
    }

    TComponentPtr<TForm> form{new TForm(nullptr)};
    std::map<QString, int> clicks;
};

// Types, visibility and picture sizes of the title bar's buttons.
void ExpectButtons(const TskTitleBar* bar, const std::vector<TskTitleBarBtnType>& types) {
    ASSERT_EQ(bar->Buttons()->Count(), static_cast<int>(types.size()));
    for (int i = 0; i < bar->Buttons()->Count(); ++i) {
        const TskTitleBarButton* b = bar->Buttons()->Items(i);
        EXPECT_EQ(b->ButtonType(), types[static_cast<std::size_t>(i)]) << i;
        EXPECT_EQ(b->UIStyle(), BlueGlass) << i;
        EXPECT_TRUE(b->Transparent()) << i;
        EXPECT_EQ(b->Top(), 6) << i;
        EXPECT_EQ(b->PicNormal()->Width(), 19) << i;
        EXPECT_EQ(b->PicMouseDown()->Height(), 19) << i;
    }
}

void ExpectBlueGlassFrame(const TskForm* skinned, const QString& caption) {
    EXPECT_EQ(skinned->UIStyle(), BlueGlass);
    EXPECT_EQ(skinned->BorderColor(), clBlack);
    EXPECT_EQ(skinned->BorderWidth(), 1);
    EXPECT_EQ(skinned->Color(), 15198183u);
    EXPECT_EQ(skinned->RoundCorner(), 11);
    EXPECT_EQ(skinned->Caption(), caption);
    EXPECT_EQ(skinned->Host()->Caption(), caption);
    const TskTitleBar* bar = skinned->TitleBar();
    EXPECT_EQ(bar->Height(), 30);
    EXPECT_EQ(bar->Font()->Name(), "Tahoma");
    EXPECT_EQ(bar->Font()->Height(), -11);
    EXPECT_EQ(bar->Font()->Color(), clWhite);
    EXPECT_EQ(bar->Font()->Style(), TFontStyles(fsBold));
    const int widths[] = {162, 101, 10};
    const TskTitleBarAlign aligns[] = {skLeft, skRight, skClient};
    ASSERT_EQ(bar->Sections()->Count(), 3);
    for (int i = 0; i < 3; ++i) {
        const TskTitleBarSection* s = bar->Sections()->Items(i);
        EXPECT_EQ(s->Width(), widths[i]) << i;
        EXPECT_EQ(s->Align(), aligns[i]) << i;
        EXPECT_EQ(s->Stretch(), i == 2) << i;
        EXPECT_FALSE(s->Picture()->Empty()) << i;
    }
    EXPECT_EQ(bar->Sections()->Items(2)->Picture()->Width(), 179);
}

} // namespace

TEST(TskFormDescription, MainWindowFrame) {
    Described d("MainFrame.form");
    auto* skinned = d.Get<TskForm>("sfmMain");
    auto* menu = d.Get<TskMainMenu>("mnMain");
    ASSERT_TRUE(skinned && menu);
    ExpectBlueGlassFrame(skinned, "Quenby for WAB - Clean Outlook Express Address Book");
    ExpectButtons(skinned->TitleBar(), {skControlBox, skClose, skMax, skMin});
    EXPECT_EQ(d.form->ClientWidth(), 794);
    EXPECT_EQ(d.form->ClientHeight(), 594);
    EXPECT_EQ(d.form->Constraints()->MinWidth(), 270);

    EXPECT_EQ(skinned->Menu(), menu);
    EXPECT_EQ(skinned->MenuBarColor(), 15198183u);
    EXPECT_EQ(skinned->MenuBarHeight(), 22);
    EXPECT_EQ(menu->UIStyle(), BlueGlass);
    EXPECT_EQ(menu->SeparatorHeight(), 5);
    EXPECT_EQ(menu->BarColor(), 13554646u);
    EXPECT_EQ(menu->SeparatorColor(), 8684164u);
    EXPECT_EQ(menu->SelectedColor(), 15490654u);
    EXPECT_EQ(menu->FontName(), "MS Sans Serif");
    EXPECT_TRUE(menu->UseSystemFont());
    TToolBar* bar = skinned->MenuBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->ButtonCount(), 3);
    EXPECT_EQ(bar->Buttons(0)->Caption(), "&File");
    EXPECT_EQ(bar->Buttons(1)->Caption(), "Tools");
    EXPECT_EQ(bar->Buttons(2)->Caption(), "&Help");
    // Title bar and menu bar above the first control.
    EXPECT_EQ(d.Get<TPanel>("spTop")->Top(), 30 + 22);

    d.form->Show();
    QApplication::processEvents();
    ASSERT_TRUE(bar->TrackMenu(bar->Buttons(2)));
    TMenuChain* chain = TMenuChain::Active();
    ASSERT_NE(chain, nullptr);
    TMenuWindow* help = chain->Window(0);
    const int heights[] = {21, 21, 5, 21};
    ASSERT_EQ(help->RowCount(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(help->RowRect(i).Height(), heights[i]) << i;
    }
    QDir().mkpath(ArtifactsDir());
    Shot(d.form->Handle()).save(ArtifactsDir() + "/main-frame.png");
    Shot(help).save(ArtifactsDir() + "/main-frame-help.png");
    const TRect about = help->RowRect(3);
    QTest::mouseClick(help, Qt::LeftButton, {},
                      QPoint(about.Left + 40, about.Top + 10) +
                          QPoint(TMenuWindow::Border, TMenuWindow::Border));
    EXPECT_EQ(d.clicks["miHelpAboutClick"], 1);
}

TEST(TskFormDescription, DialogFrame) {
    Described d("DialogFrame.form");
    auto* skinned = d.Get<TskForm>("skForm1");
    ASSERT_NE(skinned, nullptr);
    ExpectBlueGlassFrame(skinned, "Set Application Options ...");
    ExpectButtons(skinned->TitleBar(), {skControlBox, skClose});
    EXPECT_EQ(skinned->MenuBar(), nullptr);
    EXPECT_EQ(d.form->BorderStyle(), bsDialog);
    const TskTitleBarLayout l = skinned->TitleBar()->Layout(skinned->TitleBar()->Width());
    EXPECT_EQ(l.buttons[1].Left, skinned->TitleBar()->Width() - 22);
    EXPECT_EQ(l.captionRight, skinned->TitleBar()->Width() - 22);
    d.form->Show();
    EXPECT_EQ(skinned->WindowRegion(), FormRegion(d.form->Width(), d.form->Height(), 11));
    Shot(d.form->Handle()).save(ArtifactsDir() + "/dialog-frame.png");
}
