#include "platform/toolkit/Bitmaps.h"

#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QIODevice>
#include <QImageReader>
#include <QImageWriter>
#include <QPainter>
#include <QPixmap>
#include <QSaveFile>
#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstdlib>

namespace tk {

namespace {

constexpr qint64 kMaxPixels = 64ll * 1024 * 1024;

std::uint32_t Le32(const QByteArray& d, qsizetype at) {
    return static_cast<std::uint32_t>(static_cast<std::uint8_t>(d[at])) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(d[at + 1])) << 8) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(d[at + 2])) << 16) |
           (static_cast<std::uint32_t>(static_cast<std::uint8_t>(d[at + 3])) << 24);
}

std::uint16_t Le16(const QByteArray& d, qsizetype at) {
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(d[at]) |
                                      (static_cast<std::uint8_t>(d[at + 1]) << 8));
}

QByteArray PutLe32(std::uint32_t v) {
    QByteArray out(4, '\0');
    for (int i = 0; i < 4; ++i) {
        out[i] = static_cast<char>((v >> (8 * i)) & 0xFF);
    }
    return out;
}

// Qt decodes a BMP whose pixel data is cut short into a partly garbage image
// without complaint, so the header is checked against the data first.
bool CheckBmp(const QByteArray& d, QString& why) {
    if (d.size() < 26) {
        why = QStringLiteral("file too short");
        return false;
    }
    const qint64 size = d.size();
    const qint64 offBits = Le32(d, 10);
    const qint64 headerSize = Le32(d, 14);
    qint64 width = 0;
    qint64 height = 0;
    int bpp = 0;
    std::uint32_t compression = 0;
    if (headerSize == 12) {
        width = Le16(d, 18);
        height = Le16(d, 20);
        bpp = Le16(d, 24);
    } else if (headerSize >= 40 && size >= 14 + 40) {
        width = static_cast<std::int32_t>(Le32(d, 18));
        height = static_cast<std::int32_t>(Le32(d, 22));
        bpp = Le16(d, 28);
        compression = Le32(d, 30);
    } else {
        why = QStringLiteral("unknown header");
        return false;
    }
    height = std::llabs(height);
    if (width <= 0 || height <= 0 || width * height > kMaxPixels) {
        why = QStringLiteral("bad dimensions");
        return false;
    }
    if (bpp != 1 && bpp != 4 && bpp != 8 && bpp != 16 && bpp != 24 && bpp != 32) {
        why = QStringLiteral("bad colour depth");
        return false;
    }
    if (offBits < 14 + headerSize || offBits >= size) {
        why = QStringLiteral("bad pixel data offset");
        return false;
    }
    // Uncompressed and bit-field data have a known size; run-length data is
    // left to the decoder.
    if (compression == 0 || compression == 3 || compression == 6) {
        const qint64 stride = ((width * bpp + 31) / 32) * 4;
        if (offBits + stride * height > size) {
            why = QStringLiteral("pixel data cut short");
            return false;
        }
    }
    return true;
}

QImage Decode(const QByteArray& data, const QString& what) {
    if (data.isEmpty()) {
        throw EInvalidGraphic(QStringLiteral("%1 is empty").arg(what));
    }
    if (data.startsWith("BM")) {
        QString why;
        if (!CheckBmp(data, why)) {
            throw EInvalidGraphic(QStringLiteral("%1 is not a valid bitmap (%2)").arg(what, why));
        }
    }
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer);
    const QImage image = reader.read();
    if (image.isNull()) {
        throw EInvalidGraphic(
            QStringLiteral("%1 is not a valid image (%2)").arg(what, reader.errorString()));
    }
    return image;
}

QByteArray ReadFile(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly)) {
        throw EInvalidGraphic(
            QStringLiteral("Cannot open \"%1\": %2").arg(fileName, file.errorString()));
    }
    return file.readAll();
}

bool HasPrefixedLength(const QByteArray& data) {
    return data.size() > 4 && Le32(data, 0) <= static_cast<std::uint32_t>(data.size() - 4) &&
           Le32(data, 0) > 0;
}

