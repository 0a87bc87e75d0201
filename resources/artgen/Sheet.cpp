// Contact sheets: every image of a style enlarged twice with its name, and a
// mock window that puts the images together the way the skin layer draws
// them (nine-part buttons, title images continued into the frame, keyed
// pieces), so the art can be judged in place.
#include <QDir>
#include <QFont>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <map>

#include "resources/artgen/Files.h"

namespace art {

namespace {

// Theme values the mock needs, in screen colour order.
struct StyleValues {
    const char* group;
    const char* prefix;
    bool buttonKeyed;
    bool titleButtonKeyed;
    int leftOffset, rightOffset, buttonTop;
    int corner;
    Rgb form, border;
    int borderWidth;
    Rgb menuSelBorder, menuSelBack, menuSelFont, menuBack, menuBar;
    Rgb controlBorder;
    Rgb scrollBack;
    bool blackCaption;
    const char* tile; // form background tile, or null
};

// From the theme table (0x00BBGGRR there, swapped here). Fields as in
// StyleValues: keyed buttons, keyed title buttons, button offsets and top,
// corner, form and border colours, border width, menu colours, control border,
// scroll-bar colour, black caption, tile.
// clang-format off
const StyleValues kStyles[] = {
    {"MacOS", "MACOS", true, false, 3, -2, 4, 0, Grey(231), Grey(127), 1,
     Hex(0x3973C4), Hex(0x3973C4), kWhite, kBlack, kBlack, Grey(127), Grey(201), true,
     "MACOS_FORM_BACKGROUND"},
    {"WinXP", "WINXP", false, false, 2, -2, 5, 13, Hex(0xEFEBDE), Hex(0x002CC8), 3,
     Hex(0x3169C6), Hex(0xC6D3EF), kBlack, kWhite, Hex(0xD6D3CE), Grey(104), Grey(249), false,
     nullptr},
    {"DeepBlue", "DEEPBLUE", false, false, 0, 0, 2, 0, Grey(232), kBlack, 1,
     Hex(0x444AA0), Hex(0x444AA0), kWhite, kWhite, Hex(0xD6D3CE), kBlack, Grey(245), false,
     nullptr},
    {"Protein", "PROTEIN", false, true, 0, 0, 2, 0, Grey(251), kBlack, 1,
     Hex(0x2D30C4), Hex(0x2D30C4), kWhite, kWhite, Hex(0xD6D3CE), kBlack, Grey(245), false,
     "PROTEIN_FORM_BACKGROUND"},
    {"BlueGlass", "BLUEGLASS", true, true, 4, -3, 6, 11, Grey(231), kBlack, 1,
     Hex(0x5E5EEC), Hex(0x5E5EEC), kWhite, Grey(231), Hex(0xD6D3CE), kBlack, Grey(244), false,
     nullptr},
};
// clang-format on

QColor Q(Rgb c) {
    return QColor(ToQRgb(c));
}

class Images {
public:
    explicit Images(const Catalogue& cat) {
        for (const Bitmap& b : cat.All()) {
            m_map.emplace(b.name, &b.image);
        }
    }
    const Canvas& operator[](const std::string& name) const {
        const auto it = m_map.find(name);
        if (it == m_map.end()) {
            std::fprintf(stderr, "artgen: sheet misses %s\n", name.c_str());
            static const Canvas empty(1, 1, kKey);
            return empty;
        }
        return *it->second;
    }

private:
    std::map<std::string, const Canvas*> m_map;
};

// Nearest-pixel stretch of src part s into d of the target, optionally keyed.
void Stretch(Canvas& dst, QRect d, const Canvas& src, QRect s, bool keyed) {
    if (d.width() <= 0 || d.height() <= 0 || s.width() <= 0 || s.height() <= 0) {
        return;
    }
    for (int y = 0; y < d.height(); ++y) {
        for (int x = 0; x < d.width(); ++x) {
            const int sx = s.left() + x * s.width() / d.width();
            const int sy = s.top() + y * s.height() / d.height();
            if (sx < 0 || sy < 0 || sx >= src.Width() || sy >= src.Height()) {
                continue;
            }
            const Rgb c = src.Get(sx, sy);
            if (keyed && IsKey(ToQRgb(c))) {
                continue;
            }
            dst.Set(d.left() + x, d.top() + y, c);
        }
    }
}

void Blit(Canvas& dst, int x, int y, const Canvas& src, bool keyed) {
    Stretch(dst, QRect(x, y, src.Width(), src.Height()), src,
            QRect(0, 0, src.Width(), src.Height()), keyed);
}

// Rectangles as (left, top, right, bottom), the way the drawing rules give them.
QRect R(int l, int t, int r, int b) {
    return QRect(l, t, r - l, b - t);
}

// The nine-part stretch of the skin layer, drawn at (ox, oy).
void SpitDraw(Canvas& dst, int ox, int oy, int dw, int dh, const Canvas& src, bool transparent) {
    const int W = src.Width();
    const int H = src.Height();
    const int hw = W / 2;
    const int hh = H / 2;
    Canvas tmp(dw, dh, kKey);
    const int tlw = std::min(hw, dw / 2), tlh = std::min(hh, dh / 2);
    const int blw = std::min(hw, dw / 2), blh = std::min(hh - 1, dh / 2 - 1);
    const int trw = std::min(hw - 1, dw / 2 - 1), trh = std::min(hh, dh / 2);
    const int brw = std::min(hw - 1, dw / 2 - 1), brh = std::min(hh - 1, dh / 2 - 1);
    const QRect TL = R(0, 0, tlw, tlh);
    const QRect BL = R(0, dh - blh, blw, dh);
    const QRect TR = R(dw - trw, 0, dw, trh);
    const QRect BR = R(dw - brw, dh - brh, dw, dh);
    Stretch(tmp, R(0, TL.bottom() + 1, TL.right() + 1, BL.top()), src, R(0, hh, tlw, H - hh),
            false);
    Stretch(tmp, R(TR.left(), TR.bottom() + 1, TR.right() + 1, BR.top()), src,
            R(W - trw, H - hh, W, hh + 2), false);
    Stretch(tmp, R(TL.right() + 1, 0, TR.left(), TL.bottom() + 1), src, R(hw, 0, W - hw + 1, tlh),
            false);
    Stretch(tmp, R(TL.right() + 1, TL.bottom() + 1, TR.left(), BR.top() - 1), src,
            R(hw, hh, W - hw + 1, H - hh), false);
    Stretch(tmp, R(TL.right(), BL.top() - 1, BR.left(), BR.bottom() + 1), src,
            R(hw, H - std::min(hh, blh + 1), W - hw + 1, H), false);
    Blit(dst, ox, oy, tmp, true);
    auto corner = [&](const QRect& d, int sx, int sy) {
        Stretch(dst, d.translated(ox, oy), src, QRect(sx, sy, d.width(), d.height()), transparent);
    };
    corner(TL, 0, 0);
    corner(BL, 0, H - blh);
    corner(TR, W - trw, 0);
    corner(BR, W - brw, H - brh);
}

// The three-part stretch (key magenta).
void SpitDrawH(Canvas& dst, QRect r, const Canvas& src) {
    const int t = src.Width() / 3;
    Stretch(dst, QRect(r.left(), r.top(), t, src.Height()), src, QRect(0, 0, t, src.Height()),
            true);
    Stretch(dst, QRect(r.right() + 1 - t, r.top(), t, src.Height()), src,
            QRect(2 * t, 0, t, src.Height()), true);
    Stretch(dst, R(r.left() + t, r.top(), r.right() + 1 - t, r.bottom() + 1), src,
            QRect(t, 0, t, src.Height()), false);
}

Canvas Slice(const Canvas& c, int count, int index) {
    const int w = c.Width() / count;
    return c.Part(QRect((index - 1) * w, 0, w, c.Height()));
}

void Text(Canvas& c, int x, int y, const QString& s, Rgb colour, bool bold = false, int px = 11) {
    QImage img = c.Image();
    {
        QPainter p(&img);
        QFont f(QStringLiteral("DejaVu Sans"));
        f.setPixelSize(px);
        f.setBold(bold);
        p.setFont(f);
        p.setPen(Q(colour));
        p.drawText(x, y + QFontMetrics(f).ascent(), s);
    }
    c = Canvas(img);
}

// A whole mock window of the style: frame, title bar, menu bar, and a few
// controls in their states.
Canvas MockWindow(const StyleValues& st, const Images& im, int W = 460,
                  const char* caption = nullptr) {
    const std::string p = std::string(st.prefix) + "_";
    const int H = 330;
    const Rgb desktop = Hex(0x3A6E8C);
    Canvas win(W, H, st.form);
    if (st.tile != nullptr) {
        const Canvas& t = im[st.tile];
        for (int y = 0; y < H; y += t.Height()) {
            for (int x = 0; x < W; x += t.Width()) {
                Blit(win, x, y, t, false);
            }
        }
    }
    const Canvas& left = im[p + "TITLE_LEFT"];
    const Canvas& client = im[p + "TITLE_CLIENT"];
    const Canvas& right = im[p + "TITLE_RIGHT"];
    const int lh = left.Height();
    auto whole = [](const Canvas& c) { return QRect(0, 0, c.Width(), c.Height()); };

    // The title bar is a child 3 pixels in: its sections are drawn 3 pixels
    // up and left, and everything it draws is clipped to it.
    const int cw = W - 6;
    const int th = lh - 3;
    Canvas tb(cw, th);
    Blit(tb, -3, -3, left, false);
    const int xl = left.Width() - 3;
    const int xr = cw - right.Width() + 3;
    Stretch(tb, R(xl, -3, xr, -3 + client.Height()), client, whole(client), false);
    Blit(tb, xr, -3, right, false);
    const Canvas& strip = im[p + "TITLEBTN"];
    const int bw = strip.Width() / 18;
    const int T = st.buttonTop - 3;
    int x = cw + st.rightOffset + 1;
    const int firsts[] = {16, 7, 13};
    for (int i = 0; i < 3; ++i) {
        x -= bw + 1;
        Blit(tb, x, T, Slice(strip, 18, firsts[i] + i), st.titleButtonKeyed);
    }
    Blit(tb, st.leftOffset, T, Slice(strip, 18, 1), st.titleButtonKeyed);
    Text(tb, st.leftOffset + bw + 5, T + (strip.Height() - 13) / 2,
         caption != nullptr ? QString::fromLatin1(caption)
                            : QStringLiteral("Quenby for WAB - Clean Address Book"),
         st.blackCaption ? kBlack : kWhite, true);
    win.Put(3, 3, tb);

    // Frame.
    const int b = st.borderWidth;
    win.Fill(R(0, 0, b, H), st.border);
    win.Fill(R(0, H - b, W, H), st.border);
    win.Fill(R(W - b, 0, W, H), st.border);
    if (b < 4) {
        win.Fill(R(b, th, 3, H - b), st.form);
        win.Fill(R(b, H - 3, W - b, H - b), st.form);
        win.Fill(R(W - 3, th, W - b, H - b), st.form);
        Canvas side(3 - b, lh);
        Blit(side, 0, 0, left, false);
        win.Put(b, 0, side);
        if (right.Width() > 2) {
            Blit(side, 2 - right.Width(), 0, right, false);
        } else {
            Stretch(side, whole(side), right, whole(right), false);
        }
        win.Put(W - 3, 0, side);
        Canvas top(W - 5, 3);
        Blit(top, -2, 0, left, false);
        const int x1 = left.Width() - 2;
        const int x2 = (W - 5) - right.Width() + 3;
        Blit(top, x2, 0, right, false);
        Stretch(top, R(x1, 0, x2, client.Height()), client, whole(client), false);
        win.Put(2, 0, top);
    }
    // Window shape: corner ellipse r x r on the two top corners.
    const double rr = st.corner / 2.0;
    if (rr > 0) {
        const Shape shape = RoundRect(0, 0, W + 1, H + 1, Radii{rr, rr, 0, 0});
        for (int y = 0; y < st.corner; ++y) {
            for (int xx = 0; xx < W; ++xx) {
                if (!shape(xx + 0.5, y + 0.5)) {
                    win.Set(xx, y, desktop);
                }
            }
        }
        if (b == 1 && st.corner == 11) {
            for (int y = 0; y < 11; ++y) {
                for (int xx = 0; xx < 11; ++xx) {
                    const double d = std::hypot(xx - 10.0, y - 10.0);
                    if (std::abs(d - 11) < 0.55) {
                        win.Set(xx, y, st.border);
                        win.Set(W - 1 - xx, y, st.border);
                    }
                }
            }
        }
    }

    // Menu bar.
    const int my = lh;
    const int mh = 22;
    if (std::string(st.group) == "MacOS") {
        const Canvas& bar = im["MACOS_MENU_BAR"];
        Stretch(win, R(3, my, W - 3, my + mh), bar, QRect(0, 0, 1, bar.Height()), false);
        const Canvas& sel = im["MACOS_MENU_SELECT"];
        Stretch(win, R(40, my, 80, my + mh), sel, QRect(0, 0, 1, sel.Height()), false);
    } else {
        win.Fill(R(3, my, W - 3, my + mh), st.form);
        win.Fill(R(40, my, 78, my + mh), st.menuSelBack);
        win.Frame(R(40, my, 78, my + mh), st.menuSelBorder);
    }
    Text(win, 10, my + 5, QStringLiteral("File"), kBlack);
    Text(win, 46, my + 5, QStringLiteral("View"), st.menuSelFont);
    Text(win, 88, my + 5, QStringLiteral("Help"), kBlack);

    // Push buttons: normal, over, pressed, disabled; 80 x 27 and a tall one.
    const Canvas& button = im[p + "BUTTON"];
    const char* labels[] = {"&Refresh", "Over", "Pressed", "Disabled"};
    for (int i = 0; i < 4; ++i) {
        const int bx = 14 + i * 88;
        const int by = my + mh + 12;
        SpitDraw(win, bx, by, 80, 27, Slice(button, 3, i == 3 ? 1 : i + 1), st.buttonKeyed);
        const QString s = QString::fromLatin1(labels[i]).remove('&');
        if (i == 3) {
            Text(win, bx + 17, by + 8, s, kWhite);
        }
        Text(win, bx + 16 + (i == 2 ? 1 : 0), by + 7 + (i == 2 ? 1 : 0), s,
             i == 3 ? Grey(128) : kBlack);
    }
    SpitDraw(win, 366, my + mh + 8, 76, 40, Slice(button, 3, 1), st.buttonKeyed);
    SpitDraw(win, 366, my + mh + 52, 24, 12, Slice(button, 3, 2), st.buttonKeyed);

    // Check boxes and radio buttons: the four states.
    const Canvas& check = im[p + "CHECKBOX"];
    const Canvas& radio = im[p + "RADIOBUTTON"];
    const char* marks[] = {"On", "Off", "On", "Off"};
    for (int i = 0; i < 4; ++i) {
        const int cx = 14 + i * 70;
        const int cy = my + mh + 52;
        const Canvas c = Slice(check, 4, i + 1);
        Blit(win, cx, cy + (17 - c.Height()) / 2, c, false);
        Text(win, cx + c.Width() + 4, cy + 2, QString::fromLatin1(marks[i]),
             i >= 2 ? Grey(128) : kBlack);
        const Canvas r = Slice(radio, 4, i + 1);
        Blit(win, cx, cy + 22 + (17 - r.Height()) / 2, r, true);
        Text(win, cx + r.Width() + 4, cy + 24, QString::fromLatin1(marks[i]),
             i >= 2 ? Grey(128) : kBlack);
    }

    // Progress bar (60 %), track bar, scroll bars.
    const int py = my + mh + 100;
    const QRect pr(14, py, 150, 12);
    win.Fill(pr, st.form);
    const Canvas& prog = im[p + "PROGRESSBAR"];
    Stretch(win, R(15, py + 1, 15 + 89, py + 11), prog, QRect(0, 0, prog.Width(), prog.Height()),
            false);
    win.Frame(pr, st.controlBorder);

    const Canvas& bar = im[p + "TRACKBAR_BAR"];
    const Canvas& slider = im[p + "TRACKBAR_SLIDER"];
    const int ty = py + 22;
    SpitDrawH(win, QRect(14, ty + (slider.Height() - bar.Height()) / 2, 150, bar.Height()), bar);
    Blit(win, 14 + 60, ty, slider, true);
    for (int t = 0; t <= 10; ++t) {
        win.VLine(14 + slider.Width() / 2 + t * (150 - slider.Width()) / 10,
                  ty + slider.Height() + 1, ty + slider.Height() + 3, Grey(96));
    }
    const Canvas& vslider = im[p + "TRACKBAR_SLIDER_V"];
    Canvas vbar = RotateCCW([&] {
        Canvas g(100, bar.Height(), st.form);
        SpitDrawH(g, QRect(0, 0, 100, bar.Height()), bar);
        return g;
    }());
    Blit(win, 190 + (vslider.Width() - vbar.Width()) / 2, py, vbar, false);
    Blit(win, 190, py + 40, vslider, false);

    // Vertical scroll bar with a thumb; horizontal one below.
    const Canvas& arrows = im[p + "SCROLLBAR_BUTTON"];
    const Canvas& thumb = im[p + "SCROLLBAR_TRACK"];
    const int sw = arrows.Width() / 6;
    const int sh = arrows.Height();
    const int sx = 236;
    const int len = 150;
    win.Fill(QRect(sx, py, sw, len), st.scrollBack);
    Blit(win, sx, py, Slice(arrows, 6, 1), true);
    Blit(win, sx, py + len - sh, Slice(arrows, 6, 5), true);
    {
        const Canvas a = RotateCW(Slice(thumb, 3, 1));
        const Canvas m = RotateCW(Slice(thumb, 3, 2));
        const Canvas e = RotateCW(Slice(thumb, 3, 3));
        const int top = py + sh + 20;
        const int tl = 50;
        Blit(win, sx, top, a, false);
        Stretch(win, QRect(sx, top + a.Height(), m.Width(), tl - a.Height() - e.Height()), m,
                QRect(0, 0, m.Width(), m.Height()), false);
        Blit(win, sx, top + tl - e.Height(), e, false);
    }
    const int hx = 260;
    const int hy = py;
    win.Fill(QRect(hx, hy, 180, sw), st.scrollBack);
    Blit(win, hx, hy, RotateCCW(Slice(arrows, 6, 2)), true);
    Blit(win, hx + 180 - sh, hy, RotateCCW(Slice(arrows, 6, 6)), true);
    {
        const Canvas a = Slice(thumb, 3, 1);
        const Canvas m = Slice(thumb, 3, 2);
        const Canvas e = Slice(thumb, 3, 3);
        const int left0 = hx + sh + 30;
        const int tl = 60;
        Blit(win, left0, hy, a, false);
        Stretch(win, QRect(left0 + a.Width(), hy, tl - a.Width() - e.Width(), m.Height()), m,
                QRect(0, 0, m.Width(), m.Height()), false);
        Blit(win, left0 + tl - e.Width(), hy, e, false);
    }

    // A captioned panel with its collapse button.
    const Canvas& side = im[p + "SIDECHENNEL_BAR"];
    const QRect panel(260, py + 30, 180, 60);
    win.Fill(panel, kWhite);
    win.Frame(panel, st.controlBorder);
    Stretch(win, R(panel.left() + 1, panel.top(), panel.right(), panel.top() + side.Height()), side,
            QRect(0, 0, 1, side.Height()), false);
    Text(win, panel.left() + 10, panel.top() + (side.Height() - 13) / 2,
         QStringLiteral("Duplicates"),
         std::string(st.group) == "MacOS" || std::string(st.group) == "WinXP" ? kBlack : kWhite);
    const Canvas& pb = im["PANEL_BUTTON"];
    const int hitTop = (side.Height() - 12) / 2;
    Blit(win, panel.left() + panel.width() - 13 - 4, (hitTop + 12 - 12) / 2 + 2 + panel.top(),
         Slice(pb, 4, 1), false);

    // Tabs over a tab line.
    const Canvas& tab = im[p + "TAB"];
    const Canvas& line = im[p + "TAB_LINE"];
    const int tabY = py + 100;
    Stretch(win, QRect(14, tabY + tab.Height(), 200, line.Height()), line,
            QRect(0, 0, line.Width(), line.Height()), false);
    SpitDraw(win, 14, tabY + 2, 60, tab.Height() - 2 + 1, Slice(tab, 2, 1), false);
    SpitDraw(win, 76, tabY, 60, tab.Height() + 1, Slice(tab, 2, 2), false);
    Text(win, 26, tabY + 4, QStringLiteral("General"), kBlack);
    Text(win, 88, tabY + 3, QStringLiteral("Options"), kBlack);
    const Canvas& handle = im[p + "SIDECHENNEL_HANDLE"];
    Blit(win, 440, py + 20, handle, false);
    return win;
}

// A drop-down menu of the style.
Canvas MockMenu(const StyleValues& st, const Images& im) {
    const bool mac = std::string(st.group) == "MacOS";
    const int w = 170;
    const int item = mac ? 20 : 21;
    const int sep = mac ? 12 : 5;
    const int h = item * 4 + sep + 2;
    Canvas c(w, h, st.menuBack);
    int y = 1;
    const char* captions[] = {"Duplicate Records", "All Records", "-", "Refresh", "Exit"};
    for (int i = 0; i < 5; ++i) {
        const bool isSep = captions[i][0] == '-';
        const int ih = isSep ? sep : item;
        const QRect r(1, y, w - 2, ih);
        const bool selected = i == 3;
        if (mac) {
            const Canvas& bar = im[selected ? "MACOS_MENU_SELECT" : "MACOS_MENU_BAR"];
            Stretch(c, r, bar, QRect(0, 0, 1, isSep ? 12 : 20), false);
        } else if (selected) {
            c.Fill(r, st.menuSelBack);
            c.Frame(r, st.menuSelBorder);
        } else {
            c.Fill(QRect(r.left(), r.top(), 26, ih), st.menuBar);
            c.Fill(QRect(r.left() + 26, r.top(), r.width() - 26, ih), st.menuBack);
            if (isSep) {
                c.HLine(r.left() + 30, r.right() - 2, r.top() + 2, Hex(0x848284));
            }
        }
        if (!isSep) {
            Text(c, r.left() + 30, r.top() + 4, QString::fromLatin1(captions[i]),
                 selected ? st.menuSelFont : kBlack);
            if (i == 0) {
                Blit(c, r.left() + 4, r.top() + 3, im["MENU_CHECKED"], false);
            }
        }
        y += ih;
    }
    c.Frame(QRect(0, 0, w, h), Grey(96));
    return c;
}

Canvas Enlarge(const Canvas& c, int k) {
    Canvas out(c.Width() * k, c.Height() * k);
    for (int y = 0; y < out.Height(); ++y) {
        for (int x = 0; x < out.Width(); ++x) {
            out.Set(x, y, c.Get(x / k, y / k));
        }
    }
    return out;
}

Canvas Sheet(const std::string& group, const Catalogue& cat, const Images& im) {
    const int width = 1400;
    const Rgb back = Grey(200);
    struct Cell {
        const Bitmap* b;
        int w, h;
    };
    std::vector<Cell> cells;
    for (const Bitmap& b : cat.All()) {
        if (b.group != group) {
            continue;
        }
        const int gaps = b.states > 1 ? (b.states - 1) * 4 : 0;
        cells.push_back(
            {&b, std::min(width - 20, b.image.Width() * 2 + gaps), b.image.Height() * 2 + 18});
    }
    // Flow layout.
    int x = 10, y = 10, rowH = 0;
    std::vector<QPoint> at;
    for (const Cell& c : cells) {
        const int cw = std::max(c.w, int(c.b->name.size()) * 7 + 60);
        if (x + cw > width - 10) {
            x = 10;
            y += rowH + 12;
            rowH = 0;
        }
        at.emplace_back(x, y);
        x += cw + 16;
        rowH = std::max(rowH, c.h);
    }
    int height = y + rowH + 20;
    const StyleValues* st = nullptr;
    for (const StyleValues& s : kStyles) {
        if (group == s.group) {
            st = &s;
        }
    }
    if (st != nullptr) {
        height += 360 + 80;
    }
    if (group == "Shared") {
        height += 150;
    }
    Canvas sheet(width, height, back);
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Bitmap& b = *cells[i].b;
        const QPoint p = at[i];
        Text(sheet, p.x(), p.y(),
             QString::fromStdString(b.name) +
                 QStringLiteral(" %1x%2").arg(b.image.Width()).arg(b.image.Height()),
             kBlack);
        const Canvas big = Enlarge(b.image, 2);
        const int sw = big.Width() / b.states;
        for (int s = 0; s < b.states; ++s) {
            Canvas part = big.Part(QRect(s * sw, 0, sw, big.Height()));
            if (p.x() + s * (sw + 4) + sw <= width) {
                sheet.Put(p.x() + s * (sw + 4), p.y() + 16, part);
            }
        }
    }
    if (group == "Shared") {
        int ix = 10;
        const int top = y + rowH + 20;
        Text(sheet, ix, top, QStringLiteral("MAINICON 32x32 and 16x16, at 4x and 1x"), kBlack);
        for (const IconImage& icon : ProgramIcon()) {
            for (Rgb bg : {Grey(231), Hex(0x3A6E8C)}) {
                sheet.Put(ix, top + 16, Enlarge(IconPreview(icon, bg), 4));
                sheet.Put(ix + icon.size * 4 + 6, top + 16, IconPreview(icon, bg));
                ix += icon.size * 5 + 20;
            }
        }
    }
    if (st != nullptr) {
        const int top = y + rowH + 20;
        sheet.Put(10, top, MockWindow(*st, im));
        sheet.Put(490, top, MockMenu(*st, im));
        sheet.Put(690, top,
                  Enlarge(MockWindow(*st, im).Part(QRect(0, 0, 230, 110)), 3)
                      .Part(QRect(0, 0, 700, 330)));
        // The title bar at the main window's width, with its caption.
        sheet.Put(10, top + 345,
                  MockWindow(*st, im, 794, "Quenby for WAB - Clean Outlook Express Address Book")
                      .Part(QRect(0, 0, 794, 60)));
    }
    return sheet;
}

} // namespace

bool WriteSheets(const Catalogue& cat, const QString& dir) {
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "artgen: cannot create %s\n", qPrintable(dir));
        return false;
    }
    const Images im(cat);
    bool ok = true;
    std::vector<std::string> groups;
    for (const Bitmap& b : cat.All()) {
        if (std::find(groups.begin(), groups.end(), b.group) == groups.end()) {
            groups.push_back(b.group);
        }
    }
    for (const std::string& g : groups) {
        const QString path = dir + "/" + QString::fromStdString(g) + ".png";
        if (!Sheet(g, cat, im).Image().save(path, "PNG")) {
            std::fprintf(stderr, "artgen: cannot write %s\n", qPrintable(path));
            ok = false;
        }
    }
    return ok;
}

} // namespace art
