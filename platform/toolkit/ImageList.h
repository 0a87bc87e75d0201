// Image lists: equal-sized images with their masks, drawn as they are or in
// the greyed look of a disabled glyph.
#pragma once

#include <QByteArray>
#include <QImage>
#include <vector>

#include "platform/toolkit/Bitmaps.h"
#include "platform/toolkit/Component.h"

namespace tk {

class TCustomImageList : public TComponent {
    Q_OBJECT
    Q_PROPERTY(int Width READ Width WRITE SetWidth)
    Q_PROPERTY(int Height READ Height WRITE SetHeight)
    Q_PROPERTY(quint32 BkColor READ BkColor WRITE SetBkColor)
    Q_PROPERTY(bool Masked READ Masked WRITE SetMasked)
    // The images as one strip, side by side (PNG with alpha when saved). A
    // strip without alpha read into a masked list is keyed with its
    // bottom-left pixel.
    Q_PROPERTY(QByteArray Bitmap READ SaveToData WRITE LoadFromData)

public:
    explicit TCustomImageList(TComponent* AOwner);
    ~TCustomImageList() override;

    // Changing the size empties the list: its images no longer fit.
    int Width() const { return m_width; }
    void SetWidth(int width);
    int Height() const { return m_height; }
    void SetHeight(int height);
    // clNone: masked-out pixels stay transparent; a colour fills them.
    TColor BkColor() const { return m_bkColor; }
    void SetBkColor(TColor color);
    // An unmasked list ignores masks and key colours: images are opaque.
    bool Masked() const { return m_masked; }
    void SetMasked(bool masked);

    int Count() const { return static_cast<int>(m_images.size()); }

    // A bitmap wider than Width adds one image per Width columns; the index of
    // the first added image is returned, -1 when nothing was added. Mask
    // pixels that are not black are transparent; without a mask an image
    // keeps the bitmap's own alpha, or is opaque.
    int Add(const TBitmap& image, const TBitmap* mask = nullptr);
    // Pixels of the key colour are transparent; clDefault keys with the
    // bitmap's bottom-left pixel.
    int AddMasked(const TBitmap& image, TColor maskColor);
    // An image with alpha, cut and padded to the list's size.
    int AddImage(const QImage& image);
    void Replace(int index, const TBitmap& image, const TBitmap* mask = nullptr);
    void Delete(int index);
    void Clear();
    void Assign(const TCustomImageList& other);

    // Draws image index with its top-left at (x, y); an index out of range
    // or a null canvas draws nothing. Disabled images are greyed: the shape
    // in the shadow colour over a highlight copy one pixel down and right.
    void Draw(TCanvas* canvas, int x, int y, int index, bool enabled = true) const;
    // The image on a bitmap of the list's size, its transparent pixels in
    // BkColor (white when none) which becomes the bitmap's key colour.
    bool GetBitmap(int index, TBitmap& image) const;
    // The image with alpha; a null image for an index out of range.
    QImage Image(int index) const;

    QByteArray SaveToData() const;
    void LoadFromData(const QByteArray& data);

    TNotifyEvent OnChange;

signals:
    // Every change, for the menus, bars and action lists that show images.
    void Changed();

protected:
    void ImagesChanged();

private:
    QImage Fit(const QImage& source) const;
    int AddPieces(const QImage& argb);

    int m_width = 16;
    int m_height = 16;
    TColor m_bkColor = clNone;
    bool m_masked = true;
    std::vector<QImage> m_images; // ARGB32, Width x Height each
};

class TImageList : public TCustomImageList {
    Q_OBJECT
public:
    explicit TImageList(TComponent* AOwner) : TCustomImageList(AOwner) {}
};

// The greyed form of an image: its shape (opaque pixels that are not white)
// as a one-colour image.
QImage ImageShape(const QImage& argb, TColor color);

} // namespace tk