bool LooksLikeIcon(const QByteArray& data) {
    return data.size() >= 6 && data[0] == 0 && data[1] == 0 && data[2] == 1 && data[3] == 0;
}

bool LooksLikeImage(const QByteArray& data) {
    return data.startsWith("BM") || data.startsWith("\x89PNG") || data.startsWith("GIF8") ||
           data.startsWith("\xFF\xD8") || LooksLikeIcon(data);
}

QByteArray Encode(const QImage& image, const char* format) {
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (!writer.write(image)) {
        throw Exception(QStringLiteral("Cannot encode image: %1").arg(writer.errorString()));
    }
    return bytes;
}

void WriteFile(const QString& fileName, const QByteArray& bytes) {
    // Written aside and renamed, so a failed save never destroys the old file.
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
        throw Exception(
            QStringLiteral("Cannot write \"%1\": %2").arg(fileName, file.errorString()));
    }
}

QString FindResource(const QString& folder, const QString& name, const QStringList& suffixes) {
    if (name.isEmpty()) {
        return {};
    }
    for (const QString& n : {name, name.toUpper()}) {
        for (const QString& suffix : suffixes) {
            const QString path = QStringLiteral(":/%1/%2.%3").arg(folder, n, suffix);
            if (QFile::exists(path)) {
                return path;
            }
        }
    }
    return {};
}

} // namespace

QString FindBitmapResource(const QString& name) {
    return FindResource(QStringLiteral("bitmaps"), name,
                        {QStringLiteral("bmp"), QStringLiteral("png")});
}

QString FindIconResource(const QString& name) {
    return FindResource(QStringLiteral("icons"), name,
                        {QStringLiteral("ico"), QStringLiteral("png")});
}

// ---- TGraphic ------------------------------------------------------------------

TGraphic::~TGraphic() = default;

void TGraphic::SetTransparent(bool transparent) {
    if (transparent == m_transparent) {
        return;
    }
    m_transparent = transparent;
    Changed();
}

void TGraphic::Changed() {
    if (OnChange) {
        OnChange();
    }
}

// ---- TBitmap -------------------------------------------------------------------

TBitmap::TBitmap() = default;

TBitmap::TBitmap(int width, int height) {
    SetSize(width, height);
}

TBitmap::TBitmap(const QImage& image) {
    Assign(image);
}

TBitmap::~TBitmap() = default;

QImage::Format TBitmap::QtFormat() const {
    return m_format == TPixelFormat::pf32bit ? QImage::Format_ARGB32_Premultiplied
                                             : QImage::Format_RGB32;
}

void TBitmap::Finish() const {
    if (m_canvas) {
        m_canvas->EndPaint();
    }
}

void TBitmap::PixelsChanged() {
    m_maskValid = false;
    Changed();
}

int TBitmap::Width() const {
    return m_image.width();
}
int TBitmap::Height() const {
    return m_image.height();
}
bool TBitmap::Empty() const {
    return m_image.isNull();
}

TCanvas* TBitmap::Canvas() {
    if (!m_canvas) {
        m_canvas = std::make_unique<TCanvas>(&m_image);
        m_canvas->OnChange = [this] { PixelsChanged(); };
    }
    return m_canvas.get();
}

void TBitmap::SetSize(int width, int height) {
    width = std::max(0, width);
    height = std::max(0, height);
    if (width == Width() && height == Height()) {
        return;
    }
    if (static_cast<qint64>(width) * height > kMaxPixels) {
        throw EInvalidGraphic(
            QStringLiteral("Bitmap of %1 x %2 pixels is too large").arg(width).arg(height));
    }
    Finish();
    if (width == 0 || height == 0) {
        m_image = QImage();
    } else {
        QImage next(width, height, QtFormat());
        next.fill(m_format == TPixelFormat::pf32bit ? Qt::transparent : Qt::white);
        if (!m_image.isNull()) {
            QPainter p(&next);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            p.drawImage(0, 0, m_image);
        }
        m_image = next;
    }
    PixelsChanged();
}

