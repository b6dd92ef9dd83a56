// Key data of the character messages the program posts to its own main window, so that they
// act whether or not the keyboard shortcuts are on.
#pragma once

#include "platform/win32.h"

inline constexpr LPARAM ShortcutMarker = 5252;
