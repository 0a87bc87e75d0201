// Built-in bitmaps: every name the skin layer looks up, at its size and in
// 24-bit BMP form, keyed exactly where the drawing keys it; the program icon;
// and a generator that repeats itself byte for byte.
#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

// How the skin layer draws an image decides where magenta may be.
enum class Key {
    None,      // drawn opaque: no magenta at all
    Corners,   // nine-part face with keyed corners
    Shape,     // keyed by its bottom-left pixel, magenta only around one shape
    Glyph,     // keyed by its bottom-left pixel, holes inside glyphs allowed
    TopLeft,   // keyed by its top-left pixel, rotated for the other orientation
    ThreePart, // three-part stretch: keyed ends, the stretched middle third plain
    White,     // white is the key (menu image list): white and dark pixels only
};

struct Expected {
    std::string name;
    int width;
    int height;
    int states;
    Key key;
    bool ninePart;
};

std::vector<Expected> Table() {
    using K = Key;
    struct Row {
        const char* suffix;
        int states;
        int size[5][2];
        // Per style: '.' None, C Corners, S Shape, G Glyph, T TopLeft, 3 ThreePart.
        const char* keys;
    };
    // Styles in the order MacOS, WinXP, DeepBlue, Protein, BlueGlass.
    // clang-format off
    const Row rows[] = {
        {"BUTTON", 3, {{252, 23}, {54, 21}, {222, 21}, {222, 21}, {231, 27}}, "C...C"},
        {"CHECKBOX", 4, {{60, 17}, {52, 13}, {52, 13}, {52, 13}, {52, 13}}, "....."},
        {"RADIOBUTTON", 4, {{64, 17}, {52, 13}, {52, 13}, {52, 13}, {52, 13}}, "SSSSS"},
        {"TITLEBTN", 18, {{306, 17}, {378, 21}, {342, 19}, {342, 19}, {342, 19}}, "...GS"},
        {"TITLE_LEFT", 1, {{48, 23}, {35, 29}, {97, 32}, {441, 23}, {162, 33}}, "....."},
        {"TITLE_CLIENT", 1, {{49, 23}, {37, 29}, {98, 32}, {1, 23}, {179, 33}}, "....."},
        {"TITLE_RIGHT", 1, {{48, 23}, {35, 29}, {97, 32}, {1, 23}, {101, 33}}, "....."},
        {"PROGRESSBAR", 1, {{13, 10}, {6, 10}, {1, 10}, {1, 10}, {1, 10}}, "....."},
        {"TRACKBAR_BAR", 1, {{45, 5}, {45, 8}, {45, 4}, {45, 4}, {45, 4}}, "33333"},
        {"TRACKBAR_SLIDER", 1, {{11, 20}, {11, 21}, {11, 20}, {11, 20}, {11, 20}}, "SSSSS"},
        {"TRACKBAR_SLIDER_V", 1, {{19, 11}, {22, 11}, {18, 11}, {18, 11}, {18, 11}}, "....."},
        {"SCROLLBAR_BUTTON", 6, {{96, 22}, {96, 17}, {96, 16}, {96, 16}, {102, 16}}, "TTTTT"},
        {"SCROLLBAR_TRACK", 3, {{33, 16}, {21, 16}, {21, 16}, {21, 16}, {21, 16}}, "....."},
        {"CHECKLIST", 1, {{40, 11}, {44, 11}, {44, 11}, {44, 11}, {44, 11}}, "....."},
        {"TAB", 1, {{36, 27}, {18, 18}, {12, 17}, {18, 17}, {18, 17}}, "....."},
        {"TAB_LINE", 1, {{17, 7}, {8, 1}, {5, 5}, {10, 5}, {10, 5}}, "....."},
        {"SIDECHENNEL_HANDLE", 1, {{7, 84}, {8, 86}, {8, 83}, {8, 83}, {8, 86}}, "....."},
        {"SIDECHENNEL_BAR", 1, {{1, 21}, {1, 21}, {1, 20}, {1, 21}, {1, 21}}, "....."},
    };
    // clang-format on
    auto key = [](char c) {
        switch (c) {
        case 'C':
            return K::Corners;
        case 'S':
            return K::Shape;
        case 'G':
            return K::Glyph;
        case 'T':
            return K::TopLeft;
        case '3':
            return K::ThreePart;
        default:
            return K::None;
        }
    };
    const char* const prefixes[] = {"MACOS", "WINXP", "DEEPBLUE", "PROTEIN", "BLUEGLASS"};
    std::vector<Expected> out;
    for (const Row& r : rows) {
        for (int s = 0; s < 5; ++s) {
            out.push_back({std::string(prefixes[s]) + "_" + r.suffix, r.size[s][0], r.size[s][1],
                           r.states, key(r.keys[s]), std::string(r.suffix) == "BUTTON"});
        }
    }
    // Theme item 38 names its images in full.
    out.push_back({"MACOS_SCROLLBUTTON", 72, 18, 1, K::None, false});
    out.push_back({"WINXP_SCROLLBUTTON", 72, 18, 1, K::None, false});
    out.push_back({"MORE_SCROLLBUTTON", 72, 17, 1, K::None, false});
    // Looked up by name outside the table.
    const std::vector<Expected> outside = {
        {"MACOS_FORM_BACKGROUND", 8, 8, 1, K::None, false},
        {"PROTEIN_FORM_BACKGROUND", 8, 8, 1, K::None, false},
        {"MACOS_MENU_BAR", 1, 22, 1, K::None, false},
        {"MACOS_MENU_SELECT", 1, 21, 1, K::None, false},
        {"MENU_CHECKED", 16, 16, 1, K::White, false},
        {"MDI_CONTROL_BUTTON", 48, 16, 3, K::Glyph, false},
        {"MACOS_COMBOBOX_BUTTON", 16, 17, 1, K::None, false},
        {"WINXP_COMBOBOX_BUTTON", 16, 18, 1, K::None, false},
        {"PANEL_BUTTON", 52, 12, 4, K::None, false},
        {"STATUSBAR_HANDLE", 11, 11, 1, K::Glyph, false},
        {"SIDECHANNEL_BTN", 7, 9, 1, K::Glyph, false},
        {"MSGDLG", 168, 42, 4, K::Shape, false},
        {"MSNPOPFORM", 181, 116, 1, K::None, false},
    };
    out.insert(out.end(), outside.begin(), outside.end());
    // Designer palette icons, one per component class, keyed like glyphs.
    for (const char* cls : {"TSKFORM",
                            "TSKMDIFORM",
                            "TSKMSNPOPFORM",
                            "TSKTITLEBAR",
                            "TSKMAINMENU",
                            "TSKPOPUPMENU",
                            "TSKBUTTON",
                            "TSKARROWBUTTON",
                            "TSKCONTROLBUTTON",
                            "TSKIMAGEBUTTON",
                            "TSKTOOLBARSPEEDBUTTON",
                            "TSKCHECKBOX",
                            "TSKRADIOBUTTON",
                            "TSKTRACKBAR",
                            "TSKSCROLLBAR",
                            "TSKLISTVIEW",
                            "TSKIMAGEPANEL",
                            "TSKPANEL",
                            "TSKGROUPBOX",
                            "TSKSTATUSBAR",
                            "TSKEDIT",
                            "TSKMASKEDIT",
                            "TSKNUMBEREDIT",
                            "TSKSPINEDIT",
                            "TSKSPINBUTTONS",
                            "TSKPROGRESSBAR",
                            "TSKTOOLBAR",
                            "TSKCHECKGROUP",
                            "TSKRADIOGROUP",
                            "TSKFILETHEME",
                            "TSKBUILTINFILETHEME",
                            "TSKTHEMEMANAGER"}) {
        out.push_back({cls, 24, 24, 1, K::Glyph, false});
    }
    return out;
}

