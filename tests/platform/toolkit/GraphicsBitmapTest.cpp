// Bitmaps, colour-keyed drawing, image files and pictures.
#include <QBuffer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "platform/toolkit/Bitmaps.h"

using namespace tk;

namespace {

TColor At(const TBitmap& b, int x, int y) {
    return FromQColor(QColor(b.Image().pixel(x, y)));
}

// 4 x 2: magenta key in the left column (bottom-left is the auto key),
// red and blue elsewhere.
std::unique_ptr<TBitmap> KeyedSprite() {
    auto b = std::make_unique<TBitmap>(4, 2);
    TCanvas& c = *b->Canvas();
    c.Brush()->SetColor(clRed);
    c.FillRect(Rect(0, 0, 4, 2));
    c.Brush()->SetColor(clFuchsia);
    c.FillRect(Rect(0, 0, 1, 2));
    c.SetPixels(3, 1, clBlue);
    return b;
}

QByteArray FileBytes(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void WriteBytes(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(bytes);
}

} // namespace

TEST(GraphicsBitmap, TransparentDrawLeavesTheKeyColourArea) {
    auto sprite = KeyedSprite();
    EXPECT_EQ(sprite->TransparentColor(), clFuchsia) << "auto: bottom-left pixel";
    sprite->SetTransparent(true);

    TBitmap dest(6, 4);
    dest.Canvas()->Brush()->SetColor(clLime);
    dest.Canvas()->FillRect(Rect(0, 0, 6, 4));
    dest.Canvas()->Draw(1, 1, *sprite);
    EXPECT_EQ(At(dest, 1, 1), clLime) << "key pixel shows the destination";
    EXPECT_EQ(At(dest, 1, 2), clLime);
    EXPECT_EQ(At(dest, 2, 1), clRed);
    EXPECT_EQ(At(dest, 4, 2), clBlue);
    EXPECT_EQ(At(dest, 5, 1), clLime) << "nothing beyond the sprite";

    // The cached mask follows changes of the pixels and of the key colour.
    sprite->Canvas()->SetPixels(2, 0, clFuchsia);
    dest.Canvas()->FillRect(Rect(0, 0, 6, 4));
    dest.Canvas()->Draw(1, 1, *sprite);
    EXPECT_EQ(At(dest, 3, 1), clLime);
    sprite->SetTransparentColor(clRed);
    EXPECT_EQ(sprite->TransparentMode(), TTransparentMode::tmFixed);
    dest.Canvas()->Brush()->SetColor(clBlack);
    dest.Canvas()->FillRect(Rect(0, 0, 6, 4));
    dest.Canvas()->Draw(1, 1, *sprite);
    EXPECT_EQ(At(dest, 1, 1), clFuchsia);
    EXPECT_EQ(At(dest, 4, 1), clBlack) << "red is the key now";
    EXPECT_EQ(At(dest, 4, 2), clBlue);

    // Opaque drawing copies every pixel.
    sprite->SetTransparent(false);
    dest.Canvas()->Draw(1, 1, *sprite);
    EXPECT_EQ(At(dest, 1, 1), clFuchsia);
    EXPECT_EQ(At(dest, 4, 1), clRed);
}

TEST(GraphicsBitmap, StretchDrawAndDrawPartScaleByWholePixels) {
    auto sprite = KeyedSprite();
    TBitmap dest(8, 4);
    dest.Canvas()->StretchDraw(Rect(0, 0, 8, 4), *sprite);
    EXPECT_EQ(At(dest, 0, 0), clFuchsia);
    EXPECT_EQ(At(dest, 1, 3), clFuchsia);
    EXPECT_EQ(At(dest, 2, 0), clRed);
    EXPECT_EQ(At(dest, 6, 2), clBlue);
    EXPECT_EQ(At(dest, 7, 3), clBlue);
    EXPECT_EQ(At(dest, 6, 1), clRed);

    // One column of the source stretched over a band, as nine-part drawing does.
    TBitmap band(5, 2);
    sprite->DrawPart(*band.Canvas(), Rect(0, 0, 5, 2), Rect(3, 0, 4, 2));
    for (int x = 0; x < 5; ++x) {
        EXPECT_EQ(At(band, x, 0), clRed);
        EXPECT_EQ(At(band, x, 1), clBlue);
    }

    // Drawing a bitmap onto itself reads the pixels from before the draw.
    sprite->Canvas()->StretchDraw(Rect(0, 0, 2, 1), *sprite);
    EXPECT_EQ(At(*sprite, 0, 0), clFuchsia);
    EXPECT_EQ(At(*sprite, 1, 0), clRed);
}

TEST(GraphicsBitmap, ResizeKeepsPixelsAndTheCanvas) {
    TBitmap b(2, 2);
    EXPECT_EQ(At(b, 0, 0), clWhite) << "new pixels are white";
    TCanvas* canvas = b.Canvas();
    canvas->SetPixels(1, 1, clBlue);
    b.SetSize(4, 3);
    EXPECT_EQ(At(b, 1, 1), clBlue);
    EXPECT_EQ(At(b, 3, 2), clWhite);
    EXPECT_EQ(b.Canvas(), canvas);
    canvas->SetPixels(3, 2, clRed);
    EXPECT_EQ(At(b, 3, 2), clRed);

    int changes = 0;
    b.OnChange = [&] { ++changes; };
    b.SetSize(0, 3);
    EXPECT_TRUE(b.Empty());
    EXPECT_GT(changes, 0);
    canvas->FillRect(Rect(0, 0, 5, 5)); // nothing to paint on: no-op
    b.SetSize(-5, 2);
    EXPECT_TRUE(b.Empty());
    EXPECT_THROW(b.SetSize(100000, 100000), EInvalidGraphic);
    EXPECT_TRUE(b.Empty());
}

TEST(GraphicsBitmap, BmpRoundTripAndDamagedFilesLeaveTheBitmap) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString path = dir.filePath(QStringLiteral("sprite.bmp"));
    auto sprite = KeyedSprite();
    sprite->SaveToFile(path);
    const QByteArray bytes = FileBytes(path);
    ASSERT_TRUE(bytes.startsWith("BM"));

