// The windows' places and sizes as the settings save needs them at shutdown.
#pragma once

#include "app/settings.h"

// The main window's client size as its size handler last saw it.
void RememberMainClientSize(int width, int height);
LiveGeometry GatherLiveGeometry();
