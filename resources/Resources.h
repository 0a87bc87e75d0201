// The program's compiled-in resources: theme bitmaps under ":/bitmaps/" and
// the program icon ":/icons/MAINICON.ico".
#pragma once

namespace quenby {

// Registers the resources with Qt's resource system. Programs linking the
// library have them registered at start-up already; calling this anyway is
// harmless, any number of times.
void InitResources();

} // namespace quenby
