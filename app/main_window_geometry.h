// The windows' places and sizes as the settings save needs them at shutdown.
#pragma once

#include "app/settings_file.h"

LiveGeometry GatherLiveGeometry();
