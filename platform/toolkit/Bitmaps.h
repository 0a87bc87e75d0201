// Bitmaps, icons and pictures, and images looked up by resource name.
#pragma once

#include <QByteArray>
#include <QIcon>
#include <QImage>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <vector>

#include "platform/toolkit/Exceptions.h"
#include "platform/toolkit/Graphics.h"
#include "platform/toolkit/Types.h"

class QIODevice;

namespace tk {

// Path of the Qt resource for a bitmap name (":/bitmaps/<NAME>.bmp", then
// ".png"; the name as given, then upper-cased), or empty when there is none.
QString FindBitmapResource(const QString& name);
// The same for icons (":/icons/<NAME>.ico" or ".png").
QString FindIconResource(const QString& name);

class TGraphic {
public:
    TGraphic() = default;
    virtual ~TGraphic();
    TGraphic(const TGraphic&) = delete;
    TGraphic& operator=(const TGraphic&) = delete;

    virtual int Width() const = 0;
    virtual int Height() const = 0;
    virtual bool Empty() const { return Width() <= 0 || Height() <= 0; }
    // Draws the whole graphic scaled into dest of the canvas.
    virtual void Draw(TCanvas& canvas, const TRect& dest) const = 0;

    bool Transparent() const { return m_transparent; }
    virtual void SetTransparent(bool transparent);

    std::function<void()> OnChange;

protected:
    void Changed();

    bool m_transparent = false;
};

enum class TPixelFormat { pfDevice, pf24bit, pf32bit };
enum class TTransparentMode { tmAuto, tmFixed };

// An image in memory (QImage, RGB32; pf32bit keeps an alpha channel). New
// pixels are white, as the classic library makes them.
class TBitmap : public TGraphic {
public:
    TBitmap();
    TBitmap(int width, int height);
    explicit TBitmap(const QImage& image);
    ~TBitmap() override;

    int Width() const override;
    int Height() const override;
    bool Empty() const override;
    void Draw(TCanvas& canvas, const TRect& dest) const override;
    // Draws the part src of the bitmap into dest (scaled if sizes differ),
    // colour-keyed when transparent.
    void DrawPart(TCanvas& canvas, const TRect& dest, const TRect& src) const;

    // Keeps the pixels that still fit, anchored at the top-left.
    void SetSize(int width, int height);
    void SetWidth(int width) { SetSize(width, Height()); }
    void SetHeight(int height) { SetSize(Width(), height); }

    TPixelFormat PixelFormat() const { return m_format; }
    void SetPixelFormat(TPixelFormat format);

    // A canvas on the image, owned by the bitmap and valid while it lives.
    // Reading or resizing the image ends its painter first.
    TCanvas* Canvas();

    // Auto: the key colour is the bottom-left pixel. Setting a colour makes
    // the mode fixed.
    TColor TransparentColor() const;
    void SetTransparentColor(TColor color);
    TTransparentMode TransparentMode() const { return m_transparentMode; }
    void SetTransparentMode(TTransparentMode mode);

    // Windows .bmp (or anything Qt reads). A file or data that cannot be read
    // throws EInvalidGraphic and leaves the bitmap as it was.
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const; // .bmp unless the suffix says else
    void LoadFromStream(QIODevice& stream);
    void SaveToStream(QIODevice& stream) const;
    // Image file bytes, optionally behind a 4-byte little-endian length (the
    // form-description layout of bitmap data).
    void LoadFromData(const QByteArray& data);
    QByteArray SaveToData() const; // BMP file bytes
    // Throws EResNotFound for a name the program does not carry.
    void LoadFromResourceName(const QString& name);

    void Assign(const TBitmap& other);
    void Assign(const QImage& image);
    void Clear(); // empty 0 x 0

