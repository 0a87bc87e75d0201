// Theme files byte for byte, damaged files, file themes, the embedded theme,
// the theme manager and its dialog, and built-in styles saved as files.
#include <gtest/gtest.h>

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QMetaEnum>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <QTimer>

#include "platform/toolkit/Forms.h"
#include "platform/win32/Win32.h"
#include "skin/SKMgr.h"
#include "skin/SKThemeFile.h"
#include "skin/frmThemeMgr.h"
#include "tests/skin/SkinTestSupport.h"

using namespace sk;
using sktest::TskTestControl;

namespace {

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteAll(const QString& path, const QByteArray& data) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(data);
}

quint32 U32(const QByteArray& d, int at) {
    return quint32(quint8(d[at])) | quint32(quint8(d[at + 1])) << 8 |
           quint32(quint8(d[at + 2])) << 16 | quint32(quint8(d[at + 3])) << 24;
}

void PutU32(QByteArray& d, int at, quint32 v) {
    for (int i = 0; i < 4; ++i) {
        d[at + i] = char((v >> (8 * i)) & 0xFF);
    }
}

struct Fixture {
    QTemporaryDir dir;
    QString Path(const QString& name) const { return dir.filePath(name); }
};

// A file of every kind, as the writer makes it.
QByteArray SampleFile(const Fixture& fx) {
    WriteAll(fx.Path("blob.bin"), QByteArray("BLOBDATA"));
    {
        TskThemeFileWriter w(fx.Path("sample.skn"));
        w.AddInteger("Width", -7);
        w.AddBool("Flag", true);
        w.AddFile("Blob", fx.Path("blob.bin"));
        w.AddStr("Title", "Caption text");
        w.AddInteger("Colour", 0xC82C00);
    }
    return ReadAll(fx.Path("sample.skn"));
}

} // namespace

TEST(SkinThemeFile, EmptyWriterMakesTheHeaderAndTheEndEntry) {
    Fixture fx;
    const QString path = fx.Path("empty.skn");
    { TskThemeFileWriter w(path); }
    const QByteArray d = ReadAll(path);
    ASSERT_EQ(d.size(), 101);
    EXPECT_EQ(d.left(12), QByteArray("SkinKit_TB\0\0", 12));
    EXPECT_EQ(U32(d, 12), 24u);
    EXPECT_EQ(U32(d, 16), 1u);
    EXPECT_EQ(U32(d, 20), 24u);
    QByteArray end(77, '\0');
    end[64] = 2;
    EXPECT_EQ(d.mid(24), end);

    EXPECT_TRUE(IsSKThemeFile(path));
    TskThemeFileReader r(path);
    EXPECT_TRUE(r.Files().empty());
    EXPECT_TRUE(r.Integers().empty());
    EXPECT_TRUE(r.Booleans().empty());
    EXPECT_TRUE(r.Strings().empty());
    EXPECT_EQ(r.GetInteger("anything"), -1);
    EXPECT_FALSE(r.GetBool("anything"));
    EXPECT_EQ(r.GetStr("anything"), "");
    EXPECT_EQ(r.GetFile("anything"), nullptr);
}

TEST(SkinThemeFile, LayoutOrderAndReadingBack) {
    Fixture fx;
    const QByteArray d = SampleFile(fx);
    // Files, strings, integers, booleans; data right after each entry.
    const char* names[] = {"Blob", "Title", "Width", "Colour", "Flag"};
    const int kinds[] = {0, 3, 1, 1, 2};
    const int lengths[] = {8, 12, 4, 4, 1};
    int at = 24;
    for (int i = 0; i < 5; ++i) {
        ASSERT_LE(at + 77, d.size());
        EXPECT_EQ(QByteArray(d.constData() + at), QByteArray(names[i]));
        EXPECT_EQ(int(d[at + 64]), kinds[i]) << names[i];
        EXPECT_EQ(U32(d, at + 65), quint32(at + 77));
        EXPECT_EQ(U32(d, at + 69), quint32(lengths[i]));
        EXPECT_EQ(U32(d, at + 73), quint32(at + 77 + lengths[i]));
        at += 77 + lengths[i];
    }
    EXPECT_EQ(d.size(), at + 77);
    EXPECT_EQ(d.mid(24 + 77, 8), QByteArray("BLOBDATA"));

    TskThemeFileReader r(fx.Path("sample.skn"));
    EXPECT_EQ(r.GetInteger("width"), -7); // any case
    EXPECT_EQ(r.GetInteger("Colour"), 0xC82C00);
    EXPECT_TRUE(r.GetBool("FLAG"));
    EXPECT_EQ(r.GetStr("Title"), "Caption text");
    QIODevice* blob = r.GetFile("blob");
    ASSERT_NE(blob, nullptr);
    blob->read(4);
    EXPECT_EQ(r.GetFile("Blob")->readAll(), QByteArray("BLOBDATA")); // rewound
    EXPECT_EQ(r.GetInteger("Flag"), -1);                             // kinds are apart
}

