#include "platform/toolkit/Graphics.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QHash>
#include <QPaintDevice>
#include <QPainter>
#include <QRawFont>
#include <QtEndian>
#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <numbers>
#include <utility>

#include "platform/toolkit/Bitmaps.h"
#include "platform/toolkit/Regions.h"

namespace tk {

// ---- Colours -------------------------------------------------------------------

namespace {

// Classic (Windows 2000) scheme, indexed by COLOR_*.
constexpr std::array<TColor, 31> kSysColors = {
    RGBColor(212, 208, 200), // SCROLLBAR
    RGBColor(58, 110, 165),  // BACKGROUND
    RGBColor(10, 36, 106),   // ACTIVECAPTION
    RGBColor(128, 128, 128), // INACTIVECAPTION
    RGBColor(212, 208, 200), // MENU
    RGBColor(255, 255, 255), // WINDOW
    RGBColor(0, 0, 0),       // WINDOWFRAME
    RGBColor(0, 0, 0),       // MENUTEXT
    RGBColor(0, 0, 0),       // WINDOWTEXT
    RGBColor(255, 255, 255), // CAPTIONTEXT
    RGBColor(212, 208, 200), // ACTIVEBORDER
    RGBColor(212, 208, 200), // INACTIVEBORDER
    RGBColor(128, 128, 128), // APPWORKSPACE
    RGBColor(10, 36, 106),   // HIGHLIGHT
    RGBColor(255, 255, 255), // HIGHLIGHTTEXT
    RGBColor(212, 208, 200), // BTNFACE
    RGBColor(128, 128, 128), // BTNSHADOW
    RGBColor(128, 128, 128), // GRAYTEXT
    RGBColor(0, 0, 0),       // BTNTEXT
    RGBColor(212, 208, 200), // INACTIVECAPTIONTEXT
    RGBColor(255, 255, 255), // BTNHIGHLIGHT
    RGBColor(64, 64, 64),    // 3DDKSHADOW
    RGBColor(212, 208, 200), // 3DLIGHT
    RGBColor(0, 0, 0),       // INFOTEXT
    RGBColor(255, 255, 225), // INFOBK
    RGBColor(181, 181, 181), // 25, unnamed
    RGBColor(0, 0, 128),     // HOTLIGHT
    RGBColor(166, 202, 240), // GRADIENTACTIVECAPTION
    RGBColor(192, 192, 192), // GRADIENTINACTIVECAPTION
    RGBColor(10, 36, 106),   // MENUHILIGHT
    RGBColor(212, 208, 200), // MENUBAR
};

struct ColorName {
    TColor value;
    const char* name;
};

constexpr ColorName kColorNames[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clNone, "clNone"},
    {clDefault, "clDefault"},
    {clScrollBar, "clScrollBar"},
    {clBackground, "clBackground"},
    {clActiveCaption, "clActiveCaption"},
    {clInactiveCaption, "clInactiveCaption"},
    {clMenu, "clMenu"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clMenuText, "clMenuText"},
    {clWindowText, "clWindowText"},
    {clCaptionText, "clCaptionText"},
    {clActiveBorder, "clActiveBorder"},
    {clInactiveBorder, "clInactiveBorder"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clBtnFace, "clBtnFace"},
    {clBtnShadow, "clBtnShadow"},
    {clGrayText, "clGrayText"},
    {clBtnText, "clBtnText"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clBtnHighlight, "clBtnHighlight"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clInfoText, "clInfoText"},
    {clInfoBk, "clInfoBk"},
    {clHotLight, "clHotLight"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuBar, "clMenuBar"},
};

} // namespace

TColor GetSysColor(int index) {
    if (index < 0 || index >= static_cast<int>(kSysColors.size())) {
        return clBlack;
    }
    return kSysColors[static_cast<std::size_t>(index)];
}

TColor ColorToRGB(TColor color) {
    if ((color & clSystemColor) != 0) {
        return GetSysColor(static_cast<int>(color & 0xFF));
    }
    return color & 0xFFFFFF;
}

QColor ToQColor(TColor color) {
    const TColor c = ColorToRGB(color);
    return QColor(GetRValue(c), GetGValue(c), GetBValue(c));
}

TColor FromQColor(const QColor& color) {
    const QColor rgb = color.toRgb();
    return RGBColor(rgb.red(), rgb.green(), rgb.blue());
}

bool IdentToColor(const QString& ident, TColor& color) {
    for (const auto& entry : kColorNames) {
        if (ident.compare(QLatin1String(entry.name), Qt::CaseInsensitive) == 0) {
            color = entry.value;
            return true;
        }
    }
    return false;
}

QString ColorToString(TColor color) {
    for (const auto& entry : kColorNames) {
        if (entry.value == color) {
            return QString::fromLatin1(entry.name);
        }
    }
    return QStringLiteral("$%1").arg(color, 8, 16, QLatin1Char('0')).toUpper();
}

bool StringToColor(const QString& text, TColor& color) {
    const QString s = text.trimmed();
    if (IdentToColor(s, color)) {
        return true;
    }
    bool ok = false;
    qlonglong value = 0;
    if (s.startsWith(QLatin1Char('$'))) {
        value = s.mid(1).toLongLong(&ok, 16);
    } else if (s.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
        value = s.mid(2).toLongLong(&ok, 16);
    } else {
        value = s.toLongLong(&ok, 10);
    }
    // Form files store system colours as negative 32-bit numbers.
    if (!ok || value < INT32_MIN || value > static_cast<qlonglong>(UINT32_MAX)) {
        return false;
    }
    color = static_cast<TColor>(static_cast<std::uint32_t>(value));
    return true;
}

int MulDiv(int a, int b, int c) {
    if (c == 0) {
        return -1;
    }
    const long long n = static_cast<long long>(a) * b;
    const long long half = std::llabs(static_cast<long long>(c)) / 2;
    const bool negative = (n < 0) != (c < 0);
    long long q = (std::llabs(n) + half) / std::llabs(static_cast<long long>(c));
    if (negative) {
        q = -q;
    }
    if (q > INT32_MAX || q < INT32_MIN) {
        return -1;
    }
    return static_cast<int>(q);
}

// ---- Font ----------------------------------------------------------------------