void TBitmap::SetPixelFormat(TPixelFormat format) {
    if (format == m_format) {
        return;
    }
    Finish();
    m_format = format;
    if (!m_image.isNull()) {
        m_image = m_image.convertToFormat(QtFormat());
    }
    PixelsChanged();
}

TColor TBitmap::TransparentColor() const {
    if (m_transparentMode == TTransparentMode::tmFixed) {
        return m_transparentColor;
    }
    if (Empty()) {
        return clNone;
    }
    const QImage& image = Image();
    return FromQColor(QColor(image.pixel(0, image.height() - 1)));
}

void TBitmap::SetTransparentColor(TColor color) {
    m_transparentColor = color;
    m_transparentMode = color == clDefault ? TTransparentMode::tmAuto : TTransparentMode::tmFixed;
    m_maskValid = false;
    Changed();
}

void TBitmap::SetTransparentMode(TTransparentMode mode) {
    if (mode == m_transparentMode) {
        return;
    }
    if (mode == TTransparentMode::tmFixed && m_transparentColor == clDefault) {
        m_transparentColor = TransparentColor();
    }
    m_transparentMode = mode;
    m_maskValid = false;
    Changed();
}

const QImage& TBitmap::Image() const {
    Finish();
    return m_image;
}

void TBitmap::SetImage(const QImage& image) {
    Finish();
    m_image = image.isNull() ? QImage() : image.convertToFormat(QtFormat());
    PixelsChanged();
}

void TBitmap::Assign(const QImage& image) {
    Finish();
    m_format = image.hasAlphaChannel() ? TPixelFormat::pf32bit : TPixelFormat::pfDevice;
    m_image = image.isNull() ? QImage() : image.convertToFormat(QtFormat());
    PixelsChanged();
}

void TBitmap::Assign(const TBitmap& other) {
    if (&other == this) {
        return;
    }
    Finish();
    m_image = other.Image();
    m_format = other.m_format;
    m_transparent = other.m_transparent;
    m_transparentMode = other.m_transparentMode;
    m_transparentColor = other.m_transparentColor;
    PixelsChanged();
}

void TBitmap::Clear() {
    Finish();
    m_image = QImage();
    PixelsChanged();
}

const QImage& TBitmap::MaskedImage() const {
    if (!Transparent() || Empty()) {
        return Image();
    }
    const TColor key = ColorToRGB(TransparentColor());
    if (m_maskValid && key == m_maskKey) {
        return m_masked;
    }
    const QImage& source = Image();
    QImage masked = source.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    const QRgb keyRgb = qRgb(GetRValue(key), GetGValue(key), GetBValue(key)) & 0xFFFFFF;
    for (int y = 0; y < source.height(); ++y) {
        const auto* in = reinterpret_cast<const QRgb*>(source.constScanLine(y));
        auto* out = reinterpret_cast<QRgb*>(masked.scanLine(y));
        for (int x = 0; x < source.width(); ++x) {
            if ((in[x] & 0xFFFFFF) == keyRgb) {
                out[x] = 0;
            }
        }
    }
    m_masked = masked;
    m_maskKey = key;
    m_maskValid = true;
    return m_masked;
}

void TBitmap::Draw(TCanvas& canvas, const TRect& dest) const {
    DrawPart(canvas, dest, Rect(0, 0, Width(), Height()));
}

void TBitmap::DrawPart(TCanvas& canvas, const TRect& dest, const TRect& src) const {
    if (Empty()) {
        return;
    }
    // A copy, taken before the target canvas begins painting: the target may
    // be this bitmap's own canvas.
    const QImage image = Transparent() ? MaskedImage() : Image();
    canvas.DrawImage(dest, image, src.ToQ(), Transparent());
}

void TBitmap::LoadFromFile(const QString& fileName) {
    Assign(Decode(ReadFile(fileName), QStringLiteral("\"%1\"").arg(fileName)));
}

