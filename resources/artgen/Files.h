// Output formats of the generator: Windows bitmaps, the icon file and the
// resource list. Byte layouts are written field by field, so the output does
// not depend on an image plug-in and carries no time or host data.
#pragma once

#include <QByteArray>
#include <QString>
#include <vector>

#include "resources/artgen/Art.h"

namespace art {

// 24-bit bottom-up BMP with a 40-byte info header.
QByteArray EncodeBmp(const QImage& image);
// One 4-bit image per entry, palette of IconPalette(), with its AND mask.
QByteArray EncodeIcon(const std::vector<IconImage>& images);

// Writes every bitmap as <dir>/<NAME>.bmp, the icon as <dir>/MAINICON.ico and
// <dir>/quenby_resources.qrc listing them. Images whose bytes are unchanged
// are left untouched; the list is always written. False (with a message on stderr) when a file
// cannot be written.
bool WriteResources(const Catalogue& cat, const QString& dir);

// The desktop's icons: <dir>/quenby-<size>.png for each desktop size.
bool WriteDesktopIcons(const QString& dir);

// One PNG per style: every image enlarged twice, states apart, with names.
bool WriteSheets(const Catalogue& cat, const QString& dir);

} // namespace art