TEST(SkinThemeFile, NamesOfSixtyFourCharactersAndMore) {
    Fixture fx;
    const QString name64(64, QLatin1Char('N'));
    const QString path = fx.Path("names.skn");
    {
        TskThemeFileWriter w(path);
        w.AddInteger(name64, 1);
        w.AddInteger(QString(70, QLatin1Char('L')), 2);
        // A repeated name repeats the first value.
        w.AddBool("Twice", true);
        w.AddBool("twice", false);
    }
    const QByteArray d = ReadAll(path);
    EXPECT_EQ(d.mid(24, 64), name64.toLatin1());
    EXPECT_EQ(int(d[24 + 64]), 1); // the kind follows at once: no terminator
    TskThemeFileReader r(path);
    ASSERT_EQ(r.Integers().size(), 2u);
    EXPECT_EQ(r.Integers()[0].Name, name64);
    EXPECT_EQ(r.GetInteger(name64), 1);
    EXPECT_EQ(r.GetInteger(QString(64, QLatin1Char('L'))), 2);
    ASSERT_EQ(r.Booleans().size(), 2u);
    EXPECT_EQ(r.Booleans()[1].Value, "1");
}

TEST(SkinThemeFile, WriterFailsWholeWhenASourceIsMissing) {
    Fixture fx;
    const QString path = fx.Path("keep.skn");
    WriteAll(path, "old contents");
    TskThemeFileWriter w(path);
    w.AddInteger("A", 1);
    w.AddFile("Gone", fx.Path("no-such.bmp"));
    EXPECT_FALSE(w.Save());
    EXPECT_EQ(ReadAll(path), QByteArray("old contents"));
}

TEST(SkinThemeFile, MagicCheck) {
    Fixture fx;
    { TskThemeFileWriter w(fx.Path("good.skn")); }
    QByteArray d = ReadAll(fx.Path("good.skn"));
    d[3] = 'x';
    WriteAll(fx.Path("bad.skn"), d);
    WriteAll(fx.Path("short.skn"), "SkinKit_TB");
    EXPECT_TRUE(IsSKThemeFile(fx.Path("good.skn")));
    EXPECT_FALSE(IsSKThemeFile(fx.Path("bad.skn")));
    EXPECT_FALSE(IsSKThemeFile(fx.Path("short.skn")));
    EXPECT_FALSE(IsSKThemeFile(fx.Path("missing.skn")));
    EXPECT_FALSE(IsSKThemeFile(fx.dir.path()));
}

