// The fonts the program's look is designed with, made available to Qt.
#pragma once

namespace tk {

// Registers Tahoma, MS Sans Serif and DejaVu Sans from the system's font
// folders when present and sets the family substitutes (Verdana, MS Shell
// Dlg). Needs a QGuiApplication. Safe to call more than once; a missing font
// file only means Qt's fallback is used.
void RegisterFonts();

} // namespace tk
