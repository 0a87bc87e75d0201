// A component under a file theme written from a built-in style looks the
// same as under that style.
#include <gtest/gtest.h>

#include <QImage>
#include <QTemporaryDir>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKButton.h"
#include "skin/SKGroupBox.h"
#include "skin/SKImagePanel.h"
#include "skin/SKMgr.h"
#include "skin/SKThemeFile.h"

using namespace sk;
using namespace tk;

namespace {

QImage Grab(TControl* c) {
    return c->Handle()->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

// Two forms side by side: one styled by the built-in table, one by a file.
template <class T>
std::pair<QImage, QImage> Pair(TskUIStyle style, const QString& themePath, void (*setUp)(T*)) {
    QImage images[2];
    for (int i = 0; i < 2; ++i) {
        TComponentPtr<TForm> form(new TForm(nullptr));
        form->SetBorderStyle(bsNone);
        form->SetBounds(0, 0, 200, 100);
        auto* theme = new TskFileTheme(form.get()); // owned by the form
        theme->SetThemeFile(themePath);
        EXPECT_TRUE(theme->CanUse());
        auto* c = new T(form.get()); // owned by the form
        c->SetParent(form.get());
        c->SetBounds(10, 10, 120, 40);
        if (i == 1) {
            c->SetFileTheme(theme);
            c->SetUIStyle(FromThemeFile);
        } else {
            c->SetUIStyle(style);
        }
        setUp(c);
        images[i] = Grab(c);
    }
    return {images[0], images[1]};
}

} // namespace

TEST(SkinFileThemeLook, ControlsLookTheSameAsTheStyleTheFileCameFrom) {
    QTemporaryDir dir;
    for (TskUIStyle style : {BlueGlass, MacOS, WinXP, DeepBlue, Protein}) {
        const QString path = dir.filePath(QStringLiteral("theme%1.skn").arg(int(style)));
        ASSERT_TRUE(SaveBuiltInThemeFile(style, path));
        const auto button = Pair<TskButton>(style, path, [](TskButton* b) { b->SetCaption("OK"); });
        EXPECT_EQ(button.first, button.second) << "button, style " << int(style);
        const auto box = Pair<TskCheckBox>(style, path, [](TskCheckBox* b) {
            b->SetAutoSize(false); // sizes itself when painted: compare one size
            b->SetCaption("Same Email Address");
            b->SetChecked(true);
        });
        EXPECT_EQ(box.first, box.second) << "check box, style " << int(style);
        const auto group =
            Pair<TskGroupBox>(style, path, [](TskGroupBox* g) { g->SetCaption("Criteria"); });
        EXPECT_EQ(group.first, group.second) << "group box, style " << int(style);
    }
}