TEST(SkinThemeFile, DamagedFilesReadAsFarAsTheyAreSound) {
    Fixture fx;
    const QByteArray good = SampleFile(fx);
    // Entry offsets of the sample: Blob 24, Title 109, Width 198, Colour 279,
    // Flag 360, end 438.
    struct Case {
        const char* what;
        std::function<void(QByteArray&)> damage;
        std::size_t files, strings, integers, booleans;
    };
    const Case cases[] = {
        {"intact", [](QByteArray&) {}, 1, 1, 2, 1},
        {"empty file", [](QByteArray& d) { d.clear(); }, 0, 0, 0, 0},
        {"header cut", [](QByteArray& d) { d.truncate(20); }, 0, 0, 0, 0},
        {"first entry cut", [](QByteArray& d) { d.truncate(60); }, 0, 0, 0, 0},
        {"inside the blob", [](QByteArray& d) { d.truncate(105); }, 0, 0, 0, 0},
        {"third entry cut", [](QByteArray& d) { d.truncate(230); }, 1, 1, 0, 0},
        {"end entry cut", [](QByteArray& d) { d.truncate(440); }, 1, 1, 2, 1},
        {"first offset past end", [](QByteArray& d) { PutU32(d, 20, 0xFFFFFFF0u); }, 0, 0, 0, 0},
        {"data offset past end", [](QByteArray& d) { PutU32(d, 109 + 65, 0x7FFFFFFFu); }, 1, 0, 0,
         0},
        {"length past end", [](QByteArray& d) { PutU32(d, 24 + 69, 0xFFFFFFFFu); }, 0, 0, 0, 0},
        {"length larger than the file", [](QByteArray& d) { PutU32(d, 109 + 69, 12 + 330); }, 1, 0,
         0, 0},
        {"entry points at itself", [](QByteArray& d) { PutU32(d, 198 + 73, 198); }, 1, 1, 1, 0},
        {"chain loops back to start", [](QByteArray& d) { PutU32(d, 360 + 73, 24); }, 1, 1, 2, 1},
        {"next past end", [](QByteArray& d) { PutU32(d, 279 + 73, 0x80000000u); }, 1, 1, 2, 0},
        {"integer of two bytes", [](QByteArray& d) { PutU32(d, 198 + 69, 2); }, 1, 1, 1, 1},
        {"boolean of no bytes", [](QByteArray& d) { PutU32(d, 360 + 69, 0); }, 1, 1, 2, 0},
        {"unknown kind", [](QByteArray& d) { d[109 + 64] = 9; }, 1, 0, 2, 1},
        {"name without terminator",
         [](QByteArray& d) {
             for (int i = 0; i < 64; ++i) {
                 d[24 + i] = 'z';
             }
         },
         1, 1, 2, 1},
    };
    for (const Case& c : cases) {
        QByteArray d = good;
        c.damage(d);
        const auto r = TskThemeFileReader::FromData(d);
        EXPECT_EQ(r->Files().size(), c.files) << c.what;
        EXPECT_EQ(r->Strings().size(), c.strings) << c.what;
        EXPECT_EQ(r->Integers().size(), c.integers) << c.what;
        EXPECT_EQ(r->Booleans().size(), c.booleans) << c.what;
        EXPECT_EQ(r->GetInteger("Nothing"), -1) << c.what;
    }
    // The same through a file and the theme manager.
    QByteArray d = good;
    PutU32(d, 24 + 69, 0xFFFFFFFFu);
    WriteAll(fx.Path("damaged.skn"), d);
    TskFileThemeMgr mgr;
    EXPECT_TRUE(mgr.LoadFromFile(fx.Path("damaged.skn")));
    EXPECT_EQ(mgr.GetInt(siFormRoundCornerInt), -1);
}

TEST(SkinThemeFile, RandomlyMutatedFilesNeverCrash) {
    Fixture fx;
    const QByteArray good = SampleFile(fx);
    QRandomGenerator rng(20261210);
    for (int round = 0; round < 3000; ++round) {
        QByteArray d = good;
        const int edits = 1 + int(rng.bounded(6));
        for (int e = 0; e < edits; ++e) {
            const int at = int(rng.bounded(quint32(std::max<qsizetype>(1, d.size()))));
            switch (rng.bounded(5)) {
            case 0:
                if (!d.isEmpty()) {
                    d[at] = char(rng.bounded(256));
                }
                break;
            case 1: // a plausible offset or length dropped into a field
                if (at + 4 <= d.size()) {
                    PutU32(d, at, rng.bounded(quint32(d.size() + 100)));
                }
                break;
            case 2:
                d.truncate(at);
                break;
            case 3:
                d.insert(at, QByteArray(int(rng.bounded(80)), char(rng.bounded(256))));
                break;
            default:
                if (at + 4 <= d.size()) {
                    PutU32(d, at, rng.generate());
                }
                break;
            }
        }
        const auto r = TskThemeFileReader::FromData(d);
        std::size_t entries =
            r->Files().size() + r->Strings().size() + r->Integers().size() + r->Booleans().size();
        ASSERT_LE(entries, std::size_t(d.size() / 77 + 1)) << round;
        for (const auto& f : r->Files()) {
            ASSERT_LE(f.Stream->size(), d.size());
        }
        r->GetInteger("Width");
        r->GetBool("Flag");
        r->GetFile("Blob");
    }
}

