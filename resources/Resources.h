// The program's compiled-in resources: theme bitmaps under ":/bitmaps/" and
// the program icon ":/icons/MAINICON.ico".
#pragma once

namespace quenby {

// Registers the resources with Qt's resource system. Safe to call any number
// of times; call it before the first look-up by name (a static library's
// registration object is otherwise only linked when something refers to it).
void InitResources();

} // namespace quenby
