// The windows' places and sizes as the settings save needs them at shutdown.
#pragma once

#include "shared/settings.h"

LiveGeometry GatherLiveGeometry();
