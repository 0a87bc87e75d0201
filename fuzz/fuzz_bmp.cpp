// The bitmap loader on any bytes, as file themes and form descriptions hand
// it images: what loads can be drawn, keyed and saved, and what it saves
// loads again.
#include <QGuiApplication>

#include "fuzz/FuzzSupport.h"
#include "platform/toolkit/Bitmaps.h"
#include "platform/toolkit/Exceptions.h"
#include "platform/toolkit/Graphics.h"

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    fuzz::UseOffscreenQt();
    fuzz::QuietQt();
    new QGuiApplication(*argc, *argv); // for the whole run
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    tk::TBitmap bitmap;
    try {
        bitmap.LoadFromData(bytes);
    } catch (const tk::EInvalidGraphic&) {
        return 0;
    }
    bitmap.SetTransparent(true);
    bitmap.MaskedImage();
    tk::TBitmap target;
    target.SetSize(16, 16);
    bitmap.DrawPart(*target.Canvas(), tk::Rect(0, 0, 16, 16),
                    tk::Rect(0, 0, bitmap.Width(), bitmap.Height()));
    tk::TBitmap again;
    again.LoadFromData(bitmap.SaveToData()); // throws, and so fails, if what it wrote is no image
    if (again.Width() != bitmap.Width() || again.Height() != bitmap.Height()) {
        std::abort();
    }
    tk::TPicture picture;
    try {
        picture.LoadFromData(bytes);
    } catch (const tk::Exception&) {
    }
    return 0;
}
