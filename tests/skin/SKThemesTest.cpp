// The built-in theme table, its look-ups, the file-or-built-in decision, the
// style of the owner form and the container helpers.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QMetaEnum>

#include "platform/toolkit/Forms.h"
#include "platform/toolkit/StdCtrls.h"
#include "skin/SKForm.h"
#include "skin/SKMgr.h"
#include "skin/SKThemeFile.h"
#include "skin/SKThemes.h"
#include "tests/skin/SkinTestSupport.h"

using namespace sk;
using sktest::TskTestControl;

TEST(SkinThemeTable, ValuesAndWrongKinds) {
    struct Case {
        const char* what;
        long long got;
        long long want;
    };
    const Case cases[] = {
        {"BlueGlass round corner", GetInsideThemeInt(BlueGlass, 14), 11},
        {"WinXP border colour", GetInsideThemeColor(WinXP, 16), 0xC82C00},
        {"file style int", GetInsideThemeInt(FromThemeFile, 14), -1},
        {"image item as colour", GetInsideThemeColor(MacOS, 5), 0},
        {"colour item as int", GetInsideThemeInt(MacOS, 15), -1},
        {"int item as bool", GetInsideThemeBool(BlueGlass, 14), 0},
        {"unknown style", GetInsideThemeInt(static_cast<TskUIStyle>(9), 14), -1},
        {"item out of range", GetInsideThemeInt(DeepBlue, 43), -1},
        {"MacOS button transparent", GetInsideThemeBool(MacOS, 2), 1},
        {"Protein title buttons transparent", GetInsideThemeBool(Protein, 6), 1},
        {"BlueGlass right offset", GetInsideThemeInt(BlueGlass, 8), -3},
        {"MacOS menu bar", GetInsideThemeColor(MacOS, 23), 0},
        {"WinXP control font", GetInsideThemeColor(WinXP, 27), 0xCF4602},
        {"WinXP tool button down", GetInsideThemeColor(WinXP, 37), 0xE1AC93},
        {"BlueGlass min width", GetInsideThemeInt(BlueGlass, 13), 270},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.got, c.want) << c.what;
    }
    EXPECT_STREQ(SK_FILETHEME_ITEMNAME[41], "SideChannelHandleImage");
    EXPECT_EQ(SK_ITEM_TYPE[27], TskType::Color);
    EXPECT_EQ(GetInsideThemeResourceName(Protein, 38), "MORE_SCROLLBUTTON");
    EXPECT_EQ(GetInsideThemeResourceName(WinXP, 41), "WINXP_SIDECHENNEL_HANDLE");
    EXPECT_EQ(GetInsideThemeResourceName(WinXP, 27), "");
}

TEST(SkinThemeTable, KindsAgreeWithKeyNamesAndResourceNames) {
    // The key name ends in its kind, and exactly the image items name a
    // resource, in every built-in style.
    const std::pair<TskType, QLatin1String> endings[] = {{TskType::Str, QLatin1String("Image")},
                                                         {TskType::Bool, QLatin1String("Bool")},
                                                         {TskType::Int, QLatin1String("Int")},
                                                         {TskType::Color, QLatin1String("Color")}};
    for (int i = 1; i <= SK_ITEM_COUNT; ++i) {
        const QString key = QLatin1String(SK_FILETHEME_ITEMNAME[i]);
        for (const auto& [kind, ending] : endings) {
            EXPECT_EQ(key.endsWith(ending), SK_ITEM_TYPE[i] == kind) << i;
        }
        for (int style = MacOS; style <= BlueGlass; ++style) {
            EXPECT_EQ(GetInsideThemeResourceName(static_cast<TskUIStyle>(style), i).isEmpty(),
                      SK_ITEM_TYPE[i] != TskType::Str)
                << i << " style " << style;
        }
    }
}