void TBitmap::SaveToFile(const QString& fileName) const {
    if (Empty()) {
        throw EInvalidGraphic(
            QStringLiteral("Cannot save an empty bitmap to \"%1\"").arg(fileName));
    }
    const QString suffix = QFileInfo(fileName).suffix().toLower();
    const char* format = suffix == QLatin1String("png") ? "PNG" : "BMP";
    WriteFile(fileName, Encode(Image(), format));
}

void TBitmap::LoadFromStream(QIODevice& stream) {
    Assign(Decode(stream.readAll(), QStringLiteral("Bitmap data")));
}

void TBitmap::SaveToStream(QIODevice& stream) const {
    const QByteArray bytes = SaveToData();
    if (stream.write(bytes) != bytes.size()) {
        throw Exception(QStringLiteral("Cannot write bitmap: %1").arg(stream.errorString()));
    }
}

void TBitmap::LoadFromData(const QByteArray& data) {
    if (!LooksLikeImage(data) && HasPrefixedLength(data)) {
        Assign(Decode(data.mid(4, Le32(data, 0)), QStringLiteral("Bitmap data")));
        return;
    }
    Assign(Decode(data, QStringLiteral("Bitmap data")));
}

QByteArray TBitmap::SaveToData() const {
    if (Empty()) {
        return {};
    }
    return Encode(Image(), "BMP");
}

void TBitmap::LoadFromResourceName(const QString& name) {
    const QString path = FindBitmapResource(name);
    if (path.isEmpty()) {
        throw EResNotFound(QStringLiteral("Resource %1 not found").arg(name));
    }
    Assign(Decode(ReadFile(path), QStringLiteral("Resource %1").arg(name)));
}

// ---- TIcon ---------------------------------------------------------------------

namespace {

std::vector<QImage> DecodeIcon(const QByteArray& data, const QString& what) {
    if (data.isEmpty()) {
        throw EInvalidGraphic(QStringLiteral("%1 is empty").arg(what));
    }
    QBuffer buffer;
    buffer.setData(data);
    buffer.open(QIODevice::ReadOnly);
    QImageReader reader(&buffer, LooksLikeIcon(data) ? QByteArray("ico") : QByteArray());
    std::vector<QImage> images;
    const int count = std::max(1, reader.imageCount());
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !reader.jumpToImage(i)) {
            break;
        }
        QImage image = reader.read();
        if (image.isNull()) {
            break;
        }
        images.push_back(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
    }
    if (images.empty()) {
        throw EInvalidGraphic(
            QStringLiteral("%1 is not a valid icon (%2)").arg(what, reader.errorString()));
    }
    return images;
}

} // namespace

TIcon::TIcon() = default;
TIcon::~TIcon() = default;

const QImage* TIcon::Best(int width, int height) const {
    // The smallest image at least as large as asked, else the largest.
    const QImage* best = nullptr;
    for (const QImage& image : m_images) {
        const bool fits = image.width() >= width && image.height() >= height;
        if (best == nullptr) {
            best = &image;
            continue;
        }
        const bool bestFits = best->width() >= width && best->height() >= height;
        if (fits && (!bestFits || image.width() < best->width())) {
            best = &image;
        } else if (!fits && !bestFits && image.width() > best->width()) {
            best = &image;
        }
    }
    return best;
}

void TIcon::Draw(TCanvas& canvas, const TRect& dest) const {
    const QImage* image = Best(dest.Width(), dest.Height());
    if (image == nullptr) {
        return;
    }
    const QImage copy = *image;
    canvas.DrawImage(dest, copy, copy.rect(), true);
}

void TIcon::SetSize(int width, int height) {
    m_width = std::max(0, width);
    m_height = std::max(0, height);
    Changed();
}

void TIcon::LoadFromFile(const QString& fileName) {
    m_images = DecodeIcon(ReadFile(fileName), QStringLiteral("\"%1\"").arg(fileName));
    SetImages(QIcon());
}

