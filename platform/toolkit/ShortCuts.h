// Short-cut keys as the classic toolkit encodes them (virtual key plus
// modifier bits) and their text form ("Ctrl+O"), and caption access keys.
#pragma once

#include <QChar>
#include <QString>

#include "platform/toolkit/Types.h"

namespace tk {

// Virtual key in the low byte, modifiers above; 0 is no short-cut.
using TShortCut = int;

constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
constexpr TShortCut scNone = 0;

TShortCut ShortCut(unsigned key, TShiftState shift);
void ShortCutToKey(TShortCut shortCut, unsigned& key, TShiftState& shift);
// "Shift+Ctrl+Alt+Key" in that order; empty for 0 or a key without a name.
QString ShortCutToText(TShortCut shortCut);
// The reverse, case-insensitive; 0 when the text names no key.
TShortCut TextToShortCut(const QString& text);

// The caption without its access-key marks ("&&" stays one '&').
QString StripHotkey(const QString& caption);
// The character marked with '&', upper-cased; null when there is none.
QChar GetHotkey(const QString& caption);

} // namespace tk