    TBitmap loaded;
    loaded.LoadFromFile(path);
    ASSERT_EQ(loaded.Width(), 4);
    ASSERT_EQ(loaded.Height(), 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 4; ++x) {
            EXPECT_EQ(At(loaded, x, y), At(*sprite, x, y)) << x << "," << y;
        }
    }

    QByteArray badDepth = bytes;
    badDepth[28] = 7;
    QByteArray hugeWidth = bytes;
    hugeWidth[18] = char(0xFF);
    hugeWidth[19] = char(0xFF);
    hugeWidth[20] = char(0xFF);
    hugeWidth[21] = char(0x7F);
    QByteArray badOffset = bytes;
    badOffset[10] = char(0xFF);
    badOffset[11] = char(0xFF);
    const struct {
        const char* what;
        QByteArray data;
    } damaged[] = {
        {"cut short", bytes.left(bytes.size() - 3)},
        {"header only", bytes.left(20)},
        {"bad depth", badDepth},
        {"huge width", hugeWidth},
        {"bad offset", badOffset},
        {"not an image",
         QByteArray("BMxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxxx")},
        {"empty", QByteArray()},
    };
    for (const auto& d : damaged) {
        const QString bad = dir.filePath(QStringLiteral("bad.bmp"));
        WriteBytes(bad, d.data);
        int changes = 0;
        loaded.OnChange = [&] { ++changes; };
        EXPECT_THROW(loaded.LoadFromFile(bad), EInvalidGraphic) << d.what;
        EXPECT_EQ(changes, 0) << d.what;
        EXPECT_EQ(loaded.Width(), 4) << d.what;
        EXPECT_EQ(At(loaded, 3, 1), clBlue) << d.what;
    }
    try {
        loaded.LoadFromFile(dir.filePath(QStringLiteral("missing.bmp")));
        ADD_FAILURE() << "a missing file must throw";
    } catch (const EInvalidGraphic& e) {
        EXPECT_TRUE(e.Message().contains(QStringLiteral("missing.bmp"))) << e.what();
    }

    // Saving over an existing file goes through a temporary: a failed save
    // (empty bitmap) keeps the old file.
    TBitmap empty;
    EXPECT_THROW(empty.SaveToFile(path), EInvalidGraphic);
    EXPECT_EQ(FileBytes(path), bytes);
}