TFont::TFont(QObject* parent)
    : QObject(parent), m_name(QStringLiteral("MS Sans Serif")), m_height(-11), m_color(clBlack),
      m_charset(DEFAULT_CHARSET), m_pitch(fpDefault) {}

TFont::~TFont() = default;

void TFont::Changed() {
    if (OnChange) {
        OnChange();
    }
}

void TFont::SetName(const QString& name) {
    if (name.isEmpty() || name == m_name) {
        return;
    }
    m_name = name;
    Changed();
}

void TFont::SetHeight(int height) {
    if (height == m_height) {
        return;
    }
    m_height = height;
    Changed();
}

int TFont::Size() const {
    return -MulDiv(m_height, 72, PixelsPerInch);
}

void TFont::SetSize(int points) {
    SetHeight(-MulDiv(points, PixelsPerInch, 72));
}

void TFont::SetColor(TColor color) {
    if (color == m_color) {
        return;
    }
    m_color = color;
    Changed();
}

void TFont::SetStyle(TFontStyles style) {
    if (style == m_style) {
        return;
    }
    m_style = style;
    Changed();
}

void TFont::SetCharset(int charset) {
    if (charset == m_charset) {
        return;
    }
    m_charset = charset;
    Changed();
}

void TFont::SetPitch(TFontPitch pitch) {
    if (pitch == m_pitch) {
        return;
    }
    m_pitch = pitch;
    Changed();
}

bool TFont::operator==(const TFont& other) const {
    return m_name == other.m_name && m_height == other.m_height && m_color == other.m_color &&
           m_style == other.m_style && m_charset == other.m_charset && m_pitch == other.m_pitch;
}

void TFont::Assign(const TFont& other) {
    if (&other == this || *this == other) {
        return;
    }
    m_name = other.m_name;
    m_height = other.m_height;
    m_color = other.m_color;
    m_style = other.m_style;
    m_charset = other.m_charset;
    m_pitch = other.m_pitch;
    Changed();
}

void TFont::AssignLogFont(const LOGFONTA& lf) {
    const auto len = static_cast<qsizetype>(strnlen(lf.lfFaceName, LF_FACESIZE));
    const QString name = QString::fromLatin1(lf.lfFaceName, len);
    TFontStyles style;
    if (lf.lfWeight >= 600) {
        style |= fsBold;
    }
    if (lf.lfItalic != 0) {
        style |= fsItalic;
    }
    if (lf.lfUnderline != 0) {
        style |= fsUnderline;
    }
    if (lf.lfStrikeOut != 0) {
        style |= fsStrikeOut;
    }
    const int pitchBits = lf.lfPitchAndFamily & 0x3;
    const TFontPitch pitch = pitchBits == 1 ? fpFixed : pitchBits == 2 ? fpVariable : fpDefault;
    const bool changed = (!name.isEmpty() && name != m_name) || lf.lfHeight != m_height ||
                         style != m_style || lf.lfCharSet != m_charset || pitch != m_pitch;
    if (!name.isEmpty()) {
        m_name = name;
    }
    m_height = lf.lfHeight;
    m_style = style;
    m_charset = lf.lfCharSet;
    m_pitch = pitch;
    if (changed) {
        Changed();
    }
}

std::unique_ptr<TFont> TFont::FromLogFont(const LOGFONTA& lf) {
    auto font = std::make_unique<TFont>();
    font->AssignLogFont(lf);
    return font;
}

LOGFONTA TFont::ToLogFont() const {
    LOGFONTA lf{};
    lf.lfHeight = m_height;
    lf.lfWeight = m_style.testFlag(fsBold) ? FW_BOLD : FW_NORMAL;
    lf.lfItalic = m_style.testFlag(fsItalic) ? 1 : 0;
    lf.lfUnderline = m_style.testFlag(fsUnderline) ? 1 : 0;
    lf.lfStrikeOut = m_style.testFlag(fsStrikeOut) ? 1 : 0;
    lf.lfCharSet = static_cast<BYTE>(m_charset);
    lf.lfPitchAndFamily = m_pitch == fpFixed ? 1 : m_pitch == fpVariable ? 2 : 0;
    const QByteArray name = m_name.toLatin1().left(LF_FACESIZE - 1);
    std::memcpy(lf.lfFaceName, name.constData(), static_cast<std::size_t>(name.size()));
    return lf;
}

namespace {

QFont BaseQFont(const QString& name, TFont::TFontStyles style, TFont::TFontPitch pitch) {
    QFont f(name);
    f.setBold(style.testFlag(TFont::fsBold));
    f.setItalic(style.testFlag(TFont::fsItalic));
    f.setUnderline(style.testFlag(TFont::fsUnderline));
    f.setStrikeOut(style.testFlag(TFont::fsStrikeOut));
    // Glyph advances must not depend on hinting or pair kerning: text widths
    // decide layouts and have to come out the same on every machine.
    f.setKerning(false);
    f.setHintingPreference(QFont::PreferNoHinting);
    f.setStyleStrategy(QFont::NoSubpixelAntialias);
    if (pitch == TFont::fpFixed) {
        f.setFixedPitch(true);
        f.setStyleHint(QFont::TypeWriter);
    }
    return f;
}

// Ascent and descent per pixel of em from the face's Windows metrics (OS/2
// usWinAscent/usWinDescent), which is what GDI's cell height is made of; Qt's
// own are often a few pixels shorter. Bitmap faces keep Qt's strike metrics.
struct FaceMetrics {
    bool windows = false;
    double ascent = 0;
    double descent = 0;
};

const FaceMetrics& Face(const QFont& font) {
    // UI thread only, like all drawing.
    static QHash<QString, FaceMetrics> cache;
    const QString key = font.family() + QLatin1Char('/') + QString::number(font.bold()) +
                        QString::number(font.italic());
    auto it = cache.find(key);
    if (it != cache.end()) {
        return *it;
    }
    FaceMetrics m;
    QFont probe = font;
    probe.setPixelSize(100);
    const QRawFont raw = QRawFont::fromFont(probe);
    if (raw.isValid() && QFontDatabase::isScalable(raw.familyName(), raw.styleName())) {
        const QByteArray os2 = raw.fontTable("OS/2");
        const QByteArray head = raw.fontTable("head");
        if (os2.size() >= 78 && head.size() >= 20) {
            const auto u16 = [](const QByteArray& a, int at) {
                return qFromBigEndian<quint16>(a.constData() + at);
            };
            const double upem = u16(head, 18);
            const double ascent = u16(os2, 74);
            const double descent = u16(os2, 76);
            if (upem > 0 && ascent + descent > 0) {
                m = {true, ascent / upem, descent / upem};
            }
        }
    }
    return *cache.insert(key, m);
}

} // namespace