void TIcon::LoadFromData(const QByteArray& data) {
    if (!LooksLikeImage(data) && HasPrefixedLength(data)) {
        m_images = DecodeIcon(data.mid(4, Le32(data, 0)), QStringLiteral("Icon data"));
    } else {
        m_images = DecodeIcon(data, QStringLiteral("Icon data"));
    }
    SetImages(QIcon());
}

void TIcon::LoadFromResourceName(const QString& name) {
    const QString path = FindIconResource(name);
    if (path.isEmpty()) {
        throw EResNotFound(QStringLiteral("Resource %1 not found").arg(name));
    }
    m_images = DecodeIcon(ReadFile(path), QStringLiteral("Resource %1").arg(name));
    SetImages(QIcon());
}

void TIcon::SetIcon(const QIcon& icon) {
    SetImages(icon);
}

void TIcon::SetImages(const QIcon& icon) {
    // A null icon means: rebuild from m_images, just loaded.
    if (!icon.isNull()) {
        m_images.clear();
        for (int size : {16, 32}) {
            const QImage image = icon.pixmap(QSize(size, size), 1.0).toImage();
            if (!image.isNull()) {
                m_images.push_back(image.convertToFormat(QImage::Format_ARGB32_Premultiplied));
            }
        }
    }
    m_icon = QIcon();
    for (const QImage& image : m_images) {
        m_icon.addPixmap(QPixmap::fromImage(image));
    }
    // The size it draws at: the image nearest the standard 32 pixels.
    if (const QImage* best = Best(32, 32)) {
        m_width = best->width();
        m_height = best->height();
    }
    Changed();
}

void TIcon::Assign(const TIcon& other) {
    if (&other == this) {
        return;
    }
    m_images = other.m_images;
    m_icon = other.m_icon;
    m_width = other.m_width;
    m_height = other.m_height;
    m_transparent = other.m_transparent;
    Changed();
}

