#include "platform/toolkit/ImageList.h"

#include <QBuffer>
#include <QPainter>
#include <algorithm>

namespace tk {

namespace {

QImage KeyOut(QImage argb, QRgb key) {
    key &= 0xFFFFFF;
    for (int y = 0; y < argb.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            if ((line[x] & 0xFFFFFF) == key) {
                line[x] = 0;
            }
        }
    }
    return argb;
}

QImage Opaque(QImage argb) {
    for (int y = 0; y < argb.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            line[x] |= 0xFF000000u;
        }
    }
    return argb;
}

QImage ToArgb(const QImage& image) {
    return image.convertToFormat(QImage::Format_ARGB32);
}

QRgb ColorToRgb(TColor color) {
    const TColor c = ColorToRGB(color);
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

} // namespace

QImage ImageShape(const QImage& argb, TColor color) {
    const QImage src = ToArgb(argb);
    QImage out(src.size(), QImage::Format_ARGB32);
    out.fill(0);
    const QRgb ink = ColorToRgb(color);
    for (int y = 0; y < src.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(src.constScanLine(y));
        auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
        for (int x = 0; x < src.width(); ++x) {
            // White drops out, as it does when a glyph is turned monochrome.
            if (qAlpha(in[x]) >= 128 && (in[x] & 0xFFFFFF) != 0xFFFFFF) {
                line[x] = ink;
            }
        }
    }
    return out;
}

TCustomImageList::TCustomImageList(TComponent* AOwner) : TComponent(AOwner) {
    PublishEvent("OnChange", OnChange);
}

TCustomImageList::~TCustomImageList() = default;

void TCustomImageList::ImagesChanged() {
    if (OnChange) {
        OnChange(this);
    }
    emit Changed();
}

void TCustomImageList::SetWidth(int width) {
    width = std::max(width, 1);
    if (width != m_width) {
        m_width = width;
        m_images.clear();
        ImagesChanged();
    }
}

void TCustomImageList::SetHeight(int height) {
    height = std::max(height, 1);
    if (height != m_height) {
        m_height = height;
        m_images.clear();
        ImagesChanged();
    }
}

void TCustomImageList::SetBkColor(TColor color) {
    if (color != m_bkColor) {
        m_bkColor = color;
        ImagesChanged();
    }
}

void TCustomImageList::SetMasked(bool masked) {
    if (masked != m_masked) {
        m_masked = masked;
        ImagesChanged();
    }
}

QImage TCustomImageList::Fit(const QImage& source) const {
    // copy() fills what lies outside the source with transparent pixels.
    return source.copy(0, 0, m_width, m_height);
}

int TCustomImageList::AddPieces(const QImage& argb) {
    if (argb.isNull() || argb.width() <= 0 || argb.height() <= 0) {
        return -1;
    }
    const QImage src = m_masked ? argb : Opaque(argb);
    const int first = Count();
    const int pieces = std::max(1, src.width() / m_width);
    for (int i = 0; i < pieces; ++i) {
        m_images.push_back(Fit(src.copy(i * m_width, 0, m_width, src.height())));
    }
    ImagesChanged();
    return first;
}

int TCustomImageList::Add(const TBitmap& image, const TBitmap* mask) {
    if (image.Empty()) {
        return -1;
    }
    const QImage& src = image.Image();
    QImage argb = ToArgb(src);
    if (mask && !mask->Empty() && m_masked) {
        const QImage m = mask->Image().convertToFormat(QImage::Format_RGB32);
        for (int y = 0; y < std::min(argb.height(), m.height()); ++y) {
            const auto* ml = reinterpret_cast<const QRgb*>(m.constScanLine(y));
            auto* line = reinterpret_cast<QRgb*>(argb.scanLine(y));
            for (int x = 0; x < std::min(argb.width(), m.width()); ++x) {
                if ((ml[x] & 0xFFFFFF) != 0) {
                    line[x] = 0;
                }
            }
        }
    } else if (!src.hasAlphaChannel()) {
        argb = Opaque(argb);
    }
    return AddPieces(argb);
}

int TCustomImageList::AddMasked(const TBitmap& image, TColor maskColor) {
    if (image.Empty()) {
        return -1;
    }
    const QImage argb = ToArgb(image.Image());
    const QRgb key =
        maskColor == clDefault ? argb.pixel(0, argb.height() - 1) : ColorToRgb(maskColor);
    return AddPieces(m_masked ? KeyOut(Opaque(argb), key) : Opaque(argb));
}