TTextMetrics FontMetrics(const QFont& font) {
    TTextMetrics tm;
    if (QGuiApplication::instance() == nullptr) {
        tm.Ascent = font.pixelSize() > 0 ? font.pixelSize() : 11;
        tm.Height = tm.Ascent;
        return tm;
    }
    const FaceMetrics& face = Face(font);
    const int px = font.pixelSize();
    if (face.windows && px > 0) {
        tm.Ascent = static_cast<int>(std::lround(face.ascent * px));
        tm.Descent = static_cast<int>(std::lround(face.descent * px));
    } else {
        const QFontMetrics fm(font);
        tm.Ascent = fm.ascent();
        tm.Descent = fm.descent();
    }
    tm.Height = tm.Ascent + tm.Descent;
    tm.InternalLeading = std::max(0, tm.Height - px);
    return tm;
}

int TFont::PixelSize() const {
    if (m_height < 0) {
        return -m_height;
    }
    if (m_height == 0) {
        return 11;
    }
    // A cell height includes the internal leading: scale by the face's
    // cell per em.
    double ratio = 0.83;
    if (QGuiApplication::instance() != nullptr) {
        QFont probe = BaseQFont(m_name, m_style, m_pitch);
        probe.setPixelSize(100);
        const TTextMetrics tm = FontMetrics(probe);
        if (tm.Height > 0) {
            ratio = 100.0 / tm.Height;
        }
    }
    return std::clamp(static_cast<int>(std::lround(m_height * ratio)), 1, m_height);
}

QFont TFont::ToQFont() const {
    QFont f = BaseQFont(m_name, m_style, m_pitch);
    f.setPixelSize(PixelSize());
    return f;
}

// ---- Pen -----------------------------------------------------------------------

TPen::TPen(QObject* parent) : QObject(parent) {}
TPen::~TPen() = default;

void TPen::Changed() {
    if (OnChange) {
        OnChange();
    }
}

void TPen::SetColor(TColor color) {
    if (color == m_color) {
        return;
    }
    m_color = color;
    Changed();
}

void TPen::SetWidth(int width) {
    width = std::max(1, width);
    if (width == m_width) {
        return;
    }
    m_width = width;
    Changed();
}

void TPen::SetStyle(TPenStyle style) {
    if (style == m_style) {
        return;
    }
    m_style = style;
    Changed();
}

void TPen::SetMode(TPenMode mode) {
    if (mode == m_mode) {
        return;
    }
    m_mode = mode;
    Changed();
}

void TPen::Assign(const TPen& other) {
    if (&other == this || (m_color == other.m_color && m_width == other.m_width &&
                           m_style == other.m_style && m_mode == other.m_mode)) {
        return;
    }
    m_color = other.m_color;
    m_width = other.m_width;
    m_style = other.m_style;
    m_mode = other.m_mode;
    Changed();
}

// ---- Brush ---------------------------------------------------------------------

TBrush::TBrush(QObject* parent) : QObject(parent) {}
TBrush::~TBrush() = default;

void TBrush::Changed() {
    if (OnChange) {
        OnChange();
    }
}

void TBrush::SetColor(TColor color) {
    if (color == m_color && m_style != bsClear) {
        return;
    }
    m_color = color;
    if (m_style == bsClear) {
        m_style = bsSolid;
    }
    Changed();
}

void TBrush::SetStyle(TBrushStyle style) {
    if (style == m_style) {
        return;
    }
    m_style = style;
    Changed();
}

void TBrush::SetBitmap(const TBitmap* bitmap) {
    SetPattern(bitmap != nullptr && !bitmap->Empty() ? bitmap->Image() : QImage());
}

void TBrush::SetPattern(const QImage& pattern) {
    if (pattern.isNull() && m_pattern.isNull()) {
        return;
    }
    // A deep copy: the source may be painted on later.
    m_pattern = pattern.isNull() ? QImage() : pattern.convertToFormat(QImage::Format_RGB32);
    Changed();
}

void TBrush::Assign(const TBrush& other) {
    if (&other == this) {
        return;
    }
    m_color = other.m_color;
    m_style = other.m_style;
    m_pattern = other.m_pattern;
    Changed();
}

// ---- Canvas helpers --------------------------------------------------------------