TEST(SkinFileTheme, FindsChecksAndLoadsTheFile) {
    Fixture fx;
    const QString good = fx.Path("good.skn");
    {
        TskThemeFileWriter w(good);
        w.AddInteger("FormRoundCornerInt", 5);
        w.AddBool("ButtonTransparentBool", true);
    }
    QByteArray bad = ReadAll(good);
    bad[9] = 'b';
    WriteAll(fx.Path("bad.skn"), bad);

    tk::TComponentPtr<TskFileTheme> theme(new TskFileTheme(nullptr));
    EXPECT_FALSE(theme->CanUse());
    EXPECT_EQ(theme->GetInt(14), 0); // nothing loaded
    EXPECT_FALSE(theme->GetBool(2));

    theme->SetThemeFile(fx.Path("missing.skn")); // ignored
    EXPECT_EQ(theme->ThemeFile(), "");
    try {
        theme->SetThemeFile(fx.Path("bad.skn"));
        ADD_FAILURE() << "no exception";
    } catch (const tk::Exception& e) {
        EXPECT_EQ(e.Message(), "Invalid skin file for SkinKit!");
    }
    EXPECT_EQ(theme->ThemeFile(), "");
    EXPECT_FALSE(theme->CanUse());

    theme->SetThemeFile(good);
    EXPECT_TRUE(theme->CanUse());
    EXPECT_EQ(theme->GetInt(siFormRoundCornerInt), 5);
    EXPECT_TRUE(theme->GetBool(siButtonTransparentBool));
    EXPECT_EQ(theme->GetInt(siFormBorderWidthInt), -1); // not in the file

    // A name found only in the program's folder is stored with that folder.
    const QString folder = QString::fromStdString(GetProgramFolder());
    const QString local = folder + "quenby-skin-local-test.skn";
    ASSERT_TRUE(QFile::copy(good, local));
    tk::TComponentPtr<TskFileTheme> other(new TskFileTheme(nullptr));
    other->SetThemeFile("C:\\Themes\\quenby-skin-local-test.skn");
    EXPECT_EQ(other->ThemeFile(), local);
    EXPECT_TRUE(other->CanUse());
    QFile::remove(local);
}

TEST(SkinFileTheme, LoadingAFileRefreshesTheComponentsThatUseIt) {
    Fixture fx;
    ASSERT_TRUE(SaveBuiltInThemeFile(WinXP, fx.Path("xp.skn")));
    tk::TComponentPtr<tk::TForm> form(new tk::TForm(nullptr));
    auto* theme = new TskFileTheme(form.get());
    auto* user = new TskTestControl(form.get());
    user->SetFileTheme(theme);
    user->SetUIStyle(FromThemeFile);
    EXPECT_EQ(user->borderColor, 0u); // DeepBlue's, the theme is empty
    // A user on a built-in style keeps what was stored after its style.
    auto* builtIn = new TskTestControl(form.get());
    builtIn->SetFileTheme(theme);
    builtIn->SetUIStyle(BlueGlass);
    builtIn->borderColor = 0x123456;
    const int applied = builtIn->applied;

    theme->SetThemeFile(fx.Path("xp.skn"));
    EXPECT_TRUE(user->Theme().UsesFileTheme());
    EXPECT_EQ(user->borderColor, 0x686868u);
    EXPECT_EQ(user->FileTheme(), theme);
    EXPECT_EQ(builtIn->applied, applied);
    EXPECT_EQ(builtIn->borderColor, 0x123456u);
    EXPECT_EQ(builtIn->FileTheme(), theme);
}