bool IsKey(QRgb p) {
    return (p & 0xFFFFFF) == 0xFF00FF;
}

// A blend of magenta with a neighbour: what keyed drawing would leave as a
// pink fringe.
bool NearKey(QRgb p) {
    return !IsKey(p) && qRed(p) > 170 && qBlue(p) > 170 && qGreen(p) < 110;
}

// Every key pixel of the slice can be reached from its border through key
// pixels: the key marks the outside of the shape, never a hole in it.
bool KeyTouchesBorder(const QImage& s) {
    const int w = s.width();
    const int h = s.height();
    std::vector<char> seen(std::size_t(w * h), 0);
    std::vector<QPoint> todo;
    int total = 0;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            if (!IsKey(s.pixel(x, y))) {
                continue;
            }
            ++total;
            if (x == 0 || y == 0 || x == w - 1 || y == h - 1) {
                seen[std::size_t(y * w + x)] = 1;
                todo.emplace_back(x, y);
            }
        }
    }
    int reached = 0;
    while (!todo.empty()) {
        const QPoint p = todo.back();
        todo.pop_back();
        ++reached;
        for (const QPoint d : {QPoint(1, 0), QPoint(-1, 0), QPoint(0, 1), QPoint(0, -1)}) {
            const QPoint q = p + d;
            if (q.x() < 0 || q.y() < 0 || q.x() >= w || q.y() >= h) {
                continue;
            }
            char& mark = seen[std::size_t(q.y() * w + q.x())];
            if (!mark && IsKey(s.pixel(q))) {
                mark = 1;
                todo.push_back(q);
            }
        }
    }
    return reached == total;
}

