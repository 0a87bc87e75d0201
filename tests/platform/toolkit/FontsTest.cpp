// The registered faces draw the way the look is designed with.
#include <gtest/gtest.h>

#include <QImage>

#include "platform/toolkit/Graphics.h"

using namespace tk;

namespace {
int Ink(const QString& name, TFontStyles style) {
    QImage img(300, 40, QImage::Format_RGB32);
    img.fill(Qt::white);
    {
        TCanvas canvas(&img);
        canvas.Font()->SetName(name);
        canvas.Font()->SetHeight(-19);
        canvas.Font()->SetStyle(style);
        canvas.Brush()->SetStyle(bsClear);
        canvas.TextOut(2, 2, QStringLiteral("Quenby for WAB"));
    }
    long ink = 0;
    for (int y = 0; y < img.height(); ++y) {
        for (int x = 0; x < img.width(); ++x) {
            ink += 255 - qGray(img.pixel(x, y));
        }
    }
    return static_cast<int>(ink / 255);
}
} // namespace

TEST(Fonts, BoldIsVisiblyHeavier) {
    for (const char* face : {"Tahoma", "Verdana"}) {
        const int regular = Ink(face, {});
        const int bold = Ink(face, fsBold);
        EXPECT_GT(bold, regular * 5 / 4) << face;
    }
}