namespace {

// Dash patterns of one-pixel pens, in pixels on/off, as GDI draws them.
const std::vector<int>& DashPattern(TPenStyle style) {
    static const std::vector<int> none;
    static const std::vector<int> dash = {18, 6};
    static const std::vector<int> dot = {3, 3};
    static const std::vector<int> dashDot = {9, 6, 3, 6};
    static const std::vector<int> dashDotDot = {9, 3, 3, 3, 3, 3};
    switch (style) {
    case psDash:
        return dash;
    case psDot:
        return dot;
    case psDashDot:
        return dashDot;
    case psDashDotDot:
        return dashDotDot;
    default:
        return none;
    }
}

// Pixels of r whose four neighbours are all in r, applied n times.
QRegion Erode(QRegion r, int n) {
    for (int i = 0; i < n && !r.isEmpty(); ++i) {
        r = r.intersected(r.translated(1, 0))
                .intersected(r.translated(-1, 0))
                .intersected(r.translated(0, 1))
                .intersected(r.translated(0, -1));
    }
    return r;
}

QRegion ErodeXY(QRegion r, int nx, int ny) {
    for (int i = 0; i < nx && !r.isEmpty(); ++i) {
        r = r.intersected(r.translated(1, 0)).intersected(r.translated(-1, 0));
    }
    for (int i = 0; i < ny && !r.isEmpty(); ++i) {
        r = r.intersected(r.translated(0, 1)).intersected(r.translated(0, -1));
    }
    return r;
}

bool PenDraws(const TPen& pen) {
    return pen.Style() != psClear && pen.Mode() != pmNop;
}

QColor PenColor(const TPen& pen) {
    switch (pen.Mode()) {
    case pmBlack:
        return QColor(0, 0, 0);
    case pmWhite:
        return QColor(255, 255, 255);
    default:
        return ToQColor(pen.Color());
    }
}

QPainter::CompositionMode PenComposition(const TPen& pen) {
    switch (pen.Mode()) {
    case pmXor:
        return QPainter::RasterOp_SourceXorDestination;
    case pmNot:
        return QPainter::RasterOp_NotDestination;
    default:
        return QPainter::CompositionMode_SourceOver;
    }
}

QBrush MakeBrush(const TBrush& brush) {
    if (brush.HasBitmap()) {
        return QBrush(brush.Pattern());
    }
    const QColor c = ToQColor(brush.Color());
    switch (brush.Style()) {
    case bsClear:
        return QBrush(Qt::NoBrush);
    case bsHorizontal:
        return QBrush(c, Qt::HorPattern);
    case bsVertical:
        return QBrush(c, Qt::VerPattern);
    case bsFDiagonal:
        return QBrush(c, Qt::FDiagPattern);
    case bsBDiagonal:
        return QBrush(c, Qt::BDiagPattern);
    case bsCross:
        return QBrush(c, Qt::CrossPattern);
    case bsDiagCross:
        return QBrush(c, Qt::DiagCrossPattern);
    default:
        return QBrush(c);
    }
}

bool BrushPaints(const TBrush& brush) {
    return brush.HasBitmap() || brush.Style() != bsClear;
}

// Accelerator prefixes: "&x" marks x, "&&" is a literal '&'. Returns the
// plain text; accel gets the index of the marked character or -1.
QString StripPrefix(const QString& text, int& accel) {
    QString out;
    out.reserve(text.size());
    accel = -1;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c == QLatin1Char('&')) {
            if (i + 1 < text.size()) {
                ++i;
                if (text.at(i) != QLatin1Char('&')) {
                    accel = static_cast<int>(out.size());
                }
                out.append(text.at(i));
            }
            continue;
        }
        out.append(c);
    }
    return out;
}

struct TextLine {
    QString text;
    int start = 0;    // index of the line's first character in the plain text
    int visible = -1; // characters of the text left before an ellipsis; -1: all
};

// Breaks at spaces so that lines fit width; a word wider than the width
// stays whole on its own line.
void WrapLine(const QString& text, int start, int width, const QFontMetrics& fm,
              std::vector<TextLine>& lines) {
    if (fm.horizontalAdvance(text) <= width) {
        lines.push_back({text, start});
        return;
    }
    qsizetype pos = 0;
    const qsizetype n = text.size();
    while (pos < n) {
        qsizetype end = pos;
        qsizetype lastFit = -1;
        while (end < n) {
            qsizetype next = end;
            while (next < n && text.at(next) != QLatin1Char(' ')) {
                ++next;
            }
            if (fm.horizontalAdvance(text.mid(pos, next - pos)) <= width || lastFit < 0) {
                lastFit = next;
                end = next;
                if (fm.horizontalAdvance(text.mid(pos, next - pos)) > width) {
                    break;
                }
                while (end < n && text.at(end) == QLatin1Char(' ')) {
                    ++end;
                }
            } else {
                break;
            }
        }
        if (lastFit <= pos) {
            lastFit = n;
        }
        QString line = text.mid(pos, lastFit - pos);
        lines.push_back({line, start + static_cast<int>(pos)});
        pos = lastFit;
        while (pos < n && text.at(pos) == QLatin1Char(' ')) {
            ++pos;
        }
    }
}

// Cuts the line so that it and "..." fit width.
QString EndEllipsis(const QString& line, int width, const QFontMetrics& fm) {
    if (fm.horizontalAdvance(line) <= width) {
        return line;
    }
    const QString dots = QStringLiteral("...");
    qsizetype keep = line.size();
    while (keep > 0 && fm.horizontalAdvance(line.left(keep) + dots) > width) {
        --keep;
    }
    return line.left(keep) + dots;
}

} // namespace

// ---- Canvas --------------------------------------------------------------------

struct TCanvas::LenderState {
    QTransform transform;
    bool clipping = false;
    QRegion clip;
    QPen pen;
    QBrush brush;
    QFont font;
    QPainter::CompositionMode mode = QPainter::CompositionMode_SourceOver;
    QPainter::RenderHints hints;
};

TCanvas::TCanvas() = default;

TCanvas::TCanvas(QPaintDevice* device) : m_device(device) {}

TCanvas::TCanvas(QPainter* painter) {
    Attach(painter);
}

TCanvas::~TCanvas() {
    Detach();
}

void TCanvas::Attach(QPaintDevice* device) {
    Detach();
    m_device = device;
}

void TCanvas::Attach(QPainter* painter) {
    Detach();
    if (painter == nullptr) {
        return;
    }
    m_borrowed = painter;
    if (painter->isActive()) {
        // Kept by hand rather than with save(): the lender may end painting
        // before this canvas lets go, which would leave a save unbalanced.
        m_lender = std::make_unique<LenderState>();
        m_lender->transform = painter->transform();
        m_lender->clipping = painter->hasClipping();
        if (m_lender->clipping) {
            m_lender->clip = painter->clipRegion();
            m_baseClip = m_lender->clip;
        }
        m_lender->pen = painter->pen();
        m_lender->brush = painter->brush();
        m_lender->font = painter->font();
        m_lender->mode = painter->compositionMode();
        m_lender->hints = painter->renderHints();
        m_baseTransform = m_lender->transform;
    }
    m_dirty = true;
}

void TCanvas::Detach() {
    EndPaint();
    if (m_borrowed != nullptr && m_lender && m_borrowed->isActive()) {
        QPainter* p = m_borrowed;
        p->setTransform(QTransform());
        if (m_lender->clipping) {
            p->setTransform(m_lender->transform);
            p->setClipRegion(m_lender->clip);
        } else {
            p->setClipping(false);
        }
        p->setTransform(m_lender->transform);
        p->setPen(m_lender->pen);
        p->setBrush(m_lender->brush);
        p->setFont(m_lender->font);
        p->setCompositionMode(m_lender->mode);
        p->setRenderHints(p->renderHints(), false);
        p->setRenderHints(m_lender->hints, true);
    }
    m_lender.reset();
    m_borrowed = nullptr;
    m_device = nullptr;
    m_baseTransform = QTransform();
    m_baseClip.reset();
    m_origin = {};
    m_clip.reset();
    m_saved.clear();
    m_dirty = true;
}