TEST(SkinThemeTable, EveryImageItemOfEveryStyleIsCarried) {
    for (int style = MacOS; style <= BlueGlass; ++style) {
        for (int i = 1; i <= SK_ITEM_COUNT; ++i) {
            if (SK_ITEM_TYPE[i] != TskType::Str) {
                continue;
            }
            tk::TBitmap b;
            GetInsideThemeBitmap(static_cast<TskUIStyle>(style), i, &b);
            EXPECT_FALSE(b.Empty())
                << GetInsideThemeResourceName(static_cast<TskUIStyle>(style), i).toStdString();
        }
    }
}

TEST(SkinThemeTable, BitmapStateIsCutFromTheStrip) {
    tk::TBitmap strip;
    GetInsideThemeBitmap(BlueGlass, 5, &strip);
    ASSERT_EQ(strip.Width(), 342);
    tk::TBitmap state;
    GetInsideThemeBitmap(BlueGlass, 5, &state, 18, 2);
    ASSERT_EQ(state.Width(), 19);
    ASSERT_EQ(state.Height(), 19);
    EXPECT_EQ(state.Image(), strip.Image().copy(19, 0, 19, 19));
    GetInsideThemeBitmap(BlueGlass, 5, &state, 18, 1);
    EXPECT_EQ(state.Image(), strip.Image().copy(0, 0, 19, 19));

    // Non-image items and file styles leave the bitmap alone; null is fine.
    tk::TBitmap untouched(3, 3);
    GetInsideThemeBitmap(BlueGlass, 14, &untouched);
    GetInsideThemeBitmap(FromThemeFile, 5, &untouched);
    EXPECT_EQ(untouched.Width(), 3);
    GetInsideThemeBitmap(BlueGlass, 5, nullptr);
}

TEST(SkinThemeTable, StyleNamesAreTheDescriptionNames) {
    const QMetaEnum e = QMetaEnum::fromType<TskUIStyle>();
    EXPECT_EQ(e.keyToValue("BlueGlass"), 5);
    EXPECT_EQ(e.keyToValue("FromThemeFile"), 0);
    EXPECT_STREQ(e.valueToKey(DeepBlue), "DeepBlue");
}

TEST(SkinUsingFileTheme, DecidesBetweenFileAndTable) {
    TskUIStyle used = MacOS;
    EXPECT_FALSE(UsingFileTheme(nullptr, FromThemeFile, used));
    EXPECT_EQ(used, DeepBlue);

    tk::TComponentPtr<TskFileTheme> unloaded(new TskFileTheme(nullptr));
    EXPECT_FALSE(UsingFileTheme(unloaded.get(), FromThemeFile, used));
    EXPECT_EQ(used, DeepBlue);
    EXPECT_FALSE(UsingFileTheme(unloaded.get(), BlueGlass, used));
    EXPECT_EQ(used, BlueGlass);

    const QString path = QDir::temp().filePath("quenby-skin-using.skn");
    ASSERT_TRUE(SaveBuiltInThemeFile(WinXP, path));
    tk::TComponentPtr<TskFileTheme> loaded(new TskFileTheme(nullptr));
    loaded->SetThemeFile(path);
    ASSERT_TRUE(loaded->CanUse());
    EXPECT_TRUE(UsingFileTheme(loaded.get(), FromThemeFile, used));
    // A built-in style wins even when the theme could be used.
    EXPECT_FALSE(UsingFileTheme(loaded.get(), BlueGlass, used));
    EXPECT_EQ(used, BlueGlass);
    QFile::remove(path);
}

TEST(SkinFormStyle, FirstSkinnedFormOfTheOwnerForm) {
    tk::TComponentPtr<tk::TForm> form(new tk::TForm(nullptr));
    tk::TComponentPtr<tk::TComponent> plain(new tk::TComponent(nullptr));
    EXPECT_EQ(GetSKFormStyle(plain.get()), DeepBlue);
    EXPECT_EQ(GetSKFormStyle(nullptr), DeepBlue);
    EXPECT_EQ(GetSKFormStyle(form.get()), DeepBlue);

    auto* first = new TskForm(form.get());
    first->SetUIStyle(Protein);
    auto* second = new TskForm(form.get());
    second->SetUIStyle(MacOS);
    second->SetParent(form.get());
    EXPECT_EQ(GetSKFormStyle(form.get()), Protein);
    // A component created with the form as owner starts in its style.
    auto* c = new TskTestControl(form.get());
    EXPECT_EQ(c->UIStyle(), Protein);
}