QImage TIcon::ToImage(int size) const {
    const QImage* image = Best(size, size);
    if (image == nullptr) {
        return {};
    }
    if (image->width() == size && image->height() == size) {
        return *image;
    }
    return image->scaled(size, size, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
}

QByteArray TIcon::SaveToData() const {
    const QImage* image = Best(m_width, m_height);
    if (image == nullptr) {
        return {};
    }
    return Encode(*image, "ICO");
}

// ---- TPicture ------------------------------------------------------------------

TPicture::TPicture(QObject* parent) : QObject(parent) {}
TPicture::~TPicture() = default;

void TPicture::Changed() {
    if (OnChange) {
        OnChange();
    }
}

void TPicture::Hook() {
    if (m_graphic) {
        m_graphic->OnChange = [this] { Changed(); };
    }
}

void TPicture::SetGraphic(std::unique_ptr<TGraphic> graphic) {
    m_graphic = std::move(graphic);
    Hook();
    Changed();
}

TBitmap* TPicture::Bitmap() {
    if (auto* bitmap = dynamic_cast<TBitmap*>(m_graphic.get())) {
        return bitmap;
    }
    auto bitmap = std::make_unique<TBitmap>();
    TBitmap* result = bitmap.get();
    SetGraphic(std::move(bitmap));
    return result;
}

TIcon* TPicture::Icon() const {
    return dynamic_cast<TIcon*>(m_graphic.get());
}

int TPicture::Width() const {
    return m_graphic ? m_graphic->Width() : 0;
}
int TPicture::Height() const {
    return m_graphic ? m_graphic->Height() : 0;
}
bool TPicture::Empty() const {
    return !m_graphic || m_graphic->Empty();
}

void TPicture::LoadFromFile(const QString& fileName) {
    std::unique_ptr<TGraphic> graphic;
    if (QFileInfo(fileName).suffix().compare(QLatin1String("ico"), Qt::CaseInsensitive) == 0) {
        auto icon = std::make_unique<TIcon>();
        icon->LoadFromFile(fileName);
        graphic = std::move(icon);
    } else {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromFile(fileName);
        graphic = std::move(bitmap);
    }
    m_resourceName.clear();
    SetGraphic(std::move(graphic));
}

void TPicture::SaveToFile(const QString& fileName) const {
    if (const auto* icon = Icon()) {
        const QByteArray bytes = icon->SaveToData();
        if (bytes.isEmpty()) {
            throw EInvalidGraphic(QStringLiteral("Cannot save an empty icon"));
        }
        WriteFile(fileName, bytes);
    } else if (const auto* bitmap = dynamic_cast<const TBitmap*>(m_graphic.get())) {
        bitmap->SaveToFile(fileName);
    } else {
        throw EInvalidGraphic(
            QStringLiteral("Cannot save an empty picture to \"%1\"").arg(fileName));
    }
}

void TPicture::LoadFromData(const QByteArray& data) {
    if (data.isEmpty()) {
        Clear();
        return;
    }
    QString className;
    QByteArray body = data;
    const int n = static_cast<std::uint8_t>(data[0]);
    if (n >= 2 && n < 64 && data.size() > n + 1 && data[1] == 'T') {
        const QByteArray name = data.mid(1, n);
        if (std::all_of(name.begin(), name.end(),
                        [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; })) {
            className = QString::fromLatin1(name);
            body = data.mid(n + 1);
        }
    }
    std::unique_ptr<TGraphic> graphic;
    if (className == QLatin1String("TIcon") || (className.isEmpty() && LooksLikeIcon(body))) {
        auto icon = std::make_unique<TIcon>();
        icon->LoadFromData(body);
        graphic = std::move(icon);
    } else {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromData(body);
        graphic = std::move(bitmap);
    }
    m_resourceName.clear();
    SetGraphic(std::move(graphic));
}

QByteArray TPicture::SaveToData() const {
    if (const auto* icon = Icon()) {
        const QByteArray bytes = icon->SaveToData();
        return bytes.isEmpty() ? QByteArray() : QByteArray("\x05TIcon") + bytes;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(m_graphic.get())) {
        const QByteArray bytes = bitmap->SaveToData();
        if (bytes.isEmpty()) {
            return {};
        }
        return QByteArray("\x07TBitmap") + PutLe32(static_cast<std::uint32_t>(bytes.size())) +
               bytes;
    }
    return {};
}

void TPicture::LoadFromResourceName(const QString& name) {
    std::unique_ptr<TGraphic> graphic;
    if (!FindBitmapResource(name).isEmpty()) {
        auto bitmap = std::make_unique<TBitmap>();
        bitmap->LoadFromResourceName(name);
        graphic = std::move(bitmap);
    } else if (!FindIconResource(name).isEmpty()) {
        auto icon = std::make_unique<TIcon>();
        icon->LoadFromResourceName(name);
        graphic = std::move(icon);
    } else {
        throw EResNotFound(QStringLiteral("Resource %1 not found").arg(name));
    }
    m_resourceName = name;
    SetGraphic(std::move(graphic));
}

void TPicture::Assign(const TGraphic* graphic) {
    if (graphic == m_graphic.get() && graphic != nullptr) {
        return;
    }
    if (const auto* bitmap = dynamic_cast<const TBitmap*>(graphic)) {
        auto copy = std::make_unique<TBitmap>();
        copy->Assign(*bitmap);
        m_resourceName.clear();
        SetGraphic(std::move(copy));
    } else if (const auto* icon = dynamic_cast<const TIcon*>(graphic)) {
        auto copy = std::make_unique<TIcon>();
        copy->Assign(*icon);
        m_resourceName.clear();
        SetGraphic(std::move(copy));
    } else {
        Clear();
    }
}

void TPicture::Assign(const TPicture& other) {
    if (&other == this) {
        return;
    }
    Assign(other.Graphic());
    m_resourceName = other.m_resourceName;
}

void TPicture::Clear() {
    if (!m_graphic && m_resourceName.isEmpty()) {
        return;
    }
    m_graphic.reset();
    m_resourceName.clear();
    Changed();
}

} // namespace tk