int TCustomImageList::AddImage(const QImage& image) {
    return AddPieces(ToArgb(image));
}

void TCustomImageList::Replace(int index, const TBitmap& image, const TBitmap* mask) {
    if (index < 0 || index >= Count() || image.Empty()) {
        return;
    }
    // Built in a scratch list so that a failed add leaves the image alone.
    TCustomImageList scratch(nullptr);
    scratch.m_width = m_width;
    scratch.m_height = m_height;
    scratch.m_masked = m_masked;
    if (scratch.Add(image, mask) < 0) {
        return;
    }
    m_images[static_cast<std::size_t>(index)] = scratch.m_images.front();
    ImagesChanged();
}

void TCustomImageList::Delete(int index) {
    if (index < 0 || index >= Count()) {
        return;
    }
    m_images.erase(m_images.begin() + index);
    ImagesChanged();
}

void TCustomImageList::Clear() {
    if (!m_images.empty()) {
        m_images.clear();
        ImagesChanged();
    }
}

void TCustomImageList::Assign(const TCustomImageList& other) {
    if (&other == this) {
        return;
    }
    m_width = other.m_width;
    m_height = other.m_height;
    m_bkColor = other.m_bkColor;
    m_masked = other.m_masked;
    m_images = other.m_images;
    ImagesChanged();
}

QImage TCustomImageList::Image(int index) const {
    if (index < 0 || index >= Count()) {
        return {};
    }
    return m_images[static_cast<std::size_t>(index)];
}

void TCustomImageList::Draw(TCanvas* canvas, int x, int y, int index, bool enabled) const {
    if (!canvas || index < 0 || index >= Count()) {
        return;
    }
    const QImage& image = m_images[static_cast<std::size_t>(index)];
    const TRect dest = Bounds(x, y, m_width, m_height);
    if (m_bkColor != clNone) {
        const TColor oldColor = canvas->Brush()->Color();
        const TBrushStyle oldStyle = canvas->Brush()->Style();
        canvas->Brush()->SetColor(m_bkColor);
        canvas->FillRect(dest);
        canvas->Brush()->SetColor(oldColor);
        canvas->Brush()->SetStyle(oldStyle);
    }
    if (enabled) {
        canvas->DrawImage(dest, image, image.rect(), true);
        return;
    }
    const QImage light = ImageShape(image, clBtnHighlight);
    const QImage dark = ImageShape(image, clBtnShadow);
    canvas->DrawImage(Bounds(x + 1, y + 1, m_width, m_height), light, light.rect(), true);
    canvas->DrawImage(dest, dark, dark.rect(), true);
}

bool TCustomImageList::GetBitmap(int index, TBitmap& image) const {
    if (index < 0 || index >= Count()) {
        return false;
    }
    const TColor back = m_bkColor != clNone ? m_bkColor : clWhite;
    QImage face(m_width, m_height, QImage::Format_RGB32);
    face.fill(ColorToRgb(back));
    {
        QPainter p(&face);
        p.drawImage(0, 0, m_images[static_cast<std::size_t>(index)]);
    }
    image.Assign(face);
    image.SetTransparentColor(back);
    image.SetTransparent(true);
    return true;
}

QByteArray TCustomImageList::SaveToData() const {
    if (m_images.empty()) {
        return {};
    }
    QImage strip(m_width * Count(), m_height, QImage::Format_ARGB32);
    strip.fill(0);
    {
        QPainter p(&strip);
        p.setCompositionMode(QPainter::CompositionMode_Source);
        for (int i = 0; i < Count(); ++i) {
            p.drawImage(i * m_width, 0, m_images[static_cast<std::size_t>(i)]);
        }
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    strip.save(&buffer, "PNG");
    return bytes;
}

void TCustomImageList::LoadFromData(const QByteArray& data) {
    if (data.isEmpty()) {
        Clear();
        return;
    }
    TBitmap strip;
    strip.LoadFromData(data); // throws and leaves the list alone on bad data
    m_images.clear();
    const QImage& src = strip.Image();
    if (src.hasAlphaChannel()) {
        AddPieces(ToArgb(src));
    } else if (m_masked) {
        AddMasked(strip, clDefault);
    } else {
        AddPieces(Opaque(ToArgb(src)));
    }
}

} // namespace tk