bool AnyKey(const QImage& img, const QRect& r) {
    for (int y = r.top(); y <= r.bottom(); ++y) {
        for (int x = r.left(); x <= r.right(); ++x) {
            if (IsKey(img.pixel(x, y))) {
                return true;
            }
        }
    }
    return false;
}

bool SameRows(const QImage& s, int a, int b) {
    for (int x = 0; x < s.width(); ++x) {
        if (s.pixel(x, a) != s.pixel(x, b)) {
            return false;
        }
    }
    return true;
}

bool SameColumns(const QImage& s, int a, int b) {
    for (int y = 0; y < s.height(); ++y) {
        if (s.pixel(a, y) != s.pixel(b, y)) {
            return false;
        }
    }
    return true;
}

// Empty when the image keeps its contract, else what is wrong.
std::string CheckPixels(const QImage& img, const Expected& e) {
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            const QRgb p = img.pixel(x, y);
            if (NearKey(p)) {
                return "near-magenta pixel at " + std::to_string(x) + "," + std::to_string(y);
            }
            if (e.key == Key::White && p != qRgb(255, 255, 255) &&
                std::max({qRed(p), qGreen(p), qBlue(p)}) >= 128) {
                return "light pixel beside the white key at " + std::to_string(x) + "," +
                       std::to_string(y);
            }
        }
    }
    const int w = img.width() / e.states;
    const int h = img.height();
    for (int i = 0; i < e.states; ++i) {
        const QImage s = img.copy(i * w, 0, w, h);
        const std::string at = " in state " + std::to_string(i + 1);
        const QRect all(0, 0, w, h);
        switch (e.key) {
        case Key::None:
        case Key::White:
            if (AnyKey(s, all)) {
                return "magenta in an opaque image" + at;
            }
            break;
        case Key::Corners:
            if (!IsKey(s.pixel(0, 0)) || !IsKey(s.pixel(w - 1, 0)) || !IsKey(s.pixel(0, h - 1)) ||
                !IsKey(s.pixel(w - 1, h - 1))) {
                return "corner not keyed" + at;
            }
            // Edges and centre are always drawn keyed: the stretched bands
            // must not punch holes.
            if (AnyKey(s, QRect(0, h / 2, w, h - 2 * (h / 2) + 1)) ||
                AnyKey(s, QRect(w / 2, 0, w - 2 * (w / 2) + 1, h))) {
                return "magenta in a stretched band" + at;
            }
            break;
        case Key::Shape:
        case Key::Glyph:
            if (!IsKey(s.pixel(0, h - 1))) {
                return "bottom-left pixel is not the key" + at;
            }
            break;
        case Key::TopLeft:
            // A quarter turn brings any corner to the top left.
            if (!IsKey(s.pixel(0, 0)) || !IsKey(s.pixel(w - 1, 0)) || !IsKey(s.pixel(0, h - 1)) ||
                !IsKey(s.pixel(w - 1, h - 1))) {
                return "a corner is not the key" + at;
            }
            break;
        case Key::ThreePart:
            if (!IsKey(s.pixel(0, 0))) {
                return "top-left pixel is not the key" + at;
            }
            if (AnyKey(s, QRect(w / 3, 0, w / 3, h))) {
                return "magenta in the stretched middle third" + at;
            }
            break;
        }
        if (e.key != Key::None && e.key != Key::White && e.key != Key::Glyph &&
            !KeyTouchesBorder(s)) {
            return "magenta hole inside the shape" + at;
        }
        if (e.ninePart && (!SameRows(s, h / 2, h - h / 2) || !SameColumns(s, w / 2, w - w / 2))) {
            return "the two middle rows or columns differ, the stretch shows a seam" + at;
        }
    }
    return {};
}