    // The pixels; painting on the canvas ends first.
    const QImage& Image() const;
    // Replaces the pixels, converted to the current PixelFormat. Assign(QImage)
    // instead takes the image's own format (pf32bit when it has alpha).
    void SetImage(const QImage& image);
    // The image with the key colour made fully transparent when Transparent,
    // built once per change of pixels or key colour.
    const QImage& MaskedImage() const;

private:
    void PixelsChanged();
    void Finish() const;
    QImage::Format QtFormat() const;

    QImage m_image;
    TPixelFormat m_format = TPixelFormat::pfDevice;
    TTransparentMode m_transparentMode = TTransparentMode::tmAuto;
    TColor m_transparentColor = clDefault;
    std::unique_ptr<TCanvas> m_canvas;

    mutable QImage m_masked;
    mutable bool m_maskValid = false;
    mutable TColor m_maskKey = clNone;
};

// An icon with its 16 and 32 pixel images.
class TIcon : public TGraphic {
public:
    TIcon();
    ~TIcon() override;

    int Width() const override { return m_width; }
    int Height() const override { return m_height; }
    bool Empty() const override { return m_icon.isNull(); }
    void Draw(TCanvas& canvas, const TRect& dest) const override;
    // The size Width()/Height() report and Draw(x, y) uses: after loading,
    // that of the image nearest 32 x 32.
    void SetSize(int width, int height);

    void LoadFromFile(const QString& fileName);     // throws EInvalidGraphic
    void LoadFromData(const QByteArray& data);      // .ico bytes, optionally length-prefixed
    void LoadFromResourceName(const QString& name); // throws EResNotFound
    void Assign(const TIcon& other);
    QByteArray SaveToData() const; // .ico bytes of the image nearest the size; empty when empty

    const QIcon& Icon() const { return m_icon; }
    void SetIcon(const QIcon& icon);
    QImage ToImage(int size) const;

private:
    const QImage* Best(int width, int height) const;
    void SetImages(const QIcon& icon);

    QIcon m_icon;
    std::vector<QImage> m_images;
    int m_width = 32;
    int m_height = 32;
};

// Holds one graphic, a bitmap or an icon; form descriptions set it through
// Data (picture bytes) or ResourceName.
class TPicture : public QObject {
    Q_OBJECT
    Q_PROPERTY(QByteArray Data READ SaveToData WRITE LoadFromData)
    Q_PROPERTY(QString ResourceName READ ResourceName WRITE LoadFromResourceName)

public:
    explicit TPicture(QObject* parent = nullptr);
    ~TPicture() override;

    // Null when empty.
    TGraphic* Graphic() const { return m_graphic.get(); }
    void SetGraphic(std::unique_ptr<TGraphic> graphic);
    // The bitmap, replacing a non-bitmap graphic by an empty bitmap as the
    // classic library does; changes to it raise OnChange.
    TBitmap* Bitmap();
    // The icon, or null when the picture does not hold one.
    TIcon* Icon() const;

    int Width() const;
    int Height() const;
    bool Empty() const;

    // By suffix: .ico becomes an icon, anything else a bitmap. Throws
    // EInvalidGraphic and keeps the picture when the file cannot be read.
    void LoadFromFile(const QString& fileName);
    void SaveToFile(const QString& fileName) const;
    // Form-description picture data: a length-prefixed class name ("TBitmap",
    // "TIcon") then the graphic's data; bare image bytes are taken too. Empty
    // data clears the picture.
    void LoadFromData(const QByteArray& data);
    QByteArray SaveToData() const;
    // A bitmap resource, else an icon resource; throws EResNotFound.
    void LoadFromResourceName(const QString& name);
    QString ResourceName() const { return m_resourceName; }

    void Assign(const TPicture& other);
    void Assign(const TGraphic* graphic); // copies a bitmap or icon; null clears
    void Clear();

    std::function<void()> OnChange;

private:
    void Hook();
    void Changed();

    std::unique_ptr<TGraphic> m_graphic;
    QString m_resourceName;
};

} // namespace tk