TEST(SkinFileTheme, BuiltInStylesSavedAsFilesGiveTheSameValues) {
    const QString out = sktest::ArtifactsDir() + "/themes";
    QDir().mkpath(out);
    for (TskUIStyle style : {MacOS, WinXP, DeepBlue, Protein, BlueGlass}) {
        const QString name = QLatin1String(QMetaEnum::fromType<TskUIStyle>().valueToKey(style));
        const QString path = out + "/" + name + ".skn";
        ASSERT_TRUE(SaveBuiltInThemeFile(style, path)) << name.toStdString();
        tk::TComponentPtr<TskFileTheme> theme(new TskFileTheme(nullptr));
        theme->SetThemeFile(path);
        ASSERT_TRUE(theme->CanUse());
        for (int i = 1; i <= SK_ITEM_COUNT; ++i) {
            const auto n = SK_FILETHEME_ITEMNAME[std::size_t(i)];
            switch (SK_ITEM_TYPE[std::size_t(i)]) {
            case TskType::Str: {
                tk::TBitmap built, loaded;
                GetInsideThemeBitmap(style, i, &built);
                theme->GetBitmap(i, &loaded);
                ASSERT_EQ(loaded.Image().convertToFormat(QImage::Format_RGB32),
                          built.Image().convertToFormat(QImage::Format_RGB32))
                    << name.toStdString() << " " << n;
                break;
            }
            case TskType::Int:
                EXPECT_EQ(theme->GetInt(i), GetInsideThemeInt(style, i)) << n;
                break;
            case TskType::Color:
                EXPECT_EQ(theme->GetColor(i), GetInsideThemeColor(style, i)) << n;
                break;
            case TskType::Bool:
                EXPECT_EQ(theme->GetBool(i), GetInsideThemeBool(style, i)) << n;
                break;
            }
        }
        // The four-argument form cuts a state as the built-in look-up does.
        tk::TBitmap a, b;
        theme->GetBitmap(siTitleBarButtonImage, &a, 18, 3);
        GetInsideThemeBitmap(style, siTitleBarButtonImage, &b, 18, 3);
        EXPECT_EQ(a.Image().convertToFormat(QImage::Format_RGB32),
                  b.Image().convertToFormat(QImage::Format_RGB32));
    }
    EXPECT_FALSE(SaveBuiltInThemeFile(FromThemeFile, out + "/none.skn"));
}

TEST(SkinBuiltInFileTheme, EmbeddedBytesLoadThroughAFreeTemporaryName) {
    Fixture fx;
    const QString source = fx.Path("source.skn");
    {
        TskThemeFileWriter w(source);
        w.AddInteger("FormMinWidthInt", 321);
    }
    QTemporaryDir temp;
    const QByteArray oldTmp = qgetenv("TMPDIR");
    qputenv("TMPDIR", temp.path().toLocal8Bit());
    WriteAll(temp.filePath("SKINKIT.skn"), "taken");
    WriteAll(temp.filePath("SKINKIT1.skn"), "taken");

    tk::TComponentPtr<TskBuiltInFileTheme> theme(new TskBuiltInFileTheme(nullptr));
    EXPECT_FALSE(theme->HasSkinData());
    theme->SetThemeFile2(source);
    EXPECT_TRUE(theme->HasSkinData());
    const QByteArray stored = theme->SkinData();
    EXPECT_EQ(stored, ReadAll(source));
    EXPECT_EQ(theme->property("ThemeFile").toString(), source);

    tk::TComponentPtr<TskBuiltInFileTheme> loaded(new TskBuiltInFileTheme(nullptr));
    loaded->SetSkinData(stored);
    EXPECT_TRUE(loaded->CanUse());
    EXPECT_EQ(loaded->GetInt(siFormMinWidthInt), 321);
    const TskFileTheme& base = *loaded;
    EXPECT_EQ(base.ThemeFile(), temp.filePath("SKINKIT2.skn"));
    EXPECT_FALSE(QFile::exists(temp.filePath("SKINKIT2.skn")));
    EXPECT_TRUE(QFile::exists(temp.filePath("SKINKIT1.skn")));

    // Loading other bytes again reuses the free name and still takes them.
    {
        TskThemeFileWriter w(source);
        w.AddInteger("FormMinWidthInt", 99);
    }
    loaded->SetSkinData(ReadAll(source));
    EXPECT_EQ(loaded->GetInt(siFormMinWidthInt), 99);

    qputenv("TMPDIR", oldTmp);
}

TEST(SkinBuiltInFileTheme, TravelsInAFormDescription) {
    Fixture fx;
    ASSERT_TRUE(SaveBuiltInThemeFile(BlueGlass, fx.Path("glass.skn")));
    const QByteArray bytes = ReadAll(fx.Path("glass.skn"));
    RegisterThemeFileClasses();
    tk::RegisterClass<TskTestControl>();
    const QString text = QStringLiteral("object fmT: TForm\n"
                                        "  object skTheme: TskBuiltInFileTheme\n"
                                        "    ThemeFile = 'D:\\design\\glass.skn'\n"
                                        "    SkinData = {%1}\n"
                                        "  end\n"
                                        "  object btn: TskTestControl\n"
                                        "    UIStyle = FromThemeFile\n"
                                        "    FileTheme = skTheme\n"
                                        "  end\n"
                                        "end\n")
                             .arg(QString::fromLatin1(bytes.toHex()));
    tk::TComponentPtr<tk::TForm> form(new tk::TForm(nullptr));
    form->LoadDescriptionText(text, "embedded.form");
    auto* theme = qobject_cast<TskBuiltInFileTheme*>(form->FindComponent("skTheme"));
    auto* btn = qobject_cast<TskTestControl*>(form->FindComponent("btn"));
    ASSERT_TRUE(theme && btn);
    EXPECT_TRUE(theme->CanUse());
    EXPECT_EQ(theme->ThemeFile(), "D:\\design\\glass.skn");
    EXPECT_TRUE(btn->Theme().UsesFileTheme());
    EXPECT_EQ(btn->Theme().GetInt(siFormMinWidthInt), 270);
}