QByteArray ReadAll(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

quint32 Le(const QByteArray& d, int at, int bytes) {
    quint32 v = 0;
    for (int i = bytes - 1; i >= 0; --i) {
        v = (v << 8) | quint8(d[at + i]);
    }
    return v;
}

} // namespace

// Nothing in this program calls quenby::InitResources(): linking the library
// alone must register the resources before main().
TEST(ResourcesRegistration, ProgramsLinkingTheLibraryFindThemWithoutAsking) {
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/bitmaps/BLUEGLASS_BUTTON.bmp")));
    EXPECT_TRUE(QFile::exists(QStringLiteral(":/icons/MAINICON.ico")));
}

TEST(Resources, EveryBitmapIsA24BitBmpOfItsSizeKeyedWhereItIsDrawnKeyed) {
    for (const Expected& e : Table()) {
        SCOPED_TRACE(e.name);
        const QByteArray bmp =
            ReadAll(QStringLiteral(":/bitmaps/%1.bmp").arg(QString::fromStdString(e.name)));
        ASSERT_GE(bmp.size(), 54) << "missing resource";
        EXPECT_EQ(Le(bmp, 14, 4), 40u) << "info header";
        EXPECT_EQ(Le(bmp, 28, 2), 24u) << "bits per pixel";
        EXPECT_EQ(Le(bmp, 30, 4), 0u) << "compression";

        const QImage image = QImage::fromData(bmp, "BMP").convertToFormat(QImage::Format_RGB32);
        EXPECT_EQ(image.width(), e.width);
        EXPECT_EQ(image.height(), e.height);
        ASSERT_EQ(e.width % e.states, 0);
        EXPECT_EQ(CheckPixels(image, e), "");
    }
}

TEST(Resources, CarriesNoBitmapOutsideTheTable) {
    std::vector<std::string> expected;
    for (const Expected& e : Table()) {
        expected.push_back(e.name + ".bmp");
    }
    std::sort(expected.begin(), expected.end());
    std::vector<std::string> actual;
    for (const QString& f : QDir(QStringLiteral(":/bitmaps")).entryList(QDir::Files, QDir::Name)) {
        actual.push_back(f.toStdString());
    }
    EXPECT_EQ(actual, expected);
}

TEST(Resources, IconHoldsSixteenColourImagesAt32And16WithTransparentCorners) {
    const QByteArray ico = ReadAll(QStringLiteral(":/icons/MAINICON.ico"));
    ASSERT_GE(ico.size(), 6 + 2 * 16);
    EXPECT_EQ(Le(ico, 2, 2), 1u) << "icon type";
    ASSERT_EQ(Le(ico, 4, 2), 2u) << "image count";
    const int sizes[] = {32, 16};
    for (int i = 0; i < 2; ++i) {
        const int entry = 6 + 16 * i;
        EXPECT_EQ(quint8(ico[entry]), sizes[i]);
        EXPECT_EQ(quint8(ico[entry + 1]), sizes[i]);
        EXPECT_EQ(quint8(ico[entry + 2]), 16) << "colour count";
        EXPECT_EQ(Le(ico, entry + 6, 2), 4u) << "bits per pixel";
    }
    QBuffer buffer;
    buffer.setData(ico);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, "ico");
    ASSERT_EQ(reader.imageCount(), 2);
    for (int i = 0; i < 2; ++i) {
        const int size = sizes[i];
        SCOPED_TRACE(size);
        ASSERT_TRUE(i == 0 || reader.jumpToImage(i));
        const QImage image = reader.read().convertToFormat(QImage::Format_ARGB32);
        ASSERT_EQ(image.size(), QSize(size, size)) << reader.errorString().toStdString();
        EXPECT_EQ(qAlpha(image.pixel(0, 0)), 0) << "corner shows the background";
        EXPECT_EQ(qAlpha(image.pixel(size / 2, size / 2)), 255);
    }
}