TEST(GraphicsBitmap, ResourcesByName) {
    TBitmap b(3, 3);
    EXPECT_THROW(b.LoadFromResourceName(QStringLiteral("NO_SUCH_BITMAP")), EResNotFound);
    EXPECT_EQ(b.Width(), 3);
    EXPECT_TRUE(FindBitmapResource(QString()).isEmpty());
    TPicture p;
    EXPECT_THROW(p.LoadFromResourceName(QStringLiteral("NO_SUCH_BITMAP")), EResNotFound);
    EXPECT_TRUE(p.Empty());
}

TEST(GraphicsPicture, DataRoundTripAndChangeNotice) {
    TPicture source;
    int changes = 0;
    source.OnChange = [&] { ++changes; };
    TBitmap* bmp = source.Bitmap();
    bmp->SetSize(3, 2);
    bmp->Canvas()->SetPixels(2, 1, clBlue);
    EXPECT_GT(changes, 0) << "painting the held bitmap notifies the picture";

    // Form-description layout: class name, then length-prefixed BMP bytes.
    const QByteArray data = source.SaveToData();
    EXPECT_TRUE(data.startsWith("\x07TBitmap"));
    TPicture copy;
    ASSERT_TRUE(copy.setProperty("Data", data));
    ASSERT_NE(dynamic_cast<TBitmap*>(copy.Graphic()), nullptr);
    EXPECT_EQ(copy.Width(), 3);
    EXPECT_EQ(At(*copy.Bitmap(), 2, 1), clBlue);

    // Bare image bytes and damaged data.
    TPicture bare;
    bare.LoadFromData(bmp->SaveToData());
    EXPECT_EQ(bare.Height(), 2);
    EXPECT_THROW(copy.LoadFromData(data.left(data.size() / 2)), EInvalidGraphic);
    EXPECT_EQ(At(*copy.Bitmap(), 2, 1), clBlue) << "picture kept";
    copy.LoadFromData(QByteArray());
    EXPECT_TRUE(copy.Empty());

    // Assign copies: later changes to the source do not leak through.
    TPicture other;
    other.Assign(source);
    bmp->Canvas()->SetPixels(0, 0, clRed);
    EXPECT_EQ(At(*other.Bitmap(), 0, 0), clWhite);
}

TEST(GraphicsPicture, IconFromIcoData) {
    QImage img(16, 16, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    for (int i = 0; i < 16; ++i) {
        img.setPixel(i, i, qRgb(255, 0, 0));
    }
    QByteArray ico;
    QBuffer buffer(&ico);
    buffer.open(QIODevice::WriteOnly);
    if (!QImageWriter(&buffer, "ico").write(img)) {
        GTEST_SKIP() << "no ICO image support in this Qt";
    }
    TPicture p;
    p.LoadFromData(ico);
    ASSERT_NE(p.Icon(), nullptr);
    EXPECT_FALSE(p.Icon()->Icon().isNull());

    EXPECT_EQ(p.Width(), 16) << "drawn at the size it has";

    TBitmap dest(32, 32);
    dest.Canvas()->Draw(0, 0, *p.Icon());
    EXPECT_EQ(At(dest, 15, 15), clRed);
    EXPECT_EQ(At(dest, 15, 0), clWhite) << "alpha keeps the background";
    EXPECT_EQ(At(dest, 16, 16), clWhite);
    dest.Canvas()->StretchDraw(Rect(0, 0, 32, 32), *p.Icon());
    EXPECT_EQ(At(dest, 31, 31), clRed);
    EXPECT_THROW(p.LoadFromData(QByteArray("\x05TIcon garbage")), EInvalidGraphic);
    EXPECT_NE(p.Icon(), nullptr);
}
