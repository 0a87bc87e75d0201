#include "platform/toolkit/Fonts.h"

#include <QFile>
#include <QFont>
#include <QFontDatabase>
#include <QGuiApplication>
#include <QString>

namespace tk {

namespace {

bool AddFont(const QString& path) {
    if (!QFile::exists(path)) {
        return false;
    }
    return QFontDatabase::addApplicationFont(path) >= 0;
}

} // namespace

void RegisterFonts() {
    // Application fonts belong to the QGuiApplication; once per run is enough.
    static bool done = false;
    if (done || QGuiApplication::instance() == nullptr) {
        return;
    }
    done = true;

    const QString wine = QStringLiteral("/usr/share/wine/fonts/");
    const QString dejavu = QStringLiteral("/usr/share/fonts/truetype/dejavu/");
    const bool tahoma = AddFont(wine + QStringLiteral("tahoma.ttf"));
    // The bold file of this package carries the regular outlines, so a bold
    // caption would look regular; without it Qt emboldens the regular face.
    AddFont(wine + QStringLiteral("ms_sans_serif.ttf"));
    AddFont(dejavu + QStringLiteral("DejaVuSans.ttf"));
    AddFont(dejavu + QStringLiteral("DejaVuSans-Bold.ttf"));
    AddFont(dejavu + QStringLiteral("DejaVuSans-Oblique.ttf"));
    AddFont(dejavu + QStringLiteral("DejaVuSans-BoldOblique.ttf"));

    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    const QString dialog = tahoma ? QStringLiteral("Tahoma") : QStringLiteral("DejaVu Sans");
    QFont::insertSubstitution(QStringLiteral("MS Shell Dlg"), dialog);
    QFont::insertSubstitution(QStringLiteral("MS Shell Dlg 2"), dialog);
    if (!tahoma) {
        QFont::insertSubstitution(QStringLiteral("Tahoma"), QStringLiteral("DejaVu Sans"));
    }
    if (!QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif"))) {
        QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), dialog);
    }
}

} // namespace tk