bool TCanvas::Attached() const {
    return m_device != nullptr || m_borrowed != nullptr;
}

void TCanvas::EndPaint() {
    // The painter object stays: a canvas borrowing it then sees an inactive
    // painter and draws nothing, instead of holding a dangling pointer.
    if (m_ownPainter && m_ownPainter->isActive()) {
        m_ownPainter->end();
    }
    m_dirty = true;
}

QPainter* TCanvas::Active() {
    QPainter* p = m_borrowed;
    if (p != nullptr) {
        if (!p->isActive()) {
            return nullptr;
        }
    } else {
        if (m_device == nullptr) {
            return nullptr;
        }
        if (!m_ownPainter || !m_ownPainter->isActive()) {
            // A null image or a zero-sized device has nothing to paint on.
            if (m_device->width() <= 0 || m_device->height() <= 0) {
                return nullptr;
            }
            if (!m_ownPainter) {
                m_ownPainter = std::make_unique<QPainter>();
            }
            if (!m_ownPainter->begin(m_device)) {
                return nullptr;
            }
            m_dirty = true;
        }
        p = m_ownPainter.get();
    }
    if (m_dirty) {
        ApplyState(p);
    }
    return p;
}

void TCanvas::ApplyState(QPainter* p) {
    p->setTransform(m_baseTransform);
    std::optional<QRegion> clip = m_clip;
    if (m_baseClip) {
        clip = clip ? clip->intersected(*m_baseClip) : *m_baseClip;
    }
    if (clip) {
        p->setClipRegion(*clip);
    } else {
        p->setClipping(false);
    }
    p->setTransform(QTransform::fromTranslate(m_origin.x, m_origin.y) * m_baseTransform);
    p->setRenderHint(QPainter::Antialiasing, false);
    p->setRenderHint(QPainter::SmoothPixmapTransform, false);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    m_dirty = false;
}

void TCanvas::Changed() {
    if (OnChange) {
        OnChange();
    }
}

QPainter* TCanvas::Painter() {
    QPainter* p = Active();
    if (p != nullptr) {
        Changed();
    }
    return p;
}

QImage* TCanvas::TargetImage() {
    QPaintDevice* device = m_device;
    if (device == nullptr && m_borrowed != nullptr) {
        device = m_borrowed->device();
    }
    if (device != nullptr && device->devType() == QInternal::Image) {
        return static_cast<QImage*>(device);
    }
    return nullptr;
}

QPoint TCanvas::ToImagePoint(int x, int y) const {
    return m_baseTransform.map(QPoint(x + m_origin.x, y + m_origin.y));
}

QRect TCanvas::DeviceBounds() const {
    if (m_device != nullptr) {
        return QRect(0, 0, m_device->width(), m_device->height());
    }
    if (m_borrowed != nullptr && m_borrowed->device() != nullptr) {
        const QPaintDevice* d = m_borrowed->device();
        const auto inverse = m_baseTransform.inverted();
        return inverse.mapRect(QRect(0, 0, d->width(), d->height()));
    }
    return {};
}

// ---- Lines -------------------------------------------------------------------------