TEST(SkinThemeManager, PushesStyleAndThemeToTheListedComponents) {
    tk::TComponentPtr<tk::TForm> form(new tk::TForm(nullptr));
    auto* mgr = new TskThemeManager(form.get());
    auto* theme = new TskFileTheme(form.get());
    auto* a = new TskTestControl(form.get());
    a->SetName("a");
    auto* b = new TskTestControl(form.get());
    b->SetName("b");
    auto* c = new TskTestControl(form.get());
    c->SetName("c");
    EXPECT_EQ(mgr->UIStyle(), DeepBlue);
    int changed = 0;
    mgr->OnUIStyleChanged = [&](tk::TObject* sender) {
        EXPECT_EQ(sender, mgr);
        ++changed;
    };
    mgr->SetList({"a", "ghost", "B"});
    mgr->SetUIStyle(Protein);
    EXPECT_EQ(changed, 1);
    mgr->SetUIStyle(Protein);
    EXPECT_EQ(changed, 1);
    EXPECT_EQ(a->UIStyle(), Protein);
    EXPECT_EQ(b->UIStyle(), Protein);
    EXPECT_EQ(c->UIStyle(), DeepBlue);
    mgr->SetFileTheme(theme);
    EXPECT_EQ(a->FileTheme(), theme);
    EXPECT_EQ(c->FileTheme(), nullptr);

    b->Free();
    EXPECT_EQ(mgr->CompList(), QStringList({"a", "ghost"}));
    theme->Free();
    EXPECT_EQ(mgr->FileTheme(), nullptr);
    EXPECT_EQ(mgr->UIStyle(), DeepBlue);
    EXPECT_EQ(changed, 1); // reset quietly
}

TEST(SkinThemeManager, EditorOffersTheSkinnedComponents) {
    tk::TComponentPtr<tk::TForm> form(new tk::TForm(nullptr));
    auto* mgr = new TskThemeManager(form.get());
    mgr->SetName("mgr");
    auto* a = new TskTestControl(form.get());
    a->SetName("a");
    auto* b = new TskTestControl(form.get());
    b->SetName("b");
    auto* other = new sktest::TskTestStyleOnly(form.get()); // no FileTheme: not offered
    other->SetName("o");
    mgr->SetList({"b"});
    mgr->SetUIStyle(MacOS);

    QStringList offered;
    std::vector<bool> checked;
    QTimer::singleShot(0, [&] {
        for (QWidget* w : QApplication::topLevelWidgets()) {
            auto* hw = qobject_cast<tk::THandleWidget*>(w);
            auto* dlg = hw ? qobject_cast<TfrmMgr*>(hw->Control()) : nullptr;
            if (!dlg || !dlg->IsModal()) {
                continue;
            }
            EXPECT_EQ(dlg->Caption(), "Theme Manager - SkinKit");
            EXPECT_EQ(dlg->ClientWidth(), 233);
            EXPECT_EQ(dlg->ClientHeight(), 301);
            offered = dlg->List->Items();
            for (int i = 0; i < dlg->List->Count(); ++i) {
                checked.push_back(dlg->List->Checked(i));
            }
            dlg->btn_sel->Click();
            dlg->btn_ok->Click();
            return;
        }
        ADD_FAILURE() << "no dialog";
    });
    ThemeManagerEdit(mgr);
    EXPECT_EQ(offered, QStringList({"a", "b"}));
    EXPECT_EQ(checked, std::vector<bool>({false, true}));
    EXPECT_EQ(mgr->CompList(), QStringList({"a", "b"}));
    EXPECT_EQ(a->UIStyle(), MacOS);
}
