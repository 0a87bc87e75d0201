#include "resources/artgen/Files.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <map>

namespace art {

namespace {

void Put16(QByteArray& b, std::uint16_t v) {
    b.append(char(v & 0xFF));
    b.append(char(v >> 8));
}

void Put32(QByteArray& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        b.append(char((v >> (8 * i)) & 0xFF));
    }
}

void InfoHeader(QByteArray& b, int w, int h, int bpp, std::uint32_t imageSize) {
    Put32(b, 40);
    Put32(b, std::uint32_t(w));
    Put32(b, std::uint32_t(h));
    Put16(b, 1);
    Put16(b, std::uint16_t(bpp));
    Put32(b, 0); // uncompressed
    Put32(b, imageSize);
    Put32(b, 2835); // 72 dpi
    Put32(b, 2835);
    Put32(b, 0);
    Put32(b, 0);
}

// The resource list is always rewritten: it is the build's output stamp.
bool Write(const QString& path, const QByteArray& bytes, bool always = false) {
    QFile old(path);
    if (!always && old.open(QIODevice::ReadOnly) && old.readAll() == bytes) {
        return true;
    }
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(bytes) != bytes.size() || !f.commit()) {
        std::fprintf(stderr, "artgen: cannot write %s: %s\n", qPrintable(path),
                     qPrintable(f.errorString()));
        return false;
    }
    return true;
}

} // namespace

QByteArray EncodeBmp(const QImage& image) {
    const int w = image.width();
    const int h = image.height();
    const int stride = (w * 3 + 3) / 4 * 4;
    const std::uint32_t pixels = std::uint32_t(stride) * std::uint32_t(h);
    QByteArray b;
    b.append("BM");
    Put32(b, 14 + 40 + pixels);
    Put32(b, 0);
    Put32(b, 14 + 40);
    InfoHeader(b, w, h, 24, pixels);
    for (int y = h - 1; y >= 0; --y) {
        for (int x = 0; x < w; ++x) {
            const QRgb p = image.pixel(x, y);
            b.append(char(qBlue(p)));
            b.append(char(qGreen(p)));
            b.append(char(qRed(p)));
        }
        b.append(QByteArray(stride - w * 3, '\0'));
    }
    return b;
}

QByteArray EncodeIcon(const std::vector<IconImage>& images) {
    const auto& palette = IconPalette();
    std::map<char, int> index;
    for (std::size_t i = 0; i < palette.size(); ++i) {
        index[palette[i].letter] = int(i);
    }
    std::vector<QByteArray> bodies;
    for (const IconImage& icon : images) {
        const int n = icon.size;
        const int xorStride = (n * 4 + 31) / 32 * 4;
        const int andStride = (n + 31) / 32 * 4;
        QByteArray body;
        InfoHeader(body, n, 2 * n, 4, std::uint32_t((xorStride + andStride) * n));
        for (const PaletteEntry& e : palette) {
            body.append(char(ToQRgb(e.colour) & 0xFF));
            body.append(char((ToQRgb(e.colour) >> 8) & 0xFF));
            body.append(char((ToQRgb(e.colour) >> 16) & 0xFF));
            body.append('\0');
        }
        auto at = [&](int x, int y) {
            const char ch = x < int(icon.rows[std::size_t(y)].size())
                                ? icon.rows[std::size_t(y)][std::size_t(x)]
                                : '.';
            const auto it = index.find(ch);
            return it == index.end() ? -1 : it->second;
        };
        for (int y = n - 1; y >= 0; --y) {
            QByteArray row(xorStride, '\0');
            for (int x = 0; x < n; ++x) {
                const int i = std::max(0, at(x, y));
                row[x / 2] = char(row[x / 2] | (x % 2 == 0 ? i << 4 : i));
            }
            body.append(row);
        }
        for (int y = n - 1; y >= 0; --y) {
            QByteArray row(andStride, '\0');
            for (int x = 0; x < n; ++x) {
                if (at(x, y) < 0) {
                    row[x / 8] = char(row[x / 8] | (0x80 >> (x % 8)));
                }
            }
            body.append(row);
        }
        bodies.push_back(body);
    }
    QByteArray b;
    Put16(b, 0);
    Put16(b, 1);
    Put16(b, std::uint16_t(images.size()));
    std::uint32_t offset = 6 + 16 * std::uint32_t(images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        b.append(char(images[i].size));
        b.append(char(images[i].size));
        b.append(char(16));
        b.append('\0');
        Put16(b, 1);
        Put16(b, 4);
        Put32(b, std::uint32_t(bodies[i].size()));
        Put32(b, offset);
        offset += std::uint32_t(bodies[i].size());
    }
    for (const QByteArray& body : bodies) {
        b.append(body);
    }
    return b;
}

bool WriteResources(const Catalogue& cat, const QString& dir) {
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "artgen: cannot create %s\n", qPrintable(dir));
        return false;
    }
    std::vector<std::string> names;
    bool ok = true;
    for (const Bitmap& b : cat.All()) {
        names.push_back(b.name);
        ok = Write(dir + "/" + QString::fromStdString(b.name) + ".bmp",
                   EncodeBmp(b.image.Image())) &&
             ok;
    }
    ok = Write(dir + "/MAINICON.ico", EncodeIcon(ProgramIcon())) && ok;
    std::sort(names.begin(), names.end());
    QByteArray qrc = "<!DOCTYPE RCC>\n<RCC version=\"1.0\">\n<qresource prefix=\"/bitmaps\">\n";
    for (const std::string& n : names) {
        qrc += "    <file>" + QByteArray::fromStdString(n) + ".bmp</file>\n";
    }
    qrc += "</qresource>\n<qresource prefix=\"/icons\">\n    <file>MAINICON.ico</file>\n"
           "</qresource>\n</RCC>\n";
    return Write(dir + "/quenby_resources.qrc", qrc, true) && ok;
}

bool WriteDesktopIcons(const QString& dir) {
    if (!QDir().mkpath(dir)) {
        std::fprintf(stderr, "artgen: cannot create %s\n", qPrintable(dir));
        return false;
    }
    bool ok = true;
    for (int size : kDesktopIconSizes) {
        QByteArray png;
        QBuffer buffer(&png);
        buffer.open(QIODevice::WriteOnly);
        ok = ProgramIconImage(size).save(&buffer, "PNG") &&
             Write(dir + QStringLiteral("/quenby-%1.png").arg(size), png) && ok;
    }
    return ok;
}

} // namespace art