TEST(ResourcesGenerator, RepeatsItselfByteForByteAndMatchesTheCompiledResources) {
    QTemporaryDir first;
    QTemporaryDir second;
    ASSERT_TRUE(first.isValid() && second.isValid());
    for (const QTemporaryDir* dir : {&first, &second}) {
        QProcess gen;
        gen.start(QStringLiteral(ARTGEN_PATH), {QStringLiteral("--out"), dir->path()});
        ASSERT_TRUE(gen.waitForFinished(120000));
        ASSERT_EQ(gen.exitStatus(), QProcess::NormalExit);
        ASSERT_EQ(gen.exitCode(), 0) << gen.readAllStandardError().toStdString();
    }
    const QStringList files = QDir(first.path()).entryList(QDir::Files, QDir::Name);
    ASSERT_EQ(files, QDir(second.path()).entryList(QDir::Files, QDir::Name));
    ASSERT_TRUE(files.contains(QStringLiteral("quenby_resources.qrc")));
    for (const QString& f : files) {
        SCOPED_TRACE(f.toStdString());
        const QByteArray bytes = ReadAll(first.path() + "/" + f);
        EXPECT_FALSE(bytes.isEmpty());
        EXPECT_EQ(bytes, ReadAll(second.path() + "/" + f));
        if (f.endsWith(QStringLiteral(".bmp"))) {
            EXPECT_EQ(bytes, ReadAll(":/bitmaps/" + f)) << "differs from the compiled-in copy";
        } else if (f.endsWith(QStringLiteral(".ico"))) {
            EXPECT_EQ(bytes, ReadAll(":/icons/" + f)) << "differs from the compiled-in copy";
        }
    }
}

TEST(ResourcesGenerator, DrawsTheDesktopIconsClearAroundAndThePixelArtAtItsOwnSizes) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    QProcess gen;
    gen.start(QStringLiteral(ARTGEN_PATH), {QStringLiteral("--icons"), dir.path()});
    ASSERT_TRUE(gen.waitForFinished(120000));
    ASSERT_EQ(gen.exitCode(), 0) << gen.readAllStandardError().toStdString();

    QBuffer ico;
    ico.setData(ReadAll(QStringLiteral(":/icons/MAINICON.ico")));
    ico.open(QIODevice::ReadOnly);
    QImageReader program(&ico, "ico");
    for (int size : {16, 32, 48, 128, 256}) {
        SCOPED_TRACE(size);
        const QImage png(dir.filePath(QStringLiteral("quenby-%1.png").arg(size)));
        ASSERT_EQ(png.size(), QSize(size, size));
        ASSERT_TRUE(png.hasAlphaChannel());
        const QImage icon = png.convertToFormat(QImage::Format_ARGB32);
        EXPECT_EQ(qAlpha(icon.pixel(0, size - 1)), 0) << "the desktop shows through";
        EXPECT_EQ(qAlpha(icon.pixel(size / 2, size / 2)), 255);
        if (size <= 32) {
            // The program's own icon, pixel for pixel (32 first in the file).
            ASSERT_TRUE(program.jumpToImage(size == 32 ? 0 : 1));
            EXPECT_EQ(icon, program.read().convertToFormat(QImage::Format_ARGB32));
        } else {
            // Smooth edges: some pixels between clear and opaque.
            int partial = 0;
            for (int y = 0; y < size; ++y) {
                for (int x = 0; x < size; ++x) {
                    partial += qAlpha(icon.pixel(x, y)) % 255 != 0;
                }
            }
            EXPECT_GT(partial, size);
        }
    }
}