void TCanvas::DrawPenLine(QPainter* p, TPoint from, TPoint to) {
    if (!PenDraws(m_pen) || from == to) {
        return;
    }
    p->setCompositionMode(PenComposition(m_pen));
    if (m_pen.Width() > 1) {
        QPen pen(PenColor(m_pen), m_pen.Width(), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
        p->setPen(pen);
        p->drawLine(from.ToQ(), to.ToQ());
    } else {
        // Bresenham from 'from' up to, not including, 'to'.
        const std::vector<int>& dashes = DashPattern(m_pen.Style());
        QPolygon points;
        int x = from.x;
        int y = from.y;
        const int dx = std::abs(to.x - from.x);
        const int dy = -std::abs(to.y - from.y);
        const int sx = from.x < to.x ? 1 : -1;
        const int sy = from.y < to.y ? 1 : -1;
        int err = dx + dy;
        std::size_t dashIndex = 0;
        int dashLeft = dashes.empty() ? 0 : dashes[0];
        while (x != to.x || y != to.y) {
            if (dashes.empty() || dashIndex % 2 == 0) {
                points.append(QPoint(x, y));
            }
            if (!dashes.empty() && --dashLeft == 0) {
                dashIndex = (dashIndex + 1) % dashes.size();
                dashLeft = dashes[dashIndex];
            }
            const int e2 = 2 * err;
            if (e2 >= dy) {
                err += dy;
                x += sx;
            }
            if (e2 <= dx) {
                err += dx;
                y += sy;
            }
        }
        p->setPen(QPen(PenColor(m_pen), 1));
        p->drawPoints(points);
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::MoveTo(int x, int y) {
    m_penPos = {x, y};
}

void TCanvas::LineTo(int x, int y) {
    if (QPainter* p = Active()) {
        DrawPenLine(p, m_penPos, {x, y});
        Changed();
    }
    m_penPos = {x, y};
}

void TCanvas::Polyline(const std::vector<TPoint>& points) {
    QPainter* p = Active();
    if (p == nullptr || points.size() < 2) {
        return;
    }
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        DrawPenLine(p, points[i], points[i + 1]);
    }
    Changed();
}

void TCanvas::Polygon(const std::vector<TPoint>& points) {
    QPainter* p = Active();
    if (p == nullptr || points.size() < 2) {
        return;
    }
    if (BrushPaints(m_brush) && points.size() >= 3) {
        QPolygon poly;
        for (const TPoint& pt : points) {
            poly.append(pt.ToQ());
        }
        p->setPen(Qt::NoPen);
        p->setBrush(MakeBrush(m_brush));
        p->drawPolygon(poly, Qt::OddEvenFill);
        p->setBrush(Qt::NoBrush);
    }
    for (std::size_t i = 0; i < points.size(); ++i) {
        DrawPenLine(p, points[i], points[(i + 1) % points.size()]);
    }
    Changed();
}

// ---- Areas -------------------------------------------------------------------------

void TCanvas::FillWithBrush(QPainter* p, const QRegion& region) {
    if (!BrushPaints(m_brush) || region.isEmpty()) {
        return;
    }
    const QBrush brush = MakeBrush(m_brush);
    for (const QRect& r : region) {
        p->fillRect(r, brush);
    }
}

void TCanvas::PaintPenPixels(QPainter* p, const QRegion& region) {
    if (!PenDraws(m_pen) || region.isEmpty()) {
        return;
    }
    p->setCompositionMode(PenComposition(m_pen));
    const QColor c = PenColor(m_pen);
    for (const QRect& r : region) {
        p->fillRect(r, c);
    }
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
}

void TCanvas::FillRect(const TRect& r) {
    if (r.IsEmpty()) {
        return;
    }
    if (QPainter* p = Active()) {
        FillWithBrush(p, QRegion(r.ToQ()));
        Changed();
    }
}

void TCanvas::FrameRect(const TRect& r) {
    if (r.IsEmpty()) {
        return;
    }
    if (QPainter* p = Active()) {
        const QRegion outer(r.ToQ());
        FillWithBrush(p, outer.subtracted(Erode(outer, 1)));
        Changed();
    }
}

void TCanvas::Rectangle(int l, int t, int r, int b) {
    if (l > r) {
        std::swap(l, r);
    }
    if (t > b) {
        std::swap(t, b);
    }
    QPainter* p = Active();
    if (p == nullptr || l == r || t == b) {
        return;
    }
    if (!PenDraws(m_pen)) {
        FillWithBrush(p, QRegion(l, t, r - l - 1, b - t - 1));
        Changed();
        return;
    }
    const QRegion outer(l, t, r - l, b - t);
    const QRegion inner = Erode(outer, m_pen.Width());
    FillWithBrush(p, inner);
    if (m_pen.Width() == 1 && m_pen.Style() != psSolid && m_pen.Style() != psInsideFrame) {
        const std::vector<TPoint> corners = {{l, t}, {r - 1, t}, {r - 1, b - 1}, {l, b - 1}};
        for (std::size_t i = 0; i < corners.size(); ++i) {
            DrawPenLine(p, corners[i], corners[(i + 1) % corners.size()]);
        }
    } else {
        PaintPenPixels(p, outer.subtracted(inner));
    }
    Changed();
}

void TCanvas::RoundRect(int l, int t, int r, int b, int w, int h) {
    if (l > r) {
        std::swap(l, r);
    }
    if (t > b) {
        std::swap(t, b);
    }
    QPainter* p = Active();
    if (p == nullptr || l == r || t == b) {
        return;
    }
    if (!PenDraws(m_pen)) {
        // As with Rectangle, a clear pen leaves the last column and row.
        FillWithBrush(p, RoundRectPixels(Rect(l, t, r - 1, b - 1), w, h));
        Changed();
        return;
    }
    const QRegion outer = RoundRectPixels(Rect(l, t, r, b), w, h);
    const QRegion inner = Erode(outer, m_pen.Width());
    FillWithBrush(p, inner);
    PaintPenPixels(p, outer.subtracted(inner));
    Changed();
}

void TCanvas::Ellipse(int l, int t, int r, int b) {
    RoundRect(l, t, r, b, std::abs(r - l), std::abs(b - t));
}

void TCanvas::Arc(int x1, int y1, int x2, int y2, int x3, int y3, int x4, int y4) {
    if (x1 > x2) {
        std::swap(x1, x2);
    }
    if (y1 > y2) {
        std::swap(y1, y2);
    }
    QPainter* p = Active();
    if (p == nullptr || x1 == x2 || y1 == y2 || !PenDraws(m_pen)) {
        return;
    }
    const QRegion outer = RoundRectPixels(Rect(x1, y1, x2, y2), x2 - x1, y2 - y1);
    const QRegion ring = outer.subtracted(Erode(outer, m_pen.Width()));
    const double cx = (x1 + x2) / 2.0;
    const double cy = (y1 + y2) / 2.0;
    // Angles counter-clockwise on screen, so y is flipped.
    const auto angle = [&](double x, double y) { return std::atan2(cy - y, x - cx); };
    constexpr double twoPi = 2 * std::numbers::pi;
    const auto norm = [](double a) {
        a = std::fmod(a, twoPi);
        return a < 0 ? a + twoPi : a;
    };
    const double start = angle(x3, y3);
    double sweep = norm(angle(x4, y4) - start);
    if (sweep == 0) {
        sweep = twoPi; // same radial: the whole ellipse
    }
    // Where a radial meets the ellipse; the ring pixel nearest to it is
    // drawn even when its centre falls just outside the sweep.
    const double a = (x2 - x1) / 2.0;
    const double b = (y2 - y1) / 2.0;
    const auto onEllipse = [&](double x, double y) {
        const double dx = x - cx;
        const double dy = y - cy;
        const double len = std::sqrt((dx * dx) / (a * a) + (dy * dy) / (b * b));
        return len > 0 ? QPointF(cx + dx / len, cy + dy / len) : QPointF(cx + a, cy);
    };
    const QPointF ends[2] = {onEllipse(x3, y3), onEllipse(x4, y4)};
    QPoint nearest[2];
    double best[2] = {1e300, 1e300};
    QRegion arc;
    for (const QRect& r : ring) {
        for (int y = r.top(); y <= r.bottom(); ++y) {
            for (int x = r.left(); x <= r.right(); ++x) {
                if (norm(angle(x + 0.5, y + 0.5) - start) <= sweep) {
                    arc += QRect(x, y, 1, 1);
                }
                for (int i = 0; i < 2; ++i) {
                    const double d = std::hypot(x + 0.5 - ends[i].x(), y + 0.5 - ends[i].y());
                    if (d < best[i]) {
                        best[i] = d;
                        nearest[i] = QPoint(x, y);
                    }
                }
            }
        }
    }
    for (const QPoint& pt : nearest) {
        arc += QRect(pt, QSize(1, 1));
    }
    PaintPenPixels(p, arc);
    Changed();
}

void TCanvas::FillRegion(const TRegion& region) {
    if (QPainter* p = Active()) {
        FillWithBrush(p, region.ToQ());
        Changed();
    }
}

void TCanvas::FrameRegion(const TRegion& region, int w, int h) {
    if (QPainter* p = Active()) {
        const QRegion& r = region.ToQ();
        FillWithBrush(p, r.subtracted(ErodeXY(r, std::max(0, w), std::max(0, h))));
        Changed();
    }
}

// ---- Text --------------------------------------------------------------------------

int TCanvas::TextWidth(const QString& text) const {
    return QFontMetrics(m_font.ToQFont()).horizontalAdvance(text);
}

int TCanvas::TextHeight(const QString& text) const {
    return TextExtent(text).height();
}

QSize TCanvas::TextExtent(const QString& text) const {
    const QFont font = m_font.ToQFont();
    return {QFontMetrics(font).horizontalAdvance(text), FontMetrics(font).Height};
}

TTextMetrics TCanvas::TextMetrics() const {
    return FontMetrics(m_font.ToQFont());
}

void TCanvas::DrawTextLine(QPainter* p, const QFont& font, const QString& line, int x, int y,
                           int accel, bool opaque) {
    const QFontMetrics fm(font);
    const TTextMetrics tm = FontMetrics(font);
    if (opaque && BrushPaints(m_brush)) {
        p->fillRect(QRect(x, y, fm.horizontalAdvance(line), tm.Height), ToQColor(m_brush.Color()));
    }
    const QColor color = ToQColor(m_font.Color());
    p->setFont(font);
    p->setPen(color);
    p->drawText(QPoint(x, y + tm.Ascent), line);
    if (accel >= 0 && accel < line.size()) {
        const int ax = x + fm.horizontalAdvance(line.left(accel));
        const int aw = fm.horizontalAdvance(line.mid(accel, 1));
        const int uy = y + tm.Ascent + std::max(1, fm.underlinePos());
        p->fillRect(QRect(ax, uy, std::max(1, aw), std::max(1, fm.lineWidth())), color);
    }
}

void TCanvas::TextOut(int x, int y, const QString& text) {
    const QFont font = m_font.ToQFont();
    if (QPainter* p = Active()) {
        DrawTextLine(p, font, text, x, y, -1, true);
        Changed();
    }
    m_penPos = {x + QFontMetrics(font).horizontalAdvance(text), y};
}

void TCanvas::TextRect(const TRect& r, int x, int y, const QString& text) {
    QPainter* p = Active();
    if (p == nullptr) {
        return;
    }
    p->save();
    p->setClipRect(r.ToQ(), Qt::IntersectClip);
    if (BrushPaints(m_brush)) {
        p->fillRect(r.ToQ(), ToQColor(m_brush.Color()));
    }
    // The rectangle is filled already; the text itself goes on transparently.
    DrawTextLine(p, m_font.ToQFont(), text, x, y, -1, false);
    p->restore();
    Changed();
}

int TCanvas::DrawText(const QString& text, TRect& r, UINT flags) {
    const QFont font = m_font.ToQFont();
    const QFontMetrics fm(font);
    const int lineHeight = FontMetrics(font).Height;

    int accel = -1;
    QString plain = text;
    if ((flags & DT_NOPREFIX) == 0) {
        plain = StripPrefix(text, accel);
    }
    if ((flags & DT_HIDEPREFIX) != 0) {
        accel = -1;
    }
    if (plain.isEmpty()) {
        if ((flags & DT_CALCRECT) != 0) {
            r.Right = r.Left;
            r.Bottom = r.Top;
        }
        return 0;
    }
    if ((flags & DT_EXPANDTABS) != 0) {
        plain.replace(QLatin1Char('\t'), QString(8, QLatin1Char(' ')));
    }

    std::vector<TextLine> lines;
    if ((flags & DT_SINGLELINE) != 0) {
        QString one = plain;
        one.replace(QLatin1Char('\r'), QLatin1Char(' '))
            .replace(QLatin1Char('\n'), QLatin1Char(' '));
        lines.push_back({one, 0});
    } else {
        int start = 0;
        const QStringList parts = plain.split(QLatin1Char('\n'));
        for (QString part : parts) {
            const int length = static_cast<int>(part.size());
            if (part.endsWith(QLatin1Char('\r'))) {
                part.chop(1);
            }
            if ((flags & DT_WORDBREAK) != 0) {
                WrapLine(part, start, std::max(0, r.Width()), fm, lines);
            } else {
                lines.push_back({part, start});
            }
            start += length + 1;
        }
    }
    if ((flags & DT_END_ELLIPSIS) != 0) {
        for (TextLine& line : lines) {
            const QString cut = EndEllipsis(line.text, r.Width(), fm);
            if (cut != line.text) {
                line.visible = static_cast<int>(cut.size()) - 3;
                line.text = cut;
            }
        }
    }

    const int height = lineHeight * static_cast<int>(lines.size());
    if ((flags & DT_CALCRECT) != 0) {
        int widest = 0;
        for (const TextLine& line : lines) {
            widest = std::max(widest, fm.horizontalAdvance(line.text));
        }
        r.Right = r.Left + widest;
        r.Bottom = r.Top + height;
        return height;
    }

    QPainter* p = Active();
    if (p == nullptr) {
        return height;
    }
    int y = r.Top;
    if ((flags & DT_SINGLELINE) != 0) {
        if ((flags & DT_VCENTER) != 0) {
            y = r.Top + (r.Height() - height) / 2;
        } else if ((flags & DT_BOTTOM) != 0) {
            y = r.Bottom - height;
        }
    }
    p->save();
    if ((flags & DT_NOCLIP) == 0) {
        p->setClipRect(r.ToQ(), Qt::IntersectClip);
    }
    for (const TextLine& line : lines) {
        const int w = fm.horizontalAdvance(line.text);
        int x = r.Left;
        if ((flags & DT_CENTER) != 0) {
            x = r.Left + (r.Width() - w) / 2;
        } else if ((flags & DT_RIGHT) != 0) {
            x = r.Right - w;
        }
        int lineAccel = accel >= 0 ? accel - line.start : -1;
        if (line.visible >= 0 && lineAccel >= line.visible) {
            lineAccel = -1; // the marked letter was cut off
        }
        DrawTextLine(p, font, line.text, x, y, lineAccel, true);
        y += lineHeight;
    }
    p->restore();
    Changed();
    return height;
}

// ---- Images ------------------------------------------------------------------------

void TCanvas::Draw(int x, int y, const TGraphic& graphic) {
    if (graphic.Empty()) {
        return;
    }
    graphic.Draw(*this, Bounds(x, y, graphic.Width(), graphic.Height()));
}

void TCanvas::StretchDraw(const TRect& r, const TGraphic& graphic) {
    if (graphic.Empty() || r.IsEmpty()) {
        return;
    }
    graphic.Draw(*this, r);
}

void TCanvas::DrawImage(const TRect& dest, const QImage& image, const QRect& src, bool keyed) {
    if (image.isNull() || dest.IsEmpty() || src.isEmpty()) {
        return;
    }
    QPainter* p = Active();
    if (p == nullptr) {
        return;
    }
    switch (keyed ? cmSrcCopy : m_copyMode) {
    case cmSrcAnd:
        p->setCompositionMode(QPainter::RasterOp_SourceAndDestination);
        break;
    case cmSrcPaint:
        p->setCompositionMode(QPainter::RasterOp_SourceOrDestination);
        break;
    case cmSrcInvert:
        p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        break;
    case cmDstInvert:
        p->setCompositionMode(QPainter::RasterOp_NotDestination);
        p->fillRect(dest.ToQ(), Qt::black);
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        Changed();
        return;
    case cmBlackness:
    case cmWhiteness:
        p->fillRect(dest.ToQ(), m_copyMode == cmBlackness ? Qt::black : Qt::white);
        Changed();
        return;
    default:
        // Keyed and alpha images blend; opaque ones are copied as they are.
        p->setCompositionMode(keyed || image.hasAlphaChannel()
                                  ? QPainter::CompositionMode_SourceOver
                                  : QPainter::CompositionMode_Source);
        break;
    }
    p->drawImage(dest.ToQ(), image, src);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    Changed();
}

void TCanvas::CopyRect(const TRect& dest, TCanvas& source, const TRect& sourceRect) {
    QImage* image = source.TargetImage();
    if (image == nullptr || dest.IsEmpty() || sourceRect.IsEmpty()) {
        return;
    }
    const QPoint topLeft = source.ToImagePoint(sourceRect.Left, sourceRect.Top);
    // Copy first: the source may be this very canvas.
    const QImage part = image->copy(QRect(topLeft, QSize(sourceRect.Width(), sourceRect.Height())));
    DrawImage(dest, part, part.rect(), false);
}

void TCanvas::DrawFocusRect(const TRect& r) {
    if (r.IsEmpty()) {
        return;
    }
    QPainter* p = Active();
    if (p == nullptr) {
        return;
    }
    const QRegion outer(r.ToQ());
    const QRegion frame = outer.subtracted(Erode(outer, 1));
    QPolygon points;
    for (const QRect& rc : frame) {
        for (int y = rc.top(); y <= rc.bottom(); ++y) {
            for (int x = rc.left(); x <= rc.right(); ++x) {
                // Checkerboard in device space, as a pattern brush would be.
                if (((x + m_origin.x + y + m_origin.y) & 1) == 0) {
                    points.append(QPoint(x, y));
                }
            }
        }
    }
    p->setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    p->setPen(QPen(QColor(255, 255, 255), 1));
    p->drawPoints(points);
    p->setCompositionMode(QPainter::CompositionMode_SourceOver);
    Changed();
}

TColor TCanvas::Pixels(int x, int y) {
    QImage* image = TargetImage();
    if (image == nullptr) {
        return clNone;
    }
    const QPoint pt = ToImagePoint(x, y);
    if (!image->rect().contains(pt)) {
        return clNone;
    }
    return FromQColor(QColor(image->pixel(pt)));
}

void TCanvas::SetPixels(int x, int y, TColor color) {
    if (QPainter* p = Active()) {
        p->setCompositionMode(QPainter::CompositionMode_Source);
        p->fillRect(QRect(x, y, 1, 1), ToQColor(color));
        p->setCompositionMode(QPainter::CompositionMode_SourceOver);
        Changed();
    }
}

// ---- State -------------------------------------------------------------------------

void TCanvas::SetOrigin(int x, int y) {
    m_origin = {x, y};
    m_dirty = true;
}

void TCanvas::MoveOrigin(int dx, int dy) {
    SetOrigin(m_origin.x + dx, m_origin.y + dy);
}

void TCanvas::IntersectClipRect(const TRect& r) {
    const QRegion device(r.IsEmpty() ? QRect() : r.ToQ().translated(m_origin.x, m_origin.y));
    m_clip = m_clip ? m_clip->intersected(device) : device;
    m_dirty = true;
}

void TCanvas::ExcludeClipRect(const TRect& r) {
    if (r.IsEmpty()) {
        return;
    }
    const QRegion current = m_clip ? *m_clip : QRegion(DeviceBounds());
    m_clip = current.subtracted(QRegion(r.ToQ().translated(m_origin.x, m_origin.y)));
    m_dirty = true;
}

void TCanvas::SelectClipRegion(const TRegion& region) {
    m_clip = region.ToQ();
    m_dirty = true;
}

void TCanvas::ClearClip() {
    m_clip.reset();
    m_dirty = true;
}

TRect TCanvas::ClipRect() const {
    QRegion visible(DeviceBounds());
    if (m_clip) {
        visible = visible.intersected(*m_clip);
    }
    if (m_baseClip) {
        visible = visible.intersected(*m_baseClip);
    }
    const QRect r = visible.boundingRect();
    if (r.isEmpty()) {
        return {};
    }
    return TRect::FromQ(r.translated(-m_origin.x, -m_origin.y));
}

void TCanvas::SaveState() {
    m_saved.push_back({m_origin, m_clip, m_penPos});
}

void TCanvas::RestoreState() {
    if (m_saved.empty()) {
        return;
    }
    const State s = std::move(m_saved.back());
    m_saved.pop_back();
    m_origin = s.origin;
    m_clip = s.clip;
    m_penPos = s.penPos;
    m_dirty = true;
}

} // namespace tk