TEST(SkinContainer, AppliesToDirectChildrenThatPublishBoth) {
    tk::TComponentPtr<tk::TForm> form(new tk::TForm(nullptr));
    tk::TComponentPtr<TskFileTheme> theme(new TskFileTheme(nullptr));
    auto* a = new TskTestControl(form.get());
    a->SetParent(form.get());
    auto* styleOnly = new sktest::TskTestStyleOnly(form.get());
    styleOnly->SetParent(form.get());
    auto* panel = new tk::TPanel(form.get());
    panel->SetParent(form.get());
    auto* inner = new TskTestControl(form.get());
    inner->SetParent(panel);

    EXPECT_TRUE(IsHasProperty(a, "FileTheme"));
    EXPECT_TRUE(IsHasProperty(a, "uistyle"));
    EXPECT_FALSE(IsHasProperty(styleOnly, "FileTheme"));

    ContainerApplyUIStyle(form.get(), WinXP, theme.get());
    EXPECT_EQ(a->UIStyle(), WinXP);
    EXPECT_EQ(a->FileTheme(), theme.get());
    EXPECT_EQ(a->borderColor, 0x686868u);
    EXPECT_EQ(styleOnly->style, MacOS);
    EXPECT_EQ(inner->UIStyle(), DeepBlue);
    EXPECT_EQ(inner->FileTheme(), nullptr);
}

TEST(SkinProtocol, FileThemeRemovalClearsTheReference) {
    tk::TComponentPtr<tk::TForm> form(new tk::TForm(nullptr));
    auto* c = new TskTestControl(form.get());
    c->SetUIStyle(MacOS);
    auto* theme = new TskFileTheme(nullptr);
    c->SetFileTheme(theme);
    const int applied = c->applied;
    c->SetFileTheme(theme); // unchanged: nothing re-applied
    EXPECT_EQ(c->applied, applied);
    EXPECT_EQ(c->UIStyle(), MacOS);
    // An unusable theme under FromThemeFile falls back to DeepBlue's values.
    c->SetUIStyle(FromThemeFile);
    EXPECT_FALSE(c->Theme().UsesFileTheme());
    EXPECT_EQ(c->Theme().UsedStyle(), DeepBlue);
    theme->Free();
    EXPECT_EQ(c->FileTheme(), nullptr);
    EXPECT_EQ(c->UIStyle(), DeepBlue);
}

TEST(SkinUtilities, InRectCountsBothEdges) {
    const tk::TRect r = tk::Rect(10, 20, 30, 40);
    struct Case {
        int x, y;
        bool in;
    };
    for (const Case& c : {Case{10, 20, true}, Case{30, 40, true}, Case{31, 40, false},
                          Case{30, 41, false}, Case{9, 25, false}, Case{20, 19, false}}) {
        EXPECT_EQ(InRect(c.x, c.y, r), c.in) << c.x << "," << c.y;
        EXPECT_EQ(InRect(tk::TPoint{c.x, c.y}, r), c.in);
    }
    tk::TComponentPtr<tk::TForm> form(new tk::TForm(nullptr));
    auto* p = new tk::TPanel(form.get());
    p->SetParent(form.get());
    PlaceControl(p, tk::Rect(5, 6, 25, 46));
    EXPECT_EQ(p->BoundsRect(), tk::Rect(5, 6, 25, 46));
    PlaceControl(p, tk::TPoint{1, 2});
    EXPECT_EQ(p->BoundsRect(), tk::Rect(1, 2, 21, 42));
}
