#include "platform/toolkit/ShortCuts.h"

#include <QStringView>

#include "platform/toolkit/Controls.h"

namespace tk {

namespace {
constexpr QStringView kShift = u"Shift+";
constexpr QStringView kCtrl = u"Ctrl+";
constexpr QStringView kAlt = u"Alt+";
} // namespace

TShortCut ShortCut(unsigned key, TShiftState shift) {
    if (key == 0 || key > 0xFF) {
        return scNone;
    }
    TShortCut sc = static_cast<TShortCut>(key);
    if (shift & ssShift) {
        sc |= scShift;
    }
    if (shift & ssCtrl) {
        sc |= scCtrl;
    }
    if (shift & ssAlt) {
        sc |= scAlt;
    }
    return sc;
}

void ShortCutToKey(TShortCut shortCut, unsigned& key, TShiftState& shift) {
    key = static_cast<unsigned>(shortCut & 0xFF);
    shift = 0;
    if (shortCut & scShift) {
        shift |= ssShift;
    }
    if (shortCut & scCtrl) {
        shift |= ssCtrl;
    }
    if (shortCut & scAlt) {
        shift |= ssAlt;
    }
}

QString ShortCutToText(TShortCut shortCut) {
    const QString name = VirtualKeyName(static_cast<unsigned>(shortCut & 0xFF));
    if (name.isEmpty()) {
        return {};
    }
    QString text;
    if (shortCut & scShift) {
        text += kShift;
    }
    if (shortCut & scCtrl) {
        text += kCtrl;
    }
    if (shortCut & scAlt) {
        text += kAlt;
    }
    return text + name;
}

TShortCut TextToShortCut(const QString& text) {
    QStringView rest(text);
    TShortCut mods = 0;
    // Modifiers may come in any order, each at most once.
    for (bool found = true; found;) {
        found = false;
        for (auto [prefix, bit] : {std::pair{kShift, scShift}, {kCtrl, scCtrl}, {kAlt, scAlt}}) {
            if (!(mods & bit) && rest.startsWith(prefix, Qt::CaseInsensitive)) {
                mods |= bit;
                rest = rest.mid(prefix.size());
                found = true;
            }
        }
    }
    if (rest.isEmpty()) {
        return scNone;
    }
    for (unsigned vk = 1; vk <= 0xFF; ++vk) {
        const QString name = VirtualKeyName(vk);
        if (!name.isEmpty() && rest.compare(name, Qt::CaseInsensitive) == 0) {
            return static_cast<TShortCut>(vk) | mods;
        }
    }
    return scNone;
}

QString StripHotkey(const QString& caption) {
    QString out;
    out.reserve(caption.size());
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (i + 1 >= caption.size()) {
                break;
            }
            ++i;
        }
        out.append(caption[i]);
    }
    return out;
}

QChar GetHotkey(const QString& caption) {
    for (qsizetype i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] == QLatin1Char('&')) {
            if (caption[i + 1] != QLatin1Char('&')) {
                return caption[i + 1].toUpper();
            }
            ++i;
        }
    }
    return {};
}

} // namespace tk
